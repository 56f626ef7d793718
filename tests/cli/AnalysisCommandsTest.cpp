// movik-cli chart, convert and xlsx as separate processes.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/DocumentFile.h"
#include "model/Dates.h"

namespace fs = std::filesystem;

namespace {

class AnalysisCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("movik-analysis-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(MOVIK_EXAMPLE, Path("e2023.mvk"));
        // The example's amounts as a 2022 document, in kunas by its period.
        movik::TDokument doc;
        movik::NewDocument(doc, 2026);  // the header a saved file carries
        ASSERT_TRUE(movik::OpenDocument(MOVIK_EXAMPLE, doc));
        doc.DatumOd = movik::DayNumber(2022, 1, 1);
        doc.DatumDo = movik::DayNumber(2022, 12, 31);
        doc.ImeDatoteke = Path("p.mvk");
        ASSERT_TRUE(movik::SaveDocument(doc));
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Exit code of movik-cli run with arguments in the test's folder; stderr kept in err_.
    int Run(const std::string& arguments) {
        const std::string command =
            "cd '" + dir_.string() + "' && '" MOVIK_CLI "' " + arguments + " >/dev/null 2>err";
        const int status = std::system(command.c_str());
        std::ifstream in(Path("err"));
        err_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Head(const std::string& name, std::size_t n) {
        std::ifstream in(Path(name), std::ios::binary);
        std::string bytes(n, '\0');
        in.read(bytes.data(), std::streamsize(n));
        return bytes.substr(0, std::size_t(in.gcount()));
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string err_;
};

TEST_F(AnalysisCli, ChartWritesTheFormatOfTheExtension) {
    ASSERT_EQ(Run("chart p.mvk --kind structure -o s.png --width 640 --height 400"), 0) << err_;
    EXPECT_EQ(Head("s.png", 8), "\x89PNG\r\n\x1a\n");
    ASSERT_EQ(Run("--locale en_US chart p.mvk --kind income -o i.SVG"), 0) << err_;
    EXPECT_NE(Head("i.SVG", 400).find("<svg"), std::string::npos);
}

TEST_F(AnalysisCli, ChartRefusesWhatItCannotDraw) {
    EXPECT_EQ(Run("chart p.mvk --kind pie -o s.png"), 2);
    EXPECT_EQ(Run("chart p.mvk --kind income -o s.gif"), 2);
    EXPECT_FALSE(fs::exists(Path("s.gif")));
    EXPECT_EQ(Run("chart p.mvk --kind income -o s.png --width 5"), 2);
    EXPECT_EQ(Run("chart missing.mvk --kind income -o s.png"), 2);
    EXPECT_EQ(err_.find('\n'), err_.size() - 1);  // one line
}

TEST_F(AnalysisCli, ConvertWritesOutOrOverTheDocument) {
    movik::TDokument kuna;
    ASSERT_TRUE(movik::OpenDocument(Path("p.mvk"), kuna));
    ASSERT_EQ(Run("convert p.mvk --to-eur -o e.mvk"), 0) << err_;
    movik::TDokument euro;
    ASSERT_TRUE(movik::OpenDocument(Path("e.mvk"), euro));
    EXPECT_NEAR(euro.Bilanca.row(55).IznosTekuca, kuna.Bilanca.row(55).IznosTekuca / 7.5345, 0.006);
    movik::TDokument same;
    ASSERT_TRUE(movik::OpenDocument(Path("p.mvk"), same));
    EXPECT_EQ(same.Bilanca.row(55).IznosTekuca, kuna.Bilanca.row(55).IznosTekuca);

    ASSERT_EQ(Run("convert p.mvk --to-eur"), 0) << err_;
    ASSERT_TRUE(movik::OpenDocument(Path("p.mvk"), same));
    EXPECT_EQ(same.Bilanca.row(55).IznosTekuca, euro.Bilanca.row(55).IznosTekuca);
    EXPECT_EQ(Run("convert p.mvk"), 2);  // the direction must be said
}

TEST_F(AnalysisCli, ASecondConversionIsRefusedAndLeavesTheFileAlone) {
    ASSERT_EQ(Run("convert p.mvk --to-eur -o e.mvk"), 0) << err_;
    // Converted (marked) and by its period: both already in euros.
    for (const char* name : {"e.mvk", "e2023.mvk"}) {
        const std::string before = Head(name, 70000);
        EXPECT_EQ(Run(std::string("convert ") + name + " --to-eur"), 2) << name;
        EXPECT_EQ(err_,
                  "movik-cli: Dokument je već u eurima: iznosi se ne preračunavaju ponovo.\n");
        EXPECT_EQ(Head(name, 70000), before) << name;
        EXPECT_EQ(Run(std::string("convert ") + name + " --to-eur -o again.mvk"), 2) << name;
        EXPECT_FALSE(fs::exists(Path("again.mvk")));
    }
}

TEST_F(AnalysisCli, NewTakesTheCurrencyAndCheckReportsIt) {
    struct Case {
        const char* arguments;
        const char* check;
    };
    const Case cases[] = {
        {"--to 2022-12-31 --from 2022-01-01", "Valuta: HRK (po razdoblju)\n"},
        {"--to 2023-01-01 --from 2023-01-01", "Valuta: EUR (po razdoblju)\n"},
        {"--to 2025-12-31 --from 2025-01-01 --currency HRK",
         "Valuta: HRK (označena u dokumentu)\n"},
        {"--to 2021-12-31 --from 2021-01-01 --currency eur",
         "Valuta: EUR (označena u dokumentu)\n"},
        {"--to 2021-12-31 --from 2021-01-01 --currency HRK", "Valuta: HRK (po razdoblju)\n"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Run(std::string("new n.mvk --force ") + c.arguments), 0) << err_;
        const std::string command =
            "cd '" + dir_.string() + "' && '" MOVIK_CLI "' check n.mvk >out 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << c.arguments;
        EXPECT_EQ(Head("out", 200), c.check) << c.arguments;
    }
    EXPECT_EQ(Run("new n.mvk --force --currency USD"), 2);
}

TEST_F(AnalysisCli, XlsxWritesAWorkbook) {
    ASSERT_EQ(Run("xlsx p.mvk -o p.xlsx"), 0) << err_;
    EXPECT_EQ(Head("p.xlsx", 2), "PK");
    EXPECT_EQ(Run("xlsx p.mvk"), 2);
    EXPECT_EQ(Run("xlsx p.mvk -o /nonexistent-folder/p.xlsx"), 2);
}

}  // namespace

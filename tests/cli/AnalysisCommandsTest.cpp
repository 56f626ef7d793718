// movik-cli chart, convert and xlsx as separate processes.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/DocumentFile.h"

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
        fs::copy_file(MOVIK_EXAMPLE, Path("p.mvk"));
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

TEST_F(AnalysisCli, XlsxWritesAWorkbook) {
    ASSERT_EQ(Run("xlsx p.mvk -o p.xlsx"), 0) << err_;
    EXPECT_EQ(Head("p.xlsx", 2), "PK");
    EXPECT_EQ(Run("xlsx p.mvk"), 2);
    EXPECT_EQ(Run("xlsx p.mvk -o /nonexistent-folder/p.xlsx"), 2);
}

}  // namespace

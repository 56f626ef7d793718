// movik-cli pdf as a separate process: the PDF's text against the grid texts (as movik-cli
// export writes them), its title, and the errors.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document/Cp1250.h"
#include "tests/support/PdfText.h"
#include "tests/support/XlsxReadBack.h"

namespace fs = std::filesystem;

namespace movik::test {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string err;
};

class CliPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("movik-cli-pdf-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // movik-cli with arguments (shell-quoted by the caller), run in the test's folder.
    CliRun Cli(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.string() + "' && '" MOVIK_CLI "' " + arguments +
                                    " 2>'" + (dir_ / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        CliRun r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = CommandOutput("cat '" + (dir_ / "stderr").string() + "'");
        return r;
    }

    // The texts of a statement's grid rows as movik-cli export writes them (headers left out).
    std::vector<std::string> GridTexts(const std::string& locale, const std::string& report) const {
        const std::string csv =
            Cp1250ToUtf8(CommandOutput("'" MOVIK_CLI "' --locale " + locale +
                                       " export '" MOVIK_EXAMPLE "' " + report + " -o -"));
        std::istringstream lines(csv);
        std::string line;
        std::getline(lines, line);  // the column headers
        std::vector<std::string> texts;
        while (std::getline(lines, line)) {
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, ';');) {
                texts.push_back(field);
            }
        }
        return texts;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

struct PdfCase {
    const char* name;
    const char* options;  // --report and --unit, if any
    const char* locale;
    std::vector<std::string> statements;  // as movik-cli export names them, in page order
    const char* title;
    const char* pages;
    const char* unitLine;
};

void PrintTo(const PdfCase& c, std::ostream* os) {
    *os << c.name;
}

class CliPdfReports : public CliPdf, public ::testing::WithParamInterface<PdfCase> {};

// The PDF holds the chosen reports' pages with every grid text in order, the unit line and the
// title of the document and statement.
TEST_P(CliPdfReports, PagesCarryTheGridTextsAndTheTitle) {
    const PdfCase& c = GetParam();
    const CliRun r = Cli(std::string("--locale ") + c.locale +
                         " pdf '" MOVIK_EXAMPLE "' -o out.pdf " + c.options);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string pdf = Path("out.pdf");
    EXPECT_EQ(PdfInfo(pdf, "Title"), c.title);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), c.pages);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find(c.unitLine), std::string::npos) << text;
    std::vector<std::string> expected;
    for (const std::string& s : c.statements) {
        const std::vector<std::string> more = GridTexts(c.locale, s);
        ASSERT_FALSE(more.empty()) << s;
        expected.insert(expected.end(), more.begin(), more.end());
    }
    EXPECT_EQ(FirstOutOfOrder(text, expected), "") << text;
}

INSTANTIATE_TEST_SUITE_P(Reports, CliPdfReports,
                         ::testing::Values(PdfCase{"racun",
                                                   "--report racun --unit 'tisućama eura'",
                                                   "hr_HR",
                                                   {"racun"},
                                                   "Lipa-Mont d.d. – Račun dobiti i gubitka",
                                                   "1",
                                                   "Iznosi u tisućama eura"},
                                           PdfCase{"bilanca",
                                                   "--report bilanca",
                                                   "en_US",
                                                   {"bilanca"},
                                                   "Lipa-Mont d.d. – Bilanca",
                                                   "2",
                                                   "Iznosi u eurima i centima"},
                                           PdfCase{"sve",
                                                   "",
                                                   "hr_HR",
                                                   {"bilanca", "racun", "cfind", "cffree",
                                                    "pokazatelji"},
                                                   "Lipa-Mont d.d. – Financijski izvještaji",
                                                   "6",
                                                   "Iznosi u eurima i centima"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The unit line and the captions of the amounts per share follow the document's currency, on
// paper (PDF) and in the workbook.
TEST_F(CliPdf, UnitAndCaptionsFollowTheCurrency) {
    const struct {
        const char* newOptions;
        const char* unit;
        const char* caption;
        const char* other;
        const char* code;
    } cases[] = {
        {"--from 2025-01-01 --to 2025-12-31", "eurima i centima", "(u EUR)", "(u KN)", "EUR"},
        {"--from 2021-01-01 --to 2021-12-31", "kunama i lipama", "(u KN)", "(u EUR)", "HRK"},
        {"--from 2025-01-01 --to 2025-12-31 --currency HRK", "kunama i lipama", "(u KN)", "(u EUR)",
         "HRK"},
        {"--from 2021-01-01 --to 2021-12-31 --currency EUR", "eurima i centima", "(u EUR)",
         "(u KN)", "EUR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.newOptions);
        ASSERT_EQ(Cli(std::string("new d.mvk --force ") + c.newOptions).exitCode, 0);
        ASSERT_EQ(Cli("pdf d.mvk -o d.pdf").exitCode, 0);
        const std::string text = PdfText(Path("d.pdf"));
        EXPECT_NE(text.find(std::string("Iznosi u ") + c.unit), std::string::npos) << text;
        EXPECT_NE(text.find(std::string("Zarada po dionici ") + c.caption), std::string::npos);
        EXPECT_NE(text.find(std::string("vrijednost 1 dionice ") + c.caption), std::string::npos);
        EXPECT_EQ(text.find(c.other), std::string::npos);

        ASSERT_EQ(Cli("xlsx d.mvk -o d.xlsx").exitCode, 0);
        int captions = 0;
        bool unit = false;
        for (const auto& [name, sheet] : ReadXlsx(MOVIK_READ_XLSX, Path("d.xlsx"))) {
            for (const auto& [at, cell] : sheet.cells) {
                EXPECT_EQ(cell.text.find(c.other), std::string::npos) << name;
                captions += cell.text.ends_with(std::string("dionici ") + c.caption) ||
                            cell.text.ends_with(std::string("dionice ") + c.caption);
                unit = unit || cell.text == c.unit;
            }
        }
        EXPECT_EQ(captions, 2);
        EXPECT_TRUE(unit);
        const auto general = ReadXlsx(MOVIK_READ_XLSX, Path("d.xlsx")).at("Opći podaci");
        EXPECT_EQ(general.cells.at({8, 1}).text, "Valuta");
        EXPECT_EQ(general.cells.at({8, 2}).text, c.code);
    }
}

// Errors: exit code 2, one Croatian line (or the file layer's own message), no file left.
TEST_F(CliPdf, ErrorsLeaveNoFile) {
    fs::create_directories(dir_ / "mapa.pdf");
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"pdf '" MOVIK_EXAMPLE "' -o nema/out.pdf", "Cannot create file nema/out.pdf"},
        {"pdf '" MOVIK_EXAMPLE "' -o mapa.pdf", "Cannot create file mapa.pdf"},
        {"pdf '" MOVIK_EXAMPLE "' -o out.pdf --report aktiva", "Nepoznat izvještaj: 'aktiva'"},
        {"pdf '" MOVIK_EXAMPLE "'", "Naredbi 'pdf' nedostaje -o IZLAZ.pdf"},
        {"pdf nema.mvk -o out.pdf", "Datoteka nema.mvk ne postoji"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun r = Cli(c.arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err.find("movik-cli: " + c.message), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            left.push_back(entry.path().filename().string());
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"mapa.pdf", "stderr"}));
    }
}

TEST_F(CliPdf, DashWritesThePdfToStandardOutput) {
    const CliRun r = Cli("pdf '" MOVIK_EXAMPLE "' --report pokazatelji -o - > piped.pdf");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PdfInfo(Path("piped.pdf"), "Title"), "Lipa-Mont d.d. – Financijski pokazatelji");
}

TEST_F(CliPdf, HelpListsThePdfCommand) {
    const std::string help = CommandOutput("'" MOVIK_CLI "' --help");
    EXPECT_NE(help.find("movik-cli pdf DOKUMENT.mvk -o IZLAZ.pdf [--report IZVJESTAJ|bonitet|sve]"),
              std::string::npos)
        << help;
}

}  // namespace
}  // namespace movik::test

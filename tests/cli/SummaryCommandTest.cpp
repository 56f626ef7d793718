// movik-cli summary as a user runs it: folders, damaged files, formats, threads, GNU parallel.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../support/PdfText.h"
#include "../support/WorkspaceTestAccess.h"
#include "analysis/SummaryFormats.h"
#include "document/Cp1250.h"
#include "document/DocumentFile.h"
#include "document/FileIO.h"
#include "model/Dates.h"
#include "model/StatementRows.h"
#include "model/Utf8.h"

#include "CliOutcome.h"

namespace fs = std::filesystem;

namespace {

using movik::test::Lines;
using movik::test::Outcome;
using movik::test::Read;

class Summary : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("movik-summary-cli-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "docs" / "2023");
        const std::string example = Read(MOVIK_EXAMPLE);
        std::ofstream(dir_ / "docs" / "b.mvk", std::ios::binary) << example;
        std::ofstream(dir_ / "docs" / "2023" / "a.mvk", std::ios::binary) << example;
        std::ofstream(dir_ / "docs" / "c-osteceni.mvk", std::ios::binary)
            << example.substr(0, 30000);
        std::ofstream(dir_ / "docs" / "d-tekst.mvk") << "ovo nije dokument\n";
        std::ofstream(dir_ / "docs" / "e.txt") << "preskače se\n";
        ASSERT_EQ(Cli("new docs/f.mvk --company 'Novo d.o.o.' --from 2024-01-01 --to "
                      "2024-12-31")
                      .exitCode,
                  0);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome Cli(const std::string& arguments, const std::string& prefix = "") {
        const std::string command = "cd '" + dir_.string() + "' && " + prefix +
                                    "'" MOVIK_CLI "' --locale hr_HR " + arguments + " >out 2>err";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(dir_ / "out"),
                Read(dir_ / "err")};
    }

    fs::path dir_;
};

TEST_F(Summary, AFolderGivesOneRowPerDocumentInNameOrderAndReportsTheBadOnes) {
    const Outcome r = Cli("summary docs --format jsonl -j 2");
    EXPECT_EQ(r.exitCode, 1);
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 5u) << r.out;
    const char* const files[] = {"docs/2023/a.mvk", "docs/b.mvk", "docs/c-osteceni.mvk",
                                 "docs/d-tekst.mvk", "docs/f.mvk"};
    const bool ok[] = {true, true, false, false, true};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].rfind(std::string("{\"file\":\"") + files[i] +
                                    "\",\"ok\":" + (ok[i] ? "true" : "false"),
                                0),
                  0u)
            << rows[i];
    }
    EXPECT_NE(rows[0].find("\"company\":\"Lipa-Mont d.d.\""), std::string::npos);
    EXPECT_NE(rows[0].find("\"from\":\"2023-01-01\",\"to\":\"2023-12-31\""), std::string::npos);
    EXPECT_NE(rows[0].find("\"indicators\":{\"2\":"), std::string::npos);
    // One line on standard error for each file that could not be read, naming it.
    const std::vector<std::string> errors = Lines(r.err);
    ASSERT_EQ(errors.size(), 2u) << r.err;
    EXPECT_NE(errors[0].find("c-osteceni.mvk"), std::string::npos);
    EXPECT_NE(errors[1].find("d-tekst.mvk"), std::string::npos);
}

// A kuna document in a summary in euros has exactly the amounts of the document converted.
// The example's scores computed apart from the program (from its inputs as the report lists
// them: TA 6.349.500, WC 943.500, RE 997.425, EBIT 626.000, E 3.805.500, TL 2.544.000, ...),
// rounded half away from zero to four decimals; grades are integers. A new, empty document has
// no denominator: every value is null, and without net debt the repayment grade is 1.
TEST_F(Summary, JsonRowsCarryTheScoresRoundedAndNullWhereNotComputable) {
    const Outcome r = Cli("summary docs/b.mvk docs/f.mvk --format jsonl");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 2u);
    const std::string expected[] = {
        "\"scores\":{\"altman_z_pp\":3.7201,\"altman_z_p\":2.1314,\"springate\":1.1901,"
        "\"kralicek_df\":2.266,\"quicktest\":{\"equity_ratio\":1,\"debt_years\":2,"
        "\"cash_flow_margin\":1,\"roa\":3,\"stability\":1.5,\"earnings\":2,\"overall\":1.75},"
        "\"dupont\":{\"margin\":6.8664,\"turnover\":0.9898,\"multiplier\":1.6936}}",
        "\"scores\":{\"altman_z_pp\":null,\"altman_z_p\":null,\"springate\":null,"
        "\"kralicek_df\":null,\"quicktest\":{\"equity_ratio\":null,\"debt_years\":1,"
        "\"cash_flow_margin\":null,\"roa\":null,\"stability\":null,\"earnings\":null,"
        "\"overall\":null},\"dupont\":{\"margin\":null,\"turnover\":null,\"multiplier\":null}}"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NE(rows[i].find(expected[i]), std::string::npos) << rows[i];
    }
    // The text table and the semicolon lines give each model's value and band.
    const Outcome txt = Cli("summary docs/b.mvk --format txt");
    EXPECT_NE(txt.out.find("3,720  sigurna zona"), std::string::npos) << txt.out;
    EXPECT_NE(txt.out.find("2,131  siva zona"), std::string::npos) << txt.out;
    const Outcome csv = Cli("summary docs/b.mvk --format csv");
    EXPECT_NE(csv.out.find(";3,720;sigurna zona;2,131;siva zona;1,190;bez signala neuspjeha;"
                           "2,266;vrlo dobro;1,500;2,000;1,750;6,866;0,990;1,694;"),
              std::string::npos)
        << csv.out;
}

TEST_F(Summary, InEurosAKunaDocumentHasTheConvertedDocumentsAmounts) {
    movik::TDokument doc;
    movik::NewDocument(doc, 2026);  // the header a saved file carries
    ASSERT_TRUE(movik::OpenDocument(MOVIK_EXAMPLE, doc));
    doc.DatumOd = movik::DayNumber(2022, 1, 1);
    doc.DatumDo = movik::DayNumber(2022, 12, 31);
    doc.ImeDatoteke = (dir_ / "k2022.mvk").string();
    ASSERT_TRUE(movik::SaveDocument(doc));
    ASSERT_EQ(Cli("convert k2022.mvk --to-eur -o c.mvk").exitCode, 0);
    const Outcome r = Cli("summary k2022.mvk c.mvk docs/b.mvk --format jsonl --currency EUR");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 3u);
    const auto amounts = [](const std::string& row) {
        const std::size_t from = row.find("\"total_assets_previous\"");
        return row.substr(from, row.find(",\"indicators\"") - from);
    };
    EXPECT_EQ(amounts(rows[0]), amounts(rows[1]));
    EXPECT_NE(rows[0].find("\"currency\":\"EUR\",\"converted\":true"), std::string::npos);
    EXPECT_NE(rows[1].find("\"currency\":\"EUR\",\"converted\":false"), std::string::npos);
    EXPECT_NE(rows[2].find("\"currency\":\"EUR\",\"converted\":false"), std::string::npos);
    // Without the option every row keeps its own currency.
    const Outcome plain = Cli("summary k2022.mvk --format jsonl");
    EXPECT_NE(plain.out.find("\"currency\":\"HRK\",\"converted\":false"), std::string::npos);
    EXPECT_EQ(Cli("summary k2022.mvk --currency HRK").exitCode, 2);
    // The printed table of kunas and euros shows all in euros, as the window's does.
    ASSERT_EQ(Cli("summary k2022.mvk docs/b.mvk --format pdf -o m.pdf").exitCode, 0);
    EXPECT_NE(movik::test::PdfText((dir_ / "m.pdf").string()).find("preračunati u eure"),
              std::string::npos);
}

TEST_F(Summary, OutputIsTheSameWhateverTheNumberOfThreads) {
    for (const char* format : {"csv", "jsonl", "txt"}) {
        const Outcome one =
            Cli(std::string("summary docs docs/b.mvk --format ") + format + " -j 1");
        const Outcome two =
            Cli(std::string("summary docs docs/b.mvk --format ") + format + " -j 2");
        EXPECT_EQ(one.out, two.out) << format;
        EXPECT_EQ(one.exitCode, two.exitCode);
        EXPECT_FALSE(one.out.empty());
    }
}

TEST_F(Summary, AllReadGivesZeroAndUsageErrorsTwo) {
    EXPECT_EQ(Cli("summary docs/b.mvk docs/2023 -o rows.csv --format csv").exitCode, 0);
    const std::string csv = Read(dir_ / "rows.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    EXPECT_NE(csv.find("Lipa-Mont d.d.;Vara\x9E"
                       "din;01. 01. 2023.;31. 12. 2023.;"),
              std::string::npos);
    for (const char* bad : {"summary", "summary docs --format xml", "summary docs -j 0",
                            "summary docs --files-from nema.txt", "summary docs --nepoznata"}) {
        const Outcome r = Cli(bad);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_EQ(Lines(r.err).size(), 1u) << bad << r.err;
    }
}

// -o writes as a document save does: a killed run's temporary file is removed by the next run,
// a folder is never replaced, a link keeps pointing at the file it names.
TEST_F(Summary, OutputGoesThroughTheSafeWriter) {
    std::ofstream(dir_ / ".rows.csv.Ab12Cd.movik-tmp") << "prekinuto";
    std::ofstream(dir_ / ".drugi.csv.Ab12Cd.movik-tmp") << "tuđe";
    ASSERT_EQ(Cli("summary docs/b.mvk -o rows.csv --format csv").exitCode, 0);
    EXPECT_FALSE(fs::exists(dir_ / ".rows.csv.Ab12Cd.movik-tmp"));
    EXPECT_TRUE(fs::exists(dir_ / ".drugi.csv.Ab12Cd.movik-tmp"));
    const std::string one = Read(dir_ / "rows.csv");
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 2);

    fs::create_symlink("rows.csv", dir_ / "veza.csv");
    ASSERT_EQ(Cli("summary docs/b.mvk docs/2023 -o veza.csv --format csv").exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(dir_ / "veza.csv"));
    EXPECT_EQ(Read(dir_ / "rows.csv"), Read(dir_ / "veza.csv"));
    EXPECT_NE(Read(dir_ / "rows.csv"), one);

    fs::create_directory(dir_ / "mapa.csv");
    const Outcome folder = Cli("summary docs/b.mvk -o mapa.csv");
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_EQ(folder.err, "movik-cli: Cannot create file mapa.csv\n");
    for (const auto& entry : fs::directory_iterator(dir_)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.find("movik-tmp") == std::string::npos || name[1] == 'd') << name;
    }
}

// Every amount of a converted document (binary noise in its doubles) is written as its cents,
// every indicator with at most the two decimals the grids show, every score with at most four.
TEST_F(Summary, JsonAmountsOfAConvertedDocumentAreCents) {
    ASSERT_EQ(
        Cli("convert '" MOVIK_EXAMPLES "/usporedba/cvorak-2022.mvk' --to-eur -o eur.mvk").exitCode,
        0);
    const Outcome r = Cli("summary eur.mvk --format jsonl");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::size_t scores = r.out.find(",\"scores\":");
    ASSERT_NE(scores, std::string::npos);
    const std::regex number(R"([:,\[]\s*(-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?)[,}\]])");
    int numbers = 0;
    for (const auto& [text, decimals] :
         {std::pair{r.out.substr(0, scores), 3u}, std::pair{r.out.substr(scores), 5u}}) {
        for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it) {
            ++numbers;
            EXPECT_LE((*it)[2].length(), decimals) << (*it)[1];  // "." and the decimals
            EXPECT_EQ((*it)[3].length(), 0) << (*it)[1];
        }
    }
    EXPECT_GE(numbers, 35);
}

// A file name that is not UTF-8 gives a valid UTF-8 line; its bytes are in file_base64.
TEST_F(Summary, ANameThatIsNotUtf8StaysValidJsonAndRecoverable) {
    fs::create_directory(dir_ / "cp");
    fs::copy_file(dir_ / "docs" / "b.mvk", dir_ / "cp" /
                                               "\xE8"
                                               "asopis.mvk");
    const Outcome r = Cli("summary cp --format jsonl");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(movik::IsUtf8(r.out));
    EXPECT_NE(r.out.find("\"file\":\"cp/\xEF\xBF\xBD"
                         "asopis.mvk\""),
              std::string::npos);
    EXPECT_NE(r.out.find("\"file_base64\":\"" +
                         movik::Base64("cp/\xE8"
                                       "asopis.mvk") +
                         "\"}"),
              std::string::npos);
    // The workbook's XML is UTF-8 too: it reads back, the name's stray byte replaced.
    ASSERT_EQ(Cli("summary cp --format xlsx -o n.xlsx").exitCode, 0);
    ASSERT_EQ(std::system(("cd '" + dir_.string() +
                           "' && /usr/bin/python3 '" MOVIK_EXAMPLES
                           "/../tests/reports/read-xlsx.py' n.xlsx > n.cells")
                              .c_str()),
              0);
    EXPECT_NE(Read(dir_ / "n.cells")
                  .find("\xEF\xBF\xBD"
                        "asopis.mvk"),
              std::string::npos);
    const Outcome plain = Cli("summary docs/b.mvk --format jsonl");
    EXPECT_NE(plain.out.find(",\"file_base64\":null}"), std::string::npos);
    if (std::system("command -v base64 >/dev/null 2>&1") == 0) {
        std::ofstream(dir_ / "b64") << movik::Base64(
            "cp/\xE8"
            "asopis.mvk");
        EXPECT_EQ(
            std::system(("cd '" + dir_.string() + "' && test -f \"$(base64 -d b64)\"").c_str()), 0);
    }
}

// The printed table shows an amount of billions whole, cents included: its columns widen.
TEST_F(Summary, PrintedTableShowsBillionsWhole) {
    movik::Workspace ws({".", ",", "dd.MM.yyyy."}, 2026);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    ws.ChangeInputAmounts([](movik::TDokument& doc) {
        doc.Bilanca.row(movik::BilancaRow::Cash).IznosTekuca = 12345678901.23;
    });
    ASSERT_TRUE(
        ws.SaveDocumentAs((dir_ / "velika.mvk").string(), *movik::MakeSystemFileWriter()).ok());
    ASSERT_EQ(Cli("summary velika.mvk --format pdf -o v.pdf").exitCode, 0);
    const std::string text = movik::test::PdfText((dir_ / "v.pdf").string());
    // Total assets, and the free cash flow that the cash took from.
    EXPECT_NE(text.find(" 12.351.900.401,23 "), std::string::npos) << text;
    EXPECT_NE(text.find(" -12.345.177.326,23 "), std::string::npos) << text;
}

// pdf and xlsx hold the comparison table as the window exports it, one row per document.
TEST_F(Summary, PdfAndXlsxHoldTheComparisonTable) {
    EXPECT_EQ(Cli("summary docs --format xlsx").exitCode, 2);  // a table needs -o
    // The last --format holds: rows, not the table, and no -o needed for them.
    const Outcome rows = Cli("summary docs/b.mvk --format pdf --format jsonl");
    EXPECT_EQ(rows.exitCode, 0);
    EXPECT_EQ(rows.out.rfind("{", 0), 0u) << rows.out;
    ASSERT_EQ(Cli("summary docs/b.mvk docs/2023 --format pdf -o t.pdf").exitCode, 0);
    const std::string dir = "cd '" + dir_.string() + "' && ";
    ASSERT_EQ(std::system((dir + "pdftotext -layout t.pdf t.txt").c_str()), 0);
    const std::string text = Read(dir_ / "t.txt");
    EXPECT_NE(text.find("Usporedba dokumenata"), std::string::npos) << text;
    ASSERT_EQ(Cli("summary docs/b.mvk docs/2023 docs/d-tekst.mvk --format xlsx -o t.xlsx").exitCode,
              1);
    ASSERT_EQ(std::system((dir + "/usr/bin/python3 '" MOVIK_EXAMPLES
                                 "/../tests/reports/read-xlsx.py' t.xlsx > cells")
                              .c_str()),
              0);
    const std::string cells = Read(dir_ / "cells");
    EXPECT_GT(Lines(cells).size(), 10u);
    std::size_t companies = 0;
    for (std::size_t at = 0; (at = cells.find("\tLipa-Mont d.d.\t", at)) != std::string::npos;
         ++at) {
        ++companies;
    }
    EXPECT_EQ(companies, 2u) << cells;
    EXPECT_NE(cells.find("d-tekst.mvk"), std::string::npos);
}

// The manual's recipe: find -iname lists what a folder gives, capital extensions too.
TEST_F(Summary, PathsFromStandardInputComposeWithFind) {
    std::ofstream(dir_ / "docs" / "VELIKA.MVK", std::ios::binary) << Read(MOVIK_EXAMPLE);
    const Outcome listed =
        Cli("summary --files-from - --format jsonl", "find docs -iname '*.mvk' | sort | ");
    const Outcome walked = Cli("summary docs --format jsonl");
    EXPECT_EQ(listed.out, walked.out);
    EXPECT_EQ(listed.exitCode, 1);
}

// A file whose stored totals were changed outside the program: every format shows the
// recalculated total and says that the stored ones differ.
TEST_F(Summary, StaleStoredTotalsAreWarnedAboutInEveryFormat) {
    movik::Workspace ws({".", ",", "dd.MM.yyyy."}, 2026);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    movik::WorkspaceTestAccess::Document(ws).Bilanca.row(55).IznosTekuca = 7000000;
    ws.FillGrids();  // saving reads the grids back
    ASSERT_TRUE(
        ws.SaveDocumentAs((dir_ / "izvana.mvk").string(), *movik::MakeSystemFileWriter()).ok());
    const std::string warning = "Spremljeni zbrojevi razlikuju se od izračunatih";
    const struct {
        const char* format;
        std::string warning;
        std::string total;
    } cases[] = {{"jsonl", "\"warnings\":[\"" + warning + "\"]", "\"total_assets\":6349500,"},
                 {"csv", movik::Utf8ToCp1250Lossy(warning), ";6.349.500,00;"},
                 {"txt", warning, " 6.349.500,00 "}};
    for (const auto& c : cases) {
        const Outcome r = Cli(std::string("summary izvana.mvk --format ") + c.format);
        EXPECT_EQ(r.exitCode, 0) << c.format;
        EXPECT_NE(r.out.find(c.warning), std::string::npos) << c.format << "\n" << r.out;
        EXPECT_NE(r.out.find(c.total), std::string::npos) << c.format << "\n" << r.out;
    }
    // The printed table's note names the warning its "!" stands for.
    ASSERT_EQ(Cli("summary izvana.mvk --format pdf -o s.pdf").exitCode, 0);
    EXPECT_NE(movik::test::PdfText((dir_ / "s.pdf").string()).find("ima upozorenje: " + warning),
              std::string::npos);
}

// The README's recipe for many hosts, run on this machine: the union of rows equals one run.
TEST_F(Summary, GnuParallelSpreadsTheWorkWithTheSameRows) {
    if (std::system("command -v parallel >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "GNU parallel is not installed";
    }
    const Outcome plain = Cli("summary docs --format jsonl");
    const std::string parallel =
        "cd '" + dir_.string() +
        "' && find docs -name '*.mvk' | parallel --will-cite -j 2 --pipe -N 2 '" MOVIK_CLI
        "' --locale hr_HR summary --format jsonl --files-from - >spread 2>/dev/null";
    std::system(parallel.c_str());
    std::vector<std::string> a = Lines(plain.out);
    std::vector<std::string> b = Lines(Read(dir_ / "spread"));
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), 5u);
}

}  // namespace

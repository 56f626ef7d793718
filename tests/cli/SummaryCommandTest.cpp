// movik-cli summary as a user runs it: folders, damaged files, formats, threads, GNU parallel.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../support/WorkspaceTestAccess.h"
#include "document/Cp1250.h"
#include "document/DocumentFile.h"
#include "document/FileIO.h"
#include "model/Dates.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        lines.push_back(l);
    }
    return lines;
}

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

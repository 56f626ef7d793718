// movik-cli as a separate process: exit codes, files written, and agreement with the core.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/DocumentFile.h"
#include "document/DocumentLock.h"
#include "model/Calculations.h"
#include "model/Dates.h"

namespace fs = std::filesystem;

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("movik-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs movik-cli with the given arguments (shell-quoted by the caller where needed). A
    // prefix goes before the program: a memory limit, a time limit or a pipe feeding its input.
    Result Run(const std::string& arguments, const std::string& prefix = "") {
        const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        const std::string command = "cd '" + dir_.string() + "' && " + prefix + "'" MOVIK_CLI "' " +
                                    arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        Result r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = ReadFile(out);
        r.err = ReadFile(err);
        return r;
    }

    fs::path Path(const std::string& name) const { return dir_ / name; }

    fs::path dir_;
};

TEST_F(Cli, NewWritesTheGeneralDataAndAFullSizeFile) {
    const Result r =
        Run("--locale hr_HR new a.mvk --company 'Čvor d.d.' --seat Zagreb "
            "--from 2024-01-01 --to 2024-12-31 --shares 1000");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(fs::file_size(Path("a.mvk")), movik::kDocumentFileSize);

    movik::TDokument doc;
    ASSERT_TRUE(movik::OpenDocument(Path("a.mvk").string(), doc));
    EXPECT_EQ(doc.Poduzece, "Čvor d.d.");
    EXPECT_EQ(doc.Sjediste, "Zagreb");
    EXPECT_EQ(doc.BrojDionica, 1000);
    EXPECT_EQ(doc.DatumOd, movik::DayNumber(2024, 1, 1));
    EXPECT_EQ(doc.DatumDo, movik::DayNumber(2024, 12, 31));
}

TEST_F(Cli, ExportToStandardOutputEqualsExportToFile) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk").exitCode, 0);
    for (const char* s : {"bilanca", "racun", "cfind", "cffree", "pokazatelji"}) {
        const Result toStdout = Run(std::string("export a.mvk ") + s + " -o - --locale hr_HR");
        ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
        ASSERT_EQ(Run(std::string("--locale hr_HR export a.mvk ") + s + " -o x.csv").exitCode, 0);
        EXPECT_EQ(ReadFile(Path("x.csv")), toStdout.out) << s;
    }
    // The default name is the window's default export name.
    ASSERT_EQ(Run("--locale hr_HR export a.mvk racun").exitCode, 0);
    EXPECT_TRUE(fs::exists(Path("racun dobiti i gubitka.csv")));
}

TEST_F(Cli, ExportImportRoundTripKeepsEveryAmount) {
    ASSERT_EQ(Run("--locale en_US new a.mvk --from 2025-01-01 --to 2025-12-31").exitCode, 0);
    // Hand-made balance sheet: header line, then cash and capital in both years.
    std::string csv = "Rbr;P o z i c i j a;12/31/24;Udio (%);12/31/25;Udio(%);\r\n";
    for (int row = 1; row <= 88; ++row) {
        const char* prev = row == 52 ? "1,000.50" : row == 58 ? "1,000.50" : "0.00";
        const char* cur = row == 52 ? "2,500.25" : row == 58 ? "2,500.25" : "0.00";
        csv += std::to_string(row) + ";x;" + prev + ";0.00%;" + cur + ";0.00%;\r\n";
    }
    WriteFile(Path("in.csv"), csv);
    const Result imported = Run("--locale en_US import a.mvk bilanca in.csv -o b.mvk");
    ASSERT_EQ(imported.exitCode, 0) << imported.err;

    movik::TDokument doc;
    ASSERT_TRUE(movik::OpenDocument(Path("b.mvk").string(), doc));
    EXPECT_EQ(doc.Bilanca.row(55).IznosPrethodna, 1000.5);
    EXPECT_EQ(doc.Bilanca.row(87).IznosTekuca, 2500.25);
    EXPECT_EQ(doc.CFInd.row(31).Iznos, 1499.75);
    EXPECT_EQ(Run("check b.mvk").exitCode, 0);

    // Export, import the export into another copy, export again: the same bytes.
    ASSERT_EQ(Run("--locale en_US export b.mvk bilanca -o first.csv").exitCode, 0);
    ASSERT_EQ(Run("--locale en_US import a.mvk bilanca first.csv -o c.mvk").exitCode, 0);
    ASSERT_EQ(Run("--locale en_US export c.mvk bilanca -o second.csv").exitCode, 0);
    EXPECT_EQ(ReadFile(Path("first.csv")), ReadFile(Path("second.csv")));
}

TEST_F(Cli, CheckReportsTheWarningWithExitCodeOne) {
    ASSERT_EQ(Run("--locale C new a.mvk --from 2024-01-01 --to 2024-12-31").exitCode, 0);
    std::string csv = "Rbr;P;A;B;C;D;\r\n";
    for (int row = 1; row <= 88; ++row) {
        csv += std::to_string(row) + ";x;" + (row == 52 ? "100" : "0") + ";0;0;0;\r\n";
    }
    WriteFile(Path("in.csv"), csv);
    ASSERT_EQ(Run("--locale C import a.mvk bilanca in.csv").exitCode, 0);
    const Result r = Run("check a.mvk");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Valuta: EUR (po razdoblju)\n" + std::string(movik::kWarningBalance) + "\n");
}

TEST_F(Cli, RecalcSavesInPlaceAndIsStable) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk --shares 5").exitCode, 0);
    ASSERT_EQ(Run("--locale hr_HR recalc a.mvk -o b.mvk").exitCode, 0);
    ASSERT_EQ(Run("--locale hr_HR recalc b.mvk").exitCode, 0);
    ASSERT_EQ(Run("--locale hr_HR recalc b.mvk -o c.mvk").exitCode, 0);
    EXPECT_EQ(ReadFile(Path("b.mvk")), ReadFile(Path("c.mvk")));
}

// A document a window has open is not written over by a command; reading it is fine.
TEST_F(Cli, CommandsDoNotWriteADocumentAWindowHasOpen) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk").exitCode, 0);
    const std::string before = ReadFile(Path("a.mvk"));
    movik::DocumentLock window;
    ASSERT_EQ(window.Take(Path("a.mvk").string()), movik::DocumentLock::Outcome::Taken);
    for (const char* command : {"recalc a.mvk", "new a.mvk --force", "recalc a.mvk -o b.mvk"}) {
        const Result r = Run(std::string("--locale hr_HR ") + command);
        if (std::string(command).find("b.mvk") != std::string::npos) {
            EXPECT_EQ(r.exitCode, 0) << r.err;  // another file
            continue;
        }
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_NE(r.err.find("otvoren je u drugom prozoru Movika"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFile(Path("a.mvk")), before);
    EXPECT_EQ(Run("check a.mvk").exitCode, 0);
    window.Release();
    EXPECT_EQ(Run("--locale hr_HR recalc a.mvk").exitCode, 0);
}

TEST_F(Cli, ErrorsGiveOneLineExitTwoAndNoOutputFile) {
    struct Case {
        const char* arguments;
        const char* output;  // a file that must not appear
    };
    ASSERT_EQ(Run("--locale C new a.mvk").exitCode, 0);
    WriteFile(Path("short.mvk"), std::string(100, '\0'));
    WriteFile(Path("bad.csv"), "Rbr;P;A;B;C;D;\r\n1;x;0;0;\r\n");
    ASSERT_EQ(::mkfifo(Path("cijev").c_str(), 0600), 0);  // no regular file: never replaced
    const Case cases[] = {
        {"frobnicate", ""},
        {"new", ""},
        {"new n.mvk --from 2024-02-30", "n.mvk"},
        {"new n.mvk --shares 10000000000", "n.mvk"},
        {"new n.mvk --shares -1", "n.mvk"},
        {"new n.mvk --company 'ñandú'", "n.mvk"},
        {"new missing/n.mvk", ""},
        {"recalc nothing.mvk -o n.mvk", "n.mvk"},
        {"recalc short.mvk -o n.mvk", "n.mvk"},
        {"export a.mvk bilance -o n.csv", "n.csv"},
        {"import a.mvk cfind bad.csv -o n.mvk", "n.mvk"},
        {"import a.mvk bilanca bad.csv -o n.mvk", "n.mvk"},
        {"import a.mvk bilanca none.csv -o n.mvk", "n.mvk"},
        {"import a.mvk racun '" MOVIK_EXAMPLES "/bilanca.csv' -o n.mvk", "n.mvk"},
        {"export a.mvk bilanca -o cijev", ""},
        {"check a.mvk --shares 3", ""},
        {"--locale xx_NOWHERE check a.mvk", ""},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.arguments);
        EXPECT_EQ(r.exitCode, 2) << c.arguments;
        EXPECT_TRUE(r.out.empty()) << c.arguments;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.arguments << ": " << r.err;
        if (*c.output != '\0') {
            EXPECT_FALSE(fs::exists(Path(c.output))) << c.arguments;
        }
    }
    // Only the files made above are left: no temporary file survived a failure.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 6);
    EXPECT_TRUE(fs::is_fifo(Path("cijev")));
}

// A line break inside a name cannot break the message into two lines.
TEST_F(Cli, ErrorAboutANameWithALineBreakIsStillOneLine) {
    const Result r = Run("recalc \"$(printf 'a\\nb.mvk')\"");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("a?b.mvk"), std::string::npos) << r.err;
}

TEST_F(Cli, ImportWithAShortLineChangesNothing) {
    ASSERT_EQ(Run("--locale C new a.mvk").exitCode, 0);
    const std::string before = ReadFile(Path("a.mvk"));
    WriteFile(Path("bad.csv"), "Rbr;P;A;B;C;D;\r\n1;x;5;0;5;0;\r\n2;x;1;0;\r\n");
    const Result r = Run("--locale C import a.mvk bilanca bad.csv");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("List index out of bounds (4)"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(Path("a.mvk")), before);
}

// An import reads only the lines the statement can take: an endless source ends in a clear
// message instead of eating memory, a pipe is read, a folder is no file.
TEST_F(Cli, ImportReadsNoMoreThanItsLines) {
#ifdef __SANITIZE_ADDRESS__
    // AddressSanitizer reserves terabytes of address space for its shadow memory, so a program
    // built with it cannot even start under ulimit -v.
    GTEST_SKIP() << "ulimit -v cannot cap a program built with AddressSanitizer";
#endif
    ASSERT_EQ(Run("--locale C new a.mvk").exitCode, 0);
    const std::string before = ReadFile(Path("a.mvk"));
    const std::string limits = "ulimit -v 2000000 && timeout 60 ";  // a runaway read ends here

    const Result endless = Run("--locale C import a.mvk bilanca /dev/zero", limits);
    EXPECT_EQ(endless.exitCode, 2);
    EXPECT_NE(endless.err.find("/dev/zero"), std::string::npos) << endless.err;
    EXPECT_EQ(endless.err.find("alloc"), std::string::npos) << endless.err;
    EXPECT_EQ(std::count(endless.err.begin(), endless.err.end(), '\n'), 1) << endless.err;

    const Result folder = Run("--locale C import a.mvk bilanca .", limits);
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_EQ(folder.err, "movik-cli: Cannot open file .\n");
    EXPECT_EQ(ReadFile(Path("a.mvk")), before);

    // Through a pipe, with an endless tail after the last line the grid takes.
    std::string csv = "Rbr;P;Iznos;Udio;\r\n";
    for (int row = 1; row <= 45; ++row) {
        csv += std::to_string(row) + ";x;" + (row == 2 ? "250" : "0") + ";0;\r\n";
    }
    WriteFile(Path("in.csv"), csv);
    const Result piped = Run("--locale C import a.mvk racun /dev/stdin",
                             "ulimit -v 2000000 && { cat in.csv; yes; } | timeout 60 ");
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    movik::TDokument doc;
    ASSERT_TRUE(movik::OpenDocument(Path("a.mvk").string(), doc));
    EXPECT_EQ(doc.Racun.row(1).Iznos, 250);
}

// The system's locale decides the separators; one Qt does not know, or none at all (C, POSIX),
// means the program's own Croatian conventions, as in the window, while an unknown --locale is
// an error.
TEST_F(Cli, UnknownOrPlainSystemLocaleUsesCroatianConventions) {
    const std::string env = "LC_ALL= LC_NUMERIC= LANG=xx_NOWHERE.UTF-8 ";
    ASSERT_EQ(Run("new a.mvk", env).exitCode, 0);
    const Result shown = Run("export a.mvk racun -o -", env);
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, Run("--locale hr_HR export a.mvk racun -o -").out);
    EXPECT_EQ(Run("export a.mvk racun -o - --locale xx_NOWHERE", env).exitCode, 2);

    for (const char* plain : {"LC_ALL=C ", "LC_ALL=POSIX ", "LC_ALL= LC_NUMERIC= LANG= "}) {
        const Result croatian = Run("export a.mvk racun -o -", plain);
        EXPECT_NE(croatian.out.find("0,00;0,00%;"), std::string::npos) << plain << croatian.out;
    }
    EXPECT_NE(Run("--help").out.find("(C ili POSIX) vrijede hrvatske"), std::string::npos);
}

// Numbers follow LC_NUMERIC and dates LC_TIME, as in the window.
TEST_F(Cli, NumbersFollowLcNumericAndDatesLcTime) {
    const std::string env = "LC_ALL= LC_NUMERIC= LANG=en_US.UTF-8 LC_TIME=hr_HR.UTF-8 ";
    ASSERT_EQ(Run("new a.mvk --from 2022-01-01 --to 2022-12-31", env).exitCode, 0);
    const Result r = Run("export a.mvk bilanca -o -", env);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("\r\n")),
              "Rbr;P o z i c i j a;31. 12. 2021.;Udio (%);31. 12. 2022.;Udio(%);");
    EXPECT_NE(r.out.find("\r\n1;A.Potra"), std::string::npos);
    EXPECT_NE(r.out.find(";0.00;0.00%;0.00;0.00%;"), std::string::npos);
}

// A new document's period is the year of the local date: at 00:30 on 1 January in Zagreb it is
// already the new year, while UTC is still in the old one.
TEST_F(Cli, NewDocumentTakesTheLocalYear) {
    const Result r =
        // faketime preloads its library before a sanitized program's runtime: ASan is told that
        // this order is intended.
        Run("--locale hr_HR new a.mvk",
            "TZ=Europe/Zagreb ASAN_OPTIONS=verify_asan_link_order=0 "
            "faketime '2031-01-01 00:30:00' ");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    movik::TDokument doc;
    ASSERT_TRUE(movik::OpenDocument(Path("a.mvk").string(), doc));
    EXPECT_EQ(doc.DatumOd, movik::DayNumber(2031, 1, 1));
    EXPECT_EQ(doc.DatumDo, movik::DayNumber(2031, 12, 31));
}

// An import that would shift rows or misread a whole amount is refused and writes nothing.
TEST_F(Cli, ImportRefusesAmbiguousAmountsAndShiftedRows) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk").exitCode, 0);
    const std::string before = ReadFile(Path("a.mvk"));
    struct Case {
        int row;
        std::string line;
        std::string error;
    };
    for (const Case& c :
         {Case{6, "6;x;485,000;0;0,00;0;",
               "u retku 7, stupcu 3 iznos „485,000” nije jednoznačan: može biti 485,00 ili "
               "485.000,00."},
          Case{6, "7;x;1,00;0;0,00;0;", "u retku 7, stupcu 1 stoji redni broj „7”"}}) {
        std::string csv = "Rbr;P;x;Udio;y;Udio;\r\n";
        for (int row = 1; row <= 88; ++row) {
            csv += row == c.row ? c.line + "\r\n" : std::to_string(row) + ";x;0,00;0;0,00;0;\r\n";
        }
        WriteFile(Path("in.csv"), csv);
        const Result r = Run("--locale hr_HR import a.mvk bilanca in.csv");
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(Path("a.mvk")), before);
    }
}

TEST_F(Cli, HelpListsEveryCommand) {
    const Result r = Run("--help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* word : {"new", "recalc", "export", "import", "check", "--locale"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

// Files that are not documents are refused and left as they were.
TEST_F(Cli, FileWithoutTheSignatureIsNoDocument) {
    std::string random(70 * 1024, '\0');
    std::uint32_t x = 12345;
    for (char& c : random) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    WriteFile(Path("slucajni.mvk"), random);
    for (const char* command :
         {"recalc slucajni.mvk", "check slucajni.mvk", "export slucajni.mvk bilanca -o x.csv"}) {
        const Result r = Run(std::string("--locale C ") + command);
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_NE(r.err.find("slucajni.mvk nije Movik dokument"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFile(Path("slucajni.mvk")), random);
    EXPECT_FALSE(fs::exists(Path("x.csv")));
}

TEST_F(Cli, NewKeepsAnExistingFileUnlessForced) {
    ASSERT_EQ(Run("--locale C new a.mvk --company Prvi").exitCode, 0);
    const std::string first = ReadFile(Path("a.mvk"));
    const Result refused = Run("--locale C new a.mvk --company Drugi");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("a.mvk već postoji"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFile(Path("a.mvk")), first);
    ASSERT_EQ(Run("--locale C new a.mvk --company Drugi --force").exitCode, 0);
    EXPECT_NE(ReadFile(Path("a.mvk")), first);
}

TEST_F(Cli, NewRefusesAReversedPeriod) {
    const Result r = Run("--locale C new a.mvk --from 2024-12-31 --to 2024-01-01");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("prije njegova početka"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("a.mvk")));
    EXPECT_EQ(Run("--locale C new b.mvk --from 2024-05-05 --to 2024-05-05").exitCode, 0);
}

// A reversed period from one given date and one default says which date was the default.
TEST_F(Cli, NewNamesTheDefaultDateOfAReversedPeriod) {
    struct Case {
        const char* options;
        const char* said;
    };
    for (const Case& c : {Case{"--from 2999-01-01", "(zadani završetak 31.12."},
                          Case{"--to 1901-01-01", "(zadani početak 01.01."}}) {
        const Result r = Run(std::string("--locale C new a.mvk ") + c.options);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(Path("a.mvk")));
    }
}

// The example statements are written with "," thousands and "." decimals: under Croatian
// settings they read in that convention, and the amounts are the ones the file says.
TEST_F(Cli, ImportReadsTheExampleInItsOwnConvention) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk --from 2023-01-01 --to 2023-12-31").exitCode, 0);
    const Result r = Run("--locale hr_HR import a.mvk bilanca '" MOVIK_EXAMPLES "/bilanca.csv'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("za decimale"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    movik::TDokument doc;
    ASSERT_TRUE(movik::OpenDocument(Path("a.mvk").string(), doc));
    EXPECT_EQ(doc.Bilanca.row(6).IznosPrethodna, 118000);
    EXPECT_EQ(doc.Bilanca.row(11).IznosPrethodna, 2150000);
}

TEST_F(Cli, ImportWithABadAmountNamesItAndWritesNothing) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk").exitCode, 0);
    const std::string before = ReadFile(Path("a.mvk"));
    std::string csv = "Rbr;P;x;Udio;y;Udio;\r\n";
    for (int row = 1; row <= 88; ++row) {
        csv += std::to_string(row) + ";x;" + (row == 3 ? "1O,00" : "0,00") + ";0;0,00;0;\r\n";
    }
    WriteFile(Path("in.csv"), csv);
    const Result r = Run("--locale hr_HR import a.mvk bilanca in.csv");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("u retku 4, stupcu 3"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(Path("a.mvk")), before);
}

// A short file says on stderr which rows kept their amounts and saves; a header-only file
// imports nothing, says so, exits 2 and leaves the document as it was.
TEST_F(Cli, ImportSaysWhatAShortOrEmptyFileDid) {
    ASSERT_EQ(Run("--locale hr_HR new a.mvk").exitCode, 0);
    ASSERT_EQ(Run("--locale hr_HR export '" MOVIK_EXAMPLE "' bilanca -o full.csv").exitCode, 0);
    std::string csv = ReadFile(Path("full.csv"));
    std::size_t at = 0;
    for (int line = 0; line < 51; ++line) {
        at = csv.find("\r\n", at) + 2;
    }
    WriteFile(Path("short.csv"), csv.substr(0, at));  // the header and rows 1 to 50
    const Result r = Run("--locale hr_HR import a.mvk bilanca short.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err,
              "movik-cli: Uvezeno je 50 od 88 redaka; retci 51–88 zadržali su dosadašnje "
              "iznose.\n");

    const std::string before = ReadFile(Path("a.mvk"));
    WriteFile(Path("header.csv"), csv.substr(0, csv.find("\r\n") + 2));
    const Result empty = Run("--locale hr_HR import a.mvk bilanca header.csv");
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "movik-cli: Datoteka nema redaka s iznosima: ništa nije uvezeno.\n");
    EXPECT_EQ(ReadFile(Path("a.mvk")), before);
}

}  // namespace

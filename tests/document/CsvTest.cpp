// Semicolon-separated export and import: the splitter, the exact bytes of an export, and import
// that reads back what export wrote or changes nothing.

#include "document/Csv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/Workspace.h"
#include "model/Calculations.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace movik {
namespace {

using test::CommaSettings;
using test::DotSettings;
using test::SameValue;

// ---- TBrkApart -------------------------------------------------------------------------------

struct Cut {
    const char* text;
    const char* separator;
    bool allowEmpty;
    std::vector<std::string> pieces;
};

class BreakApart : public ::testing::TestWithParam<Cut> {};

TEST_P(BreakApart, CutsAsTheRuleSays) {
    TBrkApart splitter;
    splitter.StringList = {"ostatak prošlog rezanja"};
    splitter.BaseString = GetParam().text;
    splitter.BreakString = GetParam().separator;
    splitter.AllowEmptyString = GetParam().allowEmpty;
    splitter.BreakApart();
    EXPECT_EQ(splitter.StringList, GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BreakApart,
    ::testing::Values(Cut{"prvi;;drugi;", ";", false, {"prvi", "drugi"}}, Cut{"", ";", false, {}},
                      Cut{"", ";", true, {""}},
                      Cut{"prvi;;drugi;", ";", true, {"prvi", "", "drugi", ""}},
                      Cut{";;;", ";", false, {}}, Cut{";;;", ";", true, {"", "", "", ""}},
                      Cut{"bez razdvajanja", ";", false, {"bez razdvajanja"}},
                      Cut{" a ; b ", ";", false, {" a ", " b "}},
                      Cut{"1<>2<><>3", "<>", false, {"1", "2", "3"}},
                      Cut{"a;b", "", false, {"a;b"}}));

TEST(DefaultCsvName, OnePerStatement) {
    EXPECT_EQ(DefaultCsvName(Statement::Bilanca), "bilanca.csv");
    EXPECT_EQ(DefaultCsvName(Statement::Racun), "racun dobiti i gubitka.csv");
    EXPECT_EQ(DefaultCsvName(Statement::CFInd), "indirektna metoda novcanog toka.csv");
    EXPECT_EQ(DefaultCsvName(Statement::CFFree), "metoda slobodnog novcanog toka.csv");
    EXPECT_EQ(DefaultCsvName(Statement::Pok), "pokazatelji.csv");
}

// ---- export ----------------------------------------------------------------------------------

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

TEST(ExportCsv, NewDocumentBalanceSheet) {
    Workspace ws(DotSettings(), 2024);
    const std::string bytes = ws.ExportCsv(Statement::Bilanca);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const std::vector<std::string> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 89u);
    EXPECT_EQ(lines[0], "Rbr;P o z i c i j a;31.12.2023;Udio (%);31.12.2024;Udio(%);");
    EXPECT_EQ(bytes.substr(lines[0].size() + 2, lines[1].size() + 2),
              "1;A.Potra\x9Eivanja za upisani a neupla\xE6"
              "eni kapital;0.00;0.00%;0.00;0.00%;\r\n");
    EXPECT_EQ(lines[32], "32;   I.  Zalihe;0.00;0.00%;0.00;0.00%;");
    EXPECT_EQ(lines[88], "88;G.Izvanbilan\xE8ni zapisi;0.00;0.00%;0.00;0.00%;");
}

struct ExportShape {
    Statement statement;
    std::size_t lines;
    std::size_t cellsPerLine;
};

class ExportCsvShape : public ::testing::TestWithParam<ExportShape> {};

TEST_P(ExportCsvShape, LinesAndCells) {
    Workspace ws(CommaSettings(), 2024);
    const std::vector<std::string> lines = Lines(ws.ExportCsv(GetParam().statement));
    ASSERT_EQ(lines.size(), GetParam().lines);
    for (const std::string& line : lines) {
        EXPECT_EQ(static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')),
                  GetParam().cellsPerLine)
            << line;
        EXPECT_EQ(line.back(), ';');
    }
}

INSTANTIATE_TEST_SUITE_P(FiveStatements, ExportCsvShape,
                         ::testing::Values(ExportShape{Statement::Bilanca, 89, 6},
                                           ExportShape{Statement::Racun, 46, 4},
                                           ExportShape{Statement::CFInd, 32, 3},
                                           ExportShape{Statement::CFFree, 29, 3},
                                           ExportShape{Statement::Pok, 20, 3}));

TEST(ExportCsv, IndicatorsWithTheirOwnPatterns) {
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Document(ws).Pok.row(4).Iznos = 1234.6;
    WorkspaceTestAccess::Document(ws).Pok.row(11).Iznos = 7.125;
    ws.FillGrids();
    const std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Pok));
    EXPECT_EQ(lines[0], "Rbr;P o z i c i j a;Iznos;");
    EXPECT_EQ(lines[1], "1;A. LIKVIDNOST;;");
    EXPECT_EQ(lines[4], "4;   3. Dostatna likvidnost u danima;1,235;");
    EXPECT_EQ(lines[11], "11;   1. Profina stopa poslovnih prihoda;7.13%;");
}

TEST(ExportCsv, CharactersOutsideWindows1250) {
    RegionalSettings rs{"\xE2\x80\xAF", ",", "dd.MM.yyyy"};  // narrow no-break space
    Workspace ws(rs, 2024);
    WorkspaceTestAccess::Document(ws).Bilanca.row(4).IznosTekuca = 1234;
    WorkspaceTestAccess::Document(ws).Bilanca.row(5).Tekst = "Strelica → i; prijelom\r\nreda";
    WorkspaceTestAccess::Document(ws).Bilanca.row(6).Tekst = "a;b\rc\nd";
    ws.FillGrids();
    const std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Bilanca));
    ASSERT_EQ(lines.size(), 89u);
    EXPECT_EQ(lines[4].substr(lines[4].find(";0,00;0,00%;") + 12),
              "1\xA0"
              "234,00;0,00%;");
    // A cell cannot break its line apart: the separator and line breaks are replaced.
    EXPECT_EQ(lines[5], "5;Strelica ? i, prijelom  reda;0,00;0,00%;0,00;0,00%;");
    EXPECT_EQ(lines[6], "6;a,b c d;0,00;0,00%;0,00;0,00%;");
}

// ---- import ----------------------------------------------------------------------------------

// Input amounts with two decimals in every input row (a few left at zero), shown and recalculated.
void FillRandomInputs(Workspace& ws, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    TDokument& doc = WorkspaceTestAccess::Document(ws);
    for (int r = 1; r <= kBilancaRows; ++r) {
        if (!TemplateRow(Statement::Bilanca, r).Izracunata && rng() % 5 != 0) {
            doc.Bilanca.row(r).IznosPrethodna = test::RandomAmount(rng);
            doc.Bilanca.row(r).IznosTekuca = test::RandomAmount(rng);
        }
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        if (!TemplateRow(Statement::Racun, r).Izracunata && rng() % 5 != 0) {
            doc.Racun.row(r).Iznos = test::RandomAmount(rng);
        }
    }
    ws.FillGrids();
    ws.RefreshCycle();
}

void ExpectSameTables(const TDokument& a, const TDokument& b) {
    for (int r = 1; r <= kBilancaRows; ++r) {
        const auto& x = a.Bilanca.row(r);
        const auto& y = b.Bilanca.row(r);
        EXPECT_TRUE(SameValue(x.IznosPrethodna, y.IznosPrethodna)) << "Bilanca " << r;
        EXPECT_TRUE(SameValue(x.UdioPrethodna, y.UdioPrethodna)) << "Bilanca " << r;
        EXPECT_TRUE(SameValue(x.IznosTekuca, y.IznosTekuca)) << "Bilanca " << r;
        EXPECT_TRUE(SameValue(x.UdioTekuca, y.UdioTekuca)) << "Bilanca " << r;
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        EXPECT_TRUE(SameValue(a.Racun.row(r).Iznos, b.Racun.row(r).Iznos)) << "Racun " << r;
        EXPECT_TRUE(SameValue(a.Racun.row(r).Udio, b.Racun.row(r).Udio)) << "Racun " << r;
    }
    for (int r = 1; r <= kCFIndRows; ++r) {
        EXPECT_TRUE(SameValue(a.CFInd.row(r).Iznos, b.CFInd.row(r).Iznos)) << "CFInd " << r;
    }
    for (int r = 1; r <= kCFFreeRows; ++r) {
        EXPECT_TRUE(SameValue(a.CFFree.row(r).Iznos, b.CFFree.row(r).Iznos)) << "CFFree " << r;
    }
    for (int r = 1; r <= kPokRows; ++r) {
        EXPECT_TRUE(SameValue(a.Pok.row(r).Iznos, b.Pok.row(r).Iznos)) << "Pok " << r;
    }
}

struct RoundTrip {
    const char* name;
    RegionalSettings rs;
    std::uint64_t seed;
};

void PrintTo(const RoundTrip& r, std::ostream* os) {
    *os << r.name;
}

class CsvRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CsvRoundTrip, ExportImportRestoresEveryAmount) {
    Workspace source(GetParam().rs, 2024);
    FillRandomInputs(source, GetParam().seed);
    const std::string bilanca = source.ExportCsv(Statement::Bilanca);
    const std::string racun = source.ExportCsv(Statement::Racun);

    Workspace target(GetParam().rs, 2024);
    ASSERT_EQ(target.ImportCsv(Statement::Bilanca, bilanca), "");
    ASSERT_EQ(target.ImportCsv(Statement::Racun, racun), "");

    ExpectSameTables(source.document(), target.document());
    EXPECT_EQ(target.warning(), source.warning());
    for (Statement s : kAllStatements) {
        EXPECT_EQ(target.ExportCsv(s), source.ExportCsv(s)) << static_cast<int>(s);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RandomDocuments, CsvRoundTrip,
    ::testing::Values(
        RoundTrip{"DotDecimal1", DotSettings(), 1}, RoundTrip{"DotDecimal2", DotSettings(), 2},
        RoundTrip{"DotDecimal3", DotSettings(), 3}, RoundTrip{"CommaDecimal1", CommaSettings(), 1},
        RoundTrip{"CommaDecimal2", CommaSettings(), 4},
        RoundTrip{"CommaDecimal3", CommaSettings(), 5},
        RoundTrip{"NarrowSpaceThousands", RegionalSettings{"\xE2\x80\xAF", ",", "dd.MM.yyyy"}, 6}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

TEST(CsvRoundTripEmptyEndDate, TheHeaderKeepsDayZeroAndReadsBack) {
    Workspace source(DotSettings(), 2024);
    WorkspaceTestAccess::Fields(source).DatumDo = 0;  // the user emptied the end date
    FillRandomInputs(source, 7);
    source.ShowGeneralData();
    const std::string bilanca = source.ExportCsv(Statement::Bilanca);
    EXPECT_EQ(bilanca.substr(0, bilanca.find('\r')),
              "Rbr;P o z i c i j a;30.12.1898;Udio (%);30.12.1899;Udio(%);");

    Workspace target(DotSettings(), 2024);
    ASSERT_EQ(target.ImportCsv(Statement::Bilanca, bilanca), "");
    for (int r = 1; r <= kBilancaRows; ++r) {
        EXPECT_EQ(target.document().Bilanca.row(r).IznosTekuca,
                  source.document().Bilanca.row(r).IznosTekuca)
            << r;
    }
}

TEST(ImportCsv, ShortLineChangesNothing) {
    Workspace ws(DotSettings(), 2024);
    FillRandomInputs(ws, 9);
    std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Bilanca));
    lines[2] = "2;B.Dugotrajna imovina;1,000.00;0.00%;2,000.00;0.00%;";
    lines[4] = "4;      1.Osnivacki izdaci;77.00;0.00%;88.00;0.00%;";
    lines[5] = "5;      2.Izdaci za istrazivanje i razvoj;0.00;0.00%;;;";
    const StatementGrids gridsBefore = ws.grids();
    const TDokument docBefore = ws.document();

    EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, JoinLines(lines)), "List index out of bounds (4)");
    for (int r = 0; r <= kBilancaRows; ++r) {
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(ws.grids().Bilanca.cell(c, r), gridsBefore.Bilanca.cell(c, r));
        }
    }
    ExpectSameTables(docBefore, ws.document());
}

TEST(ImportCsv, RacunNeedsFourPieces) {
    GridTexts grid(5, 46);
    EXPECT_EQ(ImportCsv(Statement::Racun, "Rbr;P o z i c i j a;Iznos;\r\n", grid, DotSettings()),
              "List index out of bounds (3)");
    EXPECT_EQ(ImportCsv(Statement::Racun, "a;b;c;d;\r\n\r\n1;x;2;3;\r\n", grid, DotSettings()),
              "List index out of bounds (0)");
    EXPECT_EQ(grid.cell(1, 0), "");
}

TEST(ImportCsv, AFileWithoutAmountLinesImportsNothing) {
    for (const std::string bytes : {"Rbr;Pozicija;prije;Udio;sada;Udio;\r\n", ""}) {
        Workspace ws(DotSettings(), 2024);
        WorkspaceTestAccess::Document(ws).Bilanca.row(4).IznosTekuca = 100;
        ws.FillGrids();  // shown, not yet recalculated
        const StatementGrids before = ws.grids();

        EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, bytes),
                  "Datoteka nema redaka s iznosima: ništa nije uvezeno.");
        EXPECT_EQ(ws.document().Bilanca.row(2).IznosTekuca, 0);  // no cycle ran
        EXPECT_TRUE(ws.grids() == before);
        EXPECT_FALSE(ws.document().Izmijenjen);
        EXPECT_FALSE(ws.CanUndo());
    }
}

// What a file of the first lines of an export says about the rows it did not reach.
struct ShortFile {
    Statement statement;
    std::size_t lines;  // the header line included
    const char* note;
};

class ImportShortFile : public ::testing::TestWithParam<ShortFile> {};

TEST_P(ImportShortFile, SaysWhichRowsKeptTheirAmounts) {
    const ShortFile& c = GetParam();
    Workspace source(CommaSettings(), 2024);
    FillRandomInputs(source, 11);
    std::vector<std::string> lines = Lines(source.ExportCsv(c.statement));
    lines.resize(c.lines);
    Workspace ws(CommaSettings(), 2024);
    FillRandomInputs(ws, 12);
    const StatementGrids before = ws.grids();

    std::string note = "stale";
    ASSERT_EQ(ws.ImportCsv(c.statement, JoinLines(lines), &note), "");
    EXPECT_EQ(note, c.note);
    // Typed amounts: from the file as far as it goes, the old ones beyond.
    for (int r = 1; r <= RowCount(c.statement); ++r) {
        if (TemplateRow(c.statement, r).Izracunata) {
            continue;
        }
        const bool imported = static_cast<std::size_t>(r) < c.lines;
        for (const int col : FactsOf(c.statement).inputColumns) {
            if (col != 0) {
                EXPECT_EQ(ws.grids().of(c.statement).cell(col, r),
                          (imported ? source.grids() : before).of(c.statement).cell(col, r))
                    << r << "/" << col;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ImportShortFile,
    ::testing::Values(
        ShortFile{Statement::Bilanca, 51,
                  "Uvezeno je 50 od 88 redaka; retci 51–88 zadržali su dosadašnje iznose."},
        ShortFile{Statement::Racun, 45,
                  "Uvezeno je 44 od 45 redaka; redak 45 zadržao je dosadašnji iznos."},
        ShortFile{Statement::Racun, 2,
                  "Uvezeno je 1 od 45 redaka; retci 2–45 zadržali su dosadašnje iznose."},
        ShortFile{Statement::Racun, 46, ""}, ShortFile{Statement::Bilanca, 89, ""}));

TEST(ImportCsv, AmountsRoundedToCentsAreCountedAndTheFirstNamed) {
    Workspace ws(CommaSettings(), 2024);
    std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Bilanca));
    lines[5] = "5;x;420.000,005;0,00%;1.234,5678;0,00%;";
    lines[9] = "9;x;1,2500;0,00%;7,10;0,00%;";  // zeros beyond the cents round nothing
    lines[12] = "12;x;0,001;0,00%;0,00;0,00%;";
    std::string note;
    ASSERT_EQ(ws.ImportCsv(Statement::Bilanca, JoinLines(lines), &note), "");
    EXPECT_EQ(note,
              "Iznosa s više od dvije decimale zaokruženih na cente: 3 (prvi u retku 6, "
              "stupcu 3).");
    EXPECT_EQ(ws.grids().Bilanca.cell(3, 5), "420.000,01");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 5), "1.234,57");
}

TEST(ImportCsv, OwnRowNumbersAndSharesReplaceTheImportedOnes) {
    Workspace ws(DotSettings(), 2024);
    std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Racun));
    lines[2] = "2;tekst se ne uvozi;1,500.25;33.00%;";
    EXPECT_EQ(ws.ImportCsv(Statement::Racun, JoinLines(lines)), "");
    EXPECT_EQ(ws.document().Racun.row(2).Iznos, 1500.25);
    EXPECT_EQ(ws.grids().Racun.cell(1, 2), "2");
    EXPECT_EQ(ws.grids().Racun.cell(2, 2), "   1.Prihodi od prodaje u zemlji");
    EXPECT_EQ(ws.grids().Racun.cell(4, 2), "100.00%");
    EXPECT_EQ(ws.document().Racun.row(1).Iznos, 1500.25);
}

TEST(ImportCsv, LineEndingsAndLinesBeyondTheGrid) {
    Workspace crlf(DotSettings(), 2024);
    Workspace lf(DotSettings(), 2024);
    Workspace noFinalEnd(DotSettings(), 2024);
    std::vector<std::string> lines = Lines(crlf.ExportCsv(Statement::Racun));
    lines[3] = "3;x;12.34;0.00%;";
    lines.push_back("ovo se ne čita");  // line 46: beyond the last row
    lines.push_back("");
    std::string lfBytes;
    for (const std::string& line : lines) {
        lfBytes += line + "\n";
    }
    std::string crlfBytes = JoinLines(lines);
    ASSERT_EQ(crlf.ImportCsv(Statement::Racun, crlfBytes), "");
    ASSERT_EQ(lf.ImportCsv(Statement::Racun, lfBytes), "");
    lines.resize(46);
    std::string unterminated = JoinLines(lines);
    unterminated.resize(unterminated.size() - 2);
    ASSERT_EQ(noFinalEnd.ImportCsv(Statement::Racun, unterminated), "");
    for (const Workspace* ws : {&crlf, &lf, &noFinalEnd}) {
        EXPECT_EQ(ws->document().Racun.row(3).Iznos, 12.34);
        EXPECT_EQ(ws->ExportCsv(Statement::Racun), crlf.ExportCsv(Statement::Racun));
    }
}

TEST(ImportCsv, ALongTailAfterTheLastRowIsNotRead) {
    Workspace ws(DotSettings(), 2024);
    std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Racun));
    lines[2] = "2;x;3.00;0.00%;";
    std::string bytes = JoinLines(lines);
    for (int i = 0; i < 200000; ++i) {
        bytes += "x\n";
    }
    EXPECT_EQ(ws.ImportCsv(Statement::Racun, bytes), "");
    EXPECT_EQ(ws.document().Racun.row(2).Iznos, 3);
}

// ---- ReadImportFile --------------------------------------------------------------------------

TEST(ReadImportFile, StopsAfterTheLastLineTheGridTakes) {
    const test::TempDir dir;
    std::string lines;
    for (int k = 0; k <= 60; ++k) {
        lines += "line " + std::to_string(k) + "\r\n";
    }
    test::WriteText(dir.file("a.csv"), lines + "no final line end");
    std::string bytes = "previous";
    ASSERT_EQ(ReadImportFile(dir.file("a.csv"), Statement::Racun, bytes), "");
    EXPECT_EQ(bytes, lines.substr(0, lines.find("line 46\r\n")));  // lines 0 to 45
    ASSERT_EQ(ReadImportFile(dir.file("a.csv"), Statement::Bilanca, bytes), "");
    EXPECT_EQ(bytes, lines + "no final line end");  // shorter than 89 lines: all of it
}

// Lines long enough that the grid's last line ends several reads into the file: the line ends
// are counted across the reads.
TEST(ReadImportFile, CountsLinesAcrossReads) {
    const test::TempDir dir;
    std::string lines;
    for (int k = 0; k <= 60; ++k) {
        lines += std::to_string(k) + ";" + std::string(3000 + k, 'x') + (k % 2 ? "\r\n" : "\n");
    }
    test::WriteText(dir.file("a.csv"), lines);
    std::string bytes;
    ASSERT_EQ(ReadImportFile(dir.file("a.csv"), Statement::Racun, bytes), "");
    EXPECT_EQ(bytes, lines.substr(0, lines.find("46;")));  // lines 0 to 45
}

TEST(ReadImportFile, RefusesFoldersMissingFilesAndEndlessLines) {
    const test::TempDir dir;
    std::string bytes = "unchanged";
    EXPECT_EQ(ReadImportFile(dir.path().string(), Statement::Bilanca, bytes),
              "Cannot open file " + dir.path().string());
    EXPECT_EQ(ReadImportFile(dir.file("none.csv"), Statement::Bilanca, bytes),
              "Cannot open file " + dir.file("none.csv"));
    test::WriteText(dir.file("long.csv"), std::string(kMaxImportBytes + 1, 'x'));
    const std::string error =
        ReadImportFile(dir.file("long.csv"), Statement::Racun, bytes).message();
    EXPECT_NE(error.find(dir.file("long.csv")), std::string::npos) << error;
    EXPECT_EQ(bytes, "unchanged");
    // Exactly at the limit is still read.
    test::WriteText(dir.file("limit.csv"), std::string(kMaxImportBytes, 'x'));
    EXPECT_EQ(ReadImportFile(dir.file("limit.csv"), Statement::Racun, bytes), "");
    EXPECT_EQ(bytes.size(), kMaxImportBytes);
}

TEST(ImportCsv, RowsBeyondAShortFileKeepTheirCells) {
    Workspace ws(CommaSettings(), 2024);
    WorkspaceTestAccess::Grids(ws).Racun.cell(3, 30) = "5,00";
    std::vector<std::string> lines = Lines(ws.ExportCsv(Statement::Racun));
    lines.resize(10);
    lines[9] = "9;x;7,00;0,00%;";
    ASSERT_EQ(ws.ImportCsv(Statement::Racun, JoinLines(lines)), "");
    EXPECT_EQ(ws.document().Racun.row(9).Iznos, 7);
    EXPECT_EQ(ws.document().Racun.row(30).Iznos, 5);
}

TEST(ImportCsv, Windows1250AndUtf8WithByteOrderMark) {
    Workspace ws(DotSettings(), 2024);
    EXPECT_EQ(ws.ImportCsv(Statement::Racun, "Rbr;P;Iznos \x9A;Udio;\r\n1;x;0.00;0.00%;\r\n"), "");
    EXPECT_EQ(ws.grids().Racun.cell(3, 0), "Iznos š");
    EXPECT_EQ(
        ws.ImportCsv(Statement::Racun, "\xEF\xBB\xBFRbr;P;Iznos č;Udio;\r\n1;x;0.00;0.00%;\r\n"),
        "");
    EXPECT_EQ(ws.grids().Racun.cell(3, 0), "Iznos č");
    EXPECT_EQ(ws.grids().Racun.cell(1, 0), "Rbr");
}

TEST(ImportCsv, OnlyTheTwoInputStatements) {
    Workspace ws(DotSettings(), 2024);
    const std::string bytes = ws.ExportCsv(Statement::CFInd);
    const StatementGrids before = ws.grids();
    for (Statement s : {Statement::CFInd, Statement::CFFree, Statement::Pok}) {
        EXPECT_NE(ws.ImportCsv(s, bytes), "");
    }
    for (int r = 0; r < ws.grids().CFInd.rowCount(); ++r) {
        EXPECT_EQ(ws.grids().CFInd.cell(3, r), before.CFInd.cell(3, r));
    }
}

TEST(ImportCsv, MarksTheDocumentChangedOnlyWhenItSucceeds) {
    Workspace ws(DotSettings(), 2024);
    const std::string bytes = ws.ExportCsv(Statement::Bilanca);  // amounts other than the fill's
    FillRandomInputs(ws, 3);
    WorkspaceTestAccess::Document(ws).Izmijenjen = false;
    ASSERT_NE(ws.ImportCsv(Statement::Bilanca, "Rbr;P;a;b;\r\n"), "");
    EXPECT_FALSE(ws.document().Izmijenjen);
    ASSERT_EQ(ws.ImportCsv(Statement::Bilanca, bytes), "");
    EXPECT_TRUE(ws.document().Izmijenjen);
}

// A balance sheet file whose line 5 carries the given previous-year amount text, every other
// amount being rest.
std::string BilancaWithLine5(const std::string& amount, const std::string& rest = "0,00") {
    std::string csv = "Rbr;P o z i c i j a;31.12.2023;Udio (%);31.12.2024;Udio(%);\r\n";
    for (int row = 1; row <= 88; ++row) {
        csv += std::to_string(row) + ";x;" + (row == 5 ? amount : rest) + ";0,00%;" + rest +
               ";0,00%;\r\n";
    }
    return csv;
}

class ImportBadAmount : public ::testing::TestWithParam<const char*> {};

TEST_P(ImportBadAmount, RefusesTheWholeFileNamingLineAndColumn) {
    Workspace ws(CommaSettings(), 2024);
    FillRandomInputs(ws, 9);
    const StatementGrids before = ws.grids();
    WorkspaceTestAccess::Document(ws).Izmijenjen = false;
    const std::string error =
        ws.ImportCsv(Statement::Bilanca, BilancaWithLine5(GetParam())).message();
    EXPECT_EQ(error,
              std::string("Datoteka nije uvezena: u retku 6, stupcu 3 nije ispravan iznos („") +
                  GetParam() + "”).");
    EXPECT_EQ(ws.ExportCsv(Statement::Bilanca), ExportCsv(Statement::Bilanca, before.Bilanca));
    EXPECT_FALSE(ws.document().Izmijenjen);
}

INSTANTIATE_TEST_SUITE_P(Texts, ImportBadAmount,
                         ::testing::Values("12a", "abc", "1234.5", "1.2,3.4", "12%"));

// Files that would import a wrong amount without a word: each is refused whole, naming the place.
struct Trap {
    const char* name;
    RegionalSettings rs;
    std::string file;
    std::string error;
};

void PrintTo(const Trap& t, std::ostream* os) {
    *os << t.name;
}

class ImportTrap : public ::testing::TestWithParam<Trap> {};

TEST_P(ImportTrap, RefusesTheFileAndChangesNothing) {
    Workspace ws(GetParam().rs, 2024);
    FillRandomInputs(ws, 5);
    const std::string before = ws.ExportCsv(Statement::Bilanca);
    EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, GetParam().file).message(), GetParam().error);
    EXPECT_EQ(ws.ExportCsv(Statement::Bilanca), before);
}

std::string WithoutLine(std::string file, int line) {
    std::vector<std::string> lines = Lines(file);
    lines.erase(lines.begin() + line);
    return JoinLines(lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportTrap,
    ::testing::Values(
        Trap{"WholeAmountWithEnglishGrouping", CommaSettings(), BilancaWithLine5("485,000"),
             "Datoteka nije uvezena: u retku 6, stupcu 3 iznos „485,000” nije jednoznačan: "
             "može biti 485,00 ili 485.000,00."},
        Trap{"WholeAmountWithCroatianGrouping", DotSettings(), BilancaWithLine5("-124.000", "0.00"),
             "Datoteka nije uvezena: u retku 6, stupcu 3 iznos „-124.000” nije jednoznačan: "
             "može biti -124.00 ili -124,000.00."},
        Trap{"MissingLine", CommaSettings(), WithoutLine(BilancaWithLine5("1,00"), 3),
             "Datoteka nije uvezena: u retku 4, stupcu 1 stoji redni broj „4”, a taj redak "
             "pripada stavci 3 (redak nedostaje ili je suvišan)."},
        Trap{"AmountAtTheLimit", CommaSettings(), BilancaWithLine5("100.000.000.000,00"),
             "Datoteka nije uvezena: u retku 6, stupcu 3 („100.000.000.000,00”): Iznos je "
             "prevelik: najveći dopušteni iznos je 99.999.999.999,99."},
        Trap{"AmountThatRoundsToTheLimit", CommaSettings(), BilancaWithLine5("-99.999.999.999,995"),
             "Datoteka nije uvezena: u retku 6, stupcu 3 („-99.999.999.999,995”): Iznos je "
             "prevelik: najveći dopušteni iznos je 99.999.999.999,99."},
        Trap{"HugeAmountInTheOtherConvention", CommaSettings(),
             BilancaWithLine5("-99,999,999,999,999,999.00", "0.00"),
             "Datoteka nije uvezena: u retku 6, stupcu 3 („-99,999,999,999,999,999.00”): Iznos "
             "je prevelik: najveći dopušteni iznos je 99.999.999.999,99."}),
    [](const ::testing::TestParamInfo<Trap>& info) { return std::string(info.param.name); });

// Near misses of the traps still import: the widest amount, three decimals that read only one
// way, a grouped whole amount, and row numbers with blanks around them.
TEST(ImportCsv, NearMissesOfTheTrapsImport) {
    Workspace ws(CommaSettings(), 2024);
    for (const auto& [text, value] :
         std::vector<std::pair<std::string, double>>{{"-99.999.999.999,99", -99999999999.99},
                                                     {"1234,500", 1234.5},
                                                     {"0,000", 0},
                                                     {"485.000", 485000},
                                                     {"485.000,000", 485000}}) {
        EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, BilancaWithLine5(text)), "") << text;
        EXPECT_EQ(ws.document().Bilanca.row(5).IznosPrethodna, value) << text;
    }
    std::vector<std::string> lines = Lines(BilancaWithLine5("2,00"));
    lines[5] = " 5 ;x;3,00;0,00%;0,00;0,00%;";
    EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, JoinLines(lines)), "");
    EXPECT_EQ(ws.document().Bilanca.row(5).IznosPrethodna, 3);
}

struct Convention {
    const char* name;
    RegionalSettings written;
    RegionalSettings reading;
    bool noted;
};

void PrintTo(const Convention& c, std::ostream* os) {
    *os << c.name;
}

class ImportConvention : public ::testing::TestWithParam<Convention> {};

// An export read back under either convention gives the same amounts; a file in the other
// convention is said so.
TEST_P(ImportConvention, ExportReadsBackTheSameAmounts) {
    const Convention& c = GetParam();
    Workspace source(c.written, 2024);
    FillRandomInputs(source, 12);
    Workspace target(c.reading, 2024);
    std::string note = "stale";
    ASSERT_EQ(target.ImportCsv(Statement::Bilanca, source.ExportCsv(Statement::Bilanca), &note),
              "");
    ASSERT_EQ(target.ImportCsv(Statement::Racun, source.ExportCsv(Statement::Racun), &note), "");
    ExpectSameTables(source.document(), target.document());
    EXPECT_EQ(!note.empty(), c.noted) << note;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ImportConvention,
    ::testing::Values(Convention{"DotIntoComma", DotSettings(), CommaSettings(), true},
                      Convention{"CommaIntoDot", CommaSettings(), DotSettings(), true},
                      Convention{"DotIntoDot", DotSettings(), DotSettings(), false},
                      Convention{"CommaIntoComma", CommaSettings(), CommaSettings(), false}),
    [](const ::testing::TestParamInfo<Convention>& info) { return std::string(info.param.name); });

TEST(ImportCsv, OtherConventionNeedsTwoDecimalsEverywhere) {
    Workspace ws(CommaSettings(), 2024);
    // "1,000.5" reads in neither convention as the export writes amounts.
    EXPECT_NE(ws.ImportCsv(Statement::Bilanca, BilancaWithLine5("1,000.5", "0.00")), "");
    EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, BilancaWithLine5("1,000.50", "0.00")), "");
    EXPECT_EQ(ws.document().Bilanca.row(5).IznosPrethodna, 1000.5);
    EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, BilancaWithLine5(" ")), "");
    EXPECT_EQ(ws.document().Bilanca.row(5).IznosPrethodna, 0);
}

// A file in the other convention with one amount that fails there is refused naming that amount,
// not one of the good amounts the regional convention cannot read.
TEST(ImportCsv, TheBadAmountOfAFileInTheOtherConventionIsNamed) {
    for (const char* bad : {"1500", "11x8"}) {
        Workspace ws(CommaSettings(), 2024);
        EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, BilancaWithLine5(bad, "0.00")),
                  std::string("Datoteka nije uvezena: u retku 6, stupcu 3 nije ispravan iznos („") +
                      bad + "”).");
    }
}

// The other statement's file is refused before any cell changes, either way round.
TEST(ImportCsv, AnotherStatementsFileIsRefused) {
    struct Case {
        Statement from;
        Statement into;
        const char* message;
    };
    for (const Case& c :
         {Case{Statement::Bilanca, Statement::Racun,
               "Datoteka nije uvezena: nije tablica izvještaja „Račun dobiti i gubitka” (redak 1 "
               "ima 6 stupaca, a izvještaj ih ima 4)."},
          Case{Statement::Racun, Statement::Bilanca,
               "Datoteka nije uvezena: to je tablica izvještaja „Račun dobiti i gubitka”, a ne "
               "izvještaja „Bilanca”."}}) {
        Workspace source(DotSettings(), 2024);
        FillRandomInputs(source, 21);
        Workspace ws(DotSettings(), 2024);
        FillRandomInputs(ws, 22);
        const std::string before = ws.ExportCsv(c.into);
        EXPECT_EQ(ws.ImportCsv(c.into, source.ExportCsv(c.from)), c.message);
        EXPECT_EQ(ws.ExportCsv(c.into), before);
    }
}

// An empty amount cell reads as 0 without shifting the cells after it; an empty row text still
// drops out as the splitter says.
TEST(ImportCsv, AnEmptyAmountCellIsZero) {
    struct Case {
        const char* line5;
        const char* error;
    };
    for (const Case& c : {Case{"5;x;;0,00%;7,00;0,00%;", ""},
                          Case{"5;;1,00;0,00%;7,00;0,00%;", "List index out of bounds (5)"}}) {
        Workspace ws(CommaSettings(), 2024);
        std::vector<std::string> lines = Lines(BilancaWithLine5("3,00"));
        lines[5] = c.line5;
        EXPECT_EQ(ws.ImportCsv(Statement::Bilanca, JoinLines(lines)), c.error);
        if (std::string(c.error).empty()) {
            EXPECT_EQ(ws.document().Bilanca.row(5).IznosPrethodna, 0);
            EXPECT_EQ(ws.document().Bilanca.row(5).IznosTekuca, 7);
        }
    }
}

// The header dates follow the document's period, however the file wrote them.
TEST(ImportCsv, BalanceSheetHeaderShowsThePeriodsDates) {
    Workspace ws(CommaSettings(), 2024);
    const std::string fresh = Lines(ws.ExportCsv(Statement::Bilanca))[0];
    std::vector<std::string> lines = Lines(BilancaWithLine5("3,00"));
    lines[0] = "Rbr;P o z i c i j a;12/31/22;Udio (%);12/31/23;Udio(%);";
    ASSERT_EQ(ws.ImportCsv(Statement::Bilanca, JoinLines(lines)), "");
    EXPECT_EQ(Lines(ws.ExportCsv(Statement::Bilanca))[0], fresh);
}

}  // namespace
}  // namespace movik

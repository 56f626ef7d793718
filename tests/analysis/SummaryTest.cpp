// The summary of one document against the grids a window shows for the same file.

#include "analysis/Summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>

#include "../support/RandomDocument.h"
#include "analysis/SummaryFormats.h"
#include "document/DocumentCodec.h"
#include "model/Calculations.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"

namespace movik {
namespace {

namespace fs = std::filesystem;

RegionalSettings Croatian() {
    return {".", ",", "dd.MM.yyyy."};
}

// Opens path as the window does and runs the refresh cycle; the summary must show the same.
void ExpectSummaryEqualsGrids(const std::string& path, const RegionalSettings& rs) {
    const DocumentSummary s = Summarize(path, rs, 2026);
    ASSERT_TRUE(s.ok) << s.error;
    Workspace ws(rs, 2026);
    ASSERT_TRUE(ws.OpenDocument(path));
    ws.RefreshCycle();
    const StatementGrids& g = ws.grids();
    EXPECT_EQ(s.amountTexts[0], g.Bilanca.cell(3, 55));
    EXPECT_EQ(s.amountTexts[1], g.Bilanca.cell(5, 55));
    EXPECT_EQ(s.amountTexts[2], g.Bilanca.cell(3, 57));
    EXPECT_EQ(s.amountTexts[3], g.Bilanca.cell(5, 57));
    EXPECT_EQ(s.amountTexts[5], g.Racun.cell(3, 40));
    EXPECT_EQ(s.amountTexts[6], g.Racun.cell(3, 42));
    EXPECT_EQ(s.amountTexts[7], g.Racun.cell(3, 45));
    EXPECT_EQ(s.amountTexts[8], g.CFInd.cell(3, 10));
    EXPECT_EQ(s.amountTexts[9], g.CFFree.cell(3, 21));
    // Sales are the two sales rows added; the grid shows each of them.
    EXPECT_DOUBLE_EQ(s.amount(KeyAmount::Sales), AmountFromText(g.Racun.cell(3, 2), rs) +
                                                     AmountFromText(g.Racun.cell(3, 3), rs));
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        const int row = kIndicatorRows[i];
        EXPECT_EQ(s.indicatorTexts[i], g.Pok.cell(3, row)) << "row " << row;
        // The number is the one behind the text, before display rounding.
        EXPECT_EQ(FormatNumber(s.indicators[i], TemplateRow(Statement::Pok, row).Format, rs),
                  g.Pok.cell(3, row))
            << "row " << row;
    }
    EXPECT_EQ(s.warnings.empty(), ws.warning().empty());
    EXPECT_EQ(s.company, ws.fields().Poduzece);
}

TEST(Summary, OfTheExampleEqualsItsGrids) {
    ExpectSummaryEqualsGrids(MOVIK_EXAMPLE, Croatian());
    const DocumentSummary s = Summarize(MOVIK_EXAMPLE, Croatian(), 2026);
    EXPECT_EQ(s.company, "Lipa-Mont d.d.");
    EXPECT_TRUE(s.warnings.empty());
    EXPECT_DOUBLE_EQ(s.amount(KeyAmount::Sales), 4850000.0 + 1240000.0);
}

TEST(Summary, OfRandomDocumentsEqualsTheirGrids) {
    const fs::path dir =
        fs::temp_directory_path() / ("movik-summary-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::mt19937 rng(15);
    for (const RegionalSettings& rs : {Croatian(), RegionalSettings{}}) {
        Workspace ws(rs, 2026);
        for (int i = 0; i < 20; ++i) {
            const std::string path = (dir / ("d" + std::to_string(i) + ".mvk")).string();
            ASSERT_TRUE(test::WriteRandomDocument(ws, rng, path));
            ExpectSummaryEqualsGrids(path, rs);
        }
    }
    fs::remove_all(dir);
}

// A stored number of any kind: cents, binary noise, halves of a cent, tiny, huge, not a number.
double AnyStoredNumber(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(0, 1);
    const double sign = rng() % 2 ? -1.0 : 1.0;
    switch (rng() % 10) {
        case 0:
            return 0;
        case 1:
            return sign * std::round(unit(rng) * 1e9) / 100;  // whole cents
        case 2:
            return sign * std::round(unit(rng) * 1e8) / 100 / 7.5345;  // converted: noise
        case 3:
            return sign * (std::floor(unit(rng) * 1e6) + 0.005);  // half a cent, as stored
        case 4:
            return sign * unit(rng) * 0.01;  // below a cent
        case 5:
            return sign * unit(rng) * std::pow(10.0, 12 + static_cast<int>(rng() % 8));  // huge
        case 6: {
            const double special[] = {std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(), -0.0, 1e15,
                                      999999999999999.9};
            return sign * special[rng() % std::size(special)];
        }
        default:
            return sign * unit(rng) * 1e7;
    }
}

// The summary computed without grids equals the one read from the grids after the refresh
// cycle, bit for bit, for documents holding whatever a stored file may hold.
TEST(Summary, WithoutGridsEqualsTheGridsBitForBit) {
    const fs::path path =
        fs::temp_directory_path() / ("movik-summary-bits-" + std::to_string(::getpid()) + ".mvk");
    std::mt19937_64 rng(22);
    int compared = 0;
    for (const RegionalSettings& rs :
         {Croatian(), RegionalSettings{"\xE2\x80\xAF", ",", "dd.MM.yyyy"}}) {
        Workspace source(rs, 2026);
        for (int i = 0; i < 1000; ++i) {
            TDokument& doc = WorkspaceTestAccess::Document(source);
            for (int r = 1; r <= kBilancaRows; ++r) {
                doc.Bilanca.row(r).IznosPrethodna = AnyStoredNumber(rng);
                doc.Bilanca.row(r).IznosTekuca = AnyStoredNumber(rng);
            }
            for (int r = 1; r <= kRacunRows; ++r) {
                doc.Racun.row(r).Iznos = AnyStoredNumber(rng);
            }
            doc.BrojDionica = rng() % 4 == 0 ? AnyStoredNumber(rng) : double(rng() % 100000);
            doc.DatumOd = rng() % 8 == 0 ? AnyStoredNumber(rng) : double(40000 + rng() % 9000);
            doc.DatumDo = doc.DatumOd + 364;
            std::vector<std::uint8_t> bytes;
            ASSERT_TRUE(EncodeDocumentFile(doc, bytes));
            std::ofstream(path, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));

            Workspace ws(rs, 2026);
            ASSERT_TRUE(ws.OpenDocument(path.string()));
            ws.RefreshCycle();
            const DocumentSummary grids = SummaryOf(ws, path.string());
            const DocumentSummary direct = Summarize(path.string(), rs, 2026);
            ASSERT_TRUE(direct.ok) << direct.error;
            for (int k = 0; k < kKeyAmountCount; ++k) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(direct.amounts[k]),
                          std::bit_cast<std::uint64_t>(grids.amounts[k]))
                    << "document " << i << ", amount " << k << ": " << direct.amounts[k]
                    << " != " << grids.amounts[k];
            }
            for (std::size_t k = 0; k < kIndicatorRows.size(); ++k) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(direct.indicators[k]),
                          std::bit_cast<std::uint64_t>(grids.indicators[k]))
                    << "document " << i << ", indicator " << k;
                ASSERT_EQ(direct.indicatorTexts[k], ws.grids().Pok.cell(3, kIndicatorRows[k]));
            }
            ASSERT_EQ(direct.amountTexts, grids.amountTexts);
            // The summary adds the stale-totals warning, which a workspace alone cannot know.
            std::vector<std::string> warnings = grids.warnings;
            if (StoredTotalsDiffer(doc, ws.document())) {
                warnings.emplace_back(kWarningStoredTotals);
            }
            ASSERT_EQ(direct.warnings, warnings);
            ASSERT_EQ(std::pair(direct.from, direct.to), std::pair(grids.from, grids.to));
            ++compared;
        }
    }
    fs::remove(path);
    EXPECT_EQ(compared, 2000);
}

TEST(Summary, OfAFileThatCannotBeReadCarriesTheMessage) {
    const DocumentSummary missing = Summarize("/nonexistent/x.mvk", Croatian(), 2026);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("/nonexistent/x.mvk"), std::string::npos) << missing.error;
    EXPECT_EQ(missing.file, "/nonexistent/x.mvk");
}

// The example with stored values changed as an editor outside the program would. Returns the
// file's path.
std::string ExampleChangedOutside(const fs::path& dir,
                                  const std::function<void(TDokument&)>& edit) {
    Workspace ws(Croatian(), 2026);
    EXPECT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    edit(WorkspaceTestAccess::Document(ws));
    // Saving reads the grids back: the edited values go there first.
    ws.FillGrids();
    const std::string path = (dir / "izvana.mvk").string();
    EXPECT_TRUE(ws.SaveDocumentAs(path, *MakeSystemFileWriter()).ok());
    return path;
}

// The summary shows the recalculated figures; a stored total that differs from them (by half a
// cent or more) adds the stale-totals warning after the checks' own, a stored input does not.
TEST(Summary, StoredTotalsThatDifferFromTheRecalculatedOnesAreWarnedAbout) {
    const fs::path dir = fs::temp_directory_path() / ("movik-stale-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string stale(kWarningStoredTotals);
    const struct {
        const char* what;
        std::function<void(TDokument&)> edit;
        std::vector<std::string> warnings;
    } cases[] = {
        {"total assets by hand",
         [](TDokument& d) { d.Bilanca.row(55).IznosTekuca = 7000000; },
         {stale}},
        {"previous year's subtotal",
         [](TDokument& d) { d.Bilanca.row(2).IznosPrethodna += 0.01; },
         {stale}},
        {"below half a cent", [](TDokument& d) { d.Racun.row(40).Iznos += 0.004; }, {}},
        {"free cash flow", [](TDokument& d) { d.CFFree.row(21).Iznos = 1; }, {stale}},
        // An input changed without its totals: unbalanced once recalculated, and stale.
        {"an input alone",
         [](TDokument& d) { d.Bilanca.row(62).IznosTekuca += 1000; },
         {std::string(kWarningBalance), stale}},
    };
    for (const auto& c : cases) {
        const std::string path = ExampleChangedOutside(dir, c.edit);
        const DocumentSummary s = Summarize(path, Croatian(), 2026);
        ASSERT_TRUE(s.ok) << c.what;
        EXPECT_EQ(s.warnings, c.warnings) << c.what;
    }
    // The figures are the recalculated ones, whatever the file says.
    const DocumentSummary s = Summarize(
        ExampleChangedOutside(dir, [](TDokument& d) { d.Bilanca.row(55).IznosTekuca = 7000000; }),
        Croatian(), 2026);
    EXPECT_EQ(s.amountTexts[static_cast<int>(KeyAmount::TotalAssets)], "6.349.500,00");
    fs::remove_all(dir);
}

// Which indicators a document cannot compute (a denominator of 0): a d.o.o. without shares has
// no per-share figures, an empty document none at all but its headings.
TEST(Summary, MarksTheIndicatorsThatCannotBeComputed) {
    const fs::path dir = fs::temp_directory_path() / ("movik-nobase-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto notComputableRows = [](const DocumentSummary& s) {
        std::vector<int> rows;
        for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
            if (s.indicatorNotComputable[i]) {
                rows.push_back(kIndicatorRows[i]);
            }
        }
        return rows;
    };
    EXPECT_EQ(notComputableRows(Summarize(MOVIK_EXAMPLE, Croatian(), 2026)), std::vector<int>{});
    Workspace ws(Croatian(), 2026);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    ws.SetShareCount(0);
    const auto writer = MakeSystemFileWriter();
    ASSERT_TRUE(ws.SaveDocumentAs((dir / "doo.mvk").string(), *writer).ok());
    EXPECT_EQ(notComputableRows(Summarize((dir / "doo.mvk").string(), Croatian(), 2026)),
              (std::vector<int>{14, 19}));
    ws.NewDocument();
    ASSERT_TRUE(ws.SaveDocumentAs((dir / "prazan.mvk").string(), *writer).ok());
    EXPECT_EQ(notComputableRows(Summarize((dir / "prazan.mvk").string(), Croatian(), 2026)),
              std::vector<int>(kIndicatorRows.begin(), kIndicatorRows.end()));
    fs::remove_all(dir);
}

// Operating expenses whose non-cash parts cancel them to a rounding residue: the days of
// current assets divide by zero money, so the summary has no figure for them, as the grid.
TEST(Summary, ADenominatorThatCancelsToAResidueCannotBeComputed) {
    const fs::path dir =
        fs::temp_directory_path() / ("movik-residue-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Workspace ws(Croatian(), 2026);
    ws.NewDocument();
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 52, "1.000,00"));  // cash
    ASSERT_TRUE(ws.EditAmount(Statement::Racun, 3, 23, "10.000.000,01"));
    ASSERT_TRUE(ws.EditAmount(Statement::Racun, 3, 24, "0,07"));
    const auto writer = MakeSystemFileWriter();
    ASSERT_TRUE(ws.SaveDocumentAs((dir / "ostatak.mvk").string(), *writer).ok());
    const DocumentSummary s = Summarize((dir / "ostatak.mvk").string(), Croatian(), 2026);
    ASSERT_TRUE(s.ok) << s.error;
    const auto at = static_cast<std::size_t>(
        std::find(kIndicatorRows.begin(), kIndicatorRows.end(), 4) - kIndicatorRows.begin());
    EXPECT_TRUE(s.indicatorNotComputable[at]);
    EXPECT_EQ(s.indicators[at], 0);
    EXPECT_EQ(s.indicatorTexts[at], ws.grids().Pok.cell(3, 4));
    EXPECT_NE(SummaryLine(SummaryFormat::Jsonl, s, Croatian()).find("\"4\":null"),
              std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace movik

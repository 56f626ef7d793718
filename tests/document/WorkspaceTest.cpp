// The headless workspace: showing a new or opened document, the refresh cycle over the grid texts,
// and saving what the grids and fields hold.

#include "document/Workspace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/Extended.h"
#include "model/Calculations.h"
#include "model/Dates.h"
#include "model/Templates.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace movik {
namespace {

using test::DotSettings;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Writes doc to path as the file layer does, without any workspace.
void WriteDocument(TDokument doc, const std::string& path) {
    doc.ImeDatoteke = path;
    ASSERT_EQ(SaveDocument(doc), "");
}

TEST(Workspace, StartsWithANewDocumentShown) {
    Workspace ws(DotSettings(), 2024);
    EXPECT_FALSE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.document().ImeDatoteke, "");
    EXPECT_EQ(ws.warning(), "");
    EXPECT_EQ(ws.fields().Poduzece, "");
    EXPECT_EQ(ws.fields().DatumOd, 45292);
    EXPECT_EQ(ws.fields().DatumDo, 45657);
    EXPECT_EQ(ws.fields().BrojDionica, 0);
    EXPECT_EQ(ws.grids().Bilanca.cell(3, 0), "31.12.2023");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 0), "31.12.2024");
    EXPECT_EQ(ws.grids().Bilanca.cell(3, 1), "0.00");
    EXPECT_EQ(ws.grids().Racun.cell(4, 40), "0.00%");  // no cycle has run
}

TEST(Workspace, RefreshCycleRoundsInputsToTwoDecimals) {
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Document(ws).Bilanca.row(4).IznosTekuca = 12.345;
    ws.FillGrids();
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "12.35");
    ws.RefreshCycle();
    EXPECT_EQ(ws.document().Bilanca.row(4).IznosTekuca, 12.35);
    EXPECT_EQ(ws.document().Bilanca.row(3).IznosTekuca, 12.35);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 3), "12.35");
}

TEST(Workspace, EmptiedCellIsReadAsZero) {
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Document(ws).Racun.row(2).Iznos = 500;
    ws.FillGrids();
    ws.RefreshCycle();
    ASSERT_EQ(ws.document().Racun.row(1).Iznos, 500);
    WorkspaceTestAccess::Grids(ws).Racun.cell(3, 2) = "";
    ws.RefreshCycle();
    EXPECT_EQ(ws.document().Racun.row(2).Iznos, 0);
    EXPECT_EQ(ws.document().Racun.row(1).Iznos, 0);
    EXPECT_EQ(ws.grids().Racun.cell(3, 2), "0.00");
}

TEST(Workspace, WarningFollowsTheCycleAndNewDocumentClearsIt) {
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Grids(ws).Bilanca.cell(5, 4) = "100.00";
    ws.RefreshCycle();
    EXPECT_EQ(ws.warning(), kWarningBalance);
    WorkspaceTestAccess::Grids(ws).Bilanca.cell(5, 58) = "100.00";  // equity balances the assets
    ws.RefreshCycle();
    EXPECT_EQ(ws.warning(), "");
    WorkspaceTestAccess::Grids(ws).Bilanca.cell(5, 4) = "200.00";
    ws.RefreshCycle();
    EXPECT_EQ(ws.warning(), kWarningBalance);
    ws.NewDocument();
    EXPECT_EQ(ws.warning(), "");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "0.00");
}

TEST(Workspace, ChangedShareCountRunsTheCycleWhenShown) {
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Document(ws).BrojDionica = 500;
    ws.ShowGeneralData();
    EXPECT_EQ(ws.fields().BrojDionica, 500);
    EXPECT_TRUE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.document().Racun.row(40).Udio, 100);  // the cycle ran

    // A new document shows 0 shares again: that change runs the cycle as well.
    ws.NewDocument();
    EXPECT_FALSE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.fields().BrojDionica, 0);
    EXPECT_EQ(ws.document().Racun.row(40).Udio, 100);

    // With no change of the count nothing is recalculated.
    Workspace fresh(DotSettings(), 2024);
    fresh.ShowGeneralData();
    EXPECT_EQ(fresh.document().Racun.row(40).Udio, 0);
    EXPECT_FALSE(fresh.document().Izmijenjen);
}

// A stored document whose totals do not fit its inputs and whose balance sheet does not balance.
TDokument StaleDocument(double shares) {
    TDokument doc;
    NewDocument(doc, 2000);
    doc.Poduzece = "Stara tvrtka d.d.";
    doc.Sjediste = "Osijek";
    doc.DatumDo = 36585;  // 29 February 2000
    doc.BrojDionica = shares;
    doc.Bilanca.row(4).IznosTekuca = 5;
    doc.Bilanca.row(55).IznosTekuca = 1000;
    return doc;
}

TEST(WorkspaceOpen, ShowsStoredValuesWithoutRecalculating) {
    TempDir dir;
    const std::string path = dir.file("stari.mvk");
    WriteDocument(StaleDocument(0), path);

    Workspace ws(DotSettings(), 2024);
    const OpenOutcome opened = ws.OpenDocument(path);
    ASSERT_TRUE(opened) << opened;
    EXPECT_EQ(ws.document().ImeDatoteke, path);
    EXPECT_FALSE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.fields().Poduzece, "Stara tvrtka d.d.");
    EXPECT_EQ(ws.fields().Sjediste, "Osijek");
    EXPECT_EQ(ws.grids().Bilanca.cell(3, 0), "28.02.1999");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 0), "29.02.2000");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "5.00");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 3), "0.00");       // stale, as stored
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 55), "1,000.00");  // stale, as stored
    EXPECT_EQ(ws.warning(), kWarningBalance);               // checked as stored
}

TEST(WorkspaceOpen, ADifferentShareCountRecalculates) {
    TempDir dir;
    const std::string path = dir.file("dionice.mvk");
    WriteDocument(StaleDocument(2500), path);

    Workspace ws(DotSettings(), 2024);
    const OpenOutcome opened = ws.OpenDocument(path);
    ASSERT_TRUE(opened) << opened;
    EXPECT_EQ(ws.fields().BrojDionica, 2500);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 3), "5.00");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 55), "5.00");
    EXPECT_FALSE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.warning(), kWarningBalance);
}

TEST(WorkspaceOpen, MissingOrShortFileChangesNothing) {
    TempDir dir;
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Fields(ws).Poduzece = "Upisano";
    WorkspaceTestAccess::Grids(ws).Bilanca.cell(5, 4) = "7.00";
    WorkspaceTestAccess::Document(ws).Izmijenjen = true;
    const StatementGrids gridsBefore = ws.grids();

    EXPECT_TRUE(ws.OpenDocument(dir.file("nema.mvk")).missing());

    WriteBytes(dir.file("kratki.mvk"), std::vector<std::uint8_t>(1000, 0));
    const OpenOutcome opened = ws.OpenDocument(dir.file("kratki.mvk"));
    EXPECT_FALSE(opened.missing());
    EXPECT_EQ(opened.result(),
              "Datoteka " + dir.file("kratki.mvk") +
                  " nije Movik dokument: ima 1000 bajtova, a dokument ima 59954 bajta.");

    EXPECT_EQ(ws.fields().Poduzece, "Upisano");
    EXPECT_TRUE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.document().ImeDatoteke, "");
    for (int r = 0; r <= kBilancaRows; ++r) {
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(ws.grids().Bilanca.cell(c, r), gridsBefore.Bilanca.cell(c, r));
        }
    }
}

TEST(WorkspaceOpen, BytesShowWhatTheirFileShows) {
    TempDir dir;
    const std::string path = dir.file("dionice.mvk");
    WriteDocument(StaleDocument(2500), path);
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    Workspace fromFile(DotSettings(), 2024);
    Workspace fromBytes(DotSettings(), 2024);
    ASSERT_TRUE(fromFile.OpenDocument(path));
    ASSERT_TRUE(fromBytes.OpenDocumentBytes(path, view));
    EXPECT_TRUE(fromBytes.grids() == fromFile.grids());
    EXPECT_TRUE(fromBytes.fields() == fromFile.fields());
    EXPECT_EQ(fromBytes.warning(), fromFile.warning());
    EXPECT_FALSE(fromBytes.IsChanged());
    EXPECT_EQ(fromBytes.document().ImeDatoteke, path);

    WorkspaceTestAccess::Grids(fromBytes).Bilanca.cell(5, 4) = "7.00";
    const StatementGrids before = fromBytes.grids();
    EXPECT_FALSE(fromBytes.OpenDocumentBytes(dir.file("kratki.mvk"), view.substr(0, 1000)));
    EXPECT_TRUE(fromBytes.grids() == before);
    EXPECT_EQ(fromBytes.document().ImeDatoteke, path);
}

TEST(WorkspaceSave, WritesWhatTheFieldsAndGridsHold) {
    TempDir dir;
    Workspace ws(DotSettings(), 2024);
    WorkspaceTestAccess::Fields(ws).Poduzece = "Nova tvrtka";
    WorkspaceTestAccess::Fields(ws).BrojDionica = 300;
    WorkspaceTestAccess::Grids(ws).Bilanca.cell(5, 4) = "1,234.50";  // typed, not yet recalculated
    WorkspaceTestAccess::Document(ws).ImeDatoteke = dir.file("novi.mvk");
    WorkspaceTestAccess::Document(ws).Izmijenjen = true;
    ASSERT_EQ(ws.SaveDocument(), "");
    EXPECT_FALSE(ws.document().Izmijenjen);

    const std::vector<std::uint8_t> bytes = ReadBytes(dir.file("novi.mvk"));
    ASSERT_EQ(bytes.size(), 59954u);
    EXPECT_EQ(test::GetLittleEndianDouble(bytes, 898 + 3 * 292), 1234.5);  // B4.cur
    EXPECT_EQ(test::GetLittleEndianDouble(bytes, 898 + 2 * 292), 0);       // B3.cur: no cycle
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[83]), bytes[82]), "Nova tvrtka");
    const ExtendedBytes shares = EncodeExtended(300);
    EXPECT_TRUE(std::equal(shares.begin(), shares.end(), bytes.begin() + 610));
}

TEST(WorkspaceSave, FailureKeepsTheDocumentState) {
    TempDir dir;
    Workspace ws(DotSettings(), 2024);
    const std::string path = dir.file("nema/novi.mvk");
    WorkspaceTestAccess::Document(ws).ImeDatoteke = path;
    WorkspaceTestAccess::Document(ws).Izmijenjen = true;
    EXPECT_EQ(ws.SaveDocument(), "Cannot create file " + path);
    EXPECT_TRUE(ws.document().Izmijenjen);
    EXPECT_EQ(ws.document().ImeDatoteke, path);
}

TEST(WorkspaceSave, SaveAsTakesTheNewNameOnlyWhenWritten) {
    TempDir dir;
    Workspace ws(DotSettings(), 2024);
    const auto writer = MakeSystemFileWriter();
    ASSERT_EQ(ws.SaveDocumentAs(dir.file("prvi.mvk"), *writer), "");
    EXPECT_EQ(ws.document().ImeDatoteke, dir.file("prvi.mvk"));
    EXPECT_NE(ws.SaveDocumentAs(dir.file("nema/drugi.mvk"), *writer), "");
    EXPECT_EQ(ws.document().ImeDatoteke, dir.file("prvi.mvk"));
}

class WorkspaceRoundTrip : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(WorkspaceRoundTrip, SaveOpenSaveIsByteIdentical) {
    TempDir dir;
    std::mt19937_64 rng(GetParam());
    Workspace first(DotSettings(), 2024);
    for (auto& b : WorkspaceTestAccess::Document(first).KeptBlock) {
        b = static_cast<std::uint8_t>(rng());
    }
    for (int r = 1; r <= kCFIndRows; ++r) {
        WorkspaceTestAccess::Document(first).CFInd.row(r).Tekst = test::RandomText(rng, 255);
    }
    WorkspaceTestAccess::Fields(first).Poduzece = test::RandomText(rng, 300);
    WorkspaceTestAccess::Fields(first).Sjediste = test::RandomText(rng, 40);
    WorkspaceTestAccess::Fields(first).DatumOd = 36526;
    WorkspaceTestAccess::Fields(first).DatumDo = 36891;
    WorkspaceTestAccess::Fields(first).BrojDionica = static_cast<double>(rng() % 10000000000ULL);
    for (int r = 1; r <= kBilancaRows; ++r) {
        WorkspaceTestAccess::Grids(first).Bilanca.cell(3, r) =
            std::to_string(test::RandomAmount(rng));
        WorkspaceTestAccess::Grids(first).Bilanca.cell(5, r) =
            std::to_string(test::RandomAmount(rng));
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        WorkspaceTestAccess::Grids(first).Racun.cell(3, r) =
            std::to_string(test::RandomAmount(rng));
    }
    first.RefreshCycle();
    WorkspaceTestAccess::Document(first).ImeDatoteke = dir.file("a.mvk");
    ASSERT_EQ(first.SaveDocument(), "");

    Workspace second(DotSettings(), 1999);
    const OpenOutcome opened = second.OpenDocument(dir.file("a.mvk"));
    ASSERT_TRUE(opened) << opened;
    WorkspaceTestAccess::Document(second).ImeDatoteke = dir.file("b.mvk");
    ASSERT_EQ(second.SaveDocument(), "");
    EXPECT_EQ(ReadBytes(dir.file("b.mvk")), ReadBytes(dir.file("a.mvk")));

    // And once more through a refresh cycle: the amounts already have two decimals.
    second.RefreshCycle();
    WorkspaceTestAccess::Document(second).ImeDatoteke = dir.file("c.mvk");
    ASSERT_EQ(second.SaveDocument(), "");
    EXPECT_EQ(ReadBytes(dir.file("c.mvk")), ReadBytes(dir.file("a.mvk")));
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, WorkspaceRoundTrip, ::testing::Values(5u, 17u, 2024u));

// Files no version of the program writes, but that a damaged or hostile file can hold.
struct HostileFile {
    const char* name;
    ExtendedBytes shares;
    double sharesShown;
};

void PrintTo(const HostileFile& h, std::ostream* os) {
    *os << h.name;
}

class WorkspaceHostileFile : public ::testing::TestWithParam<HostileFile> {};

TEST_P(WorkspaceHostileFile, NothingCrashes) {
    TempDir dir;
    TDokument doc;
    NewDocument(doc, 2024);
    doc.DatumOd = kNaN;
    doc.DatumDo = kInf;
    doc.Bilanca.row(4).IznosTekuca = kNaN;
    doc.Bilanca.row(55).UdioTekuca = kInf;
    doc.Bilanca.row(58).IznosPrethodna = -kInf;
    doc.Racun.row(2).Iznos = kInf;
    doc.Racun.row(43).Iznos = 1e308;
    doc.CFInd.row(31).Iznos = kNaN;
    doc.Pok.row(14).Iznos = kNaN;
    doc.Pok.row(1).Iznos = 1e300;
    const std::string path = dir.file("los.mvk");
    WriteDocument(doc, path);
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::memcpy(bytes.data() + 610, GetParam().shares.data(), 10);
    WriteBytes(path, bytes);

    Workspace ws(DotSettings(), 2024);
    const OpenOutcome opened = ws.OpenDocument(path);
    ASSERT_TRUE(opened) << opened;
    EXPECT_EQ(ws.fields().BrojDionica, GetParam().sharesShown);
    EXPECT_EQ(ws.fields().DatumOd, 0);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 0), "30.12.1899");  // a date that is none shows day 0
    ws.FillGrids();
    ws.RefreshCycle();
    ws.CheckBalance();
    for (Statement s : kAllStatements) {
        EXPECT_FALSE(ws.ExportCsv(s).empty());
    }
    WorkspaceTestAccess::Document(ws).ImeDatoteke = dir.file("spremljen.mvk");
    EXPECT_EQ(ws.SaveDocument(), "");
    EXPECT_EQ(ReadBytes(dir.file("spremljen.mvk")).size(), 59954u);
}

INSTANTIATE_TEST_SUITE_P(
    ShareCounts, WorkspaceHostileFile,
    ::testing::Values(
        HostileFile{"Huge", EncodeExtended(1e30), 9999999999.0},
        HostileFile{"Negative", EncodeExtended(-5), 0},
        HostileFile{"NaN", ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}, 0},
        HostileFile{"BeyondDouble",
                    ExtendedBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F},
                    9999999999.0},
        HostileFile{"Unnormal", ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0, 0x20, 0x40}, 0}),
    [](const ::testing::TestParamInfo<HostileFile>& info) { return std::string(info.param.name); });

struct WarningDetailsCase {
    double assetsPrevious;  // cash, previous year
    double capitalCurrent;  // subscribed capital, current year
    double profit;          // income statement revenue (the result after tax)
    const char* details;
};

class WorkspaceWarningDetails : public ::testing::TestWithParam<WarningDetailsCase> {};

TEST_P(WorkspaceWarningDetails, ShowTheDifferencesAsAmounts) {
    const WarningDetailsCase& c = GetParam();
    Workspace ws(test::CommaSettings(), 2024);
    WorkspaceTestAccess::Document(ws).Bilanca.row(52).IznosPrethodna = c.assetsPrevious;
    WorkspaceTestAccess::Document(ws).Bilanca.row(58).IznosTekuca = c.capitalCurrent;
    WorkspaceTestAccess::Document(ws).Racun.row(2).Iznos = c.profit;
    ws.FillGrids();
    ws.RefreshCycle();
    EXPECT_EQ(ws.WarningDetails(), c.details);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkspaceWarningDetails,
    ::testing::Values(
        WarningDetailsCase{0, 0, 0, ""},
        WarningDetailsCase{1234.5, 0, 0,
                           "Aktiva - pasiva: prethodna godina 1.234,50, tekuća godina 0,00"},
        WarningDetailsCase{0, 250, 0,
                           "Aktiva - pasiva: prethodna godina 0,00, tekuća godina -250,00"},
        WarningDetailsCase{0, 0, 70,
                           "Aktiva - pasiva: prethodna godina 0,00, tekuća godina 0,00\n"
                           "Neto dobit u bilanci - rezultat RDG: -70,00"}));

TEST(WorkspaceOpen, AReversedPeriodOpensAsStoredWithItsWarning) {
    TempDir dir;
    TDokument doc;
    NewDocument(doc, 2024);
    doc.DatumOd = DayNumber(2024, 12, 31);
    doc.DatumDo = DayNumber(2024, 1, 1);
    WriteDocument(doc, dir.file("obrnuto.mvk"));
    Workspace ws(DotSettings(), 2024);
    ASSERT_TRUE(ws.OpenDocument(dir.file("obrnuto.mvk")));
    EXPECT_EQ(ws.fields().DatumOd, DayNumber(2024, 12, 31));
    EXPECT_EQ(ws.fields().DatumDo, DayNumber(2024, 1, 1));
    EXPECT_EQ(ws.warning(), kWarningPeriod);
}

// The user's operations carry the changed mark; nothing else needs to set it.
TEST(WorkspaceOperations, MarkTheDocumentChangedOnlyForARealChange) {
    struct Step {
        const char* what;
        std::function<void(Workspace&)> run;
        bool changed;
    };
    const Step steps[] = {
        {"same company", [](Workspace& ws) { ws.SetCompany(""); }, false},
        {"company", [](Workspace& ws) { ws.SetCompany("Alfa"); }, true},
        {"seat", [](Workspace& ws) { ws.SetSeat("Split"); }, true},
        {"period confirmed unchanged", [](Workspace& ws) { ws.ConfirmPeriod(); }, false},
        {"period",
         [](Workspace& ws) {
             ws.SetPeriod(DayNumber(2024, 2, 1), DayNumber(2024, 12, 31));
             ws.ConfirmPeriod();
         },
         true},
        {"share count", [](Workspace& ws) { ws.SetShareCount(100); }, true},
        {"refused amount", [](Workspace& ws) { ws.EditAmount(Statement::Bilanca, 5, 4, "1,2,3"); },
         false},
        {"other column", [](Workspace& ws) { ws.EditAmount(Statement::Bilanca, 4, 4, "x"); },
         false},
        {"amount", [](Workspace& ws) { ws.EditAmount(Statement::Racun, 3, 2, "1,234.5"); }, true},
    };
    for (const Step& step : steps) {
        Workspace ws(DotSettings(), 2024);
        step.run(ws);
        EXPECT_EQ(ws.IsChanged(), step.changed) << step.what;
    }
}

TEST(WorkspaceOperations, EditAmountRewritesTheCellAndRecalculates) {
    Workspace ws(DotSettings(), 2024);
    EXPECT_EQ(ws.EditAmount(Statement::Bilanca, 5, 4, "1,234.5"), "1,234.50");
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 55), "1,234.50");
    EXPECT_EQ(ws.warning(), kWarningBalance);
    EXPECT_EQ(ws.EditAmount(Statement::Bilanca, 5, 4, "12,34"), std::nullopt);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "1,234.50");
    EXPECT_EQ(ws.EditAmount(Statement::Bilanca, 2, 4, "tekst"), "tekst");
}

}  // namespace
}  // namespace movik

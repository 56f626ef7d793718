// Undo and redo of the workspace's changes of amounts, and the changed mark they leave.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DocumentTestSupport.h"
#include "document/Workspace.h"

namespace movik {
namespace {

using test::CommaSettings;
using test::TempDir;

// A balance sheet file with one amount in row 4's current year.
std::string ImportFile(const std::string& amount) {
    std::string csv = "Rbr;P;prije;Udio;sada;Udio;\r\n";
    for (int row = 1; row <= 88; ++row) {
        csv +=
            std::to_string(row) + ";x;0,00;0,00%;" + (row == 4 ? amount : "0,00") + ";0,00%;\r\n";
    }
    return csv;
}

// One kind of undoable change, made on a workspace.
struct Change {
    const char* name;
    std::function<void(Workspace&)> make;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.name;
}

const Change kChanges[] = {
    {"CellEdit",
     [](Workspace& ws) {
         ws.viewTexts(Statement::Bilanca).cell(5, 4) = "1.500,00";  // as the view puts it
         ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "1.500,00"));
     }},
    {"Import",
     [](Workspace& ws) {
         ASSERT_EQ(ws.ImportCsv(Statement::Bilanca, ImportFile("2.000,00")), "");
     }},
    {"Conversion",
     [](Workspace& ws) {
         ws.ChangeInputAmounts([](TDokument& doc) { doc.Bilanca.row(4).IznosTekuca /= 2; });
     }},
};

class UndoEachChange : public ::testing::TestWithParam<Change> {};

TEST_P(UndoEachChange, UndoRestoresAndRedoRepeatsWithTheChangedMark) {
    Workspace ws(CommaSettings(), 2024);
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "800,00"));
    TempDir dir;
    ASSERT_EQ(ws.SaveDocumentAs(dir.file("a.mvk"), *MakeSystemFileWriter()), "");
    const TDokument saved = ws.document();
    const StatementGrids savedGrids = ws.grids();

    GetParam().make(ws);
    const TDokument changed = ws.document();
    const StatementGrids changedGrids = ws.grids();
    ASSERT_NE(changed.Bilanca.row(55).IznosTekuca, saved.Bilanca.row(55).IznosTekuca);
    ASSERT_TRUE(ws.IsChanged());

    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.document().Bilanca.row(4).IznosTekuca, 800);
    EXPECT_EQ(ws.document().Bilanca.row(55).IznosTekuca, saved.Bilanca.row(55).IznosTekuca);
    EXPECT_TRUE(ws.grids() == savedGrids);
    EXPECT_FALSE(ws.IsChanged());  // as saved
    EXPECT_TRUE(ws.CanUndo());     // the first edit, before the save

    ASSERT_TRUE(ws.Redo());
    EXPECT_EQ(ws.document().Bilanca.row(55).IznosTekuca, changed.Bilanca.row(55).IznosTekuca);
    EXPECT_TRUE(ws.grids() == changedGrids);
    EXPECT_TRUE(ws.IsChanged());
    EXPECT_FALSE(ws.CanRedo());

    // Back beyond the save: changed again, and then nothing more to undo.
    ASSERT_TRUE(ws.Undo());
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.document().Bilanca.row(4).IznosTekuca, 0);
    EXPECT_TRUE(ws.IsChanged());
    EXPECT_FALSE(ws.Undo());
}

INSTANTIATE_TEST_SUITE_P(Kinds, UndoEachChange, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Undo, EveryStepSinceOpeningOneAtATime) {
    Workspace ws(CommaSettings(), 2024);
    for (int i = 1; i <= 5; ++i) {
        ws.viewTexts(Statement::Racun).cell(3, 2) = std::to_string(i * 100);
        ASSERT_TRUE(ws.EditAmount(Statement::Racun, 3, 2, std::to_string(i * 100)));
    }
    for (int i = 4; i >= 0; --i) {
        ASSERT_TRUE(ws.Undo());
        EXPECT_EQ(ws.document().Racun.row(2).Iznos, i * 100);
        EXPECT_EQ(ws.document().Racun.row(1).Iznos, i * 100);  // recalculated as shown
    }
    EXPECT_FALSE(ws.IsChanged());  // every change of the new document taken back
    EXPECT_FALSE(ws.CanUndo());
    // A new change forgets the steps that could be redone.
    ASSERT_TRUE(ws.Redo());
    ASSERT_TRUE(ws.EditAmount(Statement::Racun, 3, 5, "7"));
    EXPECT_FALSE(ws.CanRedo());
}

TEST(Undo, KeepsTheGeneralDataAndItsChangedMark) {
    Workspace ws(CommaSettings(), 2024);
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "1.000,00"));
    ws.SetCompany("Drvo d.o.o.");
    ws.ConfirmCompanyAndSeat();
    ws.SetShareCount(10);  // the indicators per share follow the share count
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.document().Bilanca.row(4).IznosTekuca, 0);
    EXPECT_EQ(ws.fields().Poduzece, "Drvo d.o.o.");
    EXPECT_EQ(ws.document().Poduzece, "Drvo d.o.o.");
    EXPECT_EQ(ws.document().BrojDionica, 10);
    EXPECT_TRUE(ws.IsChanged());  // the name is still unsaved
    // What undo shows is what the refresh cycle makes of it now.
    Workspace fresh(CommaSettings(), 2024);
    fresh.SetShareCount(10);
    EXPECT_TRUE(ws.grids().Pok == fresh.grids().Pok);
}

TEST(Undo, NewAndOpenForgetTheSteps) {
    TempDir dir;
    Workspace ws(CommaSettings(), 2024);
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "1,00"));
    ASSERT_EQ(ws.SaveDocumentAs(dir.file("a.mvk"), *MakeSystemFileWriter()), "");
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "2,00"));
    ASSERT_TRUE(ws.OpenDocument(dir.file("a.mvk")));
    EXPECT_FALSE(ws.CanUndo());
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "3,00"));
    ws.NewDocument();
    EXPECT_FALSE(ws.CanUndo());
    EXPECT_FALSE(ws.CanRedo());
}

TEST(Undo, AConversionTakesItsUnitBackAndAnEditLeavesTheUnit) {
    Workspace ws(CommaSettings(), 2024);
    ws.SetUnitText("kunama i lipama");
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "753,45"));
    ws.ChangeInputAmounts([](TDokument& doc) { doc.Bilanca.row(4).IznosTekuca = 100; });
    ws.SetUnitText("eurima i centima");
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.unitText(), "kunama i lipama");
    ASSERT_TRUE(ws.Redo());
    EXPECT_EQ(ws.unitText(), "eurima i centima");
    ASSERT_TRUE(ws.Undo());
    ws.SetUnitText("tisućama kuna");  // chosen by the user: no step of its own
    ASSERT_TRUE(ws.Undo());           // the edit
    EXPECT_EQ(ws.unitText(), "tisućama kuna");
}

TEST(Undo, ACurrencyChangeIsOneStepWithTheChangedMark) {
    Workspace ws(CommaSettings(), 2024);  // a 2024 period: euros by the period
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "1.000,00"));
    TempDir dir;
    ASSERT_EQ(ws.SaveDocumentAs(dir.file("a.mvk"), *MakeSystemFileWriter()), "");
    ws.SetCurrency(Valuta::Hrk);
    EXPECT_TRUE(ws.IsChanged());
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.currency(), Valuta::Eur);
    EXPECT_FALSE(ws.document().OznakaValute.has_value());
    EXPECT_EQ(ws.document().Bilanca.row(4).IznosTekuca, 1000);  // no amount moved
    EXPECT_FALSE(ws.IsChanged());
    ASSERT_TRUE(ws.Redo());
    EXPECT_EQ(ws.currency(), Valuta::Hrk);
    EXPECT_TRUE(ws.IsChanged());
}

}  // namespace
}  // namespace movik

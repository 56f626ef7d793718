// Undo and redo of the workspace's changes of amounts, and the changed mark they leave.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "DocumentTestSupport.h"
#include "document/Workspace.h"
#include "model/Dates.h"

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

// The general data is undone as the amounts are, one field's typing at a time.
TEST(Undo, GeneralDataStepsComeBackInTurn) {
    Workspace ws(CommaSettings(), 2024);
    ASSERT_TRUE(ws.EditAmount(Statement::Racun, 3, 2, "1.000,00"));
    const StatementGrids edited = ws.grids();
    for (const char* typed : {"D", "Dr", "Drvo d.o.o."}) {
        ws.SetCompany(typed);  // keystrokes of one visit to the field: one step
    }
    ws.ConfirmCompanyAndSeat();
    ws.SetShareCount(10);  // the indicators per share follow the share count
    ASSERT_TRUE(ws.grids().Pok != edited.Pok);

    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.fields().BrojDionica, 0);
    EXPECT_EQ(ws.document().BrojDionica, 0);
    EXPECT_TRUE(ws.grids().Pok == edited.Pok);
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.fields().Poduzece, "");
    EXPECT_EQ(ws.document().Poduzece, "");
    EXPECT_TRUE(ws.IsChanged());  // the amount is still unsaved
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.document().Racun.row(2).Iznos, 0);
    EXPECT_FALSE(ws.IsChanged());
    EXPECT_FALSE(ws.CanUndo());
}

// A workspace copied whole (as the fuzzer resets one) has a history of its own: typing merged
// into the copy's last step leaves the original's step as it was.
TEST(Undo, ACopiedWorkspaceKeepsAHistoryOfItsOwn) {
    Workspace original(CommaSettings(), 2024);
    original.SetCompany("Drvo");
    Workspace copy = original;
    copy.SetCompany("Drvo d.o.o.");  // merges into the copy's step
    ASSERT_TRUE(copy.Undo());
    EXPECT_EQ(copy.document().Poduzece, "");
    ASSERT_TRUE(original.Undo());
    ASSERT_TRUE(original.Redo());
    EXPECT_EQ(original.document().Poduzece, "Drvo");
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
    ws.SetCurrency(Valuta::Hrk);  // typed in kunas: the unit follows
    EXPECT_EQ(ws.unitText(), "kunama i lipama");
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "753,45"));
    ws.ChangeInputAmounts([](TDokument& doc) {
        doc.Bilanca.row(4).IznosTekuca = 100;
        SetDocumentCurrency(doc, Valuta::Eur);
    });
    EXPECT_EQ(ws.unitText(), "eurima i centima");
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

// The history's bound and its clean index, on steps of one amount each.
TEST(UndoHistory, StaysWithinItsBoundAndKnowsWhereTheSavedStateIs) {
    const auto step = [](double before, double after) {
        UndoState a;
        UndoState b;
        a.amounts[0] = before;
        b.amounts[0] = after;
        return *MakeStep(a, b, StepKind::Other);
    };
    UndoHistory history(1000);
    history.Push(step(0, 1), false);
    history.MarkClean();
    history.Push(step(1, 2), false);
    ASSERT_TRUE(history.Undo() != nullptr);
    EXPECT_TRUE(history.IsClean());
    history.Push(step(1, 3), false);  // another way from the saved state: it stays reachable
    EXPECT_FALSE(history.CanRedo());
    ASSERT_TRUE(history.Undo() != nullptr);
    EXPECT_TRUE(history.IsClean());
    ASSERT_TRUE(history.Undo() != nullptr);
    history.Push(step(0, 4), false);  // the saved state was on the branch dropped
    EXPECT_FALSE(history.IsClean());
    for (int i = 0; i < 100; ++i) {
        history.Push(step(i, i + 1), false);
        EXPECT_LE(history.Bytes(), 1000u);
    }
    EXPECT_LT(history.StepCount(), 100u);  // the oldest went
    while (history.Undo() != nullptr) {
        EXPECT_FALSE(history.IsClean());
    }
}

// Typing the amount a cell already shows, in another spelling, changes nothing.
TEST(Undo, TheSameAmountTypedAgainIsNoStep) {
    Workspace ws(CommaSettings(), 2024);
    ASSERT_EQ(ws.EditAmount(Statement::Bilanca, 5, 4, "96000"), "96.000,00");
    TempDir dir;
    ASSERT_EQ(ws.SaveDocumentAs(dir.file("a.mvk"), *MakeSystemFileWriter()), "");
    for (const char* typed : {"96000", "96.000", "96000,00"}) {
        ws.viewTexts(Statement::Bilanca).cell(5, 4) = typed;  // as the view puts it
        EXPECT_EQ(ws.EditAmount(Statement::Bilanca, 5, 4, typed), "96.000,00");
        EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "96.000,00");
    }
    EXPECT_FALSE(ws.IsChanged());
    EXPECT_EQ(ws.history().StepCount(), 1u);
}

// A confirmed period that moves the document across 1 January 2023 changes its currency; with
// amounts in it, the user is told that the amounts may now read in the wrong currency.
struct PeriodCase {
    const char* name;
    int fromYear;
    int toYear;
    bool amounts;
    std::optional<Valuta> chosen;  // the user's choice of currency before the period changed
    std::string_view note;
};

void PrintTo(const PeriodCase& c, std::ostream* os) {
    *os << c.name;
}

const PeriodCase kPeriodCases[] = {
    {"KunasBecomeEuros", 2022, 2023, true, std::nullopt, PeriodCurrencyNote(Valuta::Eur)},
    {"EurosBecomeKunas", 2024, 2021, true, std::nullopt, PeriodCurrencyNote(Valuta::Hrk)},
    {"NoAmountsNothingToSay", 2022, 2023, false, std::nullopt, ""},
    {"TheSameCurrency", 2023, 2025, true, std::nullopt, ""},
    {"ACurrencyChosenStays", 2024, 2021, true, Valuta::Hrk, ""},
};

class PeriodNote : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodNote, SaysSoWhenTheCurrencyChangesUnderAmounts) {
    const PeriodCase& c = GetParam();
    Workspace ws(CommaSettings(), c.fromYear);
    if (c.amounts) {
        ASSERT_TRUE(ws.EditAmount(Statement::Racun, 3, 2, "44.002.035,00"));
    }
    if (c.chosen) {
        ws.SetCurrency(*c.chosen);
    }
    const Valuta before = ws.currency();
    ws.SetPeriod(DayNumber(c.toYear, 1, 1), DayNumber(c.toYear, 12, 31));
    EXPECT_EQ(ws.ConfirmPeriod(), c.note);
    EXPECT_EQ(ws.unitText(), AmountUnitText(ws.currency()));  // the unit followed
    // Undone, the period and the currency come back together.
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.currency(), before);
    EXPECT_EQ(ws.fields().DatumDo, DayNumber(c.fromYear, 12, 31));
    EXPECT_EQ(ws.document().DatumDo, DayNumber(c.fromYear, 12, 31));
    EXPECT_EQ(ws.unitText(), AmountUnitText(before));
}

INSTANTIATE_TEST_SUITE_P(Periods, PeriodNote, ::testing::ValuesIn(kPeriodCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace movik

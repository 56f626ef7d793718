// Real cell edits through the grid's editor in the full window, under both separator
// conventions: type, commit, and every total, share and the warning follow.

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "WindowFixture.h"
#include "ui/AccessibleColours.h"
#include "ui/StatementGrid.h"

namespace movik::test {
namespace {

struct LocaleCase {
    const char* locale;
    const char* typed;          // 1234 and a half, typed with the locale's decimal separator
    const char* formatted;      // what the cell shows afterwards
    const char* share;          // a 100 % share
    const char* grouped;        // 1234.56 typed with both separators at their places
    const char* blankGrouped;   // the same with a blank between the groups
    const char* groupedShown;   // what the cell shows for either
    const char* misplaced;      // a group separator where no group ends
    Qt::Key keypadDecimal;      // the keypad key whose own text is the other separator
    const char* seven;          // 7 as an amount
    const char* sevenAndAHalf;  // 7.5 as an amount
};

void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.locale;
}

class CellEditTest : public ::testing::TestWithParam<LocaleCase> {
  protected:
    void SetUp() override {
        f_ = std::make_unique<WindowFixture>(QString::fromUtf8(GetParam().locale));
        f_->ShowActive();
    }

    StatementGrid* Show(Statement s, const char* gridName) {
        auto* pages = f_->Find<QTabWidget>("PageControl");
        pages->setCurrentIndex(static_cast<int>(s) + 1);
        auto* grid = f_->Find<StatementGrid>(QString::fromUtf8(gridName));
        grid->setFocus(Qt::MouseFocusReason);
        return grid;
    }

    // Puts the cursor on grid cell (col, row) and types text into it, ending with Enter.
    void TypeInto(StatementGrid* grid, int col, int row, const QString& text) {
        grid->setCurrentIndex(grid->model()->index(row - 1, col - 1));
        QTest::keyClicks(grid, text.left(1));
        ASSERT_TRUE(grid->isEditing());
        QTest::keyClicks(grid->cellEditor(), text.mid(1));
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        QApplication::processEvents();
    }

    QString Shown(StatementGrid* grid, int col, int row) {
        return grid->model()->index(row - 1, col - 1).data().toString();
    }
    QString Warning() { return f_->Find<QLabel>("pUpozorenje")->text(); }

    std::unique_ptr<WindowFixture> f_;
};

TEST_P(CellEditTest, AcceptedAmountRecalculatesEveryView) {
    const LocaleCase& c = GetParam();
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    TypeInto(grid, 5, 4, QString::fromUtf8(c.typed));

    const QString amount = QString::fromUtf8(c.formatted);
    EXPECT_EQ(Shown(grid, 5, 4), amount);
    EXPECT_EQ(Shown(grid, 5, 3), amount);   // I.Nematerijalna imovina
    EXPECT_EQ(Shown(grid, 5, 2), amount);   // B.Dugotrajna imovina
    EXPECT_EQ(Shown(grid, 5, 55), amount);  // F.UKUPNA AKTIVA
    EXPECT_EQ(Shown(grid, 6, 55), QString::fromUtf8(c.share));
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(f_->Doc().Izmijenjen);
    EXPECT_EQ(Warning(), "Neravnoteža aktive i pasive u bilanci");
    EXPECT_EQ(f_->Find<QLabel>("pUpozorenje")->palette().color(QPalette::WindowText),
              WarningColour(QApplication::palette()));

    // The same amount as subscribed capital balances the sheet: the warning goes.
    TypeInto(grid, 5, 58, QString::fromUtf8(c.typed));
    EXPECT_EQ(Shown(grid, 5, 87), amount);  // F.UKUPNA PASIVA
    EXPECT_EQ(Warning(), "");

    // A result in the income statement that the balance sheet does not show.
    StatementGrid* racun = Show(Statement::Racun, "agRacun");
    TypeInto(racun, 3, 2, QStringLiteral("100"));
    EXPECT_EQ(Shown(racun, 3, 1).toStdString(), f_->Grids().Racun.cell(3, 2));
    EXPECT_EQ(Shown(racun, 3, 45).toStdString(), f_->Grids().Racun.cell(3, 2));
    EXPECT_EQ(Warning(), "Neravnoteža neto dobiti u bilanci i RDG");
}

TEST_P(CellEditTest, GroupedAmountReadsAsItSays) {
    const LocaleCase& c = GetParam();
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    TypeInto(grid, 3, 10, QString::fromUtf8(c.grouped));
    EXPECT_EQ(Shown(grid, 3, 10), QString::fromUtf8(c.groupedShown));
    EXPECT_EQ(Shown(grid, 3, 55), QString::fromUtf8(c.groupedShown));
    TypeInto(grid, 5, 10, QString::fromUtf8(c.blankGrouped));
    EXPECT_EQ(Shown(grid, 5, 10), QString::fromUtf8(c.groupedShown));
}

TEST_P(CellEditTest, MisplacedGroupSeparatorIsRefused) {
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    const QString before = Shown(grid, 3, 10);
    TypeInto(grid, 3, 10, QString::fromUtf8(GetParam().misplaced));
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(f_->Grids().Bilanca.cell(3, 10), before.toStdString());
    EXPECT_FALSE(f_->Doc().Izmijenjen);
}

TEST_P(CellEditTest, KeypadDecimalKeyTypesTheLocaleSeparator) {
    const LocaleCase& c = GetParam();
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    grid->setCurrentIndex(grid->model()->index(3, 4));
    QTest::keyClicks(grid, QStringLiteral("7"));
    ASSERT_TRUE(grid->isEditing());
    QTest::keyClick(grid->cellEditor(), c.keypadDecimal, Qt::KeypadModifier);
    QTest::keyClicks(grid->cellEditor(), QStringLiteral("5"));
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    EXPECT_EQ(Shown(grid, 5, 4), QString::fromUtf8(c.sevenAndAHalf));
}

TEST_P(CellEditTest, RefusedTextBringsTheOldTextBack) {
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    const QString before = Shown(grid, 5, 4);
    TypeInto(grid, 5, 4, QStringLiteral("-"));
    EXPECT_TRUE(grid->isEditing());  // after Enter the editor stays open
    EXPECT_EQ(f_->Grids().Bilanca.cell(5, 4), before.toStdString());
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(3, 4));
    EXPECT_FALSE(f_->Doc().Izmijenjen);
    QTest::keyClick(grid->cellEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(Shown(grid, 5, 4), before);
}

TEST_P(CellEditTest, ComputedRowsTakeTheCursorButNoEdit) {
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    grid->setCurrentIndex(grid->model()->index(54, 4));  // F.UKUPNA AKTIVA
    QTest::keyClicks(grid, QStringLiteral("5"));
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(54, 4));
    EXPECT_FALSE(f_->Doc().Izmijenjen);
}

TEST_P(CellEditTest, SaveTakesTheTextStillInTheEditor) {
    const LocaleCase& c = GetParam();
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    grid->setCurrentIndex(grid->model()->index(3, 4));
    QTest::keyClicks(grid, QString::fromUtf8(c.typed).left(1));
    QTest::keyClicks(grid->cellEditor(), QString::fromUtf8(c.typed).mid(1));
    f_->dialogs->saveChoices = {f_->Path("u-tijeku.mvk")};
    f_->window->SnimiClick();
    EXPECT_FALSE(grid->isEditing());
    EXPECT_DOUBLE_EQ(f_->Doc().Bilanca.row(4).IznosTekuca, 1234.5);
    EXPECT_FALSE(f_->Doc().Izmijenjen);
}

// Ctrl+Tab switches pages from an open editor as it does from anywhere else in the window; the
// typed amount is validated on the way.
TEST_P(CellEditTest, CtrlTabInTheEditorSwitchesThePage) {
    const LocaleCase& c = GetParam();
    StatementGrid* grid = Show(Statement::Bilanca, "agBilanca");
    grid->setCurrentIndex(grid->model()->index(3, 4));
    QTest::keyClicks(grid, QStringLiteral("7"));
    ASSERT_TRUE(grid->isEditing());
    QTest::keyClick(grid->cellEditor(), Qt::Key_Tab, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(f_->Find<QTabWidget>("PageControl")->currentWidget()->objectName(), "tsRacun");
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(f_->Grids().Bilanca.cell(5, 55), c.seven);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, CellEditTest,
    ::testing::Values(LocaleCase{"hr_HR", "1234,5", "1.234,50", "100,00%", "1.234,56", "1 234,56",
                                 "1.234,56", "1234.5", Qt::Key_Period, "7,00", "7,50"},
                      LocaleCase{"en_US", "1234.5", "1,234.50", "100.00%", "1,234.56", "1 234.56",
                                 "1,234.56", "1234,5", Qt::Key_Comma, "7.00", "7.50"}),
    [](const auto& info) { return std::string(info.param.locale); });

}  // namespace
}  // namespace movik::test

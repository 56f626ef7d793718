// What the user typed is settled before any command reads the document: a refused cell text
// stops the command and says why, dropped characters and too large amounts are told, and the
// company and seat on paper are the ones the window shows.

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <utility>
#include <vector>

#include "WindowFixture.h"
#include "tests/support/PdfText.h"
#include "ui/StatementGrid.h"

namespace movik::test {
namespace {

const QString kRuleHr = QStringLiteral(
    "Iznos nije ispravan: decimalni separator je zarez (,), a separator tisućica točka (.), samo "
    "između skupina od tri znamenke.");
const QString kLimitHr =
    QStringLiteral("Iznos je prevelik: najveći dopušteni iznos je 99.999.999.999,99.");

QString Note(WindowFixture& f) {
    return f.Find<QLabel>("pNapomena")->text();
}

// The balance sheet showing, with text typed into cell (5, 4) and the editor left open.
StatementGrid* TypeWithoutEnter(WindowFixture& f, const QString& text) {
    auto* pages = f.Find<QTabWidget>("PageControl");
    pages->setCurrentIndex(1);
    auto* grid = f.Find<StatementGrid>("agBilanca");
    grid->setFocus(Qt::MouseFocusReason);
    grid->setCurrentIndex(grid->model()->index(3, 4));
    QTest::keyClicks(grid, text.left(1));
    EXPECT_TRUE(grid->isEditing());
    if (grid->cellEditor() != nullptr) {
        QTest::keyClicks(grid->cellEditor(), text.mid(1));
    }
    return grid;
}

void Trigger(WindowFixture& f, const char* action) {
    f.Find<QAction>(QString::fromUtf8(action))->trigger();
}

// Each way a command is given, with the balance sheet's editor holding a refused text.
const std::vector<std::pair<const char*, std::function<void(WindowFixture&, StatementGrid*)>>>
    kCommands = {
        {"Ctrl+S",
         [](auto&, auto* g) { QTest::keyClick(g->cellEditor(), Qt::Key_S, Qt::ControlModifier); }},
        {"Ctrl+Z",
         [](auto&, auto* g) { QTest::keyClick(g->cellEditor(), Qt::Key_Z, Qt::ControlModifier); }},
        {"close", [](auto& f, auto*) { f.window->close(); }},
        {">>", [](auto& f, auto*) { f.window->bNextClick(); }},
        {"tab",
         [](auto& f, auto*) { f.template Find<QTabWidget>("PageControl")->setCurrentIndex(3); }},
};

// A refused text in the open editor stops every command before it asks, writes, prints or
// changes the page; the text stays in the editor and the reason is shown.
TEST(RefusedCellText, StopsEveryCommandAndKeepsTheText) {
    auto commands = kCommands;
    for (const char* action : {"SnimiKao1", "Nova1", "Otvori1", "Import1", "Export1", "Ispii1",
                               "PregledIspisa1", "IzvozPDF1", "IzvozSvihPDF1"}) {
        commands.emplace_back(action, [action](auto& f, auto*) { Trigger(f, action); });
    }
    for (const auto& [name, run] : commands) {
        SCOPED_TRACE(name);
        WindowFixture f;
        f.ShowActive();
        StatementGrid* grid = TypeWithoutEnter(f, QStringLiteral("1234.5"));
        run(f, grid);
        QApplication::processEvents();

        EXPECT_TRUE(f.window->isVisible());
        EXPECT_EQ(f.Find<QTabWidget>("PageControl")->currentIndex(), 1);
        ASSERT_TRUE(grid->isEditing());
        EXPECT_EQ(grid->cellEditor()->text(), QStringLiteral("1234.5"));
        EXPECT_TRUE(grid->cellEditor()->hasFocus());
        EXPECT_EQ(Note(f), kRuleHr);
        EXPECT_TRUE(f.dialogs->questions.isEmpty());
        EXPECT_TRUE(f.dialogs->saveDialogs.empty() && f.dialogs->openDialogs.empty());
        EXPECT_TRUE(f.dialogs->previewTitles.isEmpty());
        EXPECT_FALSE(f.Doc().Izmijenjen);
    }
}

// Enter on a refused amount says why, with the separators of the locale.
TEST(RefusedAmount, EnterNamesTheSeparatorsOfTheLocale) {
    for (const auto& [locale, typed, note] :
         {std::tuple{"hr_HR", "1234.5", kRuleHr},
          std::tuple{"en_US", "1234,5",
                     QStringLiteral("Iznos nije ispravan: decimalni separator je točka (.), a "
                                    "separator tisućica zarez (,), samo između skupina od tri "
                                    "znamenke.")}}) {
        WindowFixture f{QString::fromUtf8(locale)};
        f.ShowActive();
        StatementGrid* grid = TypeWithoutEnter(f, QString::fromUtf8(typed));
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        EXPECT_TRUE(grid->isEditing()) << locale;
        EXPECT_EQ(Note(f), note) << locale;
        // Corrected and accepted: the refusal goes from the status bar.
        QTest::keyClicks(grid->cellEditor(), QStringLiteral("7"));
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        EXPECT_FALSE(grid->isEditing()) << locale;
        EXPECT_FALSE(f.Find<QLabel>("pNapomena")->isVisible()) << locale;
    }
}

// A letter is not taken into an amount, and the user is told: "1e5" does not become 15 unseen.
TEST(RefusedAmount, ADroppedCharacterIsToldAtOnce) {
    WindowFixture f;
    f.ShowActive();
    StatementGrid* grid = TypeWithoutEnter(f, QStringLiteral("1e5"));
    EXPECT_EQ(grid->cellEditor()->text(), QStringLiteral("15"));
    EXPECT_TRUE(Note(f).startsWith(QStringLiteral("Znak „e“ nije upisan: ")))
        << Note(f).toStdString();
    // The note stays in sight after the amount is taken.
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    EXPECT_TRUE(f.Find<QLabel>("pNapomena")->isVisible());
}

struct LimitCase {
    const char* text;
    bool pasted;
    bool accepted;
};

// Amounts that would lose their cents in totals are refused where typed or pasted, with the
// message that names the limit; the largest one allowed is taken.
TEST(RefusedAmount, TheAmountLimitHoldsForTypingAndPasting) {
    const LimitCase cases[] = {
        {"99999999999,99", false, true},
        {"-99.999.999.999,99", false, true},
        {"100000000000", false, false},
        {"99999999999,995", false, false},
        {"9999999999999999999999999", true, false},
        {"99.999.999.999.999.999,00", true, false},
    };
    WindowFixture f;
    f.ShowActive();
    for (const LimitCase& c : cases) {
        StatementGrid* grid = TypeWithoutEnter(f, QStringLiteral("1"));
        QLineEdit* editor = grid->cellEditor();
        editor->selectAll();
        if (c.pasted) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.text));
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(editor, QString::fromUtf8(c.text));
        }
        EXPECT_EQ(editor->text(), QString::fromUtf8(c.text));
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(grid->isEditing(), !c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_EQ(std::abs(f.Doc().Bilanca.row(4).IznosTekuca), 99999999999.99) << c.text;
        } else {
            EXPECT_EQ(Note(f), kLimitHr) << c.text;
            QTest::keyClick(editor, Qt::Key_Escape);
        }
    }
}

// A company name and seat confirmed on the general-data page are on paper at once: the
// preview's title and the PDF. The changed mark is set as the typing sets it, never by the
// confirmation itself.
TEST(CompanyOnPaper, AConfirmedNameAndSeatArePrinted) {
    WindowFixture f;
    f.ShowActive();
    auto* company = f.Find<QLineEdit>("ePoduzece");
    auto* seat = f.Find<QLineEdit>("eSjediste");
    company->setFocus(Qt::MouseFocusReason);
    TypeText(company, QStringLiteral("Žitar d.o.o."));
    QTest::keyClick(company, Qt::Key_Tab);
    EXPECT_EQ(f.Doc().Poduzece, "Žitar d.o.o.");
    QTest::keyClicks(seat, QStringLiteral("Osijek"));  // typed, not yet left

    // All reports into a PDF from the general-data page, the seat field still being typed in.
    const QString pdf = f.Path(QStringLiteral("sve.pdf"));
    f.dialogs->saveChoices = {pdf};
    Trigger(f, "IzvozSvihPDF1");
    const std::string text = PdfText(pdf.toStdString());
    EXPECT_NE(text.find("Žitar d.o.o."), std::string::npos) << text;
    EXPECT_NE(text.find("Osijek"), std::string::npos) << text;

    f.Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    Trigger(f, "PregledIspisa1");
    ASSERT_EQ(f.dialogs->previewTitles.size(), 1);
    EXPECT_TRUE(f.dialogs->previewTitles[0].startsWith(QStringLiteral("Žitar d.o.o. – ")));

    // An opened document keeps its clear mark when its name is only passed through.
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    f.Find<QTabWidget>("PageControl")->setCurrentIndex(0);
    company->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(company, Qt::Key_Tab);
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

TEST(PrintNote, TheGeneralDataPageHasNoReportAndSaysSo) {
    WindowFixture f;
    f.ShowActive();
    f.Find<QToolButton>("bPrint")->click();
    EXPECT_EQ(Note(f), QStringLiteral("Na ovoj stranici nema izvješća za ispis"));
}

}  // namespace
}  // namespace movik::test

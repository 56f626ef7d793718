// What a screen reader gets from the windows, read through Qt's own accessibility interface:
// names of controls, the statement grids' rows and cells, announced warnings and focus, Tab
// never trapped, and the contrast of the colours the palette gives.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <vector>

#include "about/HelpWindow.h"
#include "charts/ChartData.h"
#include "charts/ChartDrawing.h"
#include "charts/ChartWindow.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"
#include "tests/ui/WindowFixture.h"
#include "ui/AccessibleColours.h"
#include "ui/AccessibleEvents.h"
#include "ui/ComparisonWindow.h"
#include "ui/DateField.h"
#include "ui/PrintPreview.h"
#include "ui/StatementGrid.h"
#include "ui/StatementGridModel.h"
#include "ui/ToolIcons.h"

namespace movik::test {
namespace {

// The accessibility events the program raised while it lives (Qt's own update handler gets
// none without a screen reader's bridge, which the offscreen platform lacks).
class EventLog {
  public:
    EventLog() {
        log_ = this;
        WatchAccessibleEvents(&EventLog::Record);
    }
    ~EventLog() {
        WatchAccessibleEvents({});
        log_ = nullptr;
    }
    struct Event {
        QAccessible::Event type;
        QObject* object;
        int child;
        QString childName;
    };
    std::vector<Event> events;

    int Count(QAccessible::Event type, QObject* object) const {
        int n = 0;
        for (const Event& e : events) {
            n += e.type == type && e.object == object ? 1 : 0;
        }
        return n;
    }

  private:
    static void Record(QAccessibleEvent* event) {
        if (log_ == nullptr) {
            return;
        }
        QString childName;
        if (event->child() >= 0) {
            if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(event->object())) {
                if (QAccessibleInterface* c = i->child(event->child())) {
                    childName = c->text(QAccessible::Name);
                }
            }
        }
        log_->events.push_back({event->type(), event->object(), event->child(), childName});
    }
    static inline EventLog* log_ = nullptr;
};

bool IsControl(QAccessibleInterface* i) {
    switch (i->role()) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::SpinBox:
        case QAccessible::EditableText:
        case QAccessible::Table:
        case QAccessible::PageTab:
        case QAccessible::MenuItem:
        case QAccessible::Chart:
        case QAccessible::Graphic:
        case QAccessible::Link:
            return true;
        default:
            return false;
    }
}

// The controls without a name under root, described by role and object name.
void CollectUnnamed(QAccessibleInterface* i, QStringList& unnamed, int& controls) {
    if (i == nullptr) {
        return;
    }
    const QAccessible::Role role = i->role();
    // Cells and headers are counted by the grid tests.
    if (role == QAccessible::Cell || role == QAccessible::RowHeader ||
        role == QAccessible::ColumnHeader) {
        return;
    }
    if (IsControl(i) && !i->state().invisible) {
        ++controls;
        if (i->text(QAccessible::Name).trimmed().isEmpty()) {
            const QObject* o = i->object();
            unnamed << QStringLiteral("%1 %2").arg(int(role)).arg(
                o != nullptr
                    ? o->objectName() + QStringLiteral(" (") + o->metaObject()->className() + u')'
                    : QStringLiteral("?"));
        }
    }
    for (int c = 0; c < i->childCount(); ++c) {
        CollectUnnamed(i->child(c), unnamed, controls);
    }
}

QStringList Unnamed(QWidget* window, int* controlCount = nullptr) {
    QStringList unnamed;
    int controls = 0;
    CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed, controls);
    if (controlCount != nullptr) {
        *controlCount = controls;
    }
    return unnamed;
}

QAccessibleInterface* Table(QWidget* view) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(view);
    EXPECT_NE(i, nullptr);
    EXPECT_NE(i->tableInterface(), nullptr);
    return i;
}

std::vector<QAccessibleInterface*> ChildrenWithRole(QAccessibleInterface* i,
                                                    QAccessible::Role role) {
    std::vector<QAccessibleInterface*> found;
    for (int c = 0; c < i->childCount(); ++c) {
        if (QAccessibleInterface* child = i->child(c); child != nullptr && child->role() == role) {
            found.push_back(child);
        }
    }
    return found;
}

class AccessibilityTest : public ::testing::Test {
  protected:
    AccessibilityTest() { QAccessible::setActive(true); }
    WindowFixture f;
};

// ---------------------------------------------------------------------------------------------
// The statement grids

TEST_F(AccessibilityTest, GridIsNamedAfterItsStatementAndItsRowHeadersByNumberAndText) {
    struct Case {
        Statement statement;
        QString gridName;
        int row;
        QString rowName;
    };
    const std::vector<Case> cases = {
        {Statement::Bilanca, QStringLiteral("Bilanca"), 1,
         QStringLiteral("1, A.Potraživanja za upisani a neuplaćeni kapital")},
        {Statement::Bilanca, QStringLiteral("Bilanca"), 3,
         QStringLiteral("3, I.Nematerijalna imovina")},
        {Statement::Racun, QStringLiteral("Račun dobiti i gubitka"), 45,
         QStringLiteral("45, REZULTAT POSLIJE POREZA")},
        {Statement::Pok, QStringLiteral("Financijski pokazatelji"), 1,
         QStringLiteral("1, A. LIKVIDNOST")},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* table = Table(f.window->Grid(c.statement));
        EXPECT_EQ(table->text(QAccessible::Name), c.gridName);
        const auto headers = ChildrenWithRole(table, QAccessible::RowHeader);
        ASSERT_GE(static_cast<int>(headers.size()), c.row);
        EXPECT_EQ(headers[std::size_t(c.row - 1)]->text(QAccessible::Name), c.rowName);
    }
}

TEST_F(AccessibilityTest, EveryRowHeaderOfEveryGridStartsWithItsNumber) {
    int total = 0;
    for (Statement s : kAllStatements) {
        const auto headers = ChildrenWithRole(Table(f.window->Grid(s)), QAccessible::RowHeader);
        ASSERT_EQ(static_cast<int>(headers.size()), RowCount(s));
        for (std::size_t r = 0; r < headers.size(); ++r) {
            const QString name = headers[r]->text(QAccessible::Name);
            EXPECT_TRUE(name.startsWith(QString::number(r + 1) + QStringLiteral(", ")))
                << name.toStdString();
            EXPECT_GT(name.size(), 4);
        }
        total += static_cast<int>(headers.size());
    }
    EXPECT_EQ(total, 211);
}

TEST_F(AccessibilityTest, SpacedColumnCaptionIsReadAsItsWord) {
    QAccessibleInterface* table = Table(f.window->Grid(Statement::Racun));
    const auto columns = ChildrenWithRole(table, QAccessible::ColumnHeader);
    ASSERT_GE(columns.size(), 3u);
    EXPECT_EQ(columns[0]->text(QAccessible::Name), QStringLiteral("Rbr"));
    EXPECT_EQ(columns[1]->text(QAccessible::Name), QStringLiteral("Pozicija"));
    EXPECT_EQ(columns[2]->text(QAccessible::Name), QStringLiteral("Iznos"));
    // On the screen the caption stays spaced out.
    EXPECT_EQ(f.window->Grid(Statement::Racun)
                  ->model()
                  ->headerData(1, Qt::Horizontal, Qt::DisplayRole)
                  .toString(),
              QStringLiteral("P o z i c i j a"));
}

TEST_F(AccessibilityTest, InputCellsAreEditableComputedCellsReadOnlyAndComputedRowsTotals) {
    struct Case {
        Statement statement;
        int col;  // grid column
        int row;
        bool editable;
        bool total;
    };
    const std::vector<Case> cases = {
        {Statement::Bilanca, 3, 4, true, false},   // typed amount, plain row
        {Statement::Bilanca, 5, 1, true, false},   // typed amount on a bold row
        {Statement::Bilanca, 3, 3, false, true},   // computed subtotal
        {Statement::Bilanca, 4, 4, false, false},  // share
        {Statement::Bilanca, 3, 2, false, true},   // computed total
        {Statement::Racun, 3, 45, false, true},    // the result
        {Statement::CFInd, 3, 1, false, false},
    };
    for (const Case& c : cases) {
        QAccessibleTableInterface* table = Table(f.window->Grid(c.statement))->tableInterface();
        QAccessibleInterface* cell = table->cellAt(c.row - 1, c.col - 1);
        ASSERT_NE(cell, nullptr);
        const auto state = cell->state();
        const std::string where = std::to_string(int(c.statement)) + ":" + std::to_string(c.col) +
                                  "," + std::to_string(c.row);
        EXPECT_EQ(bool(state.editable), c.editable) << where;
        EXPECT_EQ(bool(state.readOnly), !c.editable) << where;
        EXPECT_EQ(cell->text(QAccessible::Description).contains(QStringLiteral(", zbroj")), c.total)
            << where;
    }
}

TEST_F(AccessibilityTest, CellEditorIsNamedAfterItsCellAndFocusGoesBackToTheCell) {
    f.ShowActive();
    EventLog log;
    StatementGrid* grid = f.window->Grid(Statement::Bilanca);
    f.window->findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
    for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
        grid->setFocus();
        grid->setCurrentIndex(grid->gridModel()->indexAt(3, 4));
        QTest::keyClick(grid, Qt::Key_F2);
        QLineEdit* editor = grid->cellEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->accessibleName().startsWith(QStringLiteral("4, 1.Osnivački izdaci, ")))
            << editor->accessibleName().toStdString();
        log.events.clear();
        QTest::keyClick(editor, Qt::Key(key));
        EXPECT_FALSE(grid->isEditing());
        ASSERT_TRUE(grid->hasFocus());
        const auto last = std::find_if(log.events.rbegin(), log.events.rend(),
                                       [](const auto& e) { return e.type == QAccessible::Focus; });
        ASSERT_NE(last, log.events.rend());
        EXPECT_EQ(last->object, grid);
        EXPECT_EQ(last->childName, grid->model()->index(3, 2).data().toString());
    }
}

// ---------------------------------------------------------------------------------------------
// Names of every control

TEST_F(AccessibilityTest, EveryControlOfEveryPageOfTheMainWindowHasAName) {
    f.ShowActive();
    auto* pages = f.Find<QTabWidget>(QStringLiteral("PageControl"));
    f.window->BuildStatementPages();
    for (int p = 0; p < pages->count(); ++p) {
        pages->setCurrentIndex(p);
        int controls = 0;
        const QStringList unnamed = Unnamed(f.window.get(), &controls);
        EXPECT_TRUE(unnamed.isEmpty()) << "page " << p << ": " << unnamed.join(", ").toStdString();
        EXPECT_GE(controls, 15) << "page " << p;
    }
}

TEST_F(AccessibilityTest, PageTabsSayWhichIsSelected) {
    auto* pages = f.Find<QTabWidget>(QStringLiteral("PageControl"));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(pages->tabBar());
    ASSERT_EQ(list->role(), QAccessible::PageTabList);
    ASSERT_EQ(list->childCount(), 7);
    for (const int current : {0, 2, 5, 6}) {
        pages->setCurrentIndex(current);
        for (int t = 0; t < 7; ++t) {
            QAccessibleInterface* tab = list->child(t);
            EXPECT_EQ(tab->role(), QAccessible::PageTab);
            EXPECT_EQ(tab->text(QAccessible::Name), pages->tabText(t));
            EXPECT_EQ(bool(tab->state().selected), t == current) << t;
        }
    }
    // Pressing a tab shows its page.
    list->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pages->currentIndex(), 3);
}

TEST_F(AccessibilityTest, PageButtonsAndDateFieldsAreNamedAfterWhatTheyDo) {
    f.window->BuildStatementPages();
    const auto name = [](QWidget* w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(f.Find<QPushButton>(QStringLiteral("bNextOpce"))),
              QStringLiteral("Sljedeća stranica"));
    EXPECT_EQ(name(f.Find<QPushButton>(QStringLiteral("bPrevBilanca"))),
              QStringLiteral("Prethodna stranica"));
    QWidget* dOd = f.Find<QWidget>(QStringLiteral("dOd"));
    EXPECT_EQ(name(dOd->findChild<QLineEdit*>()), QStringLiteral("Obračunsko razdoblje od"));
    EXPECT_EQ(name(dOd->findChild<QToolButton*>()),
              QStringLiteral("Kalendar: Obračunsko razdoblje od"));
}

TEST_F(AccessibilityTest, EveryControlOfTheOtherWindowsHasAName) {
    f.ShowActive();
    f.window->Usporedba1Click();
    ComparisonWindow* comparison = f.window->comparison();
    ASSERT_NE(comparison, nullptr);
    EXPECT_TRUE(Unnamed(comparison).isEmpty()) << Unnamed(comparison).join(", ").toStdString();

    HelpWindow help({QStringLiteral(MOVIK_HELP_FILE)});
    help.ShowContents();
    EXPECT_TRUE(Unnamed(&help).isEmpty()) << Unnamed(&help).join(", ").toStdString();

    ChartWindow charts({{QStringLiteral("Struktura bilance"),
                         StructureChart(f.Doc(), f.window->workspace().settings())}},
                       QStringLiteral("grafikon"), {}, *CurrentChartDrawing(nullptr));
    charts.show();
    int controls = 0;
    EXPECT_TRUE(Unnamed(&charts, &controls).isEmpty()) << Unnamed(&charts).join(", ").toStdString();
    EXPECT_GE(controls, 4);
}

TEST_F(AccessibilityTest, ChartHasANameAndATextAlternativeWithItsFigures) {
    ChartPicture picture;
    picture.title = "Prihodi";
    ChartPanel panel;
    panel.title = "Iznosi";
    panel.categories = {"2022.", "2023."};
    panel.series = {{"Prihodi", {1500.5, 2000}}};
    picture.panels = {panel};
    ChartWindow charts({{QStringLiteral("Prihodi"), picture}}, QStringLiteral("g"), {},
                       *CurrentChartDrawing(nullptr));
    QWidget* canvas = charts.findChild<QWidget*>(QStringLiteral("pGrafikon"));
    ASSERT_NE(canvas, nullptr);
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(canvas);
    EXPECT_EQ(i->role(), QAccessible::Chart);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("Prihodi"));
    const QString description = i->text(QAccessible::Description);
    EXPECT_TRUE(description.contains(QStringLiteral("2022.: 1.500,50")))
        << description.toStdString();
    EXPECT_TRUE(description.contains(QStringLiteral("2023.: 2.000,00")))
        << description.toStdString();
}

// ---------------------------------------------------------------------------------------------
// The keyboard

TEST_F(AccessibilityTest, TabAndShiftTabLeaveTheComparisonTable) {
    f.ShowActive();
    f.window->Usporedba1Click();
    ComparisonWindow* comparison = f.window->comparison();
    QApplication::setActiveWindow(comparison);
    ASSERT_TRUE(QTest::qWaitForWindowActive(comparison));
    QTableView* table = comparison->table();
    using Keys = std::pair<Qt::Key, Qt::KeyboardModifiers>;
    for (const auto& [key, modifiers] :
         {Keys{Qt::Key_Tab, Qt::NoModifier}, Keys{Qt::Key_Backtab, Qt::ShiftModifier},
          Keys{Qt::Key_Tab, Qt::ControlModifier},
          Keys{Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier}}) {
        table->setFocus();
        ASSERT_TRUE(table->hasFocus());
        QTest::keyClick(table, key, modifiers);
        EXPECT_FALSE(table->hasFocus()) << "key " << key << " modifiers " << modifiers.toInt();
        EXPECT_TRUE(comparison->isAncestorOf(QApplication::focusWidget()));
    }
}

TEST_F(AccessibilityTest, EveryAccessKeyOfTheGeneralDataPageReachesItsField) {
    f.ShowActive();
    const std::vector<std::pair<Qt::Key, QString>> keys = {
        {Qt::Key_N, QStringLiteral("ePoduzece")}, {Qt::Key_S, QStringLiteral("eSjediste")},
        {Qt::Key_R, QStringLiteral("dOd")},       {Qt::Key_B, QStringLiteral("eBrojDionica")},
        {Qt::Key_Z, QStringLiteral("cbIznos")},   {Qt::Key_V, QStringLiteral("cbValuta")},
    };
    for (const auto& [key, name] : keys) {
        f.Find<QPushButton>(QStringLiteral("bNextOpce"))->setFocus();
        QTest::keyClick(f.window.get(), key, Qt::AltModifier);
        QWidget* field = f.Find<QWidget>(name);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == field || field->isAncestorOf(focus)) << name.toStdString();
    }
}

TEST_F(AccessibilityTest, AltDownAndF4OpenTheCalendarOfADateField) {
    f.ShowActive();
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Down, Qt::KeyboardModifiers(Qt::AltModifier)},
          std::pair{Qt::Key_F4, Qt::KeyboardModifiers()}}) {
        auto* field = f.Find<DateField>(QStringLiteral("dDo"));
        field->lineEdit()->setFocus();
        QTest::keyClick(field->lineEdit(), key, modifiers);
        ASSERT_NE(field->calendarDialog(), nullptr);
        EXPECT_TRUE(field->calendarDialog()->isVisible());
        field->calendarDialog()->reject();
    }
}

TEST_F(AccessibilityTest, CtrlTabTakesTheKeyboardToTheGridOfTheNextPage) {
    f.ShowActive();
    auto* name = f.Find<QLineEdit>(QStringLiteral("ePoduzece"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.window->Grid(Statement::Bilanca));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), name);
}

TEST_F(AccessibilityTest, CtrlTabLeavesEveryFieldOfTheGeneralDataPageForTheNextPage) {
    f.ShowActive();
    auto field = [this](const char* name) { return f.Find<QWidget>(QLatin1String(name)); };
    const std::vector<QWidget*> fields = {field("ePoduzece"),
                                          field("eSjediste"),
                                          f.Find<DateField>(QStringLiteral("dOd"))->lineEdit(),
                                          field("eBrojDionica"),
                                          field("cbIznos"),
                                          field("cbValuta"),
                                          field("bNextOpce")};
    auto* pages = f.Find<QTabWidget>(QStringLiteral("PageControl"));
    for (QWidget* w : fields) {
        pages->setCurrentIndex(0);
        w->setFocus();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus == w || w->isAncestorOf(focus)) << w->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(pages->currentIndex(), 1) << w->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), f.window->Grid(Statement::Bilanca))
            << w->objectName().toStdString();
    }
}

// Counts the pixels of the highlight colour inside rect of the image.
int HighlightPixels(const QImage& image, const QRect& rect, const QColor& highlight) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += image.pixelColor(x, y) == highlight ? 1 : 0;
        }
    }
    return count;
}

TEST_F(AccessibilityTest, MenuTitleKeepsItsMarkWhileTheMenuBarHasTheKeyboardAfterEscape) {
    f.ShowActive();
    QMenuBar* bar = f.window->menuBar();
    const QRect title = bar->actionGeometry(bar->actions().constFirst());
    const QColor highlight = bar->palette().color(QPalette::Highlight);
    QTest::keyClick(f.window.get(), Qt::Key_D, Qt::AltModifier);
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    EXPECT_GT(HighlightPixels(bar->grab().toImage(), title, highlight), title.width());
    QTest::keyClick(menu, Qt::Key_Escape);
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    // The keyboard is still on the menu bar (arrows move along it): the title must say so.
    ASSERT_TRUE(bar->hasFocus());
    EXPECT_GT(HighlightPixels(bar->grab().toImage(), title, highlight), title.width());
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), f.Find<QWidget>(QStringLiteral("ePoduzece")));
    EXPECT_EQ(HighlightPixels(bar->grab().toImage(), title, highlight), 0);
}

TEST_F(AccessibilityTest, EscapeClosesTheComparisonTheChartsAndTheHelp) {
    f.ShowActive();
    f.window->Usporedba1Click();
    QWidget* comparison = f.window->comparison();
    ChartWindow charts({{QStringLiteral("Struktura bilance"),
                         StructureChart(f.Doc(), f.window->workspace().settings())}},
                       QStringLiteral("grafikon"), {}, *CurrentChartDrawing(nullptr));
    HelpWindow help({QStringLiteral(MOVIK_HELP_FILE)});
    for (QWidget* w : {comparison, static_cast<QWidget*>(&charts), static_cast<QWidget*>(&help)}) {
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : w,
                        Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
}

// ---------------------------------------------------------------------------------------------
// Announced warnings

TEST_F(AccessibilityTest, AWarningThatAppearsOrChangesIsAnnounced) {
    f.ShowActive();
    EventLog log;
    QLabel* panel = f.Find<QLabel>(QStringLiteral("pUpozorenje"));
    const int before = log.Count(QAccessible::Alert, panel);
    const int shownBefore = log.Count(QAccessible::ObjectShow, panel);
    // An amount on one side of the balance sheet only: it no longer balances.
    StatementGrid* grid = f.window->Grid(Statement::Bilanca);
    ASSERT_TRUE(f.window->agBilancaCellValidate(5, 4, "1000").has_value());
    grid->refresh();
    ASSERT_FALSE(panel->text().isEmpty());
    EXPECT_EQ(log.Count(QAccessible::Alert, panel), before + 1);
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(panel);
    EXPECT_EQ(i->text(QAccessible::Name), panel->text());
    // What the accessibility bus carries to a screen reader: a notification that shows.
    EXPECT_EQ(i->role(), QAccessible::Notification);
    EXPECT_EQ(log.Count(QAccessible::ObjectShow, panel), shownBefore + 1);
    // The same warning again is not announced again.
    ASSERT_TRUE(f.window->agBilancaCellValidate(5, 4, "2000").has_value());
    EXPECT_EQ(log.Count(QAccessible::Alert, panel), before + 1);
    EXPECT_EQ(log.Count(QAccessible::ObjectShow, panel), shownBefore + 1);
}

TEST_F(AccessibilityTest, ANoteInPlaceOfAnotherIsSpokenAgain) {
    f.ShowActive();
    EventLog log;
    StatementGrid* grid = f.window->Grid(Statement::Bilanca);
    f.Find<QTabWidget>(QStringLiteral("PageControl"))->setCurrentIndex(1);
    grid->setFocus();
    auto* note = f.Find<QLabel>(QStringLiteral("pNapomena"));
    grid->setCurrentIndex(grid->model()->index(0, 0));  // a row's position takes no amount
    QTest::keyClicks(grid, QStringLiteral("7"));
    ASSERT_TRUE(note->isVisible());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(note)->role(), QAccessible::Notification);
    const int shown = log.Count(QAccessible::ObjectShow, note);
    QTest::keyClicks(grid, QStringLiteral("x"));
    EXPECT_EQ(log.Count(QAccessible::ObjectShow, note), shown + 1);
}

// ---------------------------------------------------------------------------------------------
// A grid cell as a screen reader hears it, focus coming back to a grid

TEST_F(AccessibilityTest, ACellSaysItsColumnWhetherItIsATotalAndWhetherItIsTyped) {
    struct Case {
        Statement statement;
        int col;  // grid column
        int row;
        QString description;  // after the column's caption
    };
    const std::vector<Case> cases = {
        {Statement::Bilanca, 3, 4, QStringLiteral("upisuje se")},
        {Statement::Bilanca, 5, 1, QStringLiteral("upisuje se")},  // typed on a bold row
        {Statement::Bilanca, 3, 3, QStringLiteral("zbroj, računa se")},
        {Statement::Bilanca, 4, 3, QStringLiteral("zbroj, računa se")},
        {Statement::Bilanca, 2, 4, QStringLiteral("samo za čitanje")},
        {Statement::Racun, 3, 38, QStringLiteral("upisuje se")},
        {Statement::Racun, 3, 10, QStringLiteral("zbroj, računa se")},
        {Statement::Racun, 1, 10, QStringLiteral("zbroj, samo za čitanje")},
        {Statement::CFInd, 3, 1, QStringLiteral("računa se")},
        {Statement::Pok, 3, 2, QStringLiteral("računa se")},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* table = Table(f.window->Grid(c.statement));
        QAccessibleInterface* cell = table->tableInterface()->cellAt(c.row - 1, c.col - 1);
        ASSERT_NE(cell, nullptr);
        const std::string where = std::to_string(int(c.statement)) + ":" + std::to_string(c.col) +
                                  "," + std::to_string(c.row);
        // The same cell by itself, as the table's child and through the table interface.
        EXPECT_EQ(table->child(table->indexOfChild(cell)), cell) << where;
        QAccessibleTableCellInterface* tableCell = cell->tableCellInterface();
        ASSERT_NE(tableCell, nullptr);
        const QString column = tableCell->columnHeaderCells().value(0)->text(QAccessible::Name);
        EXPECT_FALSE(column.isEmpty()) << where;
        EXPECT_EQ(column, table->tableInterface()->columnDescription(c.col - 1)) << where;
        EXPECT_EQ(cell->text(QAccessible::Description),
                  column + QStringLiteral(", ") + c.description)
            << where;
        EXPECT_TRUE(tableCell->rowHeaderCells()
                        .value(0)
                        ->text(QAccessible::Name)
                        .startsWith(QString::number(c.row) + QStringLiteral(", ")))
            << where;
    }
}

TEST_F(AccessibilityTest, TotalIsSaidExactlyOnComputedRowsAndTypingExactlyOnEditableCells) {
    int totals = 0;
    for (Statement s : kAllStatements) {
        QAccessibleTableInterface* table = Table(f.window->Grid(s))->tableInterface();
        const StatementFacts& facts = FactsOf(s);
        const bool typed = facts.inputColumns[0] != 0;
        for (int row = 1; row <= RowCount(s); ++row) {
            const bool total = typed && TemplateRow(s, row).Izracunata;
            totals += total ? 1 : 0;
            for (int col = 1; col < facts.columns; ++col) {
                QAccessibleInterface* cell = table->cellAt(row - 1, col - 1);
                const QString description = cell->text(QAccessible::Description);
                const std::string where =
                    std::to_string(int(s)) + ":" + std::to_string(col) + "," + std::to_string(row);
                EXPECT_EQ(description.contains(QStringLiteral(", zbroj")), total) << where;
                EXPECT_EQ(description.endsWith(QStringLiteral(", upisuje se")),
                          bool(cell->state().editable))
                    << where;
            }
        }
    }
    // The balance sheet's and the income statement's computed rows.
    EXPECT_EQ(totals, 29);
}

TEST_F(AccessibilityTest, FocusComingBackToAGridReportsItsCurrentCell) {
    f.ShowActive();
    f.window->BuildStatementPages();
    auto* pages = f.Find<QTabWidget>(QStringLiteral("PageControl"));
    StatementGrid* grid = f.window->Grid(Statement::Bilanca);
    QDialog dialog(f.window.get());
    const std::vector<std::pair<std::string, std::function<void()>>> returns = {
        {"page change",
         [&] {
             pages->setCurrentIndex(0);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
         }},
        {"Tab",
         [&] {
             QTest::keyClick(grid, Qt::Key_Tab);
             EXPECT_FALSE(grid->hasFocus());
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
         }},
        {"closed window",
         [&] {
             dialog.show();
             QApplication::setActiveWindow(&dialog);
             EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
             EXPECT_FALSE(grid->hasFocus());
             dialog.close();
             f.window->activateWindow();
             QApplication::setActiveWindow(f.window.get());
             QTest::qWait(20);
         }},
    };
    pages->setCurrentIndex(1);
    grid->setFocus();
    grid->setCurrentIndex(grid->gridModel()->indexAt(3, 4));
    for (const auto& [what, comeBack] : returns) {
        EventLog log;
        comeBack();
        QCoreApplication::processEvents();
        ASSERT_TRUE(grid->hasFocus()) << what;
        const auto last = std::find_if(log.events.rbegin(), log.events.rend(),
                                       [](const auto& e) { return e.type == QAccessible::Focus; });
        ASSERT_NE(last, log.events.rend()) << what;
        EXPECT_EQ(last->object, grid) << what;
        EXPECT_EQ(last->childName, grid->currentIndex().data().toString()) << what;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(grid)->child(last->child)->role(),
                  QAccessible::Cell)
            << what;
    }
}

// ---------------------------------------------------------------------------------------------
// Every object named, windows as frames, the preview's buttons and the help's links and text

// Showing objects a screen reader can land on (or that are not mere containers) without a name.
void CollectNameless(QAccessibleInterface* i, QStringList& nameless) {
    if (i == nullptr || i->state().invisible) {
        return;
    }
    const QAccessible::Role role = i->role();
    if (role == QAccessible::Cell || role == QAccessible::RowHeader ||
        role == QAccessible::ColumnHeader || role == QAccessible::MenuItem) {
        return;
    }
    const bool focusable = i->state().focusable && role != QAccessible::StaticText;
    const bool bar = role == QAccessible::ToolBar || role == QAccessible::ScrollBar;
    if ((focusable || bar || IsControl(i)) && i->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* o = i->object();
        nameless << QStringLiteral("%1 %2").arg(int(role)).arg(
            o != nullptr ? o->objectName() + u' ' + o->metaObject()->className() : QString());
    }
    for (int c = 0; c < i->childCount(); ++c) {
        CollectNameless(i->child(c), nameless);
    }
}

QStringList Nameless(QWidget* window) {
    QStringList nameless;
    CollectNameless(QAccessible::queryAccessibleInterface(window), nameless);
    return nameless;
}

TEST_F(AccessibilityTest, EveryObjectIsNamedAndTheProgramsWindowsAreFrames) {
    f.ShowActive();
    f.window->Usporedba1Click();
    ChartWindow charts({{QStringLiteral("Struktura bilance"),
                         StructureChart(f.Doc(), f.window->workspace().settings())}},
                       QStringLiteral("grafikon"), {}, *CurrentChartDrawing(nullptr));
    charts.show();
    HelpWindow help({QStringLiteral(MOVIK_HELP_FILE)});
    help.ShowContents();
    help.show();
    PrintPreviewWindow preview(QStringLiteral("Bilanca"), {}, [](QWidget*, auto) {});
    preview.show();
    for (QWidget* w : std::initializer_list<QWidget*>{f.window.get(), f.window->comparison(),
                                                      &charts, &help, &preview}) {
        ASSERT_NE(w, nullptr);
        const QStringList nameless = Nameless(w);
        EXPECT_TRUE(nameless.isEmpty())
            << w->objectName().toStdString() << ": " << nameless.join(", ").toStdString();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{f.window->comparison(), &charts}) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(w)->role(), QAccessible::Window)
            << w->objectName().toStdString();
    }
    // The chart with its text alternative is on Tab's way.
    QWidget* canvas = charts.findChild<QWidget*>(QStringLiteral("pGrafikon"));
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(
        QAccessible::queryAccessibleInterface(canvas)->text(QAccessible::Description).isEmpty());
}

TEST_F(AccessibilityTest, ADropDownListIsReadWithItsChoiceAsItsText) {
    auto* currency = f.Find<QComboBox>(QStringLiteral("cbValuta"));
    for (const int choice : {0, 1}) {
        currency->setCurrentIndex(choice);
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(currency);
        EXPECT_EQ(box->role(), QAccessible::ComboBox);
        QAccessibleTextInterface* text = box->textInterface();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(0, text->characterCount()), currency->currentText());
        EXPECT_EQ(box->text(QAccessible::Value), currency->currentText());
    }
    // A box the user types into keeps Qt's own interface (its text is its line's).
    auto* unit = f.Find<QComboBox>(QStringLiteral("cbIznos"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(unit)->textInterface(), nullptr);
}

TEST(PrintPreviewKeysTest, EveryButtonTakesTheKeyboardAndShowsItsKey) {
    PrintPreviewWindow preview(QStringLiteral("Bilanca"), {}, [](QWidget*, auto) {});
    auto* bar = preview.findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    int buttons = 0;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator() || bar->widgetForAction(action)->inherits("QLabel")) {
            continue;
        }
        ++buttons;
        const QString key = action->shortcut().toString(QKeySequence::NativeText);
        EXPECT_FALSE(key.isEmpty()) << action->text().toStdString();
        EXPECT_TRUE(action->toolTip().contains(key)) << action->toolTip().toStdString();
        EXPECT_TRUE(bar->widgetForAction(action)->focusPolicy() & Qt::TabFocus);
    }
    EXPECT_EQ(buttons, 6);
}

class HelpWindowTest : public ::testing::Test {
  protected:
    HelpWindowTest() : help({QStringLiteral(MOVIK_HELP_FILE)}) {
        QAccessible::setActive(true);
        help.ShowContents();
        help.show();
        QApplication::setActiveWindow(&help);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&help));
    }
    // The size the topic's first letter is set in.
    double TextSize() const {
        QTextCursor cursor(help.browser()->document());
        cursor.movePosition(QTextCursor::NextCharacter);
        return cursor.charFormat().fontPointSize();
    }
    HelpWindow help;
};

TEST_F(HelpWindowTest, TabGoesFromLinkToLinkAndEachIsReportedAsALink) {
    QTextBrowser* browser = help.browser();
    browser->setFocus();
    int lastStart = -1;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(browser, Qt::Key_Tab);
        QAccessibleInterface* link = help.focusedLink();
        ASSERT_NE(link, nullptr) << i;
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_TRUE(link->state().focused);
        EXPECT_EQ(link->text(QAccessible::Name), browser->textCursor().selectedText());
        EXPECT_FALSE(link->text(QAccessible::Name).isEmpty());
        EXPECT_EQ(link->parent(), QAccessible::queryAccessibleInterface(browser));
        QAccessibleHyperlinkInterface* hyperlink = link->hyperlinkInterface();
        ASSERT_NE(hyperlink, nullptr);
        EXPECT_EQ(hyperlink->anchorTarget(), browser->textCursor().charFormat().anchorHref());
        EXPECT_TRUE(hyperlink->anchorTarget().contains(QStringLiteral(".html")));
        EXPECT_GT(hyperlink->startIndex(), lastStart);
        lastStart = hyperlink->startIndex();
    }
}

TEST_F(HelpWindowTest, TextFollowsTheSystemFontAndZoomsWithCtrlPlusAndMinus) {
    const QFont saved = QApplication::font();
    QFont usual = saved;
    usual.setPointSizeF(9);
    QApplication::setFont(usual);
    QCoreApplication::processEvents();
    const double base = TextSize();
    QTest::keyClick(&help, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_NEAR(TextSize(), base * 1.25, 0.1);
    QTest::keyClick(&help, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(TextSize(), base, 0.1);
    QFont large = saved;
    large.setPointSizeF(18);
    QApplication::setFont(large);
    QCoreApplication::processEvents();
    EXPECT_NEAR(TextSize(), base * 2, 0.1);
    QApplication::setFont(saved);
}

// ---------------------------------------------------------------------------------------------
// The system font size

TEST(GridFontTest, CellsKeepEightPointsAtQtsDefaultSizeAndGrowInProportionBeyond) {
    const std::vector<std::pair<double, double>> cases = {
        {8, 8}, {9, 8}, {11, 8 * 11 / 9.0}, {14, 8 * 14 / 9.0}, {18, 16}};
    for (const auto& [system, cell] : cases) {
        EXPECT_DOUBLE_EQ(StatementGridModel::CellPointSize(system), cell) << system;
    }
}

TEST(GridFontTest, RowsAndColumnsGrowWithALargerSystemFont) {
    const QFont saved = QApplication::font();
    Workspace ws(RegionalSettings{}, 2024);
    ws.NewDocument();
    StatementGrid usual(Statement::Bilanca, ws.viewTexts(Statement::Bilanca));
    QFont large = saved;
    large.setPointSizeF(18);
    QApplication::setFont(large);
    StatementGrid grown(Statement::Bilanca, ws.viewTexts(Statement::Bilanca));
    QApplication::setFont(saved);
    EXPECT_EQ(usual.gridModel()->cellFont().pointSizeF(),
              StatementGridModel::CellPointSize(saved.pointSizeF()));
    EXPECT_EQ(grown.gridModel()->cellFont().pointSizeF(), 16.0);
    EXPECT_GT(grown.rowHeight(0), usual.rowHeight(0));
    EXPECT_GT(grown.columnWidth(1), usual.columnWidth(1));
}

// ---------------------------------------------------------------------------------------------
// Colours from the palette

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(42, 42, 42));
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::Dark, QColor(35, 35, 35));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QPalette LightPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(239, 239, 239));
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    p.setColor(QPalette::Dark, QColor(160, 160, 160));
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Button, QColor(239, 239, 239));
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Highlight, QColor(48, 140, 198));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

// White on black with a deep blue selection and yellow links, as high-contrast themes have it.
QPalette HighContrastPalette() {
    QPalette p;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        p.setColor(role, Qt::black);
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(role, Qt::white);
    }
    p.setColor(QPalette::AlternateBase, QColor(32, 32, 32));
    p.setColor(QPalette::Dark, QColor(96, 96, 96));
    p.setColor(QPalette::Highlight, QColor(0, 0, 192));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(255, 255, 0));
    p.setColor(QPalette::PlaceholderText, QColor(255, 255, 255, 110));
    return p;
}

TEST(ContrastTest, WcagRatiosOfKnownPairs) {
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::white), 1.0, 1e-9);
    // The fixed colours the grids had: red on the grey of bold rows.
    EXPECT_NEAR(ContrastRatio(QColor(255, 0, 0), QColor(204, 204, 204)), 2.49, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(255, 0, 0), Qt::white), 4.0, 0.01);
}

TEST(ContrastTest, EveryGridAndStatusTextHoldsItsContrastInLightAndDarkPalettes) {
    for (const QPalette& palette : {LightPalette(), DarkPalette(), HighContrastPalette()}) {
        const GridColours c = GridColoursOf(palette);
        EXPECT_GE(ContrastRatio(c.text, c.base), kTextContrast);
        EXPECT_GE(ContrastRatio(c.text, c.totalBackground), kTextContrast);
        EXPECT_GE(ContrastRatio(c.red, c.base), kRoomyContrast);
        EXPECT_GE(ContrastRatio(c.red, c.totalBackground), kRoomyContrast);
        EXPECT_GE(ContrastRatio(c.highlightedText, c.highlight), kRoomyContrast);
        EXPECT_GE(ContrastRatio(c.focus, c.base), kFocusContrast);
        EXPECT_GE(ContrastRatio(c.focus, c.highlight), kFocusContrast);
        EXPECT_GE(ContrastRatio(WarningColour(palette), palette.color(QPalette::Window)),
                  kRoomyContrast);
        // Beside a focus frame: the window, a field, a tab page, a table's alternate rows, the
        // print preview's backdrop.
        for (const QColor around :
             {palette.color(QPalette::Window), palette.color(QPalette::Base),
              palette.color(QPalette::Button).lighter(125), palette.color(QPalette::AlternateBase),
              palette.color(QPalette::Dark)}) {
            EXPECT_GE(ContrastRatio(FocusColour(palette), around), kFocusContrast);
        }
        // A field's placeholder and the help's links, on a field and on the help's shades.
        QPalette held = palette;
        HoldTextContrast(held);
        const QColor base = held.color(QPalette::Base);
        EXPECT_GE(ContrastRatio(held.color(QPalette::PlaceholderText), base), kTextContrast);
        for (const double shade : {0.0, 0.12, 0.2}) {
            EXPECT_GE(ContrastRatio(held.color(QPalette::Link),
                                    Mix(base, held.color(QPalette::Text), shade)),
                      kTextContrast);
        }
        // Red stays red: its red channel leads.
        EXPECT_GT(c.red.red(), c.red.green() + 60);
    }
    // The usual light palette keeps the grey the statements were designed with.
    EXPECT_EQ(GridColoursOf(LightPalette()).totalBackground, QColor(204, 204, 204));
}

// A focused text field, combo box and scrolled view show a frame of the focus colour under both
// palettes (the styles' own outline is the highlight colour, faint on a dark window; a scrolled
// view showed none).
TEST(FocusFrameTest, FocusedFieldsComboBoxesAndViewsShowTheFocusColour) {
    DrawnIconStyle style;
    for (const QPalette& palette : {LightPalette(), DarkPalette()}) {
        QWidget window;
        window.setStyle(&style);
        window.setPalette(palette);
        auto* layout = new QVBoxLayout(&window);
        auto* text = new QLineEdit(&window);
        auto* unit = new QComboBox(&window);
        unit->setEditable(true);
        auto* currency = new QComboBox(&window);
        currency->addItem(QStringLiteral("euro (EUR)"));
        auto* page = new QScrollArea(&window);  // the print preview's page, the help's text
        for (QWidget* w : std::initializer_list<QWidget*>{text, unit, currency, page}) {
            w->setStyle(&style);
            layout->addWidget(w);
        }
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        const QColor focus = FocusColour(palette);
        for (QWidget* w : std::initializer_list<QWidget*>{text, unit, currency, page}) {
            w->setFocus();
            const QImage image = w->grab().toImage();
            // The frame's top edge: its first or second row of pixels (a view's own frame is
            // one pixel wide, the rest is its content).
            int framed = 0;
            for (const int y : {0, 1}) {
                int row = 0;
                for (int x = 0; x < image.width(); ++x) {
                    row += image.pixelColor(x, y) == focus ? 1 : 0;
                }
                framed = std::max(framed, row);
            }
            EXPECT_GT(framed, image.width() / 2) << w->metaObject()->className();
        }
    }
}

}  // namespace
}  // namespace movik::test

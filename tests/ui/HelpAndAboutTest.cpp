// Start-up screen and About box in the running program, and the help it asks for: F1 on every
// control and menu that carries a context, the information box's Help, the contents command,
// and the help's table of shortcuts.

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include "about/AboutBox.h"
#include "about/HelpViewer.h"
#include "tests/help/HelpFile.h"
#include "tests/ui/WindowFixture.h"
#include "ui/HelpContexts.h"
#include "ui/StartUp.h"
#include "ui/StatementGrid.h"

namespace movik {
namespace {

using test::ScriptedDialogs;
using test::WindowFixture;

class ScriptedHelp : public HelpViewer {
  public:
    void ShowContents() override { ++contents; }
    void ShowContext(int context) override { contexts.push_back(context); }
    int contents = 0;
    std::vector<int> contexts;
};

// Records whether the start-up screen was still showing when a message came.
class WatchingDialogs : public ScriptedDialogs {
  public:
    explicit WatchingDialogs(const TfAbout& splash) : splash_(splash) {}
    void Inform(const QString& text, int helpContext) override {
        splashShowingAtMessage.push_back(splash_.isVisible());
        ScriptedDialogs::Inform(text, helpContext);
    }
    std::vector<bool> splashShowingAtMessage;

  private:
    const TfAbout& splash_;
};

// Looks at the box when it is shown modally, instead of waiting for the user.
class WatchedAbout : public TfAbout {
  public:
    int shown = 0;
    bool okVisible = false;
    bool modal = false;

  protected:
    int RunModal() override {
        ++shown;
        okVisible = OKButton->isVisibleTo(this);
        modal = isModal();
        return QDialog::Accepted;
    }
};

ScriptedHelp* ScriptHelp(WindowFixture& f) {
    auto help = std::make_unique<ScriptedHelp>();
    ScriptedHelp* raw = help.get();
    f.window->SetHelpViewer(std::move(help));
    return raw;
}

TEST(StartUp, SplashWithoutOkClosesBeforeTheDocumentThenServesAsAboutBox) {
    WindowFixture maker;
    ASSERT_TRUE(maker.window->agBilancaCellValidate(5, 4, "1000"));  // an imbalance
    const QString path = maker.Path("neravnoteza.mvk");
    maker.dialogs->saveChoices = {path};
    maker.window->SnimiClick();
    maker.dialogs->informed.clear();

    WatchedAbout about;
    auto dialogs = std::make_unique<WatchingDialogs>(about);
    WatchingDialogs* watching = dialogs.get();
    const auto window = StartUp(about, path, std::move(dialogs));
    EXPECT_EQ(watching->informed.size(), 1);  // the warning of the opened document
    EXPECT_EQ(watching->splashShowingAtMessage, std::vector<bool>{false});
    EXPECT_EQ(window->workspace().document().ImeDatoteke, path.toStdString());
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.OKButton->isVisibleTo(&about));
    EXPECT_EQ(&window->AboutBox(), &about);

    window->Oprogramu1Click();
    EXPECT_EQ(about.shown, 1);
    EXPECT_TRUE(about.okVisible);
    EXPECT_TRUE(about.modal);
}

TEST(StartUp, MissingDocumentLeavesTheNewOneWithoutAMessage) {
    WatchedAbout about;
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs* scripted = dialogs.get();
    const auto window =
        StartUp(about, QStringLiteral("/nema/takve/datoteke.mvk"), std::move(dialogs));
    EXPECT_TRUE(window->workspace().document().ImeDatoteke.empty());
    EXPECT_TRUE(scripted->informed.isEmpty());
    EXPECT_TRUE(scripted->errors.isEmpty());
    EXPECT_FALSE(about.isVisible());
}

// F1 with the focus in a control opens the topic of its context (or its nearest enclosing one).
TEST(HelpContexts, F1OnEachControlOpensItsTopic) {
    WindowFixture f;
    ScriptedHelp* help = ScriptHelp(f);
    f.ShowActive();
    auto* pages = f.Find<QTabWidget>("PageControl");
    auto* pok = f.Find<StatementGrid>("agPokazatelji");

    struct Case {
        int page;
        const char* control;
        int gridRow;  // for a grid: the current row (counted from 1), 0: none
        int context;
    } const cases[] = {
        {0, "ePoduzece", 0, 1},      {0, "cbIznos", 0, 1},        {1, "agBilanca", 9, 1},
        {2, "agRacun", 3, 1},        {3, "agCFInd", 5, 4},        {4, "agCFFree", 2, 5},
        {5, "agPokazatelji", 1, 6},  {5, "agPokazatelji", 4, 6},  {5, "agPokazatelji", 6, 7},
        {5, "agPokazatelji", 11, 8}, {5, "agPokazatelji", 16, 9}, {5, "agPokazatelji", 19, 9},
    };
    for (const Case& c : cases) {
        pages->setCurrentIndex(c.page);
        auto* control = f.Find<QWidget>(QString::fromUtf8(c.control));
        if (auto* grid = qobject_cast<StatementGrid*>(control)) {
            // A click on the cell, as the user chooses it.
            const QRect cell = grid->visualRect(grid->model()->index(c.gridRow - 1, 1));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        }
        control->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        help->contexts.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        EXPECT_EQ(help->contexts, std::vector<int>{c.context}) << c.control << " row " << c.gridRow;
    }

    // The indicator grid follows the current cell when it moves by keyboard too.
    pok->setFocus(Qt::OtherFocusReason);
    pok->setCurrentIndex(pok->model()->index(15, 1));
    QTest::keyClick(pok, Qt::Key_Up);  // row 16 -> 15
    QTest::keyClick(pok, Qt::Key_Up);  // row 15 -> 14
    help->contexts.clear();
    QTest::keyClick(pok, Qt::Key_F1);
    EXPECT_EQ(help->contexts, std::vector<int>{8});

    // In a cell editor of the balance sheet, the grid's context.
    pages->setCurrentIndex(1);
    auto* bilanca = f.Find<StatementGrid>("agBilanca");
    bilanca->setFocus(Qt::OtherFocusReason);
    bilanca->setCurrentIndex(bilanca->model()->index(3, 4));
    QTest::keyClick(bilanca, Qt::Key_5);
    ASSERT_NE(bilanca->cellEditor(), nullptr);
    help->contexts.clear();
    QTest::keyClick(bilanca->cellEditor(), Qt::Key_F1);
    EXPECT_EQ(help->contexts, std::vector<int>{1});

    // Where no control carries a context, nothing opens.
    auto* contexts = f.window->findChild<HelpContexts*>();
    ASSERT_NE(contexts, nullptr);
    help->contexts.clear();
    EXPECT_FALSE(contexts->HelpForWidget(f.window->statusBar()));
    EXPECT_FALSE(contexts->HelpForWidget(nullptr));
    EXPECT_TRUE(help->contexts.empty());
}

TEST(HelpContexts, F1InAMenuOpensTheMenuTopicAndClosesIt) {
    WindowFixture f;
    ScriptedHelp* help = ScriptHelp(f);
    f.ShowActive();
    // A menu opens the menus' topic; the commands of the work beyond one document their own.
    const struct {
        const char* menu;
        const char* item;  // highlighted item, "" for none
        int context;
    } cases[] = {{"Dokument1", "Snimi1", 10},    {"Dokument1", "Izlaz1", 10},
                 {"Dokument1", "", 10},          {"Dokument1", "IzvozXlsx1", 11},
                 {"Analiza1", "", 10},           {"Analiza1", "Usporedba1", 12},
                 {"Analiza1", "Grafikoni1", 11}, {"Analiza1", "PreracunajUEure1", 11},
                 {"Upute1", "Oprogramu1", 10},   {"Upute1", "Korisnikauputstva1", 10}};
    for (const auto& c : cases) {
        auto* menu = f.Find<QMenu>(QString::fromUtf8(c.menu));
        menu->popup(f.window->mapToGlobal(QPoint(10, 30)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        if (*c.item != '\0') {
            menu->setActiveAction(f.Find<QAction>(QString::fromUtf8(c.item)));
        }
        help->contexts.clear();
        QTest::keyClick(menu, Qt::Key_F1);
        EXPECT_EQ(help->contexts, std::vector<int>{c.context}) << c.menu << " " << c.item;
        EXPECT_FALSE(menu->isVisible());
    }
    EXPECT_EQ(help->contents, 0);  // no item was run
}

TEST(HelpContexts, InformationBoxHelpAndContentsCommand) {
    WindowFixture f;
    ScriptedHelp* help = ScriptHelp(f);
    ASSERT_TRUE(f.window->agBilancaCellValidate(5, 4, "1000"));
    f.dialogs->pressHelp = true;
    f.dialogs->saveChoices = {f.Path("neravnoteza.mvk")};
    f.window->SnimiClick();
    EXPECT_EQ(help->contexts, std::vector<int>{kWarningsHelpContext});  // its own section

    f.window->Korisnikauputstva1Click();
    EXPECT_EQ(help->contents, 1);
}

// The help's table of keyboard shortcuts against the running window: every key the table lists
// does there what the table says, and every shortcut the window has is in the table.

// One row of the table: the keys as written and what they reach in the window (the objectName
// of an action or of a menu, or a page step).
struct HelpShortcut {
    QString keys;
    QString kind;  // "action", "menu" or "page"
    QString target;
};

std::vector<HelpShortcut> HelpShortcuts() {
    std::vector<HelpShortcut> rows;
    if (!test::HelpFileLoaded()) {
        return rows;
    }
    const QString text = test::ReadTopic(QStringLiteral("rad-s-programom.html"));
    const QRegularExpression row(
        QStringLiteral("<tr data-shortcut=\"([^\"]+)\" data-(action|menu|page)=\"([^\"]+)\">"));
    for (const auto& m : row.globalMatch(text)) {
        rows.push_back({m.captured(1), m.captured(2), m.captured(3)});
    }
    return rows;
}

QKeySequence Keys(const QString& text) {
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

TEST(HelpShortcuts, EveryKeyInTheHelpsTableDoesWhatItSays) {
    const std::vector<HelpShortcut> rows = HelpShortcuts();
    ASSERT_FALSE(rows.empty()) << MOVIK_HELP_FILE;
    WindowFixture f;
    f.ShowActive();
    auto* pages = f.Find<QTabWidget>(QStringLiteral("PageControl"));
    for (const HelpShortcut& row : rows) {
        SCOPED_TRACE(row.keys.toStdString());
        const QKeySequence keys = Keys(row.keys);
        ASSERT_EQ(keys.count(), 1);
        if (row.kind == QLatin1String("action")) {
            const auto* action = f.Find<QAction>(row.target);
            ASSERT_NE(action, nullptr);
            EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), row.keys);
        } else if (row.kind == QLatin1String("menu")) {
            const auto* menu = f.Find<QMenu>(row.target);
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(QKeySequence::mnemonic(menu->title()).toString(QKeySequence::PortableText),
                      row.keys);
        } else {
            // From a field of the first page and from the balance sheet grid alike.
            for (const int start : {0, 1}) {
                pages->setCurrentIndex(start);
                QApplication::processEvents();
                QWidget* focus = QApplication::focusWidget();
                ASSERT_NE(focus, nullptr);
                const QKeyCombination key = keys[0];
                QTest::keyClick(focus, key.key(), key.keyboardModifiers());
                QApplication::processEvents();
                EXPECT_EQ(pages->currentIndex(),
                          (start + row.target.toInt() + pages->count()) % pages->count());
            }
        }
    }
}

TEST(HelpShortcuts, EveryShortcutOfTheWindowIsInTheHelpsTable) {
    QList<QKeySequence> documented;
    for (const HelpShortcut& row : HelpShortcuts()) {
        documented << Keys(row.keys);
    }
    ASSERT_FALSE(documented.isEmpty());
    WindowFixture f;
    int shortcuts = 0;
    for (const QAction* action : f.window->findChildren<QAction*>()) {
        for (const QKeySequence& keys : action->shortcuts()) {
            ++shortcuts;
            EXPECT_TRUE(documented.contains(keys))
                << action->objectName().toStdString() << " "
                << keys.toString(QKeySequence::PortableText).toStdString();
        }
    }
    for (const QMenu* menu : f.window->findChildren<QMenu*>()) {
        const QKeySequence keys = QKeySequence::mnemonic(menu->title());
        if (!keys.isEmpty() && menu->menuAction()->isVisible()) {
            ++shortcuts;
            EXPECT_TRUE(documented.contains(keys)) << menu->title().toStdString();
        }
    }
    EXPECT_GT(shortcuts, 0);
}

}  // namespace
}  // namespace movik

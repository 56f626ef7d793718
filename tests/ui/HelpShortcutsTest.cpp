// The help's table of keyboard shortcuts against the running window: every key the table lists
// does there what the table says, and every shortcut the window has is in the table.

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>

#include "tests/help/HelpFile.h"
#include "tests/ui/WindowFixture.h"

namespace movik {
namespace {

using test::WindowFixture;

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
            EXPECT_EQ(action->shortcut(), keys);
        } else if (row.kind == QLatin1String("menu")) {
            const auto* menu = f.Find<QMenu>(row.target);
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(QKeySequence::mnemonic(menu->title()), keys);
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

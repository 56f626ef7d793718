// Statement pages built after the window's first frame show exactly what pages built with the
// window show: the same labels, cell texts and column widths, for the document opened before.

#include <QLabel>
#include <QTabWidget>

#include "tests/ui/WindowFixture.h"
#include "ui/StatementGrid.h"

namespace movik::test {
namespace {

// Every label of the statement pages (name -> text) and every grid's cells and column widths.
QStringList PagesState(TForm1& window) {
    QStringList state;
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    for (int i = 1; i < pages->count(); ++i) {
        for (const QLabel* label : pages->widget(i)->findChildren<QLabel*>()) {
            state << label->objectName() + u'=' + label->text();
        }
    }
    for (Statement s : kAllStatements) {
        StatementGrid* grid = window.Grid(s);
        const QAbstractItemModel* model = grid->model();
        for (int col = 0; col < model->columnCount(); ++col) {
            state << QStringLiteral("%1 width %2")
                         .arg(grid->objectName())
                         .arg(grid->columnWidth(col));
            for (int row = 0; row < model->rowCount(); ++row) {
                state << model->index(row, col).data().toString();
            }
        }
    }
    return state;
}

TEST(DeferredPages, BuiltAfterTheFirstFrameTheyShowWhatImmediatePagesShow) {
    WindowFixture immediate;
    immediate.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));

    TForm1 deferred(std::make_unique<ScriptedDialogs>(), nullptr, HiddenPages::AfterFirstFrame);
    deferred.OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    EXPECT_FALSE(deferred.statementPagesBuilt());
    EXPECT_EQ(deferred.findChild<StatementGrid*>(QStringLiteral("agBilanca")), nullptr);
    deferred.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return deferred.statementPagesBuilt(); }, 5000));

    EXPECT_EQ(PagesState(deferred), PagesState(*immediate.window));
}

// Anything that needs a statement page before the first frame gets it built at once.
TEST(DeferredPages, BuiltOnDemandBeforeTheFirstFrame) {
    TForm1 deferred(std::make_unique<ScriptedDialogs>(), nullptr, HiddenPages::AfterFirstFrame);
    auto* pages = deferred.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    pages->setCurrentIndex(2);  // the income statement's page
    EXPECT_TRUE(deferred.statementPagesBuilt());
    EXPECT_NE(deferred.findChild<StatementGrid*>(QStringLiteral("agRacun")), nullptr);
}

// The first frame is announced once, whether the pages wait for it or were needed sooner (the
// large window icons hang on it).
TEST(DeferredPages, FirstFrameAnnouncedOnce) {
    for (const bool pagesNeededFirst : {false, true}) {
        SCOPED_TRACE(pagesNeededFirst ? "pages needed first" : "pages wait");
        TForm1 deferred(std::make_unique<ScriptedDialogs>(), nullptr, HiddenPages::AfterFirstFrame);
        int shown = 0;
        QObject::connect(&deferred, &TForm1::firstFrameShown, [&shown] { ++shown; });
        if (pagesNeededFirst) {
            deferred.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
        }
        deferred.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown > 0; }, 5000));
        QCoreApplication::processEvents();
        EXPECT_EQ(shown, 1);
        EXPECT_TRUE(deferred.statementPagesBuilt());
    }
}

}  // namespace
}  // namespace movik::test

// The statement pages on their own: tabs in statement order, built only when needed, header
// texts given before the build shown after it, and the input grids' edits sent to the one
// validation with their statement.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTabWidget>
#include <vector>

#include "document/Workspace.h"
#include "model/StatementFacts.h"
#include "ui/StatementGrid.h"
#include "ui/StatementPages.h"

namespace movik::test {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TEST(StatementPages, HeaderTextsGivenBeforeTheBuildShowAfterIt) {
    Workspace ws(RegionalSettings{}, 2024);
    ws.NewDocument();
    QTabWidget tabs;
    StatementPages pages(ws, tabs);
    // The statements' pages, then the "Bonitet" page.
    ASSERT_EQ(tabs.count(), static_cast<int>(kStatementFacts.size()) + 1);
    for (const StatementFacts& facts : kStatementFacts) {
        EXPECT_EQ(tabs.widget(static_cast<int>(facts.statement))->objectName(), Text(facts.page));
    }
    EXPECT_EQ(tabs.widget(tabs.count() - 1)->objectName(), QStringLiteral("tsBonitet"));
    pages.ShowCompany(QStringLiteral("Žitar d.d."));
    pages.ShowPeriod(QStringLiteral("01.01.2024"), QStringLiteral("31.12.2024"));
    EXPECT_FALSE(pages.built());
    EXPECT_TRUE(pages.CommitEdits());  // nothing built, nothing to settle
    EXPECT_EQ(tabs.findChild<StatementGrid*>(), nullptr);

    pages.Build();
    for (const StatementFacts& facts : kStatementFacts) {
        SCOPED_TRACE(facts.page);
        EXPECT_EQ(tabs.findChild<QLabel*>(Text(facts.company))->text(),
                  QStringLiteral("Žitar d.d."));
        // The seat was never given: its label keeps the blank it was built with.
        EXPECT_EQ(tabs.findChild<QLabel*>(Text(facts.seat))->text(), QString(10, u'_'));
        if (!facts.period.empty()) {
            EXPECT_EQ(tabs.findChild<QLabel*>(Text(facts.period))->text(),
                      QStringLiteral("za razdoblje od 01.01.2024 do 31.12.2024"));
        }
    }
    EXPECT_EQ(tabs.findChild<QLabel*>(QStringLiteral("lPoduzeceBonitet"))->text(),
              QStringLiteral("Žitar d.d."));
}

TEST(StatementPages, InputGridsValidateThroughTheOneHookWithTheirStatement) {
    Workspace ws(RegionalSettings{}, 2024);
    ws.NewDocument();
    QTabWidget tabs;
    StatementPages pages(ws, tabs);
    std::vector<Statement> asked;
    pages.validate = [&](Statement s, int, int, const std::string&) {
        asked.push_back(s);
        return std::optional<std::string>();
    };
    for (const StatementFacts& facts : kStatementFacts) {
        StatementGrid* grid = pages.Grid(facts.statement);
        ASSERT_EQ(static_cast<bool>(grid->validate), facts.inputColumns[0] != 0) << facts.page;
        if (grid->validate) {
            EXPECT_FALSE(grid->validate(facts.inputColumns[0], 1, "1"));
        }
    }
    EXPECT_EQ(asked, (std::vector<Statement>{Statement::Bilanca, Statement::Racun}));
}

}  // namespace
}  // namespace movik::test

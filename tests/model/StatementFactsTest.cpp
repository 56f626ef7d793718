// The statement facts agree with the templates and with themselves.

#include "model/StatementFacts.h"

#include <gtest/gtest.h>

#include <set>

#include "model/Templates.h"

namespace movik {
namespace {

TEST(StatementFacts, AgreeWithTheTemplates) {
    std::set<std::string_view> keys;
    for (const StatementFacts& facts : kStatementFacts) {
        const auto name = facts.key;
        EXPECT_EQ(facts.rows, RowCount(facts.statement)) << name;
        for (int col : facts.inputColumns) {
            EXPECT_TRUE(col == 0 || (col >= 3 && col < facts.columns)) << name;
        }
        // Only statements with typed amounts can be imported.
        EXPECT_EQ(facts.imports, facts.inputColumns[0] != 0) << name;
        for (int row : facts.redRows) {
            EXPECT_TRUE(row == 0 || (row >= 1 && row <= facts.rows)) << name;
        }
        for (int col = 0; col < facts.columns; ++col) {
            EXPECT_GT(facts.columnWidths[static_cast<std::size_t>(col)], 0) << name << " " << col;
        }
        // Header texts only for columns the grid has.
        for (int col = facts.columns; col <= static_cast<int>(facts.headers.size()); ++col) {
            EXPECT_TRUE(facts.headers[static_cast<std::size_t>(col - 1)].empty()) << name << col;
        }
        EXPECT_TRUE(keys.insert(facts.key).second) << name;
    }
}

// A statement's reports print its rows once each, in order: the first starts at row 0, each
// next one where the previous stops, the last at the last row.
TEST(StatementFacts, ReportsCoverEveryRowOnce) {
    std::set<std::string_view> keys;
    for (const StatementFacts& facts : kStatementFacts) {
        std::int32_t next = 0;
        for (const ReportFacts& r : facts.reports) {
            if (r.key.empty())
                continue;
            EXPECT_EQ(r.start, next) << r.key;
            EXPECT_GT(r.limit, r.start) << r.key;
            EXPECT_FALSE(r.jobName.empty()) << r.key;
            // A statement of a period shows it on its page and on its report.
            EXPECT_EQ(r.periodLabel.empty(), facts.period.empty()) << r.key;
            EXPECT_TRUE(keys.insert(r.key).second) << r.key;
            next = r.limit;
        }
        EXPECT_EQ(next, facts.rows) << facts.key;
    }
    EXPECT_EQ(keys.size(), kReportFacts.size());
}

TEST(StatementFacts, GridHelpContextByRow) {
    struct Case {
        Statement statement;
        int row;
        int context;
    };
    const Case cases[] = {
        {Statement::Bilanca, 0, 1}, {Statement::Bilanca, 88, 1}, {Statement::Racun, 10, 1},
        {Statement::CFInd, 5, 4},   {Statement::CFFree, 28, 5},  {Statement::Pok, 0, 6},
        {Statement::Pok, 4, 6},     {Statement::Pok, 5, 7},      {Statement::Pok, 9, 7},
        {Statement::Pok, 10, 8},    {Statement::Pok, 14, 8},     {Statement::Pok, 15, 9},
        {Statement::Pok, 19, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FactsOf(c.statement).GridHelpContext(c.row), c.context)
            << FactsOf(c.statement).key << " row " << c.row;
    }
}

TEST(StatementFacts, PagesNameTheirStatement) {
    for (const StatementFacts& facts : kStatementFacts) {
        const StatementFacts* found = FactsOfPage(facts.page);
        ASSERT_NE(found, nullptr) << facts.page;
        EXPECT_EQ(found->statement, facts.statement) << facts.page;
    }
    EXPECT_EQ(FactsOfPage("tsOpce"), nullptr);
    EXPECT_EQ(FactsOfPage(""), nullptr);
}

}  // namespace
}  // namespace movik

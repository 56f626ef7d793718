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
        EXPECT_TRUE(keys.insert(facts.key).second) << name;
    }
}

}  // namespace
}  // namespace movik

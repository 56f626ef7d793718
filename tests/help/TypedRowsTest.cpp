// The rows the help tells the user to type into. An element marked data-typed="<statement>"
// names rows of that statement (each number in a span of class "rbr"); every one must be a row
// the user can type into. A list also marked data-bold="true" names every bold row that is
// typed, so none may be missing from it either.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <set>

#include "HelpFile.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"

namespace {

using movik::StatementFacts;

const StatementFacts* FactsByKey(const QString& key) {
    for (const StatementFacts& facts : movik::kStatementFacts) {
        if (key.toStdString() == facts.key) {
            return &facts;
        }
    }
    return nullptr;
}

TEST(HelpTypedRows, EveryRowNamedAsTypedIsAnInputRow) {
    ASSERT_TRUE(movik::test::HelpFileLoaded());
    const QRegularExpression element(
        QStringLiteral("<(li|p) data-typed=\"([a-z]+)\"( data-bold=\"true\")?>(.*?)</\\1>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression number(QStringLiteral("<span class=\"rbr\">(\\d+)</span>"));
    int elements = 0;
    for (const QString& file : movik::test::PackedTopics()) {
        for (const auto& m : element.globalMatch(movik::test::ReadTopic(file))) {
            ++elements;
            const StatementFacts* facts = FactsByKey(m.captured(2));
            ASSERT_NE(facts, nullptr) << file.toStdString() << ": " << m.captured(2).toStdString();
            std::set<int> named;
            for (const auto& n : number.globalMatch(m.captured(4))) {
                const int row = n.captured(1).toInt();
                ASSERT_GE(row, 1);
                ASSERT_LE(row, facts->rows);
                named.insert(row);
                EXPECT_FALSE(movik::TemplateRow(facts->statement, row).Izracunata)
                    << file.toStdString() << ": row " << row << " of " << facts->key
                    << " is computed";
            }
            EXPECT_FALSE(named.empty()) << m.captured(0).toStdString();
            if (m.captured(3).isEmpty()) {
                continue;
            }
            std::set<int> boldTyped;
            for (int row = 1; row <= facts->rows; ++row) {
                const movik::TPozicija& p = movik::TemplateRow(facts->statement, row);
                if (!p.Izracunata && p.Vrsta.find('b') != std::string_view::npos) {
                    boldTyped.insert(row);
                }
            }
            EXPECT_EQ(named, boldTyped) << file.toStdString() << ": " << facts->key;
        }
    }
    EXPECT_GE(elements, 4);
}

}  // namespace

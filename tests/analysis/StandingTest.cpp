// Standing among peers: quartiles and percentile ranks of hand-computed groups, the quarter by
// direction, the direction of every indicator, grouping by year and currency.

#include "analysis/Standing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "model/Dates.h"

namespace movik {
namespace {

constexpr double E = kNoValue;

// One measure per direction, as the tests need them.
std::vector<StandingMeasure> Measures(std::vector<Direction> directions) {
    std::vector<StandingMeasure> list;
    for (const Direction d : directions) {
        StandingMeasure m;
        m.direction = d;
        list.push_back(m);
    }
    return list;
}

struct GroupCase {
    const char* name;
    std::vector<double> values;       // one document each, all in 2024 (E: empty)
    Quartiles quartiles;              // hand-computed, QUARTILE.INC
    std::vector<double> percentiles;  // E: no rank
    std::vector<int> quarters;        // higher is better; 0: none
};

// Worked by hand: positions (n - 1) p from 0; rank 100 (below + equal / 2) / n.
const GroupCase kGroups[] = {
    // n = 5: positions 1, 2, 3 exactly; ranks 10, 30, 50, 70, 90.
    {"five", {3, 1, 4, 5, 2}, {2, 3, 4}, {50, 10, 70, 90, 30}, {2, 4, 2, 1, 3}},
    // n = 6: positions 1.25, 2.5, 3.75 interpolate.
    {"six",
     {10, 20, 30, 40, 50, 60},
     {22.5, 35, 47.5},
     {100.0 / 12, 300.0 / 12, 500.0 / 12, 700.0 / 12, 900.0 / 12, 1100.0 / 12},
     {4, 3, 3, 2, 1, 1}},
    // Ties: the three 2s share (1 + 3/2) / 6 = 41.67.
    {"ties",
     {1, 2, 2, 2, 5, 9},
     {2, 2, 4.25},
     {100.0 / 12, 250.0 / 6, 250.0 / 6, 250.0 / 6, 450.0 / 6, 550.0 / 6},
     {4, 3, 3, 3, 1, 1}},
    // Negatives sort below zero.
    {"negatives", {-4, -1.5, 0, 2, -8}, {-4, -1.5, 0}, {30, 50, 70, 90, 10}, {3, 2, 2, 1, 4}},
    // Empties take no part: five values among seven documents are ranked among five.
    {"empties",
     {E, 3, 1, E, 4, 5, 2},
     {2, 3, 4},
     {E, 50, 10, E, 70, 90, 30},
     {0, 2, 4, 0, 2, 1, 3}},
    // Every value equal: all at 50, the better half's edge.
    {"all equal", {7, 7, 7, 7, 7}, {7, 7, 7}, {50, 50, 50, 50, 50}, {2, 2, 2, 2, 2}},
    // Six documents but four values: the measure is not ranked.
    {"too few values", {1, E, 2, E, 3, 4}, {0, 0, 0}, {E, E, E, E, E, E}, {0, 0, 0, 0, 0, 0}},
};

class GroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupTest, QuartilesRanksAndQuarters) {
    const GroupCase& c = GetParam();
    std::vector<StandingDocument> docs;
    for (const double v : c.values) {
        docs.push_back({2024, Valuta::Eur, {v}});
    }
    const Standing standing(docs, Measures({Direction::HigherIsBetter}));
    ASSERT_EQ(standing.groups().size(), 1u);
    const StandingGroup& g = standing.groups()[0];
    const int values = static_cast<int>(std::count_if(c.values.begin(), c.values.end(), HasValue));
    EXPECT_EQ(g.counts[0], values);
    ASSERT_EQ(g.quartiles[0].has_value(), values >= kStandingMinimum);
    if (g.quartiles[0]) {
        EXPECT_DOUBLE_EQ(g.quartiles[0]->q1, c.quartiles.q1);
        EXPECT_DOUBLE_EQ(g.quartiles[0]->median, c.quartiles.median);
        EXPECT_DOUBLE_EQ(g.quartiles[0]->q3, c.quartiles.q3);
    }
    for (std::size_t d = 0; d < c.values.size(); ++d) {
        const std::optional<Rank> r = standing.RankOf(d, 0);
        ASSERT_EQ(r.has_value(), HasValue(c.percentiles[d])) << "document " << d;
        if (r) {
            EXPECT_NEAR(r->percentile, c.percentiles[d], 1e-9) << "document " << d;
            EXPECT_EQ(r->quarter.value_or(0), c.quarters[d]) << "document " << d;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Standing, GroupTest, ::testing::ValuesIn(kGroups), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
});

// The quarter follows the direction: lower is better mirrors the ranks; no direction, no
// quarter, but still a percentile.
TEST(Standing, QuarterIsNamedByDirection) {
    struct Case {
        double percentile;
        int higher;
        int lower;
    };
    const Case cases[] = {{90, 1, 4}, {75, 1, 3}, {70, 2, 3}, {50, 2, 2},
                          {30, 3, 2}, {25, 3, 1}, {10, 4, 1}, {0, 4, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(QuarterOf(c.percentile, Direction::HigherIsBetter), c.higher) << c.percentile;
        EXPECT_EQ(QuarterOf(c.percentile, Direction::LowerIsBetter), c.lower) << c.percentile;
        EXPECT_FALSE(QuarterOf(c.percentile, Direction::None)) << c.percentile;
    }
    EXPECT_EQ(QuarterName(1), "najbolja četvrtina");
    EXPECT_EQ(QuarterName(4), "najslabija četvrtina");
}

TEST(Standing, DirectionOfEveryIndicator) {
    using D = Direction;
    const std::map<std::string, D> expected = {{"2", D::HigherIsBetter},
                                               {"3", D::HigherIsBetter},
                                               {"4", D::HigherIsBetter},
                                               {"6", D::LowerIsBetter},
                                               {"7", D::None},
                                               {"8", D::LowerIsBetter},
                                               {"9", D::LowerIsBetter},
                                               {"11", D::HigherIsBetter},
                                               {"12", D::HigherIsBetter},
                                               {"13", D::HigherIsBetter},
                                               {"14", D::HigherIsBetter},
                                               {"16", D::LowerIsBetter},
                                               {"17", D::HigherIsBetter},
                                               {"18", D::HigherIsBetter},
                                               {"19", D::HigherIsBetter}};
    std::map<std::string, D> table;
    for (const StandingMeasure& m : StandingMeasures()) {
        if (m.indicator >= 0) {
            table[m.id] = m.direction;
            // Whole days and days of liquidity; every other indicator shows two decimals.
            const bool days =
                m.id == "4" || m.id == "6" || m.id == "7" || m.id == "8" || m.id == "9";
            EXPECT_EQ(m.decimals, days ? 0 : 2) << m.id;
        }
    }
    EXPECT_EQ(table, expected);
}

// Year of the period's end and currency make the groups; documents without a period and
// groups of fewer than five get no standing.
TEST(Standing, GroupsByYearAndCurrency) {
    std::vector<StandingDocument> docs;
    for (int i = 0; i < 5; ++i) {
        docs.push_back({2023, Valuta::Eur, {double(i)}});
        docs.push_back({2024, Valuta::Eur, {double(10 - i)}});
    }
    for (int i = 0; i < 3; ++i) {
        docs.push_back({2024, Valuta::Hrk, {double(i)}});
    }
    docs.push_back({std::nullopt, Valuta::Eur, {1}});
    const Standing standing(docs, Measures({Direction::LowerIsBetter}));
    ASSERT_EQ(standing.groups().size(), 3u);
    EXPECT_EQ(standing.groups()[0].year, 2023);
    EXPECT_EQ(standing.groups()[1].year, 2024);
    EXPECT_EQ(standing.groups()[1].currency, Valuta::Eur);
    EXPECT_EQ(standing.groups()[2].currency, Valuta::Hrk);
    EXPECT_FALSE(standing.groups()[2].ranked());
    EXPECT_NE(SmallGroupNote(standing.groups()[2]).find("3 dokumenta"), std::string::npos);
    // The 2024 euro group holds 10, 9, 8, 7, 6: lower is better, so 6 is the best quarter.
    EXPECT_EQ(standing.RankOf(9, 0)->quarter, 1);
    EXPECT_EQ(standing.RankOf(1, 0)->quarter, 4);
    EXPECT_FALSE(standing.RankOf(10, 0));  // kuna group of three
    EXPECT_FALSE(standing.GroupOf(13));
    EXPECT_FALSE(standing.RankOf(13, 0));
}

TEST(Standing, SummaryGivesYearAndShownValues) {
    DocumentSummary s;
    s.ok = true;
    s.from = DayNumber(2023, 7, 1);
    s.to = DayNumber(2024, 6, 30);
    s.currency = Valuta::Hrk;
    s.indicators[0] = 1.23456;  // current liquidity, shown with two decimals
    s.indicatorNotComputable[1] = true;
    const StandingDocument d = StandingDocumentOf(s);
    EXPECT_EQ(d.year, 2024);
    EXPECT_EQ(d.currency, Valuta::Hrk);
    EXPECT_DOUBLE_EQ(d.values[0], 1.23);
    EXPECT_FALSE(HasValue(d.values[1]));
    s.ok = false;
    EXPECT_FALSE(StandingDocumentOf(s).year);
}

// Over random groups: ranks lie in (0, 100], their mean is 50, the quartiles are ordered and
// lie within the values, and a better value never gets a weaker quarter.
TEST(Standing, PropertiesOverRandomGroups) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> size(5, 40);
    std::uniform_int_distribution<int> value(-20, 20);  // many ties
    for (int round = 0; round < 200; ++round) {
        std::vector<StandingDocument> docs(static_cast<std::size_t>(size(rng)));
        for (StandingDocument& d : docs) {
            d = {2025, Valuta::Eur, {double(value(rng))}};
        }
        const Standing standing(docs, Measures({Direction::HigherIsBetter}));
        const Quartiles q = *standing.groups()[0].quartiles[0];
        double sum = 0;
        for (std::size_t i = 0; i < docs.size(); ++i) {
            const Rank r = *standing.RankOf(i, 0);
            EXPECT_GT(r.percentile, 0);
            EXPECT_LE(r.percentile, 100);
            sum += r.percentile;
            for (std::size_t j = 0; j < docs.size(); ++j) {
                if (docs[i].values[0] > docs[j].values[0]) {
                    EXPECT_LE(*r.quarter, *standing.RankOf(j, 0)->quarter);
                }
            }
        }
        EXPECT_NEAR(sum / static_cast<double>(docs.size()), 50, 1e-9);
        EXPECT_LE(q.q1, q.median);
        EXPECT_LE(q.median, q.q3);
    }
}

}  // namespace
}  // namespace movik

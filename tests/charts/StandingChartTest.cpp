// The box plots of a standing: a box per ranked group (least, quartiles, greatest), the chosen
// documents' values as points by company, the groups without a box named in the note.

#include "charts/StandingChart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/Dates.h"

namespace movik {
namespace {

StandingEntry Entry(const std::string& company, int year, double value) {
    StandingEntry e;
    e.file = company + "-" + std::to_string(year);
    e.company = company;
    e.from = DayNumber(year, 1, 1);
    e.to = DayNumber(year, 12, 31);
    e.figures = {year, Valuta::Eur, std::vector<double>(StandingMeasures().size(), value)};
    return e;
}

StandingTable Table() {
    std::vector<StandingEntry> entries;
    const double values[] = {4, -2, 9, 1, 3, 7};
    const char* const companies[] = {"A", "B", "C", "D", "E", "F"};
    for (int i = 0; i < 6; ++i) {
        entries.push_back(Entry(companies[i], 2024, values[i]));
    }
    for (int i = 0; i < 5; ++i) {
        entries.push_back(Entry(companies[i], 2023, i * 10.0));
    }
    entries.push_back(Entry("A", 2022, 1));  // a group of one: no box
    return StandingTable(std::move(entries), {".", ",", "dd.MM.yyyy."});
}

TEST(StandingChart, BoxesPerRankedGroupAndPointsOfTheChosenCompanies) {
    const StandingTable t = Table();
    const ChartPicture p = StandingBoxChart(t, 0, {"C-2024", "A-2023", "A-2024", "A-2022"});
    ASSERT_EQ(p.panels.size(), 1u);
    const ChartPanel& panel = p.panels[0];
    EXPECT_EQ(panel.style, SeriesStyle::BoxPlots);
    ASSERT_EQ(panel.categories, (std::vector<std::string>{"2023", "2024"}));
    // 2023: 0, 10, 20, 30, 40; 2024: -2, 1, 3, 4, 7, 9 (positions 1.25, 2.5, 3.75).
    const ChartBox expected[] = {{0, 10, 20, 30, 40}, {-2, 1.5, 3.5, 6.25, 9}};
    for (std::size_t g = 0; g < 2; ++g) {
        EXPECT_DOUBLE_EQ(panel.boxes[g].low, expected[g].low) << g;
        EXPECT_DOUBLE_EQ(panel.boxes[g].q1, expected[g].q1) << g;
        EXPECT_DOUBLE_EQ(panel.boxes[g].median, expected[g].median) << g;
        EXPECT_DOUBLE_EQ(panel.boxes[g].q3, expected[g].q3) << g;
        EXPECT_DOUBLE_EQ(panel.boxes[g].high, expected[g].high) << g;
    }
    // A company a series, in the order the groups first show them; 2022 has no box, no point.
    ASSERT_EQ(panel.series.size(), 2u);
    EXPECT_EQ(panel.series[0].name, "A");
    EXPECT_EQ(panel.series[0].values, (std::vector<double>{0, 4}));
    EXPECT_EQ(panel.series[1].name, "C");
    EXPECT_TRUE(std::isnan(panel.series[1].values[0]));
    EXPECT_EQ(panel.series[1].values[1], 9);
    EXPECT_NE(p.note.find("2022"), std::string::npos);
    EXPECT_TRUE(HasValuesToShow(p));
}

TEST(StandingChart, OnePicturePerMeasurePercentagesMarked) {
    const std::vector<std::pair<std::string, ChartPicture>> pictures =
        StandingBoxCharts(Table(), {});
    ASSERT_EQ(pictures.size(), StandingMeasures().size());
    for (std::size_t m = 0; m < pictures.size(); ++m) {
        const StandingMeasure& measure = StandingMeasures()[m];
        const bool percent = measure.id == "11" || measure.id == "12" || measure.id == "13" ||
                             measure.id == "16" || measure.id == "17";
        EXPECT_EQ(pictures[m].second.panels[0].percent, percent) << measure.id;
        EXPECT_TRUE(pictures[m].second.panels[0].series.empty());
    }
}

}  // namespace
}  // namespace movik

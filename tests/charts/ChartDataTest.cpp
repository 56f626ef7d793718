// Which statement rows feed which bar, line and category of the charts.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "charts/ChartData.h"
#include "document/Workspace.h"
#include "model/Dates.h"

namespace movik {
namespace {

const RegionalSettings kHr{".", ",", "dd.MM.yyyy."};

const TDokument& Example() {
    static Workspace ws = [] {
        Workspace w(kHr, 2024);
        EXPECT_TRUE(w.OpenDocument(MOVIK_EXAMPLE));
        return w;
    }();
    return ws.document();
}

double B(int row, bool current) {
    const TStavkaBilanca& r = Example().Bilanca.row(row);
    return current ? r.IznosTekuca : r.IznosPrethodna;
}

TEST(StructureChart, EachBarStacksItsRows) {
    const ChartPicture picture = StructureChart(Example(), kHr);
    ASSERT_EQ(picture.panels.size(), 2u);
    const ChartPanel& amounts = picture.panels[0];
    ASSERT_EQ(amounts.categories.size(), 4u);
    EXPECT_EQ(amounts.categories[0], "Aktiva\n2022.");
    EXPECT_EQ(amounts.categories[3], "Pasiva\n2023.");
    // Series, the rows they add up, and whether they stand on the liabilities bar.
    const struct {
        std::vector<int> rows;
        bool liabilities;
    } expected[] = {{{2}, false},     {{31}, false}, {{1, 53, 54}, false}, {{57}, true},
                    {{66, 67}, true}, {{75}, true},  {{86}, true}};
    ASSERT_EQ(amounts.series.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        for (int year = 0; year < 2; ++year) {
            double sum = 0;
            for (int r : expected[i].rows) {
                sum += B(r, year == 1);
            }
            const std::size_t own = std::size_t(2 * year + (expected[i].liabilities ? 1 : 0));
            const std::size_t other = std::size_t(2 * year + (expected[i].liabilities ? 0 : 1));
            EXPECT_EQ(amounts.series[i].values[own], sum) << amounts.series[i].name;
            EXPECT_EQ(amounts.series[i].values[other], 0) << amounts.series[i].name;
        }
    }
    // Every bar adds up to its half's total, and in shares to 100 for a balanced sheet.
    const int totals[4] = {55, 87, 55, 87};
    for (std::size_t c = 0; c < 4; ++c) {
        double amount = 0;
        double share = 0;
        for (std::size_t i = 0; i < amounts.series.size(); ++i) {
            amount += amounts.series[i].values[c];
            share += picture.panels[1].series[i].values[c];
        }
        EXPECT_NEAR(amount, B(totals[c], c >= 2), 1e-6) << c;
        EXPECT_NEAR(share, 100, 1e-9) << c;
    }
}

TEST(IncomeChart, RevenuesExpensesAndResultsComeFromTheirRows) {
    const ChartPicture picture = IncomeChart(Example(), kHr);
    ASSERT_EQ(picture.panels.size(), 1u);
    const ChartPanel& panel = picture.panels[0];
    const auto r = [](int n) { return Example().Racun.row(n).Iznos; };
    ASSERT_EQ(panel.series.size(), 3u);
    EXPECT_EQ(panel.series[0].values, (std::vector<double>{r(1), r(26), r(40)}));
    EXPECT_EQ(panel.series[1].values, (std::vector<double>{r(7), r(33), r(41)}));
    EXPECT_EQ(panel.series[2].values, (std::vector<double>{r(1) - r(7), r(26) - r(33), r(42)}));
    EXPECT_NE(picture.title.find("01.01.2023. – 31.12.2023."), std::string::npos);
}

TEST(FigureChart, BarsByCompanyAndLinesByPeriodWithGapsForMissingDocuments) {
    const FigureAcrossDocuments figure{"Kratkoročna likvidnost",
                                       false,
                                       {{"Beta", "2023.", 45291, 1.5},
                                        {"Alfa", "2022.", 44926, 2.0},
                                        {"Alfa", "2023.", 45291, 2.5},
                                        {"Beta", "2021.", 44561, 1.0}},
                                       {}};
    const ChartPicture picture = FigureChart(figure);
    ASSERT_EQ(picture.panels.size(), 2u);
    const ChartPanel& bars = picture.panels[0];
    const ChartPanel& lines = picture.panels[1];
    EXPECT_EQ(bars.categories, (std::vector<std::string>{"Beta", "Alfa"}));
    EXPECT_EQ(lines.categories, (std::vector<std::string>{"2021.", "2022.", "2023."}));
    ASSERT_EQ(bars.series.size(), 3u);  // one bar per period
    EXPECT_EQ(bars.series[2].values, (std::vector<double>{1.5, 2.5}));
    EXPECT_TRUE(std::isnan(bars.series[1].values[0]));  // Beta has no 2022 document
    ASSERT_EQ(lines.series.size(), 2u);                 // one line per company
    EXPECT_EQ(lines.series[1].name, "Alfa");
    EXPECT_TRUE(std::isnan(lines.series[1].values[0]));
    EXPECT_EQ(lines.series[1].values[2], 2.5);
}

// The lines have a place for every year between the first and the last and for the documents
// left out, so a missing year stays a gap; the bars keep the periods that have values.
TEST(FigureChart, LinesKeepAPlaceForMissingAndLeftOutYears) {
    const FigureAcrossDocuments figure{"Zarada po dionici",
                                       false,
                                       {{"Alfa", "2021.", DayNumber(2021, 12, 31), 1.0},
                                        {"Alfa", "2022.", DayNumber(2022, 12, 31), 2.0},
                                        {"Alfa", "2024.", DayNumber(2024, 12, 31), 4.0}},
                                       {{"Alfa", "2025.", DayNumber(2025, 12, 31), 0}}};
    const ChartPicture picture = FigureChart(figure);
    EXPECT_EQ(picture.panels[0].series.size(), 3u);  // bars: 2021, 2022, 2024
    const ChartPanel& lines = picture.panels[1];
    EXPECT_EQ(lines.categories,
              (std::vector<std::string>{"2021.", "2022.", "2023.", "2024.", "2025."}));
    EXPECT_EQ(LineStretches(lines.series[0].values), (std::vector<LineStretch>{{0, 2}, {3, 4}}));
}

// A line runs only between values that are there: a missing year is a gap, not a bridge.
TEST(FigureChart, LinesStopAtMissingValues) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    using Stretches = std::vector<LineStretch>;
    EXPECT_EQ(LineStretches({1, 2, 3}), (Stretches{{0, 3}}));
    EXPECT_EQ(LineStretches({1, none, 3, 4}), (Stretches{{0, 1}, {2, 4}}));
    EXPECT_EQ(LineStretches({none, 2, none, none, 5, none}), (Stretches{{1, 2}, {4, 5}}));
    EXPECT_EQ(LineStretches({none, none}), Stretches{});
    EXPECT_EQ(LineStretches({}), Stretches{});
}

struct AxisCase {
    double low;
    double high;
    AxisRange expected;
};

class NiceAxis : public ::testing::TestWithParam<AxisCase> {};

TEST_P(NiceAxis, RoundStepsThatFitTheData) {
    const AxisCase& c = GetParam();
    const AxisRange range = NiceAxisRange(c.low, c.high);
    EXPECT_DOUBLE_EQ(range.min, c.expected.min);
    EXPECT_DOUBLE_EQ(range.max, c.expected.max);
    EXPECT_DOUBLE_EQ(range.step, c.expected.step);
    // Whatever the data: it fits, in at most kMaxAxisSteps steps, from multiples of the step.
    EXPECT_LE(range.min, std::min(c.low, 0.0));
    EXPECT_GE(range.max, std::max(c.high, 0.0));
    EXPECT_LE((range.max - range.min) / range.step, kMaxAxisSteps + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceAxis,
    ::testing::Values(
        // A small loss beside sales of millions: one step below zero, not a quarter of the axis.
        AxisCase{-76000, 6200000, {-1000000, 7000000, 1000000}},
        AxisCase{0, 1010000, {0, 1200000, 200000}}, AxisCase{0, 6000000, {0, 6000000, 1000000}},
        AxisCase{-3.5, 0, {-3.5, 0, 0.5}}, AxisCase{-420, 380, {-600, 400, 200}},
        AxisCase{0.2, 0.87, {0, 1, 0.2}}, AxisCase{0, 0, {0, 1, 0.25}}));

TEST(Charts, AnAllZeroDocumentHasNothingToShow) {
    Workspace ws(kHr, 2024);
    EXPECT_FALSE(HasValuesToShow(IncomeChart(ws.document(), kHr)));
    EXPECT_FALSE(HasValuesToShow(StructureChart(ws.document(), kHr)));
    EXPECT_TRUE(HasValuesToShow(IncomeChart(Example(), kHr)));
}

TEST(Charts, TheUnitTitlesTheAmountAxesAndColoursDoNotRepeatAcrossPanels) {
    ChartPicture structure = StructureChart(Example(), kHr);
    SetAmountUnit(structure, "eurima i centima");
    EXPECT_EQ(structure.panels[0].valueTitle, "Iznosi u eurima i centima");
    EXPECT_EQ(structure.panels[1].valueTitle, "%");
    const ChartPicture figure =
        FigureChart({"Ukupna aktiva",
                     false,
                     {{"A", "2023.", 1, 5}, {"A", "2024.", 2, 6}, {"B", "2024.", 2, 7}},
                     {}});
    // Bars are periods (colours 0 and 1), lines are companies: theirs come after.
    EXPECT_EQ(figure.panels[0].firstColour, 0u);
    EXPECT_EQ(figure.panels[1].firstColour, 2u);
}

}  // namespace
}  // namespace movik

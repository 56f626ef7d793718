// The figures of a comparison table: which document's value lands in which company and period.

#include "charts/ComparisonFigures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "charts/ChartRender.h"
#include "model/Dates.h"

namespace movik {
namespace {

const RegionalSettings kHr{".", ",", "dd.MM.yyyy."};
constexpr int kAssets = static_cast<int>(KeyAmount::TotalAssets);

DocumentSummary Doc(const std::string& company, double from, double to, double assets,
                    double firstIndicator) {
    DocumentSummary s;
    s.ok = true;
    s.file = company + "-" + std::to_string(static_cast<int>(to)) + ".mvk";  // one file a period
    s.company = company;
    s.from = from;
    s.to = to;
    s.amounts[kAssets] = assets;
    s.amounts[kAssets - 1] = assets - 1;  // the previous year's
    s.indicators[0] = firstIndicator;
    return s;
}

DocumentSummary Year(const std::string& company, int year, double assets, double indicator) {
    return Doc(company, DayNumber(year, 1, 1), DayNumber(year, 12, 31), assets, indicator);
}

TEST(ComparisonFigures, EachReadableRowGivesItsCompanyAndPeriodAPoint) {
    ComparisonTable table(kHr);
    DocumentSummary failed;
    failed.file = "ostecen.mvk";
    failed.error = "nije Movik dokument";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    table.Add({Year("Žito d.d.", 2024, 200, 1.5), failed, Year("Čvor", 2023, 100, nan),
               Year("ŽITO D.D.", 2023, 150, 1.25),
               Doc("Čvor", DayNumber(2023, 7, 1), DayNumber(2024, 6, 30), 120, 2)});
    const std::vector<FigureAcrossDocuments> figures = ComparisonFigures(table, kHr);
    ASSERT_EQ(figures.size(), kKeyAmountCount + kIndicatorRows.size() + kNamedScoreCount);

    const FigureAcrossDocuments& assets = figures[kAssets];
    EXPECT_EQ(assets.name, "Ukupna aktiva");
    ASSERT_EQ(assets.points.size(), 4u);  // the failed file has none
    const auto expect = [](const FigurePoint& p, const char* company, const char* period, double to,
                           double value) {
        EXPECT_EQ(p.company, company);
        EXPECT_EQ(p.period, period);
        EXPECT_EQ(p.periodEnd, to);
        EXPECT_EQ(p.value, value);
    };
    // Another spelling of a company is drawn under its first one.
    expect(assets.points[0], "Žito d.d.", "2024.", DayNumber(2024, 12, 31), 200);
    expect(assets.points[1], "Čvor", "2023.", DayNumber(2023, 12, 31), 100);
    expect(assets.points[2], "Žito d.d.", "2023.", DayNumber(2023, 12, 31), 150);
    expect(assets.points[3], "Čvor", "01.07.2023. – 30.06.2024.", DayNumber(2024, 6, 30), 120);
    // The previous year's total assets belong to the year before.
    const FigureAcrossDocuments& before = figures[kAssets - 1];
    ASSERT_EQ(before.points.size(), 4u);
    expect(before.points[0], "Žito d.d.", "2023.", DayNumber(2023, 12, 31), 199);
    expect(before.points[3], "Čvor", "01.07.2022. – 30.06.2023.", DayNumber(2023, 6, 30), 119);

    // An indicator that could not be computed leaves its document out.
    const FigureAcrossDocuments& first = figures[kKeyAmountCount];
    EXPECT_EQ(first.name, "Kratkoročna likvidnost");
    ASSERT_EQ(first.points.size(), 3u);
    EXPECT_EQ(first.points[1].value, 1.25);
    EXPECT_EQ(first.points[2].value, 2);
}

TEST(ComparisonFigures, FollowTheTableOrderAndMarkPercentages) {
    ComparisonTable table(kHr);
    table.Add({Year("Beta", 2023, 1, 0), Year("Alfa", 2023, 2, 0), Year("Alfa", 2022, 3, 0)});
    table.SetGrouped(true);
    const std::vector<FigureAcrossDocuments> figures = ComparisonFigures(table, kHr);
    const std::vector<FigurePoint>& points = figures[kAssets].points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].value, 3);  // Alfa 2022., Alfa 2023., Beta 2023.
    EXPECT_EQ(points[2].company, "Beta");
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        // Rentability and the debt ratios are shown in percent; the others are coefficients.
        const int row = kIndicatorRows[i];
        const bool percent = (row >= 11 && row <= 13) || row == 16 || row == 17;
        EXPECT_EQ(figures[kKeyAmountCount + i].percent, percent) << row;
    }
}

// A figure a document cannot compute (a d.o.o.'s earnings per share: no shares) gets no point
// at 0; the chart names the documents it leaves out, a long list cut with a count.
TEST(ComparisonFigures, FiguresThatCannotBeComputedAreLeftOutAndNamed) {
    constexpr std::size_t kPerShare = 10;  // row 14 of the indicators
    ASSERT_EQ(kIndicatorRows[kPerShare], 14);
    const auto withoutShares = [](DocumentSummary s) {
        s.indicatorNotComputable[kPerShare] = true;
        return s;
    };
    const struct {
        std::vector<DocumentSummary> docs;
        std::size_t points;
        std::string note;
    } cases[] = {
        {{Year("Hrast d.d.", 2023, 1, 0), withoutShares(Year("Lipa d.o.o.", 2023, 1, 0))},
         1,
         "Nije prikazano (ne može se izračunati, nazivnik je 0): Lipa d.o.o. 2023."},
        {{Year("Hrast d.d.", 2023, 1, 0)}, 1, ""},
        {{withoutShares(Year("A", 2021, 1, 0)), withoutShares(Year("B", 2022, 1, 0)),
          withoutShares(Year("C", 2023, 1, 0)), withoutShares(Year("D", 2024, 1, 0)),
          withoutShares(Year("E", 2025, 1, 0)), withoutShares(Year("F", 2025, 1, 0))},
         0,
         "Nije prikazano (ne može se izračunati, nazivnik je 0): A 2021., B 2022., C 2023., "
         "D 2024. i još 2."},
    };
    for (const auto& c : cases) {
        ComparisonTable table(kHr);
        table.Add(c.docs);
        const FigureAcrossDocuments perShare =
            ComparisonFigures(table, kHr)[kKeyAmountCount + kPerShare];
        EXPECT_EQ(perShare.points.size(), c.points) << c.note;
        EXPECT_EQ(perShare.points.size() + perShare.leftOut.size(), c.docs.size());
        const ChartPicture picture = FigureChart(perShare);
        EXPECT_EQ(picture.note, c.note);
        // Only the computed documents stand on the axes.
        EXPECT_EQ(picture.panels[0].categories.size(), c.points);
    }
}

// A set mixing kunas and euros is charted in euros: the amount axes say so, the periods of
// converted amounts carry "*" and the note names those documents with the rate; a ratio has no
// unit. The saved drawing holds the same texts.
TEST(ComparisonFigures, AMixedSetNamesItsUnitAndItsConvertedPoints) {
    const auto kuna = [](int year, double assets) {
        DocumentSummary s = Year("Žitna polja d.o.o.", year, assets, 1.5);
        EuroFigures euro;
        for (std::size_t k = 0; k < s.amounts.size(); ++k) {
            euro.amounts[k] = s.amounts[k] / 7.5345;
        }
        euro.indicators = s.indicators;
        s.inEuro = euro;
        return s;
    };
    DocumentSummary inEuro = Year("Žitna polja d.o.o.", 2023, 500, 2);
    inEuro.currency = Valuta::Eur;
    ComparisonTable table(kHr);
    table.Add({kuna(2021, 3000), inEuro, kuna(2022, 3500)});
    const std::vector<FigureAcrossDocuments> figures = ComparisonFigures(table, kHr);
    const ChartPicture assets = FigureChart(figures[kAssets]);
    for (const ChartPanel& panel : assets.panels) {
        EXPECT_EQ(panel.valueTitle, "Iznosi u eurima i centima");
    }
    EXPECT_EQ(assets.panels[1].categories, (std::vector<std::string>{"2021.*", "2022.*", "2023."}));
    EXPECT_EQ(assets.note,
              "* Preračunato iz kuna u eure po fiksnom tečaju konverzije 7,53450 kn za 1 euro: "
              "Žitna polja d.o.o. 2021., Žitna polja d.o.o. 2022.");
    const ChartPicture ratio = FigureChart(figures[kKeyAmountCount]);
    EXPECT_EQ(ratio.note, "");
    EXPECT_EQ(ratio.panels[0].valueTitle, "");
    EXPECT_EQ(ratio.panels[1].categories, (std::vector<std::string>{"2021.", "2022.", "2023."}));

    const QString svg = QString::fromUtf8(
        RenderChartSvg(assets, QSize(kChartWidth, kChartHeight), QLocale(QLocale::Croatian)));
    for (const char* text : {"Iznosi u eurima i centima", "2021.*", "7,53450"}) {
        EXPECT_TRUE(svg.contains(QString::fromUtf8(text))) << text;
    }
}

}  // namespace
}  // namespace movik

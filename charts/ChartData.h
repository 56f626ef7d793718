#pragma once
// What a chart shows, before any drawing: panels of categories and series of values taken from
// the statements. The pictures of one document (balance-sheet structure, income statement) and
// of one figure across many documents are built here; ChartRender.h draws them.

#include <string>
#include <vector>

#include "model/Document.h"
#include "model/Regional.h"

namespace movik {

// BoxPlots: a box per category (ChartPanel::boxes) with each series drawn over them as points.
enum class SeriesStyle { StackedBars, Bars, Lines, BoxPlots };

// One box of a box plot: a group's least value, first quartile, median, third quartile and
// greatest value (the whiskers reach the least and the greatest).
struct ChartBox {
    double low = 0;
    double q1 = 0;
    double median = 0;
    double q3 = 0;
    double high = 0;
};

// One series: a value per category of its panel (NaN where it has none).
struct ChartSeries {
    std::string name;
    std::vector<double> values;
};

struct ChartPanel {
    std::string title;
    SeriesStyle style = SeriesStyle::Bars;
    std::vector<std::string> categories;
    std::vector<ChartSeries> series;
    bool percent = false;  // values are percentages (12.5 means 12.5 %)
    // The value axis's title (the unit of the amounts), empty for none.
    std::string valueTitle;
    // The colour of the first series: another panel of the picture that shows other things
    // starts after the colours of the first, so that one colour means one thing.
    std::size_t firstColour = 0;
    // BoxPlots: one box per category (a category without one has all NaN), and its legend text.
    std::vector<ChartBox> boxes;
    std::string boxName;
};

// A picture: a title over panels laid out side by side, and a note under the title when the
// picture leaves something out.
struct ChartPicture {
    std::string title;
    std::vector<ChartPanel> panels;
    std::string note;
    // The texts' sizes: 1 in files and on paper; on the screen they grow with a larger system
    // font, as the window's own texts do.
    double fontScale = 1.0;
};

// A value axis with round steps: 1, 2, 2.5 or 5 times a power of ten, at most kMaxAxisSteps of
// them, from a multiple of the step at or below min(low, 0) to one at or above max(high, 0).
// So the axis reaches below zero only as far as the data does, rounded out to one step, and
// the largest value fills most of its side. Equal ends (nothing to show) give 0 to 1.
struct AxisRange {
    double min = 0;
    double max = 1;
    double step = 0.25;
};
inline constexpr int kMaxAxisSteps = 8;
AxisRange NiceAxisRange(double low, double high);

// The stretches of a line series between its missing values, as [first, last) indices: a line
// is drawn along each stretch and never bridges a missing value (a year without a document);
// a stretch of one value is a lone point.
struct LineStretch {
    std::size_t first = 0;
    std::size_t last = 0;
    bool operator==(const LineStretch&) const = default;
};
std::vector<LineStretch> LineStretches(const std::vector<double>& values);

// False when every value of every panel is 0 or missing: there is nothing to draw, and the
// picture says so (kNothingToShow) instead of showing empty axes.
bool HasValuesToShow(const ChartPicture& picture);
inline constexpr char kNothingToShow[] = "Nema iznosa za prikaz.";

// The amount panels' axes titled with the unit of the amounts ("Iznosi u " and unit, e.g.
// "eurima i centima"), the share panels' with "%".
void SetAmountUnit(ChartPicture& picture, const std::string& unit);

// The balance-sheet structure of both years as stacked bars, assets beside equity and
// liabilities: one panel in amounts, one in shares of total assets (as the grid's shares).
// Assets: long-term, short-term, other (unpaid subscribed capital, prepaid expenses, loss above
// the capital); equity and liabilities: capital and reserves, long-term provisions and
// liabilities together, short-term liabilities, accruals.
ChartPicture StructureChart(const TDokument& doc, const RegionalSettings& rs);

// The income statement: revenues, expenses and the result, operating, financial and in total
// before tax.
ChartPicture IncomeChart(const TDokument& doc, const RegionalSettings& rs);

// One figure of one document in a comparison.
struct FigurePoint {
    std::string company;
    std::string period;    // the period as its label shows it, e.g. "2023."
    double periodEnd = 0;  // the period's end date (day number), orders the periods
    double value = 0;
    bool converted = false;  // an amount converted into the figure's currency
};

// One indicator or key amount across compared documents.
struct FigureAcrossDocuments {
    std::string name;  // e.g. "Kratkoročna likvidnost"
    bool percent = false;
    std::vector<FigurePoint> points;
    // The documents without a point because the figure cannot be computed for them (a
    // denominator of 0), as company and period label.
    std::vector<FigurePoint> leftOut;
    // The unit of an amount figure ("eurima i centima"), empty for a ratio.
    std::string unit{};
    // How the converted points were converted ("Preračunato iz kuna u eure po …").
    std::string conversion{};
};

// Bars by company (a bar per period) and a line per company across the periods. Companies keep
// the order of their first point; periods go by end date. The value axes name the unit ("Iznosi
// u " and unit, "%" for percentages). A period with a converted point is marked "*"; the note
// names the documents left out and, after "*" and the conversion, the converted ones.
ChartPicture FigureChart(const FigureAcrossDocuments& figure);

}  // namespace movik

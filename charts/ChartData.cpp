#include "charts/ChartData.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "model/Dates.h"
#include "model/StatementRows.h"

namespace movik {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Part {
    const char* name;
    bool liabilities;       // stacked on the equity-and-liabilities bar
    std::vector<int> rows;  // Bilanca rows summed
};

using B = BilancaRow;
using R = RacunRow;

const std::vector<Part>& StructureParts() {
    static const std::vector<Part> parts = {
        {"Dugotrajna imovina", false, {B::FixedAssets}},
        {"Kratkotrajna imovina", false, {B::CurrentAssets}},
        {"Ostala aktiva",
         false,
         {B::SubscribedCapitalUnpaid, B::PrepaidExpenses, B::LossAboveCapital}},
        {"Kapital i rezerve", true, {B::Equity}},
        {"Dugoročna rezerviranja i obveze", true, {B::LongTermProvisions, B::LongTermLiabilities}},
        {"Kratkoročne obveze", true, {B::ShortTermLiabilities}},
        {"Pasivna vremenska razgraničenja", true, {B::AccruedExpenses}},
    };
    return parts;
}

double Sum(const TDokument& doc, const std::vector<int>& rows, bool current) {
    double sum = 0;
    for (int r : rows) {
        const TStavkaBilanca& row = doc.Bilanca.row(r);
        sum += current ? row.IznosTekuca : row.IznosPrethodna;
    }
    return sum;
}

std::string DateText(double day, const RegionalSettings& rs) {
    return FormatShortDate(day, WithFourDigitYear(rs.shortDateFormat));
}

std::string TitleOf(const TDokument& doc, const std::string& what) {
    return doc.Poduzece.empty() ? what : doc.Poduzece + " – " + what;
}

// "Nije prikazano (ne može se izračunati, nazivnik je 0): A d.o.o. 2023., B d.d. 2024.", the
// list cut after a few documents with how many more there are.
std::string PointsNote(const std::string& lead, const std::vector<FigurePoint>& points) {
    if (points.empty()) {
        return {};
    }
    constexpr std::size_t kNamed = 4;
    std::string note = lead;
    for (std::size_t i = 0; i < points.size() && i < kNamed; ++i) {
        note += (i ? ", " : "") + points[i].company + " " + points[i].period;
    }
    if (points.size() > kNamed) {
        note += " i još " + std::to_string(points.size() - kNamed);
    }
    // A period label "2023." ends the sentence itself.
    return note.back() == '.' ? note : note + ".";
}

std::string LeftOutNote(const FigureAcrossDocuments& figure) {
    return PointsNote("Nije prikazano (ne može se izračunati, nazivnik je 0): ", figure.leftOut);
}

// "* Preračunato iz kuna u eure po …: A d.o.o. 2021., 2022.", empty when none was converted.
std::string ConvertedNote(const FigureAcrossDocuments& figure) {
    std::vector<FigurePoint> converted;
    std::copy_if(figure.points.begin(), figure.points.end(), std::back_inserter(converted),
                 [](const FigurePoint& p) { return p.converted; });
    return PointsNote("* " + figure.conversion + ": ", converted);
}

std::string Joined(const std::string& a, const std::string& b) {
    return a.empty() || b.empty() ? a + b : a + " " + b;
}

}  // namespace

AxisRange NiceAxisRange(double low, double high) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (!std::isfinite(low) || !std::isfinite(high) || low == high) {
        return {};
    }
    // Steps counted with a little tolerance, so that a value a rounding error above a multiple
    // of the step does not take one more.
    const auto stepsTo = [](double value, double step) { return std::ceil(value / step - 1e-9); };
    const double magnitude = std::pow(10.0, std::floor(std::log10((high - low) / kMaxAxisSteps)));
    double step = magnitude;
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0, 20.0}) {
        step = m * magnitude;
        if (stepsTo(high, step) + stepsTo(-low, step) <= kMaxAxisSteps) {
            break;
        }
    }
    // -0.0 would show as "-0".
    return {stepsTo(-low, step) == 0 ? 0.0 : -stepsTo(-low, step) * step,
            stepsTo(high, step) * step, step};
}

bool HasValuesToShow(const ChartPicture& picture) {
    for (const ChartPanel& panel : picture.panels) {
        for (const ChartBox& box : panel.boxes) {
            if (std::isfinite(box.median)) {
                return true;
            }
        }
        for (const ChartSeries& series : panel.series) {
            for (const double v : series.values) {
                if (std::isfinite(v) && v != 0) {
                    return true;
                }
            }
        }
    }
    return false;
}

void SetAmountUnit(ChartPicture& picture, const std::string& unit) {
    for (ChartPanel& panel : picture.panels) {
        panel.valueTitle = panel.percent ? "%" : unit.empty() ? "Iznosi" : "Iznosi u " + unit;
    }
}

ChartPicture StructureChart(const TDokument& doc, const RegionalSettings& rs) {
    // A balance-sheet date at the end of a calendar year is named by its year, which fits under
    // a bar; any other date is written whole.
    const CivilDate end = CivilFromDayNumber(doc.DatumDo);
    const bool yearEnd = end.month == 12 && end.day == 31;
    const std::string previous =
        yearEnd ? std::to_string(end.year - 1) + "." : DateText(OneYearBack(doc.DatumDo), rs);
    const std::string current =
        yearEnd ? std::to_string(end.year) + "." : DateText(doc.DatumDo, rs);
    const std::vector<std::string> categories = {"Aktiva\n" + previous, "Pasiva\n" + previous,
                                                 "Aktiva\n" + current, "Pasiva\n" + current};
    ChartPanel amounts{"Iznosi", SeriesStyle::StackedBars, categories, {}, false, {}, 0, {}, {}};
    ChartPanel shares{"Udjeli u ukupnoj aktivi (%)",
                      SeriesStyle::StackedBars,
                      categories,
                      {},
                      true,
                      {},
                      0,
                      {},
                      {}};
    const TStavkaBilanca& total = doc.Bilanca.row(B::TotalAssets);
    const double totals[2] = {total.IznosPrethodna, total.IznosTekuca};
    for (const Part& part : StructureParts()) {
        ChartSeries amount{part.name, std::vector<double>(4, 0.0)};
        ChartSeries share{part.name, std::vector<double>(4, 0.0)};
        for (int year = 0; year < 2; ++year) {
            const double value = Sum(doc, part.rows, year == 1);
            const std::size_t column =
                static_cast<std::size_t>(2 * year + (part.liabilities ? 1 : 0));
            amount.values[column] = value;
            share.values[column] = totals[year] != 0 ? value / totals[year] * 100 : 0.0;
        }
        amounts.series.push_back(std::move(amount));
        shares.series.push_back(std::move(share));
    }
    return {TitleOf(doc, "Struktura bilance"), {std::move(amounts), std::move(shares)}, {}};
}

ChartPicture IncomeChart(const TDokument& doc, const RegionalSettings& rs) {
    const auto r = [&doc](int n) { return doc.Racun.row(n).Iznos; };
    ChartPanel panel{
        "Prihodi, rashodi i rezultat",
        SeriesStyle::Bars,
        {"Poslovni", "Financijski", "Ukupno (prije poreza)"},
        {{"Prihodi", {r(R::OperatingRevenue), r(R::FinancialRevenue), r(R::TotalRevenue)}},
         {"Rashodi", {r(R::OperatingExpenses), r(R::FinancialExpenses), r(R::TotalExpenses)}},
         {"Rezultat",
          {r(R::OperatingRevenue) - r(R::OperatingExpenses),
           r(R::FinancialRevenue) - r(R::FinancialExpenses), r(R::ResultBeforeTax)}}},
        false,
        {},
        0,
        {},
        {}};
    return {
        TitleOf(doc, "Račun dobiti i gubitka " + PeriodText(doc.DatumOd, doc.DatumDo,
                                                            WithFourDigitYear(rs.shortDateFormat))),
        {std::move(panel)},
        {}};
}

std::vector<LineStretch> LineStretches(const std::vector<double>& values) {
    std::vector<LineStretch> stretches;
    for (std::size_t i = 0; i < values.size();) {
        if (!std::isfinite(values[i])) {
            ++i;
            continue;
        }
        LineStretch stretch{i, i};
        while (stretch.last < values.size() && std::isfinite(values[stretch.last])) {
            ++stretch.last;
        }
        i = stretch.last;
        stretches.push_back(stretch);
    }
    return stretches;
}

namespace {

using Period = std::pair<double, std::string>;  // end date, label

void AddPeriod(std::vector<Period>& periods, double end, const std::string& label) {
    const bool known = std::any_of(periods.begin(), periods.end(),
                                   [&label](const Period& p) { return p.second == label; });
    if (!known) {
        periods.emplace_back(end, label);
    }
}

// The labels in period order (by end date).
std::vector<std::string> Labels(std::vector<Period> periods) {
    std::stable_sort(periods.begin(), periods.end(),
                     [](const Period& a, const Period& b) { return a.first < b.first; });
    std::vector<std::string> labels;
    for (const Period& p : periods) {
        labels.push_back(p.second);
    }
    return labels;
}

// The calendar year a period label stands for ("2023." ending on 31 December), or 0.
int CalendarYearOf(const Period& p) {
    const CivilDate end = CivilFromDayNumber(p.first);
    return end.month == 12 && end.day == 31 && p.second == std::to_string(end.year) + "." ? end.year
                                                                                          : 0;
}

// The periods of the lines: those with a value, those left out, and the calendar years missing
// between two calendar years shown, so that no line joins two years across one without a value.
std::vector<std::string> LinePeriods(std::vector<Period> periods,
                                     const FigureAcrossDocuments& figure) {
    for (const FigurePoint& p : figure.leftOut) {
        AddPeriod(periods, p.periodEnd, p.period);
    }
    std::vector<int> years;
    for (const Period& p : periods) {
        if (const int year = CalendarYearOf(p); year != 0) {
            years.push_back(year);
        }
    }
    std::sort(years.begin(), years.end());
    for (std::size_t i = 1; i < years.size(); ++i) {
        for (int year = years[i - 1] + 1; year < years[i]; ++year) {
            AddPeriod(periods, DayNumber(year, 12, 31), std::to_string(year) + ".");
        }
    }
    return Labels(std::move(periods));
}

}  // namespace

ChartPicture FigureChart(const FigureAcrossDocuments& figure) {
    std::vector<std::string> companies;
    std::vector<Period> periods;
    for (const FigurePoint& p : figure.points) {
        if (std::find(companies.begin(), companies.end(), p.company) == companies.end()) {
            companies.push_back(p.company);
        }
        AddPeriod(periods, p.periodEnd, p.period);
    }
    // The bars show the periods with a value; the lines every period in between too.
    const std::vector<std::string> periodLabels = Labels(periods);
    const std::vector<std::string> lineLabels = LinePeriods(periods, figure);
    const auto indexOf = [](const std::vector<std::string>& list, const std::string& item) {
        return static_cast<std::size_t>(std::find(list.begin(), list.end(), item) - list.begin());
    };

    ChartPanel byCompany{
        "Po poduzećima", SeriesStyle::Bars, companies, {}, figure.percent, {}, 0, {}, {}};
    for (const std::string& period : periodLabels) {
        byCompany.series.push_back({period, std::vector<double>(companies.size(), kNone)});
    }
    // The lines are companies, the bars periods: the lines take the colours after the bars'.
    ChartPanel acrossYears{"Kroz razdoblja",
                           SeriesStyle::Lines,
                           lineLabels,
                           {},
                           figure.percent,
                           {},
                           periodLabels.size(),
                           {},
                           {}};
    for (const std::string& company : companies) {
        acrossYears.series.push_back({company, std::vector<double>(lineLabels.size(), kNone)});
    }
    for (const FigurePoint& p : figure.points) {
        const std::size_t c = indexOf(companies, p.company);
        byCompany.series[indexOf(periodLabels, p.period)].values[c] = p.value;
        acrossYears.series[c].values[indexOf(lineLabels, p.period)] = p.value;
    }
    // A period with a converted amount carries the note's sign, on the legend and on the axis.
    for (const FigurePoint& p : figure.points) {
        if (p.converted) {
            std::string& name = byCompany.series[indexOf(periodLabels, p.period)].name;
            std::string& label = acrossYears.categories[indexOf(lineLabels, p.period)];
            name += name.ends_with('*') ? "" : "*";
            label += label.ends_with('*') ? "" : "*";
        }
    }
    ChartPicture picture{figure.name,
                         {std::move(byCompany), std::move(acrossYears)},
                         Joined(LeftOutNote(figure), ConvertedNote(figure))};
    SetAmountUnit(picture, figure.unit);
    if (figure.unit.empty() && !figure.percent) {
        for (ChartPanel& panel : picture.panels) {
            panel.valueTitle.clear();  // a ratio has no unit
        }
    }
    return picture;
}

}  // namespace movik

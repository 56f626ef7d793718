#include "charts/ComparisonFigures.h"

#include <cmath>
#include <map>

#include "analysis/EuroConversion.h"
#include "model/Currency.h"
#include "model/Dates.h"
#include "model/Templates.h"

namespace movik {

std::string PeriodLabel(double from, double to, const RegionalSettings& rs) {
    const CivilDate start = CivilFromDayNumber(from);
    const CivilDate end = CivilFromDayNumber(to);
    if (start.year == end.year && start.month == 1 && start.day == 1 && end.month == 12 &&
        end.day == 31) {
        return std::to_string(end.year) + ".";
    }
    return PeriodText(from, to, rs.shortDateFormat);
}

namespace {

// The balance sheet's previous-year column belongs to the year before the document's period.
bool OfPreviousYear(KeyAmount k) {
    return k == KeyAmount::TotalAssetsPrevious || k == KeyAmount::EquityPrevious;
}

// An indicator's name without the grid's numbering within its group ("2. Trenutna likvidnost").
std::string WithoutNumbering(const std::string& caption) {
    std::size_t i = 0;
    while (i < caption.size() && caption[i] >= '0' && caption[i] <= '9') {
        ++i;
    }
    if (i > 0 && caption.compare(i, 2, ". ") == 0) {
        return caption.substr(i + 2);
    }
    return caption;
}

}  // namespace

std::vector<FigureAcrossDocuments> ComparisonFigures(const ComparisonTable& table,
                                                     const RegionalSettings& rs) {
    std::vector<FigureAcrossDocuments> figures;
    for (const KeyAmountFacts& k : kKeyAmounts) {
        figures.push_back({std::string(k.caption), false, {}, {}});
    }
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        const bool percent = TemplateRow(Statement::Pok, kIndicatorRows[i]).Format.find('%') !=
                             std::string_view::npos;
        figures.push_back(
            {WithoutNumbering(IndicatorCaption(static_cast<int>(i), table.currency())),
             percent,
             {},
             {}});
    }
    // Amounts (and per-share figures) in the table's currency; the converted ones say how.
    const std::string unit =
        table.currency() ? std::string(AmountUnitText(*table.currency())) : std::string();
    for (std::size_t f = 0; f < figures.size(); ++f) {
        const bool money =
            f < kKeyAmounts.size() || IsMoneyIndicator(static_cast<int>(f - kKeyAmounts.size()));
        figures[f].unit = money ? unit : std::string();
        figures[f].conversion = "Preračunato iz kuna u eure po fiksnom tečaju konverzije " +
                                std::string(kKunaPerEuroText) + " kn za 1 euro";
    }
    const std::size_t firstScore = figures.size();
    for (const NamedScoreFacts& f : kNamedScores) {
        figures.push_back({"Bonitet: " + std::string(f.caption), false, {}, {}});
    }
    std::map<std::string, std::string> spelling;  // collation key -> first spelling
    for (int r = 0; r < table.rowCount(); ++r) {
        const DocumentSummary& s = table.Summary(r);
        if (!s.ok) {
            continue;
        }
        const std::string& company =
            spelling.try_emplace(CollationKey(s.company), s.company).first->second;
        const std::string period = PeriodLabel(s.from, s.to, rs);
        const double previousTo = OneYearBack(s.to);
        const std::string previous = PeriodLabel(OneYearBack(s.from), previousTo, rs);
        const auto add = [&](FigureAcrossDocuments& figure, double value, bool previousYear) {
            if (std::isfinite(value)) {
                figure.points.push_back({company, previousYear ? previous : period,
                                         previousYear ? previousTo : s.to, value,
                                         s.converted && !figure.unit.empty()});
            }
        };
        for (std::size_t k = 0; k < s.amounts.size(); ++k) {
            add(figures[k], s.amounts[k], OfPreviousYear(kKeyAmounts[k].amount));
        }
        for (std::size_t i = 0; i < s.indicators.size(); ++i) {
            FigureAcrossDocuments& figure = figures[s.amounts.size() + i];
            if (s.indicatorNotComputable[i]) {
                figure.leftOut.push_back({company, period, s.to, 0, false});
            } else {
                add(figure, s.indicators[i], false);
            }
        }
        for (std::size_t i = 0; i < s.namedScores.size(); ++i) {
            FigureAcrossDocuments& figure = figures[firstScore + i];
            if (const std::optional<double> v = s.namedScores[i].value) {
                add(figure, *v, false);
            } else {
                figure.leftOut.push_back({company, period, s.to, 0, false});
            }
        }
    }
    return figures;
}

}  // namespace movik

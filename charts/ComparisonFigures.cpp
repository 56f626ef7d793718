#include "charts/ComparisonFigures.h"

#include <cmath>
#include <map>

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
    return FormatShortDate(from, rs.shortDateFormat) + " – " +
           FormatShortDate(to, rs.shortDateFormat);
}

std::vector<FigureAcrossDocuments> ComparisonFigures(const ComparisonTable& table,
                                                     const RegionalSettings& rs) {
    std::vector<FigureAcrossDocuments> figures;
    for (const KeyAmountFacts& k : kKeyAmounts) {
        figures.push_back({std::string(k.caption), false, {}});
    }
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        const bool percent = TemplateRow(Statement::Pok, kIndicatorRows[i]).Format.find('%') !=
                             std::string_view::npos;
        figures.push_back({IndicatorCaption(static_cast<int>(i)), percent, {}});
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
        const auto add = [&](FigureAcrossDocuments& figure, double value) {
            if (std::isfinite(value)) {
                figure.points.push_back({company, period, s.to, value});
            }
        };
        for (std::size_t k = 0; k < s.amounts.size(); ++k) {
            add(figures[k], s.amounts[k]);
        }
        for (std::size_t i = 0; i < s.indicators.size(); ++i) {
            add(figures[s.amounts.size() + i], s.indicators[i]);
        }
    }
    return figures;
}

}  // namespace movik

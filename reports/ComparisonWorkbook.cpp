#include "reports/ComparisonWorkbook.h"

#include <cmath>

#include "analysis/EuroConversion.h"
#include "model/Currency.h"
#include "model/Document.h"
#include "model/Templates.h"
#include "reports/DocumentWorkbook.h"

namespace movik {

namespace {

// The pattern the table formats a numeric column with (empty for text columns).
std::string_view PatternOf(const ComparisonColumn& col) {
    switch (col.kind) {
        case ComparisonColumn::Kind::Amount:
            return AmountFormat;
        case ComparisonColumn::Kind::Change:
            return kChangeFormat;
        case ComparisonColumn::Kind::Indicator:
            return TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(col.index)])
                .Format;
        case ComparisonColumn::Kind::Score:
            return kScoreFormat;
        default:
            return {};
    }
}

// The lines over the table, as the printed comparison's notes: the currency of every amount
// and, when kuna documents were converted, what their "*" means and the rate.
std::vector<std::string> CurrencyNotes(const ComparisonTable& table) {
    std::vector<std::string> notes;
    if (!table.currency()) {
        return notes;
    }
    const Valuta v = *table.currency();
    notes.push_back("Iznosi u " + std::string(AmountUnitText(v)) + " (" +
                    std::string(CurrencyCode(v)) + ").");
    for (int r = 0; r < table.rowCount(); ++r) {
        if (table.Summary(r).converted) {
            notes.push_back(std::string(CurrencyCode(v)) +
                            "*: iznosi dokumenta u kunama preračunati u eure po fiksnom tečaju "
                            "konverzije " +
                            std::string(kKunaPerEuroText) + " kn za 1 euro.");
            break;
        }
    }
    return notes;
}

}  // namespace

Workbook ComparisonWorkbook(const ComparisonTable& table) {
    WorkbookSheet sheet;
    sheet.name = "Usporedba";
    sheet.notes = CurrencyNotes(table);
    std::vector<std::string_view> patterns;
    for (int c = 0; c < table.columnCount(); ++c) {
        sheet.headers.push_back(table.Caption(c));
        patterns.push_back(PatternOf(table.column(c)));
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        std::vector<WorkbookCell> cells;
        for (int c = 0; c < table.columnCount(); ++c) {
            const std::optional<double> number = table.Number(r, c);
            const std::string_view pattern = patterns[static_cast<std::size_t>(c)];
            std::string text = table.Text(r, c);
            // A cell the table leaves empty (a per-share figure without shares) stays empty.
            if (text.empty()) {
                cells.push_back(WorkbookCell::Blank());
            } else if (number && std::isfinite(*number) && !pattern.empty()) {
                const ExcelNumber excel = ExcelNumberFor(pattern, *number);
                cells.push_back(WorkbookCell::Of(*number * excel.scale, excel.format));
            } else {
                cells.push_back(WorkbookCell::Of(std::move(text)));
            }
        }
        sheet.rows.push_back(std::move(cells));
    }
    return {"Usporedba dokumenata", {std::move(sheet)}};
}

}  // namespace movik

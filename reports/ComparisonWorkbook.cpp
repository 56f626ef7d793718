#include "reports/ComparisonWorkbook.h"

#include <cmath>

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
        default:
            return {};
    }
}

}  // namespace

Workbook ComparisonWorkbook(const ComparisonTable& table) {
    WorkbookSheet sheet;
    sheet.name = "Usporedba";
    std::vector<ExcelNumber> formats;
    for (int c = 0; c < table.columnCount(); ++c) {
        sheet.headers.push_back(table.Caption(c));
        const std::string_view pattern = PatternOf(table.column(c));
        formats.push_back(pattern.empty() ? ExcelNumber{} : ExcelNumberFor(pattern));
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        std::vector<WorkbookCell> cells;
        for (int c = 0; c < table.columnCount(); ++c) {
            const std::optional<double> number = table.Number(r, c);
            const ExcelNumber& excel = formats[static_cast<std::size_t>(c)];
            std::string text = table.Text(r, c);
            if (number && std::isfinite(*number) && !excel.format.empty()) {
                cells.push_back(WorkbookCell::Of(*number * excel.scale, excel.format));
            } else if (!text.empty()) {
                cells.push_back(WorkbookCell::Of(std::move(text)));
            } else {
                cells.push_back(WorkbookCell::Blank());
            }
        }
        sheet.rows.push_back(std::move(cells));
    }
    return {"Usporedba dokumenata", {std::move(sheet)}};
}

}  // namespace movik

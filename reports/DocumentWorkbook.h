#pragma once
// The open document as a workbook: a sheet of general data and one sheet per statement, laid
// out as the grids are (row numbers, texts, amounts, shares, indicators), with every figure a
// number cell whose format shows it as the grid does.

#include <string>
#include <string_view>

#include "document/Workspace.h"
#include "reports/Workbook.h"

namespace movik {

// The Excel number format that shows a value as the grid pattern does, and the factor the value
// is multiplied by first: Excel's "%" multiplies by 100, while in the grid's patterns it is a
// plain character after a percentage number.
struct ExcelNumber {
    std::string format;
    double scale = 1;
};
ExcelNumber ExcelNumberFor(std::string_view gridPattern);
// The same for one value: where the grid's pattern shows decimals only when significant
// ("#,###.##"), the format has as many decimals as the grid shows for this value (18.4 reads
// "18,4", 18 reads "18").
ExcelNumber ExcelNumberFor(std::string_view gridPattern, double value);

// The grid's display pattern of a value column (0 for the fixed columns and texts).
std::string_view GridPattern(Statement s, int col, int row);

// unit: the amount unit the window shows (cbIznos), written on the general-data sheet.
Workbook DocumentWorkbook(const Workspace& ws, const std::string& unit);

}  // namespace movik

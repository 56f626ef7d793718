#pragma once
// The comparison table as a workbook: one sheet laid out as the table is shown (its columns and
// row order), every amount, change and indicator a number cell formatted as the table shows it.
// The first rows say the currency of the amounts and, when kunas were converted, what "EUR*"
// means and the rate, as the printed comparison's notes do.

#include "analysis/Comparison.h"
#include "reports/Workbook.h"

namespace movik {

Workbook ComparisonWorkbook(const ComparisonTable& table);

}  // namespace movik

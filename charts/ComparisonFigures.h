#pragma once
// The figures of a comparison table for its charts: every key amount and indicator across the
// table's readable documents, one point per document (company and period).

#include <string>
#include <vector>

#include "analysis/Comparison.h"
#include "charts/ChartData.h"
#include "model/Regional.h"

namespace movik {

// The period as a chart category: "2023." for a calendar year, else "from – to" in the short
// date format of rs.
std::string PeriodLabel(double from, double to, const RegionalSettings& rs);

// The key amounts, then the indicators (named without the grid's numbering), then the scores
// ("Bonitet: Altman Z''", a score that cannot be computed left out like an indicator), each with a
// point per readable row in the table's order (rows that failed and values that are not finite are
// left out; an indicator that cannot be computed for a document is left out and listed in leftOut).
// The previous-year amounts of the balance sheet stand at the year before the document's period. A
// company is named as its first row spells it, so spellings the table treats as one company make
// one bar group and one line.
std::vector<FigureAcrossDocuments> ComparisonFigures(const ComparisonTable& table,
                                                     const RegionalSettings& rs);

}  // namespace movik

#pragma once
// The comparison table as a landscape report in two parts: the key amounts (with each change
// against the company's previous period when the table is grouped) and the indicators.

#include <vector>

#include "analysis/Comparison.h"
#include "reports/PrintJobs.h"

namespace movik {

std::vector<PrintJob> ComparisonReportJobs(const ComparisonTable& table);

}  // namespace movik

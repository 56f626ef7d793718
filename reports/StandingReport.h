#pragma once
// The standing among peers as the comparison window's view "Položaj u skupini" shows it: a
// landscape report (the measures by their short codes, spelled out in the notes) and a workbook
// with the same rows, percentile ranks and quartiles as number cells.

#include <vector>

#include "analysis/StandingTable.h"
#include "reports/PrintJobs.h"
#include "reports/Workbook.h"

namespace movik {

std::vector<PrintJob> StandingReportJobs(const StandingTable& table);
Workbook StandingWorkbook(const StandingTable& table);

}  // namespace movik

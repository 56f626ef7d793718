#pragma once
// The report "Ocjena boniteta": the lines of the scores sheet (models with their bands and
// terms, the quick test, DuPont, the inputs) on A4 portrait pages, under the company and period.

#include <string>
#include <string_view>

#include "document/Workspace.h"
#include "model/Result.h"
#include "reports/PrintJobs.h"

namespace movik {

// The report's print job name and title.
inline constexpr std::string_view kScoresReportName = "Ocjena boniteta";

// The report of doc, its figures with the separators of rs; warning: the checks' warning ("" for
// none), printed under the table.
PrintJob LayOutScoresReport(const TDokument& doc, const RegionalSettings& rs,
                            const std::string& warning);

// The PDF's title: company + " – Ocjena boniteta".
std::string ScoresPdfTitle(const TDokument& doc);

// The workspace's report into a PDF file at path (a safe write); the failure's message.
Result ExportScoresPdf(const Workspace& ws, const std::string& path);

}  // namespace movik

#pragma once
// Exporting statement reports to a PDF file: the one export that the window's "Izvoz u PDF"
// commands and movik-cli pdf both run.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "document/Workspace.h"
#include "model/Result.h"
#include "reports/PrintJobs.h"

namespace movik {

// The laid-out jobs of a PDF export and the PDF's title.
struct PdfExport {
    std::vector<PrintJob> jobs;
    QString title;
};

// Lays out the report(s) of statement s, or all six when s is nullopt, from the workspace's
// document and grids, with unit in the unit lines. A report still running is left out.
PdfExport LayOutPdfExport(ReportSet& reports, const Workspace& ws, std::optional<Statement> s,
                          const std::string& unit);

// The PDF's bytes (RenderPdf).
QByteArray PdfExportBytes(const PdfExport& pdf);

// Lays the export out and writes it to path through a safe write; the failure's message.
Result ExportPdf(ReportSet& reports, const Workspace& ws, std::optional<Statement> s,
                 const std::string& unit, const std::string& path);

}  // namespace movik

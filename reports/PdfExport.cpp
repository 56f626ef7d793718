#include "reports/PdfExport.h"

#include "reports/ReportPaint.h"

namespace movik {

PdfExport LayOutPdfExport(ReportSet& reports, const Workspace& ws, std::optional<Statement> s,
                          const std::string& unit) {
    const PrintInputs in = PrintInputsOf(ws, unit);
    PdfExport pdf;
    pdf.jobs = s ? reports.PrintStatement(*s, in) : reports.PrintAll(in);
    const std::string title = PdfTitle(ws.document(), s ? &*s : nullptr);
    pdf.title = QString::fromUtf8(title.data(), qsizetype(title.size()));
    return pdf;
}

QByteArray PdfExportBytes(const PdfExport& pdf) {
    return RenderPdf(pdf.jobs, pdf.title);
}

Result ExportPdf(ReportSet& reports, const Workspace& ws, std::optional<Statement> s,
                 const std::string& unit, const std::string& path) {
    const PdfExport pdf = LayOutPdfExport(reports, ws, s, unit);
    return SavePdf(pdf.jobs, pdf.title, path);
}

}  // namespace movik

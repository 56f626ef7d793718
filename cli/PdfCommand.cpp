#include "cli/PdfCommand.h"

#include <QGuiApplication>
#include <cstdio>
#include <optional>

#include "model/StatementFacts.h"
#include "reports/PrintJobs.h"
#include "reports/ReportPaint.h"

namespace movik::cli {

namespace {

struct ReportName {
    bool known = false;
    std::optional<Statement> statement;  // nullopt: all six reports
};

// A statement's report by the statement's key, or all six by "sve".
ReportName Find(const std::string& report) {
    if (report == "sve") {
        return {true, std::nullopt};
    }
    for (const StatementFacts& facts : kStatementFacts) {
        if (report == facts.key) {
            return {true, facts.statement};
        }
    }
    return {};
}

}  // namespace

Result CheckPdfReport(const std::string& report) {
    if (!Find(report).known) {
        return Result::Fail("Nepoznat izvještaj: '" + report +
                            "' (bilanca, racun, cfind, cffree, pokazatelji, sve)");
    }
    return Result::Ok();
}

Result WritePdf(const Workspace& ws, const std::string& report, const std::string& unit,
                const std::string& path) {
    const ReportName which = Find(report);
    if (!which.known) {
        return CheckPdfReport(report);
    }
    // Fonts need a GUI application; the offscreen platform needs no display. Qt's own notes
    // (a missing runtime folder and the like) stay off standard error, which carries only our
    // one-line errors.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "movik-cli: %s\n", qPrintable(text));
        }
    });
    // "-platform offscreen" wins over QT_QPA_PLATFORM, so a display named there is never needed.
    int argc = 3;
    char name[] = "movik-cli";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    QGuiApplication app(argc, argv);

    ReportSet reports(ws.grids());
    const PrintInputs in = PrintInputsOf(ws, unit);
    const std::vector<PrintJob> jobs =
        which.statement ? reports.PrintStatement(*which.statement, in) : reports.PrintAll(in);
    const Statement* statement = which.statement ? &*which.statement : nullptr;
    const std::string title = PdfTitle(ws.document(), statement);
    const QString pdfTitle = QString::fromUtf8(title.data(), qsizetype(title.size()));
    if (path == "-") {
        const QByteArray pdf = RenderPdf(jobs, pdfTitle);
        if (std::fwrite(pdf.constData(), 1, std::size_t(pdf.size()), stdout) !=
                std::size_t(pdf.size()) ||
            std::fflush(stdout) != 0) {
            return Result::Fail("Pisanje na standardni izlaz nije uspjelo");
        }
        return Result::Ok();
    }
    return SavePdf(jobs, pdfTitle, path);
}

}  // namespace movik::cli

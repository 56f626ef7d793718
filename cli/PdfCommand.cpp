#include "cli/PdfCommand.h"

#include <QGuiApplication>
#include <cstdio>
#include <optional>

#include "cli/Command.h"
#include "model/StatementFacts.h"
#include "reports/PdfExport.h"
#include "reports/ReportPaint.h"
#include "reports/ScoresReport.h"

namespace movik::cli {

namespace {

struct ReportName {
    bool known = false;
    std::optional<Statement> statement;  // nullopt: all six reports
    bool scores = false;                 // the report "Ocjena boniteta"
};

// A statement's report by the statement's key, all six by "sve", the scores by "bonitet".
ReportName Find(const std::string& report) {
    if (report == "sve") {
        return {true, std::nullopt};
    }
    if (report == "bonitet") {
        return {true, std::nullopt, true};
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
                            "' (bilanca, racun, cfind, cffree, pokazatelji, bonitet, sve)");
    }
    return Result::Ok();
}

Result WritePdf(const Workspace& ws, const std::string& report, const std::string& unit,
                const std::string& path) {
    const ReportName which = Find(report);
    if (!which.known) {
        return CheckPdfReport(report);
    }
    // Fonts need a GUI application, on a platform that needs no display.
    OffscreenArguments offscreen;
    QGuiApplication app(offscreen.argc, offscreen.argv);

    ReportSet reports(ws.grids());
    if (which.scores && path != "-") {
        return ExportScoresPdf(ws, path);
    }
    if (path == "-") {
        const QByteArray pdf =
            which.scores
                ? RenderPdf({LayOutScoresReport(ws.document(), ws.settings(), ws.warning())},
                            QString::fromStdString(ScoresPdfTitle(ws.document())))
                : PdfExportBytes(LayOutPdfExport(reports, ws, which.statement, unit));
        if (std::fwrite(pdf.constData(), 1, std::size_t(pdf.size()), stdout) !=
                std::size_t(pdf.size()) ||
            std::fflush(stdout) != 0) {
            return Result::Fail("Pisanje na standardni izlaz nije uspjelo");
        }
        return Result::Ok();
    }
    return ExportPdf(reports, ws, which.statement, unit, path);
}

int RunPdf(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    const std::string* out = args.option("-o");
    if (out == nullptr || out->empty()) {
        Fail("Naredbi 'pdf' nedostaje -o IZLAZ.pdf");
    }
    const std::string* report = args.option("--report");
    const std::string which = report ? *report : "sve";
    if (const Result known = CheckPdfReport(which); !known) {
        Fail(known.message());
    }
    const std::string* unit = args.option("--unit");
    OpenAsWindow(ws, args.positional[1]);
    if (const Result written =
            WritePdf(ws, which, unit ? *unit : std::string(AmountUnitText(ws.currency())), *out);
        !written) {
        Fail(written.message());
    }
    return 0;
}

}  // namespace movik::cli

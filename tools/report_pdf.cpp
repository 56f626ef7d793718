// movik-report-pdf: writes the six statement reports of a document into one PDF, so a person
// (scripts/report-pages.sh) can look at the printed pages without a printer.
//
//   movik-report-pdf DOCUMENT.mvk OUT.pdf [--locale NAME] [--unit TEXT]

#include <QDate>
#include <QGuiApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "reports/ReportPaint.h"

namespace {

const char* const kUsage =
    "Upotreba: movik-report-pdf DOKUMENT.mvk IZLAZ.pdf [--locale NAZIV] [--unit TEKST]\n"
    "Ispisuje šest izvješća dokumenta u jedan PDF (A4).\n"
    "  --locale NAZIV  regionalne postavke brojeva i datuma (zadano: hr_HR)\n"
    "  --unit TEKST    jedinica iznosa (zadano: kunama i lipama)\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "movik-report-pdf: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string document, output, locale = "hr_HR", unit = "kunama i lipama";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if ((arg == "--locale" || arg == "--unit") && i + 1 < argc) {
            (arg == "--locale" ? locale : unit) = argv[++i];
        } else if (document.empty()) {
            document = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (document.empty() || output.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QLocale ql(QString::fromStdString(locale));
    movik::RegionalSettings rs;
    rs.thousandsSeparator = ql.groupSeparator().toStdString();
    rs.decimalSeparator = ql.decimalPoint().toStdString();
    rs.shortDateFormat = ql.dateFormat(QLocale::ShortFormat).toStdString();

    movik::Workspace ws(rs, QDate::currentDate().year());
    if (const movik::OpenOutcome opened = ws.OpenDocument(document); !opened) {
        return Fail(opened.missing() ? "dokument ne postoji: " + document : opened.message());
    }
    movik::ReportSet set(ws.grids());
    const auto jobs = set.PrintAll(movik::PrintInputsOf(ws, unit));
    const QString title = QString::fromStdString(movik::PdfTitle(ws.document(), nullptr));
    if (const movik::Result saved = movik::SavePdf(jobs, title, output); !saved) {
        return Fail(saved.message());
    }
    return 0;
}

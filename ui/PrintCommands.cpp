#include "ui/PrintCommands.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include "document/Csv.h"
#include "reports/PdfExport.h"
#include "reports/ReportPaint.h"
#include "reports/SystemPrinter.h"

namespace movik {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The page's short name for file names ("bilanca", "racun dobiti i gubitka", ...).
std::string ShortName(Statement s) {
    std::string name = DefaultCsvName(s);
    return name.substr(0, name.size() - 4);  // without ".csv"
}

}  // namespace

PrintCommands::PrintCommands(Workspace& ws, Dialogs& dialogs, std::function<std::string()> unit)
    : ws_(ws), dialogs_(dialogs), unit_(std::move(unit)), reports_(ws.grids()) {}

PrintInputs PrintCommands::Inputs() const {
    return PrintInputsOf(ws_, unit_());
}

void PrintCommands::Ispii1Click(std::optional<Statement> showing, QAction* bPrint) {
    // Enabled again, and the wait cursor gone, however the command ends (an exception
    // included).
    struct Reenable {
        QAction* action;
        ~Reenable() {
            QGuiApplication::restoreOverrideCursor();
            if (action != nullptr) {
                action->setEnabled(true);
            }
        }
    } reenable{bPrint};
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    if (bPrint != nullptr) {
        bPrint->setEnabled(false);
    }
    if (!showing) {
        return;  // the general-data page has no report
    }
    Submit(*showing, reports_.PrintStatement(*showing, Inputs()));
}

void PrintCommands::PrintBilanca() {
    Submit(Statement::Bilanca, reports_.PrintBilanca(Inputs()));
}
void PrintCommands::PrintRacun() {
    Submit(Statement::Racun, reports_.PrintRacun(Inputs()));
}
void PrintCommands::PrintCFInd() {
    Submit(Statement::CFInd, reports_.PrintCFInd(Inputs()));
}
void PrintCommands::PrintCFFree() {
    Submit(Statement::CFFree, reports_.PrintCFFree(Inputs()));
}
void PrintCommands::PrintPok() {
    Submit(Statement::Pok, reports_.PrintPok(Inputs()));
}

void PrintCommands::Submit(Statement s, const std::vector<PrintJob>& jobs) {
    const QString title = FromUtf8(PdfTitle(ws_.document(), &s));
    for (const PrintJob& job : jobs) {
        if (job.refused) {
            continue;  // its report is still running: this request is ignored
        }
        const QByteArray pdf = RenderPdf({job}, title);
        const PrintOutcome outcome = PrintPdfOnDefaultPrinter(pdf, job.name);
        if (outcome.status == PrintStatus::NoPrinter) {
            // Nothing is printed without a printer, but the user hears why.
            if (showNote) {
                showNote(QStringLiteral("Nije postavljen zadani pisač"));
            }
            return;
        }
        if (outcome.status == PrintStatus::Refused) {
            dialogs_.ShowError(FromUtf8(outcome.message));
            return;
        }
    }
}

void PrintCommands::PregledIspisaClick(std::optional<Statement> showing) {
    if (!showing) {
        return;
    }
    const Statement s = *showing;
    const std::vector<PrintJob> jobs = reports_.PrintStatement(s, Inputs());
    dialogs_.ShowPrintPreview(
        FromUtf8(PdfTitle(ws_.document(), &s)),
        [&jobs](QPrinter& printer) {
            PreparePagedDevice(printer);
            QPainter painter;
            if (painter.begin(&printer)) {
                PaintJobs(jobs, printer, painter);
                painter.end();
            }
        },
        [this, s] { Submit(s, reports_.PrintStatement(s, Inputs())); });
}

QString PrintCommands::DefaultPdfName(const std::string& documentPath, std::optional<Statement> s) {
    QString base = QStringLiteral("izvjesca");
    if (!documentPath.empty()) {
        const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(documentPath)));
        base = info.dir().filePath(info.completeBaseName());
    }
    if (s) {
        base += QStringLiteral(" - ") + FromUtf8(ShortName(*s));
    }
    return base + QStringLiteral(".pdf");
}

void PrintCommands::IzvozPdfClick(std::optional<Statement> s) {
    const FileDialogSetup setup{QStringLiteral("PDFSave"),
                              QStringLiteral("Izvoz u PDF"),
                              {{QStringLiteral("PDF dokument (*.pdf)"), QStringLiteral("*.pdf")},
                               {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
                              DefaultPdfName(ws_.document().ImeDatoteke, s),
                              QStringLiteral("pdf")};
    const std::optional<QString> path = dialogs_.ChooseSaveFile(setup);
    if (!path) {
        return;
    }
    const Result saved =
        ExportPdf(reports_, ws_, s, unit_(), QFile::encodeName(*path).toStdString());
    if (!saved) {
        dialogs_.ShowError(FromUtf8(saved.message()));
    }
}

}  // namespace movik

#include "ui/PrintCommands.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

#include "document/Csv.h"
#include "model/StatementFacts.h"
#include "reports/PdfExport.h"
#include "reports/ReportPaint.h"
#include "reports/ScoresReport.h"
#include "reports/SystemPrinter.h"
#include "ui/AnalysisCommands.h"

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
    : ws_(ws), dialogs_(dialogs), unit_(std::move(unit)), reports_(ws.grids()) {
    worker_.finished = [this](const PrintOutcome& outcome) { Finished(outcome); };
}

PrintInputs PrintCommands::Inputs() const {
    return PrintInputsOf(ws_, unit_());
}

PrintCommands::OutcomeShown PrintCommands::Main() {
    return [this](const QString& text, bool error) {
        if (error) {
            dialogs_.ShowError(text);
        } else if (showNote) {
            showNote(text);
        }
    };
}

PrintCommands::OutcomeShown PrintCommands::InWindow(QWidget* window, OutcomeShown shown) {
    return [alive = QPointer<QWidget>(window), shown = std::move(shown), main = Main()](
               const QString& text, bool error) {
        if (alive) {
            shown(text, error);
        } else {
            main(text, error);
        }
    };
}

void PrintCommands::Ispii1Click(std::optional<Statement> showing) {
    if (!showing && ScoresShowing() && !RefusedWhileBusy(Main())) {
        SubmitScores(Main());
        return;
    }
    if (RefusedWhileBusy(Main()) || !showing) {
        return;  // the general-data page has no report
    }
    Submit(*showing, reports_.PrintStatement(*showing, Inputs()), Main());
}

void PrintCommands::PrintBilanca() {
    Submit(Statement::Bilanca, reports_.PrintBilanca(Inputs()), Main());
}
void PrintCommands::PrintRacun() {
    Submit(Statement::Racun, reports_.PrintRacun(Inputs()), Main());
}
void PrintCommands::PrintCFInd() {
    Submit(Statement::CFInd, reports_.PrintCFInd(Inputs()), Main());
}
void PrintCommands::PrintCFFree() {
    Submit(Statement::CFFree, reports_.PrintCFFree(Inputs()), Main());
}
void PrintCommands::PrintPok() {
    Submit(Statement::Pok, reports_.PrintPok(Inputs()), Main());
}

void PrintCommands::Submit(Statement s, const std::vector<PrintJob>& jobs, OutcomeShown where) {
    const QString title = FromUtf8(PdfTitle(ws_.document(), &s));
    // The balance sheet's two halves by their names (Aktiva, Pasiva); every other report by
    // the title its page shows.
    const StatementFacts& facts = FactsOf(s);
    const bool halves = !facts.reports[1].key.empty();
    std::vector<PrintWorker::Job> batch;
    for (const PrintJob& job : jobs) {
        if (job.refused) {
            continue;  // its report is still running: this request is ignored
        }
        // The laid-out pages are copied: the worker paints them while the window goes on.
        batch.push_back({job.name, [job, title] { return RenderPdf({job}, title); },
                         halves ? job.name : std::string(facts.title)});
    }
    Start(
        std::move(batch), [](const PrintOutcome& outcome) { return FromUtf8(outcome.message); },
        std::move(where));
}

PrintJob PrintCommands::ScoresJob() const {
    return LayOutScoresReport(ws_.document(), ws_.settings(), ws_.warning());
}

void PrintCommands::SubmitScores(OutcomeShown where) {
    const QString title = FromUtf8(ScoresPdfTitle(ws_.document()));
    PrintJob job = ScoresJob();
    const std::string name = job.name;
    Start(
        {{name, [job = std::move(job), title] { return RenderPdf({job}, title); }, name}},
        [](const PrintOutcome& outcome) { return FromUtf8(outcome.message); }, std::move(where));
}

void PrintCommands::PreviewScores() {
    dialogs_.ShowPrintPreview(FromUtf8(ScoresPdfTitle(ws_.document())), {ScoresJob()},
                              [this](QWidget* preview, OutcomeShown shown) {
                                  const OutcomeShown where = InWindow(preview, std::move(shown));
                                  if (!RefusedWhileBusy(where)) {
                                      SubmitScores(where);
                                  }
                              });
}

void PrintCommands::ExportScoresPdf() {
    QString base = DefaultPdfName(ws_.document().ImeDatoteke, std::nullopt);
    base.chop(4);  // ".pdf"
    const FileDialogSetup setup{QStringLiteral("PDFSave"),
                                QStringLiteral("Izvoz u PDF"),
                                {{QStringLiteral("PDF dokument (*.pdf)"), QStringLiteral("*.pdf")},
                                 {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
                                base + QStringLiteral(" - bonitet.pdf"),
                                QStringLiteral("pdf")};
    if (const std::optional<QString> path = dialogs_.ChooseSaveFile(setup)) {
        ShowWritten(*path, movik::ExportScoresPdf(ws_, QFile::encodeName(*path).toStdString()),
                    Main());
    }
}

void PrintCommands::PrintTopic(const QByteArray& pdf, const QString& jobName, OutcomeShown where) {
    Start(
        {{jobName.toStdString(), [pdf] { return pdf; }, {}}},
        [jobName](const PrintOutcome& outcome) {
            return QStringLiteral("Tema pomoći „%1” nije ispisana: %2.")
                .arg(jobName, FromUtf8(outcome.reason));
        },
        std::move(where));
}

void PrintCommands::PrintChart(const QByteArray& pdf, const QString& jobName, OutcomeShown where) {
    Start(
        {{jobName.toStdString(), [pdf] { return pdf; }, {}}},
        [jobName](const PrintOutcome& outcome) {
            return QStringLiteral("Grafikon „%1” nije ispisan: %2.")
                .arg(jobName, FromUtf8(outcome.reason));
        },
        std::move(where));
}

bool PrintCommands::RefusedWhileBusy(const OutcomeShown& where) {
    if (!busy()) {
        return false;
    }
    if (where) {
        where(QStringLiteral("Ispis je već u tijeku: novi ispis nije pokrenut."), false);
    }
    return true;
}

bool PrintCommands::Start(std::vector<PrintWorker::Job> jobs,
                          std::function<QString(const PrintOutcome&)> describe,
                          OutcomeShown where) {
    if (RefusedWhileBusy(where) || jobs.empty()) {
        return false;
    }
    describe_ = std::move(describe);
    where_ = std::move(where);
    ShowRunning(true);
    return worker_.Start(std::move(jobs));
}

QString SentNote(const PrintOutcome& outcome) {
    QStringList titles;
    for (const std::string& title : outcome.sent) {
        titles << FromUtf8(title);
    }
    // A title ending in a date ("… 31.12.2023.") ends the sentence itself.
    const QString list = titles.join(QStringLiteral(", "));
    return QStringLiteral("Poslano na pisač „%1”: %2").arg(FromUtf8(outcome.printer), list) +
           (list.endsWith(u'.') ? QString() : QStringLiteral("."));
}

void PrintCommands::Finished(const PrintOutcome& outcome) {
    // The window that gave the command hears what happened, whatever it was.
    const OutcomeShown where = std::move(where_);
    where_ = nullptr;
    if (where) {
        if (outcome.status == PrintStatus::Printed && !outcome.sent.empty()) {
            where(SentNote(outcome), false);
        } else if (outcome.status == PrintStatus::NoPrinter) {
            // A system without a printer prints nothing, but the user hears why.
            where(QStringLiteral("Nije postavljen zadani pisač"), false);
        } else if (outcome.status == PrintStatus::Refused ||
                   outcome.status == PrintStatus::Unreachable) {
            where(describe_(outcome), true);
        }
    }
    if (!busy()) {  // no other batch was started while the message was shown
        ShowRunning(false);
    }
}

void PrintCommands::SetPrintButton(QAction* bPrint) {
    bPrint_ = bPrint;
    bPrintHint_ = bPrint != nullptr ? bPrint->toolTip() : QString();
}

void PrintCommands::ShowRunning(bool running) {
    if (bPrint_ == nullptr) {
        return;
    }
    bPrint_->setToolTip(running ? QStringLiteral("Ispis u tijeku…") : bPrintHint_);
    bPrint_->setEnabled(!running);
}

void PrintCommands::PregledIspisaClick(std::optional<Statement> showing) {
    if (!showing && ScoresShowing()) {
        PreviewScores();
        return;
    }
    if (!showing) {
        return;
    }
    const Statement s = *showing;
    dialogs_.ShowPrintPreview(FromUtf8(PdfTitle(ws_.document(), &s)),
                              reports_.PrintStatement(s, Inputs()),
                              [this, s](QWidget* preview, OutcomeShown shown) {
                                  const OutcomeShown where = InWindow(preview, std::move(shown));
                                  if (!RefusedWhileBusy(where)) {
                                      Submit(s, reports_.PrintStatement(s, Inputs()), where);
                                  }
                              });
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
    if (!s && ScoresShowing()) {
        ExportScoresPdf();
        return;
    }
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
    // Said in the status bar (and to a screen reader) as the workbook export says it.
    ShowWritten(*path, saved, Main());
}

}  // namespace movik

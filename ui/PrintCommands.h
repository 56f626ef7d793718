#pragma once
// The window's printing commands: the print command (straight to the default printer, one job
// per report), the print preview of the showing page's report(s) and the export of reports to
// one PDF file. The six report forms are made once, with the window, and reused.
// Print jobs go to the print system from a worker (reports/PrintWorker.h): the window stays
// usable while they are sent; one batch runs at a time, and another print command meanwhile is
// refused with a note.

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/Workspace.h"
#include "reports/PrintJobs.h"
#include "reports/PrintWorker.h"
#include "ui/Dialogs.h"

class QAction;
class QWidget;

namespace movik {

class PrintCommands {
  public:
    // unit gives the current text of the amount-unit list cbIznos.
    PrintCommands(Workspace& ws, Dialogs& dialogs, std::function<std::string()> unit);

    ReportSet& reports() { return reports_; }
    PrintWorker& worker() { return worker_; }
    // The tool button that shows a running print job (disabled while it runs).
    void SetPrintButton(QAction* bPrint);
    // True while a print batch is being sent.
    bool busy() const { return worker_.busy(); }

    // Shows a passing note in the window's status bar (set by the window).
    std::function<void(const QString&)> showNote;
    // Whether the "Bonitet" page is showing (set by the window): then the print, preview and
    // PDF commands take the report "Ocjena boniteta".
    std::function<bool()> showingScores;

    // Where a print command's outcome goes: a note (error false) or an error, shown in the
    // window that gave the command. Main() is the main window's: notes in its status bar,
    // errors in a message box.
    using OutcomeShown = std::function<void(const QString& text, bool error)>;
    OutcomeShown Main();
    // shown while window lives; the main window's once it is closed (the outcome comes later).
    OutcomeShown InWindow(QWidget* window, OutcomeShown shown);

    // Ispii1Click: prints the statement of the showing page, or the scores on the "Bonitet"
    // page (nothing on the general-data page, showing == nullopt).
    void Ispii1Click(std::optional<Statement> showing);

    // One per statement page: set up the report(s) and send them to the default printer.
    // No default printer: nothing is printed and showNote says so. A job that fails (refused,
    // server unreachable or silent): its message is shown and the jobs after it are not sent.
    void PrintBilanca();
    void PrintRacun();
    void PrintCFInd();
    void PrintCFFree();
    void PrintPok();

    // A help topic printed through the same path: pdf sent as the job jobName; the outcome
    // shown through where (the help window's).
    void PrintTopic(const QByteArray& pdf, const QString& jobName, OutcomeShown where);
    // A chart printed through the same path: pdf sent as the job jobName; the outcome shown
    // through where (the charts window's).
    void PrintChart(const QByteArray& pdf, const QString& jobName, OutcomeShown where);
    // "Pregled ispisa": the showing page's report(s) in the print preview; its print button
    // prints them on the default printer as the print command does, the outcome shown in the
    // preview.
    void PregledIspisaClick(std::optional<Statement> showing);
    // "Izvoz u PDF…": the report(s) of statement s, or all six when s is nullopt, into one PDF
    // file chosen in the save dialog.
    void IzvozPdfClick(std::optional<Statement> s);

    // The name the save dialog proposes: the document's path with ".pdf" for all reports, or
    // " - " and the statement's short name and ".pdf" for one; "izvjesca" for an untitled one.
    static QString DefaultPdfName(const std::string& documentPath, std::optional<Statement> s);

  private:
    PrintInputs Inputs() const;
    bool ScoresShowing() const { return showingScores && showingScores(); }
    PrintJob ScoresJob() const;
    // The report "Ocjena boniteta" sent as Submit sends a statement's.
    void SubmitScores(OutcomeShown where);
    void PreviewScores();
    void ExportScoresPdf();
    // Paints every job into its own PDF and submits it, in order, from the worker.
    void Submit(Statement s, const std::vector<PrintJob>& jobs, OutcomeShown where);
    // True (with the note shown through where) while a batch runs: another print is refused.
    bool RefusedWhileBusy(const OutcomeShown& where);
    // Starts a batch; describe gives a failed job's message, where shows the outcome. False
    // (with the note shown) while another batch runs.
    bool Start(std::vector<PrintWorker::Job> jobs,
               std::function<QString(const PrintOutcome&)> describe, OutcomeShown where);
    // The batch's end: what was sent and where, or why not, shown; the print button enabled.
    void Finished(const PrintOutcome& outcome);
    void ShowRunning(bool running);

    Workspace& ws_;
    Dialogs& dialogs_;
    std::function<std::string()> unit_;
    ReportSet reports_;
    PrintWorker worker_;
    QAction* bPrint_ = nullptr;
    QString bPrintHint_;
    std::function<QString(const PrintOutcome&)> describe_;
    OutcomeShown where_;
};

// The note of a batch that went to the printer: „Poslano na pisač „X”: Aktiva, Pasiva."
QString SentNote(const PrintOutcome& outcome);

}  // namespace movik

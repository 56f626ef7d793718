#pragma once
// The window's printing commands: the print command (straight to the default printer, one job
// per report), the print preview of the showing page's report(s) and the export of reports to
// one PDF file. The six report forms are made once, with the window, and reused.

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/Workspace.h"
#include "reports/PrintJobs.h"
#include "ui/Dialogs.h"

class QAction;

namespace movik {

class PrintCommands {
  public:
    // unit gives the current text of the amount-unit list cbIznos.
    PrintCommands(Workspace& ws, Dialogs& dialogs, std::function<std::string()> unit);

    ReportSet& reports() { return reports_; }

    // Shows a passing note in the window's status bar (set by the window).
    std::function<void(const QString&)> showNote;

    // Ispii1Click: prints the statement of the showing page (nothing on the general-data page,
    // showing == nullopt). bPrint is disabled while it runs and enabled again in every case.
    void Ispii1Click(std::optional<Statement> showing, QAction* bPrint);

    // One per statement page: set up the report(s) and print them on the default printer.
    // No default printer: nothing is printed and showNote says so. A refused job: its
    // message is shown and the jobs after it are not sent.
    void PrintBilanca();
    void PrintRacun();
    void PrintCFInd();
    void PrintCFFree();
    void PrintPok();

    // "Pregled ispisa": the showing page's report(s) in the print preview; its print button
    // prints them on the default printer as the print command does.
    void PregledIspisaClick(std::optional<Statement> showing);
    // "Izvoz u PDF…": the report(s) of statement s, or all six when s is nullopt, into one PDF
    // file chosen in the save dialog.
    void IzvozPdfClick(std::optional<Statement> s);

    // The name the save dialog proposes: the document's path with ".pdf" for all reports, or
    // " - " and the statement's short name and ".pdf" for one; "izvjesca" for an untitled one.
    static QString DefaultPdfName(const std::string& documentPath, std::optional<Statement> s);

  private:
    PrintInputs Inputs() const;
    // Paints every job into its own PDF and submits it, in order.
    void Submit(Statement s, const std::vector<PrintJob>& jobs);

    Workspace& ws_;
    Dialogs& dialogs_;
    std::function<std::string()> unit_;
    ReportSet reports_;
};

}  // namespace movik

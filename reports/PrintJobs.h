#pragma once
// The print commands, headless: for one statement they reset the report's row counter(s), set
// the reports' variable texts and lay the report(s) out, giving the print jobs in order (the
// balance sheet gives two: "Aktiva" then "Pasiva"). Painting and submitting the jobs is the
// caller's (ReportPaint.h, a printer).
//
// Texts composed:
//   period line   "za razdoblje od " + start + " do " + end (short date, four-digit year)
//   unit line     "Iznosi u " + unit
//   company, seat the document's (not the general-data fields')
//   warning line  "Upozorenje: " + warning, or "" when there is no warning
//   lPrethodna / lTekuca  the header texts of agBilanca columns 3 and 5

#include <optional>
#include <string>
#include <vector>

#include "document/Workspace.h"
#include "model/Regional.h"
#include "reports/ReportEngine.h"
#include "reports/StatementReports.h"

namespace movik {

// What the print command reads: the document, the grid texts and the window's state.
struct PrintInputs {
    const TDokument* document = nullptr;
    const StatementGrids* grids = nullptr;
    std::string warning;  // the status bar's warning text ("" when none)
    std::string unit;     // the amount unit, e.g. "kunama i lipama"
    RegionalSettings settings;
};

// From a workspace (its document, grids, warning and settings) and the window's amount unit.
PrintInputs PrintInputsOf(const Workspace& ws, std::string unit);

std::string PeriodLine(const TDokument& doc, const RegionalSettings& rs);
std::string UnitLine(const std::string& unit);
std::string WarningLine(const std::string& warning);

// The statement printed from the page named pageName ("tsBilanca", "tsRacun", "tsCFInd",
// "tsCFFree", "tsPokazatelji"); none for any other page (the general-data page "tsOpce").
std::optional<Statement> StatementOfPage(const std::string& pageName);

// One print job: its name and its laid-out pages. refused: the report's ReportReady flag was
// clear, nothing laid out (the caller prints nothing for it).
struct PrintJob {
    std::string name;
    bool refused = false;
    std::vector<LaidOutPage> pages;
};

// report laid out as a print job named by its jobName.
PrintJob LaidOutJob(Report& report);

// The six report forms and their data feed, created once and reused for every print.
class ReportSet {
  public:
    // grids must outlive the set (the workspace's grids).
    explicit ReportSet(const StatementGrids& grids);

    ReportFeed& feed() { return feed_; }
    TqrAktiva& qrAktiva() { return qrAktiva_; }
    TqrPasiva& qrPasiva() { return qrPasiva_; }
    TqrRacun& qrRacun() { return qrRacun_; }
    TqrCFInd& qrCFInd() { return qrCFInd_; }
    TqrCFFree& qrCFFree() { return qrCFFree_; }
    TqrPok& qrPok() { return qrPok_; }

    std::vector<PrintJob> PrintBilanca(const PrintInputs& in);
    std::vector<PrintJob> PrintRacun(const PrintInputs& in);
    std::vector<PrintJob> PrintCFInd(const PrintInputs& in);
    std::vector<PrintJob> PrintCFFree(const PrintInputs& in);
    std::vector<PrintJob> PrintPok(const PrintInputs& in);
    // The jobs of one statement's page (one of the five above).
    std::vector<PrintJob> PrintStatement(Statement s, const PrintInputs& in);
    // All six reports, in statement order.
    std::vector<PrintJob> PrintAll(const PrintInputs& in);

  private:
    PrintJob Run(StatementReport& report);
    std::vector<PrintJob> PrintPeriodReport(Statement s, StatementReport& report,
                                            const PrintInputs& in);

    ReportFeed feed_;
    TqrAktiva qrAktiva_;
    TqrPasiva qrPasiva_;
    TqrRacun qrRacun_;
    TqrCFInd qrCFInd_;
    TqrCFFree qrCFFree_;
    TqrPok qrPok_;
};

// The Croatian name of a statement as a PDF title uses it ("Bilanca", "Račun dobiti i gubitka",
// ...), and the title of a PDF: company + " – " + statement (or "Financijski izvještaji" for all).
std::string StatementTitle(Statement s);
std::string PdfTitle(const TDokument& doc, const Statement* s);

}  // namespace movik

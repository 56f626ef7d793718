#include "reports/PrintJobs.h"

#include <array>
#include <utility>

#include "model/Dates.h"
#include "model/StatementFacts.h"

namespace movik {

namespace {

// Sets the page header texts every report has.
void SetCompany(Report& r, const TDokument& doc) {
    r.SetCaption("lPoduzece", doc.Poduzece);
    r.SetCaption("lSjediste", doc.Sjediste);
}

}  // namespace

PrintInputs PrintInputsOf(const Workspace& ws, std::string unit) {
    PrintInputs in;
    in.document = &ws.document();
    in.grids = &ws.grids();
    in.warning = ws.warning();
    in.unit = std::move(unit);
    in.settings = ws.settings();
    return in;
}

std::string PeriodLine(const TDokument& doc, const RegionalSettings& rs) {
    const std::string pattern = WithFourDigitYear(rs.shortDateFormat);
    return "za razdoblje od " + FormatShortDate(doc.DatumOd, pattern) + " do " +
           FormatShortDate(doc.DatumDo, pattern);
}

std::string UnitLine(const std::string& unit) {
    return "Iznosi u " + unit;
}

std::string WarningLine(const std::string& warning) {
    return warning.empty() ? std::string() : "Upozorenje: " + warning;
}

std::optional<Statement> StatementOfPage(const std::string& pageName) {
    if (const StatementFacts* facts = FactsOfPage(pageName))
        return facts->statement;
    return std::nullopt;
}

ReportSet::ReportSet(const StatementGrids& grids)
    : feed_(grids),
      qrAktiva_(feed_),
      qrPasiva_(feed_),
      qrRacun_(feed_),
      qrCFInd_(feed_),
      qrCFFree_(feed_),
      qrPok_(feed_) {}

PrintJob LaidOutJob(Report& report) {
    PrintJob job;
    job.name = report.jobName;
    LayoutResult laid = LayoutReport(report);
    job.refused = laid.refused;
    job.pages = std::move(laid.pages);
    return job;
}

PrintJob ReportSet::Run(StatementReport& report) {
    return LaidOutJob(report);
}

std::vector<PrintJob> ReportSet::PrintBilanca(const PrintInputs& in) {
    const TDokument& doc = *in.document;
    const std::string prethodna = in.grids->Bilanca.cell(3, 0);
    const std::string tekuca = in.grids->Bilanca.cell(5, 0);
    const auto& [aktivaFacts, pasivaFacts] = FactsOf(Statement::Bilanca).reports;
    feed_.SetCounter(aktivaFacts.key, aktivaFacts.start);
    feed_.SetCounter(pasivaFacts.key, 0);  // its start is set just before its half prints
    std::vector<PrintJob> jobs;
    for (StatementReport* r :
         {static_cast<StatementReport*>(&qrAktiva_), static_cast<StatementReport*>(&qrPasiva_)}) {
        const bool aktiva = r == &qrAktiva_;
        if (!aktiva)
            feed_.SetCounter(pasivaFacts.key, pasivaFacts.start);
        r->SetCaption("lNaslov", "Bilanca");
        r->SetCaption("lIznosi", UnitLine(in.unit));
        SetCompany(*r, doc);
        r->SetCaption("lPrethodna", prethodna);
        r->SetCaption("lTekuca", tekuca);
        r->SetCaption("lTipBilance", aktiva ? "Aktiva" : "Pasiva");
        r->SetCaption("lUpozorenje", WarningLine(in.warning));
        jobs.push_back(Run(*r));
    }
    return jobs;
}

// The reports of one period (all but the balance sheet): period, company, seat and unit (the
// indicators' report has no unit label, so it shows none).
std::vector<PrintJob> ReportSet::PrintPeriodReport(Statement s, StatementReport& report,
                                                   const PrintInputs& in) {
    const ReportFacts& facts = FactsOf(s).reports[0];
    feed_.SetCounter(facts.key, facts.start);
    report.SetCaption(std::string(facts.periodLabel), PeriodLine(*in.document, in.settings));
    SetCompany(report, *in.document);
    report.SetCaption("lIznosi", UnitLine(in.unit));
    return {Run(report)};
}

std::vector<PrintJob> ReportSet::PrintRacun(const PrintInputs& in) {
    return PrintPeriodReport(Statement::Racun, qrRacun_, in);
}

std::vector<PrintJob> ReportSet::PrintCFInd(const PrintInputs& in) {
    return PrintPeriodReport(Statement::CFInd, qrCFInd_, in);
}

std::vector<PrintJob> ReportSet::PrintCFFree(const PrintInputs& in) {
    return PrintPeriodReport(Statement::CFFree, qrCFFree_, in);
}

std::vector<PrintJob> ReportSet::PrintPok(const PrintInputs& in) {
    return PrintPeriodReport(Statement::Pok, qrPok_, in);
}

std::vector<PrintJob> ReportSet::PrintStatement(Statement s, const PrintInputs& in) {
    using Print = std::vector<PrintJob> (ReportSet::*)(const PrintInputs&);
    // Indexed by the statement.
    static constexpr std::array<Print, kStatementFacts.size()> kPrint = {
        &ReportSet::PrintBilanca, &ReportSet::PrintRacun, &ReportSet::PrintCFInd,
        &ReportSet::PrintCFFree, &ReportSet::PrintPok};
    const auto index = static_cast<std::size_t>(s);
    return index < kPrint.size() ? (this->*kPrint[index])(in) : std::vector<PrintJob>{};
}

std::vector<PrintJob> ReportSet::PrintAll(const PrintInputs& in) {
    std::vector<PrintJob> all;
    for (Statement s : kAllStatements) {
        for (PrintJob& job : PrintStatement(s, in))
            all.push_back(std::move(job));
    }
    return all;
}

std::string StatementTitle(Statement s) {
    return std::string(FactsOf(s).title);
}

std::string PdfTitle(const TDokument& doc, const Statement* s) {
    const std::string what = s ? StatementTitle(*s) : std::string("Financijski izvještaji");
    return doc.Poduzece.empty() ? what : doc.Poduzece + " – " + what;
}

}  // namespace movik

#include "reports/PrintJobs.h"

#include <utility>

#include "model/Dates.h"

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

std::string WithFourDigitYear(const std::string& pattern) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            quoted = !quoted;
            out += c;
            ++i;
        } else if (c == 'y' && !quoted) {
            std::size_t run = 0;
            while (i + run < pattern.size() && pattern[i + run] == 'y')
                ++run;
            out += run < 4 ? std::string("yyyy") : pattern.substr(i, run);
            i += run;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
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
    const std::pair<const char*, Statement> pages[] = {{"tsBilanca", Statement::Bilanca},
                                                       {"tsRacun", Statement::Racun},
                                                       {"tsCFInd", Statement::CFInd},
                                                       {"tsCFFree", Statement::CFFree},
                                                       {"tsPokazatelji", Statement::Pok}};
    for (const auto& [name, statement] : pages) {
        if (pageName == name)
            return statement;
    }
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

PrintJob ReportSet::Run(StatementReport& report) {
    PrintJob job;
    job.name = report.jobName;
    LayoutResult laid = LayoutReport(report);
    job.refused = laid.refused;
    job.pages = std::move(laid.pages);
    return job;
}

std::vector<PrintJob> ReportSet::PrintBilanca(const PrintInputs& in) {
    const TDokument& doc = *in.document;
    const std::string prethodna = in.grids->Bilanca.cell(3, 0);
    const std::string tekuca = in.grids->Bilanca.cell(5, 0);
    feed_.SetCounter("AKTIVA", 0);
    feed_.SetCounter("PASIVA", 0);
    std::vector<PrintJob> jobs;
    for (StatementReport* r :
         {static_cast<StatementReport*>(&qrAktiva_), static_cast<StatementReport*>(&qrPasiva_)}) {
        const bool aktiva = r == &qrAktiva_;
        if (!aktiva)
            feed_.SetCounter("PASIVA", 56);
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

std::vector<PrintJob> ReportSet::PrintRacun(const PrintInputs& in) {
    feed_.SetCounter("RACUN", 0);
    qrRacun_.SetCaption("lRacRazd", PeriodLine(*in.document, in.settings));
    SetCompany(qrRacun_, *in.document);
    qrRacun_.SetCaption("lIznosi", UnitLine(in.unit));
    return {Run(qrRacun_)};
}

std::vector<PrintJob> ReportSet::PrintCFInd(const PrintInputs& in) {
    feed_.SetCounter("CFIND", 0);
    qrCFInd_.SetCaption("lIndRazd", PeriodLine(*in.document, in.settings));
    SetCompany(qrCFInd_, *in.document);
    qrCFInd_.SetCaption("lIznosi", UnitLine(in.unit));
    return {Run(qrCFInd_)};
}

std::vector<PrintJob> ReportSet::PrintCFFree(const PrintInputs& in) {
    feed_.SetCounter("CFFREE", 0);
    qrCFFree_.SetCaption("lFreeRazd", PeriodLine(*in.document, in.settings));
    SetCompany(qrCFFree_, *in.document);
    qrCFFree_.SetCaption("lIznosi", UnitLine(in.unit));
    return {Run(qrCFFree_)};
}

std::vector<PrintJob> ReportSet::PrintPok(const PrintInputs& in) {
    feed_.SetCounter("POK", 0);
    SetCompany(qrPok_, *in.document);
    qrPok_.SetCaption("lPokRazd", PeriodLine(*in.document, in.settings));
    return {Run(qrPok_)};
}

std::vector<PrintJob> ReportSet::PrintStatement(Statement s, const PrintInputs& in) {
    switch (s) {
        case Statement::Bilanca:
            return PrintBilanca(in);
        case Statement::Racun:
            return PrintRacun(in);
        case Statement::CFInd:
            return PrintCFInd(in);
        case Statement::CFFree:
            return PrintCFFree(in);
        case Statement::Pok:
            return PrintPok(in);
    }
    return {};
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
    switch (s) {
        case Statement::Bilanca:
            return "Bilanca";
        case Statement::Racun:
            return "Račun dobiti i gubitka";
        case Statement::CFInd:
            return "Indirektna metoda novčanog toka";
        case Statement::CFFree:
            return "Metoda slobodnog novčanog toka";
        case Statement::Pok:
            return "Financijski pokazatelji";
    }
    return {};
}

std::string PdfTitle(const TDokument& doc, const Statement* s) {
    const std::string what = s ? StatementTitle(*s) : std::string("Financijski izvještaji");
    return doc.Poduzece.empty() ? what : doc.Poduzece + " – " + what;
}

}  // namespace movik

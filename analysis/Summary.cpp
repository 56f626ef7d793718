#include "analysis/Summary.h"

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/DocumentPaths.h"
#include "analysis/EuroConversion.h"
#include "document/DocumentCodec.h"
#include "document/DocumentFile.h"
#include "document/FileIO.h"
#include "document/GridTexts.h"
#include "intake/OfficialForm.h"
#include "model/Calculations.h"
#include "model/Currency.h"
#include "model/NumberFormat.h"
#include "model/Scores.h"
#include "model/StatementRows.h"
#include "model/Templates.h"

namespace movik {

namespace {

std::array<double, kKeyAmountCount> KeyAmountsOf(const TDokument& doc) {
    std::array<double, kKeyAmountCount> a{};
    const auto set = [&a](KeyAmount k, double v) { a[static_cast<int>(k)] = v; };
    set(KeyAmount::TotalAssetsPrevious, doc.Bilanca.row(BilancaRow::TotalAssets).IznosPrethodna);
    set(KeyAmount::TotalAssets, doc.Bilanca.row(BilancaRow::TotalAssets).IznosTekuca);
    set(KeyAmount::EquityPrevious, doc.Bilanca.row(BilancaRow::Equity).IznosPrethodna);
    set(KeyAmount::Equity, doc.Bilanca.row(BilancaRow::Equity).IznosTekuca);
    set(KeyAmount::Sales,
        doc.Racun.row(RacunRow::SalesDomestic).Iznos + doc.Racun.row(RacunRow::SalesAbroad).Iznos);
    set(KeyAmount::Revenue, doc.Racun.row(RacunRow::TotalRevenue).Iznos);
    set(KeyAmount::ResultBeforeTax, doc.Racun.row(RacunRow::ResultBeforeTax).Iznos);
    set(KeyAmount::NetResult, doc.Racun.row(RacunRow::NetResult).Iznos);
    set(KeyAmount::OperatingCashFlow, doc.CFInd.row(CFIndRow::OperatingCashFlow).Iznos);
    set(KeyAmount::FreeCashFlow, doc.CFFree.row(CFFreeRow::FreeCashFlow).Iznos);
    return a;
}

// Half a cent: a difference the grids' two decimals can show.
bool Differs(double stored, double recalculated) {
    if (std::isnan(stored) && std::isnan(recalculated)) {
        return false;
    }
    // Written as "same when smaller" so that a NaN on one side counts as a difference.
    return !(std::fabs(stored - recalculated) < 0.005);
}

template <class TableT, class Field, class Visit>
void ForEachComputed(Statement s, const TableT& table, Field field, Visit& visit) {
    for (int row = 1; row <= TableT::kRows; ++row) {
        if (TemplateRow(s, row).Izracunata) {
            visit(table.row(row).*field);
        }
    }
}

// Every computed amount of Bilanca (both years), Racun, CFInd and CFFree, always in one order.
template <class Visit>
void ForEachComputedAmount(const TDokument& doc, Visit visit) {
    ForEachComputed(Statement::Bilanca, doc.Bilanca, &TStavkaBilanca::IznosPrethodna, visit);
    ForEachComputed(Statement::Bilanca, doc.Bilanca, &TStavkaBilanca::IznosTekuca, visit);
    ForEachComputed(Statement::Racun, doc.Racun, &TStavkaRacun::Iznos, visit);
    ForEachComputed(Statement::CFInd, doc.CFInd, &TStavkaIznos::Iznos, visit);
    ForEachComputed(Statement::CFFree, doc.CFFree, &TStavkaIznos::Iznos, visit);
}

// The stored computed amounts of doc into totals (its storage reused).
void KeepStoredTotals(const TDokument& doc, std::vector<double>& totals) {
    totals.clear();
    ForEachComputedAmount(doc, [&totals](double v) { totals.push_back(v); });
}

bool StoredTotalsDiffer(const std::vector<double>& totals, const TDokument& recalculated) {
    std::size_t i = 0;
    bool differ = false;
    ForEachComputedAmount(recalculated,
                          [&](double v) { differ = differ || Differs(totals[i++], v); });
    return differ;
}

// The summary of a recalculated document; texts as its grids show them.
DocumentSummary SummaryOfDocument(const TDokument& doc, const std::string& warning,
                                  const RegionalSettings& rs, const std::string& file) {
    DocumentSummary s;
    s.file = file;
    s.ok = true;
    s.company = doc.Poduzece;
    s.seat = doc.Sjediste;
    s.from = doc.DatumOd;
    s.to = doc.DatumDo;
    s.amounts = KeyAmountsOf(doc);
    for (int i = 0; i < kKeyAmountCount; ++i) {
        s.amountTexts[i] = FormatNumber(s.amounts[i], AmountFormat, rs);
    }
    const std::array<bool, kPokRows> computable = IndicatorsComputable(doc);
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        const int row = kIndicatorRows[i];
        s.indicators[i] = doc.Pok.row(row).Iznos;
        s.indicatorTexts[i] =
            FormatNumber(s.indicators[i], TemplateRow(Statement::Pok, row).Format, rs);
        s.indicatorNotComputable[i] = !computable[static_cast<std::size_t>(row - 1)];
    }
    if (!warning.empty()) {
        s.warnings.push_back(warning);
    }
    s.scores = ScoresOf(doc);
    s.namedScores = NamedScoresOf(s.scores);
    s.currency = DocumentCurrency(doc);
    return s;
}

}  // namespace

bool StoredTotalsDiffer(const TDokument& stored, const TDokument& recalculated) {
    std::vector<double> totals;
    KeepStoredTotals(stored, totals);
    return StoredTotalsDiffer(totals, recalculated);
}

DocumentSummary SummaryOf(const Workspace& ws, const std::string& file) {
    return SummaryOfDocument(ws.document(), ws.warning(), ws.settings(), file);
}

bool IsMoneyIndicator(int indicatorIndex) {
    return IsMoneyIndicatorRow(kIndicatorRows[static_cast<std::size_t>(indicatorIndex)]);
}

namespace {

// The document of path as its file stores it, opened into ws and recalculated. The file is
// read once; the stored document is decoded on its own, as opening it in the workspace may
// recalculate it at once (to show its share count). Returns the open's message on failure.
std::string OpenStoredAndRecalculated(const std::string& path, Workspace& ws, TDokument& stored) {
    const ReadOutcome read = ReadFileStart(path, kDocumentFileSize);
    if (read.status == ReadStatus::Missing) {
        return MissingFileMessage(path);
    }
    if (read.status != ReadStatus::Read) {
        return CannotOpenMessage(path);
    }
    if (const OpenOutcome opened = OpenDocumentBytes(path, read.bytes, stored); !opened) {
        return opened.message();
    }
    if (const OpenOutcome opened = ws.OpenDocumentBytes(path, read.bytes); !opened) {
        return opened.message();  // as above: the same bytes give the same outcome
    }
    ws.RefreshCycle();
    return {};
}

// The summary in the document's own currency, through a workspace: opened, refresh cycle, and
// with withEuro a kuna document's figures in euros too, converted as the conversion converts it.
DocumentSummary SummarizeInWorkspace(const std::string& path, const RegionalSettings& rs,
                                     int currentYear, bool withEuro) {
    Workspace ws(rs, currentYear);
    std::unique_ptr<TDokument> stored;  // a document's file as stored; none for a form
    if (IsFormName(path)) {
        // An official form goes through the same import as movik-cli form; one that disagrees
        // with itself gives no numbers here, where nobody could be asked.
        const OfficialForm form = ReadOfficialFormFile(path, currentYear);
        std::string error = form.error;
        if (form.ok && !form.differences.empty()) {
            error = "Obrazac se ne slaže sam sa sobom (" +
                    DifferencesText(form.differences.size()) + "; vidi movik-cli form)";
        }
        if (!error.empty()) {
            DocumentSummary failed;
            failed.file = path;
            failed.error = error;
            return failed;
        }
        ApplyOfficialForm(form, ws);
    } else {
        stored = std::make_unique<TDokument>();
        if (std::string error = OpenStoredAndRecalculated(path, ws, *stored); !error.empty()) {
            DocumentSummary failed;
            failed.file = path;
            failed.error = std::move(error);
            return failed;
        }
    }
    DocumentSummary s = SummaryOf(ws, path);
    if (stored && StoredTotalsDiffer(*stored, ws.document())) {
        s.warnings.emplace_back(kWarningStoredTotals);
    }
    if (withEuro && s.currency == Valuta::Hrk) {
        // The document converted as the conversion converts it: the same cents, totals kept.
        ConvertToEuro(ws);
        const DocumentSummary euro = SummaryOf(ws, path);
        EuroFigures& e = s.inEuro.emplace();
        e.amounts = euro.amounts;
        e.amountTexts = euro.amountTexts;
        for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
            const bool money = IsMoneyIndicator(static_cast<int>(i));
            e.indicators[i] = money ? euro.indicators[i] : s.indicators[i];
            e.indicatorTexts[i] = money ? euro.indicatorTexts[i] : s.indicatorTexts[i];
        }
    }
    return s;
}

}  // namespace

DocumentSummary Summarize(const std::string& path, const RegionalSettings& rs, int currentYear,
                          bool withEuro) {
    // A summary in its own currency needs no grid: the refresh cycle without the texts (the
    // amounts as their cells read back, then the calculations). One document per thread is
    // kept, so its texts' storage is reused, and of the stored document only its totals.
    // An official form goes through its import, which fills a workspace.
    if (withEuro || IsFormName(path)) {
        return SummarizeInWorkspace(path, rs, currentYear, withEuro);
    }
    thread_local TDokument doc;
    if (const OpenOutcome opened = OpenDocument(path, doc); !opened) {
        DocumentSummary failed;
        failed.file = path;
        failed.error = opened.message();
        return failed;
    }
    thread_local std::vector<double> storedTotals;
    KeepStoredTotals(doc, storedTotals);
    ReadAsShown(doc, rs);
    const std::string warning = RecalculateAll(doc);
    DocumentSummary s = SummaryOfDocument(doc, warning, rs, path);
    if (StoredTotalsDiffer(storedTotals, doc)) {
        s.warnings.emplace_back(kWarningStoredTotals);
    }
    return s;
}

DocumentSummary InCurrency(DocumentSummary s, Valuta v) {
    if (!s.ok || s.currency == v || v != Valuta::Eur || !s.inEuro) {
        return s;
    }
    s.amounts = s.inEuro->amounts;
    s.amountTexts = std::move(s.inEuro->amountTexts);
    s.indicators = s.inEuro->indicators;
    s.indicatorTexts = std::move(s.inEuro->indicatorTexts);
    s.inEuro.reset();
    s.currency = Valuta::Eur;
    s.converted = true;
    return s;
}

std::string IndicatorCaption(int indicatorIndex, std::optional<Valuta> v) {
    std::string text = std::string(
        TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(indicatorIndex)])
            .Tekst);
    if (v) {
        text = RowTextIn(text, *v);
    } else if (const std::string_view unit = CurrencyCaption(Valuta::Hrk); text.ends_with(unit)) {
        text.resize(text.size() - unit.size());
    }
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string()
                                           : std::string(text.substr(first, last - first + 1));
}

}  // namespace movik

#include "analysis/Summary.h"

#include "document/DocumentFile.h"
#include "document/GridTexts.h"
#include "model/Calculations.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"

namespace movik {

namespace {

std::array<double, kKeyAmountCount> KeyAmountsOf(const TDokument& doc) {
    std::array<double, kKeyAmountCount> a{};
    const auto set = [&a](KeyAmount k, double v) { a[static_cast<int>(k)] = v; };
    set(KeyAmount::TotalAssetsPrevious, doc.Bilanca.row(55).IznosPrethodna);  // F.UKUPNA AKTIVA
    set(KeyAmount::TotalAssets, doc.Bilanca.row(55).IznosTekuca);
    set(KeyAmount::EquityPrevious, doc.Bilanca.row(57).IznosPrethodna);  // A.Kapital i rezerve
    set(KeyAmount::Equity, doc.Bilanca.row(57).IznosTekuca);
    // Sales at home and abroad.
    set(KeyAmount::Sales, doc.Racun.row(2).Iznos + doc.Racun.row(3).Iznos);
    set(KeyAmount::Revenue, doc.Racun.row(40).Iznos);            // Ukupni prihodi
    set(KeyAmount::ResultBeforeTax, doc.Racun.row(42).Iznos);    // Rezultat prije poreza
    set(KeyAmount::NetResult, doc.Racun.row(45).Iznos);          // REZULTAT POSLIJE POREZA
    set(KeyAmount::OperatingCashFlow, doc.CFInd.row(10).Iznos);  // A. Novčani tok od posl. akt.
    set(KeyAmount::FreeCashFlow, doc.CFFree.row(21).Iznos);      // SLOBODNI NOVČANI TOK
    return a;
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
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        const int row = kIndicatorRows[i];
        s.indicators[i] = doc.Pok.row(row).Iznos;
        s.indicatorTexts[i] =
            FormatNumber(s.indicators[i], TemplateRow(Statement::Pok, row).Format, rs);
    }
    if (!warning.empty()) {
        s.warnings.push_back(warning);
    }
    return s;
}

}  // namespace

DocumentSummary SummaryOf(const Workspace& ws, const std::string& file) {
    return SummaryOfDocument(ws.document(), ws.warning(), ws.settings(), file);
}

DocumentSummary Summarize(const std::string& path, const RegionalSettings& rs, int /*year*/) {
    // The refresh cycle without the grids: the amounts as their cells read back, then the
    // calculations. One document per thread is kept, so its texts' storage is reused.
    thread_local TDokument doc;
    if (const OpenOutcome opened = OpenDocument(path, doc); !opened) {
        DocumentSummary failed;
        failed.file = path;
        failed.error = opened.message();
        return failed;
    }
    ReadAsShown(doc, rs);
    const std::string warning = RecalculateAll(doc);
    return SummaryOfDocument(doc, warning, rs, path);
}

std::string IndicatorCaption(int indicatorIndex) {
    const std::string_view text =
        TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(indicatorIndex)]).Tekst;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string()
                                           : std::string(text.substr(first, last - first + 1));
}

}  // namespace movik

// Resetting the document to an empty one built from the templates.

#include <string>

#include "model/Dates.h"
#include "model/Document.h"
#include "model/Templates.h"

namespace movik {

namespace {

// Copies every template text into its value row and clears the row's amounts; reserved bytes
// (kept in the document's KeptBlock) are left alone.
template <class TableT, class ClearRow>
void ResetTable(TableT& table, Statement s, ClearRow clearRow) {
    for (int n = 1; n <= TableT::kRows; ++n) {
        auto& row = table.row(n);
        row.Tekst.assign(TemplateRow(s, n).Tekst);
        clearRow(row);
    }
}

}  // namespace

void NewDocument(TDokument& doc, int currentYear) {
    doc.Izmijenjen = false;

    doc.Potpis = "Movik" + std::string(59, ' ');
    doc.Verzija = "Verzija 1.0" + std::string(5, ' ');

    doc.Poduzece.clear();
    doc.Sjediste.clear();
    doc.DatumOd = DayNumber(currentYear, 1, 1);
    doc.DatumDo = DayNumber(currentYear, 12, 31);
    doc.BrojDionica = 0;
    // A new document's currency is its period's.
    doc.OznakaValute.reset();

    ResetTable(doc.Bilanca, Statement::Bilanca, [](TStavkaBilanca& r) {
        r.IznosPrethodna = 0;
        r.UdioPrethodna = 0;
        r.IznosTekuca = 0;
        r.UdioTekuca = 0;
    });
    ResetTable(doc.Racun, Statement::Racun, [](TStavkaRacun& r) {
        r.Iznos = 0;
        r.Udio = 0;
    });
    const auto clearAmount = [](TStavkaIznos& r) { r.Iznos = 0; };
    ResetTable(doc.CFInd, Statement::CFInd, clearAmount);
    ResetTable(doc.CFFree, Statement::CFFree, clearAmount);
    ResetTable(doc.Pok, Statement::Pok, clearAmount);

    doc.ImeDatoteke.clear();
}

}  // namespace movik

#pragma once
// Small helpers shared by the model tests: fresh documents and balancing a balance sheet.

#include <vector>

#include "model/Calculations.h"
#include "model/Document.h"
#include "model/Templates.h"

namespace movik::test {

// A document as NewDocument leaves it, for the given year.
inline void ResetDocument(TDokument& doc, int year = 2025) {
    NewDocument(doc, year);
}

// The positions of the input (not computed) rows of a statement.
inline std::vector<int> InputRows(Statement s) {
    std::vector<int> rows;
    for (int n = 1; n <= RowCount(s); ++n) {
        if (!TemplateRow(s, n).Izracunata) {
            rows.push_back(n);
        }
    }
    return rows;
}

// Makes both years balance by putting the difference of the totals into the cash row (52).
inline void BalanceWithCash(TDokument& doc) {
    CalcBilanca(doc);
    TStavkaBilanca& cash = doc.Bilanca.row(52);
    cash.IznosPrethodna += doc.Bilanca.row(87).IznosPrethodna - doc.Bilanca.row(55).IznosPrethodna;
    cash.IznosTekuca += doc.Bilanca.row(87).IznosTekuca - doc.Bilanca.row(55).IznosTekuca;
    CalcBilanca(doc);
}

}  // namespace movik::test

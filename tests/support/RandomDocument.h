#pragma once
// Random documents for tests and benchmarks: every input cell of the balance sheet and the income
// statement gets a random amount (some cells left at 0), the general data a company of a small
// set and a random year, then one refresh cycle; the result is saved to a file.

#include <cmath>
#include <random>
#include <string>

#include "document/FileIO.h"
#include "document/Workspace.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace movik::test {

inline void FillRandomDocument(Workspace& ws, std::mt19937& rng) {
    static const char* const kCompanies[] = {"Lipa-Mont d.d.", "Čvor d.o.o.", "Žitni Klas d.d.",
                                             "Đurđa i sinovi j.d.o.o.", "Šibenski Kamen d.d."};
    std::uniform_int_distribution<int> company(0, 4);
    std::uniform_int_distribution<int> year(2015, 2025);
    std::uniform_int_distribution<int> empty(0, 3);
    std::uniform_real_distribution<double> amount(0, 5e6);
    ws.NewDocument();
    ws.SetCompany(kCompanies[company(rng)]);
    ws.SetSeat("Zagreb");
    const int y = year(rng);
    ws.SetPeriod(DayNumber(y, 1, 1), DayNumber(y, 12, 31));
    for (const Statement s : {Statement::Bilanca, Statement::Racun}) {
        const StatementFacts& facts = FactsOf(s);
        for (int row = 1; row <= facts.rows; ++row) {
            if (TemplateRow(s, row).Izracunata) {
                continue;
            }
            for (const int col : facts.inputColumns) {
                if (col != 0) {
                    const double v = empty(rng) == 0 ? 0 : std::round(amount(rng) * 100) / 100;
                    WorkspaceTestAccess::Grids(ws).of(s).cell(col, row) =
                        FormatNumber(v, AmountFormat, ws.settings());
                }
            }
        }
    }
    WorkspaceTestAccess::Fields(ws).BrojDionica =
        std::uniform_int_distribution<int>(0, 100000)(rng);
    ws.RefreshCycle();
}

// Writes a random document to path; false when it could not be written.
inline bool WriteRandomDocument(Workspace& ws, std::mt19937& rng, const std::string& path) {
    FillRandomDocument(ws, rng);
    const auto writer = MakeSystemFileWriter();
    return ws.SaveDocumentAs(path, *writer).ok();
}

}  // namespace movik::test

#pragma once
// One constant description of each statement: its grid, its page in the main window, its key on
// the command line and in exported files, and whether it can be imported. Every layer reads the
// facts of a statement from here, its printed reports and help contexts included.

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "model/StatementRows.h"
#include "model/Statements.h"

namespace movik {

// The help context of the page control and of the general-data page.
inline constexpr int kWindowHelpContext = 1;

// One printed report of a statement: its key in the report data feed, the feed's row counter
// before the report runs (it prints rows start + 1 to limit of the statement's grid) and the
// name of its print job, and the label that shows the period (none on the balance sheet's). An
// empty key marks an unused entry.
struct ReportFacts {
    std::string_view key;
    std::int32_t start;
    std::int32_t limit;
    std::string_view jobName;
    std::string_view periodLabel;
};

// Grid rows up to lastRow (from the previous group's end) ask for context; the last group is
// open-ended. A context of 0 marks an unused entry.
struct HelpGroup {
    int lastRow;
    int context;
};

inline constexpr int kOpenEnded = std::numeric_limits<int>::max();

struct StatementFacts {
    Statement statement;
    int rows;     // statement rows (the grid has one more, the header row)
    int columns;  // grid columns, the fixed column 0 included
    // Header row texts of columns 1 to columns - 1 (the balance sheet's amount columns carry
    // the period's dates instead, set with the document).
    std::array<std::string_view, 6> headers;
    // Column widths in pixels, columns 0 to columns - 1.
    std::array<int, 7> columnWidths;
    // Grid columns holding typed amounts (edited in place, read back, imported); 0 = unused.
    std::array<int, 2> inputColumns;
    // Grid columns from firstRightAligned to the last are right-aligned.
    int firstRightAligned;
    // Rows drawn in red (totals); 0 = unused.
    std::array<int, 2> redRows;
    std::string_view key;      // movik-cli's name of the statement
    std::string_view csvName;  // default file name of its export
    bool imports;              // a semicolon-separated file can be read into it
    int helpContext;           // of its page, and of its grid unless helpGroups says otherwise
    // The grid's help context by row groups (the indicators' four groups); unused when empty.
    std::array<HelpGroup, 4> helpGroups;
    // Its printed reports, in print order (the balance sheet prints two halves).
    std::array<ReportFacts, 2> reports;
    // The page of the main window.
    std::string_view page;
    std::string_view caption;    // tab caption
    std::string_view title;      // centred title
    std::string_view titleName;  // objectName of the title label
    std::string_view company;    // objectName of the company label
    std::string_view seat;       // objectName of the seat label
    std::string_view period;     // objectName of the period label, empty for none
    std::string_view grid;       // objectName of the grid

    bool IsInputColumn(int col) const {
        return col != 0 && (col == inputColumns[0] || col == inputColumns[1]);
    }
    bool IsRedRow(int row) const { return row != 0 && (row == redRows[0] || row == redRows[1]); }
    // The help context F1 asks for on grid row row (0 = header row).
    constexpr int GridHelpContext(int row) const {
        for (const HelpGroup& g : helpGroups) {
            if (g.context != 0 && row <= g.lastRow)
                return g.context;
        }
        return helpContext;
    }
};

inline constexpr std::array<StatementFacts, 5> kStatementFacts = {{
    {Statement::Bilanca,
     kBilancaRows,
     7,
     {"Rbr", "P o z i c i j a", "", "Udio (%)", "", "Udio(%)"},
     {8, 25, 274, 86, 81, 68, 95},
     {3, 5},
     3,
     {BilancaRow::TotalAssets, BilancaRow::TotalEquityAndLiabilities},
     "bilanca",
     "bilanca.csv",
     true,
     1,
     {},
     {{{"AKTIVA", 0, BilancaRow::AssetsOffBalance, "Aktiva", ""},
       {"PASIVA", BilancaRow::AssetsOffBalance, kBilancaRows, "Pasiva", ""}}},
     "tsBilanca",
     "Bilanca",
     "Bilanca",
     "lBilancaNaslov",
     "lPoduzeceBilanca",
     "lSjedisteBilanca",
     "",
     "agBilanca"},
    {Statement::Racun,
     kRacunRows,
     5,
     {"Rbr", "P o z i c i j a", "Iznos", "Udio (%)"},
     {10, 24, 319, 100, 100},
     {3, 0},
     3,
     {RacunRow::NetResult, 0},
     "racun",
     "racun dobiti i gubitka.csv",
     true,
     1,
     {},
     {{{"RACUN", 0, kRacunRows, "Racun dobiti i gubitka", "lRacRazd"}, {}}},
     "tsRacun",
     "Račun dobiti i gubitka",
     "Račun dobiti i gubitka",
     "lRacun",
     "lPoduzeceRacun",
     "lSjedisteRacun",
     "lRazdoblje",
     "agRacun"},
    {Statement::CFInd,
     kCFIndRows,
     4,
     {"Rbr", "P o z i c i j a", "Iznos"},
     {8, 24, 420, 130},
     {0, 0},
     3,
     {CFIndRow::TotalCashFlow, CFIndRow::CashChange},
     "cfind",
     "indirektna metoda novcanog toka.csv",
     false,
     4,
     {},
     {{{"CFIND", 0, kCFIndRows, "Indirektna metoda novčanog toka", "lIndRazd"}, {}}},
     "tsCFInd",
     "Indirektna metoda novčanog toka",
     "Indirektna metoda novčanog toka",
     "lCFInd",
     "lPoduzeceCFInd",
     "lSjedisteCFInd",
     "lIndRazd",
     "agCFInd"},
    {Statement::CFFree,
     kCFFreeRows,
     4,
     {"Rbr", "P o z i c i j a", "Iznos"},
     {8, 24, 423, 118},
     {0, 0},
     3,
     {CFFreeRow::FreeCashFlow, CFFreeRow::FinancingCashFlow},
     "cffree",
     "metoda slobodnog novcanog toka.csv",
     false,
     5,
     {},
     {{{"CFFREE", 0, kCFFreeRows, "Slobodna metoda novčanog toka", "lFreeRazd"}, {}}},
     "tsCFFree",
     "Metoda slobodnog novčanog toka",
     "Metoda slobodnog novčanog toka",
     "lCFFree",
     "lPoduzeceCFFree",
     "lSjedisteCFFree",
     "lFreeRazd",
     "agCFFree"},
    {Statement::Pok,
     kPokRows,
     4,
     {"Rbr", "P o z i c i j a", "Iznos"},
     {8, 24, 305, 120},
     {0, 0},
     3,
     {0, 0},
     "pokazatelji",
     "pokazatelji.csv",
     false,
     1,
     // Liquidity, activity, profitability, debt: each group up to the row before the next
     // heading (the header row goes with the first).
     {{{PokRow::ActivityHeading - 1, 6},
       {PokRow::ProfitabilityHeading - 1, 7},
       {PokRow::IndebtednessHeading - 1, 8},
       {kOpenEnded, 9}}},
     {{{"POK", 0, kPokRows, "Pokazatelji", "lPokRazd"}, {}}},
     "tsPokazatelji",
     "Pokazatelji",
     "Financijski pokazatelji",
     "lPokNaslov",
     "lPoduzecePok",
     "lSjedistePok",
     "lPokRazd",
     "agPokazatelji"},
}};

inline constexpr const StatementFacts& FactsOf(Statement s) {
    return kStatementFacts[static_cast<std::size_t>(s)];
}

// Every printed report with its statement, in print order: the report data feed's keys.
struct StatementReportFacts {
    Statement statement;
    ReportFacts report;
};

inline constexpr std::array<StatementReportFacts, 6> kReportFacts = [] {
    std::array<StatementReportFacts, 6> all{};
    std::size_t n = 0;
    for (const StatementFacts& f : kStatementFacts) {
        for (const ReportFacts& r : f.reports) {
            if (r.key.empty())
                continue;
            if (n == all.size())
                throw "more reports than the feed has keys";  // fails compilation
            all[n++] = {f.statement, r};
        }
    }
    return all;
}();

// The statement whose page is named page; none for any other page.
inline constexpr const StatementFacts* FactsOfPage(std::string_view page) {
    for (const StatementFacts& f : kStatementFacts) {
        if (f.page == page)
            return &f;
    }
    return nullptr;
}

// The table is indexed by the statement.
static_assert([] {
    for (std::size_t i = 0; i < kStatementFacts.size(); ++i) {
        if (kStatementFacts[i].statement != kAllStatements[i] ||
            static_cast<std::size_t>(kAllStatements[i]) != i) {
            return false;
        }
    }
    return true;
}());

// Exactly six reports.
static_assert([] {
    for (const StatementReportFacts& r : kReportFacts) {
        if (r.report.key.empty())
            return false;
    }
    return true;
}());

}  // namespace movik

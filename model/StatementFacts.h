#pragma once
// One constant description of each statement: its grid, its page in the main window, its key on
// the command line and in exported files, and whether it can be imported. Every layer reads the
// facts of a statement from here.

#include <array>
#include <string_view>

#include "model/Statements.h"

namespace movik {

struct StatementFacts {
    Statement statement;
    int rows;     // statement rows (the grid has one more, the header row)
    int columns;  // grid columns, the fixed column 0 included
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
    int helpContext;           // of its page and grid (agPokazatelji follows its row groups)
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
};

inline constexpr std::array<StatementFacts, 5> kStatementFacts = {{
    {Statement::Bilanca,
     kBilancaRows,
     7,
     {8, 25, 274, 86, 81, 68, 95},
     {3, 5},
     3,
     {55, 87},
     "bilanca",
     "bilanca.csv",
     true,
     1,
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
     {10, 24, 319, 100, 100},
     {3, 0},
     3,
     {45, 0},
     "racun",
     "racun dobiti i gubitka.csv",
     true,
     1,
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
     {8, 24, 420, 130},
     {0, 0},
     3,
     {28, 31},
     "cfind",
     "indirektna metoda novcanog toka.csv",
     false,
     4,
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
     {8, 24, 423, 118},
     {0, 0},
     3,
     {21, 28},
     "cffree",
     "metoda slobodnog novcanog toka.csv",
     false,
     5,
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
     {8, 24, 305, 120},
     {0, 0},
     3,
     {0, 0},
     "pokazatelji",
     "pokazatelji.csv",
     false,
     1,
     "tsPokazatelji",
     "Pokazatelji",
     "Financijski pokazatelji",
     "lPokNaslov",
     "lPoduzecePok",
     "lSjedistePok",
     "lPokRazd",
     "agPokazatelji"},
}};

inline const StatementFacts& FactsOf(Statement s) {
    return kStatementFacts[static_cast<std::size_t>(s)];
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

}  // namespace movik

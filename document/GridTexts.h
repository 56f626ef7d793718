#pragma once
// The cell texts of the five statement grids: the one source of truth that the window shows,
// the reports print and the export writes. Column 0 and row 0 are the fixed column and header row.

#include <string>
#include <vector>

#include "model/Document.h"
#include "model/Regional.h"

namespace movik {

class GridTexts {
  public:
    GridTexts(int columns, int rows);

    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    std::string& cell(int col, int row) { return cells_[index(col, row)]; }
    const std::string& cell(int col, int row) const { return cells_[index(col, row)]; }
    // Same size and the same text in every cell.
    bool operator==(const GridTexts&) const = default;

  private:
    std::size_t index(int col, int row) const;
    int columns_;
    int rows_;
    std::vector<std::string> cells_;
};

// The five grids with their header texts: agBilanca 7 x 89, agRacun 5 x 46, agCFInd 4 x 32,
// agCFFree 4 x 29, agPokazatelji 4 x 20 (columns x rows, fixed ones included).
struct StatementGrids {
    StatementGrids();
    GridTexts& of(Statement s);
    const GridTexts& of(Statement s) const;
    bool operator==(const StatementGrids&) const = default;

    GridTexts Bilanca;
    GridTexts Racun;
    GridTexts CFInd;
    GridTexts CFFree;
    GridTexts Pok;
};

// What the general-data fields show (the page's values, not yet the document's).
struct GeneralData {
    std::string Poduzece;
    std::string Sjediste;
    double DatumOd = 0;  // 0 = an empty date field
    double DatumDo = 0;
    double BrojDionica = 0;  // whole number, 0 to 9,999,999,999
    bool operator==(const GeneralData&) const = default;
};

// Headers of agBilanca columns 3 and 5: the end date a year back and the end date, in the short
// date format (an empty end date is day 0, 30 December 1899).
void SetBilancaHeaderDates(StatementGrids& grids, double datumDo, const RegionalSettings& rs);

// Every data cell of all five grids from the document; header cells untouched.
void FillGrids(const TDokument& doc, StatementGrids& grids, const RegionalSettings& rs);

// The company name and seat of the fields into the document, each cut to the file's capacity.
void ReadCompanyAndSeat(const GeneralData& fields, TDokument& doc);

// The general data and the input columns back into the document (texts cut to 255 characters,
// amounts through AmountFromText; computed rows are read too and overwritten by the calculation).
void ReadGrids(const GeneralData& fields, const StatementGrids& grids, const RegionalSettings& rs,
               TDokument& doc);

// What FillGrids then ReadGrids leave in doc, without the texts: the general data as the fields
// show it and every amount as its cell reads back (AmountAsShown). For work that needs the
// numbers of the refresh cycle but no grid, such as the summary of many documents.
void ReadAsShown(TDokument& doc, const RegionalSettings& rs);

// The document's general data as the fields show it (share count clamped to a whole number in
// 0..9,999,999,999; NaN gives 0).
GeneralData GeneralDataOf(const TDokument& doc);

}  // namespace movik

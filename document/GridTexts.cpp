#include "document/GridTexts.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"
#include "model/Utf8.h"

namespace movik {

namespace {

constexpr std::size_t kTextCapacity = 255;
constexpr double kMaxShares = 9999999999.0;

// Rewrites a cell with a number; the temporary's characters go into the cell's own buffer.
void PutNumber(std::string& cell, double value, std::string_view pattern,
               const RegionalSettings& rs) {
    cell = FormatNumber(value, pattern, rs);
}

// The row-number texts 1 to 88 ("##0"), formatted once per thread and per separators: every
// refresh writes the same 211 of them.
const std::string& RowNumberText(int r, const RegionalSettings& rs) {
    struct Cache {
        std::string thousands;
        std::string decimal;
        std::array<std::string, kBilancaRows + 1> texts;
        bool ready = false;
    };
    thread_local Cache cache;
    if (!cache.ready || cache.thousands != rs.thousandsSeparator ||
        cache.decimal != rs.decimalSeparator) {
        for (int n = 1; n <= kBilancaRows; ++n) {
            cache.texts[static_cast<std::size_t>(n)] = FormatNumber(n, RowNumberFormat, rs);
        }
        cache.thousands = rs.thousandsSeparator;
        cache.decimal = rs.decimalSeparator;
        cache.ready = true;
    }
    return cache.texts[static_cast<std::size_t>(r)];
}

void PutRowStart(GridTexts& grid, int r, const std::string& tekst, const RegionalSettings& rs) {
    grid.cell(1, r) = RowNumberText(r, rs);
    grid.cell(2, r) = tekst;
}

template <class TableT>
void FillAmountGrid(const TableT& table, GridTexts& grid, const RegionalSettings& rs) {
    for (int r = 1; r <= TableT::kRows; ++r) {
        PutRowStart(grid, r, table.row(r).Tekst, rs);
        PutNumber(grid.cell(3, r), table.row(r).Iznos, AmountFormat, rs);
    }
}

// A date the period fields can show: finite and within the years 1 to 9999, else empty (0). The
// fields hold whole days, so a time of day is dropped.
double FieldDate(double dayNumber) {
    static const double first = DayNumber(1, 1, 1);
    static const double last = DayNumber(9999, 12, 31);
    if (!std::isfinite(dayNumber) || dayNumber < first || dayNumber > last) {
        return 0;
    }
    return std::floor(dayNumber);
}

// The share count as the whole-number field holds it.
double FieldShares(double shares) {
    if (std::isnan(shares) || shares <= 0) {
        return 0;
    }
    if (shares >= kMaxShares) {
        return kMaxShares;
    }
    return std::round(shares);
}

}  // namespace

GridTexts::GridTexts(int columns, int rows)
    : columns_(columns),
      rows_(rows),
      cells_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows)) {}

namespace {

[[noreturn]] [[gnu::cold]] [[gnu::noinline]] void ThrowOutside(int col, int row, int columns,
                                                               int rows) {
    throw std::out_of_range("grid cell (" + std::to_string(col) + ", " + std::to_string(row) +
                            ") outside " + std::to_string(columns) + " x " + std::to_string(rows));
}

}  // namespace

std::size_t GridTexts::index(int col, int row) const {
    if (col < 0 || col >= columns_ || row < 0 || row >= rows_) [[unlikely]] {
        ThrowOutside(col, row, columns_, rows_);
    }
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(col);
}

namespace {

GridTexts GridOf(Statement s) {
    const StatementFacts& facts = FactsOf(s);
    return GridTexts(facts.columns, facts.rows + 1);  // the header row too
}

}  // namespace

StatementGrids::StatementGrids()
    : Bilanca(GridOf(Statement::Bilanca)),
      Racun(GridOf(Statement::Racun)),
      CFInd(GridOf(Statement::CFInd)),
      CFFree(GridOf(Statement::CFFree)),
      Pok(GridOf(Statement::Pok)) {
    // Columns 3 and 5 of the balance sheet carry the period's dates (SetBilancaHeaderDates).
    for (const StatementFacts& facts : kStatementFacts) {
        GridTexts& grid = of(facts.statement);
        for (int col = 1; col < facts.columns; ++col) {
            grid.cell(col, 0) = facts.headers[static_cast<std::size_t>(col - 1)];
        }
    }
}

GridTexts& StatementGrids::of(Statement s) {
    // Indexed by the statement.
    static constexpr std::array<GridTexts StatementGrids::*, kAllStatements.size()> kGrids = {
        &StatementGrids::Bilanca, &StatementGrids::Racun, &StatementGrids::CFInd,
        &StatementGrids::CFFree, &StatementGrids::Pok};
    const auto index = static_cast<std::size_t>(s);
    if (index >= kGrids.size())
        throw std::invalid_argument("unknown statement");
    return this->*kGrids[index];
}

const GridTexts& StatementGrids::of(Statement s) const {
    return const_cast<StatementGrids*>(this)->of(s);
}

void SetBilancaHeaderDates(StatementGrids& grids, double datumDo, const RegionalSettings& rs) {
    std::string& previous = grids.Bilanca.cell(3, 0);
    std::string& current = grids.Bilanca.cell(5, 0);
    // An empty end date is day 0 and shows as that day, so the header keeps both dates and the
    // balance sheet's export still reads back. A value that is no date counts as day 0.
    if (!std::isfinite(datumDo)) {
        datumDo = 0;
    }
    // Four-digit years, as the date fields show them, so that an export reads back the same date.
    const std::string pattern = WithFourDigitYear(rs.shortDateFormat);
    previous = FormatShortDate(OneYearBack(datumDo), pattern);
    current = FormatShortDate(datumDo, pattern);
}

void FillGrids(const TDokument& doc, StatementGrids& grids, const RegionalSettings& rs) {
    GridTexts& bilanca = grids.Bilanca;
    for (int r = 1; r <= kBilancaRows; ++r) {
        const TStavkaBilanca& s = doc.Bilanca.row(r);
        PutRowStart(bilanca, r, s.Tekst, rs);
        PutNumber(bilanca.cell(3, r), s.IznosPrethodna, AmountFormat, rs);
        PutNumber(bilanca.cell(5, r), s.IznosTekuca, AmountFormat, rs);
        PutNumber(bilanca.cell(4, r), s.UdioPrethodna, ShareFormat, rs);
        PutNumber(bilanca.cell(6, r), s.UdioTekuca, ShareFormat, rs);
    }
    GridTexts& racun = grids.Racun;
    for (int r = 1; r <= kRacunRows; ++r) {
        const TStavkaRacun& s = doc.Racun.row(r);
        PutRowStart(racun, r, s.Tekst, rs);
        PutNumber(racun.cell(3, r), s.Iznos, AmountFormat, rs);
        PutNumber(racun.cell(4, r), s.Udio, ShareFormat, rs);
    }
    FillAmountGrid(doc.CFInd, grids.CFInd, rs);
    FillAmountGrid(doc.CFFree, grids.CFFree, rs);
    GridTexts& pok = grids.Pok;
    // The amounts per share are captioned in the document's currency; the stored texts stay.
    const Valuta currency = DocumentCurrency(doc);
    for (int r = 1; r <= kPokRows; ++r) {
        const TStavkaIznos& s = doc.Pok.row(r);
        PutRowStart(pok, r, RowTextIn(s.Tekst, currency), rs);
        PutNumber(pok.cell(3, r), s.Iznos, TemplateRow(Statement::Pok, r).Format, rs);
    }
}

void ReadCompanyAndSeat(const GeneralData& fields, TDokument& doc) {
    doc.Poduzece = Utf8Length(fields.Poduzece) > kTextCapacity
                       ? Utf8Left(fields.Poduzece, kTextCapacity)
                       : fields.Poduzece;
    doc.Sjediste = Utf8Length(fields.Sjediste) > kTextCapacity
                       ? Utf8Left(fields.Sjediste, kTextCapacity)
                       : fields.Sjediste;
}

namespace {

void ReadGeneralData(const GeneralData& fields, TDokument& doc) {
    ReadCompanyAndSeat(fields, doc);
    doc.DatumOd = fields.DatumOd;
    doc.DatumDo = fields.DatumDo;
    doc.BrojDionica = fields.BrojDionica;
}

}  // namespace

void ReadGrids(const GeneralData& fields, const StatementGrids& grids, const RegionalSettings& rs,
               TDokument& doc) {
    ReadGeneralData(fields, doc);

    for (int r = 1; r <= kBilancaRows; ++r) {
        TStavkaBilanca& s = doc.Bilanca.row(r);
        s.IznosPrethodna = AmountFromText(grids.Bilanca.cell(3, r), rs);
        s.IznosTekuca = AmountFromText(grids.Bilanca.cell(5, r), rs);
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        doc.Racun.row(r).Iznos = AmountFromText(grids.Racun.cell(3, r), rs);
    }
}

void ReadAsShown(TDokument& doc, const RegionalSettings& rs) {
    ReadGeneralData(GeneralDataOf(doc), doc);
    for (int r = 1; r <= kBilancaRows; ++r) {
        TStavkaBilanca& s = doc.Bilanca.row(r);
        s.IznosPrethodna = AmountAsShown(s.IznosPrethodna, rs);
        s.IznosTekuca = AmountAsShown(s.IznosTekuca, rs);
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        doc.Racun.row(r).Iznos = AmountAsShown(doc.Racun.row(r).Iznos, rs);
    }
}

GeneralData GeneralDataOf(const TDokument& doc) {
    GeneralData fields;
    fields.Poduzece = doc.Poduzece;
    fields.Sjediste = doc.Sjediste;
    fields.DatumOd = FieldDate(doc.DatumOd);
    fields.DatumDo = FieldDate(doc.DatumDo);
    fields.BrojDionica = FieldShares(doc.BrojDionica);
    return fields;
}

}  // namespace movik

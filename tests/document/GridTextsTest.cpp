// The grid texts: headers, what FillGrids writes into every data cell, and what ReadGrids takes
// back into the document.

#include "document/GridTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "model/Dates.h"
#include "model/Templates.h"
#include "model/Utf8.h"

namespace movik {
namespace {

using test::CommaSettings;
using test::DotSettings;

TDokument NewDoc(int year = 2024) {
    TDokument doc;
    NewDocument(doc, year);
    return doc;
}

struct GridShape {
    Statement statement;
    int columns;
    int rows;
    std::vector<std::string> headers;  // columns 1 to last
};

class GridHeaders : public ::testing::TestWithParam<GridShape> {};

TEST_P(GridHeaders, SizeAndHeaderTexts) {
    const StatementGrids grids;
    const GridTexts& grid = grids.of(GetParam().statement);
    EXPECT_EQ(grid.columnCount(), GetParam().columns);
    EXPECT_EQ(grid.rowCount(), GetParam().rows);
    for (int col = 1; col < grid.columnCount(); ++col) {
        EXPECT_EQ(grid.cell(col, 0), GetParam().headers.at(static_cast<std::size_t>(col - 1)))
            << "column " << col;
    }
    EXPECT_EQ(grid.cell(0, 0), "");
}

INSTANTIATE_TEST_SUITE_P(
    FiveGrids, GridHeaders,
    ::testing::Values(
        GridShape{
            Statement::Bilanca, 7, 89, {"Rbr", "P o z i c i j a", "", "Udio (%)", "", "Udio(%)"}},
        GridShape{Statement::Racun, 5, 46, {"Rbr", "P o z i c i j a", "Iznos", "Udio (%)"}},
        GridShape{Statement::CFInd, 4, 32, {"Rbr", "P o z i c i j a", "Iznos"}},
        GridShape{Statement::CFFree, 4, 29, {"Rbr", "P o z i c i j a", "Iznos"}},
        GridShape{Statement::Pok, 4, 20, {"Rbr", "P o z i c i j a", "Iznos"}}));

TEST(GridTexts, CellsOutsideTheGridAreRefused) {
    GridTexts grid(4, 20);
    EXPECT_THROW(grid.cell(4, 0), std::out_of_range);
    EXPECT_THROW(grid.cell(0, 20), std::out_of_range);
    EXPECT_THROW(grid.cell(-1, 1), std::out_of_range);
    EXPECT_NO_THROW(grid.cell(3, 19));
}

struct HeaderDates {
    double datumDo;
    RegionalSettings rs;
    const char* previous;
    const char* current;
};

class BilancaHeaderDates : public ::testing::TestWithParam<HeaderDates> {};

TEST_P(BilancaHeaderDates, EndDateAYearBackAndTheEndDate) {
    StatementGrids grids;
    grids.Bilanca.cell(3, 0) = "staro";
    grids.Bilanca.cell(5, 0) = "staro";
    SetBilancaHeaderDates(grids, GetParam().datumDo, GetParam().rs);
    EXPECT_EQ(grids.Bilanca.cell(3, 0), GetParam().previous);
    EXPECT_EQ(grids.Bilanca.cell(5, 0), GetParam().current);
    EXPECT_EQ(grids.Bilanca.cell(4, 0), "Udio (%)");
    EXPECT_EQ(grids.Bilanca.cell(6, 0), "Udio(%)");
}

INSTANTIATE_TEST_SUITE_P(
    Dates, BilancaHeaderDates,
    ::testing::Values(
        HeaderDates{36585, DotSettings(), "28.02.1999", "29.02.2000"},  // 29 February 2000
        HeaderDates{45657, DotSettings(), "31.12.2023", "31.12.2024"},
        HeaderDates{36585, RegionalSettings{".", ",", "dd. MM. yyyy."}, "28. 02. 1999.",
                    "29. 02. 2000."},
        HeaderDates{0, DotSettings(), "30.12.1898", "30.12.1899"},
        // A two-digit year pattern shows four digits, as the date fields do.
        HeaderDates{44926, RegionalSettings{",", ".", "M/d/yy"}, "12/31/2021", "12/31/2022"},
        HeaderDates{std::numeric_limits<double>::quiet_NaN(), DotSettings(), "30.12.1898",
                    "30.12.1899"}));

// ---- FillGrids -------------------------------------------------------------------------------

TEST(FillGrids, NewDocumentBalanceSheetRows) {
    StatementGrids grids;
    FillGrids(NewDoc(), grids, DotSettings());
    const GridTexts& b = grids.Bilanca;
    EXPECT_EQ(b.cell(1, 1), "1");
    EXPECT_EQ(b.cell(2, 1), "A.Potraživanja za upisani a neuplaćeni kapital");
    EXPECT_EQ(b.cell(3, 1), "0.00");
    EXPECT_EQ(b.cell(4, 1), "0.00%");
    EXPECT_EQ(b.cell(5, 1), "0.00");
    EXPECT_EQ(b.cell(6, 1), "0.00%");
    EXPECT_EQ(b.cell(1, 88), "88");
    EXPECT_EQ(b.cell(2, 32), "   I.  Zalihe");
    EXPECT_EQ(b.cell(0, 5), "");  // the fixed column stays empty

    FillGrids(NewDoc(), grids, CommaSettings());
    EXPECT_EQ(b.cell(3, 1), "0,00");
    EXPECT_EQ(b.cell(6, 88), "0,00%");
}

TEST(FillGrids, RowNumbersArePositionsNotStoredNumbers) {
    StatementGrids grids;
    FillGrids(NewDoc(), grids, DotSettings());
    EXPECT_EQ(grids.Racun.cell(1, 19), "19");
    EXPECT_EQ(grids.Racun.cell(2, 19), "         3.1. Amortizacija dugotrajne imovine");
    EXPECT_EQ(grids.Racun.cell(1, 23), "23");
    EXPECT_EQ(grids.Racun.cell(2, 23), "      4.Vrijednosno usklađivanje kratkotrajne imovine");
    for (Statement s : kAllStatements) {
        const GridTexts& grid = grids.of(s);
        for (int r = 1; r < grid.rowCount(); ++r) {
            EXPECT_EQ(grid.cell(1, r), std::to_string(r));
        }
    }
}

TEST(FillGrids, AmountsAndSharesWithTheirPatterns) {
    TDokument doc = NewDoc();
    doc.Bilanca.row(4).IznosPrethodna = -1234567.891;
    doc.Bilanca.row(4).UdioPrethodna = 25;
    doc.Bilanca.row(4).IznosTekuca = 0.125;
    doc.Bilanca.row(4).UdioTekuca = 12.3456;
    doc.Racun.row(2).Iznos = 1e6;
    doc.Racun.row(2).Udio = 100;
    doc.CFInd.row(31).Iznos = -0.5;
    doc.CFFree.row(1).Iznos = 42;

    StatementGrids grids;
    FillGrids(doc, grids, DotSettings());
    EXPECT_EQ(grids.Bilanca.cell(3, 4), "-1,234,567.89");
    EXPECT_EQ(grids.Bilanca.cell(4, 4), "25.00%");
    EXPECT_EQ(grids.Bilanca.cell(5, 4), "0.13");
    EXPECT_EQ(grids.Bilanca.cell(6, 4), "12.35%");
    EXPECT_EQ(grids.Racun.cell(3, 2), "1,000,000.00");
    EXPECT_EQ(grids.Racun.cell(4, 2), "100.00%");
    EXPECT_EQ(grids.CFInd.cell(3, 31), "-0.50");
    EXPECT_EQ(grids.CFFree.cell(3, 1), "42.00");

    FillGrids(doc, grids, CommaSettings());
    EXPECT_EQ(grids.Bilanca.cell(3, 4), "-1.234.567,89");
    EXPECT_EQ(grids.Bilanca.cell(6, 4), "12,35%");
}

TEST(FillGrids, IndicatorsUseTheirRowsPatterns) {
    TDokument doc = NewDoc();
    doc.Pok.row(2).Iznos = 1.5;     // "#,##0.00"
    doc.Pok.row(4).Iznos = 1234.6;  // "#,##0"
    doc.Pok.row(11).Iznos = 7.125;  // "#,##0.00%"
    doc.Pok.row(14).Iznos = 2.5;    // "#,###.##"
    doc.Pok.row(19).Iznos = 0;      // "#,###.##": zero shows empty
    StatementGrids grids;
    FillGrids(doc, grids, DotSettings());
    EXPECT_EQ(grids.Pok.cell(3, 2), "1.50");
    EXPECT_EQ(grids.Pok.cell(3, 4), "1,235");
    EXPECT_EQ(grids.Pok.cell(3, 11), "7.13%");
    EXPECT_EQ(grids.Pok.cell(3, 14), "2.5");
    EXPECT_EQ(grids.Pok.cell(3, 19), "");
}

TEST(FillGrids, IndicatorGroupHeadingsShowAnEmptyValue) {
    StatementGrids grids;
    FillGrids(NewDoc(), grids, DotSettings());
    for (int r : {1, 5, 10, 15}) {
        EXPECT_EQ(TemplateRow(Statement::Pok, r).Vrsta, "b");
        EXPECT_EQ(grids.Pok.cell(2, r), TemplateRow(Statement::Pok, r).Tekst);
        EXPECT_EQ(grids.Pok.cell(3, r), "") << "row " << r;
    }
    EXPECT_EQ(grids.Pok.cell(3, 2), "0.00");
    EXPECT_EQ(grids.Pok.cell(3, 4), "0");
    EXPECT_EQ(grids.Pok.cell(3, 11), "0.00%");
}

TEST(FillGrids, EveryDataCellIsRewrittenAndNoHeaderCell) {
    StatementGrids grids;
    for (Statement s : kAllStatements) {
        GridTexts& grid = grids.of(s);
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 1; c < grid.columnCount(); ++c) {
                grid.cell(c, r) = "stari tekst";
            }
        }
    }
    FillGrids(NewDoc(), grids, DotSettings());
    for (Statement s : kAllStatements) {
        const GridTexts& grid = grids.of(s);
        for (int c = 1; c < grid.columnCount(); ++c) {
            EXPECT_EQ(grid.cell(c, 0), "stari tekst");
            for (int r = 1; r < grid.rowCount(); ++r) {
                EXPECT_NE(grid.cell(c, r), "stari tekst") << "column " << c << ", row " << r;
            }
        }
    }
}

TEST(FillGrids, NonFiniteValuesShowWithoutCrashing) {
    TDokument doc = NewDoc();
    doc.Bilanca.row(4).IznosTekuca = std::numeric_limits<double>::quiet_NaN();
    doc.Bilanca.row(4).UdioTekuca = std::numeric_limits<double>::infinity();
    doc.Racun.row(2).Iznos = -std::numeric_limits<double>::infinity();
    doc.Pok.row(14).Iznos = std::numeric_limits<double>::quiet_NaN();
    doc.Pok.row(1).Iznos = 1e300;
    StatementGrids grids;
    FillGrids(doc, grids, DotSettings());
    EXPECT_FALSE(grids.Bilanca.cell(5, 4).empty());
    EXPECT_FALSE(grids.Racun.cell(3, 2).empty());
    EXPECT_FALSE(grids.Pok.cell(3, 14).empty());
}

// ---- ReadGrids -------------------------------------------------------------------------------

TEST(ReadGrids, InputColumnsAndGeneralDataIntoTheDocument) {
    TDokument doc = NewDoc();
    StatementGrids grids;
    FillGrids(doc, grids, CommaSettings());
    grids.Bilanca.cell(3, 4) = "1.234,56";
    grids.Bilanca.cell(5, 4) = "-7,5";
    grids.Bilanca.cell(5, 2) = "99,00";   // a computed row is read too
    grids.Bilanca.cell(4, 4) = "50,00%";  // shares are never read
    grids.Racun.cell(3, 2) = "1.000";
    grids.CFInd.cell(3, 1) = "5,00";  // nor the other statements

    GeneralData fields;
    fields.Poduzece = "Movik d.d.";
    fields.Sjediste = "Zagreb";
    fields.DatumOd = 36526;
    fields.DatumDo = 36891;
    fields.BrojDionica = 1000;
    ReadGrids(fields, grids, CommaSettings(), doc);

    EXPECT_EQ(doc.Bilanca.row(4).IznosPrethodna, 1234.56);
    EXPECT_EQ(doc.Bilanca.row(4).IznosTekuca, -7.5);
    EXPECT_EQ(doc.Bilanca.row(2).IznosTekuca, 99);
    EXPECT_EQ(doc.Bilanca.row(4).UdioPrethodna, 0);
    EXPECT_EQ(doc.Racun.row(2).Iznos, 1000);
    EXPECT_EQ(doc.CFInd.row(1).Iznos, 0);
    EXPECT_EQ(doc.Poduzece, "Movik d.d.");
    EXPECT_EQ(doc.Sjediste, "Zagreb");
    EXPECT_EQ(doc.DatumOd, 36526);
    EXPECT_EQ(doc.DatumDo, 36891);
    EXPECT_EQ(doc.BrojDionica, 1000);
}

struct CellReading {
    const char* text;
    double amount;
};

class ReadGridsCell : public ::testing::TestWithParam<CellReading> {};

TEST_P(ReadGridsCell, ConvertsOrGivesZero) {
    TDokument doc = NewDoc();
    doc.Racun.row(3).Iznos = 555;
    StatementGrids grids;
    FillGrids(doc, grids, DotSettings());
    grids.Racun.cell(3, 3) = GetParam().text;
    ReadGrids(GeneralDataOf(doc), grids, DotSettings(), doc);
    EXPECT_EQ(doc.Racun.row(3).Iznos, GetParam().amount);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadGridsCell,
                         ::testing::Values(CellReading{"", 0}, CellReading{"abc", 0},
                                           CellReading{"-", 0}, CellReading{"12.5%", 12.5},
                                           CellReading{"1,234,567.89", 1234567.89},
                                           CellReading{"-0.01", -0.01}));

TEST(ReadGrids, TextsAreCutToTheirFirst255Characters) {
    TDokument doc = NewDoc();
    StatementGrids grids;
    FillGrids(doc, grids, DotSettings());
    GeneralData fields = GeneralDataOf(doc);
    std::string longName;
    for (int i = 0; i < 300; ++i) {
        longName += (i % 2 == 0) ? "ž" : "a";
    }
    fields.Poduzece = longName;
    fields.Sjediste = std::string(255, 's');
    ReadGrids(fields, grids, DotSettings(), doc);
    EXPECT_EQ(Utf8Length(doc.Poduzece), 255u);
    EXPECT_EQ(doc.Poduzece, Utf8Left(longName, 255));
    EXPECT_EQ(doc.Sjediste, std::string(255, 's'));
}

// ---- GeneralDataOf ---------------------------------------------------------------------------

struct SharesShown {
    double stored;
    double shown;
};

class GeneralDataShares : public ::testing::TestWithParam<SharesShown> {};

TEST_P(GeneralDataShares, ClampedToAWholeNumberTheFieldCanHold) {
    TDokument doc = NewDoc();
    doc.BrojDionica = GetParam().stored;
    EXPECT_EQ(GeneralDataOf(doc).BrojDionica, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralDataShares,
    ::testing::Values(SharesShown{0, 0}, SharesShown{12345, 12345}, SharesShown{12.4, 12},
                      SharesShown{9999999999.0, 9999999999.0}, SharesShown{1e30, 9999999999.0},
                      SharesShown{-5, 0}, SharesShown{std::numeric_limits<double>::quiet_NaN(), 0},
                      SharesShown{std::numeric_limits<double>::infinity(), 9999999999.0},
                      SharesShown{-std::numeric_limits<double>::infinity(), 0}));

TEST(GeneralDataOf, TextsAndDatesAsStored) {
    TDokument doc = NewDoc(2024);
    doc.Poduzece = "Tvrtka";
    doc.Sjediste = "Split";
    const GeneralData fields = GeneralDataOf(doc);
    EXPECT_EQ(fields.Poduzece, "Tvrtka");
    EXPECT_EQ(fields.Sjediste, "Split");
    EXPECT_EQ(fields.DatumOd, 45292);
    EXPECT_EQ(fields.DatumDo, 45657);

    doc.DatumOd = std::numeric_limits<double>::quiet_NaN();
    doc.DatumDo = 1e300;
    EXPECT_EQ(GeneralDataOf(doc).DatumOd, 0);
    EXPECT_EQ(GeneralDataOf(doc).DatumDo, 0);
}

struct DateShown {
    double stored;
    double shown;
};

class GeneralDataDates : public ::testing::TestWithParam<DateShown> {};

// The date fields hold the days of the years 1 to 9999; every such date reaches them, so a typed
// early date survives save and open.
TEST_P(GeneralDataDates, EveryDateTheFieldsCanHoldIsShown) {
    TDokument doc = NewDoc();
    doc.DatumOd = GetParam().stored;
    doc.DatumDo = GetParam().stored;
    EXPECT_EQ(GeneralDataOf(doc).DatumOd, GetParam().shown);
    EXPECT_EQ(GeneralDataOf(doc).DatumDo, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, GeneralDataDates,
    ::testing::Values(DateShown{DayNumber(1, 1, 1), DayNumber(1, 1, 1)},
                      DateShown{DayNumber(50, 6, 15), DayNumber(50, 6, 15)},
                      DateShown{DayNumber(99, 12, 31), DayNumber(99, 12, 31)},
                      DateShown{DayNumber(9999, 12, 31), DayNumber(9999, 12, 31)},
                      DateShown{DayNumber(0, 12, 31), 0}, DateShown{DayNumber(10000, 1, 1), 0},
                      // A field holds whole days: a time of day in a file is dropped.
                      DateShown{45292.75, 45292}, DateShown{-5.5, -6}));

}  // namespace
}  // namespace movik

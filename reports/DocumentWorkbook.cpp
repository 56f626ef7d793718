#include "reports/DocumentWorkbook.h"

#include <cmath>

#include "analysis/ScoreSheet.h"
#include "model/Dates.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"

namespace movik {

namespace {

// The value behind grid cell (col, row) of statement s: the document's number the grid shows.
double ValueAt(const TDokument& doc, Statement s, int col, int row) {
    switch (s) {
        case Statement::Bilanca: {
            const TStavkaBilanca& r = doc.Bilanca.row(row);
            return col == 3   ? r.IznosPrethodna
                   : col == 4 ? r.UdioPrethodna
                   : col == 5 ? r.IznosTekuca
                              : r.UdioTekuca;
        }
        case Statement::Racun:
            return col == 3 ? doc.Racun.row(row).Iznos : doc.Racun.row(row).Udio;
        case Statement::CFInd:
            return doc.CFInd.row(row).Iznos;
        case Statement::CFFree:
            return doc.CFFree.row(row).Iznos;
        case Statement::Pok:
            return doc.Pok.row(row).Iznos;
    }
    return 0;
}

WorkbookCell DateCell(double day) {
    if (day == 0 || !std::isfinite(day)) {
        return WorkbookCell::Blank();
    }
    // Day numbers count from 30 December 1899, as spreadsheet dates do from March 1900 on.
    return WorkbookCell::Of(day, "dd.mm.yyyy.");
}

WorkbookSheet GeneralSheet(const Workspace& ws, const std::string& unit) {
    const TDokument& doc = ws.document();
    WorkbookSheet sheet{"Opći podaci", {"Podatak", "Vrijednost"}, {}, {}};
    sheet.rows.push_back({WorkbookCell::Of("Poduzeće"), WorkbookCell::Of(doc.Poduzece)});
    sheet.rows.push_back({WorkbookCell::Of("Sjedište"), WorkbookCell::Of(doc.Sjediste)});
    sheet.rows.push_back({WorkbookCell::Of("Razdoblje od"), DateCell(doc.DatumOd)});
    sheet.rows.push_back({WorkbookCell::Of("Razdoblje do"), DateCell(doc.DatumDo)});
    sheet.rows.push_back(
        {WorkbookCell::Of("Broj dionica"),
         WorkbookCell::Of(std::isfinite(doc.BrojDionica) ? doc.BrojDionica : 0, "#,##0")});
    sheet.rows.push_back({WorkbookCell::Of("Iznosi u"), WorkbookCell::Of(unit)});
    sheet.rows.push_back(
        {WorkbookCell::Of("Valuta"), WorkbookCell::Of(std::string(CurrencyCode(ws.currency())))});
    return sheet;
}

WorkbookSheet StatementSheet(const Workspace& ws, Statement s) {
    const StatementFacts& facts = FactsOf(s);
    const GridTexts& grid = ws.grids().of(s);
    const TDokument& doc = ws.document();
    WorkbookSheet sheet;
    sheet.name = std::string(facts.caption);
    const std::string period = PeriodText(doc.DatumOd, doc.DatumDo, kCroatianDatePattern);
    for (int col = 1; col < facts.columns; ++col) {
        std::string header = grid.cell(col, 0);
        // The balance sheet's amount columns carry their dates already; the one-period
        // statements name the period beside their amounts.
        if (s != Statement::Bilanca && col == 3) {
            header += " " + period;
        }
        sheet.headers.push_back(std::move(header));
    }
    for (int row = 1; row <= facts.rows; ++row) {
        std::vector<WorkbookCell> cells;
        cells.push_back(WorkbookCell::Of(double(row), "0"));
        cells.push_back(WorkbookCell::Of(grid.cell(2, row)));
        for (int col = 3; col < facts.columns; ++col) {
            const std::string& shown = grid.cell(col, row);
            const double value = ValueAt(doc, s, col, row);
            if (shown.empty()) {
                cells.push_back(WorkbookCell::Blank());
            } else if (!std::isfinite(value)) {
                cells.push_back(WorkbookCell::Of(shown));
            } else {
                const ExcelNumber excel = ExcelNumberFor(GridPattern(s, col, row), value);
                cells.push_back(WorkbookCell::Of(value * excel.scale, excel.format));
            }
        }
        sheet.rows.push_back(std::move(cells));
        sheet.boldRows.push_back(TemplateRow(s, row).Vrsta.find('b') != std::string_view::npos);
    }
    return sheet;
}

}  // namespace

ExcelNumber ExcelNumberFor(std::string_view gridPattern) {
    std::string format(gridPattern);
    // An empty section for negative values falls back to the first in the grid's patterns; in
    // Excel it would hide them.
    if (!format.empty() && format.back() == ';') {
        format.pop_back();
    }
    // Digits shown only when significant become fixed decimals: Excel would leave a lone
    // decimal point.
    if (format == "#,###.##") {
        format = "#,##0.00";
    } else if (format == "#.##") {
        format = "0.00";
    }
    const bool percent = format.find('%') != std::string::npos;
    return {format, percent ? 0.01 : 1.0};
}

ExcelNumber ExcelNumberFor(std::string_view gridPattern, double value) {
    ExcelNumber excel = ExcelNumberFor(gridPattern);
    const bool optionalDecimals = gridPattern == "#,###.##" || gridPattern == "#.##";
    if (!optionalDecimals || !std::isfinite(value) || std::fabs(value) >= 1e15) {
        return excel;
    }
    // The grid rounds to cents and drops the trailing zeros.
    const long long cents = std::llround(std::fabs(value) * 100);
    const int decimals = cents % 10 != 0 ? 2 : cents % 100 != 0 ? 1 : 0;
    excel.format = gridPattern.front() == '#' && gridPattern.find(',') != std::string_view::npos
                       ? "#,##0"
                       : "0";
    if (decimals > 0) {
        excel.format += "." + std::string(static_cast<std::size_t>(decimals), '0');
    }
    return excel;
}

std::string_view GridPattern(Statement s, int col, int row) {
    if (s == Statement::Pok) {
        return TemplateRow(s, row).Format;
    }
    const bool share =
        (s == Statement::Bilanca && (col == 4 || col == 6)) || (s == Statement::Racun && col == 4);
    return share ? ShareFormat : AmountFormat;
}

namespace {

// The scores as the "Bonitet" page shows them: sections in bold, values as number cells.
WorkbookSheet ScoresSheet(const Workspace& ws) {
    WorkbookSheet sheet{"Bonitet", {"Pokazatelj", "Vrijednost", "Ocjena / napomena"}, {}, {}};
    for (const ScoreLine& line : ScoreSheet(ws.document(), ws.settings())) {
        const std::string indent = line.kind == ScoreLineKind::Section ? ""
                                   : line.kind == ScoreLineKind::Item  ? "   "
                                                                       : "      ";
        WorkbookCell value = WorkbookCell::Blank();
        if (line.number && std::isfinite(*line.number)) {
            const ExcelNumber excel = ExcelNumberFor(line.pattern, *line.number);
            value = WorkbookCell::Of(*line.number * excel.scale, excel.format);
        }
        sheet.rows.push_back(
            {WorkbookCell::Of(indent + line.caption), std::move(value),
             line.note.empty() ? WorkbookCell::Blank() : WorkbookCell::Of(line.note)});
        sheet.boldRows.push_back(line.kind == ScoreLineKind::Section);
    }
    sheet.rows.push_back({WorkbookCell::Of(std::string(kScoresCaveat))});
    sheet.boldRows.push_back(false);
    return sheet;
}

}  // namespace

Workbook DocumentWorkbook(const Workspace& ws, const std::string& unit) {
    Workbook book;
    book.title = ws.document().Poduzece.empty()
                     ? std::string("Financijski izvještaji")
                     : ws.document().Poduzece + " – Financijski izvještaji";
    book.sheets.push_back(GeneralSheet(ws, unit));
    for (Statement s : kAllStatements) {
        book.sheets.push_back(StatementSheet(ws, s));
    }
    book.sheets.push_back(ScoresSheet(ws));
    return book;
}

}  // namespace movik

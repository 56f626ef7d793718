#include "reports/StandingReport.h"

#include "analysis/EuroConversion.h"
#include "reports/DocumentWorkbook.h"
#include "reports/TableReport.h"

namespace movik {

namespace {

constexpr double kCompanyWidth = 40;
constexpr double kPeriodWidth = 40;

// The measures' short codes (their ids: the indicator grid's row numbers) spelled out.
std::string CodesNote(const StandingTable& t) {
    std::string note = "Stupci (redak pokazatelja):";
    for (std::size_t m = 0; m < t.measures().size(); ++m) {
        note += (m ? ", " : " ") + t.measures()[m].label + " " + t.Caption(static_cast<int>(m) + 2);
    }
    return note + ".";
}

}  // namespace

std::vector<PrintJob> StandingReportJobs(const StandingTable& t) {
    TableReportData d;
    d.jobName = "Usporedba - položaj u skupini";
    d.title = "Usporedba dokumenata";
    d.subtitle = "Položaj u skupini";
    d.columns.push_back({"Poduzeće / skupina", kCompanyWidth, false});
    d.columns.push_back({"Razdoblje", kPeriodWidth, false});
    const double width = (kTableReportWidth - kCompanyWidth - kPeriodWidth) /
                         static_cast<double>(t.measures().size());
    for (const StandingMeasure& m : t.measures()) {
        d.columns.push_back({m.label, width, true});
    }
    for (int r = 0; r < t.rowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c + 1 < t.columnCount(); ++c) {  // the file column stays on screen
            cells.push_back(t.Text(r, c));
        }
        if (t.row(r).kind == StandingTable::RowKind::Note) {
            cells.resize(2);  // the reason runs on over the empty measures
        }
        d.rows.push_back(std::move(cells));
    }
    d.notes.push_back(kStandingLegend);
    d.notes.push_back(CodesNote(t));
    bool converted = false;
    for (const StandingEntry& e : t.entries()) {
        converted = converted || e.converted;
    }
    if (converted) {
        d.notes.push_back(
            "Redak označen s \"*\": iznosi po dionici dokumenta u kunama preračunati u eure po "
            "fiksnom tečaju konverzije " +
            std::string(kKunaPerEuroText) + " kn za 1 euro.");
    }
    return {LayOutTableReport(d)};
}

Workbook StandingWorkbook(const StandingTable& t) {
    WorkbookSheet sheet;
    sheet.name = "Položaj u skupini";
    for (int c = 0; c < t.columnCount(); ++c) {
        sheet.headers.push_back(t.Caption(c));
    }
    for (int r = 0; r < t.rowCount(); ++r) {
        const StandingTable::Row& row = t.row(r);
        std::vector<WorkbookCell> cells;
        for (int c = 0; c < t.columnCount(); ++c) {
            const std::optional<std::size_t> m = t.MeasureOfColumn(c);
            const std::optional<double> number = t.Number(r, c);
            if (!m || !number) {
                const std::string text = t.Text(r, c);
                cells.push_back(text.empty() ? WorkbookCell::Blank() : WorkbookCell::Of(text));
                continue;
            }
            if (row.kind == StandingTable::RowKind::Document) {
                // A number that shows its quarter beside it, as the view does.
                const std::optional<int> q = t.Quarter(r, c);
                cells.push_back(WorkbookCell::Of(
                    *number, q ? "0.00\" (" + std::to_string(*q) + ".)\"" : "0.00"));
                continue;
            }
            const ExcelNumber excel = ExcelNumberFor(t.QuartilePattern(*m));
            cells.push_back(WorkbookCell::Of(*number * excel.scale, excel.format));
        }
        sheet.rows.push_back(std::move(cells));
        sheet.boldRows.push_back(row.kind != StandingTable::RowKind::Document);
    }
    return {"Usporedba dokumenata - položaj u skupini", {std::move(sheet)}};
}

}  // namespace movik

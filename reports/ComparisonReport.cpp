#include "reports/ComparisonReport.h"

#include <algorithm>

#include "analysis/EuroConversion.h"
#include "model/StatementRows.h"
#include "model/Templates.h"
#include "reports/TableReport.h"

namespace movik {

namespace {

constexpr double kCompanyWidth = 38;
constexpr double kPeriodWidth = 36;
constexpr double kMinCompanyWidth = 24;

// The columns of the table of one kind, with their positions in the table.
std::vector<int> ColumnsOf(const ComparisonTable& t, ComparisonColumn::Kind kind) {
    std::vector<int> cols;
    for (int c = 0; c < t.columnCount(); ++c) {
        if (t.column(c).kind == kind) {
            cols.push_back(c);
        }
    }
    return cols;
}

// The part's own columns (after company and period) widened to their longest figure (tens of
// billions with their cents), the company column giving up the room down to kMinCompanyWidth.
void FitAmountColumns(TableReportData& d, std::size_t count) {
    double needed = d.columns.back().width;
    for (const std::vector<std::string>& cells : d.rows) {
        for (std::size_t c = 2; c < cells.size(); ++c) {
            needed = std::max(needed, CellWidth(cells[c]));
        }
    }
    const double company = std::max(
        kMinCompanyWidth, kTableReportWidth - kPeriodWidth - needed * static_cast<double>(count));
    d.columns[0].width = company;
    for (std::size_t c = 2; c < d.columns.size(); ++c) {
        d.columns[c].width =
            (kTableReportWidth - company - kPeriodWidth) / static_cast<double>(count);
    }
}

// Company and period of every row, and the part's own columns after them.
TableReportData Part(const ComparisonTable& t, ComparisonColumn::Kind kind,
                     const std::string& subtitle) {
    using K = ComparisonColumn::Kind;
    const int company = ColumnsOf(t, K::Company).front();
    const int period = ColumnsOf(t, K::Period).front();
    const std::vector<int> own = ColumnsOf(t, kind);
    TableReportData d;
    d.title = "Usporedba dokumenata";
    d.subtitle = subtitle;
    d.columns.push_back({"Poduzeće", kCompanyWidth, false});
    d.columns.push_back({"Razdoblje", kPeriodWidth, false});
    const double width =
        (kTableReportWidth - kCompanyWidth - kPeriodWidth) / static_cast<double>(own.size());
    for (const int c : own) {
        d.columns.push_back({t.Caption(c), width, true});
    }
    for (int r = 0; r < t.rowCount(); ++r) {
        const DocumentSummary& s = t.Summary(r);
        // Amounts converted from kunas carry the sign the notes explain.
        std::vector<std::string> cells = {
            s.ok ? (s.converted ? "* " : "") + t.Text(r, company) : s.file, t.Text(r, period)};
        for (const int c : own) {
            cells.push_back(t.Text(r, c));
        }
        if (!s.ok) {
            cells[1] = "nije pročitano: " + s.error;
            cells.resize(2);
        } else if (!s.warnings.empty()) {
            cells[0] = "! " + cells[0];
        }
        d.rows.push_back(std::move(cells));
    }
    FitAmountColumns(d, own.size());
    return d;
}

// The indicators' short names ("A1" ... "D4", group letter and number within the group) and
// the legend lines that spell them out, one per group.
std::vector<std::string> IndicatorCodes(const ComparisonTable& t,
                                        std::vector<std::string>* legend) {
    std::vector<std::string> codes;
    std::string line;
    char group = '@';
    int number = 0;
    for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
        const int row = kIndicatorRows[i];
        if (IsIndicatorHeading(row - 1)) {  // first of a group
            if (!line.empty()) {
                legend->push_back(line);
            }
            ++group;
            number = 0;
            line = std::string(TemplateRow(Statement::Pok, row - 1).Tekst) + ":";
        }
        std::string code = std::string(1, group) + std::to_string(++number);
        std::string caption = IndicatorCaption(static_cast<int>(i), t.currency());
        caption = caption.substr(caption.find(' ') + 1);  // without its "1." number
        line += (number == 1 ? " " : ", ") + code + " " + caption;
        codes.push_back(std::move(code));
    }
    legend->push_back(line);
    return codes;
}

}  // namespace

std::vector<PrintJob> ComparisonReportJobs(const ComparisonTable& t) {
    using K = ComparisonColumn::Kind;
    std::vector<PrintJob> jobs;

    TableReportData amounts = Part(t, K::Amount, "Ključni iznosi");
    amounts.jobName = "Usporedba - iznosi";
    if (t.grouped()) {
        amounts.subtitle =
            "Ključni iznosi po poduzeću i razdoblju; ispod iznosa promjena prema "
            "prethodnom razdoblju istog poduzeća";
        const std::vector<int> changes = ColumnsOf(t, K::Change);
        for (int r = 0; r < t.rowCount(); ++r) {
            std::vector<std::string> below = {"", ""};
            for (const int c : changes) {
                const std::string text = t.Text(r, c);
                below.push_back(text.empty() ? "" : "(" + text + ")");
            }
            amounts.secondLines.push_back(std::move(below));
        }
    }
    // The warnings the marked rows carry, each named once, in the order they first appear.
    std::vector<std::string> warnings;
    for (int r = 0; r < t.rowCount(); ++r) {
        for (const std::string& w : t.Summary(r).warnings) {
            if (std::find(warnings.begin(), warnings.end(), w) == warnings.end()) {
                warnings.push_back(w);
            }
        }
    }
    if (!warnings.empty()) {
        std::string note = "Redak označen s \"!\" ima upozorenje: ";
        for (std::size_t i = 0; i < warnings.size(); ++i) {
            note += (i == 0 ? "" : "; ") + warnings[i];
        }
        amounts.notes.push_back(note + ".");
    }
    if (t.currency()) {
        amounts.notes.push_back("Iznosi u " + std::string(CurrencyCode(*t.currency())) + ".");
    }
    bool converted = false;
    for (int r = 0; r < t.rowCount(); ++r) {
        converted = converted || t.Summary(r).converted;
    }
    if (converted) {
        amounts.notes.push_back(
            "Redak označen s \"*\": iznosi dokumenta u kunama preračunati u eure po fiksnom "
            "tečaju konverzije " +
            std::string(kKunaPerEuroText) + " kn za 1 euro.");
    }
    jobs.push_back(LayOutTableReport(amounts));

    TableReportData indicators = Part(t, K::Indicator, "Financijski pokazatelji");
    indicators.jobName = "Usporedba - pokazatelji";
    const std::vector<std::string> codes = IndicatorCodes(t, &indicators.notes);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        indicators.columns[i + 2].caption = codes[i];
    }
    jobs.push_back(LayOutTableReport(indicators));

    // The early-warning scores as the window's columns show them, under short codes.
    if (!ColumnsOf(t, K::Score).empty()) {
        TableReportData scores =
            Part(t, K::Score, "Ocjene boniteta (Altman, Springate, Kralicek, DuPont)");
        scores.jobName = "Usporedba - bonitet";
        std::string legend;
        for (std::size_t i = 2; i < scores.columns.size(); ++i) {
            const std::string code = "S" + std::to_string(i - 1);
            legend += (i == 2 ? "" : ", ") + code + " " + scores.columns[i].caption;
            scores.columns[i].caption = code;
        }
        scores.notes.push_back(legend + ".");
        jobs.push_back(LayOutTableReport(scores));
    }
    return jobs;
}

}  // namespace movik

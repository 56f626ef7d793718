#pragma once
// A plain table as a landscape A4 report: a title, a header row of captions (two lines each),
// one row per data line (optionally with a smaller second line) and notes after the table.
// Long texts are cut to their column with "…".

#include <string>
#include <vector>

#include "reports/PrintJobs.h"

namespace movik {

struct TableReportColumn {
    std::string caption;
    double width = 20;  // mm
    bool right = false;
};

struct TableReportData {
    std::string jobName;
    std::string title;
    std::string subtitle;
    std::vector<TableReportColumn> columns;  // widths together at most kTableReportWidth
    std::vector<std::vector<std::string>> rows;
    // Per row a second, smaller line (empty, or one text per column); may be empty.
    std::vector<std::vector<std::string>> secondLines;
    std::vector<std::string> notes;
    std::vector<bool> boldRows;  // per row of rows, printed bold; missing entries are plain
    bool portrait = false;       // A4 portrait (width kPortraitReportWidth) instead of landscape
};

// A4 landscape less two 10 mm margins; A4 portrait likewise.
inline constexpr double kTableReportWidth = 277;
inline constexpr double kPortraitReportWidth = 190;

// The report laid out into pages (A4, in mm).
PrintJob LayOutTableReport(const TableReportData& data);

// text cut so it fits width mm in a font of pointSize (an average character width), "…" ending
// a cut text.
std::string FitText(const std::string& text, double width, double pointSize);

// The width in mm a cell's text takes in the table's font, with the margin FitText leaves: a
// column at least this wide shows the text whole.
double CellWidth(const std::string& text);

// A caption split into two lines at the blank nearest its middle ("" second line when short).
std::pair<std::string, std::string> TwoLines(const std::string& caption, std::size_t fits);

}  // namespace movik

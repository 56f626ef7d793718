#include "reports/TableReport.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "model/Utf8.h"
#include "reports/ReportEngine.h"

namespace movik {

namespace {

constexpr double kFontSize = 6.5;
constexpr double kSecondFontSize = 5.5;

ReportLabel Cell(const std::string& name, double left, double top, double width, bool right,
                 double size, bool bold = false) {
    ReportLabel l;
    l.name = name;
    l.left = left + 0.5;
    l.top = top;
    l.width = width - 1;
    l.justify = right ? Justify::Right : Justify::Left;
    l.font = LabelFont{"Arial", size, bold, false};
    return l;
}

// A character's width in em of Liberation Sans (Arial's metrics): figures 0.556, the separators
// and blanks 0.278, a minus or bracket 0.333; other characters average about 0.52 (lower case
// and figures; the "…" of a cut text counts as one of them).
double CharEm(char c) {
    if (c >= '0' && c <= '9') {
        return 0.556;
    }
    switch (c) {
        case '.':
        case ',':
        case ' ':
        case ':':
            return 0.278;
        case '-':
        case '(':
        case ')':
            return 0.333;
        default:
            return 0.52;
    }
}

// The width in em of a text.
double TextEm(std::string_view text) {
    double em = 0;
    for (std::size_t i = 0; i < text.size(); i += StepUtf8(text, i)) {
        em += CharEm(text[i]);
    }
    return em;
}

// Millimetres in a point.
constexpr double kMmPerPoint = 0.3528;

}  // namespace

std::string FitText(const std::string& text, double width, double pointSize) {
    const double room = width / (pointSize * kMmPerPoint);
    if (TextEm(text) <= room) {
        return text;
    }
    // The longest start that leaves room for the "…" (as wide as an average character).
    double used = 0.52;
    std::size_t end = 0;
    while (end < text.size() && used + CharEm(text[end]) <= room) {
        used += CharEm(text[end]);
        end += StepUtf8(text, end);
    }
    return text.substr(0, end) + "…";
}

double CellWidth(const std::string& text) {
    // FitText's room (the label is 1 mm narrower than its column) and half a millimetre to spare.
    return TextEm(text) * kFontSize * kMmPerPoint + 1.5;
}

std::pair<std::string, std::string> TwoLines(const std::string& caption, std::size_t fits) {
    if (Utf8Length(caption) <= fits) {
        return {caption, ""};
    }
    const std::size_t middle = caption.size() / 2;
    std::size_t best = std::string::npos;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == ' ' &&
            (best == std::string::npos || (i > middle ? i - middle : middle - i) <
                                              (best > middle ? best - middle : middle - best))) {
            best = i;
        }
    }
    if (best == std::string::npos) {
        return {caption, ""};
    }
    return {caption.substr(0, best), caption.substr(best + 1)};
}

namespace {

double WidthOf(const TableReportData& data) {
    return data.portrait ? kPortraitReportWidth : kTableReportWidth;
}

// The page header: the title and the subtitle, centred.
ReportBand TitleBand(const TableReportData& data) {
    ReportBand header;
    header.kind = BandKind::PageHeader;
    header.height = 13;
    ReportLabel title = Cell("lNaslov", 0, 0, WidthOf(data), false, 11, true);
    title.caption = data.title;
    title.justify = Justify::Center;
    header.labels.push_back(title);
    ReportLabel subtitle = Cell("lPodnaslov", 0, 6, WidthOf(data), false, 7.5);
    subtitle.caption = data.subtitle;
    subtitle.justify = Justify::Center;
    header.labels.push_back(subtitle);
    return header;
}

// The column header (each caption on up to two lines) and the detail band (a row's cells, and
// the second lines below them when the table has them), column by column.
std::pair<ReportBand, ReportBand> ColumnBands(const TableReportData& data) {
    ReportBand columns;
    columns.kind = BandKind::ColumnHeader;
    columns.height = 7.5;
    columns.frameTop = true;
    columns.frameBottom = true;
    const bool second = !data.secondLines.empty();
    ReportBand detail;
    detail.kind = BandKind::Detail;
    detail.height = second ? 6.2 : 3.8;
    double left = 0;
    for (std::size_t c = 0; c < data.columns.size(); ++c) {
        const TableReportColumn& col = data.columns[c];
        const std::string id = std::to_string(c);
        const double charMm = kFontSize * kMmPerPoint * 0.55;
        const auto [first, rest] =
            TwoLines(col.caption, static_cast<std::size_t>(col.width / charMm));
        ReportLabel top = Cell("h" + id, left, 0.5, col.width, col.right, kFontSize, true);
        top.caption = FitText(first, col.width - 1, kFontSize + 0.5);
        ReportLabel bottom = Cell("g" + id, left, 3.6, col.width, col.right, kFontSize, true);
        bottom.caption = FitText(rest, col.width - 1, kFontSize + 0.5);
        columns.labels.push_back(top);
        columns.labels.push_back(bottom);

        ReportLabel cell = Cell("c" + id, left, 0.3, col.width, col.right, kFontSize);
        cell.fromFeed = true;
        cell.tag = static_cast<int>(c);
        detail.labels.push_back(cell);
        if (second) {
            ReportLabel below = Cell("s" + id, left, 3.3, col.width, col.right, kSecondFontSize);
            below.fromFeed = true;
            below.tag = 1000 + static_cast<int>(c);
            detail.labels.push_back(below);
        }
        left += col.width;
    }
    return {std::move(columns), std::move(detail)};
}

// The notes under the table, a line each.
ReportBand NotesBand(const TableReportData& data) {
    ReportBand summary;
    summary.kind = BandKind::Summary;
    summary.frameTop = true;
    summary.height = 2 + 3.2 * static_cast<double>(data.notes.size());
    for (std::size_t i = 0; i < data.notes.size(); ++i) {
        ReportLabel note = Cell("n" + std::to_string(i), 0, 1.5 + 3.2 * static_cast<double>(i),
                                WidthOf(data), false, 6);
        note.caption = data.notes[i];
        summary.labels.push_back(note);
    }
    return summary;
}

// The data feed: one detail band per row, its cells cut to their columns.
void FeedRows(Report& report, const TableReportData& data) {
    auto row = std::make_shared<std::size_t>(0);
    report.needData = [row, &data] { return (*row)++ < data.rows.size(); };
    report.labelText = [row, &data](const ReportLabel& l) -> std::string {
        const std::size_t r = *row - 1;
        const bool lower = l.tag >= 1000;
        const std::size_t c = static_cast<std::size_t>(lower ? l.tag - 1000 : l.tag);
        const auto& lines = lower ? data.secondLines : data.rows;
        if (r >= lines.size() || c >= lines[r].size() || c >= data.columns.size()) {
            return {};
        }
        return FitText(lines[r][c], data.columns[c].width - 1, lower ? kSecondFontSize : kFontSize);
    };
    report.beforeBand = [row, &data](ReportBand& band) {
        if (band.kind == BandKind::Detail) {
            const std::size_t r = *row - 1;
            const bool bold = r < data.boldRows.size() && data.boldRows[r];
            for (ReportLabel& l : band.labels) {
                l.font.bold = bold;
            }
        }
        return true;
    };
}

}  // namespace

PrintJob LayOutTableReport(const TableReportData& data) {
    Report report;
    report.page.pageWidth = data.portrait ? 210 : 297;
    report.page.pageHeight = data.portrait ? 297 : 210;
    report.jobName = data.jobName;
    report.bands.push_back(TitleBand(data));
    auto [columns, detail] = ColumnBands(data);
    report.bands.push_back(std::move(columns));
    report.bands.push_back(std::move(detail));
    if (!data.notes.empty()) {
        report.bands.push_back(NotesBand(data));
    }
    FeedRows(report, data);
    return LaidOutJob(report);
}

}  // namespace movik

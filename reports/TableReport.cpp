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

}  // namespace

std::string FitText(const std::string& text, double width, double pointSize) {
    // Liberation Sans averages about half an em per character in figures and lower case.
    const double charMm = pointSize * 0.3528 * 0.52;
    const auto fits = static_cast<std::size_t>(std::max(1.0, width / charMm));
    if (Utf8Length(text) <= fits) {
        return text;
    }
    return Utf8Left(text, fits - 1) + "…";
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

// The page header: the title and the subtitle, centred.
ReportBand TitleBand(const TableReportData& data) {
    ReportBand header;
    header.kind = BandKind::PageHeader;
    header.height = 13;
    ReportLabel title = Cell("lNaslov", 0, 0, kTableReportWidth, false, 11, true);
    title.caption = data.title;
    title.justify = Justify::Center;
    header.labels.push_back(title);
    ReportLabel subtitle = Cell("lPodnaslov", 0, 6, kTableReportWidth, false, 7.5);
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
        const double charMm = kFontSize * 0.3528 * 0.55;
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
                                kTableReportWidth, false, 6);
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
}

}  // namespace

PrintJob LayOutTableReport(const TableReportData& data) {
    Report report;
    report.page.pageWidth = 297;
    report.page.pageHeight = 210;
    report.jobName = data.jobName;
    report.bands.push_back(TitleBand(data));
    auto [columns, detail] = ColumnBands(data);
    report.bands.push_back(std::move(columns));
    report.bands.push_back(std::move(detail));
    if (!data.notes.empty()) {
        report.bands.push_back(NotesBand(data));
    }
    FeedRows(report, data);

    PrintJob job;
    job.name = data.jobName;
    LayoutResult laid = LayoutReport(report);
    job.refused = laid.refused;
    job.pages = std::move(laid.pages);
    return job;
}

}  // namespace movik

#pragma once
// A small banded report engine. A Report holds a page set-up and bands of six kinds; each band
// holds text labels and shapes placed in millimetres from the band's top-left corner.
// LayoutReport runs the report (callbacks, data rows, page breaks) and returns pages of plain
// drawing items in millimetres from the page's top-left corner; nothing here needs a paint
// device (see ReportPaint.h for painting the pages).
//
// Print order: page header (every page), title (once), column header (every page, under the
// page header), one detail band per data row, summary (once), page footer (every page, at the
// bottom of the page). A band that does not fit above the page footer starts a new page: the
// footer closes the page, the next page opens with page header and column header.

#include <functional>
#include <string>
#include <vector>

namespace movik {

enum class BandKind { PageHeader, Title, ColumnHeader, Detail, Summary, PageFooter };

enum class Justify { Left, Right, Center };

struct LabelFont {
    std::string family = "Arial";
    double pointSize = 10;
    bool bold = false;
    bool italic = false;

    bool operator==(const LabelFont&) const = default;
};

// Line height of one line of text in the font, in mm (used for label boxes and centring).
double LineHeightMm(const LabelFont& font);

struct ReportLabel {
    std::string name;  // e.g. "lPoduzece"; may be empty
    double left = 0;   // mm from the band's left edge
    double top = 0;    // mm from the band's top edge
    double width = 0;  // mm; for autoWidth labels the text decides (the box reaches the band end)
    bool autoWidth = false;
    Justify justify = Justify::Left;
    LabelFont font;
    std::string caption;    // the fixed or set text
    int tag = 0;            // detail labels: the grid column they print
    bool fromFeed = false;  // text comes from the report's label-text callback, not the caption
};

// Shapes: a horizontal line, or a rectangle drawn as its top and bottom edges only.
struct ReportShape {
    enum class Kind { HorizontalLine, RectTopBottom };
    Kind kind = Kind::HorizontalLine;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;  // rectangles only
};

struct ReportBand {
    BandKind kind = BandKind::Detail;
    double height = 0;  // mm
    std::vector<ReportLabel> labels;
    std::vector<ReportShape> shapes;
    // Frame lines along the band's edges.
    bool frameTop = false;
    bool frameBottom = false;
    bool frameLeft = false;
    bool frameRight = false;

    ReportLabel* label(const std::string& name);
    const ReportLabel* label(const std::string& name) const;
};

struct PageSetup {
    double pageWidth = 210;  // A4 portrait
    double pageHeight = 297;
    double marginLeft = 10;
    double marginTop = 10;
    double marginRight = 10;
    double marginBottom = 10;

    double usableWidth() const { return pageWidth - marginLeft - marginRight; }
};

class Report {
  public:
    Report() = default;
    virtual ~Report() = default;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    PageSetup page;
    std::string jobName;  // the print job's name
    std::vector<ReportBand> bands;

    // Callbacks (all optional).
    // More data? Asked before every detail band; without it there are no detail bands.
    std::function<bool()> needData;
    // Text of a detail label (fromFeed) as it prints.
    std::function<std::string(const ReportLabel&)> labelText;
    // Before a band prints; may change the band's label fonts. false skips the band.
    std::function<bool(ReportBand&)> beforeBand;
    // Before the report runs; false cancels it (LayoutReport then returns a refusal).
    std::function<bool()> beforeReport;
    // After the report has run.
    std::function<void()> afterReport;

    ReportBand* band(BandKind kind);
    const ReportBand* band(BandKind kind) const;
    // The label called name in any band (nullptr when none).
    ReportLabel* label(const std::string& name);
    const ReportLabel* label(const std::string& name) const;
    // Sets the caption of label name; false when there is no such label.
    bool SetCaption(const std::string& name, const std::string& text);
};

// One drawing item of a laid-out page, in mm from the page's top-left corner.
struct DrawItem {
    enum class Kind { Text, Line };
    Kind kind = Kind::Text;
    double x = 0;
    double y = 0;
    double width = 0;   // text: the label's box; line: the horizontal extent
    double height = 0;  // text: one line; line: the vertical extent (0 for horizontal lines)
    std::string text;
    LabelFont font;
    Justify justify = Justify::Left;
    int band = -1;       // index into PlacedBand list of its page
    std::string name;    // label name, for texts
    int tag = 0;         // label tag, for texts
    bool elide = false;  // text wider than its box ends in "…" (auto width boxes end at the band)
};

struct PlacedBand {
    BandKind kind;
    double top;  // mm from the page's top edge
    double height;
};

struct LaidOutPage {
    std::vector<PlacedBand> bands;  // in print order
    std::vector<DrawItem> items;
};

struct LayoutResult {
    bool refused = false;  // the report's before-report callback cancelled it
    std::vector<LaidOutPage> pages;
};

// Runs the report: before-report, bands with their callbacks and page breaks, after-report.
LayoutResult LayoutReport(Report& report);

}  // namespace movik

#include "reports/ReportEngine.h"

namespace movik {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
constexpr double kLineSpacing = 1.15;  // a line of text is a little taller than the font size

// Builds a report's pages band by band, breaking pages as bands stop fitting.
class PageBuilder {
  public:
    explicit PageBuilder(Report& report) : report_(report) {
        top_ = report.page.marginTop;
        const ReportBand* footer = report.band(BandKind::PageFooter);
        footerHeight_ = footer ? footer->height : 0;
        bottom_ = report.page.pageHeight - report.page.marginBottom;
    }

    void OpenPage() {
        pages_.emplace_back();
        y_ = top_;
        PrintIfPresent(BandKind::PageHeader);
    }

    // Places band after a page break when it does not fit above the page footer; a band taller
    // than an empty page is placed anyway (it would never fit) so the layout always ends.
    void Place(ReportBand& band) {
        if (y_ + band.height > bottom_ - footerHeight_ + 1e-9 && !PageHoldsOnlyHeaders()) {
            ClosePage();
            OpenPage();
            PrintIfPresent(BandKind::ColumnHeader);
        }
        Emit(band, y_);
        y_ += band.height;
    }

    void PrintIfPresent(BandKind kind) {
        if (ReportBand* band = report_.band(kind); band && Allowed(*band)) {
            Emit(*band, y_);
            y_ += band->height;
        }
    }

    bool Allowed(ReportBand& band) { return !report_.beforeBand || report_.beforeBand(band); }

    void ClosePage() {
        if (ReportBand* footer = report_.band(BandKind::PageFooter); footer && Allowed(*footer)) {
            Emit(*footer, bottom_ - footer->height);
        }
    }

    std::vector<LaidOutPage> Take() { return std::move(pages_); }

  private:
    bool PageHoldsOnlyHeaders() const {
        for (const PlacedBand& b : pages_.back().bands) {
            if (b.kind != BandKind::PageHeader && b.kind != BandKind::ColumnHeader) {
                return false;
            }
        }
        return true;
    }

    void Emit(const ReportBand& band, double bandTop) {
        LaidOutPage& page = pages_.back();
        const int index = static_cast<int>(page.bands.size());
        page.bands.push_back({band.kind, bandTop, band.height});
        const double left = report_.page.marginLeft;
        const double width = report_.page.usableWidth();
        auto line = [&](double x, double y, double w, double h) {
            DrawItem item;
            item.kind = DrawItem::Kind::Line;
            item.x = x;
            item.y = y;
            item.width = w;
            item.height = h;
            item.band = index;
            page.items.push_back(std::move(item));
        };
        if (band.frameTop)
            line(left, bandTop, width, 0);
        if (band.frameBottom)
            line(left, bandTop + band.height, width, 0);
        if (band.frameLeft)
            line(left, bandTop, 0, band.height);
        if (band.frameRight)
            line(left + width, bandTop, 0, band.height);
        for (const ReportShape& s : band.shapes) {
            line(left + s.left, bandTop + s.top, s.width, 0);
            if (s.kind == ReportShape::Kind::RectTopBottom) {
                line(left + s.left, bandTop + s.top + s.height, s.width, 0);
            }
        }
        for (const ReportLabel& l : band.labels) {
            DrawItem item;
            item.kind = DrawItem::Kind::Text;
            item.x = left + l.left;
            item.y = bandTop + l.top;
            item.width = l.autoWidth ? width - l.left : l.width;
            item.height = LineHeightMm(l.font);
            item.text = l.fromFeed && report_.labelText ? report_.labelText(l) : l.caption;
            item.font = l.font;
            item.justify = l.justify;
            item.band = index;
            item.name = l.name;
            item.tag = l.tag;
            item.elide = l.autoWidth;
            page.items.push_back(std::move(item));
        }
    }

    Report& report_;
    std::vector<LaidOutPage> pages_;
    double top_ = 0;
    double bottom_ = 0;
    double footerHeight_ = 0;
    double y_ = 0;
};

}  // namespace

double LineHeightMm(const LabelFont& font) {
    return font.pointSize * kMmPerPoint * kLineSpacing;
}

ReportLabel* ReportBand::label(const std::string& name) {
    for (ReportLabel& l : labels) {
        if (l.name == name)
            return &l;
    }
    return nullptr;
}

const ReportLabel* ReportBand::label(const std::string& name) const {
    return const_cast<ReportBand*>(this)->label(name);
}

ReportBand* Report::band(BandKind kind) {
    for (ReportBand& b : bands) {
        if (b.kind == kind)
            return &b;
    }
    return nullptr;
}

const ReportBand* Report::band(BandKind kind) const {
    return const_cast<Report*>(this)->band(kind);
}

ReportLabel* Report::label(const std::string& name) {
    for (ReportBand& b : bands) {
        if (ReportLabel* l = b.label(name))
            return l;
    }
    return nullptr;
}

const ReportLabel* Report::label(const std::string& name) const {
    return const_cast<Report*>(this)->label(name);
}

bool Report::SetCaption(const std::string& name, const std::string& text) {
    ReportLabel* l = label(name);
    if (!l)
        return false;
    l->caption = text;
    return true;
}

LayoutResult LayoutReport(Report& report) {
    LayoutResult result;
    if (report.beforeReport && !report.beforeReport()) {
        result.refused = true;
        return result;
    }
    PageBuilder builder(report);
    builder.OpenPage();
    builder.PrintIfPresent(BandKind::Title);
    builder.PrintIfPresent(BandKind::ColumnHeader);
    if (ReportBand* detail = report.band(BandKind::Detail); detail && report.needData) {
        while (report.needData()) {
            if (builder.Allowed(*detail))
                builder.Place(*detail);
        }
    }
    if (ReportBand* summary = report.band(BandKind::Summary);
        summary && builder.Allowed(*summary)) {
        builder.Place(*summary);
    }
    builder.ClosePage();
    result.pages = builder.Take();
    if (report.afterReport)
        report.afterReport();
    return result;
}

}  // namespace movik

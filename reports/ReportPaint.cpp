#include "reports/ReportPaint.h"
#include "movik/Version.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>

#include "document/DocumentFile.h"

namespace movik {

namespace {

constexpr double kLineWidthMm = 0.2;
constexpr int kPdfResolution = 1200;

QFont QtFont(const LabelFont& label) {
    QFont font(ResolveFontFamily(label.family));
    font.setPointSizeF(label.pointSize);
    font.setBold(label.bold);
    font.setItalic(label.italic);
    // Positions are in millimetres at print resolution; hinting buys nothing and costs time.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// One line of text shaped once: the same layout measures it and draws it.
class TextLine {
  public:
    TextLine(const QString& text, const QFont& font) : layout_(text, font) {
        QTextOption option(Qt::AlignLeft);
        option.setWrapMode(QTextOption::NoWrap);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout_.setTextOption(option);
        layout_.setCacheEnabled(true);
        layout_.beginLayout();
        line_ = layout_.createLine();
        line_.setLineWidth(kUnbounded);
        line_.setPosition(QPointF(0, 0));
        layout_.endLayout();
    }
    double Width() const { return line_.naturalTextWidth(); }
    // Draws the line in box, top-aligned and justified as given.
    void Draw(QPainter& painter, const QRectF& box, Justify justify) const {
        double offset = 0;
        if (justify == Justify::Right)
            offset = box.width() - line_.horizontalAdvance();
        else if (justify == Justify::Center)
            offset = (box.width() - line_.horizontalAdvance()) / 2;
        line_.draw(&painter, QPointF(box.x() + offset, box.y()));
    }

  private:
    static constexpr double kUnbounded = 0x01000000;
    QTextLayout layout_;
    QTextLine line_;
};

// A text in its box as drawText with top alignment on a single line would draw it, but shaped
// once rather than once to measure and again to draw: measuring and shaping the texts is most
// of a report's painting. A text wider than its box ends in "…" when the item says so; any other
// (a very large amount or total) is drawn smaller until it fits, rather than running over the
// row text beside it.
void DrawText(QPainter& painter, const QFont& font, const QRectF& box, const DrawItem& item) {
    QString text = QString::fromStdString(item.text);
    text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    TextLine line(text, font);
    const double width = line.Width();
    if (item.elide && width > box.width()) {
        const QString elided =
            QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, box.width());
        TextLine(elided, font).Draw(painter, box, item.justify);
    } else if (!item.elide && width > box.width() && box.width() > 0) {
        QFont smaller = font;
        smaller.setPointSizeF(font.pointSizeF() * box.width() / width * 0.98);
        TextLine(text, smaller).Draw(painter, box, item.justify);
    } else {
        line.Draw(painter, box, item.justify);
    }
}

}  // namespace

QString ResolveFontFamily(const std::string& family) {
    if (family == "Arial" || family == "Arial CE")
        return QStringLiteral("Liberation Sans");
    return QString::fromStdString(family);
}

void PreparePagedDevice(QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
}

void PaintPage(const LaidOutPage& page, QPainter& painter, double dotsPerMm) {
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(kLineWidthMm * dotsPerMm);
    painter.setPen(pen);
    LabelFont current;
    bool fontSet = false;
    QFont font;
    for (const DrawItem& item : page.items) {
        const QRectF box(item.x * dotsPerMm, item.y * dotsPerMm, item.width * dotsPerMm,
                         item.height * dotsPerMm);
        if (item.kind == DrawItem::Kind::Line) {
            painter.drawLine(box.topLeft(), box.bottomRight());
            continue;
        }
        if (item.text.empty())
            continue;
        if (!fontSet || !(item.font == current)) {
            current = item.font;
            fontSet = true;
            font = QFont(QtFont(current), painter.device());
        }
        DrawText(painter, font, box, item);
    }
    painter.restore();
}

int PaintJobs(const std::vector<PrintJob>& jobs, QPagedPaintDevice& device, QPainter& painter) {
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    int painted = 0;
    for (const PrintJob& job : jobs) {
        if (job.refused)
            continue;
        for (const LaidOutPage& page : job.pages) {
            if (painted > 0)
                device.newPage();
            PaintPage(page, painter, dotsPerMm);
            ++painted;
        }
    }
    return painted;
}

QByteArray RenderPdf(const std::vector<PrintJob>& jobs, const QString& title,
                     QPageLayout::Orientation orientation) {
    QByteArray bytes;
    bytes.reserve(128 * 1024);  // the six reports of a document take about 50 KB
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setTitle(title);
        writer.setCreator(QString::fromUtf8(kProgramTitle));
        PreparePagedDevice(writer, orientation);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const int pages = PaintJobs(jobs, writer, painter);
        painter.end();
        if (pages == 0)
            return {};
    }
    return bytes;
}

Result SavePdf(const std::vector<PrintJob>& jobs, const QString& title, const std::string& path,
               QPageLayout::Orientation orientation) {
    const QByteArray pdf = RenderPdf(jobs, title, orientation);
    if (pdf.isEmpty())
        return Result::Fail("Nema stranica za izvoz u PDF.");
    const std::vector<std::uint8_t> content(pdf.begin(), pdf.end());
    return MakeSystemFileWriter()->WriteWhole(path, content);
}

}  // namespace movik

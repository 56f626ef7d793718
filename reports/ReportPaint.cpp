#include "reports/ReportPaint.h"
#include "movik/Version.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>

#include "document/DocumentFile.h"

namespace movik {

namespace {

constexpr double kLineWidthMm = 0.2;
constexpr int kPdfResolution = 1200;

Qt::Alignment AlignmentOf(Justify j) {
    switch (j) {
        case Justify::Left:
            return Qt::AlignLeft;
        case Justify::Right:
            return Qt::AlignRight;
        case Justify::Center:
            return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

QFont QtFont(const LabelFont& label) {
    QFont font(ResolveFontFamily(label.family));
    font.setPointSizeF(label.pointSize);
    font.setBold(label.bold);
    font.setItalic(label.italic);
    // Positions are in millimetres at print resolution; hinting buys nothing and costs time.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
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
    QFontMetricsF metrics(painter.font(), painter.device());
    for (const DrawItem& item : page.items) {
        const double x = item.x * dotsPerMm;
        const double y = item.y * dotsPerMm;
        const double w = item.width * dotsPerMm;
        const double h = item.height * dotsPerMm;
        if (item.kind == DrawItem::Kind::Line) {
            painter.drawLine(QPointF(x, y), QPointF(x + w, y + h));
            continue;
        }
        if (item.text.empty())
            continue;
        if (!fontSet || !(item.font == current)) {
            current = item.font;
            fontSet = true;
            painter.setFont(QtFont(current));
            metrics = QFontMetricsF(painter.font(), painter.device());
        }
        QString text = QString::fromStdString(item.text);
        if (item.elide) {
            text = metrics.elidedText(text, Qt::ElideRight, w);
        }
        // A text wider than its fixed box (a very large amount or total) is drawn smaller until
        // it fits, rather than running over the row text beside it.
        const double textWidth = item.elide ? 0 : metrics.horizontalAdvance(text);
        const bool shrink = textWidth > w && w > 0;
        if (shrink) {
            QFont smaller = painter.font();
            smaller.setPointSizeF(smaller.pointSizeF() * w / textWidth * 0.98);
            painter.setFont(smaller);
            fontSet = false;
        }
        painter.drawText(
            QRectF(x, y, w, h),
            AlignmentOf(item.justify) | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
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

#include "charts/ChartRender.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <array>
#include <cmath>
#include <memory>

#include "document/FileIO.h"

namespace movik {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Colours of clearly different lightness (greys about 57, 161, 111, 229 for the first four), so
// neighbours stay apart in grey; from the fifth series on, hatching or dashes tell them apart.
constexpr std::array<QRgb, 8> kColours = {0xff1f3b73, 0xffe09b1a, 0xff4f8a3c, 0xffdce6f5,
                                          0xff7a1f2b, 0xffe8956b, 0xff404040, 0xff9ec9b8};
constexpr std::array<Qt::BrushStyle, 8> kBrushStyles = {
    Qt::SolidPattern, Qt::SolidPattern,     Qt::SolidPattern,  Qt::SolidPattern,
    Qt::BDiagPattern, Qt::DiagCrossPattern, Qt::Dense5Pattern, Qt::FDiagPattern};
constexpr std::array<Qt::PenStyle, 4> kPenStyles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                    Qt::DashDotLine};

QColor ColourOf(std::size_t i) {
    return QColor::fromRgb(kColours[i % kColours.size()]);
}

QFont ChartFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void StyleBarSet(QBarSet* set, std::size_t i) {
    set->setBrush(QBrush(ColourOf(i), kBrushStyles[i % kBrushStyles.size()]));
    set->setPen(QPen(QColor(40, 40, 40), 0.8));
}

// Value axis: the locale's separators, whole numbers for amounts, a "%" after shares.
QValueAxis* ValueAxis(const ChartPanel& panel) {
    auto* axis = new QValueAxis;
    double low = 0;
    double high = 0;
    for (const ChartSeries& s : panel.series) {
        for (double v : s.values) {
            if (std::isfinite(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
    }
    if (panel.style == SeriesStyle::StackedBars) {
        // Stacks add up: positive parts upwards, negative ones downwards.
        low = high = 0;
        for (std::size_t c = 0; c < panel.categories.size(); ++c) {
            double up = 0;
            double down = 0;
            for (const ChartSeries& s : panel.series) {
                const double v = c < s.values.size() ? s.values[c] : 0.0;
                if (std::isfinite(v)) {
                    (v >= 0 ? up : down) += v;
                }
            }
            high = std::max(high, up);
            low = std::min(low, down);
        }
    }
    if (low == high) {
        high = low + 1;
    }
    if (panel.percent && panel.style == SeriesStyle::StackedBars && low >= 0 && high <= 100.001) {
        axis->setRange(0, 100);  // shares of a whole: the full scale
        axis->setTickCount(6);
    } else {
        // A little room above the highest bar or point, so it never ends on the frame.
        axis->setRange(low * 1.04, high * 1.04);
        axis->applyNiceNumbers();
    }
    const bool small = std::max(std::fabs(axis->min()), std::fabs(axis->max())) < 10;
    // The locale's separators apply to the number; what follows it is copied as it is.
    axis->setLabelFormat(panel.percent
                             ? (small ? QStringLiteral("%.1f %") : QStringLiteral("%.0f %"))
                             : (small ? QStringLiteral("%.2f") : QStringLiteral("%.0f")));
    axis->setLabelsFont(ChartFont(8));
    return axis;
}

// How a panel shows its legend: at the bottom, on the right (many series), or not at all (the
// picture's panels share one, shown by the last).
enum class LegendPlace { Bottom, Right, None };

std::unique_ptr<QChart> MakeChart(const ChartPanel& panel, const QLocale& locale,
                                  LegendPlace legend) {
    auto chart = std::make_unique<QChart>();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
    chart->setTitle(FromUtf8(panel.title));
    chart->setTitleFont(ChartFont(11, true));
    chart->setBackgroundRoundness(0);
    chart->legend()->setVisible(legend != LegendPlace::None);
    chart->legend()->setAlignment(legend == LegendPlace::Right ? Qt::AlignRight : Qt::AlignBottom);
    chart->legend()->setFont(ChartFont(9));

    QStringList categories;
    for (const std::string& c : panel.categories) {
        // Axis labels are rich text: a line break is written as such.
        categories << FromUtf8(c).toHtmlEscaped().replace(QLatin1Char('\n'),
                                                          QStringLiteral("<br>"));
    }
    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setLabelsFont(ChartFont(8));
    QValueAxis* valueAxis = ValueAxis(panel);
    chart->addAxis(categoryAxis, Qt::AlignBottom);
    chart->addAxis(valueAxis, Qt::AlignLeft);

    if (panel.style == SeriesStyle::Lines) {
        for (std::size_t i = 0; i < panel.series.size(); ++i) {
            const ChartSeries& s = panel.series[i];
            auto* line = new QLineSeries;
            line->setName(FromUtf8(s.name));
            for (std::size_t c = 0; c < s.values.size(); ++c) {
                if (std::isfinite(s.values[c])) {
                    line->append(double(c), s.values[c]);
                }
            }
            QPen pen(ColourOf(i), 2.5, kPenStyles[i % kPenStyles.size()]);
            line->setPen(pen);
            line->setPointsVisible(true);
            line->setMarkerSize(8);
            chart->addSeries(line);
            line->attachAxis(categoryAxis);
            line->attachAxis(valueAxis);
        }
        // Points sit on the categories 0 .. n-1.
        categoryAxis->setRange(categories.value(0), categories.value(categories.size() - 1));
        return chart;
    }
    QAbstractBarSeries* bars = panel.style == SeriesStyle::StackedBars
                                   ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                   : static_cast<QAbstractBarSeries*>(new QBarSeries);
    for (std::size_t i = 0; i < panel.series.size(); ++i) {
        const ChartSeries& s = panel.series[i];
        auto* set = new QBarSet(FromUtf8(s.name));
        for (double v : s.values) {
            *set << (std::isfinite(v) ? v : 0.0);
        }
        StyleBarSet(set, i);
        bars->append(set);
    }
    chart->addSeries(bars);
    bars->attachAxis(categoryAxis);
    bars->attachAxis(valueAxis);
    return chart;
}

}  // namespace

void PaintChart(const ChartPicture& picture, QPainter& painter, const QRectF& target,
                const QLocale& locale) {
    painter.save();
    painter.fillRect(target, Qt::white);
    const QFont titleFont = ChartFont(14, true);
    const qreal titleHeight = QFontMetricsF(titleFont, painter.device()).height() * 1.8;
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(target.left(), target.top(), target.width(), titleHeight),
                     Qt::AlignCenter, FromUtf8(picture.title));
    // What the picture leaves out is said under its title, wrapped to the picture's width.
    qreal top = target.top() + titleHeight;
    if (!picture.note.empty()) {
        const QFont noteFont = ChartFont(10, false);
        painter.setFont(noteFont);
        const QRectF room(target.left() + 8, top, target.width() - 16, target.height() / 4);
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF used = painter.boundingRect(room, flags, FromUtf8(picture.note));
        painter.drawText(room, flags, FromUtf8(picture.note));
        top += used.height() + QFontMetricsF(noteFont, painter.device()).height() * 0.4;
    }
    // Panels with the same series share the last one's legend; many series stand on the right,
    // where their names have room, and that panel gets the room for them.
    bool shared = picture.panels.size() > 1;
    bool many = false;
    for (const ChartPanel& panel : picture.panels) {
        many = many || panel.series.size() > 4;
        if (panel.series.size() != picture.panels.front().series.size()) {
            shared = false;
            continue;
        }
        for (std::size_t i = 0; i < panel.series.size(); ++i) {
            shared = shared && panel.series[i].name == picture.panels.front().series[i].name;
        }
    }
    const LegendPlace place = many ? LegendPlace::Right : LegendPlace::Bottom;
    const qreal lastWeight = shared && many ? 1.5 : 1.0;
    const qreal unit = target.width() / (qreal(picture.panels.size()) - 1 + lastWeight);
    const qreal height = target.bottom() - top;
    qreal left = target.left();
    for (std::size_t i = 0; i < picture.panels.size(); ++i) {
        const bool last = i + 1 == picture.panels.size();
        const qreal width = last ? unit * lastWeight : unit;
        QGraphicsScene scene;
        std::unique_ptr<QChart> chart =
            MakeChart(picture.panels[i], locale, shared && !last ? LegendPlace::None : place);
        QChart* item = chart.release();
        scene.addItem(item);  // the scene owns it now
        item->setGeometry(QRectF(0, 0, width, height));
        scene.setSceneRect(0, 0, width, height);
        scene.render(&painter, QRectF(left, top, width, height), scene.sceneRect());
        left += width;
    }
    painter.restore();
}

QImage RenderChartImage(const ChartPicture& picture, QSize size, const QLocale& locale) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintChart(picture, painter, QRectF(QPointF(0, 0), QSizeF(size)), locale);
    painter.end();
    return image;
}

QByteArray RenderChartSvg(const ChartPicture& picture, QSize size, const QLocale& locale) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(FromUtf8(picture.title));
    QPainter painter(&svg);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintChart(picture, painter, QRectF(QPointF(0, 0), QSizeF(size)), locale);
    painter.end();
    return buffer.data();
}

QByteArray RenderChartPdf(const ChartPicture& picture, const QLocale& locale) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(FromUtf8(picture.title));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                  QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    pdf.setResolution(150);
    QPainter painter(&pdf);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    PaintChart(picture, painter, QRectF(QPointF(0, 0), QSizeF(page.size())), locale);
    painter.end();
    return buffer.data();
}

Result SaveChart(const ChartPicture& picture, const std::string& path, QSize size,
                 const QLocale& locale) {
    const QString lower = QString::fromStdString(path).toLower();
    QByteArray bytes;
    if (lower.endsWith(QStringLiteral(".png"))) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // Quick compression (level 1 of 9): a chart is mostly flat colour and stays small, while
        // the default level takes longer than drawing it.
        if (!RenderChartImage(picture, size, locale).save(&buffer, "PNG", 80)) {
            return Result::Fail("Slika grafikona nije izrađena");
        }
    } else if (lower.endsWith(QStringLiteral(".svg"))) {
        bytes = RenderChartSvg(picture, size, locale);
    } else {
        return Result::Fail("Grafikon se sprema kao .png ili .svg, ne kao " + path);
    }
    return MakeSystemFileWriter()->WriteWhole(
        path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

const ChartDrawing& LinkedChartDrawing() {
    static const ChartDrawing drawing{&RenderChartImage, &RenderChartPdf, &SaveChart};
    return drawing;
}

}  // namespace movik

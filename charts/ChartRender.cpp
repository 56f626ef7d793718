#include "charts/ChartRender.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QScatterSeries>
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

// The picture being painted grows its texts by this much (ChartPicture::fontScale). Pictures
// are painted on the GUI thread only, one at a time.
double gFontScale = 1.0;

class FontScale {
  public:
    explicit FontScale(double scale) : saved_(gFontScale) { gFontScale = scale > 0 ? scale : 1.0; }
    ~FontScale() { gFontScale = saved_; }
    FontScale(const FontScale&) = delete;
    FontScale& operator=(const FontScale&) = delete;

  private:
    double saved_;
};

QFont ChartFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize * gFontScale);
    font.setBold(bold);
    return font;
}

// Plain bars beside each other (not stacks) are told apart by hatching from the second series
// on, as the stacks' fifth and later parts are: colours of near lightness look alike in grey.
constexpr std::array<Qt::BrushStyle, 8> kBarStyles = {
    Qt::SolidPattern, Qt::BDiagPattern, Qt::DiagCrossPattern, Qt::Dense4Pattern,
    Qt::FDiagPattern, Qt::CrossPattern, Qt::Dense6Pattern,    Qt::HorPattern};

QBrush BarBrush(const ChartPanel& panel, std::size_t i) {
    const auto& styles = panel.style == SeriesStyle::StackedBars ? kBrushStyles : kBarStyles;
    return QBrush(ColourOf(panel.firstColour + i), styles[i % styles.size()]);
}

QPen BarPen() {
    return QPen(QColor(40, 40, 40), 0.8);
}

// A line in one of the pale fill colours would hardly show on white: it is drawn darker.
QColor LineColour(const ChartPanel& panel, std::size_t i) {
    const QColor colour = ColourOf(panel.firstColour + i);
    return colour.lightness() > 170 ? colour.darker(170) : colour;
}

QPen LinePen(const ChartPanel& panel, std::size_t i) {
    return QPen(LineColour(panel, i), 2.5, kPenStyles[i % kPenStyles.size()]);
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
    for (const ChartBox& box : panel.boxes) {
        if (std::isfinite(box.low) && std::isfinite(box.high)) {
            low = std::min(low, box.low);
            high = std::max(high, box.high);
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
    if (panel.percent && panel.style == SeriesStyle::StackedBars && low >= 0 && high <= 100.001) {
        axis->setRange(0, 100);  // shares of a whole: the full scale
        axis->setTickCount(6);
    } else {
        const AxisRange range = NiceAxisRange(low, high);
        axis->setRange(range.min, range.max);
        axis->setTickCount(static_cast<int>(std::lround((range.max - range.min) / range.step)) + 1);
    }
    if (!panel.valueTitle.empty()) {
        axis->setTitleText(FromUtf8(panel.valueTitle));
        axis->setTitleFont(ChartFont(8));
    }
    const bool small = std::max(std::fabs(axis->min()), std::fabs(axis->max())) < 10;
    // The locale's separators apply to the number; what follows it is copied as it is.
    axis->setLabelFormat(panel.percent
                             ? (small ? QStringLiteral("%.1f %") : QStringLiteral("%.0f %"))
                             : (small ? QStringLiteral("%.2f") : QStringLiteral("%.0f")));
    axis->setLabelsFont(ChartFont(8));
    return axis;
}

// A word too long for width in pieces that fit, each but the last ending in "-".
QStringList WordPieces(const QString& word, const QFontMetricsF& metrics, qreal width) {
    QStringList pieces;
    QString piece;
    for (const QChar c : word) {
        if (!piece.isEmpty() && metrics.horizontalAdvance(piece + c + u'-') > width) {
            pieces << piece + u'-';
            piece.clear();
        }
        piece += c;
    }
    return pieces << piece;
}

// A category label broken into lines at its spaces so that each fits width (a long company
// name under its bars), as rich text; a word longer than width is broken with a hyphen.
QString WrappedLabel(const QString& text, qreal width) {
    const QFontMetricsF metrics(ChartFont(8));
    QStringList lines;
    for (const QString& given : text.split(QLatin1Char('\n'))) {
        QStringList words;
        for (const QString& word : given.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            words << (metrics.horizontalAdvance(word) > width ? WordPieces(word, metrics, width)
                                                              : QStringList{word});
        }
        QString line;
        for (const QString& word : std::as_const(words)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    for (QString& line : lines) {
        line = line.toHtmlEscaped();
    }
    return lines.join(QStringLiteral("<br>"));
}

// The points of a box plot's series: shapes as well as colours tell them apart in grey.
constexpr std::array<QScatterSeries::MarkerShape, 4> kMarkerShapes = {
    QScatterSeries::MarkerShapeCircle, QScatterSeries::MarkerShapeRectangle,
    QScatterSeries::MarkerShapeTriangle, QScatterSeries::MarkerShapeRotatedRectangle};

QColor PointColour(const ChartPanel& panel, std::size_t i) {
    // The box is drawn in the palest colour; points take the stronger ones.
    constexpr std::array<std::size_t, 5> strong = {0, 4, 2, 1, 6};
    return ColourOf(panel.firstColour + strong[i % strong.size()]);
}

// The boxes (pale fill, dark lines), then each series as points beside the middle of its
// category, so that several companies in one year stay apart.
void AddBoxPlots(QChart& chart, const ChartPanel& panel, QBarCategoryAxis* categoryAxis,
                 QValueAxis* valueAxis) {
    auto* boxes = new QBoxPlotSeries;
    boxes->setName(FromUtf8(panel.boxName));
    for (const ChartBox& b : panel.boxes) {
        auto* set = new QBoxSet(b.low, b.q1, b.median, b.q3, b.high);
        set->setBrush(QColor(0xdc, 0xe6, 0xf5));
        set->setPen(QPen(QColor(40, 40, 40), 1.2));
        boxes->append(set);
    }
    boxes->setBoxWidth(0.45);
    chart.addSeries(boxes);
    boxes->attachAxis(categoryAxis);
    boxes->attachAxis(valueAxis);
    const double count = static_cast<double>(panel.series.size());
    for (std::size_t i = 0; i < panel.series.size(); ++i) {
        auto* points = new QScatterSeries;
        points->setName(FromUtf8(panel.series[i].name));
        const double offset = (static_cast<double>(i) - (count - 1) / 2) * 0.1;
        for (std::size_t c = 0; c < panel.series[i].values.size(); ++c) {
            if (std::isfinite(panel.series[i].values[c])) {
                points->append(static_cast<double>(c) + offset, panel.series[i].values[c]);
            }
        }
        points->setMarkerShape(kMarkerShapes[i % kMarkerShapes.size()]);
        points->setMarkerSize(11);
        points->setColor(PointColour(panel, i));
        points->setBorderColor(Qt::black);
        chart.addSeries(points);
        points->attachAxis(categoryAxis);
        points->attachAxis(valueAxis);
    }
}

std::unique_ptr<QChart> MakeChart(const ChartPanel& panel, const QLocale& locale, qreal width) {
    auto chart = std::make_unique<QChart>();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
    chart->setTitle(FromUtf8(panel.title));
    chart->setTitleFont(ChartFont(11, true));
    chart->setBackgroundRoundness(0);
    // The legend is painted by PaintChart, with keys as tall as their names.
    chart->legend()->setVisible(false);

    // Axis labels are rich text: a line break is written as such. Each has the room of its
    // category, less the plot's margins and the value axis.
    const qreal room = std::max<qreal>(
        40, (width * 0.8 - 60) / qreal(std::max<std::size_t>(panel.categories.size(), 1)) * 0.7);
    QStringList categories;
    for (const std::string& c : panel.categories) {
        categories << WrappedLabel(FromUtf8(c), room);
    }
    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setLabelsFont(ChartFont(8));
    QValueAxis* valueAxis = ValueAxis(panel);
    chart->addAxis(categoryAxis, Qt::AlignBottom);
    chart->addAxis(valueAxis, Qt::AlignLeft);

    if (panel.style == SeriesStyle::BoxPlots) {
        AddBoxPlots(*chart, panel, categoryAxis, valueAxis);
        return chart;
    }
    if (panel.style == SeriesStyle::Lines) {
        // A series is drawn as one line a stretch, so that a missing value leaves a gap.
        for (std::size_t i = 0; i < panel.series.size(); ++i) {
            const ChartSeries& s = panel.series[i];
            for (const LineStretch& stretch : LineStretches(s.values)) {
                auto* line = new QLineSeries;
                line->setName(FromUtf8(s.name));
                for (std::size_t c = stretch.first; c < stretch.last; ++c) {
                    line->append(double(c), s.values[c]);
                }
                line->setPen(LinePen(panel, i));
                line->setPointsVisible(true);
                line->setMarkerSize(8);
                chart->addSeries(line);
                line->attachAxis(categoryAxis);
                line->attachAxis(valueAxis);
            }
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
        set->setBrush(BarBrush(panel, i));
        set->setPen(BarPen());
        bars->append(set);
    }
    chart->addSeries(bars);
    bars->attachAxis(categoryAxis);
    bars->attachAxis(valueAxis);
    return chart;
}

}  // namespace

namespace {

// A legend of a panel's series, flowing in rows across width: a key as tall as the text (a
// patch of the bars' brush, or a stretch of the line with its point), then the series' name.
class Legend {
  public:
    Legend(const ChartPanel& panel, QPaintDevice* device)
        : panel_(panel), font_(ChartFont(9)), metrics_(font_, device) {}

    qreal Height(qreal width) const { return Lay(width, QPointF(), nullptr); }
    void Paint(QPainter& painter, const QRectF& area) const {
        painter.save();
        painter.setFont(font_);
        Lay(area.width(), area.topLeft(), &painter);
        painter.restore();
    }

  private:
    qreal KeyWidth() const {
        return panel_.style == SeriesStyle::Lines ? metrics_.height() * 2 : metrics_.height();
    }
    // The legend's entries: a box plot's box first, then the series.
    std::vector<QString> Names() const {
        std::vector<QString> names;
        if (panel_.style == SeriesStyle::BoxPlots) {
            names.push_back(FromUtf8(panel_.boxName));
        }
        for (const ChartSeries& s : panel_.series) {
            names.push_back(FromUtf8(s.name));
        }
        return names;
    }
    // Lays the entries out from origin (painting them when painter is given); the height used.
    qreal Lay(qreal width, QPointF origin, QPainter* painter) const {
        const qreal h = metrics_.height();
        const qreal gap = h * 0.4;
        const qreal rowHeight = h * 1.4;
        qreal x = 0;
        qreal y = 0;
        const std::vector<QString> names = Names();
        for (std::size_t n = 0; n < names.size(); ++n) {
            const qreal entry = KeyWidth() + gap + metrics_.horizontalAdvance(names[n]) + 2 * gap;
            if (x > 0 && x + entry > width) {
                x = 0;
                y += rowHeight;
            }
            if (painter != nullptr) {
                const QRectF key(origin.x() + x, origin.y() + y + (rowHeight - h) / 2, KeyWidth(),
                                 h);
                PaintKey(*painter, key, n);
                painter->setPen(Qt::black);
                painter->drawText(QRectF(key.right() + gap, origin.y() + y, entry, rowHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter, names[n]);
            }
            x += entry;
        }
        return names.empty() ? 0 : y + rowHeight;
    }
    // The key of entry n: a stretch of line with its point, a patch of bars, a box, or a point of
    // a box plot's series in its shape.
    void PaintKey(QPainter& painter, const QRectF& key, std::size_t n) const {
        const qreal h = key.height();
        if (panel_.style == SeriesStyle::BoxPlots) {
            painter.setPen(QPen(QColor(40, 40, 40), 1));
            if (n == 0) {
                painter.setBrush(QColor(0xdc, 0xe6, 0xf5));
                painter.drawRect(key.adjusted(h * 0.15, h * 0.15, -h * 0.15, -h * 0.15));
                painter.drawLine(QPointF(key.left() + h * 0.15, key.center().y()),
                                 QPointF(key.right() - h * 0.15, key.center().y()));
                return;
            }
            const std::size_t i = n - 1;
            painter.setBrush(PointColour(panel_, i));
            const QRectF mark(key.center() - QPointF(h / 3, h / 3), QSizeF(h / 1.5, h / 1.5));
            switch (kMarkerShapes[i % kMarkerShapes.size()]) {
                case QScatterSeries::MarkerShapeRectangle:
                    painter.drawRect(mark);
                    break;
                case QScatterSeries::MarkerShapeTriangle:
                    painter.drawPolygon(QPolygonF({QPointF(mark.center().x(), mark.top()),
                                                   mark.bottomRight(), mark.bottomLeft()}));
                    break;
                case QScatterSeries::MarkerShapeRotatedRectangle:
                    painter.drawPolygon(QPolygonF({QPointF(mark.center().x(), mark.top()),
                                                   QPointF(mark.right(), mark.center().y()),
                                                   QPointF(mark.center().x(), mark.bottom()),
                                                   QPointF(mark.left(), mark.center().y())}));
                    break;
                default:
                    painter.drawEllipse(mark);
            }
            return;
        }
        if (panel_.style == SeriesStyle::Lines) {
            painter.setPen(LinePen(panel_, n));
            painter.drawLine(QPointF(key.left(), key.center().y()),
                             QPointF(key.right(), key.center().y()));
            painter.setBrush(LineColour(panel_, n));
            painter.drawEllipse(key.center(), h / 4, h / 4);
            return;
        }
        painter.fillRect(key, Qt::white);
        painter.setPen(BarPen());
        painter.setBrush(BarBrush(panel_, n));
        painter.drawRect(key);
    }

    const ChartPanel& panel_;
    QFont font_;
    QFontMetricsF metrics_;
};

}  // namespace

void PaintChart(const ChartPicture& picture, QPainter& painter, const QRectF& target,
                const QLocale& locale) {
    const FontScale scale(picture.fontScale);
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
    if (!HasValuesToShow(picture)) {
        // No empty axes: the picture says there is nothing to draw.
        painter.setFont(ChartFont(12));
        painter.drawText(target.adjusted(0, top - target.top(), 0, 0), Qt::AlignCenter,
                         QString::fromUtf8(kNothingToShow));
        painter.restore();
        return;
    }
    // Panels with the same series share one legend under them all; otherwise each panel has
    // its own under it.
    bool shared = picture.panels.size() > 1;
    for (const ChartPanel& panel : picture.panels) {
        const ChartPanel& first = picture.panels.front();
        shared = shared && panel.series.size() == first.series.size() &&
                 panel.firstColour == first.firstColour && panel.style != SeriesStyle::Lines;
        for (std::size_t i = 0; shared && i < panel.series.size(); ++i) {
            shared = panel.series[i].name == first.series[i].name;
        }
    }
    const qreal margin = target.width() * 0.02;
    const qreal width = target.width() / qreal(picture.panels.size());
    qreal legendHeight = 0;
    for (const ChartPanel& panel : picture.panels) {
        const Legend legend(panel, painter.device());
        legendHeight = std::max(
            legendHeight, legend.Height(shared ? target.width() - 2 * margin : width - 2 * margin));
    }
    const qreal height = target.bottom() - top - legendHeight - margin / 2;
    const qreal legendTop = top + height;
    qreal left = target.left();
    for (std::size_t i = 0; i < picture.panels.size(); ++i) {
        QGraphicsScene scene;
        std::unique_ptr<QChart> chart = MakeChart(picture.panels[i], locale, width);
        QChart* item = chart.release();
        scene.addItem(item);  // the scene owns it now
        item->setGeometry(QRectF(0, 0, width, height));
        scene.setSceneRect(0, 0, width, height);
        scene.render(&painter, QRectF(left, top, width, height), scene.sceneRect());
        if (!shared) {
            Legend(picture.panels[i], painter.device())
                .Paint(painter, QRectF(left + margin, legendTop, width - 2 * margin, legendHeight));
        }
        left += width;
    }
    if (shared) {
        const Legend legend(picture.panels.front(), painter.device());
        legend.Paint(painter, QRectF(target.left() + margin, legendTop, target.width() - 2 * margin,
                                     legendHeight));
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
    static const ChartDrawing drawing{kChartDrawingVersion, &RenderChartImage, &RenderChartPdf,
                                      &SaveChart};
    return drawing;
}

}  // namespace movik

#include "ui/GettingStartedPanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace movik {

namespace {

const char* const kSteps[] = {
    "Upišite opće podatke: naziv i sjedište poduzeća, obračunsko razdoblje računa dobiti i "
    "gubitka te, za dioničko društvo, broj dionica.",
    "Na stranici <b>Bilanca</b> upišite aktivu i pasivu za prethodnu i tekuću godinu.",
    "Na stranici <b>Račun dobiti i gubitka</b> upišite prihode i rashode obračunskog razdoblja.",
    "Zbrojevi, udjeli, novčani tokovi i pokazatelji računaju se sami nakon svakog upisa.",
    "Upozorenja (neravnoteža aktive i pasive, neravnoteža neto dobiti, razdoblje koje završava "
    "prije početka) pojavljuju se u statusnoj traci na dnu prozora, crvenim slovima i sa znakom "
    "upozorenja.",
    "Za pomoć pritisnite <b>F1</b>: otvara se uputa za dio prozora u kojem radite. Sve upute su "
    "u izborniku <b>Upute</b>.",
};

constexpr int kStepSpacing = 4;  // pixels between two steps
constexpr int kNumberGap = 6;    // pixels between a number and its text

// The text without its <b> and </b> marks, and the bold stretches they marked.
QString PlainText(const QString& source, QList<QTextLayout::FormatRange>* bold) {
    QString plain;
    qsizetype from = 0;
    while (from < source.size()) {
        const qsizetype open = source.indexOf(QStringLiteral("<b>"), from);
        if (open < 0) {
            break;
        }
        const qsizetype close = source.indexOf(QStringLiteral("</b>"), open);
        if (close < 0) {
            break;
        }
        plain += source.mid(from, open - from);
        QTextLayout::FormatRange range;
        range.start = int(plain.size());
        plain += source.mid(open + 3, close - open - 3);
        range.length = int(plain.size()) - range.start;
        range.format.setFontWeight(QFont::Bold);
        bold->append(range);
        from = close + 4;
    }
    return plain + source.mid(from);
}

}  // namespace

NumberedSteps::NumberedSteps(const std::vector<QString>& steps, QWidget* parent)
    : QWidget(parent), sources_(steps) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    Shape();
}

NumberedSteps::~NumberedSteps() = default;

void NumberedSteps::Shape() {
    steps_.clear();
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        QList<QTextLayout::FormatRange> bold;
        const QString text = PlainText(sources_[i], &bold);
        auto layout = std::make_unique<QTextLayout>(text, font(), this);
        layout->setFormats(bold);
        steps_.push_back({QStringLiteral("%1.").arg(i + 1), std::move(layout)});
    }
    brokenWidth_ = -1;
    setAccessibleDescription(plainText());
    updateGeometry();
}

QString NumberedSteps::plainText() const {
    QStringList lines;
    for (const Step& step : steps_) {
        lines << step.number + QLatin1Char(' ') + step.text->text();
    }
    return lines.join(QLatin1Char('\n'));
}

int NumberedSteps::Indent() const {
    return fontMetrics().horizontalAdvance(QStringLiteral("0.")) + kNumberGap;
}

int NumberedSteps::BreakLines(int width) const {
    if (width == brokenWidth_) {
        return brokenHeight_;
    }
    const int indent = Indent();
    const qreal lineWidth = std::max(1, width - indent);
    qreal y = 0;
    for (const Step& step : steps_) {
        if (&step != &steps_.front()) {
            y += kStepSpacing;
        }
        QTextLayout& layout = *step.text;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lineWidth);
            line.setPosition(QPointF(indent, y));
            y += line.height();
        }
        layout.endLayout();
    }
    brokenWidth_ = width;
    brokenHeight_ = int(std::ceil(y));
    return brokenHeight_;
}

int NumberedSteps::heightForWidth(int width) const {
    return BreakLines(width);
}

QSize NumberedSteps::sizeHint() const {
    const int width = fontMetrics().averageCharWidth() * 70;
    return {width, heightForWidth(width)};
}

QSize NumberedSteps::minimumSizeHint() const {
    // As narrow as twenty characters, as high as at the width it prefers: a page's minimum
    // height does not grow with lines that only a narrow window would need.
    return {fontMetrics().averageCharWidth() * 20, sizeHint().height()};
}

void NumberedSteps::paintEvent(QPaintEvent*) {
    BreakLines(width());
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int indent = Indent();
    for (const Step& step : steps_) {
        const QTextLine first = step.text->lineAt(0);
        if (first.isValid()) {
            // The number right-aligned before the text, on its first line's baseline.
            const QRectF box(0, first.y(), indent - kNumberGap, first.height());
            painter.drawText(box, Qt::AlignRight | Qt::AlignTop, step.number);
        }
        step.text->draw(&painter, QPointF(0, 0));
    }
}

void NumberedSteps::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        Shape();
    }
    QWidget::changeEvent(event);
}

GettingStartedPanel::GettingStartedPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Kako početi"), parent) {
    setObjectName(QStringLiteral("pKakoPoceti"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);

    std::vector<QString> steps;
    for (const char* step : kSteps) {
        steps.push_back(QString::fromUtf8(step));
    }
    auto* text = new NumberedSteps(steps, this);
    text->setObjectName(QStringLiteral("lKakoPoceti"));
    QFont normal = text->font();
    normal.setBold(false);
    text->setFont(normal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(text);
}

}  // namespace movik

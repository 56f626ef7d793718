#include "ui/GridPainting.h"

#include <QPainter>
#include <QStyleOptionHeader>
#include <cmath>

namespace movik {

const QStaticText& TextLayouts::of(const QString& text, const QFont& font) {
    const Key key{text, font.key()};
    auto found = layouts_.constFind(key);
    if (found != layouts_.constEnd()) {
        return *found;
    }
    if (layouts_.size() >= kLimit) {
        layouts_.clear();
    }
    QStaticText layout(text);
    layout.setTextFormat(Qt::PlainText);
    layout.setPerformanceHint(QStaticText::AggressiveCaching);
    layout.prepare(QTransform(), font);
    return *layouts_.insert(key, layout);
}

void DrawGridText(QPainter* painter, TextLayouts& layouts, const QRect& cell, const QString& text,
                  const QFont& font, Qt::Alignment alignment, const QColor& colour) {
    if (text.isEmpty()) {
        return;
    }
    const bool right = alignment & Qt::AlignRight;
    const QRect area = cell.adjusted(right ? 0 : kTextMargin, 0, right ? -kTextMargin : 0, 0);
    const QStaticText* layout = &layouts.of(text, font);
    if (qRound(layout->size().width()) > area.width()) {
        const QString elided =
            QFontMetrics(font).elidedText(text, Qt::ElideRight, qMax(area.width(), 0));
        layout = &layouts.of(elided, font);
    }
    const QSizeF size = layout->size();
    const qreal x = right ? area.right() + 1 - size.width() : area.left();
    const qreal y = area.top() + (area.height() - size.height()) / 2;
    painter->save();
    painter->setFont(font);
    painter->setPen(colour);
    painter->drawStaticText(QPointF(x, std::floor(y)), *layout);
    painter->restore();
}

QPalette::ColorGroup GroupOf(QStyle::State state) {
    if (!(state & QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return (state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) {
        return;
    }
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    initStyleOptionForIndex(&option, logicalIndex);
    const QString text = option.text;
    option.text.clear();
    // The style leaves an empty clip behind; its state is not kept.
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
    const QVariant font = model()->headerData(logicalIndex, orientation(), Qt::FontRole);
    DrawGridText(painter, layouts_, rect, text, font.isValid() ? font.value<QFont>() : this->font(),
                 option.textAlignment,
                 option.palette.color(GroupOf(option.state), QPalette::ButtonText));
}

}  // namespace movik

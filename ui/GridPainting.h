#pragma once
// Painting of the statement grids' texts: a cache of laid-out texts, the cell text drawing with
// its narrow margins, and the header row that draws its texts the same way.

#include <QHash>
#include <QHeaderView>
#include <QStaticText>
#include <QStyle>

class QPainter;

namespace movik {

// Space between a text and the cell edge it is aligned to, in pixels.
inline constexpr int kTextMargin = 2;

// Laid-out texts by font and text. Shaping a text is by far the dearest part of painting a grid,
// and the grids show the same few hundred texts over and over (every refresh repaints them).
class TextLayouts {
  public:
    const QStaticText& of(const QString& text, const QFont& font);

  private:
    static constexpr qsizetype kLimit = 8192;
    struct Key {
        QString text;
        QString font;
        bool operator==(const Key& other) const { return text == other.text && font == other.font; }
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.text, key.font);
    }
    QHash<Key, QStaticText> layouts_;
};

// Draws a cell or header text with a narrow margin (2 pixels on the aligned side, none on the
// other), so that a full amount such as "1.234.567,89" fits the narrowest amount column; a text
// that still does not fit ends in an ellipsis instead of being cut off silently.
void DrawGridText(QPainter* painter, TextLayouts& layouts, const QRect& cell, const QString& text,
                  const QFont& font, Qt::Alignment alignment, const QColor& colour);

// The palette group of a style state (disabled, active or inactive).
QPalette::ColorGroup GroupOf(QStyle::State state);

// The header row: the style draws the section, the text comes with the cells' margins.
class GridHeader : public QHeaderView {
  public:
    GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {}

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

  private:
    mutable TextLayouts layouts_;
};

}  // namespace movik

#include "ui/AccessibleColours.h"

#include <algorithm>
#include <cmath>

namespace movik {

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const QColor kRed(255, 0, 0);
// The grey of bold rows is this far from the base towards the text: RGB (204, 204, 204) on
// the usual white base with black text. On a dark base a lighter shade would leave red text
// too little room: it is shaded less.
constexpr double kTotalShade = 0.2;
constexpr double kDarkTotalShade = 0.12;

}  // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    const QColor x = a.toRgb();
    const QColor y = b.toRgb();
    auto channel = [t](int from, int to) {
        return std::clamp(static_cast<int>(std::lround(from + (to - from) * t)), 0, 255);
    };
    return QColor(channel(x.red(), y.red()), channel(x.green(), y.green()),
                  channel(x.blue(), y.blue()));
}

QColor WithContrast(const QColor& colour, std::initializer_list<QColor> backgrounds,
                    double minimum) {
    auto least = [&backgrounds](const QColor& c) {
        double worst = 21.0;
        for (const QColor& b : backgrounds) {
            worst = std::min(worst, ContrastRatio(c, b));
        }
        return worst;
    };
    if (backgrounds.size() == 0 || least(colour) >= minimum) {
        return colour.toRgb();
    }
    // Away from the backgrounds' side: darker on light ones, lighter on dark ones.
    double luminance = 0;
    for (const QColor& b : backgrounds) {
        luminance += RelativeLuminance(b);
    }
    luminance /= static_cast<double>(backgrounds.size());
    const QColor end = luminance > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    for (int step = 1; step <= 50; ++step) {
        const QColor moved = Mix(colour, end, step / 50.0);
        if (least(moved) >= minimum) {
            return moved;
        }
    }
    return end;
}

GridColours GridColoursOf(const QPalette& palette, QPalette::ColorGroup group) {
    GridColours c;
    c.text = palette.color(group, QPalette::Text);
    c.base = palette.color(group, QPalette::Base);
    const bool dark = RelativeLuminance(c.base) < RelativeLuminance(c.text);
    c.totalBackground = Mix(c.base, c.text, dark ? kDarkTotalShade : kTotalShade);
    c.red = WithContrast(kRed, {c.base, c.totalBackground}, kRoomyContrast);
    c.highlightedText = palette.color(group, QPalette::HighlightedText);
    c.highlight = WithContrast(palette.color(group, QPalette::Highlight), {c.highlightedText},
                               kRoomyContrast);
    // The text colour stands out from the base and from the selection alike.
    c.focus = WithContrast(c.text, {c.base, c.totalBackground, c.highlight}, kFocusContrast);
    return c;
}

QColor WarningColour(const QPalette& palette) {
    return WithContrast(kRed, {palette.color(QPalette::Window)}, kRoomyContrast);
}

QColor FocusColour(const QPalette& palette) {
    // A frame lies between a control and what is around it: the window, a button, a field's
    // inside, and a tab page's pane, which the styles draw lighter than a button.
    const QColor button = palette.color(QPalette::Button);
    return WithContrast(palette.color(QPalette::Highlight),
                        {palette.color(QPalette::Window), button, palette.color(QPalette::Base),
                         button.lighter(125), palette.color(QPalette::AlternateBase),
                         palette.color(QPalette::Dark)},
                        kFocusContrast);
}

void HoldTextContrast(QPalette& palette) {
    // The help shades its navigation lines and table headings up to this far towards the text.
    constexpr double kHelpShade = 0.2;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor base = palette.color(group, QPalette::Base);
        const QColor text = palette.color(group, QPalette::Text);
        const QColor shaded = Mix(base, text, kHelpShade);
        // A placeholder is drawn with its alpha over the field: its opaque look is held.
        const QColor hint = palette.color(group, QPalette::PlaceholderText);
        const QColor drawn =
            Mix(base, QColor(hint.red(), hint.green(), hint.blue()), hint.alphaF());
        palette.setColor(group, QPalette::PlaceholderText,
                         WithContrast(drawn, {base}, kRoomyContrast));
        palette.setColor(
            group, QPalette::Link,
            WithContrast(palette.color(group, QPalette::Link),
                         {base, shaded, Mix(base, text, kHelpShade / 2)}, kRoomyContrast));
    }
}

}  // namespace movik

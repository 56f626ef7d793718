#pragma once
// Colours taken from the palette and held to the contrast a reader with low vision needs
// (WCAG 2.1: 4.5:1 for text, 3:1 for focus indicators), in a light, dark or high-contrast
// palette alike.

#include <QColor>
#include <QPalette>
#include <initializer_list>

namespace movik {

// Least contrast of text against its background, and of a focus indicator against what
// surrounds it.
inline constexpr double kTextContrast = 4.5;
inline constexpr double kFocusContrast = 3.0;
// What the colours the program picks itself (red rows, the warning, the selection) hold, so that
// a slightly different palette does not take them under kTextContrast.
inline constexpr double kRoomyContrast = 5.0;

// WCAG 2.1 relative luminance (0 black to 1 white) and contrast ratio (1 to 21).
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);

// a moved towards b by t (0: a, 1: b), channel by channel.
QColor Mix(const QColor& a, const QColor& b, double t);

// colour made darker (on a light background) or lighter (on a dark one) by the least step that
// gives at least minimum contrast against every background; unchanged when it has it already.
QColor WithContrast(const QColor& colour, std::initializer_list<QColor> backgrounds,
                    double minimum);

// The colours of a statement grid, from the palette of its group.
struct GridColours {
    QColor text;             // plain rows
    QColor base;             // background of plain rows
    QColor totalBackground;  // bold rows (totals and headings): the base shaded towards the text
    QColor red;              // rows drawn in red, on either background
    QColor highlight;        // the selection, holding 4.5:1 against its text
    QColor highlightedText;
    QColor focus;  // the focus frame of the grid, its current cell and its editor
};
GridColours GridColoursOf(const QPalette& palette, QPalette::ColorGroup group = QPalette::Active);

// The status bar's warning text against the window background.
QColor WarningColour(const QPalette& palette);
// Focus indicators of the window's controls against the window, button, field and tab page
// backgrounds, a table's alternate rows and the dark backdrop of the print preview's page.
QColor FocusColour(const QPalette& palette);

// The palette with its placeholder text (a field's grey hint) and its links held to
// kTextContrast against the fields' and the help's backgrounds (the base, and the base shaded
// towards the text as the help's navigation lines and tables are).
void HoldTextContrast(QPalette& palette);

}  // namespace movik

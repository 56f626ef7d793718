#pragma once
// Where the program's own windows open: wholly on the screen, whatever its size, and for the
// rest of the run back where the user left each one, as long as that place is still on a screen.
// Nothing is stored between runs (the program has no settings store).

#include <QRect>

class QWidget;

namespace movik {

// rect no larger than available and moved, as little as it takes, to lie inside it.
QRect FitInside(QRect rect, const QRect& available);

// Before window (a top-level window with an objectName) is shown: its geometry of the last time
// a window of that name was hidden in this run, when that lies wholly inside a screen's
// available area; else its own size fitted to the available area of anchor's screen (or the
// primary screen) and centred over anchor. The window's geometry is remembered when it hides.
void PlaceWindow(QWidget* window, const QWidget* anchor);

}  // namespace movik

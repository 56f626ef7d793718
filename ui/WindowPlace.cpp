#include "ui/WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace movik {

namespace {

// Room for the frame the window manager puts around a window (title bar above, borders).
constexpr QMargins kFrame(6, 32, 6, 6);

// The last geometry of each window, by name, for this run.
QHash<QString, QRect>& LastPlaces() {
    static QHash<QString, QRect> places;
    return places;
}

// Remembers the window's geometry whenever it hides (closed or minimised away).
class PlaceKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched->isWidgetType()) {
            const auto* window = static_cast<QWidget*>(watched);
            LastPlaces().insert(window->objectName(), window->geometry());
        }
        return false;
    }
};

}  // namespace

QRect FitInside(QRect rect, const QRect& available) {
    rect.setSize(rect.size().boundedTo(available.size()));
    rect.moveLeft(std::clamp(rect.left(), available.left(), available.right() - rect.width() + 1));
    rect.moveTop(std::clamp(rect.top(), available.top(), available.bottom() - rect.height() + 1));
    return rect;
}

void PlaceWindow(QWidget* window, const QWidget* anchor) {
    if (!window->property("movikPlaceKept").toBool()) {
        window->installEventFilter(new PlaceKeeper(window));
        window->setProperty("movikPlaceKept", true);
    }
    const auto last = LastPlaces().constFind(window->objectName());
    if (last != LastPlaces().constEnd()) {
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (screen->availableGeometry().marginsRemoved(kFrame).contains(*last)) {
                window->setGeometry(*last);
                return;
            }
        }
    }
    const QScreen* screen = anchor != nullptr ? anchor->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry().marginsRemoved(kFrame);
    QRect rect(QPoint(0, 0), window->size());
    rect.moveCenter(anchor != nullptr && anchor->isVisible() ? anchor->frameGeometry().center()
                                                             : available.center());
    window->setGeometry(FitInside(rect, available));
}

}  // namespace movik

#include "ui/AccessibleEvents.h"

#include <QAccessible>

namespace movik {

namespace {

std::function<void(QAccessibleEvent*)>& Watcher() {
    static std::function<void(QAccessibleEvent*)> watcher;
    return watcher;
}

}  // namespace

void RaiseAccessibleEvent(QAccessibleEvent* event) {
    if (Watcher()) {
        Watcher()(event);
    }
    QAccessible::updateAccessibility(event);
}

void WatchAccessibleEvents(std::function<void(QAccessibleEvent*)> watcher) {
    Watcher() = std::move(watcher);
}

}  // namespace movik

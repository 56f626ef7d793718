#include "ui/WindowAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "ui/ComboAccessible.h"
#include "ui/TabAccessible.h"

namespace movik {

namespace {

// Reached for the classes the built-in factories leave to QWidget's interface: a main window
// or a dialog has been answered before, a plain widget that is a window has not.
QAccessibleInterface* WindowFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QWidget") || object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

}  // namespace

void InstallWindowAccessibility() {
    InstallTabAccessibility();
    InstallComboAccessibility();
    static const bool installed = [] {
        QAccessible::installFactory(&WindowFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace movik

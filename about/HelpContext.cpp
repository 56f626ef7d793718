#include "about/HelpContext.h"

#include <QAction>
#include <QMenu>
#include <QVariant>

namespace movik {

namespace {

int OwnContext(const QObject* obj) {
    return obj->property("helpContext").toInt();
}

}  // namespace

int HelpContextOf(const QObject* obj) {
    for (; obj != nullptr; obj = obj->parent()) {
        if (const int context = OwnContext(obj); context != 0) {
            return context;
        }
    }
    return 0;
}

int HelpContextOfAction(const QAction* action) {
    if (action == nullptr) {
        return 0;
    }
    if (const int context = OwnContext(action); context != 0) {
        return context;
    }
    // The menus the action hangs in, and the menus those hang from.
    for (const QObject* widget : action->associatedObjects()) {
        for (const auto* menu = qobject_cast<const QMenu*>(widget); menu != nullptr;) {
            if (const int context = OwnContext(menu); context != 0) {
                return context;
            }
            const QAction* menuAction = menu->menuAction();
            if (const int context = OwnContext(menuAction); context != 0) {
                return context;
            }
            const QMenu* outer = nullptr;
            for (const QObject* o : menuAction->associatedObjects()) {
                if ((outer = qobject_cast<const QMenu*>(o)) != nullptr) {
                    break;
                }
            }
            menu = outer;
        }
    }
    return 0;
}

QString HelpTopicFile(int context) {
    switch (context) {
        case 1:
            return QStringLiteral("rad-s-programom.html");
        case 4:
            return QStringLiteral("indirektni-novcani-tok.html");
        case 5:
            return QStringLiteral("slobodni-novcani-tok.html");
        case 6:
            return QStringLiteral("likvidnost.html");
        case 7:
            return QStringLiteral("aktivnost.html");
        case 8:
            return QStringLiteral("profitabilnost.html");
        case 9:
            return QStringLiteral("zaduzenost-i-pokrice.html");
        case 10:
            return QStringLiteral("izbornici.html");
        case 11:
            return QStringLiteral("grafikoni-eur-excel.html");
        case 12:
            return QStringLiteral("usporedba.html");
        case 13:  // the warnings' own section, for the box that repeats a warning
            return QStringLiteral("izbornici.html#upozorenja");
        case 14:
            return QStringLiteral("obrazac-gfi-pod.html");
        case 15:
            return QStringLiteral("ocjena-boniteta.html");
        case 16:
            return QStringLiteral("polozaj-u-skupini.html");
        default:
            return {};
    }
}

QString HelpContentsFile() {
    return QStringLiteral("sadrzaj.html");
}

}  // namespace movik

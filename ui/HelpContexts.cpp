#include "ui/HelpContexts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include "about/HelpContext.h"

namespace movik {

HelpContexts::HelpContexts(QWidget* window, std::function<void(int)> showContext)
    : QObject(window), showContext_(std::move(showContext)) {
    setObjectName(QStringLiteral("HelpContexts"));
    auto* f1 = new QAction(window);
    f1->setObjectName(QStringLiteral("HelpF1"));
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    f1->setShortcutContext(Qt::WindowShortcut);
    window->addAction(f1);
    connect(f1, &QAction::triggered, this, [this] { HelpForWidget(QApplication::focusWidget()); });
    // An open menu takes the keys itself: F1 is caught there.
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        menu->installEventFilter(this);
    }
}

bool HelpContexts::HelpForWidget(QWidget* widget) {
    const int context = HelpContextOf(widget);
    if (context == 0) {
        return false;
    }
    showContext_(context);
    return true;
}

bool HelpContexts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
        return false;
    }
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu == nullptr) {
        return false;
    }
    const int context = menu->activeAction() != nullptr ? HelpContextOfAction(menu->activeAction())
                                                        : HelpContextOf(menu);
    if (context == 0) {
        return false;
    }
    // The menus close, as a chosen item closes them, and the topic opens.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    showContext_(context);
    return true;
}

}  // namespace movik

#include "ui/TabAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QTabBar>

namespace movik {

namespace {

// One page tab: its caption, selected when its page shows; pressing it shows the page.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    TabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return !bar_.isNull() && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* p = parent();
        return p != nullptr ? p->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return bar_.isNull() ? nullptr : QAccessible::queryAccessibleInterface(bar_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) {
            return {};
        }
        if (t == QAccessible::Name) {
            QString caption = bar_->tabText(index_);
            caption.remove(u'&');
            return caption;
        }
        if (t == QAccessible::Description) {
            return bar_->tabToolTip(index_);
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect r = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        s.selected = bar_->currentIndex() == index_;
        s.focused = s.selected && bar_->hasFocus();
        s.disabled = !bar_->isTabEnabled(index_);
        s.invisible = !bar_->isVisible() || !bar_->rect().intersects(bar_->tabRect(index_));
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) {
            bar_->setCurrentIndex(index_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QTabBar> bar_;
    int index_;
};

// The tab bar as a list of page tabs.
class TabBarAccessible : public QAccessibleWidget {
  public:
    explicit TabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarAccessible() override {
        for (const QAccessible::Id id : std::as_const(tabs_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return Bar()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        if (const auto found = tabs_.constFind(index); found != tabs_.constEnd()) {
            return QAccessible::accessibleInterface(*found);
        }
        auto* tab = new TabAccessible(Bar(), index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto i = tabs_.constBegin(); i != tabs_.constEnd(); ++i) {
            if (QAccessible::accessibleInterface(i.value()) == child) {
                return i.key();
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        // Named after the page that shows, as the list's current item.
        if (t == QAccessible::Name) {
            QString caption = Bar()->tabText(Bar()->currentIndex());
            return caption.remove(u'&');
        }
        return QAccessibleWidget::text(t);
    }

  private:
    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }
    mutable QHash<int, QAccessible::Id> tabs_;
};

QAccessibleInterface* TabBarFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("QTabBar")) {
        auto* bar = qobject_cast<QTabBar*>(object);
        if (bar != nullptr && bar->parent() != nullptr &&
            bar->parent()->objectName() == QLatin1String("PageControl")) {
            return new TabBarAccessible(bar);
        }
    }
    return nullptr;
}

}  // namespace

void InstallTabAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&TabBarFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace movik

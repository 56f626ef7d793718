#include "ui/ComboAccessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace movik {

namespace {

// The box with its chosen item as a read-only text of one line.
class ComboAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ComboAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        // As Qt's own box on Linux: the choice is the name and the value; the label is told
        // through its relation.
        if ((t == QAccessible::Name || t == QAccessible::Value) && !Choice().isEmpty()) {
            return Choice();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Box()->view()->isVisible();
        s.hasPopup = true;
        return s;
    }

    // QAccessibleTextInterface: the choice, read only.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return Choice().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Choice().size()); }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return 0; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

  private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
    QString Choice() const { return Box()->currentText(); }
};

QAccessibleInterface* ComboFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QComboBox")) {
        return nullptr;
    }
    auto* box = qobject_cast<QComboBox*>(object);
    return box != nullptr && !box->isEditable() ? new ComboAccessible(box) : nullptr;
}

}  // namespace

void InstallComboAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ComboFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace movik

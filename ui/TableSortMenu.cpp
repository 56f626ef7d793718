#include "ui/TableSortMenu.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>

namespace movik {

TableSortMenu::TableSortMenu(QTableView* table, std::function<void(const QString&)> announce)
    : QObject(table), table_(table), announce_(std::move(announce)) {
    table_->setContextMenuPolicy(Qt::DefaultContextMenu);
    table_->installEventFilter(this);
    table_->viewport()->installEventFilter(this);
}

int TableSortMenu::CurrentColumn() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.column() : 0;
}

QString ColumnName(const QAbstractItemModel& model, int column) {
    const QString name =
        model.headerData(column, Qt::Horizontal, Qt::AccessibleTextRole).toString();
    return name.isEmpty() ? model.headerData(column, Qt::Horizontal).toString() : name;
}

QString TableSortMenu::OrderText(const QString& caption, Qt::SortOrder order, bool grouped) {
    QString text =
        QStringLiteral("Poredano po stupcu „%1”, %2")
            .arg(caption, order == Qt::AscendingOrder ? QStringLiteral("uzlazno (od najmanjeg)")
                                                      : QStringLiteral("silazno (od najvećeg)"));
    if (grouped) {
        text += QStringLiteral("; razdoblja svakog poduzeća ostaju redom");
    }
    return text + QStringLiteral(". Prazna polja su na kraju.");
}

void TableSortMenu::SortBy(int column, Qt::SortOrder order) {
    if (column < 0 || column >= table_->model()->columnCount()) {
        return;
    }
    table_->sortByColumn(column, order);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    // The grouped view's rows are grouped by company; its sort orders the companies.
    const bool grouped = table_->property("grouped").toBool();
    announce_(OrderText(ColumnName(*table_->model(), column), order, grouped));
}

QMenu* TableSortMenu::Popup(const QPoint& pos) {
    auto* menu = new QMenu(table_);
    menu->setObjectName(QStringLiteral("mPoredaj"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const int column = CurrentColumn();
    const QString caption = ColumnName(*table_->model(), column);
    QAction* up = menu->addAction(QStringLiteral("Poredaj &uzlazno po „%1”").arg(caption),
                                  [this, column] { SortBy(column, Qt::AscendingOrder); });
    up->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    QAction* down = menu->addAction(QStringLiteral("Poredaj &silazno po „%1”").arg(caption),
                                    [this, column] { SortBy(column, Qt::DescendingOrder); });
    down->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    QMenu* any = menu->addMenu(QStringLiteral("&Poredaj po…"));
    for (int c = 0; c < table_->model()->columnCount(); ++c) {
        any->addAction(ColumnName(*table_->model(), c),
                       [this, c] { SortBy(c, Qt::AscendingOrder); });
    }
    menu->popup(table_->viewport()->mapToGlobal(pos));
    return menu;
}

bool TableSortMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        // The Menu key and a right click; by keyboard the menu opens at the current cell.
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        const QRect cell = table_->visualRect(table_->currentIndex());
        const bool byKeyboard = menu->reason() == QContextMenuEvent::Keyboard;
        Popup(byKeyboard ? (cell.isValid() ? cell.center() : QPoint(0, 0))
                         : table_->viewport()->mapFromGlobal(menu->globalPos()));
        return true;
    }
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        const bool menuKey = key->key() == Qt::Key_Menu && mods == Qt::NoModifier;
        if (menuKey || (key->key() == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
            const QRect cell = table_->visualRect(table_->currentIndex());
            Popup(cell.isValid() ? cell.center() : QPoint(0, 0));
            return true;
        }
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && mods == Qt::AltModifier) {
            SortBy(CurrentColumn(),
                   key->key() == Qt::Key_Up ? Qt::AscendingOrder : Qt::DescendingOrder);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace movik

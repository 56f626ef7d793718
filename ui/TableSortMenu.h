#pragma once
// Sorting a table view without the mouse: the table's context menu (the Menu key, Shift+F10 or
// a right click) offers to sort by the current cell's column either way, or by any column, and
// Alt+Up / Alt+Down sort by the current column at once. Each sort is announced.

#include <QObject>
#include <QString>
#include <functional>

class QAbstractItemModel;
class QMenu;
class QPoint;
class QTableView;

namespace movik {

// A column's name as the sort commands say it: the header's accessible text when it has one
// (which of several alike captions it is), else its caption.
QString ColumnName(const QAbstractItemModel& model, int column);

class TableSortMenu : public QObject {
  public:
    // announce: says the new order (a status line heard by a screen reader).
    TableSortMenu(QTableView* table, std::function<void(const QString&)> announce);

    // The menu at pos (the table viewport's coordinates), shown without waiting for a choice.
    QMenu* Popup(const QPoint& pos);
    // Sorts by column as a click on its header would, and announces it.
    void SortBy(int column, Qt::SortOrder order);

    // "Poredano po stupcu „X”, uzlazno." (and, grouped, that periods stay in order).
    static QString OrderText(const QString& caption, Qt::SortOrder order, bool grouped);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int CurrentColumn() const;

    QTableView* table_;
    std::function<void(const QString&)> announce_;
};

}  // namespace movik

#include "ui/GridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>

#include "ui/StatementGrid.h"

namespace movik {

namespace {

// The children of a grid, as the view's own accessibility events number them: row by row, the
// header row first, each row led by its header (the corner first).
struct Place {
    int row;     // -1: the header row
    int column;  // -1: the row headers' column
};

class GridAccessible;

// One cell, header cell or the corner of a grid.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    GridCellAccessible(StatementGrid* grid, Place place) : grid_(grid), place_(place) {}

    bool isValid() const override { return !grid_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* t = table();
        return t != nullptr ? t->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (grid_.isNull()) {
            return {};
        }
        const QAbstractItemModel* model = grid_->model();
        const int role = t == QAccessible::Name          ? Qt::AccessibleTextRole
                         : t == QAccessible::Description ? Qt::AccessibleDescriptionRole
                                                         : -1;
        if (role < 0) {
            return {};
        }
        QString value;
        if (place_.row >= 0 && place_.column >= 0) {
            const QModelIndex index = model->index(place_.row, place_.column);
            value = model->data(index, role).toString();
            if (value.isEmpty() && t == QAccessible::Name) {
                value = model->data(index, Qt::DisplayRole).toString();
            }
        } else if (place_.row >= 0 || place_.column >= 0) {
            const bool horizontal = place_.row < 0;
            const int section = horizontal ? place_.column : place_.row;
            const Qt::Orientation o = horizontal ? Qt::Horizontal : Qt::Vertical;
            value = model->headerData(section, o, role).toString();
            if (value.isEmpty() && t == QAccessible::Name) {
                value = model->headerData(section, o, Qt::DisplayRole).toString();
            }
        }
        return value;
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (grid_.isNull()) {
            return {};
        }
        if (IsCell()) {
            QRect r = grid_->visualRect(grid_->model()->index(place_.row, place_.column));
            r.translate(grid_->viewport()->mapToGlobal(QPoint(0, 0)));
            return r;
        }
        const QHeaderView* h = place_.row < 0 ? grid_->horizontalHeader() : grid_->verticalHeader();
        const int section = place_.row < 0 ? place_.column : place_.row;
        if (section < 0) {
            return {};
        }
        const QPoint zero = h->mapToGlobal(QPoint(0, 0));
        const int start = h->sectionViewportPosition(section);
        const int size = h->sectionSize(section);
        return place_.row < 0 ? QRect(zero.x() + start, zero.y(), size, h->height())
                              : QRect(zero.x(), zero.y() + start, h->width(), size);
    }

    QAccessible::Role role() const override {
        if (IsCell()) {
            return QAccessible::Cell;
        }
        if (place_.row < 0 && place_.column < 0) {
            return QAccessible::Pane;  // the corner
        }
        return place_.row < 0 ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (grid_.isNull()) {
            s.invalid = true;
            return s;
        }
        QRect visible = grid_->viewport()->rect();
        visible.translate(grid_->viewport()->mapToGlobal(QPoint(0, 0)));
        if (!IsCell()) {
            s.readOnly = true;
            s.invisible = !grid_->isVisible();
            return s;
        }
        const QModelIndex index = grid_->model()->index(place_.row, place_.column);
        s.invisible = !grid_->isVisible() || !visible.intersects(rect());
        s.selectable = true;
        s.focusable = true;
        s.selected = grid_->selectionModel()->isSelected(index);
        s.focused = grid_->currentIndex() == index && grid_->hasFocus();
        // Typed amounts can be edited; totals, shares and texts are computed.
        const bool editable = (index.flags() & Qt::ItemIsEditable) != 0;
        s.editable = editable;
        s.readOnly = !editable;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && IsCell()) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return place_.column; }
    int rowIndex() const override { return place_.row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override {
        return grid_.isNull() ? nullptr : QAccessible::queryAccessibleInterface(grid_.data());
    }

    Place place() const { return place_; }

  private:
    bool IsCell() const { return place_.row >= 0 && place_.column >= 0; }

    QPointer<StatementGrid> grid_;
    Place place_;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit GridAccessible(StatementGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridAccessible() override {
        for (const QAccessible::Id id : std::as_const(children_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return (rowCount() + 1) * (columnCount() + 1); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        if (const auto found = children_.constFind(index); found != children_.constEnd()) {
            return QAccessible::accessibleInterface(*found);
        }
        const int width = columnCount() + 1;
        auto* cell = new GridCellAccessible(Grid(), {index / width - 1, index % width - 1});
        children_.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cell = dynamic_cast<const GridCellAccessible*>(child);
        if (cell == nullptr || cell->parent() != this) {
            return -1;
        }
        return IndexOf(cell->place());
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        StatementGrid* grid = Grid();
        const QPoint at = grid->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = grid->indexAt(at);
        return index.isValid() ? child(IndexOf({index.row(), index.column()})) : nullptr;
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) {
            return nullptr;
        }
        return child(IndexOf({row, column}));
    }
    int selectedCellCount() const override {
        return static_cast<int>(Grid()->selectionModel()->selectedIndexes().size());
    }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const QModelIndex& i : Grid()->selectionModel()->selectedIndexes()) {
            cells << cellAt(i.row(), i.column());
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        return Grid()
            ->model()
            ->headerData(column, Qt::Horizontal, Qt::AccessibleTextRole)
            .toString();
    }
    QString rowDescription(int row) const override {
        return Grid()->model()->headerData(row, Qt::Vertical, Qt::AccessibleTextRole).toString();
    }
    // Whole rows and columns are never selected as such in a statement grid.
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Grid()->model()->columnCount(); }
    int rowCount() const override { return Grid()->model()->rowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Rows and columns are fixed; cell texts are read when asked for.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    int IndexOf(Place p) const { return (p.row + 1) * (columnCount() + 1) + p.column + 1; }

  private:
    StatementGrid* Grid() const { return static_cast<StatementGrid*>(widget()); }

    mutable QHash<int, QAccessible::Id> children_;
};

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const {
    QAccessibleInterface* t = table();
    auto* grid = t != nullptr ? dynamic_cast<GridAccessible*>(t) : nullptr;
    return grid != nullptr
               ? QList<QAccessibleInterface*>{grid->child(grid->IndexOf({-1, place_.column}))}
               : QList<QAccessibleInterface*>{};
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const {
    QAccessibleInterface* t = table();
    auto* grid = t != nullptr ? dynamic_cast<GridAccessible*>(t) : nullptr;
    return grid != nullptr
               ? QList<QAccessibleInterface*>{grid->child(grid->IndexOf({place_.row, -1}))}
               : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* GridFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("movik::StatementGrid")) {
        if (auto* grid = qobject_cast<StatementGrid*>(object)) {
            return new GridAccessible(grid);
        }
    }
    return nullptr;
}

}  // namespace

void InstallGridAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&GridFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace movik

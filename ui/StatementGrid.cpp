#include "ui/StatementGrid.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "model/StatementFacts.h"
#include "ui/AccessibleColours.h"
#include "ui/AccessibleEvents.h"
#include "ui/AmountEditor.h"
#include "ui/GridAccessible.h"
#include "ui/GridPainting.h"
#include "ui/StatementGridModel.h"

namespace movik {

namespace {

// Height of every row and of the header row, in pixels.
constexpr int kRowHeight = 16;

bool IsEnterKey(int key) {
    return key == Qt::Key_Enter || key == Qt::Key_Return;
}

void DrawFocusFrame(QPainter* painter, const QRect& rect, const QColor& colour) {
    painter->save();
    painter->setPen(QPen(colour, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

}  // namespace

// Makes the cell editors and routes their ending keys and focus loss to the grid, which
// validates and stores the text itself (so the delegate never writes into the model).
class StatementGridDelegate : public QStyledItemDelegate {
  public:
    explicit StatementGridDelegate(StatementGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                          const QModelIndex& index) const override {
        QLineEdit* editor = nullptr;
        if (StatementGridModel::UsesAmountEditor(grid_->statement(),
                                                 StatementGridModel::GridColumn(index))) {
            editor = new AmountEditor(parent);
        } else {
            editor = new QLineEdit(parent);
        }
        editor->setFrame(false);
        // A frame in the focus colour shows where typing goes.
        editor->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid %1; padding: 0px; }")
                                  .arg(grid_->gridModel()->colours().focus.name()));
        // Read as the cell it edits: "3, I. Nematerijalna imovina, 31. 12. 2023.".
        editor->setAccessibleName(grid_->gridModel()->CellName(index));
        editor->setFont(index.data(Qt::FontRole).value<QFont>());
        editor->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
        grid_->editorOpened(editor, index);
        if (auto* amount = qobject_cast<AmountEditor*>(editor)) {
            QObject::connect(amount, &AmountEditor::inputRefused, grid_,
                             &StatementGrid::inputRefused);
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // Filled once, when the editor opens: a rewrite of the texts while the user types
        // (a refresh of all grids) leaves the typing alone.
        if (editor->property("movikFilled").toBool()) {
            return;
        }
        editor->setProperty("movikFilled", true);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(index.data(Qt::EditRole).toString());
        }
    }

    void setModelData(QWidget* /*editor*/, QAbstractItemModel* /*model*/,
                      const QModelIndex& /*index*/) const override {
        // The grid stores the text after validation.
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        // The style draws the highlight and the focus frame; a plain cell only needs its
        // background. The text is drawn with the grid's narrow margins.
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        // The selection in the palette's highlight, darkened where its text would not stand out.
        const GridColours& colours = grid_->gridModel()->colours();
        item.palette.setColor(QPalette::Highlight, colours.highlight);
        item.palette.setColor(QPalette::HighlightedText, colours.highlightedText);
        if (item.state & (QStyle::State_Selected | QStyle::State_HasFocus)) {
            const QWidget* widget = item.widget;
            QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
            style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        } else if (item.backgroundBrush.style() != Qt::NoBrush) {
            painter->fillRect(item.rect, item.backgroundBrush);
        }
        const QPalette::ColorRole role =
            (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
        DrawGridText(painter, layouts_, item.rect, text, item.font, item.displayAlignment,
                     item.palette.color(GroupOf(item.state), role));
        if ((item.state & QStyle::State_HasFocus) && grid_->hasFocus()) {
            // The current cell of the focused grid: a frame of two pixels that stands out from
            // the selection and from the cells around it.
            const bool selected = item.state & QStyle::State_Selected;
            const QColor frame =
                selected && ContrastRatio(colours.focus, colours.highlight) < kFocusContrast
                    ? colours.highlightedText
                    : colours.focus;
            DrawFocusFrame(painter, item.rect, frame);
        }
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object != grid_->editor_.data()) {
            return false;
        }
        switch (event->type()) {
            case QEvent::ShortcutOverride: {
                // Keys the editor ends itself with never reach window shortcuts.
                const auto* key = static_cast<QKeyEvent*>(event);
                if (key->key() == Qt::Key_Escape || IsEnterKey(key->key())) {
                    event->accept();
                    return true;
                }
                return false;
            }
            case QEvent::KeyPress: {
                const auto* key = static_cast<QKeyEvent*>(event);
                if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                    (key->modifiers() & Qt::ControlModifier)) {
                    // Ctrl+Tab switches pages, as everywhere in the window.
                    return false;
                }
                switch (key->key()) {
                    case Qt::Key_Tab:
                        grid_->editorTab(false);
                        return true;
                    case Qt::Key_Backtab:
                        grid_->editorTab(true);
                        return true;
                    case Qt::Key_Enter:
                    case Qt::Key_Return:
                        grid_->finishEdit(StatementGrid::EditEnd::Enter);
                        return true;
                    case Qt::Key_Escape:
                        grid_->finishEdit(StatementGrid::EditEnd::Cancel);
                        return true;
                    default:
                        return false;
                }
            }
            case QEvent::FocusOut: {
                const auto* focus = static_cast<QFocusEvent*>(event);
                // Another application or a pop-up (a menu, the editor's own context menu)
                // taking the focus does not leave the cell.
                if (focus->reason() != Qt::ActiveWindowFocusReason &&
                    focus->reason() != Qt::PopupFocusReason) {
                    grid_->editorFocusLost();
                }
                return false;
            }
            default:
                return false;
        }
    }

  private:
    StatementGrid* grid_;
    mutable TextLayouts layouts_;
};

StatementGrid::StatementGrid(Statement statement, GridTexts& texts, QWidget* parent)
    : QTableView(parent),
      statement_(statement),
      texts_(texts),
      model_(new StatementGridModel(statement, texts, this)),
      delegate_(new StatementGridDelegate(this)),
      helpContext_(StatementGridModel::HelpContext(statement, 1)) {
    InstallGridAccessibility();
    setModel(model_);
    setItemDelegate(delegate_);
    // A screen reader names the grid after its statement.
    const std::string_view title = FactsOf(statement).title;
    setAccessibleName(QString::fromUtf8(title.data(), qsizetype(title.size())));
    setFont(model_->cellFont());
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    // Tab moves on to the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);

    const std::vector<int> widths = StatementGridModel::ColumnWidths(statement);
    // Rows are 16 pixels at the usual 8 points and grow with a larger font.
    rowHeight_ = std::max(kRowHeight, QFontMetrics(model_->cellFont()).height() + 3);

    // The header row: fixed height, columns resizable by the user, no sorting or column picks.
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    QHeaderView* header = horizontalHeader();
    header->setFont(model_->headerFont());
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setFixedHeight(rowHeight_);
    resetColumnWidths();

    // The narrow fixed column 0; rows keep their height.
    QHeaderView* rows = verticalHeader();
    rows->setFont(model_->headerFont());
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(rowHeight_);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);
    rows->setSectionsMovable(false);
    rows->setFixedWidth(widths.empty() ? 8 : widths[0]);

    // The cursor waits on the first amount, where typing goes in (or is read out).
    setCurrentIndex(model_->index(0, std::min(2, model_->columnCount() - 1)));
    updateHelpContext();
}

// An editor still open goes while the grid is whole, its edit dropped as when the window closes:
// left to Qt, its destruction would reach the grid's event filter with the grid half destroyed.
StatementGrid::~StatementGrid() {
    finishing_ = true;
    QLineEdit* editor = editor_.data();
    editor_.clear();  // the event filter no longer takes the editor for the one being edited
    delete editor;
}

void StatementGrid::refresh() {
    model_->refreshChanged();
}

int StatementGrid::ColumnWidthFor(const QString& text, const QFont& font) {
    // Measured as the painting measures it: the text, its margin and the grid line.
    QStaticText layout(text);
    layout.setTextFormat(Qt::PlainText);
    layout.prepare(QTransform(), font);
    return qRound(layout.size().width()) + kTextMargin + 1;
}

int StatementGrid::helpContext() const {
    return helpContext_;
}

bool StatementGrid::isEditing() const {
    return !editor_.isNull();
}

QLineEdit* StatementGrid::cellEditor() const {
    return editor_.data();
}

bool StatementGrid::commitEdit() {
    if (finishEdit(EditEnd::Settle)) {
        return true;
    }
    reclaimFocus();
    return false;
}

void StatementGrid::reclaimFocus() {
    if (editor_.isNull()) {
        return;
    }
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->widget(i)->isAncestorOf(this)) {
                    tabs->setCurrentIndex(i);
                    break;
                }
            }
        }
    }
    editor_->setFocus(Qt::OtherFocusReason);
}

void StatementGrid::editorOpened(QLineEdit* editor, const QModelIndex& index) {
    editor_ = editor;
    editIndex_ = index;
    enteredText_ =
        texts_.cell(StatementGridModel::GridColumn(index), StatementGridModel::GridRow(index));
}

bool StatementGrid::finishEdit(EditEnd how) {
    if (editor_.isNull() || finishing_) {
        return true;
    }
    QScopedValueRollback<bool> guard(finishing_, true);
    if (!editIndex_.isValid() || how == EditEnd::Cancel) {
        closeOpenEditor();
        return true;
    }
    const int col = StatementGridModel::GridColumn(editIndex_);
    const int row = StatementGridModel::GridRow(editIndex_);
    const std::string typed = editor_->text().toStdString();
    if (typed == enteredText_) {
        closeOpenEditor();
        return true;
    }

    // The typed text is in the cell while the handler looks at it; the handler may rewrite
    // every text (and refresh the views), so the cell is looked up again afterwards.
    texts_.cell(col, row) = typed;
    model_->cellChanged(col, row);
    const std::optional<std::string> accepted =
        validate ? validate(col, row, typed) : std::optional<std::string>(typed);

    if (accepted) {
        std::string& cell = texts_.cell(col, row);
        if (cell != *accepted) {
            cell = *accepted;
        }
        model_->cellChanged(col, row);
        enteredText_ = *accepted;
        closeOpenEditor();
        return true;
    }

    texts_.cell(col, row) = enteredText_;
    model_->cellChanged(col, row);
    if (how == EditEnd::Enter && !editor_.isNull()) {
        editor_->setText(QString::fromStdString(enteredText_));
        editor_->selectAll();
    } else if (how != EditEnd::Settle) {
        closeOpenEditor();
    }
    // Settle keeps the typed text in the editor for the user to correct: nothing of it is lost.
    emit editRefused(QString::fromStdString(typed));
    return false;
}

void StatementGrid::closeOpenEditor() {
    QLineEdit* editor = editor_.data();
    editor_.clear();
    editIndex_ = QPersistentModelIndex();
    if (editor != nullptr) {
        const bool hadFocus = editor->hasFocus();
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (hadFocus) {
            AnnounceCurrentCell();
        }
    }
}

void StatementGrid::AnnounceCurrentCell() {
    // The view takes the focus back from a closed editor; a screen reader is told that it is the
    // cell that has it, as when the cursor moves, not the grid as a whole.
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !hasFocus()) {
        return;
    }
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* cells = table != nullptr ? table->tableInterface() : nullptr;
    QAccessibleInterface* cell =
        cells != nullptr ? cells->cellAt(current.row(), current.column()) : nullptr;
    if (cell == nullptr) {
        return;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(table->indexOfChild(cell));
    RaiseAccessibleEvent(&event);
}

void StatementGrid::editorTab(bool backward) {
    // Tab leaves the grid for the next control of the window, as it does without an editor.
    if (!finishEdit(EditEnd::Leave)) {
        return;
    }
    focusNextPrevChild(!backward);
}

void StatementGrid::editorFocusLost() {
    if (editor_.isNull() || finishing_) {
        return;
    }
    // Focus that stays inside the editor, or comes to this grid (a click on another cell, which
    // mousePressEvent handles before the cursor moves), does not leave the cell here.
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (w == editor_.data() || w == this) {
            return;
        }
    }
    // Leaving the grid (another control, another page) settles the edit: a refused text stays
    // in the editor, which takes the focus back once this focus change is over.
    if (!finishEdit(EditEnd::Settle)) {
        QTimer::singleShot(0, this, &StatementGrid::reclaimFocus);
    }
}

void StatementGrid::resetColumnWidths() {
    // The designed widths, wider in proportion to a larger font.
    const double scale = model_->cellFont().pointSizeF() / 8.0;
    const std::vector<int> widths = StatementGridModel::ColumnWidths(statement_);
    for (std::size_t c = 1; c < widths.size(); ++c) {
        horizontalHeader()->resizeSection(static_cast<int>(c - 1),
                                          static_cast<int>(std::lround(widths[c] * scale)));
    }
}

void StatementGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        // A light, dark or high-contrast palette chosen while the program runs.
        model_->setColours(GridColoursOf(palette()));
        model_->refreshAll();
    }
    QTableView::changeEvent(event);
}

void StatementGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
    // Coming back to the grid (a page change, Tab, a closed dialog or window), a screen reader
    // hears the current cell, not the table as a whole: told once the focus change itself (which
    // names the grid) has been reported.
    QMetaObject::invokeMethod(this, &StatementGrid::AnnounceCurrentCell, Qt::QueuedConnection);
}

void StatementGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void StatementGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (hasFocus() || (!editor_.isNull() && editor_->hasFocus())) {
        // The focused grid is framed, so it is told apart from one without the focus.
        QPainter painter(viewport());
        DrawFocusFrame(&painter, viewport()->rect(), model_->colours().focus);
    }
}

void StatementGrid::keyPressEvent(QKeyEvent* event) {
    if (editor_.isNull()) {
        const QModelIndex current = currentIndex();
        const bool editable = current.isValid() && (model_->flags(current) & Qt::ItemIsEditable);
        const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                   Qt::MetaModifier | Qt::ShiftModifier));
        if (editable && IsEnterKey(event->key()) && plain) {
            // Enter opens the editor of an input cell; it never moves the cursor.
            edit(current);
            event->accept();
            return;
        }
        if (editable && IsPrintableText(event->text()) &&
            StatementGridModel::UsesAmountEditor(statement_,
                                                 StatementGridModel::GridColumn(current)) &&
            !(event->modifiers() & Qt::KeypadModifier) &&
            !AmountEditor::AcceptsInsert(QString(), 0, 0, event->text(),
                                         QLocale().decimalPoint().at(0))) {
            // A character the amount editor would refuse does not start editing.
            QApplication::beep();
            emit inputRefused(event->text());
            event->accept();
            return;
        }
        if (current.isValid() && !editable && IsPrintableText(event->text()) &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            // Not a search for a row (typed "1" jumped to row 1 and the typing went nowhere):
            // the user is told this cell takes no amount.
            QApplication::beep();
            emit inputNotTaken(StatementGridModel::GridColumn(current));
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void StatementGrid::mousePressEvent(QMouseEvent* event) {
    swallowMouse_ = false;
    if (!editor_.isNull() && !finishing_) {
        const QModelIndex at = indexAt(event->position().toPoint());
        if (at.isValid() && at == QModelIndex(editIndex_)) {
            editor_->setFocus();
            event->accept();
            return;
        }
        if (!finishEdit(EditEnd::Leave)) {
            // Refused: the cursor stays on the cell; the rest of this click is ignored.
            swallowMouse_ = true;
            event->accept();
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void StatementGrid::mouseMoveEvent(QMouseEvent* event) {
    if (swallowMouse_) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void StatementGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (swallowMouse_) {
        swallowMouse_ = false;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void StatementGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (swallowMouse_) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

QModelIndex StatementGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    // Moving away from an open editor leaves the cell: a refused text keeps the cursor here.
    if (!editor_.isNull() && !finishing_ && !finishEdit(EditEnd::Leave)) {
        return currentIndex();
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

void StatementGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Any other move of the cursor away from an open editor (set by code) leaves the cell too.
    bool refused = false;
    QPersistentModelIndex edited = editIndex_;
    if (!editor_.isNull() && !finishing_ && current != QModelIndex(editIndex_)) {
        refused = !finishEdit(EditEnd::Leave);
    }
    if (hasFocus()) {
        QTableView::currentChanged(current, previous);
    } else {
        // A grid without the keyboard moves its cursor silently: the view would tell a screen
        // reader that one of its cells has the focus (each grid built at start-up said "0,00"
        // while the cursor was in the company's name).
        QAbstractItemView::currentChanged(current, previous);
    }
    if (refused && edited.isValid()) {
        QMetaObject::invokeMethod(
            this,
            [this, edited] {
                if (edited.isValid()) {
                    setCurrentIndex(edited);
                }
            },
            Qt::QueuedConnection);
    }
    updateHelpContext();
}

void StatementGrid::keyboardSearch(const QString& /*search*/) {
    // Typing never jumps to a row by its text.
}

void StatementGrid::updateHelpContext() {
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? StatementGridModel::GridRow(current) : 0;
    const int context = StatementGridModel::HelpContext(statement_, row);
    if (context != helpContext_) {
        helpContext_ = context;
        emit helpContextChanged(context);
    }
}

}  // namespace movik

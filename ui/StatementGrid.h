#pragma once
// A statement grid: a table view over one statement's grid texts (document/GridTexts), with the
// statement's fonts, colours, alignment, edit rule, numeric editor and cell validation.

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>
#include <string>

#include "document/GridTexts.h"
#include "model/Statements.h"

class QLineEdit;

namespace movik {

class StatementGridModel;
class StatementGridDelegate;

class StatementGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(int helpContext READ helpContext NOTIFY helpContextChanged)
  public:
    // texts must outlive the grid; the grid never owns or copies them.
    StatementGrid(Statement statement, GridTexts& texts, QWidget* parent = nullptr);
    ~StatementGrid() override;

    Statement statement() const { return statement_; }

    // Shows the cell texts anew after they were rewritten outside the grid (FillGrids, import,
    // header dates). Safe to call from inside the validation callback.
    void refresh();
    // The amount and text columns back to their designed widths.
    void resetColumnWidths();

    // The validation handler of the grid (agBilancaCellValidate, agRacunCellValidate). Called when
    // an edited cell is left with a changed text, or Enter is pressed in its editor, with the
    // column, the row and the new text. Returns the text to store (valid), or nullopt (refused:
    // the cell gets back the text it had when it was entered and stays current; after Enter the
    // editor stays open). Unset: every edit is accepted as typed.
    std::function<std::optional<std::string>(int col, int row, const std::string& text)> validate;

    // Help context of the grid; for agPokazatelji it follows the current row (6, 7, 8, 9).
    int helpContext() const;

    // True while a cell editor is open.
    bool isEditing() const;
    // The open cell editor, or nullptr.
    QLineEdit* cellEditor() const;
    // Settles an open edit before a command reads the texts (save, export, print, close, a page
    // change): a changed text is validated and stored as when the cell is left. A refused text
    // stays in the editor, which keeps the focus on the grid's page (the cell keeps its old
    // text), and editRefused() says so; the command must stop then. Returns false when refused;
    // true otherwise, also with no edit.
    bool commitEdit();

    StatementGridModel* gridModel() const { return model_; }

    // The column width in pixels (grid line included) that shows text in font in full, with
    // the margins the grid draws its texts with.
    static int ColumnWidthFor(const QString& text, const QFont& font);

  signals:
    void helpContextChanged(int context);
    // The validation refused typed, the text the user ended the edit with.
    void editRefused(const QString& typed);
    // Characters typed or pasted into an amount cell were not taken (the grid beeped).
    void inputRefused(const QString& text);
    // A character was typed on a cell that takes no amount (a row's position or text, a computed
    // figure) at grid column gridColumn; the grid beeped and kept its cursor.
    void inputNotTaken(int gridColumn);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyboardSearch(const QString& search) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    friend class StatementGridDelegate;
    // Enter and Leave validate; a refusal on Leave closes the editor with the old text, on Enter
    // and Settle the editor stays open (Enter shows the old text, Settle the typed one).
    enum class EditEnd { Enter, Leave, Settle, Cancel };

    // Called by the delegate when it has made an editor for index.
    void editorOpened(QLineEdit* editor, const QModelIndex& index);
    // Ends the open edit. Enter and Leave validate a changed text; Cancel drops it. Returns
    // false when the text was refused.
    bool finishEdit(EditEnd how);
    void closeOpenEditor();
    // Tells assistive technology that the focus is on the current cell.
    void AnnounceCurrentCell();
    void editorTab(bool backward);
    void editorFocusLost();
    // After a refused Settle: the grid's page showing and the focus in the open editor.
    void reclaimFocus();
    void updateHelpContext();

    Statement statement_;
    GridTexts& texts_;
    StatementGridModel* model_;
    StatementGridDelegate* delegate_;
    QPointer<QLineEdit> editor_;
    QPersistentModelIndex editIndex_;
    std::string enteredText_;  // the cell's text when its editor opened
    bool finishing_ = false;
    bool swallowMouse_ = false;
    int helpContext_;
    int rowHeight_ = 16;
};

}  // namespace movik

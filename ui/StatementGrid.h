#pragma once
// A statement grid: a table view over one statement's grid texts (document/GridTexts), with the
// statement's fonts, colours, alignment, edit rule, numeric editor and cell validation.

#include <QTableView>
#include <functional>
#include <optional>
#include <string>

#include "document/GridTexts.h"
#include "model/Statements.h"

namespace movik {

class StatementGridModel;

class StatementGrid : public QTableView {
    Q_OBJECT
public:
    // texts must outlive the grid; the grid never owns or copies them.
    StatementGrid(Statement statement, GridTexts& texts, QWidget* parent = nullptr);

    Statement statement() const { return statement_; }

    // Shows the cell texts anew after they were rewritten outside the grid (FillGrids, import,
    // header dates). Safe to call from inside the validation callback.
    void refresh();

    // The validation handler of the grid (agBilancaCellValidate, agRacunCellValidate). Called when
    // an edited cell is left with a changed text, or Enter is pressed in its editor, with the
    // column, the row and the new text. Returns the text to store (valid), or nullopt (refused:
    // the cell gets back the text it had when it was entered and stays current; after Enter the
    // editor stays open). Unset: every edit is accepted as typed.
    std::function<std::optional<std::string>(int col, int row, const std::string& text)> validate;

    // Help context of the grid; for agPokazatelji it follows the current row (6, 7, 8, 9).
    int helpContext() const;

private:
    Statement statement_;
    StatementGridModel* model_;
};

}  // namespace movik

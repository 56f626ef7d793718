#pragma once
// An item model over one statement's grid texts. The texts stay in GridTexts; the model only
// translates them into Qt's roles. Row 0 of the texts is the horizontal header, column 0 the
// (empty) vertical header; model cell (row, column) is grid cell (column + 1, row + 1).

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <vector>

#include "document/GridTexts.h"
#include "model/Statements.h"
#include "ui/AccessibleColours.h"

namespace movik {

class StatementGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    StatementGridModel(Statement statement, GridTexts& texts, QObject* parent = nullptr);

    Statement statement() const { return statement_; }
    GridTexts& texts() { return texts_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Grid coordinates (column and row counted as in GridTexts) of a model index, and back.
    static int GridColumn(const QModelIndex& index) { return index.column() + 1; }
    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex indexAt(int col, int row) const { return index(row - 1, col - 1); }

    // What a screen reader reads for a row ("3, I. Nematerijalna imovina"; row counted from 1)
    // and for a cell (its row, then its column's caption).
    QString RowName(int row) const;
    QString CellName(const QModelIndex& index) const;
    // What a screen reader reads after a cell's value: its column, "zbroj" on a computed total,
    // and whether it is typed into ("upisuje se") or computed ("računa se").
    QString CellDescription(const QModelIndex& index) const;
    // A column caption as it is read: one spaced out letter by letter becomes its word.
    static QString SpokenCaption(const QString& caption);

    // Tells the views that one cell's text (any cell, header cells included) was rewritten.
    void cellChanged(int col, int row);
    // Tells the views that every text may have been rewritten.
    void refreshAll();
    // Tells the views about the cells whose text differs from what they were last told, and only
    // those: after an edit a few totals and shares change, and only they are repainted.
    void refreshChanged();

    // The grey of bold rows and the red of red rows, from the grid's palette (set again when
    // the palette changes).
    void setColours(const GridColours& colours);
    const GridColours& colours() const { return colours_; }

    // The point size of the cells: 8 points with a 9-point system font (Qt's default) or a
    // smaller one, more in proportion to a larger system font.
    static double CellPointSize(double systemPointSize);

    // The fonts the grid draws with: cells and the fixed header cells.
    const QFont& cellFont() const { return fonts_[0]; }
    const QFont& headerFont() const { return headerFont_; }

    // The statement's fixed layout.
    static std::vector<int> ColumnWidths(Statement s);  // pixels, columns 0 to last
    static bool IsRightAligned(Statement s, int col);
    static bool IsRedRow(Statement s, int row);
    static bool IsEditable(Statement s, int col, int row);
    // A total the calculations produce from typed rows (never because the row is bold).
    static bool IsTotalRow(Statement s, int row);
    static bool UsesAmountEditor(Statement s, int col);
    // Help context of the grid with the cursor in row (the fixed header row is row 0).
    static int HelpContext(Statement s, int row);

  private:
    enum FontIndex { kPlain = 0, kBold = 1, kItalic = 2, kBoldItalic = 3 };
    static int FontIndexOf(Statement s, int row);

    Statement statement_;
    GridTexts& texts_;
    GridTexts told_;  // the texts as the views were last told them
    QFont fonts_[4];
    QFont headerFont_;
    QBrush greyBrush_;
    QBrush redBrush_;
    GridColours colours_;
};

}  // namespace movik

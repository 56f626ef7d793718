#include "ui/StatementGridModel.h"

#include "model/StatementFacts.h"

#include <QColor>
#include <QGuiApplication>
#include <QStringList>
#include <string_view>

#include "model/Templates.h"

namespace movik {

namespace {

bool Contains(std::string_view code, std::string_view part) {
    return code.find(part) != std::string_view::npos;
}

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a screen reader says of a cell after its column: a computed total, and whether the cell
// takes typing.
const QString kTotal = QStringLiteral("zbroj");
const QString kTyped = QStringLiteral("upisuje se");
const QString kComputed = QStringLiteral("računa se");
const QString kReadOnly = QStringLiteral("samo za čitanje");

}  // namespace

QString StatementGridModel::SpokenCaption(const QString& caption) {
    // A caption spaced out letter by letter ("P o z i c i j a") is read as the word it spells.
    const QString trimmed = caption.trimmed();
    if (trimmed.size() < 3) {
        return trimmed;
    }
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if ((i % 2 == 1) != (trimmed[i] == u' ')) {
            return trimmed;
        }
    }
    QString word;
    for (qsizetype i = 0; i < trimmed.size(); i += 2) {
        word += trimmed[i];
    }
    return word;
}

QString StatementGridModel::RowName(int row) const {
    // The row's position and its text without the blanks that indent sub-rows.
    const QString text =
        texts_.columnCount() > 2 ? ToQString(texts_.cell(2, row)).trimmed() : QString();
    return text.isEmpty() ? QString::number(row) : QStringLiteral("%1, %2").arg(row).arg(text);
}

QString StatementGridModel::CellDescription(const QModelIndex& index) const {
    // "31. 12. 2023., upisuje se", "Iznos, zbroj, računa se", "Pozicija, samo za čitanje".
    const int col = GridColumn(index);
    const int row = GridRow(index);
    QStringList parts{
        headerData(index.column(), Qt::Horizontal, Qt::AccessibleTextRole).toString()};
    if (IsTotalRow(statement_, row)) {
        parts << kTotal;
    }
    if (IsEditable(statement_, col, row)) {
        parts << kTyped;
    } else {
        parts << (IsRightAligned(statement_, col) ? kComputed : kReadOnly);
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

QString StatementGridModel::CellName(const QModelIndex& index) const {
    const QString column =
        headerData(index.column(), Qt::Horizontal, Qt::AccessibleTextRole).toString();
    return RowName(GridRow(index)) + QStringLiteral(", ") + column;
}

StatementGridModel::StatementGridModel(Statement statement, GridTexts& texts, QObject* parent)
    : QAbstractTableModel(parent),
      statement_(statement),
      texts_(texts),
      told_(texts),
      greyBrush_(QColor(204, 204, 204)),
      redBrush_(QColor(255, 0, 0)) {
    setColours(GridColoursOf(QGuiApplication::palette()));
    // Cells: 8-point Arial (Liberation Sans where Arial itself is missing), larger with a larger
    // system font.
    QFont cell(QStringLiteral("Arial"));
    cell.setPointSizeF(CellPointSize(QGuiApplication::font().pointSizeF()));
    cell.setStyleHint(QFont::SansSerif);
    fonts_[kPlain] = cell;
    fonts_[kBold] = cell;
    fonts_[kBold].setBold(true);
    fonts_[kItalic] = cell;
    fonts_[kItalic].setItalic(true);
    fonts_[kBoldItalic] = fonts_[kBold];
    fonts_[kBoldItalic].setItalic(true);
    // Fixed cells: an 8-point sans face as narrow as MS Sans Serif, which Linux lacks (its
    // default sans is too wide for a short date over the narrowest amount column).
    headerFont_ = cell;
}

double StatementGridModel::CellPointSize(double systemPointSize) {
    // 8 points with Qt's own default system font of 9 points; with a larger system font the
    // grids grow in the same proportion as every other text of the window.
    constexpr double kUsualSystemSize = 9.0;
    constexpr double kCellSize = 8.0;
    if (!(systemPointSize > kUsualSystemSize)) {
        return kCellSize;
    }
    return kCellSize * systemPointSize / kUsualSystemSize;
}

void StatementGridModel::setColours(const GridColours& colours) {
    colours_ = colours;
    greyBrush_ = QBrush(colours.totalBackground);
    redBrush_ = QBrush(colours.red);
}

int StatementGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : texts_.rowCount() - 1;
}

int StatementGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : texts_.columnCount() - 1;
}

int StatementGridModel::FontIndexOf(Statement s, int row) {
    // Tested in this order, each match replacing the style of an earlier one.
    const std::string_view code = TemplateRow(s, row).Vrsta;
    int font = kPlain;
    if (Contains(code, "b")) {
        font = kBold;
    }
    if (Contains(code, "i")) {
        font = kItalic;
    }
    if (Contains(code, "bi")) {
        font = kBoldItalic;
    }
    return font;
}

QVariant StatementGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const int col = GridColumn(index);
    const int row = GridRow(index);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToQString(texts_.cell(col, row));
        case Qt::FontRole:
            return fonts_[FontIndexOf(statement_, row)];
        case Qt::BackgroundRole:
            if (Contains(TemplateRow(statement_, row).Vrsta, "b")) {
                return greyBrush_;
            }
            return {};
        case Qt::ForegroundRole:
            // Other rows keep the view's own text colour (the system window text).
            if (IsRedRow(statement_, row)) {
                return redBrush_;
            }
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::Alignment((IsRightAligned(statement_, col) ? Qt::AlignRight : Qt::AlignLeft) |
                              Qt::AlignVCenter));
        case Qt::AccessibleDescriptionRole:
            return CellDescription(index);
        default:
            return {};
    }
}

QVariant StatementGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool horizontal = orientation == Qt::Horizontal;
    if (section < 0 || section >= (horizontal ? columnCount() : rowCount())) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return horizontal ? ToQString(texts_.cell(section + 1, 0))
                              : ToQString(texts_.cell(0, section + 1));
        case Qt::AccessibleTextRole:
            // The empty row headers are read as the row's number and text.
            return horizontal ? SpokenCaption(ToQString(texts_.cell(section + 1, 0)))
                              : RowName(section + 1);
        case Qt::FontRole:
            return headerFont_;
        case Qt::TextAlignmentRole:
            if (horizontal) {
                return QVariant::fromValue(Qt::Alignment(
                    (IsRightAligned(statement_, section + 1) ? Qt::AlignRight : Qt::AlignLeft) |
                    Qt::AlignVCenter));
            }
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags StatementGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditable(statement_, GridColumn(index), GridRow(index))) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool StatementGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    const int col = GridColumn(index);
    const int row = GridRow(index);
    texts_.cell(col, row) = value.toString().toStdString();
    emit dataChanged(index, index);
    return true;
}

void StatementGridModel::cellChanged(int col, int row) {
    if (row == 0 && col >= 1) {
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    } else if (col == 0 && row >= 1) {
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    } else if (col >= 1 && row >= 1) {
        const QModelIndex i = indexAt(col, row);
        emit dataChanged(i, i);
    }
}

void StatementGridModel::refreshChanged() {
    // Change notifications only, as in refreshAll.
    for (int row = 0; row < texts_.rowCount(); ++row) {
        for (int col = 0; col < texts_.columnCount(); ++col) {
            const std::string& now = texts_.cell(col, row);
            std::string& told = told_.cell(col, row);
            if (now != told) {
                told = now;
                cellChanged(col, row);
            }
        }
    }
}

void StatementGridModel::refreshAll() {
    // Change notifications only: a reset would close an open editor, and this runs from inside
    // the validation of the very cell being edited.
    told_ = texts_;
    const int rows = rowCount();
    const int cols = columnCount();
    if (rows > 0 && cols > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, cols - 1));
    }
    if (cols > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, cols - 1);
    }
    if (rows > 0) {
        emit headerDataChanged(Qt::Vertical, 0, rows - 1);
    }
}

std::vector<int> StatementGridModel::ColumnWidths(Statement s) {
    const StatementFacts& facts = FactsOf(s);
    return {facts.columnWidths.begin(), facts.columnWidths.begin() + facts.columns};
}

bool StatementGridModel::IsRightAligned(Statement s, int col) {
    const StatementFacts& facts = FactsOf(s);
    return col >= facts.firstRightAligned && col < facts.columns;
}

bool StatementGridModel::IsRedRow(Statement s, int row) {
    return FactsOf(s).IsRedRow(row);
}

bool StatementGridModel::IsTotalRow(Statement s, int row) {
    // A row the calculations produce from typed ones; in the wholly computed statements (cash
    // flows, indicators) no row is a sum of typed rows.
    const StatementFacts& facts = FactsOf(s);
    const bool typed = facts.inputColumns[0] != 0 || facts.inputColumns[1] != 0;
    return typed && row >= 1 && row <= RowCount(s) && TemplateRow(s, row).Izracunata;
}

bool StatementGridModel::IsEditable(Statement s, int col, int row) {
    if (row < 1 || row > RowCount(s)) {
        return false;
    }
    return FactsOf(s).IsInputColumn(col) && !TemplateRow(s, row).Izracunata;
}

bool StatementGridModel::UsesAmountEditor(Statement s, int col) {
    return FactsOf(s).IsInputColumn(col);
}

int StatementGridModel::HelpContext(Statement s, int row) {
    return FactsOf(s).GridHelpContext(row);
}

}  // namespace movik

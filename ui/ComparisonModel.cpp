#include "ui/ComparisonModel.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QIcon>
#include <QStyle>

#include "analysis/EuroConversion.h"

namespace movik {

namespace {

bool IsNumeric(const ComparisonColumn& c) {
    using K = ComparisonColumn::Kind;
    return c.kind == K::Amount || c.kind == K::Change || c.kind == K::Indicator ||
           c.kind == K::Score;
}

}  // namespace

ComparisonModel::ComparisonModel(RegionalSettings rs, QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(rs)) {}

int ComparisonModel::Add(std::vector<DocumentSummary> summaries) {
    beginResetModel();
    const int already = table_.Add(std::move(summaries));
    endResetModel();
    return already;
}

void ComparisonModel::RemoveRows(std::vector<int> rows) {
    beginResetModel();
    table_.Remove(std::move(rows));
    endResetModel();
}

void ComparisonModel::SetGrouped(bool grouped) {
    beginResetModel();
    table_.SetGrouped(grouped);
    endResetModel();
}

int ComparisonModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int ComparisonModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.columnCount();
}

QString ComparisonModel::RowNote(int row) const {
    const DocumentSummary& s = table_.Summary(row);
    if (!s.ok) {
        return QString::fromStdString(s.error);
    }
    QStringList warnings;
    for (const std::string& w : s.warnings) {
        warnings << QString::fromStdString(w);
    }
    if (const std::string& other = table_.SamePeriodAs(row); !other.empty()) {
        warnings << QString::fromStdString(SamePeriodNote(other));
    }
    return warnings.join(u'\n');
}

QVariant ComparisonModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= table_.rowCount()) {
        return {};
    }
    const int row = index.row();
    const ComparisonColumn& col = table_.column(index.column());
    const DocumentSummary& s = table_.Summary(row);
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(table_.Text(row, index.column()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (IsNumeric(col) ? Qt::AlignRight : Qt::AlignLeft));
        case Qt::DecorationRole:
            if (index.column() == 0 &&
                (!s.ok || !s.warnings.empty() || !table_.SamePeriodAs(row).empty())) {
                return QApplication::style()->standardIcon(s.ok ? QStyle::SP_MessageBoxWarning
                                                                : QStyle::SP_MessageBoxCritical);
            }
            return {};
        case Qt::AccessibleTextRole:
            // The warning icon is read out with the company's name.
            if (index.column() == 0 && (!s.ok || !s.warnings.empty())) {
                return QString::fromStdString(table_.Text(row, index.column())) +
                       (s.ok ? QStringLiteral(" (upozorenje)")
                             : QStringLiteral(" (nije pročitano)"));
            }
            return {};
        case Qt::AccessibleDescriptionRole:
            if (index.column() == 0) {
                const QString note = RowNote(row);
                return note.isEmpty() ? QVariant() : QVariant(note);
            }
            return {};
        case Qt::ToolTipRole: {
            const bool inMoney =
                col.kind == ComparisonColumn::Kind::Currency ||
                col.kind == ComparisonColumn::Kind::Amount ||
                (col.kind == ComparisonColumn::Kind::Indicator && IsMoneyIndicator(col.index));
            if (s.converted && inMoney) {
                return QStringLiteral(
                           "Preračunato iz kuna u eure po fiksnom tečaju konverzije %1 kn za 1 "
                           "euro")
                    .arg(QString::fromUtf8(kKunaPerEuroText.data(),
                                           static_cast<qsizetype>(kKunaPerEuroText.size())));
            }
            const QString note = RowNote(row);
            if (!note.isEmpty()) {
                return note;
            }
            return col.kind == ComparisonColumn::Kind::File ? QString::fromStdString(s.file)
                                                            : QVariant();
        }
        case Qt::ForegroundRole:
            if (col.kind == ComparisonColumn::Kind::Change) {
                const std::optional<double> change = table_.Change(row, col.index);
                if (change && *change < 0) {
                    return QBrush(QColor(180, 0, 0));
                }
            }
            if (!s.ok && col.kind == ComparisonColumn::Kind::Status) {
                return QBrush(QColor(180, 0, 0));
            }
            return {};
        default:
            return {};
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 &&
        section < table_.rowCount()) {
        // A row is named by its company and period (a screen reader's row header), or its file.
        const DocumentSummary& s = table_.Summary(section);
        int period = 0;
        while (period < table_.columnCount() &&
               table_.column(period).kind != ComparisonColumn::Kind::Period) {
            ++period;
        }
        const std::string name = s.company.empty() ? s.file : s.company;
        return QString::fromStdString(s.ok ? name + ", " + table_.Text(section, period) : s.file);
    }
    if (orientation != Qt::Horizontal || section < 0 || section >= table_.columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ComparisonColumn& col = table_.column(section);
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(table_.Caption(section));
    }
    if (role == Qt::AccessibleTextRole && col.kind == ComparisonColumn::Kind::Change) {
        // Which amount's change, as a screen reader and the sort commands name the column.
        return QString::fromStdString(
            table_.Caption(section) + " – " +
            std::string(kKeyAmounts[static_cast<std::size_t>(col.index)].caption));
    }
    if (role == Qt::ToolTipRole && col.kind == ComparisonColumn::Kind::Change) {
        return QStringLiteral("%1: promjena prema prethodnom razdoblju istog poduzeća")
            .arg(QString::fromUtf8(
                kKeyAmounts[static_cast<std::size_t>(col.index)].caption.data(),
                static_cast<qsizetype>(
                    kKeyAmounts[static_cast<std::size_t>(col.index)].caption.size())));
    }
    if (role == Qt::ToolTipRole) {
        // A caption cut short by a narrow column is read whole here.
        return QString::fromStdString(table_.Caption(section));
    }
    if (role == Qt::TextAlignmentRole) {
        // Left-aligned, a caption wider than its column is cut at its end only ("…").
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void ComparisonModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= table_.columnCount()) {
        return;
    }
    // The selection and current cell follow their documents to the rows they sort to.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> entries;
    entries.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& i : before) {
        entries.push_back(table_.EntryOf(i.row()));
    }
    table_.SortBy(column, order == Qt::AscendingOrder);
    std::vector<int> rowOfEntry(static_cast<std::size_t>(table_.rowCount()));
    for (int r = 0; r < table_.rowCount(); ++r) {
        rowOfEntry[table_.EntryOf(r)] = r;
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype k = 0; k < before.size(); ++k) {
        after.push_back(
            index(rowOfEntry[entries[static_cast<std::size_t>(k)]], before[k].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace movik

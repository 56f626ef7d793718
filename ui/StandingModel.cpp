#include "ui/StandingModel.h"

#include <QFont>
#include <QGuiApplication>
#include <algorithm>
#include <map>
#include <tuple>

#include "ui/AccessibleColours.h"

namespace movik {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A row's identity across a sort: its kind, group and document.
std::tuple<int, std::size_t, std::size_t> RowKey(const StandingTable::Row& r) {
    return {static_cast<int>(r.kind), r.group, r.entry};
}

QString DirectionText(Direction d) {
    switch (d) {
        case Direction::HigherIsBetter:
            return QStringLiteral("više je bolje");
        case Direction::LowerIsBetter:
            return QStringLiteral("niže je bolje");
        case Direction::None:
            break;
    }
    return QStringLiteral("bez smjera: prikazuje se samo rang, bez četvrtine i boje");
}

}  // namespace

QColor QuarterBackground(const QPalette& palette, int quarter) {
    static const QColor hues[] = {QColor(33, 102, 172), QColor(103, 169, 207),
                                  QColor(244, 165, 130), QColor(202, 0, 32)};
    static const double strength[] = {0.45, 0.25, 0.3, 0.4};
    const int q = std::clamp(quarter, 1, 4) - 1;
    return Mix(palette.color(QPalette::Base), hues[q], strength[q]);
}

QColor QuarterText(const QPalette& palette, int quarter) {
    return WithContrast(palette.color(QPalette::Text), {QuarterBackground(palette, quarter)},
                        kTextContrast);
}

StandingModel::StandingModel(RegionalSettings rs, QObject* parent)
    : QAbstractTableModel(parent), rs_(std::move(rs)) {}

void StandingModel::Rebuild(const ComparisonTable& comparison) {
    beginResetModel();
    table_.emplace(StandingTable::Of(comparison, rs_));
    if (sortColumn_ >= 0) {
        table_->SortBy(sortColumn_, ascending_);
    }
    endResetModel();
}

std::string StandingModel::FileOf(int row) const {
    if (!table_ || row < 0 || row >= table_->rowCount() ||
        table_->row(row).kind != StandingTable::RowKind::Document) {
        return {};
    }
    return table_->entries()[table_->row(row).entry].file;
}

int StandingModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->rowCount();
}

int StandingModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->columnCount();
}

QVariant StandingModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || index.row() >= table_->rowCount()) {
        return {};
    }
    const int r = index.row();
    const int c = index.column();
    const bool document = table_->row(r).kind == StandingTable::RowKind::Document;
    switch (role) {
        case Qt::DisplayRole:
            return FromStd(table_->Text(r, c));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::AlignVCenter | (table_->MeasureOfColumn(c) ? Qt::AlignRight : Qt::AlignLeft));
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            const std::optional<int> q = table_->Quarter(r, c);
            if (!q) {
                return {};
            }
            const QPalette palette = QGuiApplication::palette();
            return role == Qt::BackgroundRole ? QuarterBackground(palette, *q)
                                              : QuarterText(palette, *q);
        }
        case Qt::FontRole:
            if (!document) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
        case Qt::AccessibleDescriptionRole:
            return FromStd(table_->Description(r, c));
        default:
            return {};
    }
}

QVariant StandingModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!table_ || orientation != Qt::Horizontal || section < 0 ||
        section >= table_->columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return FromStd(table_->Caption(section));
    }
    if (role == Qt::ToolTipRole) {
        const std::optional<std::size_t> m = table_->MeasureOfColumn(section);
        const QString caption = FromStd(table_->Caption(section));
        return m ? caption + QStringLiteral(" (") +
                       DirectionText(table_->measures()[*m].direction) + QStringLiteral(")")
                 : caption;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void StandingModel::sort(int column, Qt::SortOrder order) {
    if (!table_ || column < 0 || column >= table_->columnCount()) {
        return;
    }
    sortColumn_ = column;
    ascending_ = order == Qt::AscendingOrder;
    // The selection and current cell follow their rows to where they sort to.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::tuple<int, std::size_t, std::size_t>> keys;
    for (const QModelIndex& i : before) {
        keys.push_back(RowKey(table_->row(i.row())));
    }
    table_->SortBy(column, ascending_);
    std::map<std::tuple<int, std::size_t, std::size_t>, int> rowOf;
    for (int r = 0; r < table_->rowCount(); ++r) {
        rowOf[RowKey(table_->row(r))] = r;
    }
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k) {
        after.push_back(index(rowOf[keys[static_cast<std::size_t>(k)]], before[k].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace movik

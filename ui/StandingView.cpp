#include "ui/StandingView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <set>

namespace movik {

StandingView::StandingView(RegionalSettings rs, QWidget* parent)
    : QTableView(parent), model_(new StandingModel(std::move(rs), this)) {
    setObjectName(QStringLiteral("agPolozaj"));
    setModel(model_);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    horizontalHeader()->setSortIndicatorShown(false);
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this] { horizontalHeader()->setSortIndicatorShown(true); });
    horizontalHeader()->setDefaultSectionSize(120);
    horizontalHeader()->setMinimumSectionSize(40);
    horizontalHeader()->setTextElideMode(Qt::ElideRight);
    verticalHeader()->setDefaultSectionSize(22);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAccessibleName(QStringLiteral("Položaj u skupini"));
    // Tab goes on to the buttons; the arrow keys move inside the table.
    setTabKeyNavigation(false);
}

void StandingView::Rebuild(const ComparisonTable& table) {
    const std::vector<std::string> files = SelectedFiles();
    const std::set<std::string> selected(files.begin(), files.end());
    model_->Rebuild(table);
    QItemSelection kept;
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (selected.count(model_->FileOf(r)) != 0) {
            kept.select(model_->index(r, 0), model_->index(r, 0));
        }
    }
    selectionModel()->select(kept, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::vector<std::string> StandingView::SelectedFiles() const {
    std::vector<std::string> files;
    for (const QModelIndex& i : selectionModel()->selectedRows()) {
        if (std::string file = model_->FileOf(i.row()); !file.empty()) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

void StandingView::FitColumns(int maxWidth) {
    resizeColumnsToContents();
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (columnWidth(c) > maxWidth) {
            setColumnWidth(c, maxWidth);
        }
    }
}

}  // namespace movik

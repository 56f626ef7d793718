#pragma once
// The comparison table as a Qt item model: texts with the locale's separators, numbers
// right-aligned, a warning or error icon with its text as the tooltip, sorting by any column.

#include <QAbstractTableModel>
#include <vector>

#include "analysis/Comparison.h"

namespace movik {

class ComparisonModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ComparisonModel(RegionalSettings rs, QObject* parent = nullptr);

    const ComparisonTable& table() const { return table_; }
    // The rows of files not yet in the table; how many were there already.
    int Add(std::vector<DocumentSummary> summaries);
    void RemoveRows(std::vector<int> rows);
    void SetGrouped(bool grouped);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The tooltip of a row: its warnings (a document of the same company and period too), or
    // the error of a file that could not be read.
    QString RowNote(int row) const;

  private:
    ComparisonTable table_;
};

}  // namespace movik

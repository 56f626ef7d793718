#pragma once
// The comparison's view "Položaj u skupini" as a Qt item model over a StandingTable: every
// document cell shows its percentile rank and quarter as text, on a background tinted by the
// quarter (taken from the palette, so light and dark palettes both keep their contrast), with
// the group's Q1, median and Q3 rows in bold under each year. Sorting orders the documents
// within each group, and the selection follows its documents.

#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>
#include <optional>

#include "analysis/StandingTable.h"

namespace movik {

// The background of a cell of quarter q (1 the best ... 4 the weakest) in palette: the base
// tinted blue for the better half and orange-red for the weaker (a scale colour-blind readers
// tell apart), stronger at the ends; text in the palette's text colour keeps 4.5:1 against it.
QColor QuarterBackground(const QPalette& palette, int quarter);
QColor QuarterText(const QPalette& palette, int quarter);

class StandingModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    StandingModel(RegionalSettings rs, QObject* parent = nullptr);

    // The standing of the comparison's rows (its current order), sorted as before.
    void Rebuild(const ComparisonTable& table);
    const StandingTable& table() const { return *table_; }
    // The file of a document row; "" for a group's rows.
    std::string FileOf(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  private:
    RegionalSettings rs_;
    std::optional<StandingTable> table_;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace movik

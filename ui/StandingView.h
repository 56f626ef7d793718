#pragma once
// The comparison window's view "Položaj u skupini": a table over a StandingModel, set up as the
// plain comparison table is (row selection, sorting by a header click, arrow keys inside, Tab
// out), that the window shows in the plain table's place.

#include <QTableView>
#include <string>
#include <vector>

#include "ui/StandingModel.h"

namespace movik {

class StandingView : public QTableView {
    Q_OBJECT
  public:
    StandingView(RegionalSettings rs, QWidget* parent = nullptr);

    StandingModel& standing() { return *model_; }
    // Rebuilt from the comparison's rows, keeping the selected documents selected.
    void Rebuild(const ComparisonTable& table);
    // The files of the selected document rows (a group's rows name none).
    std::vector<std::string> SelectedFiles() const;
    // Every caption and value readable, no column wider than maxWidth.
    void FitColumns(int maxWidth);

  private:
    StandingModel* model_;
};

}  // namespace movik

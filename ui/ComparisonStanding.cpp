// The comparison window's view "Položaj u skupini" and its box plots: what the window does when
// the view is switched on, and the "Raspon u skupini" charts.

#include <QCheckBox>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTableView>

#include "charts/StandingChart.h"
#include "ui/ComparisonModel.h"
#include "ui/ComparisonWindow.h"
#include "ui/StandingView.h"

namespace movik {

void ComparisonWindow::PolozajClick(bool shown) {
    if (cbPolozaj_->isChecked() != shown) {
        const QSignalBlocker block(cbPolozaj_);
        cbPolozaj_->setChecked(shown);
    }
    if (shown) {
        agPolozaj_->Rebuild(model_->table());
        agPolozaj_->FitColumns(kMaxColumnWidth);
    }
    QTableView* view = shown ? static_cast<QTableView*>(agPolozaj_) : agUsporedba_;
    const bool hadFocus = agUsporedba_->hasFocus() || agPolozaj_->hasFocus();
    views_->setCurrentWidget(view);
    if (hadFocus) {
        view->setFocus();
    }
    UpdateButtons();
}

ChartWindow* ComparisonWindow::RasponClick() {
    // The documents chosen in the view that shows: their points go over the boxes.
    std::vector<std::string> files;
    if (cbPolozaj_->isChecked()) {
        files = agPolozaj_->SelectedFiles();
    } else {
        for (const int row : SelectedRows()) {
            files.push_back(model_->table().Summary(row).file);
        }
    }
    const StandingTable table = StandingTable::Of(model_->table(), rs_);
    std::vector<std::pair<QString, ChartPicture>> pictures;
    for (auto& [name, picture] : StandingBoxCharts(table, files)) {
        pictures.emplace_back(QString::fromStdString(name), std::move(picture));
    }
    return OpenChartPictures(std::move(pictures), QStringLiteral("raspon-u-skupini"), dialogs_,
                             printCharts_, this);
}

}  // namespace movik

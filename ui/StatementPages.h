#pragma once
// The five statement pages of the main window: their tabs, grids and header labels, built when
// first needed (or right after the window's first frame), and the value columns fitted to the
// figures they show. The window connects their events; the pages hold no document logic.

#include <QObject>
#include <QString>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "model/Statements.h"

class QLabel;
class QTabWidget;
class QWindow;

namespace movik {

class ScoresPage;
class StatementGrid;
class Workspace;

class StatementPages : public QObject {
    Q_OBJECT
  public:
    // Adds an empty tab for each statement to tabs, in statement order, and the "Bonitet" page
    // after them; the grids, once built, show ws's texts (both must outlive the pages' widgets).
    StatementPages(Workspace& ws, QTabWidget& tabs, QObject* parent = nullptr);

    // Builds the pages into their tabs, showing the labels and texts as they are now, unless
    // built.
    void Build();
    bool built() const { return built_; }
    // Builds the pages right after window's first frame is on the screen (firstFrameShown just
    // before), or at once when anything needs them sooner.
    void BuildAfterFirstFrame(QWindow& window);

    // The statement's grid (the pages are built first if they are not yet).
    StatementGrid* Grid(Statement s);
    // The "Bonitet" page (made with the tabs; it fills itself when shown).
    ScoresPage* scores() const { return scores_; }

    // Every grid shows its texts anew and the value columns are fitted (nothing before the
    // pages are built: they show the workspace's texts when they are); the scores follow.
    void Refresh();
    // One grid shows its texts anew, if built.
    void Refresh(Statement s);
    // Another document: columns widened for the last one's figures go back to their widths.
    void ResetColumnWidths();
    // Settles an open cell edit in the input grids; false when its text was refused.
    bool CommitEdits();

    // The company, seat and period in the pages' headers (kept until the pages are built).
    void ShowCompany(const QString& name);
    void ShowSeat(const QString& seat);
    void ShowPeriod(const QString& from, const QString& to);

    // The validation of a cell edit in an input grid; set before the pages are built.
    std::function<std::optional<std::string>(Statement s, int col, int row,
                                             const std::string& text)>
        validate;

  signals:
    // BuildAfterFirstFrame: the first frame is on the screen (emitted once).
    void firstFrameShown();
    // The "<<" and ">>" buttons of a page.
    void previousClicked();
    void nextClicked();
    // A grid's validation refused typed (StatementGrid::editRefused).
    void editRefused(StatementGrid* grid, const QString& typed);
    // A grid did not take characters typed or pasted (StatementGrid::inputRefused).
    void inputRefused(const QString& text);
    // Typing on a cell that takes no amount (StatementGrid::inputNotTaken).
    void inputNotTaken(int gridColumn);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ConnectGrid(StatementGrid* grid);
    void ShowLabels();
    // Widens a value column that is too narrow for its longest figure; never shrinks one.
    void FitValueColumns();

    Workspace& ws_;
    QTabWidget& tabs_;
    // The statement pages' tabs, empty until Build fills them.
    std::array<QWidget*, 5> pages_{};
    std::array<StatementGrid*, 5> grids_{};
    std::array<QLabel*, 5> companyLabels_{};
    std::array<QLabel*, 5> seatLabels_{};
    std::array<QLabel*, 4> periodLabels_{};
    QLabel* balanceTitle_ = nullptr;
    ScoresPage* scores_ = nullptr;
    bool built_ = false;
    // BuildAfterFirstFrame: the first expose is still to come.
    bool awaitingFirstFrame_ = false;
    // What the field events gave so far (the labels keep their initial captions until then).
    std::optional<QString> company_;
    std::optional<QString> seat_;
    std::optional<QString> period_;
    // Per grid and column, the longest text length the column width was last fitted to.
    std::array<std::array<std::size_t, 7>, 5> measuredLength_{};
};

}  // namespace movik

#pragma once
// The "Bonitet" page of the main window, after "Pokazatelji": the early-warning scores with
// their bands (in words, with an icon and a colour), Kralicek's quick test with its grades, the
// DuPont factors beside indicator 13, and on demand each model's terms and the inputs with their
// rows. Read-only; it shows the workspace's document as it is after every recalculation.

#include <QWidget>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace movik {

class Workspace;

// The page's help context (the topic "Ocjena boniteta").
inline constexpr int kScoresHelpContext = 15;

class ScoresPage : public QWidget {
    Q_OBJECT
  public:
    explicit ScoresPage(const Workspace& ws, QWidget* parent = nullptr);

    // The document changed: shown at once when the page is showing, else when it is shown.
    void Refresh();
    // The header's company, seat and period lines (nullopt: unchanged).
    void ShowHeader(const std::optional<QString>& company, const std::optional<QString>& seat,
                    const std::optional<QString>& period);

    QTreeWidget* tree() const { return tree_; }
    QPushButton* previousButton() const { return prev_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Fill();

    const Workspace& ws_;
    QLabel* company_ = nullptr;
    QLabel* seat_ = nullptr;
    QLabel* period_ = nullptr;
    QPushButton* prev_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    // One item per line of the sheet, in its order (the sheet's shape never changes).
    std::vector<QTreeWidgetItem*> items_;
    bool stale_ = true;
};

}  // namespace movik

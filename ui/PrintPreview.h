#pragma once
// The print preview: our own window over the report engine's laid-out pages, one page at a time,
// with zoom, page up/down and a print button. No printer is asked for anything until the user
// prints, and printing goes through the caller's print function (the checked worker path).

#include <QDialog>
#include <functional>
#include <vector>

#include "reports/PrintJobs.h"

class QAction;
class QLabel;
class QScrollArea;

namespace movik {

class PreviewPage;

class PrintPreviewWindow : public QDialog {
    Q_OBJECT
  public:
    // pages: every page of jobs that were not refused; print runs when the user prints, with
    // this window and its message line, which shows the outcome when it comes.
    PrintPreviewWindow(
        const QString& title, const std::vector<PrintJob>& jobs,
        std::function<void(QWidget*, std::function<void(const QString&, bool)>)> print,
        QWidget* parent = nullptr);

    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The page shown, counted from 1 (0 when there is none).
    int currentPage() const { return pages_.empty() ? 0 : current_ + 1; }
    double zoom() const { return zoom_; }

    void ShowPage(int number);  // counted from 1; clamped to the pages there are
    void NextPage();
    void PreviousPage();
    void SetZoom(double zoom);  // 1.0: the page at its real size on the screen
    void ZoomIn();
    void ZoomOut();
    void FitWidth();
    void Print();
    // The message line: the outcome of printing (an error marked as one).
    void ShowOutcome(const QString& text, bool error);
    QString message() const;

  private:
    void Update();

    std::vector<LaidOutPage> pages_;
    std::function<void(QWidget*, std::function<void(const QString&, bool)>)> print_;
    QLabel* message_;
    int current_ = 0;
    double zoom_ = 1.0;
    QString title_;
    QScrollArea* scroll_;
    PreviewPage* view_;
    QLabel* pageLabel_;
    QAction* previous_;
    QAction* next_;
};

}  // namespace movik

#pragma once
// "Usporedba": many documents side by side. Documents and folders are added through the dialogs
// or dropped on the window; they are read in the background (a progress bar shows how far) while
// the window stays usable. The table sorts by any column, groups each company's periods as a
// trend, drops rows, exports to CSV, PDF and a workbook, draws any column as a chart, and hands a
// row's document to the main window.

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/Summary.h"
#include "model/Regional.h"
#include "ui/AnalysisCommands.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTableView;
class QTimer;

namespace movik {

class ChartWindow;
class ComparisonLoad;
class ComparisonModel;
class Dialogs;
class StandingView;

// The help topic of the comparison.
inline constexpr int kComparisonHelpContext = 12;
// The help topic of the view "Položaj u skupini".
inline constexpr int kStandingHelpContext = 16;

class ComparisonWindow : public QWidget {
    Q_OBJECT
  public:
    // printCharts: the window's checked print path for the chart windows opened from here.
    ComparisonWindow(Dialogs& dialogs, RegionalSettings rs, int currentYear,
                     ChartPrinter printCharts, QWidget* parent = nullptr);
    ~ComparisonWindow() override;

    ComparisonModel& model() { return *model_; }
    QTableView* table() const { return agUsporedba_; }
    bool IsLoading() const { return load_ != nullptr || !queued_.isEmpty(); }
    // The paths a stopped load left unread ("Nastavi učitavanje" reads them).
    const std::vector<std::string>& Unread() const { return unread_; }
    // Milliseconds the last load took, from adding the paths to the last row shown.
    qint64 LastLoadMs() const { return lastLoadMs_; }

    // The reading of one document (Summarize by default); tests replace it.
    void SetSummaryWork(std::function<DocumentSummary(const std::string& path)> work);

    // Reads the documents of these paths (files, or folders searched for *.mvk) in the
    // background and adds their rows; paths added during a load are read after it. A file
    // already in the table is not added again: the status line says how many were.
    void AddPaths(const QStringList& paths);

    // The commands of the window's buttons.
    void DodajDokumenteClick();
    void DodajMapuClick();
    void UkloniClick();
    void GrupirajClick(bool grouped);
    // Shows the view "Položaj u skupini" in the table's place (or the plain table again); the
    // exports then write what it shows.
    void PolozajClick(bool shown);
    StandingView* standingView() const { return agPolozaj_; }
    // Box plots of every measure across the groups, the selected documents' points over them.
    ChartWindow* RasponClick();
    void IzvozCsvClick();
    void IzvozPdfClick();
    void IzvozXlsxClick();
    // The charts of every key amount and indicator of the readable rows, in a window of their
    // own; nullptr when no row could be read.
    ChartWindow* GrafikoniClick();
    void OtvoriClick();
    // "Nastavi učitavanje": reads what a stopped load left.
    void NastaviClick();
    // The window's status line: the outcome of its commands (an error marked as one).
    void ShowOutcome(const QString& text, bool error);

  signals:
    // The user wants this document in the main window.
    void openRequested(const QString& path);
    void loadFinished();
    // The window was closed while it loaded: text says how many documents were read.
    void loadStopped(const QString& text);
    // F1: the help topic of the comparison.
    void helpRequested(int context);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The window built in steps: the table, the buttons and status line, their rows, their
    // commands.
    void MakeTable();
    void MakeControls();
    void LayOutControls();
    void ConnectControls();
    void ShowSaved(const QString& path, const Result& written);
    void StartNextLoad();
    void TakeReadyRows();
    // Stops the load at once; keepUnread: the paths not read wait for "Nastavi učitavanje".
    void StopLoading(bool keepUnread);
    void AddRows(std::vector<DocumentSummary> rows);
    // The status line, announced to a screen reader.
    void SayStatus(const QString& text);
    // What an export says after "Spremljeno u …" while the table is not complete.
    QString IncompleteNote() const;
    void UpdateButtons();
    void FitColumns();
    // Runs change, which resets the model, and keeps the selected rows and the current cell on
    // their documents, wherever they end up.
    void KeepingSelection(const std::function<void()>& change);
    std::vector<int> SelectedRows() const;

    Dialogs& dialogs_;
    ChartPrinter printCharts_;
    RegionalSettings rs_;
    int currentYear_;
    ComparisonModel* model_ = nullptr;
    QTableView* agUsporedba_ = nullptr;
    QProgressBar* pbUcitavanje_ = nullptr;
    QLabel* lStanje_ = nullptr;
    QCheckBox* cbGrupiraj_ = nullptr;
    QCheckBox* cbPolozaj_ = nullptr;
    StandingView* agPolozaj_ = nullptr;
    QStackedWidget* views_ = nullptr;
    QPushButton* bRaspon_ = nullptr;
    QPushButton* bDodajDokumente_ = nullptr;
    QPushButton* bDodajMapu_ = nullptr;
    QPushButton* bUkloni_ = nullptr;
    QPushButton* bOtvori_ = nullptr;
    QPushButton* bIzvozCsv_ = nullptr;
    QPushButton* bIzvozPdf_ = nullptr;
    QPushButton* bIzvozXlsx_ = nullptr;
    QPushButton* bGrafikoni_ = nullptr;
    static constexpr int kMaxColumnWidth = 260;
    QTimer* poll_ = nullptr;
    QPushButton* bNastavi_ = nullptr;
    std::unique_ptr<ComparisonLoad> load_;
    std::vector<std::string> unread_;
    QStringList queued_;
    QElapsedTimer loadClock_;
    qint64 lastLoadMs_ = -1;
    int loadedInRun_ = 0;
    int alreadyInRun_ = 0;  // files of the run that were in the table already
    std::function<DocumentSummary(const std::string& path)> work_;
};

}  // namespace movik

#pragma once
// TForm1: the main window. It holds the one working state of the run (Workspace) and shows it on
// six pages; every command and field event goes through the workspace, so the window only
// presents and asks.

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "document/DocumentLock.h"
#include "document/Workspace.h"
#include "ui/AnalysisCommands.h"
#include "ui/Dialogs.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace movik {

class ComparisonWindow;
class DateField;
class GeneralDataPage;
class PrintCommands;
class ShareCountField;
class StatementGrid;
class StatementPages;
class StatusPanels;

// Help context of the menus.
inline constexpr int kMenuHelpContext = 10;
// Help context of the box that repeats a warning: the warnings' section of the menus' topic.
inline constexpr int kWarningsHelpContext = 13;
// Help context of the charts, the euro conversion and the workbook export.
inline constexpr int kAnalysisHelpContext = 11;

class HelpContexts;
struct FormImportJob;
struct OfficialForm;
class HelpViewer;
class TfAbout;

// When the statement pages, hidden at start, are built: with the window, or right after its
// first frame (the program's start-up, so the window shows sooner). Either way they are built
// at once when anything needs them.
enum class HiddenPages { WithWindow, AfterFirstFrame };

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // dialogs: the questions, messages and file dialogs (the Qt ones when null).
    // Regional settings come from regional/ (RegionalForWindow).
    explicit TForm1(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr,
                    HiddenPages hiddenPages = HiddenPages::WithWindow);
    ~TForm1() override;

    Workspace& workspace() { return ws_; }
    Dialogs& dialogs() { return *dialogs_; }
    // Where saved documents and exports are written (tests substitute one that fails).
    void SetFileWriter(std::unique_ptr<FileWriter> writer);
    // The help the window opens (the help window when not replaced; tests script it).
    void SetHelpViewer(std::unique_ptr<HelpViewer> viewer);
    HelpViewer& helpViewer() { return *helpViewer_; }
    // The About box of the run (the start-up screen); the window makes its own when none is set.
    void SetAboutBox(TfAbout* about);
    TfAbout& AboutBox();

    // Document commands.
    void Nova1Click();
    void Otvori1Click();
    void SnimiClick();
    void SnimiKaoClick();
    void Izlaz1Click();
    void Ispii1Click();
    void PregledIspisa1Click();  // print preview of the showing page's report(s)
    void IzvozPDF1Click();       // the showing page's report(s) into a PDF file
    void IzvozSvihPDF1Click();   // all six reports into one PDF file
    PrintCommands& printing() { return *print_; }
    // Printing a chart through the window's checked print path (a worker; failures reported).
    ChartPrinter ChartPrinting();
    void Export1Click();
    void Import1Click();
    // "Poništi" and "Ponovi": the last change of amounts taken back, or made again.
    void Ponisti1Click();
    void Ponovi1Click();
    void IzvozXlsx1Click();  // the document as a spreadsheet workbook
    // An official annual form (GFI-POD) into a new, unsaved document, with its reconciliation.
    // The form is read off the interface's thread (a note in the status bar meanwhile); the
    // rest follows when it is read.
    void UvozObrasca1Click();
    // How the form import reads a form (ReadOfficialFormFile unless replaced; tests hold it).
    using FormReader = std::function<OfficialForm(const std::string& path)>;
    void SetFormReader(FormReader reader);
    // Whether a form is being read now.
    bool FormImportRunning() const;
    void Grafikoni1Click();        // the charts window of the open document
    void PreracunajUEure1Click();  // asks, then converts the document from kuna to euros
    void Korisnikauputstva1Click();
    // The comparison of many documents (created on first use, kept for the run).
    void Usporedba1Click();
    ComparisonWindow* comparison() const { return usporedba_; }
    // A document chosen in the comparison: opened here after the unsaved-changes question.
    void OpenFromComparison(const QString& path);
    void Oprogramu1Click();

    // The unsaved-changes guard: true when the command may go on. Yes saves first; a save that
    // does not happen (cancelled or failed) stops the command.
    bool CanDropChanges();

    // Writes the document to its file; false when it was not written (the error was shown).
    // A document open only for reading asks for another name instead, saying why.
    bool SaveDocument();
    // Opens path (a missing file is ignored without a message). The window holds the
    // document's lock while it has it open; a document another window or program holds is
    // opened only for reading, when the user, told who has it, agrees.
    void OpenDocument(const QString& path);
    // The document was opened while another had it: it is not saved over its file.
    bool isReadOnly() const { return readOnly_; }
    // Fields from the document, raising their change events.
    void ShowGeneralData();

    // Export and import of the showing page's statement.
    void ExportCsv();
    void ImportCsv();

    // Page and field events.
    void PageControlChange();
    void bPrevClick();
    void bNextClick();
    void ePoduzeceChange();
    void eSjedisteChange();
    void dOdChange(DateField* source);
    void dDoExit(DateField* source);
    void eBrojDionicaChange();
    void cbIznosChange();
    // The user chose a currency in cbValuta.
    void cbValutaChange(int index);
    // cbValuta shows the document's currency, cbIznos lists its units first and shows the
    // workspace's unit (which follows the currency there), and so does the status bar.
    void ShowCurrency();

    // Cell validation of the two input grids: the text to store, or nullopt to refuse it.
    std::optional<std::string> agBilancaCellValidate(int col, int row, const std::string& text);
    std::optional<std::string> agRacunCellValidate(int col, int row, const std::string& text);

    // The statement of the showing page (nullopt on tsOpce).
    std::optional<Statement> ShowingStatement() const;
    // The statement's grid (the statement pages are built first if they are not yet).
    StatementGrid* Grid(Statement s);
    // Builds the statement pages into their tabs, showing the window's state, unless built.
    void BuildStatementPages();
    bool statementPagesBuilt() const;

  signals:
    // HiddenPages::AfterFirstFrame: the window's first frame is on the screen (emitted once,
    // just before the statement pages are built).
    void firstFrameShown();
    // The form import read its form and is done with it (shown, asked or refused).
    void formImportFinished();

  public:
  protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildDocumentMenu();
    // The help viewer, F1 on controls and menus, and the Help button of the information box.
    void InstallHelp();
    void BuildToolBar();
    void BuildPages();
    // The statement pages' events: page turns, cell validation and refusals.
    void ConnectStatementPages();

    // After the workspace ran the refresh cycle: every grid shown anew, the warning shown.
    void ShowRecalculated();
    // After an undo or redo: the fields, the grids, the warning and the unit as restored.
    void ShowRestored();
    // "Poništi" and "Ponovi" enabled when there is a step to take.
    void UpdateUndoActions();
    void ShowWarning();
    // pIme: "Datoteka: " and the path, empty for an untitled document.
    void SetFilePanel(const QString& path);
    void ShowNewDocument();
    // The form import once its form is read: refused, asked about or taken.
    void FinishFormImport();
    // Whether the user takes a form that disagrees with itself (its differences shown).
    bool AcceptDifferences(const OfficialForm& form);
    // Forwards a cell edit to the workspace and shows its result.
    std::optional<std::string> ValidateAmount(Statement s, int col, int row,
                                              const std::string& text);
    bool SaveAs();
    // SaveDocument, to newPath when given (the document's file then, if written).
    bool SaveDocumentTo(const std::optional<std::string>& newPath);
    // Every command that reads or replaces the document settles what the user is typing first:
    // an open cell edit, the date fields, and the company and seat (copied into the document).
    // The share count needs nothing: every keystroke there is checked and applied. Accepted
    // texts are stored as usual; false when one was refused (its reason shown, the text kept
    // where it was typed): the command stops.
    bool SettleEdits();
    // The open cell edit alone (page changes: the date fields settle themselves when left).
    bool SettleCellEdit();
    // Why a cell refused its text, shown at the cell and in pNapomena.
    void ShowAmountRefusal(StatementGrid* grid, const QString& typed);

    Workspace ws_;
    // The lock of the open document's file (none for an untitled or read-only document).
    DocumentLock lock_;
    bool readOnly_ = false;
    LockHolder holder_;  // who had the document when it was opened read-only
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<FileWriter> writer_;
    std::unique_ptr<HelpViewer> helpViewer_;
    HelpContexts* helpContexts_ = nullptr;
    TfAbout* about_ = nullptr;
    std::unique_ptr<TfAbout> ownAbout_;

    QTabWidget* PageControl_ = nullptr;
    GeneralDataPage* opce_ = nullptr;
    StatementPages* pages_ = nullptr;

    std::unique_ptr<StatusPanels> panels_;

    QAction* Ponisti1_ = nullptr;
    QAction* Ponovi1_ = nullptr;
    QAction* Import1_ = nullptr;
    QAction* Export1_ = nullptr;
    QAction* PregledIspisa1_ = nullptr;
    QAction* IzvozPDF1_ = nullptr;
    std::unique_ptr<PrintCommands> print_;
    ComparisonWindow* usporedba_ = nullptr;

    // pNapomena shows why a cell refused its text (hidden once an edit is accepted).
    bool refusalShown_ = false;

    FormReader formReader_;
    // The form being read (its worker is joined when it goes).
    std::shared_ptr<FormImportJob> formImport_;
};

}  // namespace movik

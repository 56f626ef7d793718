#pragma once
// The headless working state of the main window: the document, the grid texts, the general-data
// values and the warning, with the refresh cycle over them. The window and movik-cli both drive
// this, so they compute identically.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/DocumentFile.h"
#include "document/FileIO.h"
#include "document/GridTexts.h"
#include "document/UndoHistory.h"
#include "model/Regional.h"

namespace movik {

class Workspace {
  public:
    Workspace(RegionalSettings rs, int currentYear);

    // Read-only: every change goes through the operations below, which keep the refresh cycle
    // and the changed mark right. (Tests set up states directly through WorkspaceTestAccess.)
    const TDokument& document() const { return doc_; }
    const StatementGrids& grids() const { return grids_; }
    const GeneralData& fields() const { return fields_; }
    // The texts a statement grid view shows and edits in place: the view puts a typed text into
    // its cell while the validation handler (EditAmount) looks at it, and puts the cell's old
    // text back when the handler refuses it. Nothing else writes through it.
    GridTexts& viewTexts(Statement s) { return grids_.of(s); }
    const RegionalSettings& settings() const { return rs_; }
    // The warning of the last check ("" when all agrees).
    const std::string& warning() const { return warning_; }
    // What a balance warning is about, as amounts: the difference of assets and liabilities in
    // each year, and for the net-result warning the difference of the two results too. Empty
    // when no balance warning shows.
    std::string WarningDetails() const;

    // The operations a user performs. Each is one undo step holding what it changed (nothing
    // changed: no step), and the changed mark follows the history: the document is changed
    // unless the history stands where it stood when the file was saved or opened. An operation
    // that changes the currency (a period across 1 January 2023, a conversion, the user's
    // choice) takes the unit along: the other currency's unit becomes this one's, a unit the
    // user typed stays. The window and movik-cli forward what the user did to these.

    // A typed amount for an input cell (agBilanca columns 3 and 5, agRacun column 3): read with
    // the strict amount rule, rewritten with AmountFormat, the refresh cycle run; returns the
    // text the cell now holds, or nullopt when the text is no amount or beyond the amount limit
    // (nothing changes). The amount the cell already shows, typed again, changes nothing.
    // Other cells take the text as it is.
    std::optional<std::string> EditAmount(Statement s, int col, int row, const std::string& text);
    // The company name and the seat as the fields show them, into the document at once (cut to
    // the file's capacity). The keystrokes of one visit to a field are one step.
    void SetCompany(const std::string& text);
    void SetSeat(const std::string& text);
    // A company name or seat confirmed (its field left, or a command about to read the
    // document): the next keystroke there starts a new step.
    void ConfirmCompanyAndSeat();
    // The period as the date fields show it (day numbers, 0 for empty) and the balance sheet's
    // header dates; the document waits for ConfirmPeriod.
    void SetPeriod(double from, double to);
    // The period confirmed (a date field left): a period that differs from the one confirmed
    // before goes into the document with the refresh cycle, as one step. Returns a note for the
    // user when the new period changed the currency of a document that has amounts (the amounts
    // keep their numbers, so they may now be read in the wrong currency), else "". Every other
    // operation confirms a typed period first.
    std::string ConfirmPeriod();
    // The input amounts rewritten as a whole (a currency conversion): change gets the document,
    // the grids then show its amounts and the refresh cycle runs.
    void ChangeInputAmounts(const std::function<void(TDokument&)>& change);
    // The document's currency (its mark, else its confirmed period's).
    Valuta currency() const { return DocumentCurrency(doc_); }
    // The user's choice of currency: no amount moves; the captions in the currency and the unit
    // follow. Choosing the currency it has changes nothing.
    void SetCurrency(Valuta v);
    // A changed share count: the refresh cycle runs. Keystrokes in a row are one step.
    void SetShareCount(double count);
    // Izmijenjen: the document holds changes not yet in its file.
    bool IsChanged() const { return doc_.Izmijenjen; }

    // The amount unit the window shows ("kunama i lipama", ...): a display setting, not the
    // document's data. A new or opened document starts with its currency's unit; the user's
    // own choice (SetUnitText) is no step, but undoing a step that moved the unit moves it back.
    const std::string& unitText() const { return unitText_; }
    void SetUnitText(const std::string& unit) { unitText_ = unit; }

    // Undo and redo of the operations above, one step at a time, back to the document as opened
    // or made new (both forget the history; the oldest steps go when the history outgrows its
    // bound, see UndoHistory). A step restores the amounts, the general data, the currency and
    // the unit together, the grids and the warning follow. False when there is nothing to undo
    // or redo.
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    bool Undo();
    bool Redo();
    const UndoHistory& history() const { return history_; }

    // NewDocument, then FillGrids, fields from the document, header dates, CheckBalance.
    void NewDocument();
    // The refresh cycle: ReadGrids, RecalculateAll (sets the warning), FillGrids. Not a step of
    // its own: the operations run it inside theirs.
    void RefreshCycle();
    // The fields (a typed period too) and the grids' input amounts into the document.
    void ReadGrids();
    void FillGrids();
    // Fields from the document and the balance sheet's header dates (ShowGeneralData, headless).
    // As the window's field handlers do: a changed share count runs the refresh cycle; any
    // change is a step (callers that show a document as opened forget it).
    void ShowGeneralData();
    void CheckBalance();

    // ReadGrids (a step when it changes the document), then write the file; on success the
    // history marks this state as the saved one and Izmijenjen is cleared.
    Result SaveDocument();
    Result SaveDocument(FileWriter& writer);
    // SaveDocument to path, which becomes the document's file only when it was written.
    Result SaveDocumentAs(const std::string& path, FileWriter& writer);
    // Opens path: the document as read, FillGrids, ShowGeneralData, Izmijenjen cleared,
    // CheckBalance. Missing file: nothing changes. Failure: the message, nothing changes.
    OpenOutcome OpenDocument(const std::string& path);
    // OpenDocument with the file's bytes already read (path names the document).
    OpenOutcome OpenDocumentBytes(const std::string& path, std::string_view bytes);

    std::string ExportCsv(Statement s) const;
    // Writes the export of s to path through writer (a safe write); the failure's message.
    Result ExportCsvFile(Statement s, const std::string& path, FileWriter& writer) const;
    // Imports into the grid and runs the refresh cycle, one step; on failure nothing changed. *note
    // gets what the import says beyond success (movik::ImportCsv): rows a short file left alone,
    // the other separator convention, amounts rounded to cents.
    Result ImportCsv(Statement s, std::string_view fileBytes, std::string* note = nullptr);
    // Reads path as an import of s reads it (ReadImportFile), then ImportCsv: the one import
    // of a file that the window and movik-cli both run. calls replace system calls in tests.
    Result ImportCsvFile(Statement s, const std::string& path, std::string* note = nullptr,
                         const FileCalls& calls = {});

  private:
    friend struct WorkspaceTestAccess;

    RegionalSettings rs_;
    int currentYear_;
    TDokument doc_;
    StatementGrids grids_;
    GeneralData fields_;
    std::string warning_;

    std::string unitText_;
    UndoHistory history_;
    // The amounts are what the calculations make of the starting amounts (see UndoState).
    bool calculated_ = false;
    // The field typed in by the last step, while the user stays in it (Other: none).
    StepKind typing_ = StepKind::Other;
    // The period the fields showed before SetPeriod began changing it, until it is confirmed.
    std::optional<std::pair<double, double>> periodBefore_;

    UndoState Capture() const;
    // Runs operation as one step of kind: a typed period is confirmed first; then what the
    // operation changed is recorded and the unit follows a changed currency. False when it
    // changed nothing.
    template <class Operation>
    bool Record(StepKind kind, Operation&& operation);
    // Undo (after = false) or redo of step.
    void Restore(const UndoStep& step, bool after);
    // A document just read or made new, shown as it is: unchanged, checked, with no undo steps.
    void ShowOpened();
    // ShowGeneralData without a step; whether anything changed.
    bool ShowGeneralDataAsStored();
};

}  // namespace movik

#pragma once
// The headless working state of the main window: the document, the grid texts, the general-data
// values and the warning, with the refresh cycle over them. The window and movik-cli both drive
// this, so they compute identically.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/DocumentFile.h"
#include "document/FileIO.h"
#include "document/GridTexts.h"
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

    // The operations a user performs; each marks the document changed when it changes the
    // user's data. The window and movik-cli forward what the user did to these.

    // A typed amount for an input cell (agBilanca columns 3 and 5, agRacun column 3): read with
    // the strict amount rule, rewritten with AmountFormat, the refresh cycle run, the document
    // marked changed; returns the text the cell now holds, or nullopt when the text is no
    // amount or beyond the amount limit (nothing changes). Other cells take the text as it is.
    std::optional<std::string> EditAmount(Statement s, int col, int row, const std::string& text);
    // The company name and the seat as the fields show them; a changed text marks the document.
    void SetCompany(const std::string& text);
    void SetSeat(const std::string& text);
    // A company name or seat confirmed (its field left, or a command about to read the
    // document): copied into the document, so printing and PDF show what the window shows.
    // Izmijenjen is left as the field changes set it.
    void ConfirmCompanyAndSeat();
    // The period as the date fields show it (day numbers, 0 for empty) and the balance sheet's
    // header dates; the refresh cycle waits for ConfirmPeriod.
    void SetPeriod(double from, double to);
    // The period confirmed (a date field left): the refresh cycle runs, and a period that differs
    // from the document's marks it changed.
    void ConfirmPeriod();
    // The input amounts rewritten as a whole (a currency conversion): change gets the document,
    // the grids then show its amounts, the refresh cycle runs and the document is marked changed.
    void ChangeInputAmounts(const std::function<void(TDokument&)>& change);
    // The document's currency (its mark, else its confirmed period's).
    Valuta currency() const { return DocumentCurrency(doc_); }
    // The user's choice of currency: no amount moves; the captions in the currency follow and
    // the document is marked changed. Choosing the currency it has changes nothing.
    void SetCurrency(Valuta v);
    // A changed share count: the refresh cycle runs and the document is marked changed.
    void SetShareCount(double count);
    // Izmijenjen: the document holds changes not yet in its file.
    bool IsChanged() const { return doc_.Izmijenjen; }

    // The amount unit the window shows ("kunama i lipama", ...): a display setting, not the
    // document's data, kept here so that undoing a conversion shows the unit it had before.
    const std::string& unitText() const { return unitText_; }
    void SetUnitText(const std::string& unit) { unitText_ = unit; }

    // Undo and redo of the changes of amounts: an accepted cell edit, an import, a
    // conversion of the inputs and a change of the currency, one step each, as many as made since
    // the document was opened or made new (both forget them). A step restores the amounts and the
    // grids as they were (and the unit, for a conversion), keeping the general data as it is now
    // (recalculating when that differs). Izmijenjen then says whether the amounts differ from the
    // last saved or opened state, or anything else was changed since. False when there is nothing
    // to undo or redo.
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    bool Undo();
    bool Redo();

    // NewDocument, then FillGrids, fields from the document, header dates, CheckBalance.
    void NewDocument();
    // The refresh cycle: ReadGrids, RecalculateAll (sets the warning), FillGrids.
    void RefreshCycle();
    void ReadGrids();
    void FillGrids();
    // Fields from the document and the balance sheet's header dates (ShowGeneralData, headless).
    // As the window's field handlers do: a changed name or seat sets Izmijenjen, a changed share
    // count runs the refresh cycle and sets Izmijenjen (callers that show a document clear it).
    void ShowGeneralData();
    void CheckBalance();

    // ReadGrids, then write the file (on success Izmijenjen is cleared).
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
    // Imports into the grid, runs the refresh cycle and sets Izmijenjen; on failure nothing
    // changed. *note gets what the import says beyond success (movik::ImportCsv): rows a short
    // file left alone, the other separator convention, amounts rounded to cents.
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

    // What an undo step restores: the amounts as they were before an operation.
    struct AmountState {
        TDokument doc;
        StatementGrids grids;
        GeneralData fields;  // the general data at the time, to tell whether it changed since
        std::string warning;
        std::string unit;
        std::uint64_t id = 0;
        bool unitStep = false;  // the step changed the unit too (a conversion)
    };
    std::string unitText_;
    std::vector<AmountState> undo_;
    std::vector<AmountState> redo_;
    // Every state of the amounts has its id; savedId_ is the one in the file.
    std::uint64_t stateId_ = 0;
    std::uint64_t nextId_ = 1;
    std::uint64_t savedId_ = 0;
    // A change that undo does not take back (general data) since the last save or open.
    bool otherChanged_ = false;

    AmountState CurrentState() const;
    // Records the state before an undoable operation that has just changed the amounts.
    void PushStep(AmountState before);
    void Restore(AmountState state);
    // Undo (from undo_ to redo_) and redo (the other way): the last state of from restored, the
    // current one kept in to; false when from is empty.
    bool StepAcross(std::vector<AmountState>& from, std::vector<AmountState>& to);
    // The file now holds the document as shown: no undo step is unsaved.
    void MarkSaved();
    // A change of the general data, which undo leaves alone.
    void MarkOtherChange();
    // A document just read or made new, shown as it is: unchanged, checked, with no undo steps.
    void ShowOpened();
};

}  // namespace movik

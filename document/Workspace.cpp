#include "document/Workspace.h"

#include <cmath>
#include <utility>

#include "document/Csv.h"
#include "model/AmountRefusal.h"
#include "model/Calculations.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"

namespace movik {

Workspace::Workspace(RegionalSettings rs, int currentYear)
    : rs_(std::move(rs)), currentYear_(currentYear) {
    NewDocument();
}

std::optional<std::string> Workspace::EditAmount(Statement s, int col, int row,
                                                 const std::string& text) {
    if (!FactsOf(s).IsInputColumn(col)) {
        return text;
    }
    // The same rule and limit whose reason the window shows for a refused text.
    const std::optional<double> amount = ReadAmount(text, rs_);
    if (!amount || !std::isfinite(*amount) || !AmountRefusal(text, rs_).empty()) {
        return std::nullopt;
    }
    std::string formatted = FormatNumber(*amount, AmountFormat, rs_);
    // The view has already put the typed text into the cell; the document still holds the
    // amount before it, which the grids showed.
    AmountState before = CurrentState();
    movik::FillGrids(doc_, before.grids, rs_);
    grids_.of(s).cell(col, row) = formatted;
    RefreshCycle();
    doc_.Izmijenjen = true;
    PushStep(std::move(before));
    return formatted;
}

void Workspace::SetCompany(const std::string& text) {
    if (text != fields_.Poduzece) {
        fields_.Poduzece = text;
        MarkOtherChange();
    }
}

void Workspace::SetSeat(const std::string& text) {
    if (text != fields_.Sjediste) {
        fields_.Sjediste = text;
        MarkOtherChange();
    }
}

void Workspace::ConfirmCompanyAndSeat() {
    ReadCompanyAndSeat(fields_, doc_);
}

void Workspace::ChangeInputAmounts(const std::function<void(TDokument&)>& change) {
    AmountState before = CurrentState();
    before.unitStep = true;
    change(doc_);
    FillGrids();
    RefreshCycle();
    doc_.Izmijenjen = true;
    PushStep(std::move(before));
}

void Workspace::SetPeriod(double from, double to) {
    fields_.DatumOd = from;
    fields_.DatumDo = to;
    SetBilancaHeaderDates(grids_, to, rs_);
}

void Workspace::ConfirmPeriod() {
    const bool changed = fields_.DatumOd != doc_.DatumOd || fields_.DatumDo != doc_.DatumDo;
    RefreshCycle();
    if (changed) {
        MarkOtherChange();
    }
}

void Workspace::SetCurrency(Valuta v) {
    if (v == DocumentCurrency(doc_)) {
        return;
    }
    // One undo step: undoing it restores the currency with the amounts, which it did not move.
    AmountState before = CurrentState();
    SetDocumentCurrency(doc_, v);
    FillGrids();
    doc_.Izmijenjen = true;
    PushStep(std::move(before));
}

void Workspace::SetShareCount(double count) {
    fields_.BrojDionica = count;
    RefreshCycle();
    MarkOtherChange();
}

void Workspace::NewDocument() {
    movik::NewDocument(doc_, currentYear_);
    // The empty document balances; no warning of an earlier document survives.
    ShowOpened();
}

void Workspace::RefreshCycle() {
    ReadGrids();
    warning_ = RecalculateAll(doc_);
    FillGrids();
}

void Workspace::ReadGrids() {
    movik::ReadGrids(fields_, grids_, rs_, doc_);
}

void Workspace::FillGrids() {
    movik::FillGrids(doc_, grids_, rs_);
}

void Workspace::ShowGeneralData() {
    // The fields are written in the window's order (name, seat, dates, share count); each change
    // has the effect the field's own change handler gives it.
    GeneralData shown = GeneralDataOf(doc_);
    const bool textChanged =
        shown.Poduzece != fields_.Poduzece || shown.Sjediste != fields_.Sjediste;
    const bool sharesChanged = shown.BrojDionica != fields_.BrojDionica;
    fields_ = std::move(shown);
    SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
    if (textChanged) {
        MarkOtherChange();
    }
    if (sharesChanged) {
        RefreshCycle();
        MarkOtherChange();
    }
}

void Workspace::CheckBalance() {
    warning_ = movik::CheckBalance(doc_);
}

std::string Workspace::WarningDetails() const {
    const bool balance = warning_ == kWarningBalance;
    const bool netResult = warning_ == kWarningNetResult;
    if (!balance && !netResult) {
        return {};
    }
    const BalanceDifferences d = DifferencesOf(doc_);
    const auto amount = [this](double value) { return FormatNumber(value, AmountFormat, rs_); };
    std::string details = "Aktiva - pasiva: prethodna godina " + amount(d.previousYear) +
                          ", tekuća godina " + amount(d.currentYear);
    if (netResult) {
        details += "\nNeto dobit u bilanci - rezultat RDG: " + amount(d.netResult);
    }
    return details;
}

Result Workspace::SaveDocument() {
    ReadGrids();
    Result saved = movik::SaveDocument(doc_);
    if (saved) {
        MarkSaved();
    }
    return saved;
}

Result Workspace::SaveDocument(FileWriter& writer) {
    ReadGrids();
    Result saved = movik::SaveDocument(doc_, writer);
    if (saved) {
        MarkSaved();
    }
    return saved;
}

Result Workspace::SaveDocumentAs(const std::string& path, FileWriter& writer) {
    const std::string previous = doc_.ImeDatoteke;
    doc_.ImeDatoteke = path;
    Result saved = SaveDocument(writer);
    if (!saved) {
        doc_.ImeDatoteke = previous;
    }
    return saved;
}

OpenOutcome Workspace::OpenDocument(const std::string& path) {
    OpenOutcome opened = movik::OpenDocument(path, doc_);
    if (opened) {
        ShowOpened();
    }
    return opened;
}

OpenOutcome Workspace::OpenDocumentBytes(const std::string& path, std::string_view bytes) {
    OpenOutcome opened = movik::OpenDocumentBytes(path, bytes, doc_);
    if (opened) {
        ShowOpened();
    }
    return opened;
}

void Workspace::ShowOpened() {
    // The stored values are shown as they are; no recalculation unless the share count changes.
    FillGrids();
    ShowGeneralData();
    doc_.Izmijenjen = false;
    CheckBalance();
    undo_.clear();
    redo_.clear();
    MarkSaved();
}

std::string Workspace::ExportCsv(Statement s) const {
    return movik::ExportCsv(s, grids_.of(s));
}

Result Workspace::ExportCsvFile(Statement s, const std::string& path, FileWriter& writer) const {
    const std::string bytes = ExportCsv(s);
    return writer.WriteWhole(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

Result Workspace::ImportCsvFile(Statement s, const std::string& path, std::string* note,
                                const FileCalls& calls) {
    if (note != nullptr) {
        note->clear();
    }
    std::string bytes;
    if (Result read = ReadImportFile(path, s, bytes, calls); !read) {
        return read;
    }
    return ImportCsv(s, bytes, note);
}

Result Workspace::ImportCsv(Statement s, std::string_view fileBytes, std::string* note) {
    AmountState before = CurrentState();
    std::string remark;
    Result imported = movik::ImportCsv(s, fileBytes, grids_.of(s), rs_, &remark);
    if (note != nullptr) {
        *note = remark;
    }
    if (!imported) {
        return imported;
    }
    // The file's header dates may be written another way (a two-digit year, another locale):
    // the balance sheet's header shows the document's period, as exports and print lines need.
    if (s == Statement::Bilanca) {
        SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
    }
    RefreshCycle();
    // Imported amounts are the user's data: closing now must not lose them without a question.
    doc_.Izmijenjen = true;
    PushStep(std::move(before));
    return Result::Ok();
}

Workspace::AmountState Workspace::CurrentState() const {
    return {doc_, grids_, fields_, warning_, unitText_, stateId_};
}

void Workspace::PushStep(AmountState before) {
    undo_.push_back(std::move(before));
    redo_.clear();
    stateId_ = nextId_++;
}

void Workspace::MarkSaved() {
    savedId_ = stateId_;
    otherChanged_ = false;
}

void Workspace::MarkOtherChange() {
    doc_.Izmijenjen = true;
    otherChanged_ = true;
}

bool Workspace::Undo() {
    return StepAcross(undo_, redo_);
}

bool Workspace::Redo() {
    return StepAcross(redo_, undo_);
}

bool Workspace::StepAcross(std::vector<AmountState>& from, std::vector<AmountState>& to) {
    if (from.empty()) {
        return false;
    }
    AmountState state = std::move(from.back());
    from.pop_back();
    AmountState current = CurrentState();
    current.unitStep = state.unitStep;
    to.push_back(std::move(current));
    Restore(std::move(state));
    return true;
}

void Workspace::Restore(AmountState state) {
    // The general data and the file stay as they are now; the rest is the recorded state.
    TDokument doc = std::move(state.doc);
    doc.Poduzece = doc_.Poduzece;
    doc.Sjediste = doc_.Sjediste;
    doc.DatumOd = doc_.DatumOd;
    doc.DatumDo = doc_.DatumDo;
    doc.BrojDionica = doc_.BrojDionica;
    doc.ImeDatoteke = doc_.ImeDatoteke;
    doc.KeptBlock = doc_.KeptBlock;
    doc_ = std::move(doc);
    grids_ = std::move(state.grids);
    if (state.unitStep) {
        unitText_ = std::move(state.unit);
    }
    stateId_ = state.id;
    SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
    if (state.fields == fields_) {
        // Nothing the amounts depend on changed since: exactly what was shown then.
        warning_ = std::move(state.warning);
    } else {
        RefreshCycle();
    }
    doc_.Izmijenjen = otherChanged_ || stateId_ != savedId_;
}

}  // namespace movik

#include "document/Workspace.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <tuple>
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

namespace {

// The input amount a cell of agBilanca (columns 3 and 5) or agRacun (column 3) shows.
double InputAmount(const TDokument& doc, Statement s, int col, int row) {
    if (s == Statement::Racun) {
        return doc.Racun.row(row).Iznos;
    }
    const TStavkaBilanca& r = doc.Bilanca.row(row);
    return col == 3 ? r.IznosPrethodna : r.IznosTekuca;
}

// Any amount typed or imported into the balance sheet or the income statement.
bool HasAmounts(const TDokument& doc) {
    DocumentAmounts amounts;
    AmountsOf(doc, amounts);
    for (int p = 0; p < kAmountPositions; ++p) {
        if (IsStartingAmount(p) && amounts[static_cast<std::size_t>(p)] != 0) {
            return true;
        }
    }
    return false;
}

// The amounts are what the calculations make of them (a document as read may hold others).
bool IsCalculated(const TDokument& doc) {
    TDokument copy = doc;
    RecalculateAll(copy);
    DocumentAmounts stored;
    DocumentAmounts calculated;
    AmountsOf(doc, stored);
    AmountsOf(copy, calculated);
    return std::memcmp(stored.data(), calculated.data(), sizeof stored) == 0;
}

bool SameDay(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

Valuta CurrencyOf(const DocumentFacts& facts) {
    return facts.mark.value_or(PeriodCurrency(facts.document.DatumDo));
}

}  // namespace

UndoState Workspace::Capture() const {
    UndoState state;
    state.facts.document = {doc_.Poduzece, doc_.Sjediste, doc_.DatumOd, doc_.DatumDo,
                            doc_.BrojDionica};
    state.facts.mark = doc_.OznakaValute;
    state.facts.fields = fields_;
    state.facts.unit = unitText_;
    AmountsOf(doc_, state.amounts);
    HeadersOf(grids_, state.headers);
    state.calculated = calculated_;
    return state;
}

template <class Operation>
bool Workspace::Record(StepKind kind, Operation&& operation) {
    if (kind != StepKind::Period) {
        ConfirmPeriod();
    }
    const UndoState before = Capture();
    operation();
    const Valuta was = CurrencyOf(before.facts);
    if (currency() != was) {
        unitText_ = UnitAfterCurrencyChange(unitText_, was, currency());
    }
    std::optional<UndoStep> step = MakeStep(before, Capture(), kind);
    const bool typing = kind != StepKind::Other && kind != StepKind::Period;
    const bool merge = typing && typing_ == kind;
    typing_ = typing ? kind : StepKind::Other;
    if (!step) {
        return false;
    }
    history_.Push(std::move(*step), merge);
    doc_.Izmijenjen = !history_.IsClean();
    return true;
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
    // amount the cell showed before.
    std::string& cell = grids_.of(s).cell(col, row);
    cell = FormatNumber(InputAmount(doc_, s, col, row), AmountFormat, rs_);
    if (cell == formatted) {
        return formatted;  // typed again: no change
    }
    Record(StepKind::Other, [&] {
        grids_.of(s).cell(col, row) = formatted;
        RefreshCycle();
    });
    return formatted;
}

void Workspace::SetCompany(const std::string& text) {
    if (text != fields_.Poduzece) {
        Record(StepKind::Company, [&] {
            fields_.Poduzece = text;
            ReadCompanyAndSeat(fields_, doc_);
        });
    }
}

void Workspace::SetSeat(const std::string& text) {
    if (text != fields_.Sjediste) {
        Record(StepKind::Seat, [&] {
            fields_.Sjediste = text;
            ReadCompanyAndSeat(fields_, doc_);
        });
    }
}

void Workspace::ConfirmCompanyAndSeat() {
    Record(StepKind::Other, [&] { ReadCompanyAndSeat(fields_, doc_); });
}

void Workspace::ChangeInputAmounts(const std::function<void(TDokument&)>& change) {
    Record(StepKind::Other, [&] {
        change(doc_);
        FillGrids();
        RefreshCycle();
    });
}

void Workspace::SetPeriod(double from, double to) {
    if (!periodBefore_) {
        periodBefore_.emplace(fields_.DatumOd, fields_.DatumDo);
    }
    fields_.DatumOd = from;
    fields_.DatumDo = to;
    SetBilancaHeaderDates(grids_, to, rs_);
}

std::string Workspace::ConfirmPeriod() {
    if (!periodBefore_) {
        return {};
    }
    const double from = fields_.DatumOd;
    const double to = fields_.DatumDo;
    // The step starts from the period confirmed before the typing.
    std::tie(fields_.DatumOd, fields_.DatumDo) = *periodBefore_;
    periodBefore_.reset();
    if (SameDay(from, fields_.DatumOd) && SameDay(to, fields_.DatumDo)) {
        SetBilancaHeaderDates(grids_, to, rs_);
        return {};  // typed back as it was: nothing to confirm
    }
    const Valuta was = currency();
    Record(StepKind::Period, [&] {
        fields_.DatumOd = from;
        fields_.DatumDo = to;
        RefreshCycle();
    });
    SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
    if (currency() == was || !HasAmounts(doc_)) {
        return {};
    }
    return std::string(PeriodCurrencyNote(currency()));
}

void Workspace::SetCurrency(Valuta v) {
    if (v == DocumentCurrency(doc_)) {
        return;
    }
    // No amount moves; the captions in the currency follow.
    Record(StepKind::Other, [&] {
        SetDocumentCurrency(doc_, v);
        FillGrids();
    });
}

void Workspace::SetShareCount(double count) {
    Record(StepKind::ShareCount, [&] {
        fields_.BrojDionica = count;
        RefreshCycle();
    });
}

void Workspace::NewDocument() {
    movik::NewDocument(doc_, currentYear_);
    // The empty document balances; no warning of an earlier document survives.
    ShowOpened();
}

void Workspace::RefreshCycle() {
    ReadGrids();
    warning_ = RecalculateAll(doc_);
    calculated_ = true;
    FillGrids();
}

void Workspace::ReadGrids() {
    // The fields' period is the document's now: confirmed.
    periodBefore_.reset();
    movik::ReadGrids(fields_, grids_, rs_, doc_);
}

void Workspace::FillGrids() {
    movik::FillGrids(doc_, grids_, rs_);
}

void Workspace::ShowGeneralData() {
    Record(StepKind::Other, [&] { ShowGeneralDataAsStored(); });
}

bool Workspace::ShowGeneralDataAsStored() {
    // The fields are written in the window's order (name, seat, dates, share count); a changed
    // share count runs the refresh cycle, as its field's change handler does.
    GeneralData shown = GeneralDataOf(doc_);
    const bool sharesChanged = shown.BrojDionica != fields_.BrojDionica;
    const bool changed = !(shown == fields_);
    fields_ = std::move(shown);
    periodBefore_.reset();
    SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
    if (sharesChanged) {
        RefreshCycle();
    }
    return changed;
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
    return SaveDocument(*MakeSystemFileWriter());
}

Result Workspace::SaveDocument(FileWriter& writer) {
    // The file holds what the fields and grids show: reading them is a step when it changes
    // the document (a typed period, amounts read back as shown).
    Record(StepKind::Other, [&] { ReadGrids(); });
    Result saved = movik::SaveDocument(doc_, writer);
    if (saved) {
        history_.MarkClean();
        typing_ = StepKind::Other;
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
    ShowGeneralDataAsStored();
    CheckBalance();
    unitText_ = AmountUnitText(currency());
    calculated_ = IsCalculated(doc_);
    typing_ = StepKind::Other;
    history_.Clear();
    doc_.Izmijenjen = false;
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
    std::string remark;
    Result imported = Result::Ok();
    Record(StepKind::Other, [&] {
        imported = movik::ImportCsv(s, fileBytes, grids_.of(s), rs_, &remark);
        if (!imported) {
            return;
        }
        // The file's header dates may be written another way (a two-digit year, another
        // locale): the balance sheet's header shows the document's period, as exports and print
        // lines need.
        if (s == Statement::Bilanca) {
            SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
        }
        RefreshCycle();
    });
    if (note != nullptr) {
        *note = remark;
    }
    return imported;
}

bool Workspace::Undo() {
    ConfirmPeriod();
    const UndoStep* step = history_.Undo();
    if (step != nullptr) {
        Restore(*step, false);
    }
    return step != nullptr;
}

bool Workspace::Redo() {
    ConfirmPeriod();
    const UndoStep* step = history_.Redo();
    if (step != nullptr) {
        Restore(*step, true);
    }
    return step != nullptr;
}

void Workspace::Restore(const UndoStep& step, bool after) {
    const bool recalculate = ApplyStep(step, after, doc_, fields_, unitText_);
    // Only the starting amounts were recorded: the calculations give the rest as it was.
    warning_ = recalculate ? RecalculateAll(doc_) : movik::CheckBalance(doc_);
    calculated_ = after ? step.calculatedAfter : step.calculatedBefore;
    typing_ = StepKind::Other;
    periodBefore_.reset();
    FillGrids();
    SetBilancaHeaderDates(grids_, fields_.DatumDo, rs_);
    ApplyHeaders(step, after, grids_);
    doc_.Izmijenjen = !history_.IsClean();
}

}  // namespace movik

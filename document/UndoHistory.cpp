#include "document/UndoHistory.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace movik {

namespace {

constexpr int kBilancaEnd = kBilancaRows * 4;
constexpr int kRacunEnd = kBilancaEnd + kRacunRows * 2;
constexpr int kCFIndEnd = kRacunEnd + kCFIndRows;
constexpr int kCFFreeEnd = kCFIndEnd + kCFFreeRows;

// Equal to the bit: a restored -0 or NaN is the same bytes as before.
bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
bool Same(const std::string& a, const std::string& b) {
    return a == b;
}
bool Same(const std::optional<Valuta>& a, const std::optional<Valuta>& b) {
    return a == b;
}
bool Same(const GeneralData& a, const GeneralData& b) {
    return Same(a.Poduzece, b.Poduzece) && Same(a.Sjediste, b.Sjediste) &&
           Same(a.DatumOd, b.DatumOd) && Same(a.DatumDo, b.DatumDo) &&
           Same(a.BrojDionica, b.BrojDionica);
}
bool Same(const DocumentFacts& a, const DocumentFacts& b) {
    return Same(a.document, b.document) && Same(a.mark, b.mark) && Same(a.fields, b.fields) &&
           Same(a.unit, b.unit);
}

// target takes to's value where from and to differ; elsewhere it keeps its own.
template <class T>
void Put(T& target, const T& from, const T& to) {
    if (!Same(from, to)) {
        target = to;
    }
}

void Put(GeneralData& target, const GeneralData& from, const GeneralData& to) {
    Put(target.Poduzece, from.Poduzece, to.Poduzece);
    Put(target.Sjediste, from.Sjediste, to.Sjediste);
    Put(target.DatumOd, from.DatumOd, to.DatumOd);
    Put(target.DatumDo, from.DatumDo, to.DatumDo);
    Put(target.BrojDionica, from.BrojDionica, to.BrojDionica);
}

void PutDocumentData(TDokument& doc, const GeneralData& from, const GeneralData& to) {
    Put(doc.Poduzece, from.Poduzece, to.Poduzece);
    Put(doc.Sjediste, from.Sjediste, to.Sjediste);
    Put(doc.DatumOd, from.DatumOd, to.DatumOd);
    Put(doc.DatumDo, from.DatumDo, to.DatumDo);
    Put(doc.BrojDionica, from.BrojDionica, to.BrojDionica);
}

std::size_t HeapOf(const std::string& s) {
    return s.capacity() > 15 ? s.capacity() + 1 : 0;  // beyond the short-string buffer
}

std::size_t HeapOf(const DocumentFacts& f) {
    return HeapOf(f.document.Poduzece) + HeapOf(f.document.Sjediste) + HeapOf(f.fields.Poduzece) +
           HeapOf(f.fields.Sjediste) + HeapOf(f.unit);
}

std::string& HeaderAt(StatementGrids& grids, int cell) {
    const int bilanca = grids.Bilanca.columnCount();
    return cell < bilanca ? grids.Bilanca.cell(cell, 0) : grids.Racun.cell(cell - bilanca, 0);
}

std::size_t BytesOf(const UndoStep& step) {
    std::size_t bytes = sizeof(UndoStep) + step.amounts.capacity() * sizeof(UndoStep::Amount) +
                        step.headers.capacity() * sizeof(UndoStep::Header);
    for (const UndoStep::Header& h : step.headers) {
        bytes += HeapOf(h.before) + HeapOf(h.after);
    }
    if (step.facts) {
        bytes += sizeof(*step.facts) + HeapOf((*step.facts)[0]) + HeapOf((*step.facts)[1]);
    }
    return bytes;
}

}  // namespace

double& AmountAt(TDokument& doc, int p) {
    if (p < kBilancaEnd) {
        TStavkaBilanca& row = doc.Bilanca.row(p / 4 + 1);
        static constexpr double TStavkaBilanca::*kMembers[] = {
            &TStavkaBilanca::IznosPrethodna, &TStavkaBilanca::UdioPrethodna,
            &TStavkaBilanca::IznosTekuca, &TStavkaBilanca::UdioTekuca};
        return row.*kMembers[p % 4];
    }
    if (p < kRacunEnd) {
        TStavkaRacun& row = doc.Racun.row((p - kBilancaEnd) / 2 + 1);
        return (p - kBilancaEnd) % 2 == 0 ? row.Iznos : row.Udio;
    }
    if (p < kCFIndEnd) {
        return doc.CFInd.row(p - kRacunEnd + 1).Iznos;
    }
    if (p < kCFFreeEnd) {
        return doc.CFFree.row(p - kCFIndEnd + 1).Iznos;
    }
    return doc.Pok.row(p - kCFFreeEnd + 1).Iznos;
}

void AmountsOf(const TDokument& doc, DocumentAmounts& out) {
    auto* it = out.begin();
    for (const TStavkaBilanca& row : doc.Bilanca.rows) {
        *it++ = row.IznosPrethodna;
        *it++ = row.UdioPrethodna;
        *it++ = row.IznosTekuca;
        *it++ = row.UdioTekuca;
    }
    for (const TStavkaRacun& row : doc.Racun.rows) {
        *it++ = row.Iznos;
        *it++ = row.Udio;
    }
    for (const TStavkaIznos& row : doc.CFInd.rows) {
        *it++ = row.Iznos;
    }
    for (const TStavkaIznos& row : doc.CFFree.rows) {
        *it++ = row.Iznos;
    }
    for (const TStavkaIznos& row : doc.Pok.rows) {
        *it++ = row.Iznos;
    }
}

void HeadersOf(const StatementGrids& grids, GridHeaders& out) {
    const int bilanca = grids.Bilanca.columnCount();
    for (int cell = 0; cell < kHeaderCells; ++cell) {
        out[static_cast<std::size_t>(cell)] =
            cell < bilanca ? grids.Bilanca.cell(cell, 0) : grids.Racun.cell(cell - bilanca, 0);
    }
}

void ApplyHeaders(const UndoStep& step, bool after, StatementGrids& grids) {
    for (const UndoStep::Header& h : step.headers) {
        HeaderAt(grids, h.cell) = after ? h.after : h.before;
    }
}

bool IsStartingAmount(int p) {
    if (p < kBilancaEnd) {
        return p % 2 == 0;
    }
    return p < kRacunEnd && (p - kBilancaEnd) % 2 == 0;
}

std::optional<UndoStep> MakeStep(const UndoState& before, const UndoState& after, StepKind kind) {
    UndoStep step;
    step.kind = kind;
    step.calculatedBefore = before.calculated;
    step.calculatedAfter = after.calculated;
    step.startingOnly = before.calculated && after.calculated;
    for (int p = 0; p < kAmountPositions; ++p) {
        const auto i = static_cast<std::size_t>(p);
        if (!Same(before.amounts[i], after.amounts[i]) &&
            (!step.startingOnly || IsStartingAmount(p))) {
            step.amounts.push_back(
                {static_cast<std::uint16_t>(p), before.amounts[i], after.amounts[i]});
        }
    }
    for (int cell = 0; cell < kHeaderCells; ++cell) {
        const auto i = static_cast<std::size_t>(cell);
        if (before.headers[i] != after.headers[i]) {
            step.headers.push_back(
                {static_cast<std::uint8_t>(cell), before.headers[i], after.headers[i]});
        }
    }
    if (!Same(before.facts, after.facts)) {
        step.facts = std::make_unique<std::array<DocumentFacts, 2>>(
            std::array<DocumentFacts, 2>{before.facts, after.facts});
    }
    if (step.amounts.empty() && step.headers.empty() && !step.facts) {
        return std::nullopt;
    }
    step.amounts.shrink_to_fit();
    return step;
}

bool ApplyStep(const UndoStep& step, bool after, TDokument& doc, GeneralData& fields,
               std::string& unit) {
    for (const UndoStep::Amount& a : step.amounts) {
        AmountAt(doc, a.position) = after ? a.after : a.before;
    }
    if (step.facts) {
        const DocumentFacts& from = (*step.facts)[after ? 0 : 1];
        const DocumentFacts& to = (*step.facts)[after ? 1 : 0];
        PutDocumentData(doc, from.document, to.document);
        Put(doc.OznakaValute, from.mark, to.mark);
        Put(fields, from.fields, to.fields);
        Put(unit, from.unit, to.unit);
    }
    return step.startingOnly;
}

void UndoHistory::Clear() {
    steps_.clear();
    index_ = 0;
    clean_ = 0;
    bytes_ = 0;
}

void UndoHistory::Push(UndoStep step, bool merge) {
    DropRedo();
    if (merge && index_ > 0 && clean_ != index_ && steps_.back().kind == step.kind &&
        steps_.back().startingOnly == step.startingOnly) {
        UndoStep& top = steps_.back();
        bytes_ -= BytesOf(top);
        if (Merge(top, step)) {
            bytes_ += BytesOf(top);
        } else {
            // Typed back to what it was: no step at all.
            steps_.pop_back();
            --index_;
        }
        return;
    }
    bytes_ += BytesOf(step);
    steps_.push_back(std::move(step));
    ++index_;
    while (bytes_ > limit_ && steps_.size() > 1) {
        DropOldest();
    }
}

bool UndoHistory::Merge(UndoStep& into, const UndoStep& next) {
    for (const UndoStep::Amount& n : next.amounts) {
        const auto same = std::find_if(into.amounts.begin(), into.amounts.end(),
                                       [&](const auto& a) { return a.position == n.position; });
        if (same != into.amounts.end()) {
            same->after = n.after;
        } else {
            into.amounts.push_back(n);
        }
    }
    std::erase_if(into.amounts, [](const auto& a) { return Same(a.before, a.after); });
    into.amounts.shrink_to_fit();
    for (const UndoStep::Header& n : next.headers) {
        const auto same = std::find_if(into.headers.begin(), into.headers.end(),
                                       [&](const auto& h) { return h.cell == n.cell; });
        if (same != into.headers.end()) {
            same->after = n.after;
        } else {
            into.headers.push_back(n);
        }
    }
    std::erase_if(into.headers, [](const auto& h) { return h.before == h.after; });
    if (next.facts) {
        if (into.facts) {
            (*into.facts)[1] = (*next.facts)[1];
        } else {
            into.facts = std::make_unique<std::array<DocumentFacts, 2>>(*next.facts);
        }
        if (Same((*into.facts)[0], (*into.facts)[1])) {
            into.facts.reset();
        }
    }
    into.calculatedAfter = next.calculatedAfter;
    return !into.amounts.empty() || !into.headers.empty() || into.facts != nullptr;
}

const UndoStep* UndoHistory::Undo() {
    if (!CanUndo()) {
        return nullptr;
    }
    return &steps_[--index_];
}

const UndoStep* UndoHistory::Redo() {
    if (!CanRedo()) {
        return nullptr;
    }
    return &steps_[index_++];
}

void UndoHistory::DropRedo() {
    while (steps_.size() > index_) {
        bytes_ -= BytesOf(steps_.back());
        steps_.pop_back();
    }
    if (clean_ && *clean_ > index_) {
        clean_.reset();  // the saved state was among the steps dropped
    }
}

void UndoHistory::DropOldest() {
    bytes_ -= BytesOf(steps_.front());
    steps_.pop_front();
    --index_;
    if (clean_) {
        if (*clean_ == 0) {
            clean_.reset();
        } else {
            --*clean_;
        }
    }
}

}  // namespace movik

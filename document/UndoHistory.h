#pragma once
// The workspace's undo history: each step records what one operation changed (the amounts that
// moved, and the general data, currency mark and unit when they moved), not the document. The
// history is bounded by the bytes its steps hold and keeps a clean index, the place where the
// document equals its file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "document/GridTexts.h"
#include "model/Document.h"

namespace movik {

// Every number of the five tables, in a fixed order: the balance sheet's rows (previous amount,
// previous share, current amount, current share), the income statement's rows (amount, share),
// then the amounts of the two cash flows and of the indicators.
inline constexpr int kAmountPositions =
    kBilancaRows * 4 + kRacunRows * 2 + kCFIndRows + kCFFreeRows + kPokRows;
using DocumentAmounts = std::array<double, kAmountPositions>;

// The amounts of doc in the fixed order; the number at a position.
void AmountsOf(const TDokument& doc, DocumentAmounts& out);
double& AmountAt(TDokument& doc, int position);
// The balance sheet's and the income statement's amounts (not their shares): every number the
// calculations start from. All other positions are shares and computed amounts.
bool IsStartingAmount(int position);

// The header row of the two grids an import writes (agBilanca's 7 cells, then agRacun's 5):
// an import takes the file's column captions, which the document itself does not hold.
inline constexpr int kHeaderCells = 12;
using GridHeaders = std::array<std::string, kHeaderCells>;
void HeadersOf(const StatementGrids& grids, GridHeaders& out);

// What an operation may change besides the amounts. Numbers compare by their bits, so that a
// restored document is the same to the byte.
struct DocumentFacts {
    GeneralData document;  // the document's own general data, as stored
    std::optional<Valuta> mark;
    GeneralData fields;  // what the general-data fields show
    std::string unit;    // the amount unit shown
};

// The whole state an operation can change, taken before and after it. calculated: the amounts
// are what the calculations make of the starting amounts and the general data (a refresh cycle
// has run since the document was read), so only the starting amounts need recording.
struct UndoState {
    DocumentFacts facts;
    DocumentAmounts amounts{};
    GridHeaders headers;
    bool calculated = false;
};

// A run of changes that typing makes, one keystroke at a time: consecutive steps of the same
// field merge into one, as long as the user stays in it.
enum class StepKind : std::uint8_t { Other, Company, Seat, ShareCount, Period };

struct UndoStep {
    UndoStep() = default;
    UndoStep(UndoStep&&) = default;
    UndoStep& operator=(UndoStep&&) = default;
    // A copy (of a workspace copied whole) owns copies of the facts.
    UndoStep(const UndoStep& other) { *this = other; }
    UndoStep& operator=(const UndoStep& other) {
        amounts = other.amounts;
        headers = other.headers;
        facts =
            other.facts ? std::make_unique<std::array<DocumentFacts, 2>>(*other.facts) : nullptr;
        startingOnly = other.startingOnly;
        calculatedBefore = other.calculatedBefore;
        calculatedAfter = other.calculatedAfter;
        kind = other.kind;
        return *this;
    }

    struct Amount {
        std::uint16_t position;
        double before;
        double after;
    };
    struct Header {
        std::uint8_t cell;
        std::string before;
        std::string after;
    };
    std::vector<Amount> amounts;
    std::vector<Header> headers;
    std::unique_ptr<std::array<DocumentFacts, 2>> facts;  // before, after; null: none changed
    // Both sides calculated: only starting amounts are recorded, the rest is recalculated.
    bool startingOnly = false;
    bool calculatedBefore = false;
    bool calculatedAfter = false;
    StepKind kind = StepKind::Other;
};

// The step from before to after; nullopt when nothing changed.
std::optional<UndoStep> MakeStep(const UndoState& before, const UndoState& after, StepKind kind);
// Puts one side of a step into the document, the fields and the unit: every amount and fact
// the step changed gets its value before (after = false) or after the step. Facts the step left
// alone keep their values now. Returns whether the calculations must run (startingOnly).
bool ApplyStep(const UndoStep& step, bool after, TDokument& doc, GeneralData& fields,
               std::string& unit);
// The header cells the step changed, in grids filled from the document.
void ApplyHeaders(const UndoStep& step, bool after, StatementGrids& grids);

// The bound of the history: 8 MiB of recorded changes. A cell edit costs about a hundred bytes
// and a whole-document change (an import, a conversion) a few kilobytes, so this keeps tens of
// thousands of edits or hundreds of imports: far more than a working session makes, at a cost
// that stays small next to the window itself. A byte bound, not a count, because steps differ
// in size by a factor of a hundred. The oldest steps go first; the last one always stays.
inline constexpr std::size_t kUndoLimitBytes = std::size_t{8} << 20;

class UndoHistory {
  public:
    explicit UndoHistory(std::size_t limitBytes = kUndoLimitBytes) : limit_(limitBytes) {}

    // No steps, and the state now is the clean one.
    void Clear();
    // A step just made: the steps that could be redone are dropped; with merge, a step of the
    // same kind on top (not the clean state) takes this one in. Oldest steps beyond the bound go.
    void Push(UndoStep step, bool merge);
    // The step to take back (the index moves down), or to make again (up); null when none.
    const UndoStep* Undo();
    const UndoStep* Redo();
    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }

    // The state now is the one in the file.
    void MarkClean() { clean_ = index_; }
    bool IsClean() const { return clean_ == index_; }

    std::size_t StepCount() const { return steps_.size(); }
    // What the steps hold, in bytes, allocations included.
    std::size_t Bytes() const { return bytes_; }

  private:
    bool Merge(UndoStep& into, const UndoStep& next);
    void DropRedo();
    void DropOldest();

    std::deque<UndoStep> steps_;
    std::size_t index_ = 0;                 // steps below it are done
    std::optional<std::size_t> clean_ = 0;  // nullopt: the saved state is no longer reachable
    std::size_t bytes_ = 0;
    std::size_t limit_;
};

}  // namespace movik

#pragma once
// Each document's standing among its peers: documents are grouped by the calendar year their
// period ends in and by currency; for every measure (the fifteen indicators, and any further
// measure appended to the table of StandingMeasures) a group gets its first quartile, median and
// third quartile, and each document its percentile rank and the quarter it falls in, named by
// the measure's direction. No Qt, no files: the window and movik-cli hand the values in.

#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Summary.h"
#include "model/Currency.h"

namespace movik {

// A group needs this many documents (and a measure this many values) to be ranked.
inline constexpr int kStandingMinimum = 5;

// Which way a measure is better. A measure without a direction is ranked but gets no quarter.
enum class Direction { HigherIsBetter, LowerIsBetter, None };

struct StandingMeasure {
    std::string id;      // "2" ... "19" for the indicators (their grid rows); a score its key
    std::string label;   // short column heading: the indicators' row, a score's short name
    int indicator = -1;  // position in kIndicatorRows; -1 for a measure that is no indicator
    std::string name;    // caption of a measure that is no indicator
    Direction direction = Direction::None;
    int decimals = 2;        // the decimals its figures are shown with
    bool money = false;      // measured in money (converted with the amounts)
    std::string jsonObject;  // the object of a summary line that holds it by id ("indicators")
    // Its value in a document's summary; NaN where it cannot be computed.
    double (*valueOf)(const DocumentSummary& s, const StandingMeasure& m) = nullptr;
};

// The measures in the order every output lists them: the one table of directions.
const std::vector<StandingMeasure>& StandingMeasures();
// The measure's caption ("Kratkoročna likvidnost"); money measures name currency's unit.
std::string MeasureCaption(const StandingMeasure& m, std::optional<Valuta> currency);

// Not computable: a value that takes no part.
inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
inline bool HasValue(double v) {
    return std::isfinite(v);
}

// One document as standing sees it.
struct StandingDocument {
    std::optional<int> year;  // calendar year of its period's end; nullopt: no group
    Valuta currency = Valuta::Eur;
    std::vector<double> values;  // one per measure (kNoValue where empty)
};

// A document's figures for StandingOf: nullopt year for a file that could not be read or has no
// period; NaN for an indicator its summary marks not computable or that is no number.
StandingDocument StandingDocumentOf(const DocumentSummary& s);

struct Quartiles {
    double q1 = 0;
    double median = 0;
    double q3 = 0;
};

// Quartile p (0 .. 1) of sorted values by linear interpolation between order statistics, as
// QUARTILE.INC: position (n - 1) p counted from 0. Needs at least one value.
double QuantileInc(const std::vector<double>& sorted, double p);
// The percentile rank of value among sorted values: 100 (below + equal / 2) / n, where equal
// counts value itself when it is one of them.
double PercentileRank(const std::vector<double>& sorted, double value);
// The quarter (1 the best ... 4 the weakest) of a percentile rank by direction: the better
// side's share at or above 75, 50, 25; nullopt for a measure without a direction.
std::optional<int> QuarterOf(double percentile, Direction direction);
// "najbolja četvrtina", "druga četvrtina", "treća četvrtina", "najslabija četvrtina".
std::string_view QuarterName(int quarter);

struct StandingGroup {
    int year = 0;
    Valuta currency = Valuta::Eur;
    std::vector<std::size_t> members;  // documents, in input order
    // Per measure: how many values took part, and the quartiles (nullopt: fewer than the
    // minimum, or the group itself too small).
    std::vector<int> counts;
    std::vector<std::optional<Quartiles>> quartiles;
    bool ranked() const { return static_cast<int>(members.size()) >= kStandingMinimum; }
    std::string Label() const { return std::to_string(year); }
};

// Why a group is not ranked ("Skupina 2022 (HRK) ima 3 dokumenta: …").
std::string SmallGroupNote(const StandingGroup& g);
// Why a document is in no group.
inline constexpr std::string_view kNoGroupNote =
    "Dokument bez razdoblja ili nepročitan: nije ni u jednoj skupini.";

struct Rank {
    double percentile = kNoValue;
    std::optional<int> quarter;
};

class Standing {
  public:
    Standing() = default;
    // Groups the documents and ranks them in every measure (each document holds a value per
    // measure, in the same order).
    Standing(const std::vector<StandingDocument>& documents,
             const std::vector<StandingMeasure>& measures);

    // Groups by year, then currency (euros first).
    const std::vector<StandingGroup>& groups() const { return groups_; }
    // The document's group; nullopt for a document in none.
    std::optional<std::size_t> GroupOf(std::size_t document) const;
    // The document's rank in a measure; nullopt where it has none (an empty value, a group or
    // measure with too few).
    std::optional<Rank> RankOf(std::size_t document, std::size_t measure) const;
    std::size_t measureCount() const { return directions_.size(); }

  private:
    void RankGroup(StandingGroup& g, const std::vector<StandingDocument>& documents);

    std::vector<Direction> directions_;
    std::vector<StandingGroup> groups_;
    std::vector<int> groupOf_;  // -1 for none
    std::vector<Rank> ranks_;   // document-major
};

}  // namespace movik

#pragma once
// The written forms of a standing: JSON lines (one per document, then one per group) and an
// aligned text table for a terminal. The table's own Csv() is the semicolon-separated form.

#include <functional>
#include <string>

#include "analysis/StandingTable.h"

namespace movik {

// Takes the written form a line at a time, so a long standing streams.
using StandingSink = std::function<void(const std::string& line)>;

// One line per document in input order:
//   {"file":…,"company":…,"group":"2024","currency":"EUR",
//    "standing":{"2":{"percentile":63.64,"quarter":2},…},"note":null}
// percentile rounded to 2 decimals, quarter 1 the best and null for a measure without a
// direction; a measure without a rank is null; a document in no ranked group has "standing"
// null and says why in "note". Then one line per group in year order:
//   {"group":"2024","currency":"EUR","n":7,"quartiles":{"2":[q1,median,q3],…},"note":null}
// quartiles at the measure's own decimals plus two (null for a measure with too few values;
// "quartiles" null and a note for a group too small).
void StandingJsonl(const StandingTable& table, const StandingSink& sink);

// Per group: its heading, the quartiles of every measure, then its documents with each
// measure's percentile rank and quarter; documents in no group last.
void StandingTxt(const StandingTable& table, const StandingSink& sink);

}  // namespace movik

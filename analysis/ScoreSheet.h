#pragma once
// The scores of one document as the lines a person reads: the early-warning models with their
// bands (and each model's terms below it), Kralicek's quick test with its grades, the DuPont
// factors beside indicator 13, and the inputs with the rows they come from. The "Bonitet" page,
// the report "Ocjena boniteta" and the workbook's sheet all show these lines.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Document.h"
#include "model/Regional.h"
#include "model/Scores.h"

namespace movik {

enum class ScoreLineKind {
    Section,  // a heading
    Item,     // a score, grade, factor or input
    Detail,   // a term of the item above it (shown on demand)
};

struct ScoreLine {
    ScoreLineKind kind = ScoreLineKind::Item;
    std::string caption;
    std::string value;  // as shown; "" when not computable
    std::optional<double> number;
    std::string_view pattern;  // the display pattern of value
    // The band or grade in words; for a value that cannot be computed, the reason; for a term,
    // its numerator and denominator.
    std::string note;
    std::optional<Tone> tone;  // of a band or grade
};

// The sections' headings, in order.
inline constexpr std::string_view kSectionModels = "Modeli ranog upozorenja";
inline constexpr std::string_view kSectionQuickTest = "Kralicekov quick test";
inline constexpr std::string_view kSectionDuPont = "DuPont analiza povrata na kapital";
inline constexpr std::string_view kSectionInputs = "Ulazni podaci";

// The note under every presentation of the scores.
inline constexpr std::string_view kScoresCaveat =
    "Modeli su procijenjeni na poduzećima drugih gospodarstava i godina: loša ocjena je razlog "
    "da se pogleda pobliže, a ne presuda.";

std::vector<ScoreLine> ScoreSheet(const TDokument& doc, const RegionalSettings& rs);

}  // namespace movik

#include "model/AmountRefusal.h"

#include <optional>

#include "model/NumberFormat.h"
#include "model/Utf8.h"

namespace movik {

namespace {

constexpr std::string_view kNoBreakSpace = "\u00A0";
constexpr std::string_view kNarrowNoBreakSpace = "\u202F";

// A separator as the user reads it: its name with the character, or "razmak" for a blank,
// which cannot be shown.
std::string SeparatorName(const std::string& separator) {
    if (separator == " " || separator == kNoBreakSpace || separator == kNarrowNoBreakSpace) {
        return "razmak";
    }
    if (separator == ",") {
        return "zarez (,)";
    }
    if (separator == ".") {
        return "točka (.)";
    }
    if (separator == "'" || separator == "’") {
        return "apostrof (" + separator + ")";
    }
    return "„" + separator + "“";
}

// The one rule of an amount, as every refusal states it.
std::string Rule(const RegionalSettings& rs) {
    return "decimalni separator je " + SeparatorName(rs.decimalSeparator) +
           ", a separator tisućica " + SeparatorName(rs.thousandsSeparator) +
           ", samo između skupina od tri znamenke";
}

}  // namespace

std::string AmountRuleMessage(const RegionalSettings& rs) {
    return "Iznos nije ispravan: " + Rule(rs) + ".";
}

std::string AmountRefusal(std::string_view text, const RegionalSettings& rs) {
    const std::optional<double> amount = ReadAmount(text, rs);
    if (!amount) {
        return AmountRuleMessage(rs);
    }
    // The limit holds for the amount as the cell will show it: rounding to the cent may carry
    // an amount just below the limit onto it.
    const std::optional<double> shown = ReadAmount(FormatNumber(*amount, "0.00", rs), rs);
    if (!shown || !WithinAmountLimit(*shown)) {
        return AmountLimitMessage(rs);
    }
    return {};
}

std::string RefusedCharactersNote(std::string_view refused, const RegionalSettings& rs) {
    const std::string what =
        (Utf8Length(refused) == 1 ? "Znak „" : "Tekst „") + std::string(refused) + "“";
    return what + " nije upisan: iznos čine znamenke, „-“ na početku, " +
           SeparatorName(rs.decimalSeparator) + " za decimale i " +
           SeparatorName(rs.thousandsSeparator) + " za tisućice.";
}

}  // namespace movik

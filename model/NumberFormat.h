#pragma once
// Number display by pattern, and reading amount texts back.

#include <optional>
#include <string>
#include <string_view>

#include "model/Regional.h"

namespace movik {

// Formats value with a pattern such as "#,##0.00", "0.00%", "##0", "#,##0;", "#.##" using the
// separators of rs. Rounds half away from zero on the decimal value. A value that rounds to zero
// shows as zero does (no minus sign; empty for patterns without a "0" placeholder).
// NaN and infinities give a short readable text.
std::string FormatNumber(double value, std::string_view pattern, const RegionalSettings& rs);

// The value a text of `decimals` decimal places shows, as the nearest double: rounded as
// FormatNumber rounds (15 significant digits, then half away from zero). NaN and infinities are
// returned as they are. The one rounding of displayed numbers, for every number taken as shown.
double RoundedAsShown(double value, int decimals);

// The number an amount's grid cell reads back as: value formatted with AmountFormat and read
// with AmountFromText, computed without the text where RoundedAsShown gives the same double.
double AmountAsShown(double value, const RegionalSettings& rs);

// The decimal places a pattern shows for value (its section for value's sign).
int DecimalsShown(std::string_view pattern, double value);

// Reads an amount text strictly: surrounding blanks, a sign, the integer digits, the decimal
// separator and its digits, an exponent. Group separators (the thousands separator, or a blank
// or no-break space) are taken only at their group positions, as in "1.234.567,89" or
// "1 234,5"; a separator anywhere else makes the text no amount (it is never reinterpreted).
// An empty text is 0; nullopt for a text that is no amount. A "%" makes it no amount.
// Typing, pasting and import all read amounts with this one rule.
std::optional<double> ReadAmount(std::string_view text, const RegionalSettings& rs);

// True when ReadAmount reads the text.
bool IsAmountText(std::string_view text, const RegionalSettings& rs);

// 0 for an empty text; otherwise drops "%" and reads with ReadAmount; 0 when it is no amount.
double AmountFromText(std::string_view text, const RegionalSettings& rs);

// The largest magnitude an input cell takes: amounts below 10^11 keep every total, share and
// indicator computed from them exact to the cent within the display's 15 significant digits.
inline constexpr double kAmountLimit = 1e11;

// True when |value| < kAmountLimit (NaN is not within it).
bool WithinAmountLimit(double value);

// The refusal of an amount beyond the limit, naming the limit with the separators of rs:
// "Iznos je prevelik: najveći dopušteni iznos je 99.999.999.999,99."
std::string AmountLimitMessage(const RegionalSettings& rs);

}  // namespace movik

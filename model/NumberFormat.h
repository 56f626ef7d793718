#pragma once
// Number display by pattern, and reading amount texts back.

#include <string>
#include <string_view>

#include "model/Regional.h"

namespace movik {

// Formats value with a pattern such as "#,##0.00", "0.00%", "##0", "#,##0;", "#.##" using the
// separators of rs. Rounds half away from zero on the decimal value. A value that rounds to zero
// shows as zero does (no minus sign; empty for patterns without a "0" placeholder).
// NaN and infinities give a short readable text.
std::string FormatNumber(double value, std::string_view pattern, const RegionalSettings& rs);

// True for an empty text, or a text that converts to a number once every thousands separator is
// removed. A "%" makes the text unacceptable.
bool IsAmountText(std::string_view text, const RegionalSettings& rs);

// 0 for an empty text; otherwise drops thousands separators and "%" and converts; 0 on failure.
double AmountFromText(std::string_view text, const RegionalSettings& rs);

}  // namespace movik

#pragma once
// Reading the texts of the general-data fields (period dates, number of shares) into values.
// QtCore only, so that the readers can be exercised without any widget.

#include <QString>
#include <optional>

namespace movik {

// The largest number of shares the field takes.
inline constexpr double kMaximumShareCount = 9999999999.0;

// Day number of text read with a short date pattern: 0 for an empty text, nullopt when the text
// is not a valid date. Any non-digit characters separate day, month and year, in the pattern's
// order; a one- or two-digit year falls in 1930..2029. A pattern with month names ("MMM") is read
// by the current locale.
std::optional<double> ParseDateText(const QString& text, const QString& pattern);

// The number of shares of text: digits with blanks, no-break spaces or the thousands separator
// anywhere between them; 0 for a text without digits; nullopt for any other character or a
// value above kMaximumShareCount.
std::optional<double> ParseShareCountText(const QString& text, const QString& separator);

}  // namespace movik

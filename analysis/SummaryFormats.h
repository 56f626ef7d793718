#pragma once
// The three written forms of document summaries: semicolon-separated lines as the export writes
// them (Windows-1250), one JSON object per line (UTF-8, plain numbers), and an aligned text table
// for a terminal. Each form is a header (possibly empty) and one line per summary, so a long run
// streams.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Summary.h"
#include "model/Regional.h"

namespace movik {

enum class SummaryFormat { Csv, Jsonl, Txt };

// currency: every line's amounts are in it (a summary in one currency); nullopt when each line
// says its own, and the captions then name no unit.
std::string SummaryHeader(SummaryFormat format, std::optional<Valuta> currency = std::nullopt);
std::string SummaryLine(SummaryFormat format, const DocumentSummary& s, const RegionalSettings& rs);

// One semicolon-separated line in Windows-1250 ending in CR LF, every cell followed by ";". A
// cell holding ";" or a quote is quoted; a character the code page lacks becomes "?".
std::string CsvLine(const std::vector<std::string>& cells);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view text);
// The shortest text that reads back as the same double; null for NaN and infinities.
std::string JsonNumber(double value);

// The period as "from – to" in the short date format; "" for a document without dates.
std::string PeriodText(const DocumentSummary& s, const RegionalSettings& rs);

}  // namespace movik

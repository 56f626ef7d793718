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

// A JSON string literal of text; bytes that are not UTF-8 become U+FFFD, so it is valid JSON.
std::string JsonString(std::string_view text);
// The shortest text that reads back as the same double; null for NaN and infinities.
std::string JsonNumber(double value);
// An amount as the shortest text of its value in cents, as the grids show it (472692.28).
std::string JsonAmount(double value);
// Standard base64 (with "=" padding) of bytes.
std::string Base64(std::string_view bytes);

// text cut or padded to width characters, right-aligned when right, for the text tables. A cut
// keeps the start, or (keepEnd, for a file path) the end, where the names differ.
std::string Column(const std::string& text, std::size_t width, bool right, bool keepEnd = false);

// The period as "from – to" in the short date format; "" for a document without dates.
std::string PeriodText(const DocumentSummary& s, const RegionalSettings& rs);

}  // namespace movik

#pragma once
// Between the caller and the .xls reader program: the arguments it is started with (the limits
// it keeps and the sheets wanted) and what it writes back on its standard output, either 'K' and
// the cells it read or 'E' and its refusal for the user. The caller trusts none of the reply: a
// reply out of format or beyond the limits is a damaged file.

#include <string>
#include <string_view>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

// The program's arguments after its name: cells, text bytes, total bytes, then the sheets.
std::vector<std::string> ReaderArguments(const std::vector<std::string>& wanted,
                                         const WorkbookLimits& limits);
// False for arguments that are not what ReaderArguments writes.
bool ParseReaderArguments(const std::vector<std::string>& args, std::vector<std::string>& wanted,
                          WorkbookLimits& limits);

std::string EncodeBook(const WorkbookData& book);
std::string EncodeRefusal(const std::string& message);

// The book in a reply; throws ReadError with the program's refusal, or the damaged message for
// a reply that breaks the format: an unknown cell kind, a cell beyond its sheet or twice, a
// text that is not UTF-8 or too long, more cells than limits.cells, bytes left over.
WorkbookData DecodeReply(std::string_view reply, const WorkbookLimits& limits);

// Whether text is well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
bool IsUtf8(std::string_view text);

}  // namespace movik::workbook

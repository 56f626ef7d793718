#pragma once
// The .xls reader: FreeXL, kept away from the caller's process.

#include <string>
#include <string_view>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

// Throw ReadError with the user's message on damage, encryption or a limit.
WorkbookData ReadXls(const std::string& path, const std::vector<std::string>& wanted,
                     const WorkbookLimits& limits);
WorkbookData ReadXlsBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                          const WorkbookLimits& limits);

}  // namespace movik::workbook

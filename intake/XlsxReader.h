#pragma once
// The .xlsx reader: libzip for the package, expat for its parts, within the limits.

#include <string>
#include <string_view>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

// Throws ReadError with the user's message on damage, encryption or a limit.
WorkbookData ReadXlsx(std::string_view bytes, const std::vector<std::string>& wanted,
                      const WorkbookLimits& limits);

}  // namespace movik::workbook

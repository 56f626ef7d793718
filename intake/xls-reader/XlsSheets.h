#pragma once
// The .xls reader program's own work: the cells of an .xls workbook through FreeXL, within the
// limits. Runs only in that program (and in-process in its fuzz target), never in the caller.

#include <string>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

// The sheets named in wanted (all when empty) of the .xls at path; throws ReadError with the
// user's message on damage, a password or a limit.
WorkbookData ReadXlsSheets(const std::string& path, const std::vector<std::string>& wanted,
                           const WorkbookLimits& limits);

}  // namespace movik::workbook

#pragma once
// movik-cli xlsx DOCUMENT.mvk -o OUT.xlsx [--unit TEKST]: the document as a spreadsheet
// workbook with real numbers.

#include <string>
#include <vector>

namespace movik::cli {

// args: what follows "xlsx". Returns the exit code; throws std::runtime_error on failure.
int XlsxCommand(const std::vector<std::string>& args);

}  // namespace movik::cli

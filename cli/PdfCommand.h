#pragma once
// movik-cli pdf: a document's statement reports as one PDF file, the pages the window prints.

#include <string>

#include "document/Workspace.h"
#include "model/Result.h"

namespace movik::cli {

// Checks a --report value: "bilanca", "racun", "cfind", "cffree", "pokazatelji" or "sve".
// Ok when valid, else the Croatian message.
Result CheckPdfReport(const std::string& report);

// Writes the reports named by report (CheckPdfReport) of the open workspace to path, with the
// amount unit unit in their unit lines ("-" as path: to standard output). Needs no display.
// A failed write leaves no file behind.
Result WritePdf(const Workspace& ws, const std::string& report, const std::string& unit,
                const std::string& path);

}  // namespace movik::cli

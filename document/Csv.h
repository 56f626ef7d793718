#pragma once
// Semicolon-separated export and import of statement grids.

#include <string>
#include <string_view>
#include <vector>

#include "document/GridTexts.h"

namespace movik {

// Cuts BaseString at every BreakString; empty pieces are dropped unless AllowEmptyString.
class TBrkApart {
public:
    std::string BaseString;
    std::string BreakString = ";";
    bool AllowEmptyString = false;
    std::vector<std::string> StringList;

    void BreakApart();
};

// The default file name of a statement's export ("bilanca.csv", ...).
std::string DefaultCsvName(Statement s);

// The bytes of an export: Windows-1250, CR LF, every listed cell followed by ";".
std::string ExportCsv(Statement s, const GridTexts& grid);

// Imports file bytes into the grid (Bilanca or Racun only). The whole file is checked before any
// cell changes: a line with too few pieces returns "List index out of bounds (%d)" and nothing
// changes. Returns "" on success; the caller then runs the refresh cycle.
std::string ImportCsv(Statement s, std::string_view fileBytes, GridTexts& grid);

}  // namespace movik

#pragma once
// Semicolon-separated export and import of statement grids.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/FileIO.h"
#include "document/GridTexts.h"
#include "model/Regional.h"
#include "model/Result.h"

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

// The most bytes an import reads: far more than the lines of any statement file take.
inline constexpr std::size_t kMaxImportBytes = 4 * 1024 * 1024;

// Reads from path what an import of s uses: the bytes up to the end of the last line its grid can
// take (the file's lines beyond are not read), from a file or a pipe. Returns the failure's
// message: "Cannot open file %s" for a path that cannot be opened or read (a folder too), or a
// Croatian message when those lines run past kMaxImportBytes (no statement file, or endless).
// calls replace system calls in tests.
Result ReadImportFile(const std::string& path, Statement s, std::string& bytes,
                      const FileCalls& calls = {});

// Imports file bytes into the grid (Bilanca or Racun only). The whole file is checked before any
// cell changes, and nothing changes when a check fails: a file not shaped as s's export (a line
// with more cells, or every line with the cell count of the other statement's file) returns a
// Croatian message naming the statement; a line with too few pieces returns
// "List index out of bounds (%d)"; an amount piece that is no amount under rs (read with the
// one strict rule of typed amounts) returns a Croatian message naming its line and column, and
// so does a line whose row number (piece 0) is not its row, an amount at or beyond kAmountLimit,
// and an ambiguous amount: one separator, rs's decimal one, followed by exactly three digits
// ("485,000" under a decimal comma), which the other convention reads as a whole amount; that
// message gives both readings.
// A file whose every amount reads in the other separator convention with exactly two decimals
// (as an export under that convention writes them) is read in that convention: its amounts go
// into the grid in rs's form, and the note says so.
// A blank amount piece is 0, an empty one too when every other cell of its line is there. A
// file without a line of amounts (the header line alone, or empty) imports nothing and returns
// a Croatian message saying so. On success *note (when given) says, in Croatian sentences, what
// the import did beyond the plain: the rows a short file left as they were, the other separator
// convention, and how many amounts with more than two decimals were rounded to cents (the
// first one's line and column); "" when nothing of that. The caller then runs the refresh cycle.
Result ImportCsv(Statement s, std::string_view fileBytes, GridTexts& grid,
                 const RegionalSettings& rs, std::string* note = nullptr);

}  // namespace movik

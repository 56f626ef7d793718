#pragma once
// Reading spreadsheet workbooks from other programs: .xlsx through libzip and expat, .xls
// through FreeXL. Only the cell values are read (numbers, texts, cached results of formulas),
// within limits, so a damaged, encrypted or oversized file or a zip bomb ends in a Croatian
// message instead of a crash, a hang or an exhausted memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace movik {

struct SheetCell {
    enum class Kind {
        Empty,
        Number,
        Text,
        Error,           // an error value (#DIV/0! and the like)
        FormulaNoValue,  // a formula whose result the file does not hold
    };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;  // UTF-8; of a FormulaNoValue cell, its formula ("" when not given)
};

struct SheetData {
    std::string name;
    int rows = 0;  // one past the last row holding a cell
    // False for .xls: FreeXL does not give the results of formula cells, which read as empty.
    bool formulaResultsKnown = true;
    // Cells by (row, column), both from 0.
    std::unordered_map<std::uint64_t, SheetCell> cells;

    // The cell at row, col (from 0); an empty cell where none is held.
    const SheetCell& At(int row, int col) const;
};

struct WorkbookData {
    std::vector<std::string> sheetNames;  // every sheet, in workbook order
    std::vector<SheetData> sheets;        // the sheets that were asked for and exist
    const SheetData* Find(std::string_view name) const;
};

struct WorkbookLimits {
    std::size_t fileBytes = 32u << 20;   // the file itself
    std::size_t entryBytes = 32u << 20;  // one unpacked part of an .xlsx
    std::size_t totalBytes = 96u << 20;  // every unpacked part together
    std::size_t cells = 200000;          // cells kept, over all sheets read
    std::size_t sharedStrings = 200000;  // entries of the shared string table
    std::size_t textBytes = 32767;       // one cell's text, in characters (Excel's own limit)
};

struct WorkbookRead {
    bool ok = false;
    std::string error;  // Croatian, for the user, when !ok
    WorkbookData book;
};

// Reads the sheets named in wanted (every sheet when wanted is empty) of the workbook at path,
// telling .xlsx from .xls by the file's first bytes, not its name.
WorkbookRead ReadWorkbookFile(const std::string& path, const std::vector<std::string>& wanted,
                              const WorkbookLimits& limits = {});

// The same for an .xlsx (or a file of another kind, refused by name) already in memory.
WorkbookRead ReadWorkbookBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                               const WorkbookLimits& limits = {});

// The column letters of column col (from 0): 0 -> "A", 26 -> "AA".
std::string ColumnName(int col);

}  // namespace movik

#pragma once
// A spreadsheet workbook of plain tables, written as .xlsx with libxlsxwriter: numbers stay
// numbers (with an Excel number format), texts stay texts. Any table can be put into one, the
// statements of a document (DocumentWorkbook.h) as well as a comparison of many documents.

#include <string>
#include <vector>

#include "model/Result.h"

namespace movik {

struct WorkbookCell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    std::string text;    // Text
    double number = 0;   // Number
    std::string format;  // Number: Excel number format, e.g. "#,##0.00", "0.00%"

    static WorkbookCell Blank() { return {}; }
    static WorkbookCell Of(std::string text) { return {Kind::Text, std::move(text), 0, {}}; }
    static WorkbookCell Of(double number, std::string format) {
        return {Kind::Number, {}, number, std::move(format)};
    }
};

struct WorkbookSheet {
    std::string name;  // at most 31 characters, none of the characters []:*?/ and backslash
    std::vector<std::string> headers;  // the row after the notes, bold and frozen
    std::vector<std::vector<WorkbookCell>> rows;
    std::vector<bool> boldRows;  // per row of rows; missing entries are plain
    // Lines of text over the table (its currency, what its marks mean), one row each, not
    // counted in the column widths (they run on over the empty cells to their right).
    std::vector<std::string> notes{};
};

struct Workbook {
    std::string title;
    std::vector<WorkbookSheet> sheets;
};

class FileWriter;

// Writes the workbook to path through writer, the system's safe writer when null (an existing
// file is replaced only by a complete new one). Column widths fit the longest text or formatted
// number of each column.
Result WriteXlsx(const Workbook& workbook, const std::string& path, FileWriter* writer = nullptr);

}  // namespace movik

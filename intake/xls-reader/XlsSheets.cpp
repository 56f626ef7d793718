#include "intake/xls-reader/XlsSheets.h"

#include <freexl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"
#include "model/CroatianPlural.h"

namespace movik::workbook {

namespace {

using XlsHandle = std::unique_ptr<const void, int (*)(const void*)>;

// Opens an .xls workbook that is neither damaged nor encrypted; *count gets its sheet count.
XlsHandle OpenXls(const std::string& path, unsigned int& count) {
    const void* handle = nullptr;
    const int rc = freexl_open(path.c_str(), &handle);
    XlsHandle guard(handle, freexl_close);
    if (rc == FREEXL_INSUFFICIENT_MEMORY) {
        throw ReadError{kNoMemory};
    }
    if (rc != FREEXL_OK) {
        throw DamagedXls();
    }
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        throw ReadError{kEncrypted};
    }
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        throw DamagedXls();
    }
    return guard;
}

// A cell as the workbook holds it: a number or a text (dates are texts); nullopt when empty.
std::optional<SheetCell> XlsCell(const FreeXL_CellValue& v, const WorkbookLimits& limits) {
    SheetCell cell;
    switch (v.type) {
        case FREEXL_CELL_INT:
            cell.kind = SheetCell::Kind::Number;
            cell.number = v.value.int_value;
            return cell;
        case FREEXL_CELL_DOUBLE:
            cell.kind = SheetCell::Kind::Number;
            cell.number = v.value.double_value;
            return cell;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            cell.kind = SheetCell::Kind::Text;
            cell.text = v.value.text_value != nullptr ? v.value.text_value : "";
            if (cell.text.size() > limits.textBytes) {
                throw ReadError{
                    TooLarge("tekst dulji od " + std::to_string(limits.textBytes) + " znakova")};
            }
            if (!IsUtf8(cell.text)) {
                throw DamagedXls();
            }
            return cell;
        default:
            return std::nullopt;
    }
}

// What the sheets read so far hold, against the limits of the whole workbook.
struct Count {
    std::size_t cells = 0;
    std::size_t textBytes = 0;
};

// The cells of sheet `index`, within the limits.
SheetData ReadXlsSheet(const void* handle, unsigned short index, const char* name,
                       const WorkbookLimits& limits, Count& count) {
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(handle, index) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK) {
        throw DamagedXls();
    }
    SheetData sheet;
    sheet.name = name;
    sheet.formulaResultsKnown = false;
    // The form's columns all lie well within the first 64; the rest is not visited.
    const unsigned short readCols = std::min<unsigned short>(cols, 64);
    if (static_cast<std::uint64_t>(rows) * readCols > 16 * limits.cells) {
        throw ReadError{
            TooLarge("list " + sheet.name + " ima " + CountText(rows, "redak", "retka", "redaka"))};
    }
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < readCols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) {
                throw DamagedXls();
            }
            std::optional<SheetCell> cell = XlsCell(v, limits);
            if (!cell) {
                continue;
            }
            if (++count.cells > limits.cells) {
                throw ReadError{TooLarge("više od " + std::to_string(limits.cells) + " ćelija")};
            }
            count.textBytes += cell->text.size();
            if (count.textBytes > limits.totalBytes) {
                throw ReadError{
                    TooLarge("tekstovi ćelija zajedno veći od " + Mib(limits.totalBytes))};
            }
            sheet.rows = std::max(sheet.rows, static_cast<int>(r) + 1);
            sheet.cells[Key(static_cast<int>(r), c)] = std::move(*cell);
        }
    }
    return sheet;
}

}  // namespace

WorkbookData ReadXlsSheets(const std::string& path, const std::vector<std::string>& wanted,
                           const WorkbookLimits& limits) {
    unsigned int sheetCount = 0;
    const XlsHandle handle = OpenXls(path, sheetCount);
    WorkbookData book;
    Count count;
    for (unsigned int s = 0; s < sheetCount && s < 4096; ++s) {
        const auto index = static_cast<unsigned short>(s);
        const char* name = nullptr;
        // Excel's sheet names have at most 31 characters.
        if (freexl_get_worksheet_name(handle.get(), index, &name) != FREEXL_OK || name == nullptr ||
            std::strlen(name) > 31 * 4 || !IsUtf8(name)) {
            throw DamagedXls();
        }
        book.sheetNames.emplace_back(name);
        if (!Wanted(wanted, name) || book.Find(name) != nullptr) {
            continue;
        }
        book.sheets.push_back(ReadXlsSheet(handle.get(), index, name, limits, count));
    }
    return book;
}

}  // namespace movik::workbook

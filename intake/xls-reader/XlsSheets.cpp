#include "intake/xls-reader/XlsSheets.h"

#include <freexl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"
#include "model/CroatianPlural.h"

namespace movik::workbook {

namespace {

// FreeXL's answers for one open workbook.
class FreeXlSource final : public XlsSource {
  public:
    explicit FreeXlSource(const void* handle) : handle_(handle) {}
    ~FreeXlSource() override { freexl_close(handle_); }
    FreeXlSource(const FreeXlSource&) = delete;
    FreeXlSource& operator=(const FreeXlSource&) = delete;

    bool Encrypted() override {
        unsigned int info = 0;
        return freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
               info == FREEXL_BIFF_OBFUSCATED;
    }
    bool SheetCount(unsigned int& count) override {
        return freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) == FREEXL_OK;
    }
    const char* SheetName(unsigned short index) override {
        const char* name = nullptr;
        return freexl_get_worksheet_name(handle_, index, &name) == FREEXL_OK ? name : nullptr;
    }
    bool Select(unsigned short index, unsigned int& rows, unsigned short& cols) override {
        return freexl_select_active_worksheet(handle_, index) == FREEXL_OK &&
               freexl_worksheet_dimensions(handle_, &rows, &cols) == FREEXL_OK;
    }
    bool Cell(unsigned int row, unsigned short col, FreeXL_CellValue& value) override {
        return freexl_get_cell_value(handle_, row, col, &value) == FREEXL_OK;
    }

  private:
    const void* handle_;
};

// A cell as the workbook holds it: a number or a text (dates are texts); nullopt when empty.
std::optional<SheetCell> XlsCell(const FreeXL_CellValue& v, const WorkbookLimits& limits) {
    SheetCell cell;
    switch (v.type) {
        case FREEXL_CELL_INT:
            cell.kind = SheetCell::Kind::Number;
            cell.number = v.value.int_value;
            return cell;
        case FREEXL_CELL_DOUBLE:
            // A stored number is finite; anything else is a damaged record.
            if (!std::isfinite(v.value.double_value)) {
                throw DamagedXls();
            }
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
            if (Characters(cell.text) > limits.textBytes) {
                throw ReadError{TextTooLong(limits)};
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
SheetData ReadXlsSheet(XlsSource& source, unsigned short index, const char* name,
                       const WorkbookLimits& limits, Count& count) {
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (!source.Select(index, rows, cols)) {
        throw DamagedXls();
    }
    SheetData sheet;
    sheet.name = name;
    sheet.formulaResultsKnown = false;
    // The form's columns all lie well within the first 64; the rest is not visited.
    const unsigned short readCols = std::min<unsigned short>(cols, 64);
    if (rows > static_cast<unsigned int>(kMaxRows)) {
        throw DamagedXls();
    }
    if (static_cast<std::uint64_t>(rows) * readCols > 16 * limits.cells) {
        throw ReadError{
            TooLarge("list " + sheet.name + " ima " + CountText(rows, "redak", "retka", "redaka"))};
    }
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < readCols; ++c) {
            FreeXL_CellValue v;
            if (!source.Cell(r, c, v)) {
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

std::unique_ptr<XlsSource> OpenWithFreeXl(const std::string& path) {
    const void* handle = nullptr;
    const int rc = freexl_open(path.c_str(), &handle);
    if (rc != FREEXL_OK) {
        if (handle != nullptr) {
            freexl_close(handle);
        }
        throw rc == FREEXL_INSUFFICIENT_MEMORY ? ReadError{kNoMemory} : DamagedXls();
    }
    return std::make_unique<FreeXlSource>(handle);
}

WorkbookData ReadXlsSheets(XlsSource& source, const std::vector<std::string>& wanted,
                           const WorkbookLimits& limits) {
    if (source.Encrypted()) {
        throw ReadError{kEncrypted};
    }
    unsigned int sheetCount = 0;
    if (!source.SheetCount(sheetCount)) {
        throw DamagedXls();
    }
    WorkbookData book;
    Count count;
    for (unsigned int s = 0; s < sheetCount && s < 4096; ++s) {
        const auto index = static_cast<unsigned short>(s);
        const char* name = source.SheetName(index);
        // Excel's sheet names have at most 31 characters.
        if (name == nullptr || std::strlen(name) > 31 * 4 || !IsUtf8(name)) {
            throw DamagedXls();
        }
        book.sheetNames.emplace_back(name);
        if (!Wanted(wanted, name) || book.Find(name) != nullptr) {
            continue;
        }
        book.sheets.push_back(ReadXlsSheet(source, index, name, limits, count));
    }
    return book;
}

}  // namespace movik::workbook

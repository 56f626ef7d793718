#include "reports/Workbook.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>
#include <utility>

#include "document/FileIO.h"
#include "model/Utf8.h"
#include "reports/XlsxLibrary.h"

namespace movik {

namespace {

// Roughly how many characters a number shows: its digits, group separators, decimals, sign.
std::size_t NumberWidth(const WorkbookCell& cell) {
    const double magnitude = std::fabs(cell.number);
    const std::size_t digits =
        magnitude < 1 ? 1 : static_cast<std::size_t>(std::floor(std::log10(magnitude))) + 1;
    return (digits + (digits - 1) / 3 + 4) * 11 / 10;
}

// The formats of one workbook, made once per number format and weight.
class Formats {
  public:
    Formats(const XlsxLibrary& xlsx, lxw_workbook* book) : xlsx_(xlsx), book_(book) {}
    lxw_format* Get(const std::string& numberFormat, bool bold, bool right = false) {
        auto& format = formats_[{numberFormat, bold, right}];
        if (format == nullptr) {
            format = xlsx_.addFormat(book_);
            if (!numberFormat.empty()) {
                xlsx_.setNumberFormat(format, numberFormat.c_str());
            }
            if (bold) {
                xlsx_.setBold(format);
            }
            if (right) {
                xlsx_.setAlign(format, LXW_ALIGN_RIGHT);
            }
        }
        return format;
    }

  private:
    const XlsxLibrary& xlsx_;
    lxw_workbook* book_;
    std::map<std::tuple<std::string, bool, bool>, lxw_format*> formats_;
};

lxw_error WriteSheet(const XlsxLibrary& xlsx, lxw_worksheet* sheet, const WorkbookSheet& table,
                     Formats& formats) {
    std::vector<std::size_t> widths(table.headers.size(), 6);
    lxw_error error = LXW_NO_ERROR;
    const auto keep = [&error](lxw_error e) {
        if (error == LXW_NO_ERROR) {
            error = e;
        }
    };
    for (std::size_t n = 0; n < table.notes.size(); ++n) {
        keep(xlsx.writeString(sheet, lxw_row_t(n), 0, ValidUtf8(table.notes[n]).c_str(),
                              formats.Get({}, false)));
    }
    const auto top = lxw_row_t(table.notes.size());  // the header row
    for (std::size_t c = 0; c < table.headers.size(); ++c) {
        // A column of numbers has its header over the numbers, on the right.
        const bool numbers = !table.rows.empty() && c < table.rows.front().size() &&
                             table.rows.front()[c].kind == WorkbookCell::Kind::Number;
        keep(xlsx.writeString(sheet, top, lxw_col_t(c), ValidUtf8(table.headers[c]).c_str(),
                              formats.Get({}, true, numbers)));
        widths[c] = std::max(widths[c], Utf8Length(table.headers[c]));
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const bool bold = r < table.boldRows.size() && table.boldRows[r];
        const auto row = lxw_row_t(top + r + 1);
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            const WorkbookCell& cell = table.rows[r][c];
            if (widths.size() <= c) {
                widths.resize(c + 1, 6);
            }
            const auto col = lxw_col_t(c);
            switch (cell.kind) {
                case WorkbookCell::Kind::Empty:
                    if (bold) {
                        keep(xlsx.writeBlank(sheet, row, col, formats.Get({}, true)));
                    }
                    break;
                case WorkbookCell::Kind::Text:
                    // The workbook's XML takes only UTF-8: a file name's stray bytes become
                    // U+FFFD, as in the summary's JSON.
                    keep(xlsx.writeString(sheet, row, col, ValidUtf8(cell.text).c_str(),
                                          formats.Get({}, bold)));
                    widths[c] = std::max(widths[c], Utf8Length(cell.text));
                    break;
                case WorkbookCell::Kind::Number:
                    keep(xlsx.writeNumber(sheet, row, col, cell.number,
                                          formats.Get(cell.format, bold)));
                    widths[c] = std::max(widths[c], NumberWidth(cell));
                    break;
            }
        }
    }
    // Excel's width is in digit widths of the default font; texts run narrower than digits,
    // numbers need room for separators and a bold weight.
    double total = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const double width = double(std::min<std::size_t>(widths[c], 90)) + 2;
        total += width;
        keep(xlsx.setColumn(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr));
    }
    // Printed from the spreadsheet: one page wide, the header row on every page.
    if (total > 100) {
        xlsx.setLandscape(sheet);
    }
    xlsx.fitToPages(sheet, 1, 0);
    keep(xlsx.repeatRows(sheet, top, top));
    xlsx.freezePanes(sheet, top + 1, 0);
    return error;
}

std::string TemporaryPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/movik-xlsx-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return {};
    }
    ::close(fd);
    return pattern;
}

}  // namespace

Result WriteXlsx(const Workbook& workbook, const std::string& path, FileWriter* writer) {
    const XlsxLibrary* xlsx = Xlsx();
    if (xlsx == nullptr) {
        return Result::Fail(
            "Radna knjiga nije stvorena: biblioteka libxlsxwriter nije instalirana");
    }
    const std::string temporary = TemporaryPath();
    if (temporary.empty()) {
        return Result::Fail("Privremena datoteka za radnu knjigu nije stvorena");
    }
    struct Remove {
        const std::string& path;
        ~Remove() { std::remove(path.c_str()); }
    } remove{temporary};

    lxw_workbook* book = xlsx->newWorkbook(temporary.c_str());
    if (book == nullptr) {
        return Result::Fail("Radna knjiga nije stvorena");
    }
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(workbook.title.c_str());
    xlsx->setProperties(book, &properties);
    Formats formats(*xlsx, book);
    lxw_error error = LXW_NO_ERROR;
    for (const WorkbookSheet& table : workbook.sheets) {
        lxw_worksheet* sheet = xlsx->addWorksheet(book, table.name.c_str());
        if (sheet == nullptr) {
            error = LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED;
            break;
        }
        error = WriteSheet(*xlsx, sheet, table, formats);
        if (error != LXW_NO_ERROR) {
            break;
        }
    }
    const lxw_error closed = xlsx->close(book);  // frees the workbook in every case
    if (error == LXW_NO_ERROR) {
        error = closed;
    }
    if (error != LXW_NO_ERROR) {
        return Result::Fail(std::string("Radna knjiga nije zapisana: ") + xlsx->errorText(error));
    }
    std::ifstream in(temporary, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return Result::Fail("Radna knjiga nije zapisana: privremena datoteka nije pročitana");
    }
    if (writer != nullptr) {
        return writer->WriteWhole(path, bytes);
    }
    return MakeSystemFileWriter()->WriteWhole(path, bytes);
}

}  // namespace movik

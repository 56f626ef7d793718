// The .xls reader program's own code in this process: its reading of what FreeXL answers (cell
// kinds, finite numbers, texts, the limits), its reply, and the caller's decoding of that reply,
// then the official form. FreeXL itself is not called: the answers are made up from the input,
// so a fault here is a fault of our code. (FreeXL's own faults on damaged files, reads out of
// bounds and crashes under freexl_open, are the reader process's to contain: see
// fuzz/asan-freexl.supp and the regression-freexl-* files of fuzz/corpus/xlsx, which the tests
// read through the program.)
//
// The input is read like the reader's reply (XlsProtocol.cpp), leniently, as the workbook FreeXL
// would describe: 'P' first for a workbook with a password, 'X' for one whose sheets cannot be
// counted; then the sheet names, and for sheets the rows and cells, whose kind byte picks
// FreeXL's answer: 0 empty, 1 a double, 2 a shared text, 3 an integer, 4 a text, 5 a date,
// 6 a time, anything else a failed read. Seed: the reply of the example form.
// Properties: whatever the reading sends, the caller takes back unchanged; FormProperties.h.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FormProperties.h"
#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"
#include "intake/xls-reader/XlsSheets.h"

using namespace movik;
using namespace movik::workbook;

namespace {

struct MadeUpCell {
    std::uint8_t kind = 0;
    double number = 0;
    std::string text;
};

struct MadeUpSheet {
    unsigned int rows = 0;
    unsigned short cols = 0;
    std::map<std::uint64_t, MadeUpCell> cells;
};

// Reads fields front to back; past the end every read fails and the workbook ends there.
class Fields {
  public:
    // After the first byte, which says what the workbook is.
    explicit Fields(std::string_view bytes) : bytes_(bytes), at_(bytes.empty() ? 0 : 1) {}
    template <typename T>
    bool Get(T& v) {
        if (bytes_.size() - at_ < sizeof v) {
            return false;
        }
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return true;
    }
    bool Text(std::string& t) {
        std::uint32_t n = 0;
        if (!Get(n) || bytes_.size() - at_ < n) {
            return false;
        }
        t = std::string(bytes_.substr(at_, n));
        at_ += n;
        return true;
    }

  private:
    std::string_view bytes_;
    std::size_t at_;
};

class MadeUpSource final : public XlsSource {
  public:
    explicit MadeUpSource(std::string_view bytes) : first_(bytes.empty() ? '\0' : bytes[0]) {
        Fields f(bytes);
        std::uint32_t names = 0;
        f.Get(names);
        for (std::uint32_t i = 0; i < names && i < 64; ++i) {
            names_.emplace_back();
            if (!f.Text(names_.back())) {
                return;
            }
        }
        sheets_.resize(names_.size());
        std::uint32_t count = 0;
        f.Get(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string name;
            std::int32_t rows = 0;
            std::uint32_t cells = 0;
            if (!f.Text(name) || !f.Get(rows) || !f.Get(cells)) {
                return;
            }
            MadeUpSheet& sheet = sheets_[Index(name)];
            sheet.rows = static_cast<unsigned int>(rows) % 1024;
            for (std::uint32_t c = 0; c < cells; ++c) {
                std::uint64_t key = 0;
                MadeUpCell cell;
                if (!f.Get(key) || !f.Get(cell.kind) || !f.Get(cell.number) || !f.Text(cell.text)) {
                    return;
                }
                const auto col = static_cast<unsigned short>((key & 0xFFFFFFFFu) % 80);
                sheet.cols = std::max<unsigned short>(sheet.cols, col + 1);
                sheet.cells[(key >> 32 << 32) | col] = std::move(cell);
            }
        }
    }

    bool Encrypted() override { return first_ == 'P'; }
    bool SheetCount(unsigned int& count) override {
        count = static_cast<unsigned int>(names_.size());
        return first_ != 'X';
    }
    const char* SheetName(unsigned short index) override {
        return index < names_.size() ? names_[index].c_str() : nullptr;
    }
    bool Select(unsigned short index, unsigned int& rows, unsigned short& cols) override {
        if (index >= sheets_.size()) {
            return false;
        }
        selected_ = &sheets_[index];
        rows = selected_->rows;
        cols = selected_->cols;
        return true;
    }
    bool Cell(unsigned int row, unsigned short col, FreeXL_CellValue& value) override {
        value.type = FREEXL_CELL_NULL;
        const auto it = selected_->cells.find((std::uint64_t{row} << 32) | col);
        if (it == selected_->cells.end()) {
            return true;
        }
        const MadeUpCell& c = it->second;
        static constexpr unsigned char kTypes[] = {
            FREEXL_CELL_NULL, FREEXL_CELL_DOUBLE, FREEXL_CELL_SST_TEXT, FREEXL_CELL_INT,
            FREEXL_CELL_TEXT, FREEXL_CELL_DATE,   FREEXL_CELL_TIME};
        if (c.kind >= sizeof kTypes) {
            return false;
        }
        value.type = kTypes[c.kind];
        if (value.type == FREEXL_CELL_INT) {
            value.value.int_value =
                std::isfinite(c.number) ? static_cast<int>(std::fmod(c.number, 2147483647.0)) : 0;
        } else if (value.type == FREEXL_CELL_DOUBLE) {
            value.value.double_value = c.number;
        } else {
            value.value.text_value = c.text.c_str();
        }
        return true;
    }

  private:
    std::size_t Index(const std::string& name) {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (names_[i] == name) {
                return i;
            }
        }
        names_.push_back(name);
        sheets_.emplace_back();
        return names_.size() - 1;
    }

    char first_;
    std::vector<std::string> names_;
    std::vector<MadeUpSheet> sheets_;
    MadeUpSheet* selected_ = nullptr;
};

bool SameBook(const WorkbookData& a, const WorkbookData& b) {
    if (a.sheetNames != b.sheetNames || a.sheets.size() != b.sheets.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.sheets.size(); ++i) {
        const SheetData& x = a.sheets[i];
        const SheetData& y = b.sheets[i];
        if (x.name != y.name || x.rows != y.rows || x.cells.size() != y.cells.size()) {
            return false;
        }
        for (const auto& [key, cell] : x.cells) {
            const auto it = y.cells.find(key);
            if (it == y.cells.end() || it->second.kind != cell.kind ||
                !(it->second.number == cell.number) || it->second.text != cell.text) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MadeUpSource source(std::string_view(reinterpret_cast<const char*>(data), size));
    // Small enough that the fuzzer reaches them, large enough for the seed form.
    WorkbookLimits limits;
    limits.cells = 4000;
    limits.textBytes = 4096;
    limits.totalBytes = 1 << 20;
    std::string reply;
    WorkbookData book;
    try {
        book = ReadXlsSheets(source, FormSheets(), limits);
        reply = EncodeBook(book);
    } catch (const ReadError& e) {
        reply = EncodeRefusal(e.message);
    }
    WorkbookRead read;
    try {
        read.book = DecodeReply(reply, limits);
        read.ok = true;
        MOVIK_FUZZ_CHECK(SameBook(read.book, book), "the reply decodes to the book read");
    } catch (const ReadError& e) {
        read.error = e.message;
        MOVIK_FUZZ_CHECK(reply[0] == 'E' && e.message == reply.substr(1),
                         "the caller takes every reply of the reader's own: " + e.message);
    }
    fuzz::CheckWorkbookAndForm(read);
    return 0;
}

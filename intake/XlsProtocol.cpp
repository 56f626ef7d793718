#include "intake/XlsProtocol.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include "intake/WorkbookLimits.h"

namespace movik::workbook {

namespace {

// Excel keeps sheet names to 31 characters; a refusal is a sentence or two.
constexpr std::size_t kNameBytes = 31 * 4;
constexpr std::size_t kMessageBytes = 1024;
constexpr std::uint32_t kMaxSheets = 4096;

void Put(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}

void PutText(std::string& out, const std::string& text) {
    const auto n = static_cast<std::uint32_t>(text.size());
    Put(out, &n, sizeof n);
    out += text;
}

// Reads the reply front to back; any read past its end is a damaged file.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    template <typename T>
    T Get() {
        T v{};
        Need(sizeof v);
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    // A UTF-8 text of at most maxBytes.
    std::string Text(std::size_t maxBytes) {
        const auto n = Get<std::uint32_t>();
        if (n > maxBytes) {
            throw DamagedXls();
        }
        Need(n);
        std::string t(bytes_.substr(at_, n));
        at_ += n;
        if (!IsUtf8(t)) {
            throw DamagedXls();
        }
        return t;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

  private:
    void Need(std::size_t n) const {
        if (bytes_.size() - at_ < n) {
            throw DamagedXls();
        }
    }
    std::string_view bytes_;
    std::size_t at_ = 1;  // after the outcome's letter
};

// What a reply may hold across its sheets.
struct Budget {
    std::size_t cells = 0;
    std::size_t textBytes = 0;
};

// One cell: a finite number without text, or a text within the limits.
SheetCell DecodeCell(Reader& r, const WorkbookLimits& limits, Budget& budget) {
    SheetCell cell;
    const auto kind = r.Get<std::uint8_t>();
    cell.number = r.Get<double>();
    // A text limit in characters takes at most four bytes each.
    cell.text = r.Text(4 * limits.textBytes);
    budget.textBytes += cell.text.size();
    const bool number = kind == static_cast<std::uint8_t>(SheetCell::Kind::Number) &&
                        std::isfinite(cell.number) && cell.text.empty();
    const bool text = kind == static_cast<std::uint8_t>(SheetCell::Kind::Text) && cell.number == 0;
    if ((!number && !text) || budget.textBytes > limits.totalBytes) {
        throw DamagedXls();
    }
    cell.kind = number ? SheetCell::Kind::Number : SheetCell::Kind::Text;
    return cell;
}

SheetData DecodeSheet(Reader& r, const WorkbookLimits& limits, Budget& budget) {
    SheetData sheet;
    sheet.name = r.Text(kNameBytes);
    sheet.formulaResultsKnown = false;  // FreeXL gives no results of formulas
    sheet.rows = r.Get<std::int32_t>();
    const auto cells = r.Get<std::uint32_t>();
    budget.cells += cells;
    if (sheet.rows < 0 || sheet.rows > kMaxRows || budget.cells > limits.cells) {
        throw DamagedXls();
    }
    for (std::uint32_t c = 0; c < cells; ++c) {
        const auto key = r.Get<std::uint64_t>();
        const auto row = static_cast<std::int64_t>(key >> 32);
        const auto col = static_cast<std::int64_t>(key & 0xFFFFFFFFu);
        if (row >= sheet.rows || col >= kMaxColumns) {
            throw DamagedXls();
        }
        if (!sheet.cells.emplace(key, DecodeCell(r, limits, budget)).second) {
            throw DamagedXls();  // the same cell twice
        }
    }
    return sheet;
}

WorkbookData DecodeBook(Reader& r, const WorkbookLimits& limits) {
    WorkbookData book;
    const auto names = r.Get<std::uint32_t>();
    if (names > kMaxSheets) {
        throw DamagedXls();
    }
    for (std::uint32_t i = 0; i < names; ++i) {
        book.sheetNames.push_back(r.Text(kNameBytes));
    }
    const auto sheets = r.Get<std::uint32_t>();
    if (sheets > names) {
        throw DamagedXls();
    }
    Budget budget;
    std::unordered_set<std::string> seen;
    for (std::uint32_t i = 0; i < sheets; ++i) {
        SheetData sheet = DecodeSheet(r, limits, budget);
        // Each sheet read is one of the workbook's, and only once.
        if (!seen.insert(sheet.name).second ||
            std::find(book.sheetNames.begin(), book.sheetNames.end(), sheet.name) ==
                book.sheetNames.end()) {
            throw DamagedXls();
        }
        book.sheets.push_back(std::move(sheet));
    }
    if (!r.AtEnd()) {
        throw DamagedXls();
    }
    return book;
}

// A refusal the user reads: short, UTF-8, without control characters.
std::string DecodeRefusal(std::string_view reply) {
    const std::string_view message = reply.substr(1);
    if (message.empty() || message.size() > kMessageBytes || !IsUtf8(message)) {
        throw DamagedXls();
    }
    for (const char c : message) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            throw DamagedXls();
        }
    }
    return std::string(message);
}

bool ParseCount(const std::string& text, std::size_t& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() && out > 0;
}

}  // namespace

std::vector<std::string> ReaderArguments(const std::vector<std::string>& wanted,
                                         const WorkbookLimits& limits) {
    std::vector<std::string> args = {std::to_string(limits.cells), std::to_string(limits.textBytes),
                                     std::to_string(limits.totalBytes)};
    args.insert(args.end(), wanted.begin(), wanted.end());
    return args;
}

bool ParseReaderArguments(const std::vector<std::string>& args, std::vector<std::string>& wanted,
                          WorkbookLimits& limits) {
    if (args.size() < 3 || !ParseCount(args[0], limits.cells) ||
        !ParseCount(args[1], limits.textBytes) || !ParseCount(args[2], limits.totalBytes)) {
        return false;
    }
    wanted.assign(args.begin() + 3, args.end());
    return true;
}

std::string EncodeBook(const WorkbookData& book) {
    std::string out = "K";
    const auto names = static_cast<std::uint32_t>(book.sheetNames.size());
    Put(out, &names, sizeof names);
    for (const std::string& n : book.sheetNames) {
        PutText(out, n);
    }
    const auto sheets = static_cast<std::uint32_t>(book.sheets.size());
    Put(out, &sheets, sizeof sheets);
    for (const SheetData& sheet : book.sheets) {
        PutText(out, sheet.name);
        const auto rows = static_cast<std::int32_t>(sheet.rows);
        const auto cells = static_cast<std::uint32_t>(sheet.cells.size());
        Put(out, &rows, sizeof rows);
        Put(out, &cells, sizeof cells);
        for (const auto& [key, cell] : sheet.cells) {
            Put(out, &key, sizeof key);
            const auto kind = static_cast<std::uint8_t>(cell.kind);
            Put(out, &kind, sizeof kind);
            Put(out, &cell.number, sizeof cell.number);
            PutText(out, cell.text);
        }
    }
    return out;
}

std::string EncodeRefusal(const std::string& message) {
    return "E" + message;
}

WorkbookData DecodeReply(std::string_view reply, const WorkbookLimits& limits) {
    if (reply.empty()) {
        throw DamagedXls();
    }
    if (reply[0] == 'E') {
        throw ReadError{DecodeRefusal(reply)};
    }
    if (reply[0] != 'K') {
        throw DamagedXls();
    }
    Reader r(reply);
    return DecodeBook(r, limits);
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > text.size()) {
            return false;
        }
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto f = static_cast<unsigned char>(text[i + k]);
            if ((f & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (f & 0x3F);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += n;
    }
    return true;
}

}  // namespace movik::workbook

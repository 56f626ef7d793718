#include "intake/Workbook.h"

#include <expat.h>
#include <fcntl.h>
#include <freexl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "document/FileIO.h"
#include "model/CroatianPlural.h"

// Whether this build runs under AddressSanitizer (GCC and clang say so differently).
#if defined(__SANITIZE_ADDRESS__)
#define MOVIK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOVIK_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef MOVIK_ADDRESS_SANITIZER
#define MOVIK_ADDRESS_SANITIZER 0
#endif

namespace movik {

namespace {

const SheetCell kEmptyCell;

std::uint64_t Key(int row, int col) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) |
           static_cast<std::uint32_t>(col);
}

// Excel's own bounds: 1,048,576 rows and 16,384 columns.
constexpr int kMaxRows = 1 << 20;
constexpr int kMaxColumns = 1 << 14;

// A failure while reading: its message for the user.
struct ReadError {
    std::string message;
};

const char* const kDamaged = "Radna knjiga je oštećena ili nepotpuna";
const char* const kEncrypted =
    "Radna knjiga je zaštićena lozinkom (šifrirana): spremite je u Excelu bez lozinke pa je "
    "uvezite ponovno";

std::string TooLarge(const std::string& what) {
    return "Radna knjiga je prevelika za uvoz (" + what + ")";
}

std::string Mib(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

bool StartsWith(std::string_view bytes, std::string_view magic) {
    return bytes.substr(0, magic.size()) == magic;
}

constexpr std::string_view kZipMagic("PK\x03\x04", 4);
constexpr std::string_view kCompoundMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

// An Office file saved with a password is a compound file holding "EncryptedPackage" (UTF-16).
bool IsEncryptedPackage(std::string_view bytes) {
    static const std::string name = [] {
        std::string n;
        for (char c : std::string_view("EncryptedPackage")) {
            n += c;
            n += '\0';
        }
        return n;
    }();
    return bytes.find(name) != std::string_view::npos;
}

// The local part of an XML name ("x:c" -> "c").
std::string_view Local(const XML_Char* name) {
    std::string_view n(name);
    const auto colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

const XML_Char* Attribute(const XML_Char** attrs, std::string_view local, bool prefixed = false) {
    for (int i = 0; attrs[i] != nullptr; i += 2) {
        const std::string_view n(attrs[i]);
        const bool hasPrefix = n.find(':') != std::string_view::npos;
        if (Local(attrs[i]) == local && hasPrefix == prefixed) {
            return attrs[i + 1];
        }
    }
    return nullptr;
}

// "B12" -> row 11, column 1; false for anything else.
bool ParseReference(std::string_view ref, int& row, int& col) {
    std::size_t i = 0;
    int c = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && i < 3) {
        c = c * 26 + (ref[i] - 'A' + 1);
        ++i;
    }
    if (i == 0 || i == ref.size()) {
        return false;
    }
    int r = 0;
    const auto [end, ec] = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
    if (ec != std::errc() || end != ref.data() + ref.size() || r < 1 || r > kMaxRows ||
        c > kMaxColumns) {
        return false;
    }
    row = r - 1;
    col = c - 1;
    return true;
}

// The characters of a piece of UTF-8 text: the bytes that start one (a character split
// between two pieces counts once).
std::size_t Characters(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string TextTooLong(const WorkbookLimits& limits) {
    return TooLarge("tekst dulji od " + std::to_string(limits.textBytes) + " znakova");
}

bool ParseNumber(std::string_view text, double& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out == out &&
           out - out == 0;  // finite
}

// ---- .xlsx -------------------------------------------------------------------------------------

class Zip {
  public:
    Zip(std::string_view bytes, const WorkbookLimits& limits) : limits_(limits) {
        zip_error_t err;
        zip_error_init(&err);
        zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &err);
        if (src != nullptr) {
            archive_ = zip_open_from_source(src, ZIP_RDONLY, &err);
            if (archive_ == nullptr) {
                zip_source_free(src);
            }
        }
        zip_error_fini(&err);
        if (archive_ == nullptr) {
            throw ReadError{kDamaged};
        }
    }
    ~Zip() {
        if (archive_ != nullptr) {
            zip_discard(archive_);
        }
    }
    Zip(const Zip&) = delete;
    Zip& operator=(const Zip&) = delete;

    bool Has(const std::string& name) const {
        return zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE) >= 0;
    }

    // Feeds the unpacked entry to sink in pieces; throws on damage, encryption or a limit.
    template <typename Sink>
    void Read(const std::string& name, Sink&& sink) {
        const zip_int64_t index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
        if (index < 0) {
            throw ReadError{std::string(kDamaged) + ": nedostaje dio " + name};
        }
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
            throw ReadError{kDamaged};
        }
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && st.encryption_method != ZIP_EM_NONE) {
            throw ReadError{kEncrypted};
        }
        if ((st.valid & ZIP_STAT_SIZE) != 0 && st.size > limits_.entryBytes) {
            throw ReadError{TooLarge("dio " + name + " ima više od " + Mib(limits_.entryBytes))};
        }
        zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
        if (file == nullptr) {
            const int code = zip_error_code_zip(zip_get_error(archive_));
            throw ReadError{code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_NOPASSWD ? kEncrypted
                                                                                  : kDamaged};
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> guard(file, zip_fclose);
        std::size_t entry = 0;
        char buffer[1 << 15];
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
            if (n < 0) {
                throw ReadError{kDamaged};
            }
            if (n == 0) {
                break;
            }
            entry += static_cast<std::size_t>(n);
            total_ += static_cast<std::size_t>(n);
            if (entry > limits_.entryBytes) {
                throw ReadError{
                    TooLarge("dio " + name + " ima više od " + Mib(limits_.entryBytes))};
            }
            if (total_ > limits_.totalBytes) {
                throw ReadError{TooLarge("raspakirano više od " + Mib(limits_.totalBytes))};
            }
            sink(std::string_view(buffer, static_cast<std::size_t>(n)), false);
        }
        sink(std::string_view(), true);
    }

  private:
    const WorkbookLimits& limits_;
    zip_t* archive_ = nullptr;
    std::size_t total_ = 0;
};

// One expat parser over one part; the handler object gets start, end and character data.
template <typename Handler>
void ParseXml(Zip& zip, const std::string& name, Handler& handler) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) {
        throw ReadError{"Nedovoljno memorije za čitanje radne knjige"};
    }
    std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> guard(parser, XML_ParserFree);
    handler.parser = parser;
    XML_SetUserData(parser, &handler);
    XML_SetElementHandler(
        parser,
        [](void* h, const XML_Char* n, const XML_Char** a) {
            static_cast<Handler*>(h)->Start(Local(n), a);
        },
        [](void* h, const XML_Char* n) { static_cast<Handler*>(h)->End(Local(n)); });
    XML_SetCharacterDataHandler(parser, [](void* h, const XML_Char* s, int len) {
        static_cast<Handler*>(h)->Text(std::string_view(s, static_cast<std::size_t>(len)));
    });
    // A workbook part has no document type; one with a DTD is refused before any entity grows.
    XML_SetStartDoctypeDeclHandler(
        parser, [](void* h, const XML_Char*, const XML_Char*, const XML_Char*, int) {
            Handler* self = static_cast<Handler*>(h);
            self->failure = kDamaged;
            XML_StopParser(self->parser, XML_FALSE);
        });
    zip.Read(name, [&](std::string_view piece, bool last) {
        if (XML_Parse(parser, piece.data(), static_cast<int>(piece.size()),
                      last ? XML_TRUE : XML_FALSE) == XML_STATUS_ERROR) {
            if (!handler.failure.empty()) {
                throw ReadError{handler.failure};
            }
            throw ReadError{std::string(kDamaged) + " (neispravan XML u dijelu " + name + ")"};
        }
    });
}

struct HandlerBase {
    XML_Parser parser = nullptr;
    std::string failure;  // set before stopping the parser
    void Stop(std::string message) {
        failure = std::move(message);
        XML_StopParser(parser, XML_FALSE);
    }
};

struct WorkbookPart : HandlerBase {
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relationship id
    void Start(std::string_view name, const XML_Char** a) {
        if (name != "sheet") {
            return;
        }
        const XML_Char* sheetName = Attribute(a, "name");
        const XML_Char* id = Attribute(a, "id", true);
        if (sheetName != nullptr && id != nullptr && sheets.size() < 4096) {
            sheets.emplace_back(sheetName, id);
        }
    }
    void End(std::string_view) {}
    void Text(std::string_view) {}
};

struct RelationshipsPart : HandlerBase {
    std::map<std::string, std::string> targets;  // id -> target
    void Start(std::string_view name, const XML_Char** a) {
        if (name != "Relationship") {
            return;
        }
        const XML_Char* id = Attribute(a, "Id");
        const XML_Char* target = Attribute(a, "Target");
        if (id != nullptr && target != nullptr && targets.size() < 4096) {
            targets[id] = target;
        }
    }
    void End(std::string_view) {}
    void Text(std::string_view) {}
};

struct SharedStringsPart : HandlerBase {
    const WorkbookLimits* limits = nullptr;
    std::vector<std::string> strings;
    bool inItem = false;
    int phonetic = 0;  // inside <rPh>, whose text is a reading aid, not the value
    bool inText = false;
    std::string current;
    std::size_t currentCharacters = 0;
    void Start(std::string_view name, const XML_Char**) {
        if (name == "si") {
            inItem = true;
            current.clear();
            currentCharacters = 0;
        } else if (name == "rPh") {
            ++phonetic;
        } else if (name == "t" && inItem && phonetic == 0) {
            inText = true;
        }
    }
    void End(std::string_view name) {
        if (name == "si") {
            inItem = false;
            if (strings.size() >= limits->sharedStrings) {
                Stop(TooLarge("više od " + std::to_string(limits->sharedStrings) + " tekstova"));
                return;
            }
            strings.push_back(std::move(current));
            current.clear();
        } else if (name == "rPh") {
            --phonetic;
        } else if (name == "t") {
            inText = false;
        }
    }
    void Text(std::string_view s) {
        if (!inText) {
            return;
        }
        currentCharacters += Characters(s);
        if (currentCharacters > limits->textBytes) {
            Stop(TextTooLong(*limits));
            return;
        }
        current += s;
    }
};

struct SheetPart : HandlerBase {
    const WorkbookLimits* limits = nullptr;
    const std::vector<std::string>* shared = nullptr;
    SheetData* sheet = nullptr;
    std::size_t* cellCount = nullptr;
    // The bytes of every cell text kept so far: a short shared text named by many cells is
    // copied into each, so the cells together are bounded as the unpacked parts are.
    std::size_t* textBytes = nullptr;

    int row = -1;
    int col = -1;
    bool inCell = false;
    std::string type;
    bool hasFormula = false;
    bool hasValue = false;
    bool inValue = false;
    bool inInline = false;
    bool inInlineText = false;
    bool inFormula = false;
    std::string value;
    std::string inlineText;
    std::string formula;         // kept for a formula without its result
    std::size_t characters = 0;  // of the text being read

    void Start(std::string_view name, const XML_Char** a) {
        if (name == "row") {
            const XML_Char* r = Attribute(a, "r");
            int n = 0;
            if (r != nullptr) {
                const std::string_view rs(r);
                const auto [end, ec] = std::from_chars(rs.data(), rs.data() + rs.size(), n);
                if (ec != std::errc() || end != rs.data() + rs.size() || n < 1 || n > kMaxRows) {
                    Stop(std::string(kDamaged) + " (neispravan broj retka)");
                    return;
                }
                row = n - 1;
            } else {
                ++row;
            }
            col = -1;
        } else if (name == "c") {
            inCell = true;
            hasFormula = hasValue = false;
            value.clear();
            inlineText.clear();
            formula.clear();
            const XML_Char* t = Attribute(a, "t");
            type = t != nullptr ? t : "n";
            const XML_Char* r = Attribute(a, "r");
            int rr = row;
            int cc = col + 1;
            if (r != nullptr && !ParseReference(r, rr, cc)) {
                Stop(std::string(kDamaged) + " (neispravna adresa ćelije)");
                return;
            }
            if (rr < 0 || cc >= kMaxColumns) {
                Stop(std::string(kDamaged) + " (neispravna adresa ćelije)");
                return;
            }
            row = rr;
            col = cc;
        } else if (!inCell) {
            return;
        } else if (name == "f") {
            hasFormula = true;
            inFormula = true;
            characters = 0;
        } else if (name == "v") {
            inValue = true;
            hasValue = true;
            characters = 0;
        } else if (name == "is") {
            inInline = true;
        } else if (name == "t" && inInline) {
            inInlineText = true;
            characters = 0;
        }
    }

    void End(std::string_view name) {
        if (name == "v") {
            inValue = false;
        } else if (name == "f") {
            inFormula = false;
        } else if (name == "t") {
            inInlineText = false;
        } else if (name == "is") {
            inInline = false;
        } else if (name == "c" && inCell) {
            inCell = false;
            Finish();
        }
    }

    void Text(std::string_view s) {
        std::string* target = inValue        ? &value
                              : inInlineText ? &inlineText
                              : inFormula    ? &formula
                                             : nullptr;
        if (target == nullptr) {
            return;
        }
        characters += Characters(s);
        if (characters > limits->textBytes) {
            Stop(TextTooLong(*limits));
            return;
        }
        *target += s;
    }

    void Finish() {
        SheetCell cell;
        if (type == "inlineStr") {
            cell.kind = SheetCell::Kind::Text;
            cell.text = std::move(inlineText);
        } else if (!hasValue || value.find_first_not_of(" \t\r\n") == std::string::npos) {
            // No result, or an empty one (<v></v>, <v/>, an empty text) as programs other
            // than Excel write it: a formula's result to be computed, or an empty cell.
            if (!hasFormula) {
                return;  // a formatted empty cell
            }
            cell.kind = SheetCell::Kind::FormulaNoValue;
            cell.text = std::move(formula);
        } else if (type == "s") {
            std::size_t index = 0;
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), index);
            if (ec != std::errc() || end != value.data() + value.size() ||
                index >= shared->size()) {
                Stop(std::string(kDamaged) + " (ćelija " + ColumnName(col) +
                     std::to_string(row + 1) + " upućuje na nepostojeći tekst)");
                return;
            }
            cell.kind = SheetCell::Kind::Text;
            cell.text = (*shared)[index];
        } else if (type == "str" || type == "d") {
            cell.kind = SheetCell::Kind::Text;
            cell.text = std::move(value);
        } else if (type == "e") {
            cell.kind = SheetCell::Kind::Error;
            cell.text = std::move(value);
        } else if (type == "b" || type == "n") {
            if (!ParseNumber(value, cell.number)) {
                Stop(std::string(kDamaged) + " (ćelija " + ColumnName(col) +
                     std::to_string(row + 1) + " nema ispravan broj)");
                return;
            }
            cell.kind = SheetCell::Kind::Number;
        } else {
            Stop(std::string(kDamaged) + " (nepoznata vrsta ćelije)");
            return;
        }
        if (++*cellCount > limits->cells) {
            Stop(TooLarge("više od " + std::to_string(limits->cells) + " ćelija"));
            return;
        }
        *textBytes += cell.text.size();
        if (*textBytes > limits->totalBytes) {
            Stop(TooLarge("tekstovi ćelija zajedno veći od " + Mib(limits->totalBytes)));
            return;
        }
        sheet->rows = std::max(sheet->rows, row + 1);
        sheet->cells[Key(row, col)] = std::move(cell);
    }
};

// A relationship's target as a part name: relative to xl/, or absolute from the package root.
std::string PartName(const std::string& target) {
    if (!target.empty() && target[0] == '/') {
        return target.substr(1);
    }
    std::string t = target;
    std::string base = "xl/";
    while (t.rfind("../", 0) == 0) {
        t = t.substr(3);
        base.clear();
    }
    return base + t;
}

bool Wanted(const std::vector<std::string>& wanted, const std::string& name) {
    return wanted.empty() || std::find(wanted.begin(), wanted.end(), name) != wanted.end();
}

WorkbookData ReadXlsx(std::string_view bytes, const std::vector<std::string>& wanted,
                      const WorkbookLimits& limits) {
    Zip zip(bytes, limits);
    if (!zip.Has("xl/workbook.xml")) {
        throw ReadError{"Datoteka je zip arhiva, ali nije radna knjiga programa Excel (.xlsx)"};
    }
    WorkbookPart workbook;
    ParseXml(zip, "xl/workbook.xml", workbook);
    RelationshipsPart rels;
    if (zip.Has("xl/_rels/workbook.xml.rels")) {
        ParseXml(zip, "xl/_rels/workbook.xml.rels", rels);
    }
    SharedStringsPart shared;
    shared.limits = &limits;
    WorkbookData book;
    bool sharedRead = false;
    std::size_t cellCount = 0;
    std::size_t textBytes = 0;
    for (const auto& [name, id] : workbook.sheets) {
        book.sheetNames.push_back(name);
        if (!Wanted(wanted, name) || book.Find(name) != nullptr) {
            continue;
        }
        const auto target = rels.targets.find(id);
        if (target == rels.targets.end()) {
            throw ReadError{std::string(kDamaged) + ": nedostaje list " + name};
        }
        if (!sharedRead) {
            sharedRead = true;
            if (zip.Has("xl/sharedStrings.xml")) {
                ParseXml(zip, "xl/sharedStrings.xml", shared);
            }
        }
        SheetData sheet;
        sheet.name = name;
        SheetPart part;
        part.limits = &limits;
        part.shared = &shared.strings;
        part.sheet = &sheet;
        part.cellCount = &cellCount;
        part.textBytes = &textBytes;
        ParseXml(zip, PartName(target->second), part);
        book.sheets.push_back(std::move(sheet));
    }
    return book;
}

// ---- .xls --------------------------------------------------------------------------------------

using XlsHandle = std::unique_ptr<const void, int (*)(const void*)>;

ReadError DamagedXls() {
    return ReadError{std::string(kDamaged) + " (.xls)"};
}

// Opens an .xls workbook that is neither damaged nor encrypted; *count gets its sheet count.
XlsHandle OpenXls(const std::string& path, unsigned int& count) {
    const void* handle = nullptr;
    const int rc = freexl_open(path.c_str(), &handle);
    XlsHandle guard(handle, freexl_close);
    if (rc == FREEXL_INSUFFICIENT_MEMORY) {
        throw ReadError{"Nedovoljno memorije za čitanje radne knjige"};
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
            if (Characters(cell.text) > limits.textBytes) {
                throw ReadError{TextTooLong(limits)};
            }
            return cell;
        default:
            return std::nullopt;
    }
}

// The cells of sheet `index`, within the limits (cellCount counts across the workbook).
SheetData ReadXlsSheet(const void* handle, unsigned short index, const char* name,
                       const WorkbookLimits& limits, std::size_t& cellCount) {
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
            if (++cellCount > limits.cells) {
                throw ReadError{TooLarge("više od " + std::to_string(limits.cells) + " ćelija")};
            }
            sheet.rows = std::max(sheet.rows, static_cast<int>(r) + 1);
            sheet.cells[Key(static_cast<int>(r), c)] = std::move(*cell);
        }
    }
    return sheet;
}

WorkbookData ReadXlsHere(const std::string& path, const std::vector<std::string>& wanted,
                         const WorkbookLimits& limits) {
    unsigned int count = 0;
    const XlsHandle handle = OpenXls(path, count);
    WorkbookData book;
    std::size_t cellCount = 0;
    for (unsigned int s = 0; s < count && s < 4096; ++s) {
        const auto index = static_cast<unsigned short>(s);
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle.get(), index, &name) != FREEXL_OK || name == nullptr) {
            throw DamagedXls();
        }
        book.sheetNames.emplace_back(name);
        if (!Wanted(wanted, name) || book.Find(name) != nullptr) {
            continue;
        }
        book.sheets.push_back(ReadXlsSheet(handle.get(), index, name, limits, cellCount));
    }
    return book;
}

// FreeXL 1.0.6 reads out of bounds on some damaged files (found by fuzzing), so it runs in a
// child process: a crash, a hang or a runaway allocation there is a damaged file here. The
// child sends the cells back through a pipe; glibc keeps malloc usable in a forked child.
void Put(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}
void PutText(std::string& out, const std::string& text) {
    const auto n = static_cast<std::uint32_t>(text.size());
    Put(out, &n, sizeof n);
    out += text;
}

std::string Serialize(const WorkbookData& book) {
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
        const auto cells = static_cast<std::uint32_t>(sheet.cells.size());
        Put(out, &sheet.rows, sizeof sheet.rows);
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
    std::string Text() {
        const auto n = Get<std::uint32_t>();
        Need(n);
        std::string t(bytes_.substr(at_, n));
        at_ += n;
        return t;
    }

  private:
    void Need(std::size_t n) {
        if (bytes_.size() - at_ < n) {
            throw DamagedXls();
        }
    }
    std::string_view bytes_;
    std::size_t at_ = 1;  // after the outcome's letter
};

WorkbookData Deserialize(std::string_view bytes) {
    Reader r(bytes);
    WorkbookData book;
    const auto names = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < names; ++i) {
        book.sheetNames.push_back(r.Text());
    }
    const auto sheets = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < sheets; ++i) {
        SheetData sheet;
        sheet.name = r.Text();
        sheet.formulaResultsKnown = false;
        sheet.rows = r.Get<int>();
        const auto cells = r.Get<std::uint32_t>();
        for (std::uint32_t c = 0; c < cells; ++c) {
            const auto key = r.Get<std::uint64_t>();
            SheetCell cell;
            cell.kind = static_cast<SheetCell::Kind>(r.Get<std::uint8_t>());
            cell.number = r.Get<double>();
            cell.text = r.Text();
            sheet.cells[key] = std::move(cell);
        }
        book.sheets.push_back(std::move(sheet));
    }
    return book;
}

// The child's side: reads the workbook, writes the cells (or "E" and the refusal) to fd and ends.
[[noreturn]] void ReadXlsInChild(int fd, const std::string& path,
                                 const std::vector<std::string>& wanted,
                                 const WorkbookLimits& limits) {
    // Bounded: the child may take ten seconds of processor and a gigabyte of memory.
    const rlimit cpu{10, 10};
    ::setrlimit(RLIMIT_CPU, &cpu);
    // A child stopped at its limit or by a fault leaves no core file behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if !MOVIK_ADDRESS_SANITIZER
    // (Under AddressSanitizer the address space already holds its shadow memory, far beyond
    // any such limit, so the limit is left to the processor time there.)
    const rlimit memory{1ul << 30, 1ul << 30};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    std::string out;
    try {
        out = Serialize(ReadXlsHere(path, wanted, limits));
    } catch (const ReadError& e) {
        out = "E" + e.message;
    } catch (...) {
        ::_exit(3);
    }
    for (std::size_t done = 0; done < out.size();) {
        const ssize_t n = ::write(fd, out.data() + done, out.size() - done);
        if (n <= 0) {
            ::_exit(4);
        }
        done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
}

// What the parent took from the child's pipe.
struct ChildOutput {
    std::string bytes;
    bool tooMuch = false;  // more than the workbook may unpack to: the child was stopped
    bool hung = false;     // nothing for 30 seconds: the child was stopped
};

// Reads the child's output until it ends, stopping the child when it sends too much or hangs.
ChildOutput ReadFromChild(int fd, pid_t child, const WorkbookLimits& limits) {
    ChildOutput out;
    char buffer[1 << 15];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        // A child that waits on something forever is stopped after 30 seconds.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            out.hung = true;
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        out.bytes.append(buffer, static_cast<std::size_t>(n));
        if (out.bytes.size() > limits.totalBytes) {
            out.tooMuch = true;
            ::kill(child, SIGKILL);
            break;
        }
    }
    return out;
}

WorkbookData ReadXls(const std::string& path, const std::vector<std::string>& wanted,
                     const WorkbookLimits& limits) {
    int fds[2];
    pid_t child = -1;
    {
        // Workbooks read on several threads at once: a child forked while another reader's pipe
        // is open would hold its write end, and that reader would see no end until the other
        // child ended. The pipe, the fork and the parent's close of the write end go together.
        static std::mutex forking;
        const std::lock_guard lock(forking);
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            throw ReadError{"Radnu knjigu nije moguće pročitati"};
        }
        child = ::fork();
        if (child < 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            throw ReadError{"Radnu knjigu nije moguće pročitati"};
        }
        if (child == 0) {
            ::close(fds[0]);
            ReadXlsInChild(fds[1], path, wanted, limits);
        }
        ::close(fds[1]);
    }
    const ChildOutput in = ReadFromChild(fds[0], child, limits);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (in.tooMuch) {
        throw ReadError{TooLarge("raspakirano više od " + Mib(limits.totalBytes))};
    }
    if (in.hung || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || in.bytes.empty()) {
        throw DamagedXls();
    }
    if (in.bytes[0] == 'E') {
        throw ReadError{in.bytes.substr(1)};
    }
    return Deserialize(in.bytes);
}

// FreeXL reads only named files: bytes in memory go through an anonymous memory file.
WorkbookData ReadXlsBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                          const WorkbookLimits& limits) {
    const int fd = ::memfd_create("movik-xls", MFD_CLOEXEC);
    if (fd < 0) {
        throw ReadError{"Radnu knjigu nije moguće pročitati"};
    }
    std::unique_ptr<int, void (*)(int*)> guard(new int(fd), [](int* p) {
        ::close(*p);
        delete p;
    });
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw ReadError{"Radnu knjigu nije moguće pročitati"};
        }
        done += static_cast<std::size_t>(n);
    }
    return ReadXls("/proc/self/fd/" + std::to_string(fd), wanted, limits);
}

WorkbookRead Outcome(const std::function<WorkbookData()>& read) {
    WorkbookRead out;
    try {
        out.book = read();
        out.ok = true;
    } catch (const ReadError& e) {
        out.error = e.message;
    } catch (const std::bad_alloc&) {
        out.error = "Nedovoljno memorije za čitanje radne knjige";
    }
    return out;
}

}  // namespace

const SheetCell& SheetData::At(int row, int col) const {
    const auto it = cells.find(Key(row, col));
    return it == cells.end() ? kEmptyCell : it->second;
}

const SheetData* WorkbookData::Find(std::string_view name) const {
    for (const SheetData& s : sheets) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

std::string ColumnName(int col) {
    std::string name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return name;
}

WorkbookRead ReadWorkbookBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                               const WorkbookLimits& limits) {
    return Outcome([&]() -> WorkbookData {
        if (bytes.size() > limits.fileBytes) {
            throw ReadError{TooLarge("datoteka veća od " + Mib(limits.fileBytes))};
        }
        if (StartsWith(bytes, kZipMagic)) {
            return ReadXlsx(bytes, wanted, limits);
        }
        if (StartsWith(bytes, kCompoundMagic)) {
            if (IsEncryptedPackage(bytes)) {
                throw ReadError{kEncrypted};
            }
            return ReadXlsBytes(bytes, wanted, limits);
        }
        throw ReadError{"Datoteka nije radna knjiga programa Excel (.xlsx ili .xls)"};
    });
}

WorkbookRead ReadWorkbookFile(const std::string& path, const std::vector<std::string>& wanted,
                              const WorkbookLimits& limits) {
    WorkbookRead out;
    // One byte past the limit tells a file that is too large; a pipe or device is refused
    // before it is opened, so that it cannot block the reading.
    const ReadOutcome read = ReadFileStart(path, limits.fileBytes + 1);
    if (read.status == ReadStatus::Missing) {
        out.error = MissingFileMessage(path);
        return out;
    }
    if (read.status != ReadStatus::Read) {
        out.error = CannotOpenMessage(path);
        return out;
    }
    const std::string& bytes = read.bytes;
    if (bytes.size() > limits.fileBytes) {
        out.error = TooLarge("datoteka veća od " + Mib(limits.fileBytes));
        return out;
    }
    // An .xls is read by FreeXL from its own path, so the bytes are not copied again.
    if (StartsWith(bytes, kCompoundMagic) && !IsEncryptedPackage(bytes)) {
        return Outcome([&] { return ReadXls(path, wanted, limits); });
    }
    return ReadWorkbookBytes(bytes, wanted, limits);
}

}  // namespace movik

#include "intake/XlsxReader.h"

#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>

#include "intake/WorkbookLimits.h"

namespace movik::workbook {

namespace {

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

}  // namespace

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

}  // namespace movik::workbook

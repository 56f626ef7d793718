#include "intake/Workbook.h"

#include <functional>

#include "document/FileIO.h"
#include "intake/WorkbookLimits.h"
#include "intake/XlsReader.h"
#include "intake/XlsxReader.h"

namespace movik {

namespace {

using namespace workbook;

const SheetCell kEmptyCell;

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

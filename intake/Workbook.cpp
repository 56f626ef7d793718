#include "intake/Workbook.h"

#include <functional>

#include "document/FileIO.h"
#include "intake/WorkbookLimits.h"
#include "intake/XlsReader.h"
#include "intake/XlsxReader.h"

namespace movik {

namespace {

using namespace workbook;

bool StartsWith(std::string_view bytes, std::string_view magic) {
    return bytes.substr(0, magic.size()) == magic;
}

constexpr std::string_view kZipMagic("PK\x03\x04", 4);
constexpr std::string_view kCompoundMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

WorkbookRead Outcome(const std::function<WorkbookData()>& read) {
    WorkbookRead out;
    try {
        out.book = read();
        out.ok = true;
    } catch (const ReadError& e) {
        out.error = e.message;
    } catch (const std::bad_alloc&) {
        out.error = kNoMemory;
    }
    return out;
}

}  // namespace

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
    return ReadWorkbookBytes(bytes, wanted, limits);
}

}  // namespace movik

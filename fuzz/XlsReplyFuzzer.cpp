// Arbitrary bytes as the .xls reader program's reply, decoded by the caller (the reply comes
// from a process that reads hostile files). Properties: a refusal says why; a decoded book keeps
// the limits (cells, texts in UTF-8, cells within their sheets) and encodes back to a reply that
// decodes to the same book.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"

using namespace movik;
using namespace movik::workbook;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    WorkbookLimits limits;
    // Small enough that the fuzzer reaches them, large enough for the seed form's reply.
    limits.cells = 5000;
    limits.textBytes = 2048;
    limits.totalBytes = 1 << 20;
    WorkbookData book;
    try {
        book = DecodeReply(reply, limits);
    } catch (const ReadError& e) {
        MOVIK_FUZZ_CHECK(!e.message.empty() && IsUtf8(e.message), "a refusal says why");
        return 0;
    }
    std::size_t cells = 0;
    for (const SheetData& sheet : book.sheets) {
        cells += sheet.cells.size();
        for (const auto& [key, cell] : sheet.cells) {
            MOVIK_FUZZ_CHECK(static_cast<int>(key >> 32) < sheet.rows, "a cell within its rows");
            MOVIK_FUZZ_CHECK(cell.kind == SheetCell::Kind::Number ? std::isfinite(cell.number)
                                                                  : IsUtf8(cell.text),
                             "a finite number or a UTF-8 text");
        }
    }
    MOVIK_FUZZ_CHECK(cells <= limits.cells, "no more cells than the limit");
    const WorkbookData again = DecodeReply(EncodeBook(book), limits);
    MOVIK_FUZZ_CHECK(
        again.sheetNames == book.sheetNames && again.sheets.size() == book.sheets.size(),
        "a decoded book encodes back to the same book");
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        MOVIK_FUZZ_CHECK(again.sheets[i].cells.size() == book.sheets[i].cells.size() &&
                             again.sheets[i].rows == book.sheets[i].rows,
                         "a decoded sheet encodes back to the same sheet");
    }
    return 0;
}

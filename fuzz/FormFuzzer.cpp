// Arbitrary bytes read as a workbook as the caller takes them and, when one is read, as the
// official annual form (seeds: .xlsx forms and .xls files). An .xlsx is read here; an .xls goes
// through the caller's look at the compound file and is then handed to the reader program,
// which the fuzz build does not have (its code is fuzz_xls's). Properties: FormProperties.h.

#include <cstdint>
#include <string_view>

#include "FormProperties.h"

using namespace movik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::CheckWorkbookAndForm(ReadWorkbookBytes(bytes, FormSheets()));
    return 0;
}

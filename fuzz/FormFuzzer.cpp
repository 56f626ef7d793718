// Arbitrary bytes read as a workbook and, when one is read, as the official annual form: built
// twice, as fuzz_xlsx (seeds: .xlsx forms) and fuzz_xls (seeds: .xls forms). Properties: a
// refusal always says why; a form that is read reconciles every total of its years with finite
// amounts, and every difference it reports is beyond its tolerance or explained.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "intake/OfficialForm.h"

using namespace movik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const WorkbookRead read = ReadWorkbookBytes(bytes, FormSheets());
    if (!read.ok) {
        MOVIK_FUZZ_CHECK(!read.error.empty(), "a refused workbook says why");
        return 0;
    }
    const OfficialForm form = ReadOfficialForm(read.book, 2024);
    if (!form.ok) {
        MOVIK_FUZZ_CHECK(!form.error.empty(), "a refused form says why");
        return 0;
    }
    const std::vector<ReconciliationLine> lines = Reconcile(form, form.document);
    MOVIK_FUZZ_CHECK(lines.size() == 10, "ten reconciled totals");
    for (const ReconciliationLine& l : lines) {
        MOVIK_FUZZ_CHECK(std::isfinite(l.movik) && std::isfinite(l.form), "finite totals");
    }
    for (const FormDifference& d : form.differences) {
        MOVIK_FUZZ_CHECK(!d.remark.empty() || std::fabs(d.stated - d.computed) > form.tolerance,
                         "a reported difference is beyond the tolerance");
    }
    return 0;
}

#pragma once
// What the workbook targets check of a workbook that was read: a refusal says why; a form that
// is read reconciles every total of its years with finite amounts, and every difference it
// reports is beyond its tolerance or explained.

#include <cmath>

#include "FuzzSupport.h"
#include "intake/OfficialForm.h"

namespace movik::fuzz {

inline void CheckWorkbookAndForm(const WorkbookRead& read) {
    if (!read.ok) {
        MOVIK_FUZZ_CHECK(!read.error.empty(), "a refused workbook says why");
        return;
    }
    const OfficialForm form = ReadOfficialForm(read.book, 2024);
    if (!form.ok) {
        MOVIK_FUZZ_CHECK(!form.error.empty(), "a refused form says why");
        return;
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
}

}  // namespace movik::fuzz

#pragma once
// The five statement templates, compiled in and never modified.

#include "model/Statements.h"

namespace movik {

// Template row n (1 <= n <= RowCount(s)) of statement s.
const TPozicija& TemplateRow(Statement s, int n);

}  // namespace movik

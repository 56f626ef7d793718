// Start-up marks: with MOVIK_STARTUP_TRACE set in the environment, each mark prints to standard
// error the milliseconds since the process started (as the kernel counts it) and its name.
// Without the variable a mark costs one cached test.
#pragma once

namespace movik {

void StartupMark(const char* name);

}  // namespace movik

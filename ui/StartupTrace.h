// Start-up marks: with MOVIK_STARTUP_TRACE set in the environment, each mark prints to standard
// error the milliseconds since the process started and the CPU time of the calling thread, and
// its name. The start is the kernel's (10 ms steps) unless a launcher passes its own moment in
// MOVIK_STARTUP_T0 (CLOCK_MONOTONIC, nanoseconds). MOVIK_STARTUP_QUIT_AT=NAME ends the program
// at that mark, to profile the start-up alone. Without the variables a mark costs one cached
// test.
#pragma once

namespace movik {

void StartupMark(const char* name);

}  // namespace movik

#pragma once
// movik-cli summary: one row per document of many, in path order, spread over the cores.

namespace movik::cli {

// Runs "summary" with the arguments after the command name; returns the exit code: 0 when every
// document was read, 1 when any failed, 2 for a usage or output error (one line on stderr).
int RunSummary(int argc, char** argv);

}  // namespace movik::cli

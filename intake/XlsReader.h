#pragma once
// The caller's side of reading an .xls: the compound file checked first, then the reader
// program (intake/xls-reader/) started with posix_spawn for each workbook, and its reply decoded.

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

// Throws ReadError with the user's message on damage, a password or a limit.
WorkbookData ReadXlsBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                          const WorkbookLimits& limits);

// The reader program: beside the caller's own program, or in ../lib/ARCH/movik/ from it (where
// it is installed, and where the build puts it); empty when it is nowhere.
const std::string& XlsReaderProgram();

// What a child program gave back.
struct ChildRun {
    bool started = false;
    bool exitedCleanly = false;  // ended by itself with exit status 0
    bool tooMuch = false;        // wrote more than maxOutput: stopped
    bool hung = false;           // did not end in time: stopped
    std::string output;
};

// Runs program with args, input as its standard input and a pipe as its standard output;
// every other descriptor of the caller is closed in the child, its signals at their defaults.
// posix_spawn, so it is safe from a threaded caller of any size.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& args, int input,
                  std::size_t maxOutput, std::chrono::milliseconds timeout);

}  // namespace movik::workbook

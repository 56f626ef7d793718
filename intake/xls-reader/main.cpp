// movik-xls-reader: reads the .xls workbook on its standard input with FreeXL and writes the
// cells, or its refusal, to its standard output (intake/XlsProtocol.h). The workbook reader
// starts it for each .xls as a process of its own: a fresh address space with its own limits,
// whatever the caller's size or threads, and FreeXL's faults on damaged files (it reads out of
// bounds on some) end here, as a damaged file for the caller.
//   movik-xls-reader CELLS TEXT-BYTES TOTAL-BYTES [SHEET...] <WORKBOOK.xls
// Exit 0 with a reply written, 2 for wrong arguments, 4 when the reply could not be written.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"
#include "intake/xls-reader/XlsSheets.h"

// Whether this build runs under AddressSanitizer (GCC and clang say so differently).
#if defined(__SANITIZE_ADDRESS__)
#define MOVIK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOVIK_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef MOVIK_ADDRESS_SANITIZER
#define MOVIK_ADDRESS_SANITIZER 0
#endif

namespace {

// Lowers one limit to at most `most` (never above the hard limit the caller left).
void Limit(int resource, rlim_t most) {
    rlimit current{};
    if (::getrlimit(resource, &current) != 0) {
        return;
    }
    const rlim_t value =
        current.rlim_max == RLIM_INFINITY || current.rlim_max > most ? most : current.rlim_max;
    const rlimit lowered{value, value};
    ::setrlimit(resource, &lowered);
}

// Ten seconds of processor, no core file when a limit or a fault stops the reading, and a
// gigabyte of address space of its own (a form takes a few megabytes). Under AddressSanitizer
// the address space already holds its shadow memory, far beyond any such limit, so the memory
// is left to the caller's watch of the reply's size there.
void LimitSelf() {
    Limit(RLIMIT_CPU, 10);
    Limit(RLIMIT_CORE, 0);
    if (!MOVIK_ADDRESS_SANITIZER) {
        Limit(RLIMIT_AS, rlim_t{1} << 30);
    }
}

bool WriteAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace movik;
    using namespace movik::workbook;
    LimitSelf();
    // Nothing but the workbook, the reply and the error stream stays open.
    ::close_range(3, ~0U, 0);
    std::vector<std::string> wanted;
    WorkbookLimits limits;
    if (!ParseReaderArguments(std::vector<std::string>(argv + 1, argv + argc), wanted, limits)) {
        std::fputs(
            "Uporaba: movik-xls-reader ĆELIJE BAJTOVI-TEKSTA UKUPNO-BAJTOVA [LIST...] "
            "<RADNA-KNJIGA.xls\n",
            stderr);
        return 2;
    }
    std::string reply;
    try {
        // FreeXL opens by name: the standard input's own name, seekable as a file or a memfd.
        reply = EncodeBook(ReadXlsSheets(*OpenWithFreeXl("/proc/self/fd/0"), wanted, limits));
    } catch (const ReadError& e) {
        reply = EncodeRefusal(e.message);
    } catch (const std::bad_alloc&) {
        reply = EncodeRefusal(kNoMemory);
    }
    return WriteAll(STDOUT_FILENO, reply) ? 0 : 4;
}

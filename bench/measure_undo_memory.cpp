// The memory the undo history holds: opens a document, makes N cell edits (each one undo step)
// and reports the heap in use and the resident size they added, then the same after undoing
// them all.   measure_undo_memory DOCUMENT [N]   (N defaults to 2,000)

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "document/Workspace.h"
#include "model/Regional.h"

namespace {

// Bytes the allocator has handed out and not taken back (large blocks it maps on their own
// included).
long long HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
}

// VmRSS of this process, in bytes.
long long ResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long long kb = 0;
            status >> kb;
            return kb * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

void Report(const char* what, long long heap, long long resident, int steps) {
    std::printf("%-22s heap %+10.1f KB (%8.1f B/step)   resident %+10.1f KB\n", what,
                static_cast<double>(heap) / 1024, static_cast<double>(heap) / steps,
                static_cast<double>(resident) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Uporaba: measure_undo_memory DOKUMENT [N]\n");
        return 2;
    }
    const int steps = argc > 2 ? std::atoi(argv[2]) : 2000;
    movik::RegionalSettings rs;  // dot thousands, comma decimals
    rs.thousandsSeparator = ".";
    rs.decimalSeparator = ",";
    movik::Workspace ws(rs, 2026);
    if (!ws.OpenDocument(argv[1])) {
        std::fprintf(stderr, "measure_undo_memory: %s se ne otvara\n", argv[1]);
        return 1;
    }
    const long long heap0 = HeapInUse();
    const long long resident0 = ResidentBytes();
    for (int i = 0; i < steps; ++i) {
        // Row 4 of the balance sheet's current year, as the grid's editor stores it.
        const std::string typed = std::to_string(1000 + i) + ",50";
        ws.viewTexts(movik::Statement::Bilanca).cell(5, 4) = typed;
        if (!ws.EditAmount(movik::Statement::Bilanca, 5, 4, typed)) {
            std::fprintf(stderr, "measure_undo_memory: edit %d refused\n", i);
            return 1;
        }
    }
    Report("after the edits", HeapInUse() - heap0, ResidentBytes() - resident0, steps);
    int undone = 0;
    while (ws.Undo()) {
        ++undone;
    }
    Report("after undoing them all", HeapInUse() - heap0, ResidentBytes() - resident0, steps);
    std::printf("steps undone: %d of %d\n", undone, steps);
    return 0;
}

// Arbitrary bytes imported into the balance sheet or the income statement, over a new document
// or the example. Properties: a refused file changes nothing (document, every grid, the warning,
// the changed mark); an accepted one leaves amount texts that export and import back unchanged.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "document/Csv.h"
#include "document/Workspace.h"

using namespace movik;
using namespace movik::fuzz;

namespace {

// Built once per document and separator convention: the document imported into, and the
// workspace each run resets to it (an assignment keeps its buffers, so a run allocates little).
struct Workspaces {
    explicit Workspaces(const Workspace& start) : before(start), ws(start) {}
    const Workspace before;
    Workspace ws;
};

Workspace NewOrExample(bool comma, bool example) {
    Workspace ws(SettingsOf(comma), 2024);
    if (example) {
        const OpenOutcome opened = ws.OpenDocument(MOVIK_SOURCE_DIR "/examples/primjer.mvk");
        MOVIK_FUZZ_CHECK(opened.ok(), "the example opens: " + opened.message());
    }
    return ws;
}

// Index: bit 0 the comma convention, bit 1 the example document.
Workspaces& WorkspacesOf(bool comma, bool example) {
    static Workspaces all[4] = {
        Workspaces(NewOrExample(false, false)), Workspaces(NewOrExample(true, false)),
        Workspaces(NewOrExample(false, true)), Workspaces(NewOrExample(true, true))};
    return all[(comma ? 1 : 0) + (example ? 2 : 0)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the statement, the separators and the document imported into.
    const Statement s = (data[0] & 1) != 0 ? Statement::Racun : Statement::Bilanca;
    Workspaces& w = WorkspacesOf((data[0] & 2) != 0, (data[0] & 4) != 0);
    Workspace& ws = w.ws;
    ws = w.before;
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string note;
    const Result imported = ws.ImportCsv(s, file, &note);
    if (!imported) {
        MOVIK_FUZZ_CHECK(!imported.message().empty(), "a refusal says why");
        // The document itself changes only through the refresh cycle after an accepted import.
        MOVIK_FUZZ_CHECK(ws.grids() == w.before.grids() && ws.warning() == w.before.warning() &&
                             ws.IsChanged() == w.before.IsChanged(),
                         "a refused import changes nothing");
        return 0;
    }
    // An import that changes what the grids show marks the document changed (one that brings
    // the very amounts the document had is no change).
    MOVIK_FUZZ_CHECK(ws.grids() == w.before.grids() || ws.IsChanged(),
                     "an import that changes the grids marks the document changed");
    const std::string exported = ws.ExportCsv(s);
    const Result back = ws.ImportCsv(s, exported);
    MOVIK_FUZZ_CHECK(back.ok(), "an export imports back: " + back.message());
    MOVIK_FUZZ_CHECK(ws.ExportCsv(s) == exported, "an export imports to the same amounts");
    return 0;
}

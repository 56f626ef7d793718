// Arbitrary bytes imported into the balance sheet or the income statement, over a new document
// or the example. Properties: a refused file changes nothing (document, every grid, the warning,
// the changed mark); an accepted one leaves amount texts that export and import back unchanged.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "document/Csv.h"
#include "document/Workspace.h"

using namespace movik;
using namespace movik::fuzz;

namespace {

// What a refused import must leave as it was: every grid text, the warning, the changed mark.
// (The document itself changes only through the refresh cycle after an accepted import.)
struct State {
    std::vector<std::string> cells;
    std::string warning;
    bool changed;
    bool operator==(const State&) const = default;
};

State StateOf(const Workspace& ws) {
    State state{{}, ws.warning(), ws.IsChanged()};
    for (const Statement s : kAllStatements) {
        const GridTexts& grid = ws.grids().of(s);
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < grid.columnCount(); ++c) {
                state.cells.push_back(grid.cell(c, r));
            }
        }
    }
    return state;
}

// The example document, when the build knows where it lies.
const Workspace& Example(bool comma) {
    static std::optional<Workspace> examples[2];
    std::optional<Workspace>& example = examples[comma ? 1 : 0];
    if (!example) {
        example.emplace(SettingsOf(comma), 2024);
        (void)example->OpenDocument(MOVIK_SOURCE_DIR "/examples/primjer.mvk");
    }
    return *example;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the statement, the separators and the document imported into.
    const Statement s = (data[0] & 1) != 0 ? Statement::Racun : Statement::Bilanca;
    const bool comma = (data[0] & 2) != 0;
    Workspace ws = (data[0] & 4) != 0 ? Example(comma) : Workspace(SettingsOf(comma), 2024);
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);

    const State before = StateOf(ws);
    std::string note;
    const Result imported = ws.ImportCsv(s, file, &note);
    if (!imported) {
        MOVIK_FUZZ_CHECK(!imported.message().empty(), "a refusal says why");
        MOVIK_FUZZ_CHECK(StateOf(ws) == before, "a refused import changes nothing");
        return 0;
    }
    MOVIK_FUZZ_CHECK(ws.IsChanged(), "an import marks the document changed");
    const std::string exported = ws.ExportCsv(s);
    const Result back = ws.ImportCsv(s, exported);
    MOVIK_FUZZ_CHECK(back.ok(), "an export imports back: " + back.message());
    MOVIK_FUZZ_CHECK(ws.ExportCsv(s) == exported, "an export imports to the same amounts");
    return 0;
}

// A document file from arbitrary bytes: open, show (every grid text), lay out all six reports,
// save, run the refresh cycle, export every statement. Properties: a refused file changes
// nothing; what was opened and saved opens and saves to the same bytes; the shown share count is
// a whole number in the field's range; an export has a line per row and a cell per column; an
// exported input statement imports back to the same texts (unless a row text is empty, which
// the import's splitter drops: then it is refused and changes nothing).

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "document/Csv.h"
#include "document/Workspace.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"
#include "reports/PrintJobs.h"

using namespace movik;
using namespace movik::fuzz;

namespace {

// The name the document is opened under; saves go to memory.
const std::string kName = "fuzz.mvk";

// Built once per separator convention: a new document as the window starts with it, and the
// workspaces each run resets to it (an assignment keeps their buffers, so a run allocates
// little).
struct Workspaces {
    explicit Workspaces(bool comma) : fresh(SettingsOf(comma), 2024), ws(fresh), again(fresh) {}
    const Workspace fresh;
    Workspace ws;
    Workspace again;
};

Workspaces& WorkspacesOf(bool comma) {
    static Workspaces dot(false);
    static Workspaces withComma(true);
    return comma ? withComma : dot;
}

// Every line of an export ends in CR LF and holds one ";" per listed column (1 to the last), one
// line per grid row: no cell text may break a line or add a cell.
bool HasCellLayout(std::string_view exported, const GridTexts& grid) {
    const auto cells = static_cast<std::size_t>(grid.columnCount() - 1);
    int rows = 0;
    std::size_t separators = 0;
    for (std::size_t i = 0; i < exported.size(); ++i) {
        const char c = exported[i];
        if (c == ';') {
            ++separators;
        } else if (c == '\r') {
            if (i + 1 == exported.size() || exported[i + 1] != '\n' || separators != cells) {
                return false;
            }
            ++i;
            ++rows;
            separators = 0;
        } else if (c == '\n') {
            return false;
        }
    }
    return separators == 0 && rows == grid.rowCount();
}

bool HasEmptyRowText(const GridTexts& grid) {
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cell(2, r).empty()) {
            return true;
        }
    }
    return false;
}

// True when an input amount of statement s is one that import refuses: a stored amount beyond the
// limit a cell takes (stored files open as they are), or one that shows as no amount.
bool HasAmountImportRefuses(const Workspace& ws, Statement s) {
    const GridTexts& grid = ws.grids().of(s);
    for (int r = 1; r < grid.rowCount(); ++r) {
        for (const int c : FactsOf(s).inputColumns) {
            if (c == 0) {
                continue;
            }
            const std::optional<double> v = ReadAmount(grid.cell(c, r), ws.settings());
            if (!v || !WithinAmountLimit(*v)) {
                return true;
            }
        }
    }
    return false;
}

const std::vector<std::uint8_t>& Saved(Workspace& ws, MemoryWriter& writer) {
    const Result saved = ws.SaveDocument(writer);
    MOVIK_FUZZ_CHECK(saved.ok(), "saving an opened document: " + saved.message());
    return writer.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Bytes 620 and 621 hold the currency mark; 622, the first of the balance sheet's first row's
    // reserved bytes, is kept but never interpreted, so it picks the separators.
    const bool comma = size > 622 && (data[622] & 1) != 0;
    Workspaces& w = WorkspacesOf(comma);
    Workspace& ws = w.ws;
    ws = w.fresh;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const OpenOutcome opened = ws.OpenDocumentBytes(kName, bytes);
    if (!opened) {
        MOVIK_FUZZ_CHECK(!opened.message().empty(), "a refusal says why");
        MOVIK_FUZZ_CHECK(ws.grids() == w.fresh.grids() && ws.fields() == w.fresh.fields() &&
                             ws.warning() == w.fresh.warning() &&
                             ws.IsChanged() == w.fresh.IsChanged(),
                         "a refused file changes nothing");
        return 0;
    }

    const GeneralData& fields = ws.fields();
    MOVIK_FUZZ_CHECK(std::isfinite(fields.BrojDionica) && fields.BrojDionica >= 0 &&
                         fields.BrojDionica <= 9999999999.0 &&
                         fields.BrojDionica == std::floor(fields.BrojDionica),
                     "the share count field shows a whole number in range");
    MOVIK_FUZZ_CHECK(std::isfinite(fields.DatumOd) && std::isfinite(fields.DatumDo),
                     "the date fields show dates");
    for (const Statement s : kAllStatements) {
        const GridTexts& grid = ws.grids().of(s);
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < grid.columnCount(); ++c) {
                MOVIK_FUZZ_CHECK(grid.cell(c, r).size() < 2048, "a grid text of sane length");
            }
        }
    }

    ReportSet reports(ws.grids());
    for (const PrintJob& job : reports.PrintAll(PrintInputsOf(ws, "kunama i lipama"))) {
        MOVIK_FUZZ_CHECK(job.refused || !job.pages.empty(), "a report has pages");
    }

    static MemoryWriter firstSave;
    static MemoryWriter secondSave;
    const std::vector<std::uint8_t>& first = Saved(ws, firstSave);
    Workspace& again = w.again;
    again = w.fresh;
    const OpenOutcome reopened = again.OpenDocumentBytes(
        kName, std::string_view(reinterpret_cast<const char*>(first.data()), first.size()));
    MOVIK_FUZZ_CHECK(reopened.ok(), "a saved document opens: " + reopened.message());
    MOVIK_FUZZ_CHECK(Saved(again, secondSave) == first, "open and save again gives the same bytes");

    ws.RefreshCycle();
    for (const Statement s : kAllStatements) {
        const std::string exported = ws.ExportCsv(s);
        MOVIK_FUZZ_CHECK(HasCellLayout(exported, ws.grids().of(s)),
                         "an export has a line per row and a cell per listed column");
        if (s != Statement::Bilanca && s != Statement::Racun) {
            continue;
        }
        const Result imported = ws.ImportCsv(s, exported);
        if (HasEmptyRowText(ws.grids().of(s))) {
            // The splitter drops an empty cell, so such a line is one cell short: refused.
            MOVIK_FUZZ_CHECK(imported.message().starts_with("List index out of bounds"),
                             "an empty row text is a missing cell: " + imported.message());
            MOVIK_FUZZ_CHECK(ws.ExportCsv(s) == exported, "a refused import changes nothing");
            continue;
        }
        if (HasAmountImportRefuses(ws, s)) {
            MOVIK_FUZZ_CHECK(!imported.ok(), "an amount import refuses is refused");
            MOVIK_FUZZ_CHECK(ws.ExportCsv(s) == exported, "a refused import changes nothing");
            continue;
        }
        MOVIK_FUZZ_CHECK(imported.ok(), "an export imports back: " + imported.message());
        MOVIK_FUZZ_CHECK(ws.ExportCsv(s) == exported, "an export imports to the same texts");
    }
    return 0;
}

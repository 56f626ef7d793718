// The euro conversion of one document: the amounts alone, and the whole command with its
// refresh cycle over the grids.

#include <benchmark/benchmark.h>

#include "analysis/EuroConversion.h"
#include "model/StatementRows.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace {

movik::Workspace Example() {
    movik::Workspace ws(movik::RegionalSettings{".", ",", "dd.MM.yyyy."}, 2025);
    if (!ws.OpenDocument(MOVIK_EXAMPLE)) {
        std::abort();
    }
    return ws;
}

void BM_ConvertInputsToEuro(benchmark::State& state) {
    const movik::TDokument original = Example().document();
    movik::TDokument doc = original;
    for (auto _ : state) {
        state.PauseTiming();
        doc = original;
        state.ResumeTiming();
        movik::ConvertInputsToEuro(doc);
        benchmark::DoNotOptimize(doc.Bilanca.row(movik::BilancaRow::TotalAssets).IznosTekuca);
    }
}
BENCHMARK(BM_ConvertInputsToEuro)->Unit(benchmark::kMicrosecond);

// What "Preračunaj u eure…" and movik-cli convert do to the open document.
void BM_ConvertToEuroWithRefresh(benchmark::State& state) {
    movik::Workspace ws = Example();
    // The example's period is in euros; as a kuna document it is converted every time.
    ws.SetCurrency(movik::Valuta::Hrk);
    const movik::TDokument original = ws.document();
    for (auto _ : state) {
        state.PauseTiming();
        movik::WorkspaceTestAccess::Document(ws) = original;
        state.ResumeTiming();
        movik::ConvertToEuro(ws);
        benchmark::DoNotOptimize(ws.grids().Bilanca.cell(5, movik::BilancaRow::TotalAssets));
    }
}
BENCHMARK(BM_ConvertToEuroWithRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

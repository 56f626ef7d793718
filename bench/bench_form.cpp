// The official form's import in process: the workbook read, the form recognised and checked,
// put into a workspace and reconciled (examples/gfi-pod-2023.xlsx and gfi-pod-2019.xls).

#include <benchmark/benchmark.h>

#include "intake/OfficialForm.h"

namespace {

void ImportForm(benchmark::State& state, const char* path) {
    movik::Workspace ws(movik::RegionalSettings{".", ",", "dd.MM.yyyy"}, 2026);
    for (auto _ : state) {
        const movik::OfficialForm form = movik::ReadOfficialFormFile(path, 2026);
        if (!form.ok) {
            state.SkipWithError(form.error.c_str());
            return;
        }
        movik::ApplyOfficialForm(form, ws);
        benchmark::DoNotOptimize(movik::Reconcile(form, ws.document()));
    }
}

BENCHMARK_CAPTURE(ImportForm, xlsx, MOVIK_EXAMPLES "/gfi-pod-2023.xlsx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportForm, xls, MOVIK_EXAMPLES "/gfi-pod-2019.xls")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

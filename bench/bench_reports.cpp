// Report speed: laying out all six reports of the example, and painting them into a PDF in
// memory. Targets: layout median <= 2 ms, PDF <= 30 ms.
//
//   bench_reports [--benchmark_repetitions=N ...]

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "reports/ReportPaint.h"

namespace {

movik::Workspace& Example() {
    static movik::Workspace ws = [] {
        movik::Workspace w({".", ",", "dd. MM. yyyy."}, 2024);
        if (const movik::OpenOutcome opened = w.OpenDocument(MOVIK_EXAMPLE); !opened) {
            std::fprintf(stderr, "primjer se ne može otvoriti: %s\n", opened.message().c_str());
            std::exit(1);
        }
        return w;
    }();
    return ws;
}

void BM_LayoutAllSix(benchmark::State& state) {
    movik::ReportSet set(Example().grids());
    const movik::PrintInputs in = movik::PrintInputsOf(Example(), "kunama i lipama");
    for (auto _ : state) {
        auto jobs = set.PrintAll(in);
        benchmark::DoNotOptimize(jobs);
    }
}
BENCHMARK(BM_LayoutAllSix)->Unit(benchmark::kMillisecond);

void BM_PdfAllSixInMemory(benchmark::State& state) {
    movik::ReportSet set(Example().grids());
    const auto jobs = set.PrintAll(movik::PrintInputsOf(Example(), "kunama i lipama"));
    for (auto _ : state) {
        QByteArray pdf = movik::RenderPdf(jobs, "Primjer");
        benchmark::DoNotOptimize(pdf);
    }
}
BENCHMARK(BM_PdfAllSixInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

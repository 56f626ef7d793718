// Hot paths of the headless core: the recalculation, the whole refresh cycle over the grid
// texts, and moving a document through its file.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "document/DocumentFile.h"
#include "document/Workspace.h"
#include "model/Calculations.h"
#include "model/StatementRows.h"
#include "model/Templates.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace {

// A workspace whose input rows all hold non-trivial amounts, shown in its grids.
movik::Workspace FilledWorkspace() {
    movik::RegionalSettings rs;
    rs.thousandsSeparator = ".";
    rs.decimalSeparator = ",";
    rs.shortDateFormat = "dd.MM.yyyy";
    movik::Workspace ws(rs, 2025);
    ws.NewDocument();
    std::mt19937 rng(42);
    std::uniform_int_distribution<long> cents(0, 100'000'000);
    auto& doc = movik::WorkspaceTestAccess::Document(ws);
    for (int r = 1; r <= movik::kBilancaRows; ++r) {
        doc.Bilanca.row(r).IznosPrethodna = static_cast<double>(cents(rng)) / 100;
        doc.Bilanca.row(r).IznosTekuca = static_cast<double>(cents(rng)) / 100;
    }
    for (int r = 1; r <= movik::kRacunRows; ++r) {
        doc.Racun.row(r).Iznos = static_cast<double>(cents(rng)) / 100;
    }
    doc.BrojDionica = 12345;
    ws.ShowGeneralData();
    ws.FillGrids();
    ws.RefreshCycle();
    return ws;
}

void BM_RecalculateAll(benchmark::State& state) {
    movik::Workspace ws = FilledWorkspace();
    for (auto _ : state) {
        std::string warning = movik::RecalculateAll(movik::WorkspaceTestAccess::Document(ws));
        benchmark::DoNotOptimize(warning);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RecalculateAll);

void BM_RefreshCycle(benchmark::State& state) {
    movik::Workspace ws = FilledWorkspace();
    for (auto _ : state) {
        ws.RefreshCycle();
        benchmark::DoNotOptimize(ws.grids().Pok.cell(3, movik::PokRow::BookValuePerShare));
    }
}
BENCHMARK(BM_RefreshCycle);

void BM_OpenAndSave(benchmark::State& state) {
    movik::Workspace ws = FilledWorkspace();
    const std::string path = "/tmp/movik-bench-" + std::to_string(::getpid()) + ".mvk";
    movik::WorkspaceTestAccess::Document(ws).ImeDatoteke = path;
    if (!ws.SaveDocument()) {
        state.SkipWithError("save failed");
        return;
    }
    movik::TDokument doc = ws.document();
    auto writer = movik::MakeSystemFileWriter();
    for (auto _ : state) {
        if (!movik::OpenDocument(path, doc) || !movik::SaveDocument(doc, *writer)) {
            state.SkipWithError("open or save failed");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_OpenAndSave)->Unit(benchmark::kMicrosecond);

// The same work without the disk: the file image decoded into a document and encoded again.
void BM_DecodeAndEncode(benchmark::State& state) {
    movik::Workspace ws = FilledWorkspace();
    std::vector<std::uint8_t> image;
    if (!movik::EncodeDocumentFile(ws.document(), image)) {
        state.SkipWithError("encode failed");
        return;
    }
    movik::TDokument doc = ws.document();
    for (auto _ : state) {
        movik::DecodeDocumentFile(image.data(), doc);
        if (!movik::EncodeDocumentFile(doc, image)) {
            state.SkipWithError("encode failed");
            break;
        }
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_DecodeAndEncode)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The standing among peers: the view "Položaj u skupini" over 5,000 compared documents rebuilt
// and painted, or sorted and painted (offscreen), and the standing of 100,000 documents
// computed (movik-cli standing as a whole: scripts/measure-standing.sh).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <random>

#include "analysis/Comparison.h"
#include "analysis/StandingTable.h"
#include "model/Dates.h"
#include "ui/StandingView.h"

namespace {

const movik::RegionalSettings kRs{".", ",", "dd.MM.yyyy."};

// count readable summaries over ten years, every indicator drawn at random (a few empty).
std::vector<movik::DocumentSummary> Summaries(int count) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> value(-50, 400);
    std::vector<movik::DocumentSummary> list(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        movik::DocumentSummary& s = list[static_cast<std::size_t>(i)];
        s.ok = true;
        s.file = "d" + std::to_string(i) + ".mvk";
        s.company = "Poduzeće " + std::to_string(i % 700);
        const int year = 2016 + i % 10;
        s.from = movik::DayNumber(year, 1, 1);
        s.to = movik::DayNumber(year, 12, 31);
        for (std::size_t k = 0; k < s.indicators.size(); ++k) {
            s.indicators[k] = value(rng);
            s.indicatorNotComputable[k] = rng() % 50 == 0;
        }
    }
    return list;
}

struct ShownView {
    ShownView() : view(kRs) {
        table.Add(Summaries(5000));
        view.resize(1100, 560);
        view.show();
        view.Rebuild(table);
        QApplication::processEvents();
    }
    movik::ComparisonTable table{kRs};
    movik::StandingView view;
};

void BM_StandingViewRebuildAndPaint5000(benchmark::State& state) {
    ShownView shown;
    for (auto _ : state) {
        shown.view.Rebuild(shown.table);
        shown.view.viewport()->repaint();
    }
}
BENCHMARK(BM_StandingViewRebuildAndPaint5000)->Unit(benchmark::kMillisecond);

void BM_StandingViewSortAndPaint5000(benchmark::State& state) {
    ShownView shown;
    int column = 2;
    for (auto _ : state) {
        shown.view.sortByColumn(column, column % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
        shown.view.viewport()->repaint();
        column = column == 16 ? 2 : column + 1;
    }
}
BENCHMARK(BM_StandingViewSortAndPaint5000)->Unit(benchmark::kMillisecond);

void BM_StandingOf100000(benchmark::State& state) {
    std::vector<movik::StandingEntry> entries;
    for (const movik::DocumentSummary& s : Summaries(100000)) {
        entries.push_back(movik::StandingEntryOf(s));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(movik::StandingTable(entries, kRs));
    }
}
BENCHMARK(BM_StandingOf100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

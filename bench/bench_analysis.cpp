// Work across many documents: the summary of one document, and many documents summarised in
// path order on one and on two threads (documents a minute = items_per_second x 60); how soon a
// stop takes effect while a reading blocks.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "../tests/support/RandomDocument.h"
#include "analysis/Parallel.h"
#include "analysis/SummaryFormats.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDocuments = 1000;

// kDocuments random documents in a temporary folder, written once for all benchmarks.
const std::vector<std::string>& Documents() {
    static const std::vector<std::string> paths = [] {
        const fs::path dir =
            fs::temp_directory_path() / ("movik-bench-analysis-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::vector<std::string> list;
        movik::Workspace ws(movik::RegionalSettings{}, 2026);
        std::mt19937 rng(3);
        for (int i = 0; i < kDocuments; ++i) {
            list.push_back((dir / ("d" + std::to_string(i) + ".mvk")).string());
            movik::test::WriteRandomDocument(ws, rng, list.back());
        }
        std::atexit([] {
            fs::remove_all(fs::temp_directory_path() /
                           ("movik-bench-analysis-" + std::to_string(::getpid())));
        });
        return list;
    }();
    return paths;
}

void BM_SummarizeOne(benchmark::State& state) {
    const std::string& path = Documents().front();
    for (auto _ : state) {
        benchmark::DoNotOptimize(movik::Summarize(path, movik::RegionalSettings{}, 2026));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SummarizeOne);

// The whole of movik-cli summary's work but the process: paths, threads, JSON lines.
void BM_SummarizeMany(benchmark::State& state) {
    const std::vector<std::string>& paths = Documents();
    const int jobs = static_cast<int>(state.range(0));
    const movik::RegionalSettings rs;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::size_t next = 0;
        movik::SummarizeInOrder(
            [&]() -> std::optional<std::string> {
                return next < paths.size() ? std::optional<std::string>(paths[next++])
                                           : std::nullopt;
            },
            jobs, [&rs](const std::string& p) { return movik::Summarize(p, rs, 2026); },
            [&](movik::DocumentSummary&& s) {
                bytes += movik::SummaryLine(movik::SummaryFormat::Jsonl, s, rs).size();
            });
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}
BENCHMARK(BM_SummarizeMany)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// How long a stop takes while a reading blocks (a slow file): from asking to stop to the run's
// return, the blocked reading abandoned. Manual time: the stop latency alone.
void BM_StopWhileAReadingBlocks(benchmark::State& state) {
    for (auto _ : state) {
        struct Gate {
            std::mutex m;
            std::condition_variable cv;
            bool open = false;
            std::atomic<bool> waiting{false};
        };
        auto gate = std::make_shared<Gate>();
        std::stop_source stop;
        std::thread run([&] {
            int next = 0;
            movik::SummarizeInOrder(
                [&]() -> std::optional<std::string> { return std::to_string(next++); }, 2,
                [gate](const std::string& path) {
                    if (path == "5") {
                        gate->waiting = true;
                        std::unique_lock lock(gate->m);
                        gate->cv.wait(lock, [&] { return gate->open; });
                    }
                    return movik::DocumentSummary{};
                },
                [](movik::DocumentSummary&&) {}, stop.get_token());
        });
        while (!gate->waiting) {
            std::this_thread::yield();
        }
        const auto asked = std::chrono::steady_clock::now();
        stop.request_stop();
        run.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
        {
            std::lock_guard lock(gate->m);
            gate->open = true;
        }
        gate->cv.notify_all();
    }
}
BENCHMARK(BM_StopWhileAReadingBlocks)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// Number display: the grids format every amount, share and indicator on each refresh, so one
// call has to stay in the tens of nanoseconds.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/NumberFormat.h"

namespace {

// Typical amounts of a statement: cents up to ten million, some negative, some zero.
std::vector<double> Amounts() {
    std::mt19937_64 gen(42);
    std::uniform_int_distribution<std::int64_t> cents(-100'000'000, 1'000'000'000);
    std::vector<double> v(1024);
    for (std::size_t i = 0; i < v.size(); ++i) {
        v[i] = i % 8 == 0 ? 0.0 : static_cast<double>(cents(gen)) / 100.0;
    }
    return v;
}

// Shares of a total, in percent.
std::vector<double> Shares() {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> share(0.0, 100.0);
    std::vector<double> v(1024);
    for (double& x : v) {
        x = share(gen);
    }
    return v;
}

movik::RegionalSettings Croatian() {
    movik::RegionalSettings rs;
    rs.thousandsSeparator = ".";
    rs.decimalSeparator = ",";
    return rs;
}

void Format(benchmark::State& state, const std::vector<double>& values, const char* pattern) {
    const movik::RegionalSettings rs = Croatian();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string s = movik::FormatNumber(values[i], pattern, rs);
        benchmark::DoNotOptimize(s);
        i = (i + 1) % values.size();
    }
}

void BM_FormatAmount(benchmark::State& state) {
    Format(state, Amounts(), "#,##0.00");
}
BENCHMARK(BM_FormatAmount);

void BM_FormatShare(benchmark::State& state) {
    Format(state, Shares(), "0.00%");
}
BENCHMARK(BM_FormatShare);

// All 942 data cells of the five grids are roughly 500 amounts, 220 shares, 200 row numbers
// and 19 indicators.
void BM_FormatAllGridCells(benchmark::State& state) {
    const movik::RegionalSettings rs = Croatian();
    const std::vector<double> amounts = Amounts();
    const std::vector<double> shares = Shares();
    const char* indicatorFormats[] = {"#.##",      "#,##0.00",  "#,##0.00",  "#,##0",    "#.##",
                                      "#,##0",     "#,##0",     "#,##0",     "#,##0;",   "#.##",
                                      "#,##0.00%", "#,##0.00%", "#,##0.00%", "#,###.##", "#.##",
                                      "#,##0.00%", "#,##0.00%", "#,##0.00",  "#,###.##"};
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int i = 0; i < 500; ++i) {
            bytes +=
                movik::FormatNumber(amounts[static_cast<std::size_t>(i)], "#,##0.00", rs).size();
        }
        for (int i = 0; i < 220; ++i) {
            bytes += movik::FormatNumber(shares[static_cast<std::size_t>(i)], "0.00%", rs).size();
        }
        for (int i = 1; i <= 203; ++i) {
            bytes += movik::FormatNumber(i % 89, "##0", rs).size();
        }
        for (int i = 0; i < 19; ++i) {
            bytes +=
                movik::FormatNumber(shares[static_cast<std::size_t>(i)], indicatorFormats[i], rs)
                    .size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FormatAllGridCells);

void BM_AmountFromText(benchmark::State& state) {
    const movik::RegionalSettings rs = Croatian();
    std::vector<std::string> texts;
    for (double v : Amounts()) {
        texts.push_back(movik::FormatNumber(v, "#,##0.00", rs));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(movik::AmountFromText(texts[i], rs));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_AmountFromText);

}  // namespace

BENCHMARK_MAIN();

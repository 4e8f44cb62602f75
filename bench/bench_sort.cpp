// Insertion into CclsSort: time and key comparisons per insertion for random, ascending and
// descending key order, one at a time and in bulk.
#include "CclsSort.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

enum Order { Random, Ascending, Descending };

std::vector<double> keysIn(Order order, int n) {
    std::vector<double> keys(static_cast<size_t>(n));
    std::mt19937 rng(42);
    for (int i = 0; i < n; ++i)
        keys[static_cast<size_t>(i)] = order == Random      ? static_cast<double>(rng() % 1000000)
                                       : order == Ascending ? i
                                                            : n - i;
    return keys;
}

void insertAll(benchmark::State& state, Order order) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> keys = keysIn(order, n);
    qint64 comparisons = 0;
    for (auto _ : state) {
        CclsSort s;
        for (int i = 0; i < n; ++i)
            s.AddLong(keys[static_cast<size_t>(i)], i);
        comparisons = s.comparisonCount();
        benchmark::DoNotOptimize(s.Count());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["cmp_per_insert"] = static_cast<double>(comparisons) / n;
    state.counters["ns_per_insert"] = benchmark::Counter(
        static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SortRandom(benchmark::State& s) {
    insertAll(s, Random);
}
void BM_SortAscending(benchmark::State& s) {
    insertAll(s, Ascending);
}
void BM_SortDescending(benchmark::State& s) {
    insertAll(s, Descending);
}

// The same lists filled by AddLongs.
void insertBulk(benchmark::State& state, Order order) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> keys = keysIn(order, n);
    std::vector<std::pair<double, qint32>> items;
    for (int i = 0; i < n; ++i)
        items.emplace_back(keys[static_cast<size_t>(i)], i);
    for (auto _ : state) {
        CclsSort s;
        s.AddLongs(items);
        benchmark::DoNotOptimize(s.Count());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["ns_per_insert"] = benchmark::Counter(
        static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_BulkRandom(benchmark::State& s) {
    insertBulk(s, Random);
}
void BM_BulkDescending(benchmark::State& s) {
    insertBulk(s, Descending);
}

} // namespace

BENCHMARK(BM_BulkRandom)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BulkDescending)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRandom)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAscending)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDescending)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

// Insertion into CclsSort: time and key comparisons per insertion for random, ascending and
// descending key order.
#include "CclsSort.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

enum Order { Random, Ascending, Descending };

void insertAll(benchmark::State& state, Order order) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> keys(static_cast<size_t>(n));
    std::mt19937 rng(42);
    for (int i = 0; i < n; ++i)
        keys[static_cast<size_t>(i)] = order == Random      ? static_cast<double>(rng() % 1000000)
                                       : order == Ascending ? i
                                                            : n - i;
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

} // namespace

BENCHMARK(BM_SortRandom)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAscending)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDescending)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

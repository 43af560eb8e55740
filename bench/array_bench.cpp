// Appending a million elements to CMavArrayTempl, against std::vector in the same run as the baseline.
// Compare the pairs: Append_CMavArray/int against Append_StdVector/int, and likewise for the string element.
#include "base/CMavArray.h"
#include "base/CMavString.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kCount = 1000000;

void Append_CMavArray_int(benchmark::State& state)
{
    for (auto _ : state) {
        CMavArrayTempl<int> a;
        for (int i = 0; i < kCount; ++i)
            a.append(i);
        benchmark::DoNotOptimize(a[kCount - 1]);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void Append_StdVector_int(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<int> v;
        for (int i = 0; i < kCount; ++i)
            v.push_back(i);
        benchmark::DoNotOptimize(v[kCount - 1]);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

// A class element with a heap part: growth moves (or copies) every element already stored.
void Append_CMavArray_string(benchmark::State& state)
{
    const CMavString text(L"a text longer than any small-string buffer");
    for (auto _ : state) {
        CMavArrayTempl<CMavString> a;
        for (int i = 0; i < kCount; ++i)
            a.append(text);
        benchmark::DoNotOptimize(a[kCount - 1].c_str());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void Append_StdVector_string(benchmark::State& state)
{
    const CMavString text(L"a text longer than any small-string buffer");
    for (auto _ : state) {
        std::vector<CMavString> v;
        for (int i = 0; i < kCount; ++i)
            v.push_back(text);
        benchmark::DoNotOptimize(v[kCount - 1].c_str());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

} // namespace

BENCHMARK(Append_CMavArray_int)->Unit(benchmark::kMillisecond);
BENCHMARK(Append_StdVector_int)->Unit(benchmark::kMillisecond);
BENCHMARK(Append_CMavArray_string)->Unit(benchmark::kMillisecond);
BENCHMARK(Append_StdVector_string)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

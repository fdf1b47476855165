// The list splitter on a list of 32,000 characters, and the array collection at scale.
#include <benchmark/benchmark.h>

#include <string>

#include "arrays/array_collection_helper.h"
#include "arrays/array_helper.h"

using namespace brv;

namespace {

// 32,000 characters: 8,000 items of the form "ab, " (ending in a separator and a space).
String list32k() {
    String s;
    for (int i = 0; i < 8000; ++i) s += u"ab, ";
    return s;
}

void BM_ListToArray_32000(benchmark::State& state) {
    const String list = list32k();
    ArrayHelper h(brv::platform::host());
    for (auto _ : state) {
        Variant out;
        benchmark::DoNotOptimize(h.ListToArray(out, list, u","));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ListToArray_32000)->Unit(benchmark::kMicrosecond);

void BM_ArrayCollection_UniqueAddThenRead(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<Variant> values;
    for (int i = 0; i < n; ++i) values.push_back(Variant(u"v" + fromUtf8(std::to_string(i))));
    for (auto _ : state) {
        ArrayCollectionHelper c(brv::platform::host());
        c.let_ArrayIsUnique(true);
        for (const Variant& v : values) c.Add(v);
        benchmark::DoNotOptimize(c.get_ClientArray());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_ArrayCollection_UniqueAddThenRead)
    ->RangeMultiplier(3)
    ->Range(1000, 30000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace

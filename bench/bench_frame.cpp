// The shared replace routine against its literal loop, and the keyed collection at scale.
#include <benchmark/benchmark.h>

#include <unordered_map>

#include "frame/collection.h"
#include "frame/shared.h"
#include "frame_oracles.h"
#include "platform/platform.h"

using namespace brv;

namespace {

// 32,000 characters with 8,000 matches, each followed by a space that the trimming drops.
String replaceInput() {
    String s;
    for (int i = 0; i < 8000; ++i) s += u"ab; ";
    return s;
}

void BM_ReplaceText_Fast(benchmark::State& state) {
    const String text = replaceInput();
    for (auto _ : state) benchmark::DoNotOptimize(fnReplaceText(text, u";", u","));
}
BENCHMARK(BM_ReplaceText_Fast)->Unit(benchmark::kMicrosecond);

void BM_ReplaceText_LiteralLoop(benchmark::State& state) {
    const String text = replaceInput();
    for (auto _ : state) benchmark::DoNotOptimize(oracle::replaceText(text, u";", u","));
}
BENCHMARK(BM_ReplaceText_LiteralLoop)->Unit(benchmark::kMicrosecond);

std::vector<String> keys(int n) {
    std::vector<String> k;
    for (int i = 0; i < n; ++i) k.push_back(u"Key" + fromUtf8(std::to_string(i)));
    return k;
}

void BM_Collection_AddAndKeyedLookup(benchmark::State& state) {
    const auto k = keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Collection c(*brv::platform::host().regional);
        for (const auto& key : k) c.add(Variant(key), key);
        for (const auto& key : k) benchmark::DoNotOptimize(c.byKey(key));
    }
}
BENCHMARK(BM_Collection_AddAndKeyedLookup)->Arg(100000)->Unit(benchmark::kMillisecond);

// Baseline: a plain hash map with the same case folding of keys.
void BM_HashMap_AddAndKeyedLookup(benchmark::State& state) {
    const auto k = keys(static_cast<int>(state.range(0)));
    const auto& regional = *platform::host().regional;
    for (auto _ : state) {
        std::unordered_map<String, Variant> m;
        for (const auto& key : k) m.emplace(regional.upper(key), Variant(key));
        for (const auto& key : k) benchmark::DoNotOptimize(m.find(regional.upper(key)));
    }
}
BENCHMARK(BM_HashMap_AddAndKeyedLookup)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Collection_RemoveFromFront(benchmark::State& state) {
    const auto k = keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Collection c(*brv::platform::host().regional);
        for (const auto& key : k) c.add(Variant(key), key);
        while (c.count()) c.removeAt(1);
    }
}
BENCHMARK(BM_Collection_RemoveFromFront)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

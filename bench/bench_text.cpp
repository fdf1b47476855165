// Statement splitting and space collapsing at 32,000 characters, each against the step-by-step
// version that rescans and rebuilds the text.
#include <benchmark/benchmark.h>

#include "oracles_text.h"
#include "sql/sql_routines.h"
#include "text/text_helper.h"

namespace {

using brv::String;

// Ten selects joined by UNION, one clause per line, padded to 32,000 characters.
String tenSelects() {
    String s;
    const String filler = u" AND name <> 'filler; text' AND code = 12345";
    for (int i = 1; i <= 10; ++i) {
        if (i > 1) s += u"\r\nUNION ";
        s += u"SELECT a, b, c\r\nFROM table" + brv::numberText(int64_t{i}) + u"\r\nWHERE x = 1";
        const std::size_t end = 3200 * static_cast<std::size_t>(i) - 60;
        while (s.size() + filler.size() + 2 < end) s += filler + u"\r\n";
        s += u"\r\nGROUP BY a HAVING count(*) > 1 ORDER BY b;";
    }
    s.resize(32000, u' ');
    s.back() = u'z';
    return s;
}

// Runs of one to nine spaces between short words.
String spaceRuns() {
    String s;
    for (int i = 0; s.size() < 32000; ++i) {
        s += u"word";
        s.append(static_cast<std::size_t>(1 + i % 9), u' ');
    }
    s.resize(32000);
    return s;
}

void SQLParseFast(benchmark::State& state) {
    const String statement = tenSelects();
    brv::SQLRoutines s(brv::platform::host());
    for (auto _ : state) {
        brv::Variant v = statement;
        benchmark::DoNotOptimize(s.SQLParse(v));
    }
    if (s.selectCount() != 10) state.SkipWithError("statement did not split into ten selects");
}

void SQLParseOracle(benchmark::State& state) {
    const String statement = tenSelects();
    oracle::Model m;
    for (auto _ : state) {
        String v = statement;
        benchmark::DoNotOptimize(oracle::parseSQL(v, m));
    }
    if (m.selectCount != 10) state.SkipWithError("statement did not split into ten selects");
}

void RemoveExtraSpacesFast(benchmark::State& state) {
    const String text = spaceRuns();
    brv::TextHelper t(brv::platform::host());
    for (auto _ : state) benchmark::DoNotOptimize(t.RemoveExtraSpaces(text));
}

void RemoveExtraSpacesOracle(benchmark::State& state) {
    const String text = spaceRuns();
    for (auto _ : state) benchmark::DoNotOptimize(oracle::removeExtraSpaces(text));
}

BENCHMARK(SQLParseFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(SQLParseOracle)->Unit(benchmark::kMicrosecond);
BENCHMARK(RemoveExtraSpacesFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(RemoveExtraSpacesOracle)->Unit(benchmark::kMicrosecond);

}  // namespace

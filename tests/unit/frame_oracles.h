// Literal transcriptions of the routines that the library implements faster, kept as oracles
// for the generated-input tests and the benchmarks.
#pragma once

#include <optional>

#include "frame/text.h"

namespace oracle {

// The replace loop exactly as its definition reads: search from position 1 every time; after
// each replacement the rest of the text loses its leading and trailing spaces. Gives up (no
// value) after `maxSteps` replacements, since a replacement holding the search text never ends.
inline std::optional<brv::String> replaceText(brv::StringView text, brv::StringView search,
                                              brv::StringView replacement,
                                              std::size_t maxSteps = 1000000) {
    brv::String work(text);
    if (search.empty()) return work;
    for (std::size_t step = 0; step < maxSteps; ++step) {
        const auto p = work.find(search);
        if (p == brv::String::npos) return work;
        brv::String rest(brv::trimSpaces(brv::StringView(work).substr(p + search.size())));
        work = work.substr(0, p) + brv::String(replacement) + rest;
    }
    return std::nullopt;
}

}  // namespace oracle

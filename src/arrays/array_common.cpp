#include "arrays/array_common.h"

#include <vector>

#include "frame/error.h"

namespace brv::arrays {

namespace {

// Every start of `needle` in `haystack`, overlapping ones included (the search for the next
// one begins one character after the previous start). Linear whatever the needle.
std::vector<std::size_t> occurrences(StringView haystack, StringView needle) {
    const Matcher matcher(needle);
    std::vector<std::size_t> found;
    for (std::size_t i = 0, k = 0; i < haystack.size(); ++i) {
        k = matcher.next(k, haystack[i]);
        if (k == matcher.size()) found.push_back(i + 1 - k);
    }
    return found;
}

}  // namespace

int32_t upperBound(const Variant& value) {
    if (!value.isArray()) raise(err::TypeMismatch);
    const Array& a = value.array();
    if (a.dims() == 0 || a.size() == 0) raise(err::SubscriptOutOfRange);
    return a.ubound(1);
}

int16_t integerBound(int32_t bound) {
    if (bound < -32768 || bound > 32767) raise(err::Overflow);
    return static_cast<int16_t>(bound);
}

Array emptyArray(VarType elementType) {
    return Array(elementType, {Bound{0, 0}});
}

int16_t listToArray(Variant& returned, StringView list, StringView separator) {
    list = trimSpaces(list);
    // Only a one-character separator can equal the last character; one is dropped at most.
    if (separator.size() == 1 && !list.empty() && list.back() == separator[0])
        list = trimSpaces(list.substr(0, list.size() - 1));

    // An empty separator would be found everywhere; it splits nothing.
    std::vector<std::size_t> at;
    if (!separator.empty()) at = occurrences(list, separator);
    // Positions are Integers, the one behind the last separator included.
    if (!at.empty() && at.back() + 2 > 32767) raise(err::Overflow);

    if (at.empty()) {
        returned = Variant(Array::vector({Variant(String(list))}));
        return 1;
    }
    // Each item begins right after the first character of the separator before it.
    std::vector<Variant> items;
    items.reserve(at.size() + 1);
    std::size_t start = 0;
    for (const std::size_t p : at) {
        items.push_back(Variant(trimSpaces(list.substr(start, p - start))));
        start = p + 1;
    }
    items.push_back(Variant(trimSpaces(list.substr(start))));
    returned = Variant(Array::vector(std::move(items)));
    return static_cast<int16_t>(at.size());
}

}  // namespace brv::arrays

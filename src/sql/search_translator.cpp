#include "sql/search_translator.h"

#include <vector>

#include "frame/error.h"

namespace brv {

namespace {
constexpr StringView kSeparator = u" AND ";
// The next search starts five characters behind a separator, in an Integer.
constexpr std::size_t kLastSeparatorPosition = 32767 - kSeparator.size();
}  // namespace

String translateSearch(StringView phrase, StringView field, int32_t position, StringView wildcard) {
    if (position < kupWildCardNone || position > kupWildCardBeforeAndAfter) return {};

    std::vector<StringView> terms;
    std::size_t start = 0;
    for (;;) {
        const auto hit = phrase.find(kSeparator, start);
        if (hit == StringView::npos) break;
        if (hit + 1 > kLastSeparatorPosition) raise(err::Overflow);
        terms.push_back(phrase.substr(start, hit - start));
        start = hit + kSeparator.size();
    }
    terms.push_back(phrase.substr(start));

    String out;
    if (terms.size() > 1) out = u"WHERE ";
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (i) out += kSeparator;
        out += field;
        if (position == kupWildCardNone) {
            out += u" = '";
            out += terms[i];
        } else {
            out += u" Like '";
            if (position != kupWildCardAfter) out += wildcard;
            out += terms[i];
            if (position != kupWildCardBefore) out += wildcard;
        }
        out += u'\'';
    }
    return out;
}

}  // namespace brv

// Step-by-step transcriptions of the text algorithms that the library runs in linear time:
// they restart their searches and rebuild the text at every step, exactly as first written.
// Tests compare the fast versions with them; the benchmark measures against them.
#pragma once

#include <array>

#include "frame/convert.h"
#include "frame/error.h"
#include "platform/platform.h"
#include "sql/sql_routines.h"

namespace oracle {

using brv::String;
using brv::StringView;

// The runtime's string functions, 1-based, with their argument errors.
inline String mid(StringView s, std::ptrdiff_t start, std::ptrdiff_t length = -2) {
    if (start < 1 || length < -2 || length == -1) brv::raise(brv::err::InvalidCall);
    if (static_cast<std::size_t>(start) > s.size()) return {};
    const std::size_t n = length == -2 ? StringView::npos : static_cast<std::size_t>(length);
    return String(s.substr(static_cast<std::size_t>(start - 1), n));
}
inline String left(StringView s, std::ptrdiff_t n) {
    if (n < 0) brv::raise(brv::err::InvalidCall);
    return String(s.substr(0, static_cast<std::size_t>(n)));
}
inline String trim(StringView s) {
    return String(brv::trimSpaces(s));
}
inline std::ptrdiff_t len(StringView s) {
    return static_cast<std::ptrdiff_t>(s.size());
}
// InStr with binary or text comparison, one position after the other.
inline std::ptrdiff_t inStr(std::ptrdiff_t start, StringView hay, StringView needle,
                            bool text = false) {
    if (start < 1) brv::raise(brv::err::InvalidCall);
    if (start > len(hay)) return needle.empty() && start == len(hay) + 1 ? start : 0;
    for (std::ptrdiff_t i = start; i + len(needle) - 1 <= len(hay); ++i) {
        const StringView part = hay.substr(static_cast<std::size_t>(i - 1), needle.size());
        const auto mode = text ? brv::CompareMode::Text : brv::CompareMode::Binary;
        if (brv::compareStrings(part, needle, mode, *brv::platform::host().regional) == 0) return i;
    }
    return 0;
}
inline int16_t asInteger(std::ptrdiff_t n) {
    if (n > 32767) brv::raise(brv::err::Overflow);
    return static_cast<int16_t>(n);
}

// The shared replace routine: search from position 1 again after every replacement.
inline String replaceText(String text, const String& search, const String& replacement) {
    try {
        const int16_t n = asInteger(len(search));
        if (n == 0) return text;
        for (;;) {
            const auto p = inStr(1, text, search);
            if (p == 0) return text;
            text = left(text, p - 1) + replacement + trim(mid(text, p + n));
        }
    } catch (const brv::Error& e) {
        throw e.withSource(u"fnReplaceText");
    }
}

inline String removeExtraSpaces(String t) {
    std::ptrdiff_t i = 0;
    do {
        ++i;
        if (mid(t, i, 2) == u"  ") t = left(t, i) + trim(mid(t, i));
    } while (i <= len(t));
    return t;
}

inline String replaceQuotesWithConstant(const String& text, const String& name) {
    const String q = u"\"";
    if (inStr(1, text, q) == 0) return text;
    String w = trim(text);
    const String r = q + u" & " + name + u" & " + q;
    int16_t pos = asInteger(inStr(1, w, q));
    while (pos > 0) {
        w = left(w, pos - 1) + r + mid(w, pos + 1);
        // Where the search goes on is an Integer position too.
        pos = asInteger(inStr(asInteger(pos + len(r)), w, q));
    }
    w = trim(w);
    if (left(w, 3) == q + u" &") w = trim(mid(w, 4));
    if (len(w) >= 3 && mid(w, len(w) - 2) == u"& " + q) w = trim(left(w, len(w) - 3));
    return w;
}

struct Model {
    int16_t selectCount = 0;
    std::array<brv::SelectClauses, 10> records;
};

// The statement splitter. Returns the error number (0 for none); `sql` is written back as the
// library writes it. One departure from the first version, which read the same select until
// error 9: when UNION is followed by two or three spaces, the next select is searched for
// behind the current select's own SELECT.
inline int32_t parseSQL(String& sql, Model& m) {
    try {
        const int16_t length = asInteger(len(sql));
        if (length == 0) return 32000;
        String text = replaceText(sql, u"\r\n", u" ");
        sql = text;
        m.selectCount = 0;
        std::ptrdiff_t b = 1;
        while (b != length) {
            const std::ptrdiff_t start = b;
            ++m.selectCount;
            std::ptrdiff_t p = inStr(start + 7, text, u" SELECT ", true);
            while (p > 0) {
                const std::ptrdiff_t u = inStr(p - 8, text, u" UNION ", true);
                b = u > 0 && u < p ? u : p;
                if (b != start) break;
                p = inStr(p + 1, text, u" SELECT ", true);
            }
            String s;
            if (p > 0) {
                s = mid(text, start, b - start);
            } else {
                s = mid(text, start);
                b = length;
            }
            while (len(s) > 0 && (s.back() == u'\r' || s.back() == u'\n')) s = left(s, len(s) - 1);
            s = replaceText(s, u";", u"");
            brv::SelectClauses c;
            std::ptrdiff_t e = len(s) + 1;
            const std::ptrdiff_t pivot = inStr(1, s, u" PIVOT ", true),
                                 groupBy = inStr(1, s, u" GROUP BY ", true),
                                 having = inStr(1, s, u" HAVING ", true),
                                 orderBy = inStr(1, s, u" ORDER BY ", true),
                                 from = inStr(1, s, u" FROM ", true),
                                 where = inStr(1, s, u" WHERE ", true);
            auto cut = [&](std::ptrdiff_t q, String& clause) {
                if (q == 0) return;
                clause = trim(mid(s, q, e - q));
                e = q;
            };
            try {
                cut(pivot, c.Pivot);
                cut(orderBy, c.OrderBy);
                cut(having, c.Having);
                cut(groupBy, c.GroupBy);
                cut(where, c.Where);
                cut(from, c.From);
                c.SelectSQL = trim(left(s, e));
            } catch (const brv::Error&) {
                if (m.selectCount > 10) m.selectCount = 10;
                throw;
            }
            if (m.selectCount > 10) {
                m.selectCount = 10;
                return brv::err::SubscriptOutOfRange;
            }
            m.records[static_cast<std::size_t>(m.selectCount - 1)] = c;
        }
        return 0;
    } catch (const brv::Error& e) {
        return e.number();
    }
}

}  // namespace oracle

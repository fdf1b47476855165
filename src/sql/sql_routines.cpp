#include "sql/sql_routines.h"

#include <array>
#include <memory>

#include "frame/convert.h"
#include "frame/error.h"
#include "frame/shared.h"

namespace brv {

namespace {

constexpr int32_t kEmptyStatement = 32000;
constexpr StringView kEmptyStatementText = u"Empty string passed to SQLParse routine";

// Keywords are found by a case-insensitive search under the system locale. Folding the text
// once and searching the folded copy keeps the search linear. The keywords are ASCII, so ASCII
// text folds here; other text goes through the locale's upper case, which maps code unit to
// code unit (and if it ever did not, ASCII folding takes over).
String foldCase(StringView text, const Locale& locale) {
    char16_t any = 0;
    for (const char16_t c : text) any |= c;
    if (any >= 0x80) {
        String local = locale.upper(text);
        if (local.size() == text.size()) return local;
    }
    String up(text);
    for (auto& c : up) {
        const bool lower = static_cast<char16_t>(c - u'a') < 26;  // branch-free, so it vectorises
        c = static_cast<char16_t>(c - (lower ? u'a' - u'A' : 0));
    }
    return up;
}

// InStr(start, folded, needle): 1-based; 0 when absent or when start lies past the text. A
// Horspool search keyed by the low byte of each code unit, since the keywords end in a space
// and a plain scan would stop at every space of the statement.
std::size_t findFrom(StringView folded, StringView needle, std::size_t start) {
    if (start == 0 || start > folded.size() + 1) return 0;
    const std::size_t m = needle.size();
    std::array<uint8_t, 256> shift;
    shift.fill(static_cast<uint8_t>(m));
    for (std::size_t i = 0; i + 1 < m; ++i)
        shift[needle[i] & 0xFF] = static_cast<uint8_t>(m - 1 - i);
    const char16_t lastOfNeedle = needle[m - 1];
    for (std::size_t pos = start - 1; pos + m <= folded.size();) {
        const char16_t last = folded[pos + m - 1];
        if (last == lastOfNeedle && folded.compare(pos, m - 1, needle, 0, m - 1) == 0)
            return pos + 1;
        pos += shift[last & 0xFF];
    }
    return 0;
}

// Cuts one select's text into its clauses, from the back. Error 5 when a clause's keyword
// stands behind the keyword of a clause cut before it.
SelectClauses cutClauses(StringView text, const Locale& locale) {
    // The first occurrence of each keyword, in one pass over the spaces of the text.
    constexpr std::array<StringView, 6> keywords = {u" PIVOT ",    u" ORDER BY ", u" HAVING ",
                                                    u" GROUP BY ", u" WHERE ",    u" FROM "};
    std::array<std::size_t, 6> first{};
    const String folded = foldCase(text, locale);
    const StringView f = folded;
    for (auto at = f.find(u' '); at != StringView::npos && at + 1 < f.size();
         at = f.find(u' ', at + 1)) {
        for (std::size_t k = 0; k < keywords.size(); ++k) {
            if (first[k] == 0 && f[at + 1] == keywords[k][1] &&
                f.substr(at, keywords[k].size()) == keywords[k])
                first[k] = at + 1;
        }
    }
    const auto [pivot, orderBy, having, groupBy, where, from] = first;

    SelectClauses r;
    std::size_t end = text.size() + 1;
    auto cut = [&](std::size_t at, String& clause) {
        if (at == 0) return;
        if (at > end) raise(err::InvalidCall);
        clause = String(trimSpaces(text.substr(at - 1, end - at)));
        end = at;
    };
    cut(pivot, r.Pivot);
    cut(orderBy, r.OrderBy);
    cut(having, r.Having);
    cut(groupBy, r.GroupBy);
    cut(where, r.Where);
    cut(from, r.From);
    r.SelectSQL = String(trimSpaces(text.substr(0, end)));
    return r;
}

// The record a select number names; 13 when it is no number, 9 outside 1 to 10.
std::size_t recordIndex(const Variant& number, const Locale& locale) {
    const int32_t n = number.isMissing() ? 1 : toLong(number, locale);
    if (n < 1 || n > SQLRoutines::kMaxSelects) raise(err::SubscriptOutOfRange);
    return static_cast<std::size_t>(n - 1);
}

bool startsWithNoCase(StringView text, StringView keyword, const Locale& locale) {
    return compareStrings(text.substr(0, keyword.size()), keyword, CompareMode::Text, locale) == 0;
}

}  // namespace

struct SQLRoutines::ClauseRule {
    String SelectClauses::*field;
    StringView keyword;  // what a stored value must begin with
    StringView prefix;   // put in front otherwise
    bool trimFirst;
};

namespace {
using Rule = SQLRoutines::ClauseRule;
const Rule kSelectRule{&SelectClauses::SelectSQL, u"Select", u"Select ", false};
const Rule kFromRule{&SelectClauses::From, u"From", u"From ", false};
const Rule kWhereRule{&SelectClauses::Where, u"Where", u"WHERE ", true};
const Rule kGroupByRule{&SelectClauses::GroupBy, u"Group By", u"Group By ", false};
const Rule kHavingRule{&SelectClauses::Having, u"Having", u"Having ", false};
const Rule kOrderByRule{&SelectClauses::OrderBy, u"Order By", u"Order By ", false};
const Rule kPivotRule{&SelectClauses::Pivot, u"Pivot", u"Pivot ", false};

}  // namespace

int16_t SQLRoutines::SQLParse(Variant& strSQL) {
    if (strSQL.isNull()) raise(err::InvalidUseOfNull);
    const String source = toText(strSQL, locale_);
    const std::size_t length = static_cast<std::size_t>(asInteger(source.size()));
    if (length == 0) raise(kEmptyStatement, String{}, String(kEmptyStatementText));

    strSQL = fnReplaceText(source, u"\r\n", u" ");
    const String text = strSQL.str();
    const String folded = foldCase(text, locale_);

    // The loop ends when the boundary reaches the length measured before the line breaks were
    // replaced, as the statement's last select sets it to that length.
    selectCount_ = 0;
    std::size_t boundary = 1;
    while (boundary != length) {
        const std::size_t start = boundary;
        const int number = selectCount_ + 1;
        selectCount_ = static_cast<int16_t>(number);

        std::size_t select = findFrom(folded, u" SELECT ", start + 7);
        bool last = select == 0;
        while (!last) {
            if (select == 8) raise(err::InvalidCall);  // InStr from position 0
            // A " UNION " that begins within eight characters before the next SELECT moves into
            // the next select. Only a match before the SELECT counts, so a short window does.
            const std::size_t from = select - 8;
            const auto window = StringView(folded).substr(from - 1, 8 + 6);
            const auto hit = window.find(u" UNION ");
            boundary = hit == StringView::npos ? select : from + hit;
            if (boundary > start) break;
            // UNION with two or three spaces before SELECT: this select's own SELECT was found
            // again. Look for the next select behind it instead of reading the same one again.
            select = findFrom(folded, u" SELECT ", select + 1);
            last = select == 0;
        }

        StringView piece = StringView(text).substr(start - 1);
        if (last)
            boundary = length;
        else
            piece = piece.substr(0, boundary - start);
        while (!piece.empty() && (piece.back() == u'\r' || piece.back() == u'\n'))
            piece.remove_suffix(1);
        const String cleaned = fnReplaceText(piece, u";", u"");

        SelectClauses clauses;
        try {
            clauses = cutClauses(cleaned, locale_);
        } catch (const Error&) {
            if (number > kMaxSelects) selectCount_ = kMaxSelects;
            throw;
        }
        if (number > kMaxSelects) {
            selectCount_ = kMaxSelects;
            raise(err::SubscriptOutOfRange);
        }
        records_[static_cast<std::size_t>(number - 1)] = std::move(clauses);
    }
    return 0;
}

Variant SQLRoutines::getClause(const Variant& number, String SelectClauses::*field) {
    return records_[recordIndex(number, locale_)].*field;
}

void SQLRoutines::letClause(const Variant& number, const Variant& value, const ClauseRule& rule) {
    // Trim keeps Null as Null; storing it fails below, after the select number is checked.
    Variant v = value;
    if (rule.trimFirst && !v.isNull()) v = String(trimSpaces(joinText(v, locale_)));
    String text = joinText(v, locale_);
    if (!text.empty() && !startsWithNoCase(text, rule.keyword, locale_)) {
        text.insert(0, rule.prefix);
        v = text;
    }
    const std::size_t index = recordIndex(number, locale_);
    if (v.isNull()) raise(err::InvalidUseOfNull);
    records_[index].*(rule.field) = std::move(text);
    if (static_cast<int32_t>(index) + 1 > selectCount_)
        selectCount_ = static_cast<int16_t>(index + 1);
}

Variant SQLRoutines::get_Where(const Variant& n) {
    return getClause(n, &SelectClauses::Where);
}
void SQLRoutines::let_Where(const Variant& n, const Variant& v) {
    letClause(n, v, kWhereRule);
}
Variant SQLRoutines::get_From(const Variant& n) {
    return getClause(n, &SelectClauses::From);
}
void SQLRoutines::let_From(const Variant& n, const Variant& v) {
    letClause(n, v, kFromRule);
}
Variant SQLRoutines::get_OrderBy(const Variant& n) {
    return getClause(n, &SelectClauses::OrderBy);
}
void SQLRoutines::let_OrderBy(const Variant& n, const Variant& v) {
    letClause(n, v, kOrderByRule);
}
Variant SQLRoutines::get_GroupBy(const Variant& n) {
    return getClause(n, &SelectClauses::GroupBy);
}
void SQLRoutines::let_GroupBy(const Variant& n, const Variant& v) {
    letClause(n, v, kGroupByRule);
}
Variant SQLRoutines::get_Having(const Variant& n) {
    return getClause(n, &SelectClauses::Having);
}
void SQLRoutines::let_Having(const Variant& n, const Variant& v) {
    letClause(n, v, kHavingRule);
}
Variant SQLRoutines::get_SelectSQL(const Variant& n) {
    return getClause(n, &SelectClauses::SelectSQL);
}
void SQLRoutines::let_SelectSQL(const Variant& n, const Variant& v) {
    letClause(n, v, kSelectRule);
}
Variant SQLRoutines::get_Pivot(const Variant& n) {
    return getClause(n, &SelectClauses::Pivot);
}
void SQLRoutines::let_Pivot(const Variant& n, const Variant& v) {
    letClause(n, v, kPivotRule);
}

Variant SQLRoutines::get_SQL() {
    return sql_;
}

void SQLRoutines::let_SQL(const Variant& vNewValue) {
    sql_ = joinText(vNewValue, locale_);
}

Variant SQLRoutines::Clear() {
    records_.fill(SelectClauses{});
    selectCount_ = 0;
    return {};
}

void SQLRoutines::WhereAppend(const String& strAdditionalWhere, const Variant& intSelectNumber) {
    StringView s = trimSpaces(strAdditionalWhere);
    if (startsWithNoCase(s, u"AND", locale_)) s = trimSpaces(s.substr(3));
    SelectClauses& r = records_[recordIndex(intSelectNumber, locale_)];
    if (s.empty()) return;
    if (r.Where.empty())
        r.Where = u" WHERE " + String(s);
    else
        r.Where = String(trimSpaces(r.Where)) + u" AND " + String(s);
}

Variant SQLRoutines::SQLAppend() {
    // Only the text built so far is trimmed before each step; the clause goes in as stored.
    sql_.clear();
    auto append = [this](const String& clause) {
        String next(trimSpaces(sql_));
        next += u' ';
        next += clause;
        sql_ = std::move(next);
    };
    const int count = selectCount_;
    for (int i = 0; i < count; ++i) {
        const SelectClauses& r = records_[static_cast<std::size_t>(i)];
        if (sql_.size() > 1)
            append(r.SelectSQL);
        else
            sql_ = r.SelectSQL;
        for (const String* clause :
             {&r.From, &r.Where, &r.GroupBy, &r.Having, &r.OrderBy, &r.Pivot})
            append(*clause);
    }
    return {};
}

}  // namespace brv

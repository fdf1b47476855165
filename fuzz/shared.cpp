// The shared replace and count routines and every text routine that the library runs faster
// than it was first written, each against its literal form: the results (or the error numbers)
// must be the same, not merely crash-free.
#include "frame/shared.h"

#include "fuzz_support.h"
#include "oracles_text.h"
#include "sql/sql_routines.h"
#include "text/text_helper.h"

namespace {

using namespace fuzz;

constexpr StringView kWords[] = {u" ",  u"  ",   u"a", u"b",  u"ab",
                                 u"\"", u"\r\n", u";", u"\t", u"\0"};
constexpr StringView kSqlWords[] = {u" ",          u"  ",       u"SELECT ",    u" select ",
                                    u" FROM ",     u" WHERE ",  u" UNION ",    u" union  ",
                                    u" GROUP BY ", u" HAVING ", u" ORDER BY ", u" PIVOT ",
                                    u"\r\n",       u";",        u"x",          u"*"};

// The replace loop as first written, searching from position 1 after every replacement; gives
// up (no value) once its text or its step count grows past what a comparison can afford.
std::optional<String> literalReplace(StringView text, StringView search, StringView replacement) {
    String work(text);
    if (search.empty()) return work;
    for (int step = 0; step < 4000 && work.size() < 20000; ++step) {
        const auto p = work.find(search);
        if (p == String::npos) return work;
        work = work.substr(0, p) + String(replacement) +
               String(brv::trimSpaces(StringView(work).substr(p + search.size())));
    }
    return std::nullopt;
}

void replace(Input& in) {
    const String text = in.text(kWords), search = in.text(kWords, 3), rep = in.text(kWords, 4);
    String fast;
    int32_t fastError = errorOf([&] { fast = brv::fnReplaceText(text, search, rep); });
    // A replacement holding the search text is found again without end by the literal loop;
    // the routine then resumes each search behind it, which no oracle can run.
    if (!search.empty() && rep.find(search) != String::npos) return;
    const auto expected = literalReplace(text, search, rep);
    if (!expected) return;
    const std::string input = show(text) + " / " + show(search) + " / " + show(rep);
    if (fastError != 0)
        finding("fnReplaceText raised", std::to_string(fastError) + " for " + input);
    expectSame(fast, *expected, "fnReplaceText", input);
}

void count(Input& in) {
    const String text = in.flag() ? in.text(kWords, 64) : in.longText();
    const String c = in.text(kWords, 2);
    int16_t fast = 0;
    const int32_t fastError = errorOf([&] { fast = brv::fnCountCharacter(text, c); });
    const int32_t expectedError = text.size() > 32767 ? brv::err::Overflow : 0;
    int16_t expected = 0;
    if (c.size() == 1)
        for (const char16_t t : text) expected += t == c[0];
    const std::string input = show(text.substr(0, 40)) + " / " + show(c);
    expectSame(fastError, expectedError, "fnCountCharacter error", input);
    if (!fastError) expectSame(fast, expected, "fnCountCharacter", input);
}

void removeExtraSpaces(Input& in) {
    const String text = in.text(kWords, 40);
    brv::TextHelper t(standIns());
    expectSame(t.RemoveExtraSpaces(text), oracle::removeExtraSpaces(text), "RemoveExtraSpaces",
               show(text));
}

void replaceQuotes(Input& in) {
    const String text = in.flag() ? in.text(kWords, 40) : in.longText(32720) + u"\"\"\"";
    const String name = in.flag() ? String(u"cstrQuote") : in.text(kWords, 4);
    brv::TextHelper t(standIns());
    String fast, expected;
    const int32_t fastError = errorOf([&] { fast = t.ReplaceQuotesWithConstant(text, name); });
    const int32_t expectedError =
        errorOf([&] { expected = oracle::replaceQuotesWithConstant(text, name); });
    const std::string input = show(text.substr(0, 60)) + " / " + show(name);
    expectSame(fastError, expectedError, "ReplaceQuotesWithConstant error", input);
    expectSame(fast, expected, "ReplaceQuotesWithConstant", input);
}

void parse(Input& in) {
    String sql = in.text(kSqlWords, 40);
    brv::Variant arg(sql);
    brv::SQLRoutines s(standIns());
    const int32_t fastError = errorOf([&] { s.SQLParse(arg); });
    oracle::Model m;
    const int32_t expectedError = oracle::parseSQL(sql, m);
    const std::string input = show(arg.isString() ? arg.str() : String());
    expectSame(fastError, expectedError, "SQLParse error", input);
    if (arg.isString()) expectSame(arg.str(), sql, "SQLParse written-back text", input);
    expectSame(s.selectCount(), m.selectCount, "SQLParse select count", input);
    for (int i = 1; i <= s.selectCount(); ++i)
        expectSame(s.record(i), m.records[static_cast<std::size_t>(i - 1)], "SQLParse record",
                   input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    switch (in.choice(5)) {
        case 0:
            replace(in);
            break;
        case 1:
            count(in);
            break;
        case 2:
            removeExtraSpaces(in);
            break;
        case 3:
            replaceQuotes(in);
            break;
        default:
            parse(in);
            break;
    }
    return 0;
}

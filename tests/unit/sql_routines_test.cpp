#include "sql/sql_routines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "oracles_text.h"
#include "test_support.h"

namespace brv {
namespace {

const Variant kOne = int16_t{1};

Variant sel(int n) {
    return int16_t(n);
}

int parse(SQLRoutines& s, Variant& text) {
    try {
        EXPECT_EQ(s.SQLParse(text), 0);
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

int parse(SQLRoutines& s, const char* text) {
    Variant v = fromUtf8(text);
    return parse(s, v);
}

String clauses(const SelectClauses& r) {
    return r.SelectSQL + u"|" + r.From + u"|" + r.Where + u"|" + r.GroupBy + u"|" + r.Having +
           u"|" + r.OrderBy + u"|" + r.Pivot;
}

TEST(SQLParseSplits, ClausesAndSelects) {
    SQLRoutines s(standIns());
    ASSERT_EQ(parse(s, "SELECT a FROM t WHERE x = 1 ORDER BY a"), 0);
    EXPECT_EQ(s.selectCount(), 1);
    EXPECT_EQ(clauses(s.record(1)), u"SELECT a|FROM t|WHERE x = 1|||ORDER BY a|");

    ASSERT_EQ(parse(s, "SELECT a FROM t UNION ALL SELECT b FROM u"), 0);
    EXPECT_EQ(s.record(1).From, u"FROM t UNION ALL");
    EXPECT_EQ(s.record(2).SelectSQL, u"SELECT b");

    ASSERT_EQ(
        parse(s,
              "SELECT a, b FROM t WHERE x IN ( SELECT y FROM z ) GROUP BY a HAVING count(*) > 1"),
        0);
    EXPECT_EQ(clauses(s.record(1)), u"SELECT a, b|FROM t|WHERE x IN (||||");
    EXPECT_EQ(clauses(s.record(2)), u"SELECT y|FROM z )||GROUP BY a|HAVING count(*) > 1||");

    ASSERT_EQ(parse(s, "SELECT a\nFROM t"), 0);
    EXPECT_EQ(clauses(s.record(1)), u"SELECT a\nFROM t||||||");
    ASSERT_EQ(parse(s, "SELECT EXTRACT(YEAR FROM d) FROM t"), 0);
    EXPECT_EQ(clauses(s.record(1)), u"SELECT EXTRACT(YEAR|FROM d) FROM t|||||");
    ASSERT_EQ(parse(s, "select a from t where b = 1"), 0);
    EXPECT_EQ(clauses(s.record(1)), u"select a|from t|where b = 1||||");
}

TEST(SQLParseSplits, WritesBackAndRemovesSemicolons) {
    SQLRoutines s(standIns());
    Variant v = String(u"a;  b ;\r\n c;");
    ASSERT_EQ(parse(s, v), 0);
    EXPECT_EQ(v, Variant(u"a;  b ; c;"));
    EXPECT_EQ(s.record(1).SelectSQL, u"ab c");  // the spaces behind each removed ";" go too

    // A number is read as its text and comes back as a String.
    Variant n = int32_t{42};
    ASSERT_EQ(parse(s, n), 0);
    EXPECT_EQ(n, Variant(u"42"));
    EXPECT_EQ(s.selectCount(), 1);
    // One character: the loop ends before it starts.
    ASSERT_EQ(parse(s, "x"), 0);
    EXPECT_EQ(s.selectCount(), 0);
}

TEST(SQLParseSplits, UnionWithSeveralSpacesEnds) {
    SQLRoutines s(standIns());
    for (const char* gap : {"  ", "   "}) {
        ASSERT_EQ(
            parse(s, (std::string("SELECT a FROM t UNION") + gap + "SELECT b FROM u UNION SELECT c")
                         .c_str()),
            0);
        EXPECT_EQ(s.selectCount(), 3);
        EXPECT_EQ(clauses(s.record(2)), u"UNION" + fromUtf8(gap) + u"SELECT b|FROM u|||||");
        EXPECT_EQ(s.record(3).SelectSQL, u"UNION SELECT c");
    }
    ASSERT_EQ(parse(s, " UNION   SELECT a FROM t"), 0);
    EXPECT_EQ(s.selectCount(), 1);
    EXPECT_EQ(s.record(1).From, u"FROM t");
    // Four spaces: UNION stays with the select before.
    ASSERT_EQ(parse(s, "SELECT a FROM t UNION    SELECT b"), 0);
    EXPECT_EQ(s.record(1).From, u"FROM t UNION");
}

TEST(SQLParseFailures, ErrorsAndStateAfterwards) {
    SQLRoutines s(standIns());
    ASSERT_EQ(parse(s, "SELECT a FROM t UNION SELECT b FROM u UNION SELECT c FROM v"), 0);

    Variant empty = String();
    try {
        s.SQLParse(empty);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 32000);
        EXPECT_EQ(e.source(), u"");
        EXPECT_EQ(e.description(), u"Empty string passed to SQLParse routine");
    }
    Variant nothing;
    EXPECT_EQ(parse(s, nothing), 32000);
    Variant null = Null{};
    EXPECT_EQ(parse(s, null), 94);
    EXPECT_TRUE(null.isNull());
    Variant tooLong = String(32768, u'a') + u"\r\n";
    EXPECT_EQ(parse(s, tooLong), 6);
    EXPECT_EQ(tooLong.str().size(), 32770u);
    EXPECT_EQ(s.selectCount(), 3);

    Variant eleven = String(u"SELECT a\r\n");
    for (int i = 2; i <= 11; ++i) eleven.str() += u"UNION SELECT a" + numberText(int64_t{i}) + u" ";
    EXPECT_EQ(parse(s, eleven), 9);
    EXPECT_EQ(eleven.str().substr(0, 15), u"SELECT a UNION ");
    EXPECT_EQ(s.selectCount(), 10);
    EXPECT_EQ(s.record(10).SelectSQL, u"UNION SELECT a10");

    Variant order = String(u"SELECT a FROM t\r\nUNION SELECT b FROM t ORDER BY a WHERE x = 1");
    EXPECT_EQ(parse(s, order), 5);
    EXPECT_EQ(order, Variant(u"SELECT a FROM t UNION SELECT b FROM t ORDER BY a WHERE x = 1"));
    EXPECT_EQ(s.selectCount(), 2);
    EXPECT_EQ(s.record(1).From, u"FROM t");
    EXPECT_EQ(s.record(2).SelectSQL, u"UNION SELECT a2");  // left from before

    EXPECT_EQ(parse(s, "1234567 SELECT a"), 5);  // the UNION search would start at 0
    EXPECT_EQ(errorOf([&] {
                  Variant a = Array::vector({});
                  s.SQLParse(a);
              }),
              13);
}

TEST(SQLClauses, SelectCountAndKeywordQuirks) {
    SQLRoutines s(standIns());
    s.let_Where(sel(3), u"x = 1");
    EXPECT_EQ(s.selectCount(), 3);
    s.SQLAppend();  // two empty selects add nothing
    EXPECT_EQ(s.get_SQL(), Variant(u"WHERE x = 1 "));
    s.let_SelectSQL(sel(2), u"UNION SELECT b");
    EXPECT_EQ(s.get_SelectSQL(sel(2)), Variant(u"Select UNION SELECT b"));
    s.let_SelectSQL(Variant(u"2"), u"Sel");  // shorter than the keyword: compared whole
    EXPECT_EQ(s.get_SelectSQL(sel(2)), Variant(u"Select Sel"));
    s.let_Where(kOne, int16_t{5});
    EXPECT_EQ(s.get_Where(Variant::missing()), Variant(u"WHERE 5"));
    s.let_Where(sel(1), u"");
    EXPECT_EQ(s.selectCount(), 3);  // lets never lower it
    s.WhereAppend(u"Andover = 3", sel(5));
    EXPECT_EQ(s.get_Where(sel(5)), Variant(u" WHERE over = 3"));
    EXPECT_EQ(s.selectCount(), 3);  // nor does WhereAppend raise it
    // The select number is checked before the Null value is refused.
    EXPECT_EQ(errorOf([&] { s.let_Where(sel(12), Null{}); }), 9);
    EXPECT_EQ(errorOf([&] { s.let_From(kOne, Null{}); }), 94);

    // Records above SelectCount survive a shorter parse.
    ASSERT_EQ(parse(s, "SELECT a FROM t UNION SELECT b FROM u UNION SELECT c FROM v WHERE w"), 0);
    ASSERT_EQ(parse(s, "SELECT a"), 0);
    EXPECT_EQ(s.get_Where(sel(3)), Variant(u"WHERE w"));
    s.SQLAppend();
    EXPECT_EQ(s.get_SQL(), Variant(u"SELECT a "));
}

// Statements built from keywords, UNIONs, semicolons and every kind of spacing and line break.
String randomStatement(std::mt19937& rng) {
    static const std::vector<StringView> words = {
        u"SELECT",        u"select",         u"SeLeCt",    u"UNION",      u"union",
        u"UNION ALL",     u"FROM",           u"from",      u"WHERE",      u"Where",
        u"GROUP BY",      u"group by",       u"GROUP  BY", u"HAVING",     u"ORDER BY",
        u"order By",      u"PIVOT",          u"TRANSFORM", u"a",          u"t",
        u"x = 1",         u"'x; y'",         u";",         u"(",          u")",
        u"(SELECT",       u"count(*)",       u"b.c",       u"\u00e4rger", u"UNION SELECT",
        u"union  select", u"UNION   SELECT", u"SELECT",    u"SELECT"};
    static const std::vector<StringView> gaps = {u" ",    u" ",    u" ",      u"  ", u"   ",
                                                 u"\r\n", u"\r\n", u" \r\n ", u"\r", u"\n",
                                                 u"\t",   u";",    u"; ",     u" ;", u""};
    auto pick = [&](const std::vector<StringView>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
    };
    String s;
    if (rng() % 4) s = u"SELECT";
    const std::size_t n = std::uniform_int_distribution<std::size_t>(0, rng() % 5 ? 40 : 160)(rng);
    for (std::size_t i = 0; i < n; ++i) {
        s += pick(gaps);
        s += pick(words);
    }
    if (rng() % 3 == 0) s += pick(gaps);
    return s;
}

TEST(SQLParseOracle, GeneratedStatementsMatchTheStepByStepSplitter) {
    std::mt19937 rng(2024);
    SQLRoutines fast(standIns());
    oracle::Model model;
    for (int i = 0; i < 20000; ++i) {
        const String statement = randomStatement(rng);
        Variant written = statement;
        String expected = statement;
        const int got = parse(fast, written);
        const int want = oracle::parseSQL(expected, model);
        ASSERT_EQ(got, want) << toUtf8(statement);
        ASSERT_EQ(written.str(), expected) << toUtf8(statement);
        ASSERT_EQ(fast.selectCount(), model.selectCount) << toUtf8(statement);
        for (int r = 1; r <= 10; ++r)
            ASSERT_EQ(clauses(fast.record(r)), clauses(model.records[r - 1])) << toUtf8(statement);
    }
}

}  // namespace
}  // namespace brv

namespace brv {
namespace {

TEST(SQLParseSplits, UpperCaseThatChangesLengthKeepsClausePositions) {
    // Folding "ß" to "SS" would shift every later position of the folded copy.
    const ForeignRegional german;
    SQLRoutines s(german.platform());
    EXPECT_EQ(parse(s,
                    "SELECT stra\xc3\x9f"
                    "e FROM t WHERE x = 1 ORDER BY y"),
              0);
    EXPECT_EQ(clauses(s.record(1)), u"SELECT stra\u00dfe|FROM t|WHERE x = 1|||ORDER BY y|");
}

}  // namespace
}  // namespace brv

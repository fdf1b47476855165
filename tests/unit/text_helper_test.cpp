// The everyday examples run through the DLL in tests/client/text_helper.vbs; here: the fast
// rewrites against their step-by-step originals, and the Integer limits.
#include "text/text_helper.h"

#include <gtest/gtest.h>

#include <random>

#include "oracles_text.h"
#include "test_support.h"

namespace brv {
namespace {

// Random text over a small alphabet, so that runs and neighbours of interest are frequent.
String randomText(std::mt19937& rng, StringView alphabet, std::size_t maxLength) {
    String s(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng), u' ');
    for (auto& c : s)
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    return s;
}

TEST(TextHelperRewrites, MatchTheStepByStepVersions) {
    TextHelper t(standIns());
    std::mt19937 rng(7);
    for (int i = 0; i < 5000; ++i) {
        const String s = randomText(rng, u"   ab\t", 40);
        ASSERT_EQ(t.RemoveExtraSpaces(s), oracle::removeExtraSpaces(s)) << toUtf8(s);
    }
    for (int i = 0; i < 5000; ++i) {
        const String s = randomText(rng, u"  \"\"a&", 30);
        const String name = i % 3 ? u"cstrQuote" : randomText(rng, u"\" &x", 4);
        ASSERT_EQ(t.ReplaceQuotesWithConstant(s, name), oracle::replaceQuotesWithConstant(s, name))
            << toUtf8(s) << " / " << toUtf8(name);
    }
}

TEST(TextHelperLimits, PositionsHeldInIntegers) {
    TextHelper t(standIns());
    const String late(32766, u'a');
    // The search goes on 17 characters behind a quote, at 32767 at the latest.
    const String q32750 = String(32749, u'a') + u"\"";
    EXPECT_EQ(t.ReplaceQuotesWithConstant(q32750), String(32749, u'a') + u"\" & cstrQuote");
    EXPECT_EQ(errorOf([&] { t.ReplaceQuotesWithConstant(u"a" + q32750); }), 6);
    // The step-by-step version counts where its search goes on in the same way.
    EXPECT_EQ(errorOf([&] { oracle::replaceQuotesWithConstant(u"a" + q32750, u"cstrQuote"); }), 6);
    EXPECT_EQ(errorOf([&] { t.ReplaceQuotesWithConstant(u"a\"", String(32760, u'n')); }), 6);
    EXPECT_EQ(errorOf([&] { t.ReplaceQuotesWithConstant(String(2000, u'"')); }), 6);
    // Only positions in the trimmed, growing text count.
    EXPECT_EQ(t.ReplaceQuotesWithConstant(String(late.size(), u' ') + u"a\""), u"a\" & cstrQuote");
    EXPECT_EQ(t.ReplaceQuotesWithConstant(late + u"aaaa"), late + u"aaaa");

    EXPECT_EQ(errorOf([&] { t.ReplaceChr10withCrLf(late + u"a\n"); }), 6);
    EXPECT_EQ(t.ReplaceChr10withCrLf(late + u"\n"), Variant(late + u"\r\n"));
    EXPECT_EQ(errorOf([&] { t.SQLHandleQuotesAndApostrophes(String(20000, u'\''), 1); }), 6);
    // The search goes on two characters behind an apostrophe.
    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(String(32764, u'a') + u"'", 1).size(), 32768u);
    EXPECT_EQ(errorOf([&] { t.SQLHandleQuotesAndApostrophes(String(32765, u'a') + u"'", 1); }), 6);
    EXPECT_EQ(errorOf([&] { t.CharacterCount(late + u"aa", u"a"); }), 6);
    EXPECT_EQ(errorOf([&] { t.ReplaceInvalidCharacters(late + u"aa"); }), 6);
    EXPECT_EQ(t.RemoveAllSpaces(late + u"a  "), late + u"a");  // counts in Longs
}

TEST(TextHelperEdges, LettersLineBreaksAndRounding) {
    TextHelper t(standIns());
    EXPECT_EQ(t.LetterToNumber(u"cd"), 3);
    EXPECT_EQ(t.LetterToNumber(u""), 1);
    EXPECT_EQ(t.LetterToNumber(String(30, u'A')), 0);
    EXPECT_EQ(t.LetterGrouping(u"", 4, kupUpperCase), u"ABCD");
    EXPECT_EQ(t.LetterGrouping(u"M", 5, 7), u"klmno");
    EXPECT_EQ(t.LetterGrouping(u"A", 32767, kupUpperCase), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"EF", 5, kupUpperCase); }), 6);
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"A", 0, kupUpperCase); }), 5);
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"A", -1, kupUpperCase); }), 5);

    EXPECT_EQ(t.ReplaceChr10withCrLf(u"\r\n\n\r"), Variant(u"\r\n\r\n\r"));
    EXPECT_TRUE(t.ReplaceChr10withCrLf(Variant()).isEmpty());
    EXPECT_EQ(t.ReplaceChr10withCrLf(int16_t{12}), Variant(u"12"));
    EXPECT_EQ(errorOf([&] { t.ReplaceChr10withCrLf(Variant(Array::vector({}))); }), 13);

    EXPECT_EQ(t.Round(1.75, 1), 1.8);
    EXPECT_EQ(t.Round(-3.5, 0), -4);
    EXPECT_EQ(t.Round(true, 0), -1);
    EXPECT_EQ(errorOf([&] { t.Round(1.0, 255); }), 6);
    EXPECT_EQ(t.RoundMillions(30000000.0, 2), 30);
    EXPECT_EQ(t.PadString(u"abc", 0), u"");
    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(u"''", 3, u"*"), u"'*'''''");
}

}  // namespace
}  // namespace brv

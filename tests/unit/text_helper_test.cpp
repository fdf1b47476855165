#include "text/text_helper.h"

#include <gtest/gtest.h>

#include <random>

#include "oracles_text.h"

namespace brv {
namespace {

int errorOf(auto&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

// Random text over a small alphabet, so that runs and neighbours of interest are frequent.
String randomText(std::mt19937& rng, StringView alphabet, std::size_t maxLength) {
    String s(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng), u' ');
    for (auto& c : s)
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    return s;
}

TEST(TextHelperCounting, CountReplaceAndClean) {
    TextHelper t;
    EXPECT_EQ(t.CharacterCount(u"a,b,,c", u","), u"3");
    EXPECT_EQ(t.CharacterCount(u"abc", u""), u"0");
    EXPECT_EQ(t.CharacterCount(u"aaa", u"aa"), u"0");
    EXPECT_EQ(t.ReplaceText(u"a b c ", u"b", u"x"), u"a xc");
    EXPECT_EQ(t.ReplaceText(u" a b ", u"", u"x"), u" a b ");
    EXPECT_EQ(t.ReplaceInvalidCharacters(u"a/b:c?.txt"), u"a-b-c-.txt");
    EXPECT_EQ(t.ReplaceInvalidCharacters(u"\\*|\"<>ok\t"), u"------ok\t");
    EXPECT_EQ(t.RemoveAllSpaces(u" a b  c \t"), u"abc\t");

    const String longText(32768, u'a');
    EXPECT_EQ(errorOf([&] { t.CharacterCount(longText, u"a"); }), 6);
    EXPECT_EQ(errorOf([&] { t.ReplaceInvalidCharacters(longText); }), 6);
    EXPECT_EQ(t.CharacterCount(longText.substr(1), u"a"), u"32767");
    EXPECT_EQ(t.RemoveAllSpaces(longText + u"  "), longText);  // counts in Longs
}

TEST(TextHelperSpaces, RemoveExtraSpacesKeepsItsTrimmingRules) {
    TextHelper t;
    EXPECT_EQ(t.RemoveExtraSpaces(u"a   b  c  "), u"a b c");
    EXPECT_EQ(t.RemoveExtraSpaces(u"  a"), u" a");
    EXPECT_EQ(t.RemoveExtraSpaces(u"a b "), u"a b ");
    EXPECT_EQ(t.RemoveExtraSpaces(u"a  b "), u"a b");
    EXPECT_EQ(t.RemoveExtraSpaces(u" a  "), u" a ");
    EXPECT_EQ(t.RemoveExtraSpaces(u"a \t  b"), u"a \t b");
    EXPECT_EQ(t.RemoveExtraSpaces(u""), u"");

    std::mt19937 rng(7);
    for (int i = 0; i < 5000; ++i) {
        const String s = randomText(rng, u"   ab\t", 40);
        ASSERT_EQ(t.RemoveExtraSpaces(s), oracle::removeExtraSpaces(s)) << toUtf8(s);
    }
}

TEST(TextHelperQuotes, ReplaceQuotesWithConstant) {
    TextHelper t;
    EXPECT_EQ(t.ReplaceQuotesWithConstant(u"no quotes "), u"no quotes ");
    EXPECT_EQ(t.ReplaceQuotesWithConstant(u"Say \"Hi\""),
              u"Say \" & cstrQuote & \"Hi\" & cstrQuote");
    EXPECT_EQ(t.ReplaceQuotesWithConstant(u"\"\""), u"cstrQuote & \"\" & cstrQuote");
    EXPECT_EQ(t.ReplaceQuotesWithConstant(u"\"Hi\" there"),
              u"cstrQuote & \"Hi\" & cstrQuote & \" there");
    // A quote inside the constant's name is never replaced again.
    EXPECT_EQ(t.ReplaceQuotesWithConstant(u"a\"b", u"Q\""), u"a\" & Q\" & \"b");

    std::mt19937 rng(11);
    for (int i = 0; i < 5000; ++i) {
        const String s = randomText(rng, u"  \"\"a&", 30);
        const String name = i % 3 ? u"cstrQuote" : randomText(rng, u"\" &x", 4);
        ASSERT_EQ(t.ReplaceQuotesWithConstant(s, name), oracle::replaceQuotesWithConstant(s, name))
            << toUtf8(s) << " / " << toUtf8(name);
    }

    // The position of a quote is held in an Integer.
    String late(32766, u'a');
    EXPECT_EQ(t.ReplaceQuotesWithConstant(late + u"\""), late + u"\" & cstrQuote");
    EXPECT_EQ(errorOf([&] { t.ReplaceQuotesWithConstant(late + u"a\""); }), 6);
    EXPECT_EQ(errorOf([&] { t.ReplaceQuotesWithConstant(String(2000, u'"')); }), 6);
    EXPECT_EQ(t.ReplaceQuotesWithConstant(late + u"aaaa"), late + u"aaaa");
    EXPECT_EQ(t.ReplaceQuotesWithConstant(String(late.size(), u' ') + u"a\""), u"a\" & cstrQuote");
}

TEST(TextHelperValues, NullEmptyAndLetters) {
    TextHelper t;
    EXPECT_TRUE(t.EmptyStringToNull(u"").isNull());
    EXPECT_EQ(t.EmptyStringToNull(u" "), Variant(u" "));
    EXPECT_EQ(t.NullToZ(Null{}, int16_t{0}), Variant(int16_t{0}));
    EXPECT_TRUE(t.NullToZ(Variant(), int16_t{0}).isEmpty());
    EXPECT_EQ(t.NullToZ(u"x", 5.0), Variant(u"x"));

    EXPECT_EQ(t.NumberToLetter(1), u"A");
    EXPECT_EQ(t.NumberToLetter(26), u"Z");
    EXPECT_EQ(t.NumberToLetter(27), u"");
    EXPECT_EQ(errorOf([&] { t.NumberToLetter(0); }), 5);
    EXPECT_EQ(t.LetterToNumber(u"z"), 26);
    EXPECT_EQ(t.LetterToNumber(u"cd"), 3);
    EXPECT_EQ(t.LetterToNumber(u"CE"), 0);
    EXPECT_EQ(t.LetterToNumber(u"1"), 0);
    EXPECT_EQ(t.LetterToNumber(u""), 1);

    EXPECT_EQ(t.LetterGrouping(u"M", 5, kupUpperCase), u"KLMNO");
    EXPECT_EQ(t.LetterGrouping(u"M", 5, kupLowerCase), u"klmno");
    EXPECT_EQ(t.LetterGrouping(u"M", 5, 7), u"klmno");
    EXPECT_EQ(t.LetterGrouping(u"Z", 5, kupUpperCase), u"Z");
    EXPECT_EQ(t.LetterGrouping(u"", 4, kupUpperCase), u"ABCD");
    EXPECT_EQ(t.LetterGrouping(u"A", 32767, kupUpperCase), String(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"m", 5, kupUpperCase); }), 6);
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"EF", 5, kupUpperCase); }), 6);
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"A", 0, kupUpperCase); }), 5);
    EXPECT_EQ(errorOf([&] { t.LetterGrouping(u"A", -1, kupUpperCase); }), 5);
}

TEST(TextHelperLineBreaks, EveryLfGetsOneCr) {
    TextHelper t;
    EXPECT_EQ(t.ReplaceChr10withCrLf(u"\na"), Variant(u"\r\na"));
    EXPECT_EQ(t.ReplaceChr10withCrLf(u"\n"), Variant(u"\r\n"));
    EXPECT_EQ(t.ReplaceChr10withCrLf(u"\n\n"), Variant(u"\r\n\r\n"));
    EXPECT_EQ(t.ReplaceChr10withCrLf(u"\r\n\n\r"), Variant(u"\r\n\r\n\r"));
    EXPECT_TRUE(t.ReplaceChr10withCrLf(Null{}).isNull());
    EXPECT_TRUE(t.ReplaceChr10withCrLf(Variant()).isEmpty());
    EXPECT_EQ(t.ReplaceChr10withCrLf(int16_t{12}), Variant(u"12"));
    EXPECT_EQ(errorOf([&] { t.ReplaceChr10withCrLf(String(32767, u'a') + u"\n"); }), 6);
    EXPECT_EQ(errorOf([&] { t.ReplaceChr10withCrLf(Variant(Array::vector({}))); }), 13);
}

TEST(TextHelperNumbers, RoundPadAndQuote) {
    TextHelper t;
    EXPECT_EQ(t.Round(1.25, 1), 1.2);
    EXPECT_EQ(t.Round(1.75, 1), 1.8);
    EXPECT_EQ(t.Round(2.5, 0), 2);
    EXPECT_EQ(t.Round(-3.5, 0), -4);
    EXPECT_EQ(t.Round(Null{}, 2), 0);
    EXPECT_EQ(t.Round(u"4.5", 0), 4);
    EXPECT_EQ(t.Round(true, 0), -1);
    EXPECT_EQ(errorOf([&] { t.Round(30000000.0, 2); }), 6);
    EXPECT_EQ(errorOf([&] { t.Round(u"abc", 2); }), 13);
    EXPECT_EQ(errorOf([&] { t.Round(1.0, 255); }), 6);
    EXPECT_EQ(t.RoundMillions(30000000.0, 2), 30);
    EXPECT_EQ(t.RoundMillions(1234567890, 2), 1234.57);
    EXPECT_EQ(t.RoundMillions(Null{}, 2), 0);

    EXPECT_EQ(t.PadString(u"abc", 5), u"abc  ");
    EXPECT_EQ(t.PadString(u"abcdef", 3), u"abc");
    EXPECT_EQ(t.PadString(u"abc", 0), u"");
    EXPECT_EQ(errorOf([&] { t.PadString(u"abc", -1); }), 5);

    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(u"O'Brien", 1), u"'O''Brien'");
    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(u"O'Brien", 4), u"'%O''Brien%'");
    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(u"''", 2, u"*"), u"'''''*'");
    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(u"a\"b", 3), u"'%a\"b'");
    EXPECT_EQ(t.SQLHandleQuotesAndApostrophes(u"O'Brien", 0), u"");
    EXPECT_EQ(errorOf([&] { t.SQLHandleQuotesAndApostrophes(String(20000, u'\''), 1); }), 6);
}

}  // namespace
}  // namespace brv

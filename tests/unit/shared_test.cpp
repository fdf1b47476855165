// The shared routines and the search translator.

#include "frame/shared.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "frame/convert.h"
#include "frame_oracles.h"
#include "platform/platform.h"
#include "sql/search_translator.h"
#include "test_support.h"
#include "text/text_helper.h"

using namespace brv;
using namespace std::string_view_literals;

TEST(ReplaceText, TrimsBehindEveryReplacement) {
    EXPECT_EQ(fnReplaceText(u"a b c ", u"b", u"x"), u"a xc");
    EXPECT_EQ(fnReplaceText(u"a  b", u" ", u""), u"ab");
    EXPECT_EQ(fnReplaceText(u"  keep  ", u"z", u"y"), u"  keep  ");  // no match: untouched
    EXPECT_EQ(fnReplaceText(u"  keep  ", u"", u"y"), u"  keep  ");
    EXPECT_EQ(fnReplaceText(u"abc", u"A", u"x"), u"abc");
    // A match that exists only because the trimming joined two pieces.
    EXPECT_EQ(fnReplaceText(u"ab  b", u"ab", u"a"), u"a");
    // A match that begins before the inserted replacement and ends inside it.
    EXPECT_EQ(fnReplaceText(u"aab", u"ab", u"b"), u"b");
    EXPECT_EQ(fnReplaceText(u"x\r\n  y \r\nz  ", u"\r\n", u" "), u"x y  z");
    EXPECT_EQ(fnReplaceText(u"path\0   "sv, u"\0"sv, u" "), u"path ");
}

TEST(ReplaceText, MatchesTheLiteralLoopOnGeneratedInputs) {
    std::mt19937 rng(20261206);
    const char16_t alphabet[] = {u'a', u'b', u' ', u' ', u'\t', u'c'};
    auto gen = [&](std::size_t maxLen, std::size_t letters) {
        String s(rng() % (maxLen + 1), u' ');
        for (auto& c : s) c = alphabet[rng() % letters];
        return s;
    };
    int compared = 0;
    while (compared < 10000) {
        const String text = gen(24, 6), search = gen(3, 4), replacement = gen(4, 4);
        if (replacement.find(search) != String::npos && !search.empty()) continue;
        const auto expected = oracle::replaceText(text, search, replacement, 20000);
        if (!expected) continue;  // the literal loop does not end: see the next test
        ASSERT_EQ(fnReplaceText(text, search, replacement), *expected)
            << toUtf8(text) << " | " << toUtf8(search) << " | " << toUtf8(replacement);
        ++compared;
    }
}

TEST(ReplaceText, EndsWhereTheLiteralLoopWouldNot) {
    // The replacement holds the search text: each search resumes behind the replacement.
    EXPECT_EQ(fnReplaceText(u"a b", u"a", u"aa"), u"aab");
    EXPECT_EQ(fnReplaceText(u"xx", u"x", u"x"), u"xx");
    // Without holding the search text, this pair feeds on its own output for ever; this one
    // ends, but only after the text has doubled fifteen times.
    ASSERT_FALSE(oracle::replaceText(u"aaba", u"ab", u"bbaa", 10000));
    expectError(
        7, [] { fnReplaceText(u"aaba", u"ab", u"bbaa"); }, u"fnReplaceText");
    // Each replacement's trailing spaces meet the next line break: the same without end.
    expectError(
        7, [] { fnReplaceText(u"x  \r\n\r\n", u" \r\n", u"\r\n\r\n   "); }, u"fnReplaceText");
    const String doubling = String(15, u'b') + u"a";
    EXPECT_EQ(fnReplaceText(doubling, u"ba", u"aab"), String(32768, u'a') + String(15, u'b'));
    // Long texts work; positions are Longs here. A search text beyond 32767 is error 6.
    const String longText(40000, u'q');
    EXPECT_EQ(fnReplaceText(longText + u"  z", u"q", u""), u"z");
    expectError(
        6, [] { fnReplaceText(u"a", String(32768, u'a'), u""); }, u"fnReplaceText");
}

TEST(CountCharacter, WholeCharacterComparison) {
    EXPECT_EQ(fnCountCharacter(u"a,b,,c", u","), 3);
    EXPECT_EQ(fnCountCharacter(u"abc", u""), 0);
    EXPECT_EQ(fnCountCharacter(u"aaa", u"aa"), 0);
    EXPECT_EQ(fnCountCharacter(u"", u"a"), 0);
    EXPECT_EQ(fnCountCharacter(String(32767, u'a'), u"a"), 32767);
    expectError(6, [] { fnCountCharacter(String(32768, u'a'), u"a"); });
}

namespace {
// A file system whose every open fails with one error number.
struct FailingFiles : FileOpener {
    int32_t number;
    explicit FailingFiles(int32_t n) : number(n) {}
    std::unique_ptr<File> open(StringView, OpenMode) const override {
        throw Error(number, u"probe", u"as raised");
    }
};
}  // namespace

TEST(FileExists, ProbesAndAlwaysClosesTheNumber) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("brv-probe-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "here.txt";
    std::FILE* f = std::fopen(file.c_str(), "w");
    std::fputs("x", f);
    std::fclose(f);

    FileTable files(*standIns().files);
    EXPECT_TRUE(fnFileExists(fromUtf8(file.string()), files));
    EXPECT_EQ(files.freeFile(), 1);  // closed again
    EXPECT_FALSE(fnFileExists(fromUtf8((dir / "missing.txt").string()), files));
    EXPECT_FALSE(fnFileExists(fromUtf8((dir / "nodir" / "x.txt").string()), files));
    EXPECT_FALSE(fnFileExists(fromUtf8(dir.string()), files));  // a folder is no file
    EXPECT_FALSE(fnFileExists(u"", files));
    expectError(52, [&] { fnFileExists(fromUtf8((dir / "a*b").string()), files); });
    EXPECT_EQ(files.freeFile(), 1);
    fs::remove_all(dir);

    for (int32_t n : {53, 68, 75, 76}) {
        FailingFiles failing(n);
        FileTable table(failing);
        EXPECT_FALSE(fnFileExists(u"x", table)) << n;
    }
    for (int32_t n : {52, 55, 70}) {
        FailingFiles failing(n);
        FileTable table(failing);
        try {
            fnFileExists(u"x", table);
            ADD_FAILURE() << "error " << n << " was swallowed";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), n);
            EXPECT_EQ(e.source(), u"probe");
            EXPECT_EQ(e.description(), u"as raised");
        }
        EXPECT_EQ(table.freeFile(), 1);
    }
}

TEST(BooleanSearch, TermsAndWildcards) {
    TextHelper t(standIns());
    EXPECT_EQ(t.BooleanSearch(u"war", u"Title", 1), u"Title = 'war'");
    EXPECT_EQ(t.BooleanSearch(u"war", u"Title", 2), u"Title Like 'war%'");
    EXPECT_EQ(t.BooleanSearch(u"war", u"Title", 3), u"Title Like '%war'");
    EXPECT_EQ(t.BooleanSearch(u"smith", u"Name"), u"Name Like '%smith%'");
    EXPECT_EQ(t.BooleanSearch(u"war AND peace", u"Title", 1),
              u"WHERE Title = 'war' AND Title = 'peace'");
    EXPECT_EQ(t.BooleanSearch(u"TV AND radio AND hifi", u"Title", 2),
              u"WHERE Title Like 'TV%' AND Title Like 'radio%' AND Title Like 'hifi%'");
    EXPECT_EQ(t.BooleanSearch(u"war and peace", u"Title"), u"Title Like '%war and peace%'");
    EXPECT_EQ(t.BooleanSearch(u"war  AND peace", u"Title"),
              u"WHERE Title Like '%war %' AND Title Like '%peace%'");
    EXPECT_EQ(t.BooleanSearch(u" AND  AND ", u"F", 1), u"WHERE F = '' AND F = '' AND F = ''");
    EXPECT_EQ(t.BooleanSearch(u"O'Brien", u"Title", 1), u"Title = 'O'Brien'");
    EXPECT_EQ(t.BooleanSearch(u"war", u"Title", 2, u"*"), u"Title Like 'war*'");
    EXPECT_EQ(t.BooleanSearch(u"a AND b", u"Title", 0), u"");
    EXPECT_EQ(t.BooleanSearch(u"a", u"Title", 5), u"");
    EXPECT_EQ(t.BooleanSearch(u"", u"Title", 4), u"Title Like '%%'");
}

TEST(BooleanSearch, IntegerPositionsOfSeparators) {
    TextHelper t(standIns());
    // A separator may begin at 32762 at the latest; one term of any length is fine.
    const String upTo = String(32761, u'x') + u" AND y";
    EXPECT_EQ(t.BooleanSearch(upTo, u"F", 1),
              u"WHERE F = '" + String(32761, u'x') + u"' AND F = 'y'");
    expectError(6, [&] { t.BooleanSearch(String(32762, u'x') + u" AND y", u"F", 1); });
    EXPECT_EQ(t.BooleanSearch(String(40000, u'x'), u"F", 1).size(), 40000u + 6);
}

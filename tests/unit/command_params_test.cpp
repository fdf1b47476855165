#include "cmdline/command_params.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "frame/error.h"
#include "test_support.h"

using namespace brv;

namespace {

class FakeProcess : public platform::Process {
  public:
    String arguments;
    mutable int calls = 0;
    String commandLineArguments() const override {
        ++calls;
        return arguments;
    }
    // The stand-in platform with this process in it.
    platform::Platform platform() const {
        platform::Platform p = standIns();
        p.process = this;
        return p;
    }
};

using Params = std::vector<std::pair<String, String>>;

Params contents(const CommandParams& p) {
    Params out;
    for (const Variant& v : p.get_NewEnum().items) {
        auto param = std::static_pointer_cast<clsCommandParam>(v.object());
        out.emplace_back(param->get_ParamName(), param->get_ParamValue());
    }
    return out;
}

Params parse(const String& line) {
    FakeProcess none;
    CommandParams p(none.platform());
    p.let_CommandLine(line);
    p.ParseCommandLine();
    return contents(p);
}

}  // namespace

TEST(CommandLineProperty, TrimsOnLetAndStoresTheLeadingSlashOnGet) {
    FakeProcess proc;
    proc.arguments = u"ignored";
    CommandParams p(proc.platform());
    p.let_CommandLine(u"  /a 1  ");
    EXPECT_EQ(p.get_CommandLine(), u"/a 1");
    p.let_CommandLine(u"a 1");
    EXPECT_EQ(p.get_CommandLine(), u"/a 1");
    EXPECT_EQ(p.get_CommandLine(), u"/a 1");
    EXPECT_EQ(proc.calls, 0);
    // Tabs are not trimmed, so they keep the slash from being the first character.
    p.let_CommandLine(u"\t/a");
    EXPECT_EQ(p.get_CommandLine(), u"/\t/a");
}

TEST(CommandLineProperty, FallsBackToTheProcessWhileEmpty) {
    FakeProcess proc;
    CommandParams p(proc.platform());
    EXPECT_EQ(p.get_CommandLine(), u"");
    EXPECT_EQ(p.get_CommandLine(), u"");
    EXPECT_EQ(proc.calls, 2);  // consulted again while nothing is stored
    p.ParseCommandLine();
    EXPECT_EQ(p.get_Count(), 0);

    proc.arguments = u"  report.txt /copies 2 ";
    p.let_CommandLine(u"   ");
    EXPECT_EQ(p.get_CommandLine(), u"/report.txt /copies 2");
    proc.arguments = u"/other";
    EXPECT_EQ(p.get_CommandLine(), u"/report.txt /copies 2");
    p.ParseCommandLine();
    EXPECT_EQ(contents(p), (Params{{u"report.txt", u""}, {u"copies", u"2"}}));
}

TEST(ParseCommandLine, Grammar) {
    const std::vector<std::pair<String, Params>> cases = {
        {u"/a 1 /b", {{u"a", u"1"}, {u"b", u""}}},
        {u"/title Hello World", {{u"title", u"Hello World"}}},
        {u"/date 12/05/2001", {{u"date", u"12"}, {u"05/2001", u""}}},
        {u"/a/b x", {{u"a/b", u"x"}}},
        {u"/a x /", {{u"a", u"x"}}},
        {u"/a    x   ", {{u"a", u"x"}}},
        // An empty name drops the value that follows it.
        {u"/ lost /k v", {{u"k", u"v"}}},
        // Only the space ends a name; tabs are ordinary characters.
        {u"/a\tb c\t", {{u"a\tb", u"c\t"}}},
        // Quotes go together with the spaces right behind them.
        {u"/file \"My File.txt\" /n 2", {{u"file", u"My File.txt"}, {u"n", u"2"}}},
        {u"/a \"x\" y", {{u"a", u"xy"}}},
        {u"/\"q\" v", {{u"qv", u""}}},
        // A name that runs to the end leaves the scan at its slash: its characters are read
        // again as the value, and every later slash starts a name running to the end.
        {u"/a/b/", {{u"a/b/", u"a"}, {u"b/", u"b"}}},
        {u"/x 1 /y/z/", {{u"x", u"1"}, {u"y/z/", u"y"}, {u"z/", u"z"}}},
        // The terminator brings a space, which ends the last name.
        {u"/x 1 /y/z", {{u"x", u"1"}, {u"y/z", u""}}},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(parse(line), expected) << toUtf8(line);
}

TEST(ParseCommandLine, DuplicateNamesStopWith457AndKeepWhatCameBefore) {
    FakeProcess none;
    CommandParams p(none.platform());
    p.let_CommandLine(u"/a 1 /A 2 /c 3");
    EXPECT_EQ(errorOf([&] { p.ParseCommandLine(); }), err::DuplicateKey);
    EXPECT_EQ(p.get_Count(), 1);

    CommandParams twice(none.platform());
    twice.let_CommandLine(u"/x 1 /y 2");
    twice.ParseCommandLine();
    EXPECT_EQ(errorOf([&] { twice.ParseCommandLine(); }), err::DuplicateKey);
    EXPECT_EQ(twice.get_Count(), 2);
}

TEST(ParseCommandLine, LengthLimits) {
    FakeProcess none;
    CommandParams ok(none.platform());
    String line = u"/a " + String(32765 - 3, u'x');
    ok.let_CommandLine(line);
    ok.ParseCommandLine();
    EXPECT_EQ(ok.get_Count(), 1);

    CommandParams tooLong(none.platform());
    tooLong.let_CommandLine(line + u"x");
    EXPECT_EQ(errorOf([&] { tooLong.ParseCommandLine(); }), err::Overflow);
    EXPECT_EQ(tooLong.get_Count(), 0);
    // The slash the get adds counts too.
    tooLong.let_CommandLine(String(32765, u'a'));
    EXPECT_EQ(errorOf([&] { tooLong.ParseCommandLine(); }), err::Overflow);

    // A line of slashes would make names totalling half a billion characters: it ends with
    // an out-of-memory error instead.
    CommandParams slashes(none.platform());
    slashes.let_CommandLine(String(32765, u'/'));
    EXPECT_EQ(errorOf([&] { slashes.ParseCommandLine(); }), err::OutOfMemory);
    EXPECT_GT(slashes.get_Count(), 0);
}

// Everyday lookups are covered by the client suite; here the index kinds it does not send.
TEST(Lookup, IndexKinds) {
    FakeProcess none;
    CommandParams p(none.platform());
    p.let_CommandLine(u"/File x /b");
    p.ParseCommandLine();
    EXPECT_EQ(p.get_Item(Variant(int16_t{2}))->get_ParamName(), u"b");
    EXPECT_EQ(p.get_Item(Variant(2.0))->get_ParamName(), u"b");
    EXPECT_EQ(p.GetCommandLineItem(u"b"), Variant(u""));
    EXPECT_TRUE(p.GetCommandLineItem(u"nope").isEmpty());
    EXPECT_EQ(errorOf([&] { p.get_Item(Variant()); }), err::InvalidCall);
    EXPECT_EQ(errorOf([&] { p.get_Item(Variant(Null{})); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([&] { p.get_Item(Variant(int32_t{-1})); }), err::SubscriptOutOfRange);
}

TEST(Lookup, ItemsKeepTheirIdentityAndChangesDoNotMoveKeys) {
    FakeProcess none;
    CommandParams p(none.platform());
    p.let_CommandLine(u"/a 1 /b 2 /c 3");
    p.ParseCommandLine();
    auto first = p.get_Item(Variant(u"a"));
    EXPECT_EQ(first, p.get_Item(Variant(int32_t{1})));
    const auto items = p.get_NewEnum().items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].object(), std::static_pointer_cast<Object>(first));
    first->let_ParamName(u"renamed");
    first->let_ParamValue(u" spaced ");
    EXPECT_EQ(p.get_Item(Variant(u"a"))->get_ParamValue(), u" spaced ");
    EXPECT_FALSE(p.FindCommandLineItem(u"renamed"));
}

TEST(Scale, ThousandsOfSwitchesParseAndLookUp) {
    FakeProcess none;
    CommandParams p(none.platform());
    String line;
    for (int i = 0; i < 3000; ++i) line += u"/k" + fromUtf8(std::to_string(i)) + u" v ";
    p.let_CommandLine(line);
    p.ParseCommandLine();
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(p.GetCommandLineItem(u"K" + fromUtf8(std::to_string(i % 3000))), Variant(u"v"));
    EXPECT_EQ(p.get_Count(), 3000);
}

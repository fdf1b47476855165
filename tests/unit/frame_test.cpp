// The value model, the runtime conversions, the errors and the keyed collection.
#include <gtest/gtest.h>

#include <cmath>

#include "frame/calendar.h"
#include "frame/collection.h"
#include "frame/convert.h"
#include "frame/object.h"
#include "test_support.h"

using namespace brv;

namespace {
// The conversions under the stand-in locale (English, United States).
String toText(const Variant& v) {
    return brv::toText(v, standInLocale());
}
String joinText(const Variant& v) {
    return brv::joinText(v, standInLocale());
}
double toDouble(const Variant& v) {
    return brv::toDouble(v, standInLocale());
}
int16_t toInteger(const Variant& v) {
    return brv::toInteger(v, standInLocale());
}
int32_t toLong(const Variant& v) {
    return brv::toLong(v, standInLocale());
}
uint8_t toByte(const Variant& v) {
    return brv::toByte(v, standInLocale());
}
bool toBoolean(const Variant& v) {
    return brv::toBoolean(v, standInLocale());
}
int compareStrings(StringView a, StringView b, CompareMode mode) {
    return brv::compareStrings(a, b, mode, standInLocale());
}
}  // namespace

TEST(Conversions, TextFormOfNumbersBooleansAndDates) {
    EXPECT_EQ(toText(Variant(1.5)), u"1.5");
    EXPECT_EQ(toText(Variant(0.1 + 0.2)), u"0.3");  // 15 significant digits
    EXPECT_EQ(toText(Variant(1e20)), u"1E+20");
    EXPECT_EQ(toText(Variant(-0.0)), u"0");
    EXPECT_EQ(toText(Variant(int16_t{-5})), u"-5");
    EXPECT_EQ(toText(Variant(Currency{12345})), u"1.2345");
    EXPECT_EQ(toText(Variant(true)), u"True");
    EXPECT_EQ(toText(Variant()), u"");
    EXPECT_EQ(toText(Variant(Date{dateSerial(2024, 2, 29)})), u"2/29/2024");
    EXPECT_EQ(toText(Variant(Date{dateSerial(2024, 2, 29) + timeSerial(13, 5, 0)})),
              u"2/29/2024 1:05:00 PM");
    expectError(94, [] { toText(Variant(Null{})); });
    expectError(449, [] { toText(Variant::missing()); });
    expectError(13, [] { toText(Variant(Array::vector({Variant(1)}))); });
    EXPECT_EQ(joinText(Variant(Null{})), u"");
}

TEST(Conversions, NumbersFromTextAndRounding) {
    EXPECT_EQ(toDouble(Variant(u" 1,234.5 ")), 1234.5);
    EXPECT_EQ(toLong(Variant(u"&HFF")), 255);
    EXPECT_EQ(toLong(Variant(u"&HFFFFFFFF")), -1);
    EXPECT_EQ(toDouble(Variant(u"1e3")), 1000);
    expectError(13, [] { toDouble(Variant(u"abc")); });
    expectError(13, [] { toDouble(Variant(u"")); });
    // Half to even, as the runtime's integer conversions round.
    EXPECT_EQ(toInteger(Variant(2.5)), 2);
    EXPECT_EQ(toInteger(Variant(3.5)), 4);
    EXPECT_EQ(toLong(Variant(-2.5)), -2);
    EXPECT_EQ(toInteger(Variant(32767.4)), 32767);
    expectError(6, [] { toInteger(Variant(32767.5)); });
    expectError(6, [] { toLong(Variant(2147483647.5)); });
    EXPECT_EQ(toLong(Variant(-2147483648.0)), INT32_MIN);
    expectError(6, [] { toByte(Variant(256)); });
    expectError(6, [] { toByte(Variant(-1)); });
    EXPECT_EQ(toInteger(Variant(true)), -1);
    EXPECT_TRUE(toBoolean(Variant(u"true")));
    EXPECT_FALSE(toBoolean(Variant(u"0")));
    expectError(13, [] { toBoolean(Variant(u"yes")); });
    expectError(94, [] { toLong(Variant(Null{})); });
    expectError(6, [] { asInteger(32768); });
    EXPECT_EQ(asInteger(32767), 32767);
}

TEST(Conversions, ObjectsConvertThroughTheirDefaultMember) {
    auto obj = std::make_shared<FakeObject>();
    obj->props[u""] = Variant(u"42");
    EXPECT_EQ(toLong(Variant(ObjectRef(obj))), 42);
    expectError(91, [] { toText(Variant(nullptr)); });
    auto none = std::make_shared<FakeObject>();
    expectError(438, [&] { toText(Variant(ObjectRef(none))); });
}

TEST(Conversions, TextComparisonModes) {
    EXPECT_NE(compareStrings(u"abc", u"ABC", CompareMode::Binary), 0);
    EXPECT_EQ(compareStrings(u"abc", u"ABC", CompareMode::Text), 0);
    EXPECT_EQ(compareStrings(u"\u00e9t\u00e9", u"\u00c9T\u00c9", CompareMode::Database), 0);
    EXPECT_LT(compareStrings(u"a", u"B", CompareMode::Text), 0);
    EXPECT_GT(compareStrings(u"a", u"B", CompareMode::Binary), 0);
}

TEST(Errors, StandardDescriptions) {
    EXPECT_EQ(Error(5).description(), u"Invalid procedure call or argument");
    EXPECT_EQ(Error(9).description(), u"Subscript out of range");
    EXPECT_EQ(Error(52).description(), u"Bad file name or number");
    EXPECT_EQ(Error(75).description(), u"Path/File access error");
    EXPECT_EQ(Error(91).description(), u"Object variable or With block variable not set");
    EXPECT_EQ(Error(457).description(),
              u"This key is already associated with an element of this collection");
    EXPECT_EQ(Error(12291).description(), u"Application-defined or object-defined error");
    const Error e = Error(6, u"inner", u"custom").withSource(u"fnReplaceText");
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.source(), u"fnReplaceText");
    EXPECT_EQ(e.description(), u"custom");
}

TEST(Arrays, BoundsElementsAndResizing) {
    Array a(VarType::String, {{-2, 3}});
    EXPECT_EQ(a.lbound(), -2);
    EXPECT_EQ(a.ubound(), 0);
    a.set(-1, Variant(7), standInLocale());
    EXPECT_EQ(a.at(-1), Variant(u"7"));  // stored as the element type
    expectError(9, [&] { a.at(1); });
    expectError(9, [&] { a.ubound(2); });
    a.redimPreserve(2);
    EXPECT_EQ(a.size(), 5u);
    EXPECT_EQ(a.at(2), Variant(u""));
    Array grid(VarType::Variant, {{0, 2}, {1, 3}});
    const int32_t idx[2] = {1, 3};
    grid.at(idx) = Variant(5);
    EXPECT_EQ(grid.items().back(), Variant(5));  // first index varies fastest
    Variant copy = Variant(grid);
    grid.at(idx) = Variant(6);
    EXPECT_EQ(copy.array().items().back(), Variant(5));  // arrays are values
}

TEST(Collection, OrderPositionsAndKeys) {
    Collection c(standInLocale());
    c.add(Variant(u"a"), u"Mode");
    c.add(Variant(u"c"));
    c.add(Variant(u"b"), u"second", 2);         // before position 2
    c.add(Variant(u"d"), std::nullopt, {}, 3);  // after position 3
    EXPECT_EQ(c.count(), 4);
    std::vector<Variant> expected{Variant(u"a"), Variant(u"b"), Variant(u"c"), Variant(u"d")};
    EXPECT_EQ(c.snapshot(), expected);
    EXPECT_EQ(c.item(Variant(u"MODE")), Variant(u"a"));
    EXPECT_EQ(c.item(Variant(2.0)), Variant(u"b"));
    expectError(457, [&] { c.add(Variant(u"x"), u"mode"); });
    EXPECT_EQ(c.count(), 4);
    expectError(5, [&] { c.item(Variant(u"nothere")); });
    expectError(9, [&] { c.item(Variant(0)); });
    expectError(9, [&] { c.item(Variant(5)); });
    expectError(9, [&] { c.add(Variant(1), std::nullopt, 9); });
    expectError(5, [&] { c.add(Variant(1), std::nullopt, 1, 1); });
    expectError(94, [&] { c.item(Variant(Null{})); });
    c.remove(Variant(u"SECOND"));
    c.remove(Variant(1));
    EXPECT_EQ(c.snapshot(), (std::vector<Variant>{Variant(u"c"), Variant(u"d")}));
    EXPECT_FALSE(c.containsKey(u"mode"));
    c.add(Variant(u"again"), u"mode");  // a removed key is free again
    EXPECT_EQ(c.at(3), Variant(u"again"));
}

TEST(Collection, ManyItemsKeepOrderUnderInsertsAndRemovals) {
    // Large enough to span many blocks; positions must stay exact through splits and removals.
    Collection c(standInLocale());
    std::vector<int32_t> model;
    for (int32_t i = 0; i < 20000; ++i) {
        const int32_t before = i % 3 == 0 && !model.empty() ? 1 + (i * 7919) % c.count() : 0;
        if (before) {
            c.add(Variant(i), u"k" + fromUtf8(std::to_string(i)), before);
            model.insert(model.begin() + before - 1, i);
        } else {
            c.add(Variant(i), u"K" + fromUtf8(std::to_string(i)));
            model.push_back(i);
        }
    }
    for (int round = 0; round < 5000; ++round) {
        const int32_t pos = 1 + (round * 104729) % c.count();
        c.removeAt(pos);
        model.erase(model.begin() + pos - 1);
    }
    ASSERT_EQ(c.count(), static_cast<int32_t>(model.size()));
    for (int32_t p = 1; p <= c.count(); p += 97) EXPECT_EQ(c.at(p), Variant(model[p - 1]));
    const int32_t last = model.back();
    EXPECT_EQ(c.byKey(u"k" + fromUtf8(std::to_string(last))), Variant(last));
    while (c.count()) c.removeAt(1);  // emptying from the front, as a reload does
    EXPECT_TRUE(c.snapshot().empty());
}

TEST(Calendar, SerialsRoundTrip) {
    EXPECT_EQ(dateSerial(1899, 12, 30), 0);
    EXPECT_EQ(dateSerial(1900, 1, 1), 2);
    EXPECT_EQ(dateSerial(2024, 13, 1), dateSerial(2025, 1, 1));
    EXPECT_EQ(dateSerial(2024, 3, 0), dateSerial(2024, 2, 29));
    for (double s : {-657434.0, -1.25, 0.5, 45351.75, 2958465.0}) {
        const CivilTime t = civilFromSerial(s);
        const double back = dateSerial(t.year, t.month, t.day);
        EXPECT_EQ(back, s < 0 ? std::ceil(s) : std::floor(s)) << s;
    }
}

TEST(HandedInLocale, KeysDatesAndComparisonsFollowIt) {
    const ForeignRegional turkish;
    Collection c(turkish);
    c.add(Variant(u"a"), u"file");
    c.add(Variant(u"b"), u"FILE");  // a different key once "i" folds to a dotted capital
    EXPECT_EQ(c.item(Variant(u"f\u0130LE")), Variant(u"a"));
    EXPECT_EQ(brv::toText(Variant(Date{dateSerial(2024, 2, 29)}), turkish), u"29.2.2024");
    EXPECT_NE(brv::compareStrings(u"file", u"FILE", CompareMode::Text, turkish), 0);
    EXPECT_EQ(compareStrings(u"file", u"FILE", CompareMode::Text), 0);
}

#include <gtest/gtest.h>

#include <vector>

#include "arrays/array_collection_helper.h"
#include "arrays/array_helper.h"
#include "frame/error.h"
#include "test_support.h"

using namespace brv;

namespace {

Variant arr(std::vector<Variant> items, int32_t lower = 0) {
    return Variant(Array::vector(std::move(items), lower));
}

// The elements of a one-dimensional array as text, for compact comparisons.
std::vector<String> texts(const Variant& v) {
    std::vector<String> out;
    for (const Variant& e : v.array().items()) out.push_back(e.isString() ? e.str() : u"<?>");
    return out;
}
using Texts = std::vector<String>;

bool isEmptyArray(const Variant& v) {
    return v.isArray() && v.array().dims() == 1 && v.array().lbound(1) == 0 &&
           v.array().size() == 0;
}

// An object whose default member gives a fixed value, or that has none.
class Thing : public Object {
  public:
    explicit Thing(std::optional<String> value) : value_(std::move(value)) {}
    Variant invoke(StringView name, CallKind kind, std::span<Variant>) override {
        if (name.empty() && kind == CallKind::PropertyGet && value_) return Variant(*value_);
        brv::raise(err::NoSuchMember);
    }

  private:
    std::optional<String> value_;
};

Variant thing(std::optional<String> value) {
    return Variant(ObjectRef(std::make_shared<Thing>(std::move(value))));
}

Variant twoDimensional() {
    return Variant(Array(VarType::Variant, {Bound{0, 2}, Bound{0, 2}}));
}

}  // namespace

TEST(AddElementToArray, StartsAnArrayFromAnythingWithoutElements) {
    ArrayHelper h(standIns());
    const std::vector<Variant> starts = {Variant(), Variant(Null{}), Variant(u"scalar"),
                                         Variant(Array(VarType::Variant, {Bound{0, 0}})),
                                         Variant(Array(VarType::Variant, {Bound{5, 0}}))};
    for (Variant start : starts) {
        h.AddElementToArray(start, Variant(u"x"), true, kupCompareText, 9);  // position unused
        EXPECT_EQ(texts(start), Texts{u"x"});
        EXPECT_EQ(start.array().lbound(1), 0);
    }
}

// Everyday uniqueness and positions are covered by the client suite; here what it cannot send.
TEST(AddElementToArray, TypedArraysAndNumbers) {
    ArrayHelper h(standIns());
    Variant nums = arr({int16_t{1}, 2.5});
    h.AddElementToArray(nums, Variant(u"2.5"));
    EXPECT_EQ(nums.array().size(), 2u);

    // A typed String array stays one; values are converted on the way in.
    Variant typed(Array::vector({u"a"}, 0, VarType::String));
    h.AddElementToArray(typed, Variant(int32_t{7}), false, kupCompareText, 0);
    EXPECT_EQ(typed.array().elementType(), VarType::String);
    EXPECT_EQ(texts(typed), (Texts{u"7", u"a"}));
}

TEST(AddElementToArray, BadArraysAndPositions) {
    ArrayHelper h(standIns());
    // Beyond the new upper bound: the array has already grown by an Empty element.
    Variant a = arr({u"a"});
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(a, Variant(u"x"), false, 1, 5); }),
              err::SubscriptOutOfRange);
    ASSERT_EQ(a.array().size(), 2u);
    EXPECT_TRUE(a.array().at(1).isEmpty());

    Variant based = arr({u"a"}, 1);
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(based, Variant(u"x"), false); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(based, Variant(u"x")); }),
              err::SubscriptOutOfRange);
    Variant grid = twoDimensional();
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(grid, Variant(u"x"), false); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(grid, Variant(u"x")); }), err::SubscriptOutOfRange);

    Variant big(Array(VarType::Variant, {Bound{0, 32769}}));
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(big, Variant(u"x"), false); }), err::Overflow);
    EXPECT_EQ(big.array().size(), 32769u);
    Variant largest(Array(VarType::Variant, {Bound{0, 32768}}));
    h.AddElementToArray(largest, Variant(u"x"), false);
    EXPECT_EQ(largest.array().ubound(1), 32768);

    Variant any = arr({u"a"});
    EXPECT_EQ(errorOf([&] { h.AddElementToArray(any, Variant(u"b"), true, 3); }), err::InvalidCall);
}

TEST(IsElementInArray, ComparisonAndOddElements) {
    ArrayHelper h(standIns());
    const Variant a = arr({Variant(Null{}), u"Apple", int32_t{42}, thing(u"pear")});
    EXPECT_TRUE(h.IsElementInArray(a, Variant(u"APPLE")));
    EXPECT_FALSE(h.IsElementInArray(a, Variant(u"APPLE"), kupCompareBinary));
    EXPECT_TRUE(h.IsElementInArray(a, Variant(u"42")));
    EXPECT_TRUE(h.IsElementInArray(a, Variant(u"Pear")));  // an object by its default value
    EXPECT_FALSE(h.IsElementInArray(a, Variant(Null{})));  // Null never equals anything
    EXPECT_FALSE(h.IsElementInArray(arr({Variant(Null{})}), Variant(u"")));

    // The first match ends the scan before the object without a default value is reached.
    const Variant opaque = arr({u"x", thing(std::nullopt)});
    EXPECT_TRUE(h.IsElementInArray(opaque, Variant(u"x")));
    EXPECT_EQ(errorOf([&] { h.IsElementInArray(opaque, Variant(u"y")); }), err::NoSuchMember);
}

TEST(IsElementInArray, BadArrays) {
    ArrayHelper h(standIns());
    EXPECT_EQ(errorOf([&] { h.IsElementInArray(Variant(u"a"), Variant(u"a")); }),
              err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { h.IsElementInArray(Variant(), Variant(u"a")); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] {
                  h.IsElementInArray(Variant(Array(VarType::Variant, {Bound{0, 0}})), Variant());
              }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { h.IsElementInArray(arr({u"a"}, 1), Variant(u"a")); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { h.IsElementInArray(twoDimensional(), Variant(u"a")); }),
              err::SubscriptOutOfRange);
    // The scan starts at 0 whatever the lower bound: index -1 is never looked at.
    EXPECT_FALSE(h.IsElementInArray(arr({u"a", u"b"}, -1), Variant(u"a")));
    EXPECT_TRUE(h.IsElementInArray(arr({u"a", u"b"}, -1), Variant(u"b")));
    EXPECT_EQ(
        errorOf([&] {
            h.IsElementInArray(Variant(Array(VarType::Variant, {Bound{0, 32769}})), Variant(u"a"));
        }),
        err::Overflow);
}

TEST(RemoveArrayItem, OddArraysAndIndexes) {
    ArrayHelper h(standIns());
    Variant other = arr({u"a"});
    EXPECT_FALSE(h.RemoveArrayItem(other, 4));
    EXPECT_TRUE(isEmptyArray(other));

    // Subscript errors anywhere leave an empty array.
    for (Variant bad : {arr({u"a", u"b"}), arr({u"a", u"b", u"c"}, 1), twoDimensional(),
                        Variant(Array(VarType::Variant, {Bound{0, 0}}))}) {
        EXPECT_FALSE(h.RemoveArrayItem(bad, bad.array().size() == 2 ? -1 : 1));
        EXPECT_TRUE(isEmptyArray(bad));
    }

    Variant scalar(u"a");
    EXPECT_EQ(errorOf([&] { h.RemoveArrayItem(scalar, 0); }), err::TypeMismatch);
    Variant big(Array(VarType::Variant, {Bound{0, 32769}}));
    EXPECT_EQ(errorOf([&] { h.RemoveArrayItem(big, 0); }), err::Overflow);
}

TEST(RemoveStringArrayItem, LeavesOneEmptyStringInsteadOfNothing) {
    ArrayHelper h(standIns());
    Array a = Array::vector({u"a", u"b", u"c"}, 0, VarType::String);
    EXPECT_TRUE(h.RemoveStringArrayItem(a, 0));
    EXPECT_EQ(texts(Variant(a)), (Texts{u"b", u"c"}));
    EXPECT_EQ(a.elementType(), VarType::String);

    const Array emptied = Array::vector({u""}, 0, VarType::String);
    Array one = Array::vector({u"a"}, 0, VarType::String);
    EXPECT_TRUE(h.RemoveStringArrayItem(one, 0));
    EXPECT_EQ(one, emptied);
    Array none(VarType::String, {Bound{0, 0}});
    EXPECT_FALSE(h.RemoveStringArrayItem(none, 0));
    EXPECT_EQ(none, emptied);
    Array negative = Array::vector({u"a", u"b"}, 0, VarType::String);
    EXPECT_FALSE(h.RemoveStringArrayItem(negative, -1));
    EXPECT_EQ(negative, emptied);
}

TEST(ListToArray, SplitsTrimsAndCounts) {
    struct Case {
        String list, separator;
        Texts items;
        int16_t result;
    };
    const std::vector<Case> cases = {
        {u" a , b ,c ,", u",", {u"a", u"b", u"c"}, 2},
        {u"", u",", {u""}, 1},
        {u"a,,", u",", {u"a", u""}, 1},         // one trailing separator is dropped, not two
        {u"\ta,", u",", {u"\ta"}, 1},           // only spaces are trimmed
        {u"a; b;c", u"; ", {u"a", u"b;c"}, 1},  // the rest of a longer separator begins the item
        {u"x::y", u"::", {u"x", u":y"}, 1},
        {u"aaa", u"aa", {u"", u"", u"a"}, 2},  // the next search starts one character later
        {u" a,b ", u"", {u"a,b"}, 1},          // an empty separator splits nothing
        {u"", u"", {u""}, 1},
    };
    ArrayHelper h(standIns());
    ArrayCollectionHelper c(standIns());
    for (const auto& k : cases) {
        Variant out, same;
        EXPECT_EQ(h.ListToArray(out, k.list, k.separator), k.result) << toUtf8(k.list);
        EXPECT_EQ(texts(out), k.items) << toUtf8(k.list);
        EXPECT_EQ(out.array().lbound(1), 0);
        EXPECT_EQ(c.ListToArray(same, k.list, k.separator), k.result);
        EXPECT_EQ(same, out);
    }
}

TEST(ListToArray, PositionsAreIntegers) {
    ArrayHelper h(standIns());
    Variant out;
    // The item behind a separator begins one further on, at 32767 at the latest.
    EXPECT_EQ(h.ListToArray(out, String(32765, u'x') + u",y", u","), 1);
    EXPECT_EQ(errorOf([&] { h.ListToArray(out, String(32766, u'x') + u",y", u","); }),
              err::Overflow);
    EXPECT_EQ(h.ListToArray(out, String(40000, u'x'), u","), 1);  // nothing to position
}

TEST(ArrayCollectionHelper, AssignmentKeepsWhatItCan) {
    ArrayCollectionHelper c(standIns());
    c.let_ArrayIsUnique(true);
    c.let_ClientArray(arr({u"a", u"A", u"b", Variant(Null{}), thing(std::nullopt)}));
    EXPECT_EQ(c.get_Count(), 2);
    EXPECT_EQ(texts(c.get_ClientArray()), (Texts{u"a", u"b"}));

    c.let_ArrayIsUnique(false);
    c.let_ClientArray(arr({u"a", u"a", Variant(Null{})}));
    EXPECT_EQ(c.get_Count(), 3);
    EXPECT_TRUE(c.get_ClientArray().array().at(2).isNull());

    // Index 0 lies outside a 1-based array and is skipped; a 2-D array yields nothing.
    c.let_ClientArray(arr({u"a", u"b"}, 1));
    EXPECT_EQ(texts(c.get_ClientArray()), (Texts{u"a", u"b"}));
    c.let_ClientArray(twoDimensional());
    EXPECT_EQ(c.get_Count(), 0);
    EXPECT_TRUE(c.get_ClientArray().isEmpty());

    for (const Variant& none : {Variant(u"scalar"), Variant(), Variant(Null{}),
                                Variant(Array(VarType::Variant, {Bound{0, 0}}))}) {
        c.let_ClientArray(arr({u"a"}));
        c.let_ClientArray(none);
        EXPECT_EQ(errorOf([&] { c.get_Count(); }), err::ObjectNotSet);
        EXPECT_TRUE(c.get_ClientArray().isEmpty());
    }
}

TEST(ArrayCollectionHelper, AddKeysAndFailures) {
    ArrayCollectionHelper c(standIns());
    c.let_ClientArray(arr({u"a", u"b"}));
    c.Add(Variant(u"z"), Variant(u"ignored"));  // keys only count when unique
    c.Add(Variant(u"z"), Variant(u"ignored"));
    EXPECT_EQ(c.get_Count(), 4);

    ArrayCollectionHelper u(standIns());
    u.let_ArrayIsUnique(true);
    u.Add(Variant(u"b"), Variant(u"k2"));
    EXPECT_EQ(errorOf([&] { u.Add(Variant(u"q"), Variant(u"K2")); }), err::DuplicateKey);
    EXPECT_EQ(errorOf([&] { u.Add(Variant(Null{})); }), err::InvalidUseOfNull);
    EXPECT_EQ(u.get_Count(), 1);

    // A failed Add still leaves the collection it created.
    ArrayCollectionHelper fresh(standIns());
    EXPECT_EQ(errorOf([&] { fresh.Add(Variant(u"a"), Variant::missing(), 1); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(fresh.get_Count(), 0);
}

TEST(ArrayCollectionHelper, ThirtyThousandElementsKeepTheirOrder) {
    std::vector<Variant> items;
    for (int i = 0; i < 30000; ++i) items.push_back(Variant(u"item" + fromUtf8(std::to_string(i))));
    ArrayCollectionHelper c(standIns());
    c.let_ArrayIsUnique(true);
    c.let_ClientArray(arr(items));
    for (int i = 0; i < 30000; ++i) c.Add(Variant(u"new" + fromUtf8(std::to_string(i))));
    for (int i = 0; i < 3000; ++i)
        c.Add(Variant(u"front"), Variant(fromUtf8(std::to_string(i))), 1);
    const Variant back = c.get_ClientArray();
    ASSERT_EQ(back.array().size(), 63000u);
    EXPECT_EQ(back.array().at(3000), Variant(u"item0"));
    EXPECT_EQ(back.array().at(62999), Variant(u"new29999"));

    // Elements beyond an Integer index are not taken over.
    ArrayCollectionHelper big(standIns());
    big.let_ClientArray(Variant(Array(VarType::Variant, {Bound{0, 40000}})));
    EXPECT_EQ(big.get_Count(), 32768);
}

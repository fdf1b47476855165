// ArrayHelper and ArrayCollectionHelper: every member over any value a client can hand in, and
// ListToArray against the split as first written.
#include "arrays/array_collection_helper.h"
#include "arrays/array_helper.h"
#include "fuzz_support.h"

namespace {

using namespace fuzz;

constexpr StringView kWords[] = {u",", u" ", u"  ", u"a", u"b", u",,", u";", u"ab", u"A"};

// The split as first written: trim, drop one trailing separator, then search each separator
// from one character behind the previous one's start.
std::vector<String> literalSplit(StringView list, StringView sep) {
    String l(brv::trimSpaces(list));
    if (!l.empty() && StringView(l).substr(l.size() - 1) == sep)
        l = String(brv::trimSpaces(StringView(l).substr(0, l.size() - 1)));
    std::vector<std::size_t> at;
    for (auto p = l.find(sep); p != String::npos; p = l.find(sep, p + 1)) at.push_back(p);
    if (at.empty()) return {l};
    std::vector<String> items;
    std::size_t start = 0;
    for (const std::size_t p : at) {
        items.emplace_back(brv::trimSpaces(StringView(l).substr(start, p - start)));
        start = p + 1;
    }
    items.emplace_back(brv::trimSpaces(StringView(l).substr(start)));
    return items;
}

void listToArray(Input& in, auto& helper) {
    const String list = in.choice(12) ? in.text(kWords, 40) : in.longText();
    const String sep = in.choice(4) ? String(u",") : in.text(kWords, 2);
    Variant out = in.value(kWords);
    int16_t n = 0;
    if (!attempt([&] { n = helper.ListToArray(out, list, sep); })) return;
    if (sep.empty() || list.size() > 30000) return;
    const auto expected = literalSplit(list, sep);
    const std::string input = show(list) + " / " + show(sep);
    if (!out.isArray() || out.array().lbound() != 0) finding("ListToArray array", input);
    std::vector<String> got;
    for (const Variant& v : out.array().items()) got.push_back(v.isString() ? v.str() : u"?");
    expectSame(got, expected, "ListToArray items", input);
    expectSame<int>(n, expected.size() == 1 ? 1 : static_cast<int>(expected.size()) - 1,
                    "ListToArray result", input);
}

void arrayHelper(Input& in) {
    brv::ArrayHelper h(standIns());
    Variant a = in.flag() ? in.array(kWords) : in.value(kWords);
    for (int step = 0; step < 10 && in.more(); ++step) {
        const int32_t compare = in.choice(4) ? in.number<int32_t>(0, 2) : in.any<int32_t>();
        switch (in.choice(5)) {
            case 0:
                attempt([&] {
                    h.AddElementToArray(
                        a, in.value(kWords), in.flag(), compare,
                        in.choice(3) ? in.number<int16_t>(-2, 10) : in.any<int16_t>());
                });
                break;
            case 1:
                attempt([&] { h.IsElementInArray(a, in.value(kWords), compare); });
                break;
            case 2:
                attempt([&] {
                    h.RemoveArrayItem(
                        a, in.choice(3) ? in.number<int16_t>(-2, 10) : in.any<int16_t>());
                });
                break;
            case 3:
                if (a.isArray() && a.array().elementType() == brv::VarType::String)
                    attempt(
                        [&] { h.RemoveStringArrayItem(a.array(), in.number<int16_t>(-2, 10)); });
                break;
            default:
                listToArray(in, h);
                break;
        }
    }
}

void collectionHelper(Input& in) {
    brv::ArrayCollectionHelper h(standIns());
    for (int step = 0; step < 12 && in.more(); ++step) {
        switch (in.choice(8)) {
            case 0:
                h.let_ArrayIsUnique(in.flag());
                break;
            case 1:
                h.let_RejectEmptyItems(in.flag());
                break;
            case 2:
                attempt(
                    [&] { h.let_ClientArray(in.flag() ? in.array(kWords) : in.value(kWords)); });
                break;
            case 3:
                attempt([&] { h.get_ClientArray(); });
                break;
            case 4:
                attempt([&] {
                    h.Add(in.value(kWords), in.flag() ? Variant::missing() : in.value(kWords),
                          in.choice(3) ? in.number<int16_t>(-2, 10) : in.any<int16_t>());
                });
                break;
            case 5:
                attempt([&] {
                    h.Remove(in.choice(3) ? in.number<int16_t>(-1, 10) : in.any<int16_t>());
                });
                break;
            case 6:
                attempt([&] { h.get_Count(); });
                break;
            default:
                listToArray(in, h);
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    if (in.flag())
        arrayHelper(in);
    else
        collectionHelper(in);
    return 0;
}

// What the registry client suite (tests/client/registry.vbs) cannot reach: the record classes,
// injected platform faults, handles left open, and values RegWrite cannot store.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "platform/native/memory_registry.h"
#include "registry/registry_advanced.h"
#include "registry/registry_basic.h"
#include "test_support.h"

using namespace brv;
using platform::MemoryRegistry;
using platform::RegKey;
using Op = MemoryRegistry::Op;

namespace {

constexpr int32_t kHkcu = static_cast<int32_t>(0x80000001);

using Stored = std::pair<uint32_t, std::string>;  // type and data

// Each test gets an empty registry of its own, handed in as the creator would.
class RegistryTest : public ::testing::Test {
  protected:
    MemoryRegistry reg;
    platform::Platform platform = [this] {
        platform::Platform p = standIns();
        p.registry = &reg;
        return p;
    }();

    RegKey create(StringView path) {
        RegKey k = 0;
        uint32_t disposition = 0;
        EXPECT_EQ(reg.createKey(kHkcu, path, u"", 0, 63, k, disposition), 0);
        return k;
    }
    void makeKey(StringView path) { reg.closeKey(create(path)); }
    void put(StringView path, StringView name, uint32_t type, std::string data) {
        const RegKey k = create(path);
        EXPECT_EQ(reg.setValue(k, name, type, data), 0);
        reg.closeKey(k);
    }
    void text(StringView path, StringView name, std::string t) { put(path, name, 1, t + '\0'); }
    // An object of class C on HKCU\`path`.
    template <typename C>
    std::unique_ptr<C> opened(StringView path) {
        auto c = std::make_unique<C>(platform);
        c->let_Root(kHkcu);
        c->let_key(String(path));
        return c;
    }
    bool exists(StringView path) {
        RegKey k = 0;
        return reg.openKey(kHkcu, path, 1, k) == 0 && reg.closeKey(k) == 0;
    }
    // A value as the registry holds it, found by enumeration.
    std::optional<Stored> stored(StringView path, StringView name) {
        RegKey k = 0;
        if (reg.openKey(kHkcu, path, 1, k) != 0) return std::nullopt;
        std::optional<Stored> found;
        String n;
        std::string data(1 << 20, '\0');
        for (uint32_t i = 0, nl = 20000, type = 0, dl = 1 << 20;
             reg.enumValue(k, i, n, nl, type, &data, dl) == 0; ++i, nl = 20000, dl = 1 << 20)
            if (n == name) found = Stored{type, data.substr(0, dl)};
        reg.closeKey(k);
        return found;
    }
    // Fails `op` on keys whose path ends with `suffix`, every time.
    void failOn(Op op, StringView suffix, int32_t code) {
        reg.setFault([op, s = String(suffix), code](Op o, StringView path, StringView) {
            return o == op && path.ends_with(s) ? code : 0;
        });
    }
};

template <typename F>
void expectRaised(F&& f, int32_t number, StringView source, StringView description) {
    try {
        f();
        ADD_FAILURE() << "nothing was raised";
    } catch (const Error& e) {
        EXPECT_EQ(std::tuple(e.number(), e.source(), e.description()),
                  std::tuple(number, String(source), String(description)));
    }
}

}  // namespace

TEST_F(RegistryTest, MemoryRegistryProbesAndBuffersAsThePlatform) {
    text(u"Software\\T", u"bb", "hello");
    put(u"Software\\T", u"a", 4, std::string("\x07\0\0\0", 4));
    makeKey(u"Software\\T\\sub1");
    makeKey(u"Software\\T\\Sub0long");
    RegKey k = 0;
    ASSERT_EQ(reg.openKey(kHkcu, u"Software\\T", 31, k), 0);
    platform::RegKeyInfo info;
    ASSERT_EQ(reg.queryInfoKey(k, info), 0);
    // Text data counts as UTF-16.
    EXPECT_EQ(std::tuple(info.values, info.maxValueNameLength, info.maxValueDataLength),
              std::tuple(2u, 2u, 12u));
    // A name buffer of size 0: 234 with the type and the data size, name untouched.
    String name = u"0";
    uint32_t nl = 0, type = 0, dl = 0;
    EXPECT_EQ(reg.enumValue(k, 0, name, nl, type, nullptr, dl), 234);
    EXPECT_EQ(name, u"0");
    EXPECT_EQ(std::pair(type, dl), std::pair(1u, 6u));
    // Values come in creation order; a data buffer one byte short answers 234.
    std::string data(3, '\0');
    nl = 10, dl = 3;
    EXPECT_EQ(reg.enumValue(k, 1, name, nl, type, &data, dl), 234);
    EXPECT_EQ(std::pair(nl, dl), std::pair(10u, 4u));
    EXPECT_EQ(reg.enumValue(k, 2, name, nl, type, nullptr, dl), 259);
    nl = 9;
    EXPECT_EQ(reg.enumKey(k, 0, name, nl), 0);  // sorted without regard to case
    EXPECT_EQ(name, u"Sub0long");
    nl = 4;
    EXPECT_EQ(reg.enumKey(k, 1, name, nl), 234);
    EXPECT_EQ(reg.deleteKey(k, u""), 5);  // not empty
    EXPECT_EQ(reg.deleteKey(k, u"nope"), 2);
    reg.closeKey(k);
    EXPECT_EQ(reg.openKey(0, u"Software", 31, k), 6);
    EXPECT_EQ(reg.openKey(static_cast<int32_t>(0x80000004), u"Software", 31, k), 6);
    EXPECT_EQ(reg.openKey(kHkcu, u"\\Software\\T", 31, k), 161);
    EXPECT_EQ(reg.openKey(kHkcu, u"Software\\T\\\\sub1\\", 31, k), 0);
    reg.closeKey(k);
    EXPECT_EQ(reg.closeKey(k), 6);
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, RecordsHoldOneKindOfData) {
    colRegistry values(standInLocale());
    auto multi = values.Add(u"m", u"m", 7, Variant(String(u"a\0b\0\0", 5)));
    EXPECT_EQ(multi->GetMultiStringCount(), 2);
    Array items(VarType::String, {Bound{0, 2}});
    EXPECT_EQ(multi->GetDataMultiStr(items), u"");
    EXPECT_EQ(std::pair(items.at(0).str(), items.at(1).str()),
              std::pair(String(u"a"), String(u"b")));
    Array tooSmall(VarType::String, {Bound{0, 1}});
    expectError(9, [&] { multi->GetDataMultiStr(tooSmall); });
    EXPECT_EQ(tooSmall.at(0).str(), u"a");  // stored before the failure
    Array fromOne(VarType::String, {Bound{1, 2}});
    expectError(9, [&] { multi->GetDataMultiStr(fromOne); });
    auto leadingNul = values.Add(u"n", u"n", 7, Variant(String(u"\0a\0\0", 4)));
    Array untouched(VarType::String, {Bound{0, 2}});
    leadingNul->GetDataMultiStr(untouched);
    EXPECT_EQ(untouched.at(0).str(), u"");

    auto dword = values.Add(u"d", u"d", 4, Variant(int32_t{7}));
    EXPECT_EQ(std::tuple(dword->GetDataStr(), dword->GetDataLong(), dword->GetMultiStringCount()),
              std::tuple(String(), 7, 0));
    auto sz = values.Add(u"s", u"s", 1, Variant(u"x"));
    EXPECT_EQ(std::pair(sz->GetDataStr(), sz->GetDataLong()), std::pair(String(u"x"), 0));
    expectError(13, [&] { values.Add(u"bad", u"bad", 4, Variant(u"seven")); });
    expectError(6, [&] { values.Add(u"big", u"big", 40000, Variant(u"x")); });

    // SetData fills the byte store up to position 1000 and keeps what it copied before a failure.
    clsRegKeyData r(standInLocale());
    Array full(VarType::Byte, {Bound{0, 1001}});
    full.at(1000) = Variant(uint8_t{9});
    r.SetData(full);
    EXPECT_EQ(r.bytes()[1000], 9);
    Array tooLong(VarType::Byte, {Bound{0, 1002}});
    tooLong.at(5) = Variant(uint8_t{5});
    expectError(9, [&] { r.SetData(tooLong); });
    EXPECT_EQ(r.bytes()[5], 5);
    Array bytesFromOne(VarType::Byte, {Bound{1, 3}});
    expectError(9, [&] { r.SetData(bytesFromOne); });
}

TEST_F(RegistryTest, CollectionFilesByKeyAndTranslatesLookupFailures) {
    colRegistry values(standInLocale());
    values.Add(u"NAME", u"NAME", 1, Variant(u"v"));
    EXPECT_EQ(values.Add(u"", u"x", 1, Variant(u"y"))->get_StringValue(), u"y");  // not filed
    EXPECT_EQ(values.Count(), 1);
    EXPECT_EQ(values.Item(Variant(u"name"))->get_StringValue(), u"v");
    expectRaised([&] { values.Item(Variant(u"other")); }, 1200, u"Registry Collection",
                 u"Name not Found in Current Key");
    expectError(457, [&] { values.Add(u"name", u"name", 1, Variant(u"w")); });
    expectError(13, [&] { values.Item(Variant(Array())); });
    // Unusual types keep nothing from text and do not fail; binary keeps nothing at all.
    EXPECT_NO_THROW(values.Add(u"q", u"q", 11, Variant(u"\x01\x02")));
    EXPECT_NO_THROW(values.Add(u"b", u"b", 3, Variant(u"text")));
    Array bytes(VarType::Byte, {Bound{0, 4}});
    bytes.at(0) = Variant(uint8_t{42});
    EXPECT_EQ(values.Add(u"r", u"r", 8, Variant(bytes))->bytes()[0], 42);
}

// Loading stops at a first number, reads text stored without its terminator as empty, and
// ends at a sub-key list it cannot read, keeping the values read before.
TEST_F(RegistryTest, BasicLoadStopsAtANumberAndAtAnUnreadableSubKeyList) {
    put(u"Software\\N", u"n", 4, std::string(4, '\0'));
    text(u"Software\\N", u"t", "x");
    put(u"Software\\E", u"e", 1, "");
    makeKey(u"Software\\T\\a");
    text(u"Software\\T", u"v", "x");
    auto b = opened<CRegistryBasic>(u"Software\\N");
    EXPECT_EQ(b->get_ValueCount(), 0);
    b->let_key(u"Software\\E");
    EXPECT_EQ(b->get_ValueCount(), 1);
    EXPECT_EQ(b->GetValue(Variant(u"e")), u"");
    failOn(Op::EnumKey, u"\\T", 1018);
    expectRaised([&] { b->let_key(u"Software\\T"); }, -2147220991, u"GetKeyInfo",
                 u"Unable to open Key");
    EXPECT_EQ(b->get_ValueCount(), 1);
    EXPECT_EQ(b->GetValue(Variant(u"v")), u"x");
    EXPECT_EQ(reg.openKeys(), 0u);
}

// Create answers with the disposition; a refused write holds its key until the next close.
TEST_F(RegistryTest, BasicCreatesAndWritesAndHoldsOnlyTheKeysItShould) {
    auto b = opened<CRegistryBasic>(u"Software\\A");
    EXPECT_EQ(b->Create(u"Sub", Variant::missing(), u""), -1);
    failOn(Op::SetValue, u"\\Deny", 5);
    EXPECT_EQ(b->Create(u"Deny", Variant(u"v"), u"x"), 1);  // created, write refused
    EXPECT_EQ(b->Create(u"Software\\A\\Sub\\Deny", Variant(u"v"), u"x"), 2);
    EXPECT_EQ(reg.openKeys(), 0u);
    // A failed creation answers 0 yet keeps the path; SetValue lets its error through.
    failOn(Op::Create, u"\\X", 1010);
    b->let_key(u"Software");
    EXPECT_EQ(b->Create(u"X", Variant::missing(), u""), 0);
    EXPECT_EQ(b->get_key(), u"Software\\X");
    expectRaised([&] { b->SetValue(Variant(u"v"), u"x"); }, -2147220991, u"CreateEx",
                 u"Cannot Open Parent Key");
    b->let_key(u"Software\\T");
    EXPECT_TRUE(b->SetValue(Variant(int16_t{7}), u"dflt"));  // no such column: the unnamed value
    EXPECT_EQ(stored(u"Software\\T", u""), Stored(1, std::string("dflt\0", 5)));
    failOn(Op::SetValue, u"\\T", 5);
    expectError(-2147221504 + 5, [&] { b->SetValue(Variant(u"w"), u"x"); });
    EXPECT_EQ(reg.openKeys(), 1u);
    b->let_AutoCreate(false);
    b->let_key(u"Software\\T");
    EXPECT_EQ(reg.openKeys(), 0u);
    b->let_Root(kHkcu);
    EXPECT_EQ(reg.openKeys(), 1u);  // the Root let keeps what it opens
}

// Export and import restore values and sub-keys. A delete walk that cannot go on ends in
// failure: no endless retry, no success of the last child.
TEST_F(RegistryTest, BasicRestoresWhatItSavedAndStopsAtWhatItCannotDelete) {
    text(u"Software\\T", u"a", "1");
    for (StringView path : {u"Software\\T\\kid", u"Software\\T\\x\\stuck\\below",
                            u"Software\\T\\x\\z", u"Software\\T\\y\\child"})
        makeKey(path);
    auto b = opened<CRegistryBasic>(u"Software\\T");
    b->ExportKey(u"C:\\t.hiv");
    EXPECT_TRUE(b->DeleteValue(u"a"));
    EXPECT_EQ(b->get_ValueCount(), 0);  // reloaded
    EXPECT_TRUE(b->DeleteKey(u"kid"));
    b->ImportKey(u"C:\\t.hiv");
    b->Refresh();
    EXPECT_EQ(b->get_ValueCount(), 1);
    EXPECT_EQ(b->GetSubKey(0), u"kid");
    b->ImportKey(u"C:\\missing.hiv");   // failures are not reported
    b->ExportKey(u"C:\\t.hiv");         // over the saved file
    EXPECT_FALSE(b->DeleteKey(u"\\"));  // would name the key itself
    failOn(Op::DeleteKey, u"\\stuck", 5);
    EXPECT_FALSE(b->DeleteKey(u"x"));
    EXPECT_TRUE(exists(u"Software\\T\\x\\stuck"));
    EXPECT_EQ(b->get_key(), u"Software\\T");
    failOn(Op::EnumKey, u"\\x", 5);
    EXPECT_FALSE(b->DeleteKey(u"x"));
    failOn(Op::Open, u"Software\\T", 5);
    EXPECT_FALSE(b->DeleteKey(u"y"));
    EXPECT_TRUE(exists(u"Software\\T\\y"));
    EXPECT_EQ(reg.openKeys(), 0u);
}

// The system reads a name up to its first NUL. A name that is nothing but separators there
// names the key itself and is refused; a key path that reads as the key itself (Create's name
// held a NUL) cannot send the delete walk round for ever.
TEST_F(RegistryTest, DeleteKeyReadsNamesUpToTheirFirstNul) {
    makeKey(u"Software\\T\\kid\\below");
    auto b = opened<CRegistryBasic>(u"Software\\T");
    EXPECT_FALSE(b->DeleteKey(String(u"\0x", 2)));
    EXPECT_FALSE(b->DeleteKey(String(u"\\\0x", 3)));
    EXPECT_TRUE(exists(u"Software\\T\\kid\\below"));
    EXPECT_EQ(b->Create(String(u"\0x", 2), Variant::missing(), u""), -1);
    EXPECT_FALSE(b->DeleteKey(u"kid"));
    EXPECT_TRUE(exists(u"Software\\T\\kid"));
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, AdvancedCountsAFailedReadAndKeepsItsRecords) {
    text(u"Software\\T", u"a", "1");
    text(u"Software\\T", u"b", "2");
    text(u"Software\\T", u"c", "3");
    int calls = 0;
    // Probe and read of a, probe of b, then the read of b fails.
    reg.setFault(
        [&](Op op, StringView, StringView) { return op == Op::EnumValue && ++calls == 4 ? 5 : 0; });
    auto a = opened<CRegistryAdvanced>(u"Software\\T");
    EXPECT_EQ(a->get_ValueCount(), 2);
    EXPECT_EQ(a->values().Count(), 2);  // b's record is filed under its unread name
    EXPECT_EQ(a->GetValue(Variant(u"a")), u"1");
    EXPECT_EQ(reg.openKeys(), 0u);
}

// Byte arrays, values without a text form, size limits, and values RegWrite cannot store.
TEST_F(RegistryTest, AdvancedWritesAndLoadsWhatTheClientSuiteCannot) {
    EXPECT_FALSE(CRegistryAdvanced(platform).SetValue(Variant(u"v"), Variant(u"x"), 0));  // no path
    auto a = opened<CRegistryAdvanced>(u"Software\\T");
    Array bytes(VarType::Byte, {Bound{0, 5}});
    const char multi[] = "a\0b\0";
    for (int i = 0; i < 5; ++i) bytes.at(i) = Variant(static_cast<uint8_t>(multi[i]));
    expectRaised([&] { a->SetValue(Variant(u"b"), Variant(bytes), 0); }, 5, u"", u"Byte Array");
    EXPECT_FALSE(stored(u"Software\\T", u"b"));
    for (const uint32_t type : {7u, 3u}) {
        EXPECT_TRUE(a->SetValue(Variant(u"b"), Variant(bytes), type));
        EXPECT_EQ(stored(u"Software\\T", u"b"), Stored(type, std::string("a\0b\0\0", 5)));
    }
    Array far(VarType::Byte, {Bound{513, 1}});
    expectError(9, [&] { a->SetValue(Variant(u"f"), Variant(far), 7); });
    // An array has no text form: nothing is written, and that is success.
    EXPECT_TRUE(a->SetValue(Variant(u"f"), Variant(Array::vector({Variant(1)})), 0));
    EXPECT_FALSE(stored(u"Software\\T", u"f"));
    expectError(6, [&] { a->SetValue(Variant(u"big"), Variant(String(40000, u'x')), 0); });
    EXPECT_TRUE(a->SetValue(Variant(u"big"), Variant(String(65536, u'x')), 1));
    EXPECT_EQ(stored(u"Software\\T", u"big")->second.size(), 65537u);
    EXPECT_EQ(a->GetValue(Variant(u"big")).size(), 65536u);
    // Loading: an Empty name, the alias in any case, and types RegWrite cannot store.
    text(u"Software\\L", u"", "x");
    put(u"Software\\L", u"multi", 7, std::string("a\0b\0\0", 5));
    put(u"Software\\L", u"q", 11, std::string(8, '\1'));
    put(u"Software\\L", u"none", 0, "");
    a->let_key(u"Software\\L");
    EXPECT_EQ(a->get_ValueCount(), 4);
    EXPECT_EQ(a->GetValue(Variant()), u"x");
    EXPECT_EQ(a->GetValue(Variant(u"<default>")), u"x");
    EXPECT_EQ(a->GetValue(Variant(u"multi")), String(u"a\0b\0\0", 5));
    EXPECT_EQ(a->GetValue(Variant(u"q")), u"");
    // A failed creation: this class names no routine.
    failOn(Op::Create, u"\\Bad", 1010);
    a->let_key(u"Software\\Bad");
    expectRaised([&] { a->SetValue(Variant(u"v"), Variant(u"x"), 0); }, -2147220494, u"",
                 u"Cannot Open Parent Key");
    EXPECT_EQ(reg.openKeys(), 0u);
}

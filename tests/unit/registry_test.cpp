#include <gtest/gtest.h>

#include <optional>
#include <string>

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
const String kBase = u"HKEY_CURRENT_USER\\Software\\T";

struct Stored {
    uint32_t type = 0;
    std::string data;
};

// Each test gets an empty registry of its own, handed in as the creator would.
class RegistryTest : public ::testing::Test {
  protected:
    MemoryRegistry reg;
    platform::Platform platform = [this] {
        platform::Platform p = standIns();
        p.registry = &reg;
        return p;
    }();

    void put(StringView path, StringView name, uint32_t type, std::string data) {
        RegKey k = 0;
        uint32_t disposition = 0;
        ASSERT_EQ(reg.createKey(kHkcu, path, u"", 0, 63, k, disposition), 0);
        ASSERT_EQ(reg.setValue(k, name, type, data), 0);
        reg.closeKey(k);
    }
    void text(StringView path, StringView name, const std::string& t, uint32_t type = 1) {
        put(path, name, type, t + std::string(1, '\0'));
    }
    void makeKey(StringView path) {
        RegKey k = 0;
        uint32_t disposition = 0;
        ASSERT_EQ(reg.createKey(kHkcu, path, u"", 0, 63, k, disposition), 0);
        reg.closeKey(k);
    }
    bool exists(StringView path) {
        RegKey k = 0;
        if (reg.openKey(kHkcu, path, 1, k) != 0) return false;
        reg.closeKey(k);
        return true;
    }
    // A value as the registry holds it, found by enumeration.
    std::optional<Stored> stored(StringView path, StringView name) {
        RegKey k = 0;
        if (reg.openKey(kHkcu, path, 1, k) != 0) return std::nullopt;
        std::optional<Stored> found;
        for (uint32_t i = 0;; ++i) {
            String n;
            uint32_t nl = 20000, type = 0, dl = 1 << 20;
            std::string data(dl, '\0');
            if (reg.enumValue(k, i, n, nl, type, &data, dl) != 0) break;
            if (n == name) found = Stored{type, data.substr(0, dl)};
        }
        reg.closeKey(k);
        return found;
    }
    // Fails `op` on keys whose path ends with `suffix`, every time.
    void failOn(Op op, StringView suffix, int32_t code) {
        const String s(suffix);
        reg.setFault([op, s, code](Op o, StringView path, StringView) {
            return o == op && path.size() >= s.size() && path.substr(path.size() - s.size()) == s
                       ? code
                       : 0;
        });
    }
};

template <typename F>
Error raised(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "nothing was raised";
    return Error(0);
}

void expectRaised(const Error& e, int32_t number, StringView source, StringView description) {
    EXPECT_EQ(e.number(), number);
    EXPECT_EQ(e.source(), source);
    EXPECT_EQ(e.description(), description);
}

}  // namespace

// ---- the in-memory registry answers as the platform does --------------------------------

TEST_F(RegistryTest, MemoryRegistryProbesAndBuffersAsThePlatform) {
    text(u"Software\\T", u"bb", "hello");
    put(u"Software\\T", u"a", 4, std::string("\x07\0\0\0", 4));
    RegKey k = 0;
    ASSERT_EQ(reg.openKey(kHkcu, u"Software\\T", 31, k), 0);
    platform::RegKeyInfo info;
    ASSERT_EQ(reg.queryInfoKey(k, info), 0);
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLength, 2u);
    EXPECT_EQ(info.maxValueDataLength, 12u);  // text counts as UTF-16
    // A name buffer of size 0: 234 with the type and the data size, name untouched.
    String name = u"0";
    uint32_t nl = 0, type = 0, dl = 0;
    EXPECT_EQ(reg.enumValue(k, 0, name, nl, type, nullptr, dl), 234);
    EXPECT_EQ(name, u"0");
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(dl, 6u);
    // Values come in creation order; a data buffer one byte short answers 234.
    std::string data(3, '\0');
    nl = 10, dl = 3;
    EXPECT_EQ(reg.enumValue(k, 1, name, nl, type, &data, dl), 234);
    EXPECT_EQ(nl, 10u);
    EXPECT_EQ(dl, 4u);
    EXPECT_EQ(reg.enumValue(k, 2, name, nl, type, nullptr, dl), 259);
    reg.closeKey(k);

    makeKey(u"Software\\T\\sub1");
    makeKey(u"Software\\T\\Sub0long");
    ASSERT_EQ(reg.openKey(kHkcu, u"Software\\T", 31, k), 0);
    nl = 9;
    EXPECT_EQ(reg.enumKey(k, 0, name, nl), 0);  // sorted without regard to case
    EXPECT_EQ(name, u"Sub0long");
    nl = 4;
    EXPECT_EQ(reg.enumKey(k, 1, name, nl), 234);
    EXPECT_EQ(reg.deleteKey(k, u""), 5);  // not empty
    EXPECT_EQ(reg.deleteKey(k, u"nope"), 2);
    reg.closeKey(k);

    RegKey bad = 0;
    EXPECT_EQ(reg.openKey(0, u"Software", 31, bad), 6);
    EXPECT_EQ(reg.openKey(static_cast<int32_t>(0x80000004), u"Software", 31, bad), 6);
    EXPECT_EQ(reg.openKey(kHkcu, u"\\Software\\T", 31, bad), 161);
    EXPECT_EQ(reg.openKey(kHkcu, u"Software\\T\\\\sub1\\", 31, bad), 0);
    reg.closeKey(bad);
    EXPECT_EQ(reg.closeKey(bad), 6);
    EXPECT_EQ(reg.openKeys(), 0u);
}

// ---- value records and the value collection ----------------------------------------------

TEST_F(RegistryTest, RecordsHoldOneKindOfData) {
    colRegistry values(standInLocale());
    auto multi = values.Add(u"m", u"m", 7, Variant(String(u"a\0b\0\0", 5)));
    EXPECT_EQ(multi->GetMultiStringCount(), 2);
    Array items(VarType::String, {Bound{0, 2}});
    EXPECT_EQ(multi->GetDataMultiStr(items), u"");
    EXPECT_EQ(items.at(0).str(), u"a");
    EXPECT_EQ(items.at(1).str(), u"b");
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
    EXPECT_EQ(dword->GetDataStr(), u"");
    EXPECT_EQ(dword->GetDataLong(), 7);
    EXPECT_EQ(dword->GetMultiStringCount(), 0);
    auto sz = values.Add(u"s", u"s", 1, Variant(u"x"));
    EXPECT_EQ(sz->GetDataLong(), 0);
    EXPECT_EQ(sz->GetDataStr(), u"x");
    expectError(13, [&] { values.Add(u"bad", u"bad", 4, Variant(u"seven")); });
    expectError(6, [&] { values.Add(u"big", u"big", 40000, Variant(u"x")); });
}

TEST_F(RegistryTest, SetDataFillsTheByteStoreUpToPosition1000) {
    clsRegKeyData r(standInLocale());
    Array full(VarType::Byte, {Bound{0, 1001}});
    full.at(1000) = Variant(uint8_t{9});
    r.SetData(full);
    EXPECT_EQ(r.bytes()[1000], 9);
    Array tooLong(VarType::Byte, {Bound{0, 1002}});
    tooLong.at(5) = Variant(uint8_t{5});
    expectError(9, [&] { r.SetData(tooLong); });
    EXPECT_EQ(r.bytes()[5], 5);  // what was copied stays
    Array fromOne(VarType::Byte, {Bound{1, 3}});
    expectError(9, [&] { r.SetData(fromOne); });
}

TEST_F(RegistryTest, CollectionFilesByKeyAndTranslatesLookupFailures) {
    colRegistry values(standInLocale());
    values.Add(u"NAME", u"NAME", 1, Variant(u"v"));
    auto unfiled = values.Add(u"", u"x", 1, Variant(u"y"));
    EXPECT_EQ(unfiled->get_StringValue(), u"y");
    EXPECT_EQ(values.Count(), 1);
    EXPECT_EQ(values.Item(Variant(u"name"))->get_StringValue(), u"v");
    expectRaised(raised([&] { values.Item(Variant(u"other")); }), 1200, u"Registry Collection",
                 u"Name not Found in Current Key");
    expectRaised(raised([&] { values.Item(Variant(int16_t{2})); }), 1200, u"Registry Collection",
                 u"Invalid Index");
    expectError(457, [&] { values.Add(u"name", u"name", 1, Variant(u"w")); });
    expectError(13, [&] { values.Item(Variant(Array())); });
    // Unusual types keep nothing from text and do not fail; binary keeps nothing at all.
    EXPECT_NO_THROW(values.Add(u"q", u"q", 11, Variant(u"\x01\x02")));
    EXPECT_NO_THROW(values.Add(u"b", u"b", 3, Variant(u"text")));
    Array bytes(VarType::Byte, {Bound{0, 4}});
    bytes.at(0) = Variant(uint8_t{42});
    EXPECT_EQ(values.Add(u"r", u"r", 8, Variant(bytes))->bytes()[0], 42);
}

// ---- CRegistryBasic ------------------------------------------------------------------------

TEST_F(RegistryTest, BasicStartsEmptyAndCreatesAMissingKeyOnAssignment) {
    CRegistryBasic b(platform);
    EXPECT_EQ(b.get_Root(), static_cast<int32_t>(0x80000002));
    EXPECT_TRUE(b.get_AutoCreate());
    EXPECT_EQ(b.get_ValueCount(), 0);
    EXPECT_EQ(b.get_SubKeyCount(), 0);
    EXPECT_EQ(b.get_Default(), u"");
    EXPECT_EQ(b.GetName(0), u"");
    EXPECT_EQ(b.GetSubKey(0), u"");
    EXPECT_EQ(b.GetValue(Variant(u"x")), u"");
    b.let_Root(kHkcu);
    b.let_key(u"Software\\New");
    EXPECT_TRUE(exists(u"Software\\New"));
    EXPECT_EQ(b.get_ValueCount(), 0);
    b.let_AutoCreate(false);
    expectRaised(raised([&] { b.let_key(u"Software\\Missing"); }), -2147220991, u"GetKeyInfo",
                 u"Unable to open Key");
    expectRaised(raised([&] { b.let_ValueCount(3); }), -2147220985, u"CRegistry.Let ValueCount",
                 u"The Let Property is not available");
    b.let_SubKeyCount(5);
    EXPECT_EQ(b.get_SubKeyCount(), 5);
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, BasicLoadsLeadingTextValuesAndSubKeys) {
    text(u"Software\\T", u"name", "one");
    text(u"Software\\T", u"b", "two");
    put(u"Software\\T", u"c", 4, std::string(4, '\0'));
    text(u"Software\\T", u"d", "after the number");
    makeKey(u"Software\\T\\kid2");
    makeKey(u"Software\\T\\Kid1");
    CRegistryBasic b(platform);
    b.let_Root(kHkcu);
    b.let_key(u"Software\\T");
    EXPECT_EQ(b.get_ValueCount(), 2);  // stops at the first value that is not REG_SZ
    EXPECT_EQ(b.GetName(0), u"name");
    EXPECT_EQ(b.GetName(2), u"");  // the spare column
    EXPECT_EQ(b.GetName(3), u"");
    EXPECT_EQ(b.GetValue(Variant(u"NAME")), u"one");
    EXPECT_EQ(b.GetValue(Variant(int16_t{1})), u"two");
    EXPECT_EQ(b.GetValue(Variant(int16_t{2})), u"");
    expectError(9, [&] { b.GetValue(Variant(int16_t{3})); });
    EXPECT_EQ(b.GetValue(Variant(int32_t{3})), u"");  // a Long is a name: "3"
    EXPECT_EQ(b.GetValue(Variant(u"d")), u"");
    expectError(94, [&] { b.GetValue(Variant(Null{})); });
    EXPECT_EQ(b.get_SubKeyCount(), 2);
    EXPECT_EQ(b.GetSubKey(0), u"Kid1");
    EXPECT_EQ(b.GetSubKey(1), u"kid2");
    EXPECT_EQ(b.GetSubKey(2), u"");
    EXPECT_EQ(b.GetSubKey(-1), u"");

    // A key whose first value is a number loads no values; a second path replaces the first.
    put(u"Software\\N", u"n", 4, std::string(4, '\0'));
    text(u"Software\\N", u"t", "x");
    b.let_key(u"Software\\N");
    EXPECT_EQ(b.get_ValueCount(), 0);
    EXPECT_EQ(b.get_SubKeyCount(), 0);
    EXPECT_EQ(b.GetValue(Variant(u"name")), u"");
    // A text value stored without its terminator reads as empty text.
    put(u"Software\\E", u"e", 1, "");
    b.let_key(u"Software\\E");
    EXPECT_EQ(b.get_ValueCount(), 1);
    EXPECT_EQ(b.GetValue(Variant(u"e")), u"");
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, BasicWritesTextAndReportsRefusedWrites) {
    CRegistryBasic b(platform);
    b.let_Root(kHkcu);
    b.let_key(u"Software\\T");
    EXPECT_TRUE(b.SetValue(Variant(u"v"), u"abc"));
    EXPECT_EQ(stored(u"Software\\T", u"v")->data, std::string("abc\0", 4));
    EXPECT_EQ(stored(u"Software\\T", u"v")->type, 1u);
    EXPECT_EQ(b.get_ValueCount(), 0);  // not reloaded
    b.Refresh();
    EXPECT_EQ(b.get_ValueCount(), 1);
    EXPECT_TRUE(b.SetValue(Variant(int16_t{0}), u"new"));  // a column names the value
    EXPECT_EQ(stored(u"Software\\T", u"v")->data, std::string("new\0", 4));
    EXPECT_TRUE(b.SetValue(Variant(int16_t{7}), u"dflt"));  // no such column: the unnamed value
    EXPECT_EQ(stored(u"Software\\T", u"")->data, std::string("dflt\0", 5));

    failOn(Op::SetValue, u"\\T", 5);
    expectRaised(raised([&] { b.SetValue(Variant(u"w"), u"x"); }), -2147221504 + 5, u"CRegistry",
                 u"Couldn't write value to registry");
    EXPECT_EQ(reg.openKeys(), 1u);  // held until the next close
    reg.setFault(nullptr);
    b.let_AutoCreate(false);
    b.let_key(u"Software\\T");
    EXPECT_EQ(reg.openKeys(), 0u);
    b.let_Root(kHkcu);
    EXPECT_EQ(reg.openKeys(), 1u);  // the Root let keeps what it opens

    CRegistryBasic missing(platform);
    missing.let_Root(kHkcu);
    missing.let_AutoCreate(false);
    missing.let_Root(kHkcu);
    EXPECT_FALSE(missing.SetValue(Variant(u"v"), u"x"));  // no path: nothing opened
    CRegistryBasic root0(platform);
    root0.let_Root(0);
    expectRaised(raised([&] { root0.let_key(u"Software\\T"); }), -2147220991, u"GetKeyInfo",
                 u"Unable to open Key");
}

TEST_F(RegistryTest, CreateErrorsNameTheRoutine) {
    CRegistryBasic nonsense(platform);
    nonsense.let_Root(12345);
    expectRaised(raised([&] { nonsense.let_key(u"x"); }), -2147220991, u"GetKeyInfo",
                 u"Unable to open Key");
    EXPECT_FALSE(nonsense.DeleteKey(u"x"));
    EXPECT_EQ(nonsense.Create(u"y", Variant::missing(), u""), 0);
    failOn(Op::Create, u"\\X", 1010);
    CRegistryBasic c(platform);
    c.let_Root(kHkcu);
    c.let_key(u"Software");
    // SetValue lets the creation's own error through.
    EXPECT_EQ(c.Create(u"X", Variant::missing(), u""), 0);
    EXPECT_EQ(c.get_key(), u"Software\\X");
    expectRaised(raised([&] { c.SetValue(Variant(u"v"), u"x"); }), -2147220991, u"CreateEx",
                 u"Cannot Open Parent Key");
    failOn(Op::Create, u"\\X", 87);
    expectRaised(raised([&] { c.SetValue(Variant(u"v"), u"x"); }), -2147220983, u"CreateEx",
                 u"Unknown Error: 87");
}

TEST_F(RegistryTest, CreateAnswersWithTheDisposition) {
    CRegistryBasic b(platform);
    b.let_Root(kHkcu);
    b.let_key(u"Software\\A");
    EXPECT_EQ(b.Create(u"Sub", Variant::missing(), u""), -1);
    EXPECT_EQ(b.get_key(), u"Software\\A\\Sub");
    EXPECT_TRUE(exists(u"Software\\A\\Sub"));
    EXPECT_EQ(b.Create(u"Software\\A\\Sub", Variant(u"v"), u"x"), -1);  // the key itself
    EXPECT_EQ(stored(u"Software\\A\\Sub", u"v")->data, std::string("x\0", 2));
    failOn(Op::SetValue, u"\\Deny", 5);
    EXPECT_EQ(b.Create(u"Deny", Variant(u"v"), u"x"), 1);  // created, write refused
    EXPECT_EQ(b.Create(u"Software\\A\\Sub\\Deny", Variant(u"v"), u"x"), 2);
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, DeleteKeyRemovesAWholeTreeOrReportsFailure) {
    for (StringView p : {u"Software\\T\\a\\b\\c", u"Software\\T\\a\\b\\d", u"Software\\T\\a\\e",
                         u"Software\\T\\keep"})
        makeKey(p);
    text(u"Software\\T\\a\\b", u"v", "x");
    CRegistryBasic b(platform);
    b.let_Root(kHkcu);
    b.let_key(u"Software\\T");
    EXPECT_TRUE(b.DeleteKey(u"a"));
    EXPECT_FALSE(exists(u"Software\\T\\a"));
    EXPECT_TRUE(exists(u"Software\\T\\keep"));
    EXPECT_EQ(b.get_key(), u"Software\\T");
    EXPECT_FALSE(b.DeleteKey(u"a"));  // gone already
    EXPECT_FALSE(b.DeleteKey(u""));   // would name the key itself
    EXPECT_FALSE(b.DeleteKey(u"\\"));
    EXPECT_TRUE(exists(u"Software\\T\\keep"));

    // A child that cannot be deleted ends the walk: no endless retry, no success.
    makeKey(u"Software\\T\\x\\stuck\\below");
    makeKey(u"Software\\T\\x\\z");
    failOn(Op::DeleteKey, u"\\stuck", 5);
    EXPECT_FALSE(b.DeleteKey(u"x"));
    EXPECT_TRUE(exists(u"Software\\T\\x\\stuck"));
    EXPECT_EQ(b.get_key(), u"Software\\T");
    // Nor does a sub-key list that cannot be read, or a parent that cannot be reopened.
    failOn(Op::EnumKey, u"\\x", 5);
    EXPECT_FALSE(b.DeleteKey(u"x"));
    makeKey(u"Software\\T\\y\\child");
    failOn(Op::Open, u"Software\\T", 5);
    EXPECT_FALSE(b.DeleteKey(u"y"));
    EXPECT_TRUE(exists(u"Software\\T\\y"));
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, LoadEndsWhenTheSubKeyListCannotBeRead) {
    makeKey(u"Software\\T\\a");
    text(u"Software\\T", u"v", "x");
    CRegistryBasic b(platform);
    b.let_Root(kHkcu);
    failOn(Op::EnumKey, u"\\T", 1018);
    expectRaised(raised([&] { b.let_key(u"Software\\T"); }), -2147220991, u"GetKeyInfo",
                 u"Unable to open Key");
    EXPECT_EQ(b.get_ValueCount(), 1);  // the values read before stay
    EXPECT_EQ(b.GetValue(Variant(u"v")), u"x");
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, DeleteValueAndSaveRestoreRoundTrip) {
    text(u"Software\\T", u"a", "1");
    text(u"Software\\T", u"b", "2");
    makeKey(u"Software\\T\\kid");
    CRegistryBasic b(platform);
    b.let_Root(kHkcu);
    b.let_key(u"Software\\T");
    b.ExportKey(u"C:\\t.hiv");
    EXPECT_TRUE(b.DeleteValue(u"a"));
    EXPECT_EQ(b.get_ValueCount(), 1);  // reloaded
    EXPECT_FALSE(b.DeleteValue(u"a"));
    EXPECT_TRUE(b.DeleteKey(u"kid"));
    b.ImportKey(u"C:\\t.hiv");
    b.Refresh();
    EXPECT_EQ(b.get_ValueCount(), 2);
    EXPECT_EQ(b.GetSubKey(0), u"kid");
    b.ImportKey(u"C:\\missing.hiv");  // failures are not reported
    b.ExportKey(u"C:\\t.hiv");
    EXPECT_EQ(reg.openKeys(), 0u);
}

// ---- CRegistryAdvanced ---------------------------------------------------------------------

TEST_F(RegistryTest, AdvancedLoadsEveryTypeIntoTheCollection) {
    text(u"Software\\T", u"", "x");
    put(u"Software\\T", u"n", 4, std::string("\x07\0\0\0", 4));
    put(u"Software\\T", u"bin", 3, std::string("\1\2\3", 3));
    put(u"Software\\T", u"multi", 7, std::string("a\0b\0\0", 5));
    text(u"Software\\T", u"path", "%TEMP%\\x", 2);
    put(u"Software\\T", u"neg", 4, std::string("\xff\xff\xff\xff", 4));
    put(u"Software\\T", u"q", 11, std::string(8, '\1'));
    put(u"Software\\T", u"none", 0, "");
    CRegistryAdvanced a(platform);
    a.let_Root(kHkcu);
    a.let_key(u"  \\Software\\T  ");
    EXPECT_EQ(a.get_key(), u"Software\\T");
    EXPECT_EQ(a.get_ValueCount(), 8);
    EXPECT_EQ(a.GetName(1), u"<DEFAULT>");
    EXPECT_EQ(a.GetName(2), u"n");
    EXPECT_EQ(a.GetValue(Variant(u"")), u"x");
    EXPECT_EQ(a.GetValue(Variant()), u"x");
    EXPECT_EQ(a.GetValue(Variant(u"<default>")), u"x");
    EXPECT_EQ(a.GetValue(Variant(u"N")), u"7");
    EXPECT_EQ(a.GetValue(Variant(int16_t{2})), u"7");
    EXPECT_EQ(a.GetValue(Variant(u"bin")), u"");
    EXPECT_EQ(a.GetValue(Variant(u"multi")), String(u"a\0b\0\0", 5));
    EXPECT_EQ(a.GetValue(Variant(u"path")), u"%TEMP%\\x");
    EXPECT_EQ(a.GetValue(Variant(u"neg")), u"-1");
    EXPECT_EQ(a.GetValue(Variant(u"q")), u"");
    EXPECT_EQ(a.GetValue(Variant(u"absent")), u"");
    EXPECT_EQ(a.GetValue(Variant(int16_t{99})), u"");
    expectRaised(raised([&] { a.GetName(0); }), 1200, u"Registry Collection", u"Invalid Index");
    EXPECT_EQ(a.values().Item(Variant(u"multi"))->GetMultiStringCount(), 2);
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, AdvancedCountsAFailedReadAndKeepsItsRecords) {
    text(u"Software\\T", u"a", "1");
    text(u"Software\\T", u"b", "2");
    text(u"Software\\T", u"c", "3");
    CRegistryAdvanced a(platform);
    a.let_Root(kHkcu);
    int calls = 0;
    // Probe and read of a, probe of b, then the read of b fails.
    reg.setFault(
        [&](Op op, StringView, StringView) { return op == Op::EnumValue && ++calls == 4 ? 5 : 0; });
    a.let_key(u"Software\\T");
    EXPECT_EQ(a.get_ValueCount(), 2);
    EXPECT_EQ(a.values().Count(), 2);  // b's record is filed under its unread name
    EXPECT_EQ(a.GetValue(Variant(u"a")), u"1");
    reg.setFault(nullptr);
    // A path that cannot be opened changes nothing and raises nothing.
    a.let_AutoCreate(false);
    a.let_key(u"Software\\Missing");
    EXPECT_EQ(a.get_ValueCount(), 2);
    EXPECT_EQ(a.GetValue(Variant(u"a")), u"1");
    expectRaised(raised([&] { a.let_ValueCount(1); }), -2147220985, u"CRegistry.Let ValueCount",
                 u"The Let Property is not available");
    EXPECT_EQ(reg.openKeys(), 0u);
}

TEST_F(RegistryTest, AdvancedWritesTheTypeTheDataCallsFor) {
    CRegistryAdvanced a(platform);
    a.let_Root(kHkcu);
    a.let_key(u"Software\\T");
    const auto type = [&](StringView n) { return stored(u"Software\\T", n)->type; };
    const auto data = [&](StringView n) { return stored(u"Software\\T", n)->data; };
    EXPECT_TRUE(a.SetValue(Variant(u"s"), Variant(u"abc"), 0));
    EXPECT_EQ(type(u"s"), 1u);
    EXPECT_EQ(data(u"s"), std::string("abc\0", 4));
    EXPECT_EQ(a.GetValue(Variant(u"s")), u"abc");  // reloaded
    a.SetValue(Variant(u"e"), Variant(u"%PATH%"), 0);
    EXPECT_EQ(type(u"e"), 2u);
    a.SetValue(Variant(u"m"), Variant(String(u"a\0b\0", 4)), 0);
    EXPECT_EQ(type(u"m"), 7u);
    EXPECT_EQ(data(u"m"), std::string("a\0b\0\0", 5));
    a.SetValue(Variant(u"i"), Variant(int16_t{5}), 0);
    EXPECT_EQ(type(u"i"), 4u);
    EXPECT_EQ(data(u"i"), std::string("\5\0\0\0", 4));
    a.SetValue(Variant(u"l"), Variant(int32_t{-2}), 0);
    EXPECT_EQ(a.GetValue(Variant(u"l")), u"-2");
    a.SetValue(Variant(u"d"), Variant(u"5"), 4);
    EXPECT_EQ(type(u"d"), 4u);
    a.SetValue(Variant(u"t"), Variant(2.5), 0);
    EXPECT_EQ(data(u"t"), std::string("2.5\0", 4));
    a.SetValue(Variant(u"x"), Variant(u"%not expanded%"), 1);
    EXPECT_EQ(type(u"x"), 1u);
    expectError(13, [&] { a.SetValue(Variant(u"d"), Variant(u"five"), 4); });

    Array bytes(VarType::Byte, {Bound{0, 5}});
    const char multi[] = "a\0b\0";
    for (int i = 0; i < 5; ++i) bytes.at(i) = Variant(static_cast<uint8_t>(multi[i]));
    expectRaised(raised([&] { a.SetValue(Variant(u"b"), Variant(bytes), 0); }), 5, u"",
                 u"Byte Array");
    EXPECT_FALSE(stored(u"Software\\T", u"b"));
    EXPECT_TRUE(a.SetValue(Variant(u"b"), Variant(bytes), 7));
    EXPECT_EQ(type(u"b"), 7u);
    EXPECT_EQ(data(u"b"), std::string("a\0b\0\0", 5));
    EXPECT_TRUE(a.SetValue(Variant(u"raw"), Variant(bytes), 3));
    EXPECT_EQ(type(u"raw"), 3u);
    Array far(VarType::Byte, {Bound{513, 1}});
    expectError(9, [&] { a.SetValue(Variant(u"f"), Variant(far), 7); });
    expectError(13, [&] { a.SetValue(Variant(u"f"), Variant(u"text"), 7); });
    // A type without a data form, and a value without a text form, write nothing and succeed.
    EXPECT_TRUE(a.SetValue(Variant(u"f"), Variant(u"text"), 9));
    EXPECT_TRUE(a.SetValue(Variant(u"f"), Variant(Null{}), 0));
    EXPECT_TRUE(a.SetValue(Variant(u"f"), Variant(Array::vector({Variant(1)})), 0));
    EXPECT_FALSE(stored(u"Software\\T", u"f"));
    expectError(6, [&] { a.SetValue(Variant(u"big"), Variant(String(40000, u'x')), 0); });
    EXPECT_TRUE(a.SetValue(Variant(u"big"), Variant(String(65536, u'x')), 1));
    EXPECT_EQ(data(u"big").size(), 65537u);
    EXPECT_EQ(a.GetValue(Variant(u"big")).size(), 65536u);
    // A position names the value; a position that is not there raises 1200.
    EXPECT_TRUE(a.SetValue(Variant(int16_t{1}), Variant(u"first"), 0));
    EXPECT_EQ(a.GetValue(Variant(int16_t{1})), u"first");
    expectError(1200, [&] { a.SetValue(Variant(int16_t{0}), Variant(u"x"), 0); });
}

TEST_F(RegistryTest, AdvancedRefusedWritesAndCreation) {
    CRegistryAdvanced a(platform);
    a.let_Root(kHkcu);
    a.let_key(u"Software\\T");
    failOn(Op::SetValue, u"\\T", 87);
    expectRaised(raised([&] { a.SetValue(Variant(u"v"), Variant(u"x"), 0); }), -2147221504 + 87,
                 u"CRegistry", u"Couldn't write value to registry");
    reg.setFault(nullptr);
    EXPECT_EQ(a.Create(u"Sub", Variant(u"v"), u"50%"), -1);
    EXPECT_EQ(a.get_key(), u"Software\\T\\Sub");
    EXPECT_EQ(stored(u"Software\\T\\Sub", u"v")->type, 2u);
    EXPECT_EQ(a.GetValue(Variant(u"v")), u"50%");  // reloaded from the new key
    failOn(Op::Create, u"\\Bad", 1010);
    a.let_key(u"Software\\Bad");
    expectRaised(raised([&] { a.SetValue(Variant(u"v"), Variant(u"x"), 0); }), -2147220494, u"",
                 u"Cannot Open Parent Key");
    failOn(Op::Create, u"\\Bad", 5);
    expectRaised(raised([&] { a.SetValue(Variant(u"v"), Variant(u"x"), 0); }), -2147221504 + 5, u"",
                 u"Unknown error");
    reg.setFault(nullptr);
    a.let_Access(1);
    EXPECT_EQ(a.get_Access(), 1);
    CRegistryAdvanced fresh(platform);
    EXPECT_EQ(fresh.get_Access(), 131103);
    EXPECT_FALSE(fresh.SetValue(Variant(u"v"), Variant(u"x"), 0));  // no path
    EXPECT_EQ(reg.openKeys(), 0u);
}

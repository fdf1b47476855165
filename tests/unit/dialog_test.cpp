#include "dialogs/dialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/native/dialogs.h"
#include "test_support.h"

using namespace brv;
using platform::native::UserAnswer;

namespace {

// What one request carried, copied out while its buffers were alive.
struct Sent {
    std::string filter;  // through its closing pair of NULs
    std::string file;    // all maxFile bytes
    std::string custom;  // all maxCustomFilter bytes
    uint32_t maxFile = 0, filterIndex = 0, flags = 0;
    bool hasTitle = false, hasInitialDir = false, hasCustom = false;
    std::string title, initialDir;
};

// A dialog that answers from a script, through the same buffer writer as the native host, so
// that AddressSanitizer sees every read and write of the request's buffers.
class ScriptedDialogs : public platform::Dialogs {
  public:
    mutable std::deque<UserAnswer> script;
    mutable std::vector<Sent> sent;
    mutable std::vector<int> kinds;  // 1 open, 2 save
    mutable uint32_t error = 0;
    mutable int versionCalls = 0;
    mutable std::string raw;  // when set, written as it is over the file buffer
    uint32_t versionValue = 0x0A;
    String folder = u"C:\\Work";

    int getOpenFileName(platform::FileDialogRequest& r) const override { return answer(r, 1); }
    int getSaveFileName(platform::FileDialogRequest& r) const override { return answer(r, 2); }
    uint32_t extendedError() const override { return error; }
    uint32_t version() const override {
        ++versionCalls;
        return versionValue;
    }
    String currentDirectory() const override { return folder; }
    ObjectRef loadPicture(StringView path) const override {
        return standIns().dialogs->loadPicture(path);
    }

  private:
    int answer(platform::FileDialogRequest& r, int kind) const {
        kinds.push_back(kind);
        Sent s;
        const char* end = r.filter;
        while (end && (end[0] || end[1])) ++end;
        if (r.filter) s.filter.assign(r.filter, end + 2);
        s.file.assign(r.file, r.maxFile);
        s.maxFile = r.maxFile;
        s.filterIndex = r.filterIndex;
        s.flags = r.flags;
        s.hasTitle = r.title != nullptr;
        s.title = r.title ? r.title : "";
        s.hasInitialDir = r.initialDir != nullptr;
        s.initialDir = r.initialDir ? r.initialDir : "";
        s.hasCustom = r.customFilter != nullptr;
        if (r.customFilter) s.custom.assign(r.customFilter, r.maxCustomFilter);
        sent.push_back(s);
        UserAnswer a;
        if (!script.empty()) {
            a = script.front();
            script.pop_front();
        }
        if (raw.empty()) return platform::native::answerRequest(r, a, error);
        raw.copy(r.file, std::min<std::size_t>(raw.size(), r.maxFile));
        r.flags |= a.flagsAdded;
        raw.clear();
        return 1;
    }
};

UserAnswer choose(std::string folder, std::vector<std::string> names, uint32_t flagsAdded = 0) {
    UserAnswer a;
    a.action = UserAnswer::Action::Choose;
    a.folder = std::move(folder);
    a.names = std::move(names);
    a.flagsAdded = flagsAdded;
    return a;
}

UserAnswer fail(uint32_t code) {
    UserAnswer a;
    a.action = UserAnswer::Action::Fail;
    a.failure = code;
    return a;
}

struct Fixture : ::testing::Test {
    ScriptedDialogs dialogs;
    platform::Platform platform = [this] {
        platform::Platform p = standIns();
        p.dialogs = &dialogs;
        return p;
    }();
    CDialog d{platform};
};

// A list box: ListCount, List(i), Clear, AddItem, ListIndex.
class ListTarget : public Object {
  public:
    std::vector<String> items;
    int16_t listIndex = -1;
    Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override {
        if (name == u"ListIndex" && kind == CallKind::PropertyLet) {
            listIndex = args[0].integer();
            return {};
        }
        if (name == u"ListIndex") return Variant(listIndex);
        if (name == u"ListCount") return Variant(static_cast<int16_t>(items.size()));
        if (name == u"List") return Variant(items.at(static_cast<std::size_t>(args[0].integer())));
        if (name == u"Clear") {
            items.clear();
            listIndex = -1;
            return {};
        }
        if (name == u"AddItem") {
            items.push_back(args[0].str());
            return {};
        }
        brv::raise(err::NoSuchMember);
    }
};

// A value object whose default member is a String.
class StringValue : public Object {
  public:
    String value;
    Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override {
        if (!name.empty()) brv::raise(err::NoSuchMember);
        if (kind == CallKind::PropertyLet) value = args[0].str();
        return Variant(value);
    }
};

std::shared_ptr<FakeObject> fake(std::initializer_list<std::pair<const String, Variant>> props) {
    auto o = std::make_shared<FakeObject>();
    o->props = props;
    return o;
}

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const std::filesystem::path& p, std::string_view bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace

TEST_F(Fixture, FileMustExistReadsTheFirstMatchingRow) {
    const std::pair<int32_t, int16_t> rows[] = {{2050, 6}, {6144, 1}, {10240, 4}, {8192, 3},
                                                {2, 5},    {2048, 2}, {16, 0},    {8194, 3}};
    for (auto [flags, value] : rows) {
        d.let_Flags(flags);
        EXPECT_EQ(d.get_FileMustExist(), value) << flags;
    }
    d.let_Flags(4096 | 2048 | 16);
    d.let_FileMustExist(3);
    EXPECT_EQ(d.get_Flags(), 8192 | 16);
    d.let_FileMustExist(4);
    EXPECT_EQ(d.get_Flags(), 8192 | 2048 | 16);
    d.let_FileMustExist(5);
    EXPECT_EQ(d.get_Flags(), 8192 | 2 | 16);
    for (int16_t ignored : {0, 7, -1}) {
        d.let_FileMustExist(ignored);
        EXPECT_EQ(d.get_Flags(), 8192 | 2 | 16);
    }
    d.let_FileMustBeWriteable(true);
    EXPECT_EQ(d.get_Flags(), 8192 | 2 | 16 | 32768);
    d.let_FileMustBeWriteable(false);
    EXPECT_EQ(d.get_Flags(), 8192 | 2 | 16);
}

TEST_F(Fixture, AddFilterJoinsPairsAndSelectsTheDefault) {
    d.AddFilter(u"A", u"*.a");
    d.AddFilter(u"B", u"*.b;*.c", Variant(true));
    EXPECT_EQ(d.get_Filter(), u"A (*.a)|*.a|B|*.b;*.c");
    EXPECT_EQ(d.get_FilterIndex(), 2);
    d.AddFilter(u"C", u"*.c", Variant(int32_t{0}));
    EXPECT_EQ(d.get_FilterIndex(), 2);
    d.AddFilter(u"D", u"*.d", Variant(int16_t{5}));
    EXPECT_EQ(d.get_FilterIndex(), 4);
    expectError(err::TypeMismatch, [&] { d.AddFilter(u"E", u"*.e", Variant(u"abc")); });

    d.let_Filter(u"X|*.x|");
    d.AddFilter(u"Y", u"*.y");
    EXPECT_EQ(d.get_Filter(), u"X|*.x|Y (*.y)|*.y");
    // An even number of bars ends the count instead of searching from the start again.
    d.let_Filter(u"X|*.x|Y");
    d.AddFilter(u"Z", u"*.z", Variant(true));
    EXPECT_EQ(d.get_Filter(), u"X|*.x|Y|Z (*.z)|*.z");
    EXPECT_EQ(d.get_FilterIndex(), 3);
    d.let_Filter(u"no pairs");
    d.AddFilter(u"", u"", Variant(true));
    EXPECT_EQ(d.get_Filter(), u"no pairs| ()|");
    EXPECT_EQ(d.get_FilterIndex(), 2);
}

TEST_F(Fixture, AddFilterCountsPastAnIntegerWithOverflow) {
    d.let_Filter(String(40000, u'x') + u"|*.x");
    d.let_FilterIndex(1);
    expectError(err::Overflow, [&] { d.AddFilter(u"Y", u"*.y", Variant(true)); });
    EXPECT_EQ(d.get_FilterIndex(), 1);
    d.AddFilter(u"Z", u"*.z");  // without a default nothing is counted
    EXPECT_TRUE(d.get_Filter().ends_with(u"*.x|Y (*.y)|*.y|Z (*.z)|*.z"));
}

TEST_F(Fixture, DefaultFilterSetsFollowTheKindOfTheControl) {
    auto rich = fake({{u"TextRTF", Variant(u"")}, {u"Text", Variant(u"")}});
    auto picture = fake({{u"Picture", Variant()}});
    auto combo = fake({{u"ListIndex", Variant(int16_t{0})}, {u"Text", Variant(u"")}});
    auto text = fake({{u"Text", Variant(u"")}});
    auto value = std::make_shared<StringValue>();
    const std::pair<Variant, const char16_t*> cases[] = {
        {Variant(ObjectRef(rich)),
         u"All Files (*.*)|*.*|All Document files|*.rtf;*.txt|Rich Text Box files "
         u"(*.rtf)|*.rtf|Text Files (*.txt)|*.txt"},
        {Variant(ObjectRef(picture)),
         u"All Files (*.*)|*.*|All Image files|*.bmp;*.dib;*.wmf;*.emf;*.ico;*.cur|Bitmaps|*.bmp;"
         u"*.dib|Metafiles|*.wmf;*.emf|Icons|*.ico;*.cur"},
        {Variant(ObjectRef(combo)), u"All Files (*.*)|*.*|Data Files|*.dat;*.lst"},
        {Variant(ObjectRef(text)), u"All Files (*.*)|*.*|Text files  (*.txt)|*.txt"},
        {Variant(ObjectRef(value)), u"All Files (*.*)|*.*|Text files  (*.txt)|*.txt"},
        {Variant(u"abc"), u"All Files (*.*)|*.*|Text files  (*.txt)|*.txt"},
    };
    for (const auto& [ctrl, expected] : cases) {
        CDialog fresh(platform);
        fresh.AddDefaultFilters(ctrl);
        EXPECT_EQ(fresh.get_Filter(), expected);
        EXPECT_EQ(fresh.get_FilterIndex(), 2);
    }
    for (const Variant& none :
         {Variant(nullptr), Variant(int32_t{4}), Variant(ObjectRef(fake({})))}) {
        d.let_Filter(u"K|*.k");
        d.let_FilterIndex(1);
        d.AddDefaultFilters(none);
        EXPECT_EQ(d.get_Filter(), u"K|*.k");
        EXPECT_EQ(d.get_FilterIndex(), 1);
    }
    d.AddDefaultFilters(Variant(u"abc"));
    EXPECT_EQ(d.get_Filter(), u"All Files (*.*)|*.*|K|*.k|Text files  (*.txt)|*.txt");
}

TEST_F(Fixture, FileNameDefaultFilterSwapsTheExtension) {
    d.let_Filename(u"report.txt");
    d.let_DefaultExt(u"rtf");
    EXPECT_EQ(d.get_FileNameDefaultFilter(), u"report.rtf");
    d.let_Filename(u"abcd");
    EXPECT_EQ(d.get_FileNameDefaultFilter(), u".rtf");
    d.let_Filename(u"abc");
    expectError(err::InvalidCall, [&] { d.get_FileNameDefaultFilter(); });
}

TEST_F(Fixture, TheRequestCarriesThePropertiesInTheSystemsForm) {
    d.let_Filter(u"All|*.*|Text|*.txt|");
    d.let_Filename(u"a.txt");
    d.let_MaxFileSize(12);
    d.let_Flags(16 | 2097152 | 4096);
    d.let_FilterIndex(2);
    d.ShowOpen(nullptr);
    ASSERT_EQ(dialogs.sent.size(), 1u);
    const Sent& s = dialogs.sent[0];
    EXPECT_EQ(s.filter, std::string("All\0*.*\0Text\0*.txt\0\0", 20));
    EXPECT_EQ(s.file, std::string("a.txt\0      ", 12));
    EXPECT_EQ(s.maxFile, 12u);
    EXPECT_EQ(s.flags, 4096u);
    EXPECT_EQ(s.filterIndex, 2u);
    EXPECT_FALSE(s.hasTitle);
    EXPECT_FALSE(s.hasInitialDir);
    EXPECT_FALSE(s.hasCustom);
    EXPECT_EQ(dialogs.versionCalls, 0);

    // A name longer than the buffer is cut to it; a title and folder go as given.
    d.let_Filename(u"abcdefghijklmnop");
    d.let_DialogTitle(u"Pick");
    d.let_InitDir(u"C:\\nowhere");
    d.let_CustomFilter(u"Mine");
    d.ShowOpen(nullptr);
    const Sent& t = dialogs.sent[1];
    EXPECT_EQ(t.file, "abcdefghijkl");
    EXPECT_EQ(t.title, "Pick");
    EXPECT_EQ(t.initialDir, "C:\\nowhere");
    EXPECT_EQ(t.custom, std::string("Mine\0*\0", 7) + std::string(99, ' '));
}

TEST_F(Fixture, MultipleSelectionUsesTheOldDialogOnlyOnWindowsNT3) {
    d.let_MultiSelect(2);
    dialogs.versionValue = 0x00000A03;  // NT 3.x: old style, names separated by spaces
    dialogs.script = {choose("C:\\D", {"a.txt", "b.txt"})};
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.sent[0].flags, 512u);
    EXPECT_EQ(d.get_Filename(), u"C:\\D a.txt b.txt");
    EXPECT_EQ(d.get_SelectedFileCount(), 2);
    EXPECT_EQ(d.get_SelectedFile(2), u"C:\\D\\b.txt");

    d.let_MultiSelect(2);
    dialogs.versionValue = 0x80000003;  // the non-NT line keeps the explorer style
    dialogs.script = {choose("C:\\D\\", {"a.txt", "b.txt", "c d.txt"})};
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.sent[1].flags, 524800u);
    EXPECT_EQ(d.get_Filename(), String(u"C:\\D\\\0a.txt\0b.txt\0c d.txt", 25));
    EXPECT_EQ(d.get_SelectedFileCount(), 3);
    EXPECT_EQ(d.get_SelectedFile(1), u"C:\\D\\a.txt");
    EXPECT_EQ(d.get_SelectedFile(3), u"C:\\D\\c d.txt");
    EXPECT_EQ(d.get_SelectedFile(4), u"");

    dialogs.script = {choose("C:\\D", {"only.txt"})};
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(d.get_SelectedFileCount(), 1);
    EXPECT_EQ(d.get_SelectedFile(1), u"C:\\D\\only.txt");
    EXPECT_EQ(dialogs.versionCalls, 3);
}

TEST_F(Fixture, ASuccessfulOpenReadsEverythingBack) {
    d.let_Flags(16 | 4096);
    d.let_InitDir(u"C:\\Start");
    d.AddFilter(u"T", u"*.txt");
    dialogs.script = {choose("C:\\Data", {"report.final.txt"}, 1)};
    dialogs.script.front().filterIndex = 1;
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(d.get_Flags(), 4096 | 1);
    EXPECT_EQ(d.get_Filename(), u"C:\\Data\\report.final.txt");
    EXPECT_EQ(d.get_FileTitle(), u"report");
    EXPECT_EQ(d.get_InitDir(), u"C:\\Work");
    EXPECT_EQ(d.get_SelectedFileCount(), 1);
    EXPECT_EQ(d.get_SelectedFile(0), u"");
    EXPECT_EQ(d.get_SelectedFile(1), u"C:\\Data\\report.final.txt");
    EXPECT_EQ(d.get_SelectedFile(2), u"");
    EXPECT_EQ(d.get_Error(), 0);

    // Filters added after a dialog start a new list; a list left alone is reused.
    dialogs.script = {choose("C:", {"x"}, 8)};
    d.let_InitDir(u"C:\\Keep");
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.sent[1].filter, std::string("T (*.txt)\0*.txt\0\0", 17));
    EXPECT_EQ(d.get_InitDir(), u"C:\\Keep");  // cdlOFNNoChangeDir came back
    EXPECT_EQ(d.get_FileTitle(), u"x");
    d.AddFilter(u"U", u"*.u");
    EXPECT_EQ(d.get_Filter(), u"U (*.u)|*.u");
}

TEST_F(Fixture, CancelAnswersFalseWhateverCancelErrorSays) {
    d.let_Filename(u"keep");
    d.let_Flags(16);
    for (bool cancelError : {true, false}) {
        d.let_CancelError(cancelError);
        EXPECT_FALSE(d.ShowOpen(nullptr));
        EXPECT_EQ(d.get_Filename(), u"keep");
        EXPECT_EQ(d.get_Flags(), 16);
        EXPECT_EQ(d.get_SelectedFileCount(), 0);
        EXPECT_EQ(d.get_Error(), 0);
    }
    EXPECT_FALSE(d.ShowSave(nullptr));
    EXPECT_EQ(d.get_Flags(), 16 | 4);
    EXPECT_EQ(dialogs.kinds, (std::vector<int>{1, 1, 2}));
}

TEST_F(Fixture, DialogFailuresAreRaisedAsCDialogErrors) {
    dialogs.script = {fail(12291)};
    try {
        d.ShowOpen(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 12291);
        EXPECT_EQ(e.source(), u"CDialog");
        EXPECT_EQ(e.description(), u"Application-defined or object-defined error");
    }
    EXPECT_EQ(d.get_Error(), 12291);

    dialogs.script = {fail(65535)};
    expectError(
        err::Overflow, [&] { d.ShowSave(nullptr); }, u"CDialog");
    EXPECT_EQ(d.get_Error(), 0);

    d.let_MaxFileSize(-1);
    expectError(
        err::InvalidCall, [&] { d.ShowOpen(nullptr); }, u"CDialog");
    EXPECT_EQ(dialogs.sent.size(), 2u);

    // No room for even the shortest name: the dialog says so in the buffer and fails.
    d.let_MaxFileSize(0);
    dialogs.script = {choose("C:\\D", {"a.txt"})};
    expectError(
        12291, [&] { d.ShowOpen(nullptr); }, u"CDialog");
    d.let_MaxFileSize(10);
    dialogs.script = {choose("C:\\Data", {"long-name.txt"})};
    expectError(
        12291, [&] { d.ShowOpen(nullptr); }, u"CDialog");
    EXPECT_EQ(d.get_SelectedFileCount(), 0);
}

TEST_F(Fixture, AMultipleSelectionWithoutItsClosingNulsFailsWith5) {
    d.let_MultiSelect(2);
    d.let_Filename(u"before");
    UserAnswer a = choose("", {});
    a.flagsAdded = 1;
    dialogs.script = {a};
    dialogs.raw = std::string("C:\\D\0a.txt\0", 11);  // the spaces behind stay
    expectError(
        err::InvalidCall, [&] { d.ShowOpen(nullptr); }, u"CDialog");
    EXPECT_EQ(d.get_Flags(), 524800 | 1);  // already read back
    EXPECT_EQ(d.get_Filename(), u"before");
    EXPECT_EQ(d.get_SelectedFileCount(), 0);
}

TEST_F(Fixture, ATypedCustomFilterComesBack) {
    d.let_CustomFilter(u"Mine");
    UserAnswer a = choose("C:", {"x.log"});
    a.customPattern = "*.log";
    dialogs.script = {a};
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(d.get_CustomFilterFilespec(), u"*.log");
    EXPECT_EQ(d.get_FilterIndex(), 0);
    EXPECT_EQ(dialogs.sent[0].custom.substr(0, 7), std::string("Mine\0*\0", 7));
    d.ShowOpen(nullptr);  // cancelled: the pattern goes out as it is now
    EXPECT_EQ(dialogs.sent[1].custom.substr(0, 11), std::string("Mine\0*.log\0", 11));
}

struct Transfers : Fixture {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("brv-dialog-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Transfers() { std::filesystem::create_directories(dir); }
    ~Transfers() override { std::filesystem::remove_all(dir); }

    // Shows the dialog of `kind` (1 open, 2 save) choosing `name` in the test folder.
    bool show(int kind, const std::string& name, const ObjectRef& target) {
        dialogs.script = {choose("", {(dir / name).string()})};
        dialogs.folder = fromUtf8(dir.string());
        return kind == 1 ? d.ShowOpen(target) : d.ShowSave(target);
    }
    // Every file a transfer opened is closed again: the process holds as many as before.
    static std::size_t openFiles() {
        auto it = std::filesystem::directory_iterator("/proc/self/fd");
        return static_cast<std::size_t>(std::distance(it, std::filesystem::directory_iterator()));
    }
    const std::size_t filesBefore = openFiles();
    void expectNoFileOpen() { EXPECT_EQ(openFiles(), filesBefore); }
};

TEST_F(Transfers, TextTargetsSaveAndLoadTheTextExactly) {
    auto box = fake({{u"Text", Variant(u"line 1\r\nline 2\n\tend ")}});
    ASSERT_TRUE(show(2, "t.txt", box));
    EXPECT_EQ(slurp(dir / "t.txt"), "line 1\r\nline 2\n\tend ");
    auto other = fake({{u"Text", Variant(u"old")}});
    ASSERT_TRUE(show(1, "t.txt", other));
    EXPECT_EQ(other->props[u"Text"], Variant(u"line 1\r\nline 2\n\tend "));

    auto value = std::make_shared<StringValue>();
    value->value = u"by default";
    ASSERT_TRUE(show(2, "v.txt", value));
    EXPECT_EQ(slurp(dir / "v.txt"), "by default");
    value->value = u"";
    ASSERT_TRUE(show(1, "v.txt", value));
    EXPECT_EQ(value->value, u"by default");
}

TEST_F(Transfers, ListTargetsWriteOneLinePerItemAndSelectTheFirst) {
    auto list = std::make_shared<ListTarget>();
    list->items = {u"one", u"", u"two\nstill two"};
    ASSERT_TRUE(show(2, "l.lst", list));
    EXPECT_EQ(slurp(dir / "l.lst"), "one\r\n\r\ntwo\nstill two\r\n");
    auto back = std::make_shared<ListTarget>();
    back->items = {u"stale"};
    ASSERT_TRUE(show(1, "l.lst", back));
    EXPECT_EQ(back->items, list->items);
    EXPECT_EQ(back->listIndex, 0);

    // A lone CR ends a line too; a file without a final line break keeps its last line.
    spit(dir / "m.lst", "a\rb\r\n\r\nc");
    ASSERT_TRUE(show(1, "m.lst", back));
    EXPECT_EQ(back->items, (std::vector<String>{u"a", u"b", u"", u"c"}));

    spit(dir / "empty.lst", "");
    ASSERT_TRUE(show(1, "empty.lst", back));
    EXPECT_TRUE(back->items.empty());
    EXPECT_EQ(back->listIndex, -1);
    expectNoFileOpen();
}

TEST_F(Transfers, RichTextAndPictureTargetsUseTheirOwnMembers) {
    struct Rich : FakeObject {
        std::vector<std::pair<String, String>> fileCalls;
        Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override {
            if (name == u"SaveFile" || name == u"LoadFile") {
                fileCalls.emplace_back(String(name), args[0].str());
                return {};
            }
            return FakeObject::invoke(name, kind, args);
        }
    };
    auto rich = std::make_shared<Rich>();
    rich->props = {{u"TextRTF", Variant(u"")}, {u"Text", Variant(u"")}};
    const String path = fromUtf8((dir / "r.rtf").string());
    ASSERT_TRUE(show(2, "r.rtf", rich));
    ASSERT_TRUE(show(1, "r.rtf", rich));
    EXPECT_EQ(rich->fileCalls,
              (std::vector<std::pair<String, String>>{{u"SaveFile", path}, {u"LoadFile", path}}));

    auto picture = fake({{u"Picture", Variant(nullptr)}});
    spit(dir / "p.bmp", "BM and the rest");
    ASSERT_TRUE(show(2, "p.bmp", picture));  // nothing is written for a picture
    EXPECT_EQ(slurp(dir / "p.bmp"), "BM and the rest");
    ASSERT_TRUE(show(1, "p.bmp", picture));
    const Variant loaded = picture->props[u"Picture"];
    ASSERT_TRUE(loaded.isObject() && loaded.object());
    EXPECT_EQ(loaded.object()->get(u"Type"), Variant(int16_t{1}));
    spit(dir / "p.bmp", "not a picture");
    d.let_Filename(u"unchanged");
    expectError(481, [&] { d.LoadInto(picture); });
}

TEST_F(Transfers, TransfersNeedTheMatchingDialogAndOneFile) {
    auto box = fake({{u"Text", Variant(u"text")}});
    d.LoadInto(box);
    d.SaveFrom(box);
    EXPECT_EQ(box->calls.size(), 0u);
    spit(dir / "a.txt", "A");
    ASSERT_TRUE(show(1, "a.txt", nullptr));
    d.SaveFrom(box);  // after an open: nothing
    EXPECT_EQ(slurp(dir / "a.txt"), "A");
    d.LoadInto(box);
    EXPECT_EQ(box->props[u"Text"], Variant(u"A"));

    d.let_MultiSelect(2);
    dialogs.script = {choose(dir.string(), {"a.txt", "b.txt"})};
    ASSERT_TRUE(d.ShowOpen(box));
    EXPECT_EQ(d.get_SelectedFileCount(), 2);
    box->props[u"Text"] = Variant(u"kept");
    d.LoadInto(box);
    EXPECT_EQ(box->props[u"Text"], Variant(u"kept"));
    // Nothing, a number-like value and an object without the probed members are no kind.
    d.let_MultiSelect(0);
    ASSERT_TRUE(show(1, "a.txt", nullptr));
    d.LoadInto(nullptr);
    d.LoadInto(fake({{u"Value", Variant(int32_t{3})}}));
}

TEST_F(Transfers, FileErrorsReachADirectCallerAndNoFileStaysOpen) {
    auto box = fake({{u"Text", Variant(u"x")}});
    ASSERT_TRUE(show(1, "missing.txt", box));  // ShowOpen itself swallows the 53
    expectError(err::FileNotFound, [&] { d.LoadInto(box); });
    auto list = std::make_shared<ListTarget>();
    list->items = {u"kept"};
    expectError(err::FileNotFound, [&] { d.LoadInto(list); });
    EXPECT_TRUE(list->items.empty());  // cleared before the file was opened

    std::filesystem::create_directories(dir / "folder.txt");
    ASSERT_TRUE(show(1, "folder.txt", box));
    expectError(err::PathFileAccess, [&] { d.LoadInto(box); });

    // A target that fails half-way through a save leaves the created file closed.
    struct Failing : ListTarget {
        Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override {
            if (name == u"List" && args[0].integer() == 1) brv::raise(err::SubscriptOutOfRange);
            return ListTarget::invoke(name, kind, args);
        }
    };
    auto failing = std::make_shared<Failing>();
    failing->items = {u"a", u"b"};
    ASSERT_TRUE(show(2, "f.lst", failing));
    expectError(err::SubscriptOutOfRange, [&] { d.SaveFrom(failing); });
    EXPECT_EQ(slurp(dir / "f.lst"), "a\r\n");
    expectNoFileOpen();
}

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

// The filter strings, the defaults, the cancel and the real-dialog answers are checked through
// the DLL by tests/client/dialogs.vbs; these tests keep what only a scripted dialog can reach.
namespace {

// What one request carried, copied out while its buffers were alive; a null pointer is nullopt.
struct Sent {
    int kind;                  // 1 open, 2 save
    std::string filter, file;  // through its closing pair of NULs; all maxFile bytes
    std::optional<std::string> custom, title, initialDir;  // custom: all maxCustomFilter bytes
    uint32_t maxFile, filterIndex, flags;
};

// A dialog that answers from a script, through the same buffer writer as the native host, so
// that AddressSanitizer sees every read and write of the request's buffers.
class ScriptedDialogs : public platform::Dialogs {
  public:
    mutable std::deque<UserAnswer> script;
    mutable std::vector<Sent> sent;
    mutable uint32_t error = 0;
    mutable int versionCalls = 0;
    mutable std::string raw;  // when set, written as it is over the file buffer
    uint32_t versionValue = 0x0A;
    String folder = u"C:\\Work";

    int getOpenFileName(platform::FileDialogRequest& r) const override { return answer(r, 1); }
    int getSaveFileName(platform::FileDialogRequest& r) const override { return answer(r, 2); }
    uint32_t extendedError() const override { return error; }
    uint32_t version() const override { return ++versionCalls, versionValue; }
    String currentDirectory() const override { return folder; }
    ObjectRef loadPicture(StringView path) const override {
        return standIns().dialogs->loadPicture(path);
    }

  private:
    int answer(platform::FileDialogRequest& r, int kind) const {
        const auto text = [](const char* p, std::size_t n = std::string::npos) {
            return p ? std::optional(n == std::string::npos ? std::string(p) : std::string(p, n))
                     : std::nullopt;
        };
        const char* end = r.filter;
        while (end && (end[0] || end[1])) ++end;
        sent.push_back({kind, r.filter ? std::string(r.filter, end + 2) : "",
                        std::string(r.file, r.maxFile), text(r.customFilter, r.maxCustomFilter),
                        text(r.title), text(r.initialDir), r.maxFile, r.filterIndex, r.flags});
        UserAnswer a;
        if (!script.empty()) a = script.front(), script.pop_front();
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
        if (name == u"ListIndex" && kind == CallKind::PropertyLet) listIndex = args[0].integer();
        if (name == u"ListIndex") return Variant(listIndex);
        if (name == u"ListCount") return Variant(static_cast<int16_t>(items.size()));
        if (name == u"List") return Variant(items.at(static_cast<std::size_t>(args[0].integer())));
        if (name == u"Clear") items.clear(), listIndex = -1;
        if (name == u"AddItem") items.push_back(args[0].str());
        if (name == u"Clear" || name == u"AddItem") return {};
        brv::raise(err::NoSuchMember);
    }
};

// A stand-in control; with the empty name only, a value object whose default member is a String.
std::shared_ptr<FakeObject> fake(std::initializer_list<std::pair<const String, Variant>> props) {
    auto o = std::make_shared<FakeObject>();
    o->props = props;
    return o;
}

std::string slurp(const std::filesystem::path& p) {
    return {std::istreambuf_iterator<char>(std::ifstream(p, std::ios::binary).rdbuf()), {}};
}

void spit(const std::filesystem::path& p, std::string_view bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace

TEST_F(Fixture, FileMustExistReadsTheFirstMatchingRowAndLetsOnlyItsValues) {
    const std::pair<int32_t, int16_t> rows[] = {{2050, 6}, {6144, 1}, {10240, 4}, {8192, 3},
                                                {2, 5},    {2048, 2}, {16, 0},    {8194, 3}};
    for (auto [flags, value] : rows) {
        d.let_Flags(flags);
        EXPECT_EQ(d.get_FileMustExist(), value) << flags;
    }
    d.let_Flags(4096 | 2048 | 16);
    // Each let replaces the bits of the last; 0, 7 and -1 change nothing.
    const std::pair<int16_t, int32_t> lets[] = {
        {3, 8192 | 16}, {4, 8192 | 2048 | 16}, {5, 8210}, {0, 8210}, {7, 8210}, {-1, 8210}};
    for (auto [value, flags] : lets) {
        d.let_FileMustExist(value);
        EXPECT_EQ(d.get_Flags(), flags) << value;
    }
    d.let_FileMustBeWriteable(true);
    d.let_FileMustBeWriteable(false);
    EXPECT_EQ(d.get_Flags(), 8192 | 2 | 16);
}

TEST_F(Fixture, FiltersAreJoinedAndCountedToTheDefault) {
    d.AddFilter(u"A", u"*.a");
    d.AddFilter(u"C", u"*.c", Variant(int32_t{0}));
    EXPECT_EQ(d.get_FilterIndex(), 1);
    d.AddFilter(u"D", u"*.d", Variant(int16_t{5}));
    EXPECT_EQ(d.get_FilterIndex(), 3);
    expectError(err::TypeMismatch, [&] { d.AddFilter(u"E", u"*.e", Variant(u"abc")); });
    // An even number of bars ends the count instead of searching from the start again.
    d.let_Filter(u"X|*.x|Y");
    d.AddFilter(u"Z", u"*.z", Variant(true));
    EXPECT_EQ(d.get_Filter(), u"X|*.x|Y|Z (*.z)|*.z");
    EXPECT_EQ(d.get_FilterIndex(), 3);
    d.let_Filter(u"no pairs");
    d.AddFilter(u"", u"", Variant(true));
    EXPECT_EQ(d.get_Filter(), u"no pairs| ()|");
    // Counting past an Integer overflows after the pair went in; without a default nothing is
    // counted.
    d.let_Filter(String(40000, u'x') + u"|*.x");
    d.let_FilterIndex(1);
    expectError(err::Overflow, [&] { d.AddFilter(u"Y", u"*.y", Variant(true)); });
    EXPECT_EQ(d.get_FilterIndex(), 1);
    d.AddFilter(u"Z", u"*.z");
    EXPECT_TRUE(d.get_Filter().ends_with(u"*.x|Y (*.y)|*.y|Z (*.z)|*.z"));

    // A combo box is a list before it is text; a value object is text; the default set goes
    // in front of filters already there.
    CDialog fresh(platform);
    fresh.AddDefaultFilters(
        Variant(ObjectRef(fake({{u"ListIndex", Variant(int16_t{0})}, {u"Text", Variant(u"")}}))));
    EXPECT_EQ(fresh.get_Filter(), u"All Files (*.*)|*.*|Data Files|*.dat;*.lst");
    fresh.let_Filter(u"K|*.k");
    fresh.AddDefaultFilters(Variant(ObjectRef(fake({{u"", Variant(u"v")}}))));
    EXPECT_EQ(fresh.get_Filter(), u"All Files (*.*)|*.*|K|*.k|Text files  (*.txt)|*.txt");
    fresh.let_Filename(u"abcd");  // the shortest name whose extension is swapped
    fresh.let_DefaultExt(u"rtf");
    EXPECT_EQ(fresh.get_FileNameDefaultFilter(), u".rtf");
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
    EXPECT_EQ(std::tuple(s.maxFile, s.flags, s.filterIndex), std::tuple(12u, 4096u, 2u));
    EXPECT_FALSE(s.title || s.initialDir || s.custom);
    EXPECT_EQ(dialogs.versionCalls, 0);

    // A name longer than the buffer is cut to it; a title and folder go as given.
    d.let_Filename(u"abcdefghijklmnop");
    d.let_DialogTitle(u"Pick");
    d.let_InitDir(u"C:\\nowhere");
    d.let_CustomFilter(u"Mine");
    dialogs.script = {choose("C:", {"x.log"})};
    dialogs.script.front().customPattern = "*.log";
    EXPECT_TRUE(d.ShowOpen(nullptr));
    const Sent& t = dialogs.sent[1];
    EXPECT_EQ(t.file, "abcdefghijkl");
    EXPECT_EQ(t.title, "Pick");
    EXPECT_EQ(t.initialDir, "C:\\nowhere");
    EXPECT_EQ(t.custom, std::string("Mine\0*\0", 7) + std::string(99, ' '));
    // A typed pattern comes back, selects the custom filter and goes out on the next request.
    EXPECT_EQ(d.get_CustomFilterFilespec(), u"*.log");
    EXPECT_EQ(d.get_FilterIndex(), 0);
    d.ShowOpen(nullptr);
    EXPECT_EQ(dialogs.sent[2].custom->substr(0, 11), std::string("Mine\0*.log\0", 11));
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

    // The non-NT line keeps the explorer style; a folder's own backslash is not doubled.
    d.let_MultiSelect(2);
    dialogs.versionValue = 0x80000003;
    dialogs.script = {choose("C:\\D\\", {"a.txt", "b.txt", "c d.txt"}), choose("C:\\D", {"o"})};
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.sent[1].flags, 524800u);
    EXPECT_EQ(d.get_Filename(), String(u"C:\\D\\\0a.txt\0b.txt\0c d.txt", 25));
    EXPECT_EQ(d.get_SelectedFileCount(), 3);
    EXPECT_EQ(d.get_SelectedFile(3), u"C:\\D\\c d.txt");
    EXPECT_EQ(d.get_SelectedFile(4), u"");
    EXPECT_TRUE(d.ShowOpen(nullptr));  // one name in a multiple selection
    EXPECT_EQ(d.get_SelectedFileCount(), 1);
    EXPECT_EQ(d.get_SelectedFile(1), u"C:\\D\\o");
    EXPECT_EQ(dialogs.versionCalls, 3);
}

TEST_F(Fixture, AnOpenReadsBackWhatTheDialogChangedAndACancelNothing) {
    d.let_Flags(16);
    for (bool cancelError : {true, false}) {  // neither raises
        d.let_CancelError(cancelError);
        EXPECT_FALSE(d.ShowOpen(nullptr));
        EXPECT_EQ(d.get_Flags(), 16);
    }
    EXPECT_FALSE(d.ShowSave(nullptr));
    EXPECT_EQ(d.get_Flags(), 16 | 4);
    EXPECT_EQ(dialogs.sent[2].kind, 2);

    d.let_Flags(16 | 4096);
    d.let_InitDir(u"C:\\Start");
    d.AddFilter(u"T", u"*.txt");
    dialogs.script = {choose("C:\\Data", {"report.final.txt"}, 1), choose("C:", {"x"}, 8)};
    dialogs.script.front().filterIndex = 1;
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.sent[3].kind, 1);
    EXPECT_EQ(d.get_Flags(), 4096 | 1);
    EXPECT_EQ(d.get_FileTitle(), u"report");
    EXPECT_EQ(d.get_InitDir(), u"C:\\Work");
    EXPECT_EQ(d.get_SelectedFile(0), u"");
    EXPECT_EQ(d.get_SelectedFile(2), u"");
    // A filter list left alone is reused; cdlOFNNoChangeDir coming back keeps InitDir.
    d.let_InitDir(u"C:\\Keep");
    EXPECT_TRUE(d.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.sent[4].filter, std::string("T (*.txt)\0*.txt\0\0", 17));
    EXPECT_EQ(d.get_InitDir(), u"C:\\Keep");
}

TEST_F(Fixture, DialogFailuresAreRaisedAsCDialogErrors) {
    dialogs.script = {UserAnswer{}};
    dialogs.script.front().action = UserAnswer::Action::Fail;
    dialogs.script.front().failure = 65535;
    expectError(
        err::Overflow, [&] { d.ShowSave(nullptr); }, u"CDialog");
    EXPECT_EQ(d.get_Error(), 0);
    d.let_MaxFileSize(-1);  // refused before any dialog
    expectError(
        err::InvalidCall, [&] { d.ShowOpen(nullptr); }, u"CDialog");
    EXPECT_EQ(dialogs.sent.size(), 1u);
    // No room for even the shortest name: the dialog says so in the buffer and fails.
    d.let_MaxFileSize(0);
    dialogs.script = {choose("C:\\D", {"a.txt"})};
    expectError(
        12291, [&] { d.ShowOpen(nullptr); }, u"CDialog");

    // A multiple selection without its closing NULs fails with 5 after the flags came back.
    d.let_MaxFileSize(256);
    d.let_MultiSelect(2);
    d.let_Filename(u"before");
    dialogs.script = {choose("", {}, 1)};
    dialogs.raw = std::string("C:\\D\0a.txt\0", 11);  // the spaces behind stay
    expectError(
        err::InvalidCall, [&] { d.ShowOpen(nullptr); }, u"CDialog");
    EXPECT_EQ(d.get_Flags(), 524800 | 4 | 1);  // read back; 4 from the save above
    EXPECT_EQ(d.get_Filename(), u"before");
    EXPECT_EQ(d.get_SelectedFileCount(), 0);
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
};

TEST_F(Transfers, ValueAndListTargetsKeepEveryByte) {
    auto value = fake({{u"", Variant(u"line 1\r\nline 2\n\tend ")}});  // no line ends translated
    ASSERT_TRUE(show(2, "v.txt", value));
    EXPECT_EQ(slurp(dir / "v.txt"), "line 1\r\nline 2\n\tend ");
    value->props[u""] = Variant(u"");
    ASSERT_TRUE(show(1, "v.txt", value));
    EXPECT_EQ(value->props[u""], Variant(u"line 1\r\nline 2\n\tend "));

    auto list = std::make_shared<ListTarget>();
    list->items = {u"", u"two"};
    ASSERT_TRUE(show(2, "l.lst", list));
    EXPECT_EQ(slurp(dir / "l.lst"), "\r\ntwo\r\n");
    // A lone CR ends a line too; a file without a final line break keeps its last line.
    spit(dir / "m.lst", "a\rb\r\n\r\nc");
    ASSERT_TRUE(show(1, "m.lst", list));
    EXPECT_EQ(list->items, (std::vector<String>{u"a", u"b", u"", u"c"}));
    spit(dir / "empty.lst", "");
    ASSERT_TRUE(show(1, "empty.lst", list));
    EXPECT_TRUE(list->items.empty());
    EXPECT_EQ(list->listIndex, -1);
    EXPECT_EQ(openFiles(), filesBefore);
}

TEST_F(Transfers, RichTextSavesItselfAndAPictureIsOnlyLoaded) {
    struct Rich : FakeObject {
        std::vector<String> saved;
        Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override {
            if (name == u"SaveFile") return saved.push_back(args[0].str()), Variant();
            return FakeObject::invoke(name, kind, args);
        }
    };
    auto rich = std::make_shared<Rich>();
    rich->props = {{u"TextRTF", Variant(u"")}, {u"Text", Variant(u"")}};
    ASSERT_TRUE(show(2, "r.rtf", rich));
    EXPECT_EQ(rich->saved, std::vector<String>{fromUtf8((dir / "r.rtf").string())});

    auto picture = fake({{u"Picture", Variant(nullptr)}});
    spit(dir / "p.bmp", "BM and the rest");
    ASSERT_TRUE(show(2, "p.bmp", picture));  // nothing is written for a picture
    EXPECT_EQ(slurp(dir / "p.bmp"), "BM and the rest");
    ASSERT_TRUE(show(1, "p.bmp", picture));
    const Variant loaded = picture->props[u"Picture"];
    ASSERT_TRUE(loaded.isObject() && loaded.object());
    EXPECT_EQ(loaded.object()->get(u"Type"), Variant(int16_t{1}));
    spit(dir / "p.bmp", "not a picture");
    expectError(481, [&] { d.LoadInto(picture); });
}

TEST_F(Transfers, FileErrorsReachADirectCallerAndNoFileStaysOpen) {
    auto box = fake({{u"Text", Variant(u"x")}});
    d.LoadInto(box);  // before any dialog: nothing
    EXPECT_EQ(box->calls.size(), 0u);
    ASSERT_TRUE(show(1, "missing.txt", box));  // ShowOpen itself swallows the 53
    expectError(err::FileNotFound, [&] { d.LoadInto(box); });
    auto list = std::make_shared<ListTarget>();
    list->items = {u"kept"};
    expectError(err::FileNotFound, [&] { d.LoadInto(list); });
    EXPECT_TRUE(list->items.empty());  // cleared before the file was opened
    d.SaveFrom(box);                   // after an open: nothing
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));

    std::filesystem::create_directories(dir / "folder.txt");
    ASSERT_TRUE(show(1, "folder.txt", box));
    expectError(err::PathFileAccess, [&] { d.LoadInto(box); });

    // Several files, nothing and an object without the probed members load nothing: a load
    // of the folder would raise.
    d.let_MultiSelect(2);
    dialogs.script = {choose(dir.string(), {"folder.txt", "b.txt"})};
    ASSERT_TRUE(d.ShowOpen(box));
    d.LoadInto(box);
    d.let_MultiSelect(0);
    ASSERT_TRUE(show(1, "folder.txt", nullptr));
    d.LoadInto(nullptr);
    d.LoadInto(fake({{u"Value", Variant(int32_t{3})}}));

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
    EXPECT_EQ(openFiles(), filesBefore);
}

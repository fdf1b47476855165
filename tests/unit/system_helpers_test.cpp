// The path and folder helpers, the month arithmetic and the display helpers, with stand-ins for
// the file system, the message box, the pointer and the clock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

#include "frame/calendar.h"
#include "system/date_helper.h"
#include "system/os32_helper.h"
#include "system/vb_object_helper.h"
#include "test_support.h"

using namespace brv;

namespace {

struct Recorder : platform::Messages, platform::MousePointer, platform::Clock {
    mutable std::vector<String> texts, captions;
    mutable std::vector<int> pointers;
    double time = 0;
    int showMessage(StringView text, StringView caption) const override {
        texts.emplace_back(text);
        captions.emplace_back(caption);
        return 1;
    }
    void setPointer(int code) const override { pointers.push_back(code); }
    double now() const override { return time; }
};

// The stand-in platform with the memory files and the recorder in it.
struct Stage {
    MemoryFiles files;
    Recorder rec;
    platform::Platform platform() const {
        platform::Platform p = standIns();
        p.files = &files;
        p.messages = &rec;
        p.pointer = &rec;
        p.clock = &rec;
        return p;
    }
};

Date at(int y, int m, int d, int h = 0, int mi = 0) {
    return Date{joinDate(dateSerial(y, m, d), timeSerial(h, mi, 0))};
}

}  // namespace

TEST(Folders, ValidFolderWritesTheSeparatorBack) {
    Stage s;
    s.files.folders.insert(u"C:\\Windows");
    s.files.files.insert(u"C:\\Windows\\win.ini");
    OS32Helper h(s.platform());
    String path = u"C:\\Windows", file = u"C:\\Windows\\win.ini", empty, root = u"C:";
    EXPECT_TRUE(h.IsValidFolder(path));
    EXPECT_EQ(path, u"C:\\Windows\\");
    EXPECT_FALSE(h.IsValidFolder(file));
    EXPECT_EQ(file, u"C:\\Windows\\win.ini\\");
    EXPECT_FALSE(h.IsValidFolder(empty));
    EXPECT_EQ(empty, u"");
    EXPECT_TRUE(h.IsValidFolder(root));  // it holds the Windows folder
    s.files.folders = {u"D:"};
    root = u"D:\\";
    EXPECT_FALSE(h.IsValidFolder(root));  // an empty root lists nothing
}

TEST(Folders, MakeDirectoryCreatesOneLevelAPassFromTheRoot) {
    Stage s;
    OS32Helper h(s.platform());
    EXPECT_TRUE(h.MakeDirectory(u" C:\\new\\sub\\ "));
    EXPECT_EQ(s.files.log, (std::vector<String>{u"mkdir C:\\new", u"mkdir C:\\new\\sub"}));
    s.files.log.clear();
    EXPECT_TRUE(h.MakeDirectory(u"C:\\new\\sub"));
    EXPECT_TRUE(s.files.log.empty());
    EXPECT_TRUE(h.MakeDirectory(u"C:\\a\\bb\\c"));
    EXPECT_EQ(s.files.log,
              (std::vector<String>{u"mkdir C:\\a", u"mkdir C:\\a\\bb", u"mkdir C:\\a\\bb\\c"}));
}

TEST(Folders, MakeDirectoryRefusesWhatIsNotOnADrive) {
    Stage s;
    OS32Helper h(s.platform());
    for (const char16_t* bad : {u"\\\\server\\share\\x", u"", u"   ", u"relative\\x", u"C"})
        expectError(
            5, [&] { h.MakeDirectory(bad); }, u"");
    EXPECT_TRUE(s.files.log.empty());
    // A level that cannot be made stops the walk with the file system's error.
    s.files.files.insert(u"C:\\taken");
    expectError(75, [&] { h.MakeDirectory(u"C:\\taken\\x"); });
    expectError(76, [&] { h.MakeDirectory(u"Q:\\x"); });
}

TEST(Folders, MakeDirectoryEndsWhenAFolderNeverLists) {
    // A file system that makes folders but never lists them: the walk must not go round for
    // ever.
    struct Unlisted : MemoryFiles {
        std::optional<String> firstEntry(StringView) const override { return std::nullopt; }
    } files;
    Stage s;
    platform::Platform p = s.platform();
    p.files = &files;
    OS32Helper h(p);
    expectError(75, [&] { h.MakeDirectory(u"C:\\a\\b"); });
    EXPECT_LE(files.log.size(), 8u);
}

TEST(Folders, WriteAccessNeverTouchesAnExistingFile) {
    Stage s;
    s.files.folders.insert(u"C:\\data");
    s.files.files.insert(u"C:\\data\\test.000");
    s.files.folders.insert(u"C:\\data\\test.001");  // a folder of the next name
    OS32Helper h(s.platform());
    EXPECT_TRUE(h.WriteAccess(u"C:\\data"));
    EXPECT_EQ(s.files.log,
              (std::vector<String>{u"create C:\\data\\test.000", u"create C:\\data\\test.001",
                                   u"create C:\\data\\test.002", u"delete C:\\data\\test.002"}));
    EXPECT_EQ(s.files.files, (std::set<String>{u"C:\\data\\test.000"}));

    s.files.readOnly.insert(u"C:\\data");
    EXPECT_FALSE(h.WriteAccess(u"C:\\data\\"));
    EXPECT_FALSE(h.WriteAccess(u"C:\\missing"));
    EXPECT_FALSE(h.WriteAccess(u""));
    EXPECT_FALSE(h.WriteAccess(String(40000, u'x')));
    EXPECT_EQ(s.files.files.size(), 1u);
}

// The native file system itself, on a scratch folder.
TEST(Folders, NativeFolderServices) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("brv-folders-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const platform::FileSystem& files = *standIns().files;
    const String root = fromUtf8(dir.string());
    files.makeFolder(root);
    expectError(75, [&] { files.makeFolder(root); });
    expectError(76, [&] { files.makeFolder(root + u"/no/deeper"); });
    EXPECT_TRUE(files.firstEntry(root + u"/*.*").has_value());  // "." of an empty folder
    EXPECT_FALSE(files.firstEntry(root + u"/x*").has_value());
    EXPECT_FALSE(files.firstEntry(root + u"/missing/*.*").has_value());
    EXPECT_TRUE(files.createNewFile(root + u"/p.000"));
    EXPECT_FALSE(files.createNewFile(root + u"/p.000"));
    EXPECT_EQ(files.firstEntry(root + u"/p*"), u"p.000");
    files.deleteFile(root + u"/p.000");
    expectError(53, [&] { files.deleteFile(root + u"/p.000"); });
    expectError(76, [&] { files.deleteFile(root + u"/missing/p.000"); });
    expectError(76, [&] { files.createNewFile(root + u"/missing/p.000"); });
    expectError(52, [&] { files.makeFolder(String(u"a\0b", 3)); });
    fs::remove_all(dir);
}

TEST(ErrorBox, FourLinesAndTheWriteBack) {
    Stage s;
    OS32Helper h(s.platform());
    String extra = u"C:\\x.txt";
    h.StandardErrorMessage(u"OpenFile", 53, u"File not found", extra);
    EXPECT_EQ(extra, u"\r\nAdditional Information:\r\nC:\\x.txt");
    String none;
    h.StandardErrorMessage(u"P", -2147221504, u"", none);
    EXPECT_EQ(none, u"");
    ASSERT_EQ(s.rec.texts.size(), 2u);
    EXPECT_EQ(s.rec.texts[0],
              u"The following error has occured in OpenFile:\r\nError #53\r\nError Text: File "
              u"not found\r\nAdditional Information:\r\nC:\\x.txt");
    EXPECT_EQ(s.rec.texts[1],
              u"The following error has occured in P:\r\nError #-2147221504\r\n"
              u"Error Text: ");
    EXPECT_EQ(s.rec.captions, (std::vector<String>{u"Brevanto", u"Brevanto"}));
}

TEST(Calendar, NegativeSerialsKeepTheirTimeAndTheRangeIsChecked) {
    // Before 1900 the whole days count backwards but the time of day still forwards.
    EXPECT_EQ(addMonths(at(1850, 5, 31, 18).serial, 1), at(1850, 6, 30, 18).serial);
    EXPECT_EQ(addDays(at(1899, 12, 29, 12).serial, 1), at(1899, 12, 30, 12).serial);
    EXPECT_EQ(addDays(at(1899, 12, 30, 12).serial, -1), -1.5);
    for (double bad : {1e10, -657435.0, std::nan("")}) expectError(5, [&] { splitDate(bad); });
    expectError(5, [] { addDays(at(100, 1, 1).serial, -1); });
}

TEST(DateHelperTest, FullDateTimeAddsTheTimeOfDay) {
    Stage s;
    s.rec.time = at(2026, 12, 6, 18).serial;
    DateHelper d(s.platform());
    EXPECT_EQ(d.FullDateTime(u"3/15/2024"), at(2024, 3, 15, 18).serial);
    // A time of its own gets the current time on top.
    EXPECT_EQ(d.FullDateTime(u"3/15/2024 6:00 AM"), at(2024, 3, 16).serial);
    EXPECT_EQ(d.FullDateTime(u"no date"), 0);
    EXPECT_EQ(d.FullDateTime(u""), 0);
    EXPECT_EQ(d.FullDateTime(String(40000, u'1')), 0);
}

TEST(DisplayHelpers, HourglassOnlyForTrue) {
    Stage s;
    VBObjectHelper v(s.platform());
    for (int16_t show : {-1, 0, 1, -2}) v.MouseHourGlass(show);
    EXPECT_EQ(s.rec.pointers, (std::vector<int>{11, 0, 0, 0}));
}

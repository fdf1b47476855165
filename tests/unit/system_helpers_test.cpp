// The folder, date and display helpers over stand-ins for the files, box, pointer and clock.
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

// The stand-in platform with memory files, recording message boxes and pointers, a set clock.
struct Stage : platform::Messages, platform::MousePointer, platform::Clock {
    MemoryFiles files;
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
    platform::Platform platform(const platform::FileSystem* other = nullptr) const {
        platform::Platform p = standIns();
        p.files = other ? other : &files;
        p.messages = this;
        p.pointer = this;
        p.clock = this;
        return p;
    }
};

Date at(int y, int m, int d, int h = 0, int mi = 0) {
    return Date{joinDate(dateSerial(y, m, d), timeSerial(h, mi, 0))};
}

}  // namespace

// What the DLL cannot show: the exact file system calls, more refusals and a root.
TEST(Folders, MakeDirectoryCreatesOneLevelAPassAndEndsValidFolderLooksIntoARoot) {
    Stage s;
    OS32Helper h(s.platform());
    EXPECT_TRUE(h.MakeDirectory(u" C:\\new\\sub\\ "));
    EXPECT_EQ(s.files.log, (std::vector<String>{u"mkdir C:\\new", u"mkdir C:\\new\\sub"}));
    s.files.log.clear();
    EXPECT_TRUE(h.MakeDirectory(u"C:\\new\\sub"));
    for (const char16_t* bad : {u"\\\\server\\share\\x", u"", u"   ", u"relative\\x", u"C"})
        EXPECT_EQ(errorOf([&] { h.MakeDirectory(bad); }), 5);  // the DLL shows the source
    EXPECT_TRUE(s.files.log.empty());
    String root = u"C:";
    EXPECT_TRUE(h.IsValidFolder(root));  // it holds the folders made above
    s.files.folders = {u"D:"};
    root = u"D:\\";
    EXPECT_FALSE(h.IsValidFolder(root));  // an empty root lists nothing
    // A file system that makes folders but never lists them: the walk must not go round forever.
    struct Unlisted : MemoryFiles {
        std::optional<String> firstEntry(StringView) const override { return std::nullopt; }
    } files;
    expectError(75, [&] { OS32Helper(s.platform(&files)).MakeDirectory(u"C:\\a\\b"); });
    EXPECT_LE(files.log.size(), 8u);
}

TEST(Folders, WriteAccessNeverTouchesAnExistingFile) {
    Stage s;
    s.files.folders = {u"C:", u"C:\\data", u"C:\\data\\test.001"};  // a folder of the next name
    s.files.files = {u"C:\\data\\test.000"};
    OS32Helper h(s.platform());
    EXPECT_TRUE(h.WriteAccess(u"C:\\data"));
    EXPECT_EQ(s.files.log,
              (std::vector<String>{u"create C:\\data\\test.000", u"create C:\\data\\test.001",
                                   u"create C:\\data\\test.002", u"delete C:\\data\\test.002"}));
    EXPECT_EQ(s.files.files, (std::set<String>{u"C:\\data\\test.000"}));
    s.files.readOnly.insert(u"C:\\data");
    EXPECT_FALSE(h.WriteAccess(u"C:\\data\\"));
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

TEST(DisplayHelpers, ErrorBoxOfFourLinesAndTheHourglass) {
    Stage s;
    OS32Helper h(s.platform());
    String extra = u"C:\\x.txt";
    h.StandardErrorMessage(u"OpenFile", 53, u"File not found", extra);
    EXPECT_EQ(extra, u"\r\nAdditional Information:\r\nC:\\x.txt");
    String none;
    h.StandardErrorMessage(u"P", -2147221504, u"", none);
    EXPECT_EQ(none, u"");
    EXPECT_EQ(s.texts, (std::vector<String>{
                           u"The following error has occured in OpenFile:\r\nError #53\r\n"
                           u"Error Text: File not found\r\nAdditional Information:\r\nC:\\x.txt",
                           u"The following error has occured in P:\r\nError #-2147221504\r\n"
                           u"Error Text: "}));
    EXPECT_EQ(s.captions, (std::vector<String>{u"Brevanto", u"Brevanto"}));
    VBObjectHelper v(s.platform());  // the hourglass only for True
    for (int16_t show : {-1, 0, 1, -2}) v.MouseHourGlass(show);
    EXPECT_EQ(s.pointers, (std::vector<int>{11, 0, 0, 0}));
}

TEST(Dates, NegativeSerialsKeepTheirTimeTheRangeIsCheckedAndTheTimeOfDayIsAdded) {
    // Before 1900 the whole days count backwards but the time of day still forwards.
    EXPECT_EQ(addMonths(at(1850, 5, 31, 18).serial, 1), at(1850, 6, 30, 18).serial);
    EXPECT_EQ(addDays(at(1899, 12, 29, 12).serial, 1), at(1899, 12, 30, 12).serial);
    EXPECT_EQ(addDays(at(1899, 12, 30, 12).serial, -1), -1.5);
    for (double bad : {1e10, -657435.0, std::nan("")}) expectError(5, [&] { splitDate(bad); });
    expectError(5, [] { addDays(at(100, 1, 1).serial, -1); });
    // FullDateTime adds the time of day.
    Stage s;
    s.time = at(2026, 12, 6, 18).serial;
    DateHelper d(s.platform());
    EXPECT_EQ(d.FullDateTime(u"3/15/2024"), at(2024, 3, 15, 18).serial);
    // A time of its own gets the current time on top.
    EXPECT_EQ(d.FullDateTime(u"3/15/2024 6:00 AM"), at(2024, 3, 16).serial);
    EXPECT_EQ(d.FullDateTime(u""), 0);  // no date and 40,000 digits: through the DLL
}

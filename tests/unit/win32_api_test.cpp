#include "system/win32_api.h"

#include <gtest/gtest.h>

#include <set>

#include "frame/error.h"
#include "platform/native/system.h"
#include "test_support.h"

using namespace brv;
using platform::StandInSystem;

namespace {

// A Win32API over a stand-in machine that the test describes, recording every request.
struct Machine {
    StandInSystem system;
    StandInSystem::Log log;
    MemoryFiles documents;
    platform::Platform platform = standIns();

    Machine() {
        system.log = &log;
        platform.system = &system;
        platform.files = &documents;
    }
    Win32API api() const { return Win32API(platform); }
};

// The error that `f` raises, with its three parts.
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

}  // namespace

TEST(Win32ApiNames, KeepTheBufferAndTerminatorRules) {
    Machine m;
    EXPECT_EQ(m.api().GetMachineName(), u"BREVANTO-PC");
    EXPECT_EQ(m.api().GetCurrentWindowsUser(), u"brevanto");
    m.system.computer = std::string(15, 'N');  // the longest name that fits 16 characters
    m.system.user = std::string(254, 'u');
    EXPECT_EQ(m.api().GetMachineName(), String(15, u'N'));
    EXPECT_EQ(m.api().GetCurrentWindowsUser(), String(254, u'u'));
    m.system.computer.clear();
    m.system.user.clear();
    EXPECT_EQ(m.api().GetMachineName(), u"");
    EXPECT_EQ(m.api().GetCurrentWindowsUser(), u"");
    // Too long for the buffer: the platform writes nothing and asks for more; the untouched
    // buffer is returned whole, never more than it holds.
    m.system.computer = std::string(16, 'N');
    m.system.user = std::string(255, 'u');
    EXPECT_EQ(m.api().GetMachineName(), String(16, u'\0'));
    EXPECT_EQ(m.api().GetCurrentWindowsUser(), String(255, u' '));
    // Names come back through the code page.
    m.system.user = "Jos\xE9";
    EXPECT_EQ(m.api().GetCurrentWindowsUser(), u"Jos\u00e9");
}

TEST(Win32ApiFolders, AskForTheLengthThenCutAtTheTerminator) {
    Machine m;
    EXPECT_EQ(m.api().GetFolderWindows(), u"C:\\windows");
    EXPECT_EQ(m.api().GetFolderSystem(), u"C:\\windows\\system32");
    EXPECT_EQ(m.api().GetFolderTemp(), u"C:\\users\\brevanto\\Temp\\");
    EXPECT_EQ(m.api().GetFolderCurrent(), u"C:\\users\\brevanto");
    // No fixed limit: the first call sizes the buffer.
    m.system.current = "C:\\" + std::string(600, 'd');
    EXPECT_EQ(m.api().GetFolderCurrent(), u"C:\\" + String(600, u'd'));
    m.system.temp.clear();
    EXPECT_EQ(m.api().GetFolderTemp(), u"");
}

TEST(Win32ApiDriveType, NamesTheCodeAndWritesItBack) {
    Machine m;
    m.system.drives = {{'C', 3}, {'A', 2}, {'N', 4}, {'D', 5}, {'R', 6}, {'U', 0}, {'X', 7}};
    const std::vector<std::pair<String, std::pair<String, int32_t>>> cases = {
        {u"C", {u"Fixed", 3}},
        {u"c", {u"Fixed", 3}},
        {u"A", {u"Removable", 2}},
        {u"N", {u"Remote", 4}},
        {u"D", {u"CDROM", 5}},
        {u"R", {u"RAMDisk", 6}},
        {u"U", {u"", 0}},
        {u"X", {u"", 7}},
        {u"Q", {u"Invalid Drive", 1}},
        {u"", {u"Invalid Drive", 1}},    // asks about :\ .
        {u"C:", {u"Invalid Drive", 1}},  // C::\ is no root
        {u" C", {u"Invalid Drive", 1}},  // the letter is not trimmed
        {String(40000, u'C'), {u"Invalid Drive", 1}},
    };
    for (const auto& [letter, expected] : cases) {
        int32_t code = -5;
        EXPECT_EQ(m.api().GetDriveType(letter, code), expected.first)
            << toUtf8(letter.substr(0, 5));
        EXPECT_EQ(code, expected.second);
    }
}

TEST(Win32ApiUncPath, TrimsSplitsAndWritesBack) {
    Machine m;
    m.system.connections = {{"Z:", "\\\\srv\\data\\sub"}, {"H:", "\\\\home\\user"}};
    String drive = u" z ", server = u"old", share = u"old";
    EXPECT_TRUE(m.api().GetUNCPath(drive, server, share));
    EXPECT_EQ(drive, u"z:");
    EXPECT_EQ(server, u"srv");
    EXPECT_EQ(share, u"data\\sub");
    drive = u"H:";
    EXPECT_TRUE(m.api().GetUNCPath(drive, server, share));
    EXPECT_EQ(drive, u"H:");
    EXPECT_EQ(server, u"home");
    EXPECT_EQ(share, u"user");

    // The network's codes raise their number and message; the letter is already written back,
    // the server and share are not touched.
    const std::vector<std::pair<uint32_t, String>> codes = {
        {234, u"Error: More Data"},
        {50, u"Error: Feature not Supported"},
        {1200, u"Error: Bad Device"},
        {1201, u"Error: Connection Un-Available"},
        {1203, u"Error: No Network Available or Bad Path"},
        {1208, u"Error: Extended Error"},
        {1222, u"Error: No Network Available"},
        {2250, u"Error: Not Connected"}};
    for (const auto& [code, message] : codes) {
        m.system.connectionFailure = code;
        drive = u"  q  ";
        server = u"s";
        share = u"t";
        const Error e = raised([&] { m.api().GetUNCPath(drive, server, share); });
        EXPECT_EQ(e.number(), static_cast<int32_t>(code));
        EXPECT_EQ(e.description(), message);
        EXPECT_EQ(e.source(), u"");  // the class's own, filled in by the binding
        EXPECT_EQ(drive, u"q:");
        EXPECT_EQ(server, u"s");
        EXPECT_EQ(share, u"t");
    }
    m.system.connectionFailure = 0;

    // Without a mapping, or for something that is no drive letter.
    drive = u"C";
    EXPECT_EQ(raised([&] { m.api().GetUNCPath(drive, server, share); }).number(), 2250);
    for (const String& odd : {String(), String(u"CD"), String(40000, u'x')}) {
        drive = odd;
        EXPECT_EQ(raised([&] { m.api().GetUNCPath(drive, server, share); }).number(), 1200);
    }
    // A remote name too long for the 255 characters is the network's 234.
    m.system.connections["Y:"] = "\\\\srv\\" + std::string(300, 's');
    drive = u"y";
    EXPECT_EQ(raised([&] { m.api().GetUNCPath(drive, server, share); }).number(), 234);

    // A remote name without a backslash after its third character fails as the runtime's
    // negative length does (5); so does an unknown code that left the buffer empty.
    m.system.connections["W:"] = "\\\\nobackslash";
    drive = u"w";
    server = u"s";
    EXPECT_EQ(raised([&] { m.api().GetUNCPath(drive, server, share); }).number(), 5);
    EXPECT_EQ(server, u"s");
    m.system.connectionFailure = 87;
    EXPECT_EQ(raised([&] { m.api().GetUNCPath(drive, server, share); }).number(), 5);
}

TEST(Win32ApiFileOperation, TerminatesTheListsAndDefaultsTheFlags) {
    Machine m;
    // The shell receives the lists as written back (the client suite checks each way of
    // ending a list), with the window, operation and flags as given.
    const String nul(1, u'\0');
    const String list = u"a" + nul + u"b" + nul + nul;
    String from = list, to = u"dest";
    int32_t flags = 0;
    EXPECT_TRUE(m.api().FileOperation(7, FileCopy, from, to, flags));
    EXPECT_EQ(from, list);
    EXPECT_EQ(to, u"dest" + nul + nul);
    EXPECT_EQ(flags, 528);
    const auto& r = m.log.fileOperations.back();
    EXPECT_EQ(r.from, toUtf8(list));
    EXPECT_EQ(r.to, toUtf8(to));
    EXPECT_EQ(r.window, 7);
    EXPECT_EQ(r.function, 2u);
    EXPECT_EQ(r.flags, 528);

    // A delete needs no destination and passes none; other operations pass on unchanged.
    from = u"x";
    to.clear();
    flags = 4 + 16;
    EXPECT_TRUE(m.api().FileOperation(0, FileDelete, from, to, flags));
    EXPECT_FALSE(m.log.fileOperations.back().to.has_value());
    EXPECT_EQ(to, u"");
    EXPECT_EQ(flags, 20);
    to = u"y";
    flags = -1;  // 16 bits with the sign bit: every flag
    EXPECT_TRUE(m.api().FileOperation(0, 9, from, to, flags));
    EXPECT_EQ(m.log.fileOperations.back().function, 9u);
    EXPECT_EQ(m.log.fileOperations.back().flags, 0xFFFF);
}

TEST(Win32ApiFileOperation, ErrorsLeaveWhatWasWrittenAndCallNothing) {
    Machine m;
    String from = u"a", to;
    int32_t flags = 0;
    const Error missing = raised([&] { m.api().FileOperation(0, FileMove, from, to, flags); });
    EXPECT_EQ(missing.number(), 5);
    EXPECT_EQ(missing.source(), u"FileOperation");
    EXPECT_EQ(missing.description(),
              u"Invalid Procedure Call or Argument. Missing destination parameter when FO_DELETE "
              u"operation was not specified.");
    EXPECT_EQ(from, String(u"a") + String(2, u'\0'));
    EXPECT_EQ(flags, 0);  // not reached

    for (int32_t tooWide : {32768, 40000, -32769}) {
        from = u"a";
        to = u"b";
        flags = tooWide;
        EXPECT_EQ(raised([&] { m.api().FileOperation(0, FileCopy, from, to, flags); }).number(), 6);
        EXPECT_EQ(to, String(u"b") + String(2, u'\0'));
        EXPECT_EQ(flags, tooWide);
    }
    EXPECT_TRUE(m.log.fileOperations.empty());

    // The shell's failures: a cancel is 0x80040000 + 117, anything else that base plus the
    // last error; neither has a source or description of its own.
    const auto failure = [&](int32_t result, uint32_t lastError) {
        m.system.fileOperationAnswer = {result, lastError};
        from = u"a";
        to = u"b";
        flags = 0;
        return raised([&] { m.api().FileOperation(0, FileCopy, from, to, flags); });
    };
    const Error cancel = failure(117, 5);
    EXPECT_EQ(cancel.number(), -2147221387);
    EXPECT_EQ(cancel.source(), u"");
    EXPECT_EQ(cancel.description(), standardDescription(-2147221387));
    EXPECT_EQ(flags, 528);
    EXPECT_EQ(failure(2, 3).number(), -2147221504 + 3);
    EXPECT_EQ(failure(1026, 0).number(), -2147221504);
    EXPECT_EQ(failure(1026, 0x80070005u).number(), 6);  // the sum leaves the Long range

    // A list whose first name is empty never reaches the shell, which may read it as the
    // current folder: invalid parameter (87).
    m.system.fileOperationAnswer = {};
    from = u"";
    to = u"";
    EXPECT_EQ(raised([&] { m.api().FileOperation(0, FileDelete, from, to, flags); }).number(),
              -2147221504 + 87);
    EXPECT_EQ(from, String(2, u'\0'));
    from = u"a";
    to = String(1, u'\0');
    EXPECT_EQ(raised([&] { m.api().FileOperation(0, FileCopy, from, to, flags); }).number(),
              -2147221504 + 87);
    // A name too long for any path is refused too (file name too long, 206): some shells cut it
    // down to a folder that the caller never named.
    for (const auto& [source, target] :
         {std::pair{String(40000, u'q'), String(u"b")}, std::pair{String(u"a"), String(260, u'd')},
          std::pair{u"a" + String(1, u'\0') + String(300, u'q'), String(u"b")}}) {
        from = source;
        to = target;
        EXPECT_EQ(raised([&] { m.api().FileOperation(0, FileMove, from, to, flags); }).number(),
                  -2147221504 + 206);
    }
    from = String(259, u'q');
    to = u"b";
    EXPECT_TRUE(m.api().FileOperation(0, FileMove, from, to, flags));
}

TEST(Win32ApiFileAssociation, CutsAfterTheFirstExe) {
    Machine m;
    String file = u"C:\\doc\\settings.ini";
    EXPECT_EQ(m.api().GetFileAssociation(file), u"C:\\windows\\system32\\notepad.exe");
    EXPECT_EQ(m.log.lookups.back(), "C:\\doc\\settings.ini");

    const std::vector<std::pair<std::string, String>> programs = {
        {"C:\\PROGRA~1\\EDIT.EXE", u"C:\\PROGRA~1\\EDIT.EXE"},
        {"C:\\Exe Tools\\view.exe", u"C:\\Exe"},        // the first "exe" in any case
        {"C:\\tools\\run.bat", u"C:\\tools\\run.bat"},  // no "exe": the whole path
        {"C:\\tools\\old.com", u"C:\\tools\\old.com"},
        {"C:\\" + std::string(250, 'p') + ".exe", u"C:\\" + String(250, u'p') + u".exe"},
    };
    for (const auto& [program, expected] : programs) {
        m.system.associations[".doc"] = program;
        String doc = u"a.doc";
        EXPECT_EQ(m.api().GetFileAssociation(doc), expected) << program;
    }

    // A failed lookup answers empty, whatever the code.
    for (intptr_t code : {0, 2, 3, 5, 8, 31, 32}) {
        m.system.findFailure = code;
        file = u"x.ini";
        EXPECT_EQ(m.api().GetFileAssociation(file), u"") << code;
    }
    m.system.findFailure.reset();
    file = u"report.unknown";
    EXPECT_EQ(m.api().GetFileAssociation(file), u"");

    // The name goes out in the code page and comes back converted, even when the lookup fails.
    file = u"r\u00e9sum\u00e9 \u03c9.ini";
    EXPECT_EQ(m.api().GetFileAssociation(file), u"C:\\windows\\system32\\notepad.exe");
    EXPECT_EQ(file, u"r\u00e9sum\u00e9 ?.ini");
    file = String(40000, u'\u03c9');
    EXPECT_EQ(m.api().GetFileAssociation(file), u"");
    EXPECT_EQ(file, String(40000, u'?'));
}

TEST(Win32ApiExecuteFile, ProbesThenLaunchesWithTheVerbAndWindow) {
    Machine m;
    m.documents.files = {u"C:\\report.ini", u"C:\\notes.txt", u"C:\\ab"};
    Win32API api = m.api();
    EXPECT_EQ(api.ExecuteFile(u"C:\\report.ini"), 0);
    auto launch = m.log.launches.back();
    EXPECT_EQ(launch.verb, "Open");
    EXPECT_EQ(launch.window, 0x10020);  // the desktop window
    EXPECT_EQ(launch.file, "C:\\report.ini");
    EXPECT_EQ(launch.show, 1);
    EXPECT_EQ(launch.parameters, "");
    EXPECT_EQ(launch.directory, "");

    EXPECT_EQ(api.ExecuteFile(u"C:\\report.ini", 77, 3, OperationPrint, u"/p", u"C:\\"), 0);
    launch = m.log.launches.back();
    EXPECT_EQ(launch.verb, "Print");
    EXPECT_EQ(launch.window, 77);
    EXPECT_EQ(launch.show, 3);
    EXPECT_EQ(launch.parameters, "/p");
    EXPECT_EQ(launch.directory, "C:\\");
    for (int32_t other : {0, 3, 7, -1}) {
        api.ExecuteFile(u"C:\\report.ini", 1, 1, other);
        EXPECT_EQ(m.log.launches.back().verb, "Open") << other;
    }

    // A file the probe does not find is 76 before any shell call; the probe's own errors pass.
    const std::size_t launches = m.log.launches.size();
    for (const String& missing : {String(u"C:\\missing.ini"), String(), String(40000, u'm')}) {
        const Error e = raised([&] { api.ExecuteFile(missing); });
        EXPECT_EQ(e.number(), 76);
        EXPECT_EQ(e.source(), u"");
    }
    m.documents.openFailure = 70;
    const Error denied = raised([&] { api.ExecuteFile(u"C:\\report.ini"); });
    EXPECT_EQ(denied.number(), 70);
    EXPECT_EQ(denied.source(), u"probe");
    EXPECT_EQ(m.log.launches.size(), launches);
}

TEST(Win32ApiExecuteFile, ShellFailuresRaiseTheirCodeFromTheApplication) {
    Machine m;
    m.documents.files = {u"C:\\notes.txt", u"ab"};
    Win32API api = m.api();
    const Error none = raised([&] { api.ExecuteFile(u"C:\\notes.txt"); });
    EXPECT_EQ(none.number(), 31);
    EXPECT_EQ(none.source(), u"Brevanto");
    EXPECT_EQ(none.description(), u"There is no association for the file type txt");
    EXPECT_EQ(raised([&] { api.ExecuteFile(u"ab"); }).description(),
              u"There is no association for the file type ab");

    const std::vector<std::pair<intptr_t, String>> table = {
        {2, u"File not found"},
        {3, u"Path not found"},
        {5, u"Access denied"},
        {8, u"Out of memory"},
        {11, u"Invalid EXE file or error in EXE image"},
        {26, u"A sharing violation occurred"},
        {27, u"Incomplete or invalid file association"},
        {28, u"DDE Time out"},
        {29, u"DDE transaction failed"},
        {30, u"DDE busy"},
        {32, u"DLL not found"},
        {0, u"Unknown error in ExecuteFile"},
        {1, u"Unknown error in ExecuteFile"},
        {25, u"Unknown error in ExecuteFile"},
    };
    for (const auto& [code, text] : table) {
        m.system.launchFailure = code;
        const Error e = raised([&] { api.ExecuteFile(u"C:\\notes.txt"); });
        EXPECT_EQ(e.number(), code);
        EXPECT_EQ(e.source(), u"Brevanto");
        EXPECT_EQ(e.description(), text);
    }
    m.system.launchFailure = 33;
    EXPECT_EQ(api.ExecuteFile(u"C:\\notes.txt"), 0);
    EXPECT_EQ(api.GetDesktopWindowHandle(), 0x10020);
}

#include "system/win32_api.h"

#include "platform/native/system.h"
#include "test_support.h"  // GoogleTest, the errors and the memory files

// What only a stand-in machine shows; the client suite checks the real machine's answers.
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

// What `f` raises as "number|source|description", or "none".
std::string raised(auto&& f) {
    try {
        f();
    } catch (const Error& e) {
        return std::to_string(e.number()) + "|" + toUtf8(e.source()) + "|" +
               toUtf8(e.description());
    }
    return "none";
}

}  // namespace

TEST(Win32ApiQueries, KeepTheBufferAndTerminatorRules) {
    Machine m;
    // Names that fill the 16 and 256 characters, then one more: the untouched buffer comes back.
    for (const auto& [computer, user, name, login] :
         {std::tuple{15, 254, String(15, u'N'), String(254, u'u')},
          std::tuple{16, 255, String(16, u'\0'), String(255, u' ')},
          std::tuple{0, 0, String(), String()}}) {
        m.system.computer = std::string(computer, 'N');
        m.system.user = std::string(user, 'u');
        EXPECT_EQ(m.api().GetMachineName(), name);
        EXPECT_EQ(m.api().GetCurrentWindowsUser(), login);
    }
    m.system.user = "Jos\xE9";  // through the code page
    EXPECT_EQ(m.api().GetCurrentWindowsUser(), u"Jos\u00e9");
    m.system.current = "C:\\" + std::string(600, 'd');  // a folder has no fixed limit
    EXPECT_EQ(m.api().GetFolderCurrent(), u"C:\\" + String(600, u'd'));
    m.system.temp.clear();
    EXPECT_EQ(m.api().GetFolderTemp(), u"");
    m.system.drives = {{'C', 3}, {'A', 2}, {'N', 4}, {'D', 5}, {'R', 6}, {'U', 0}, {'X', 7}};
    const std::vector<std::tuple<String, String, int32_t>> drives = {
        {u"C", u"Fixed", 3}, {u"A", u"Removable", 2},    {u"N", u"Remote", 4},
        {u"D", u"CDROM", 5}, {u"R", u"RAMDisk", 6},      {u"U", u"", 0},
        {u"X", u"", 7},      {u"Q", u"Invalid Drive", 1}};
    for (const auto& [letter, name, expected] : drives) {
        int32_t code = -5;
        EXPECT_EQ(m.api().GetDriveType(letter, code), name) << toUtf8(letter);
        EXPECT_EQ(code, expected);
    }
}

TEST(Win32ApiUncPath, TrimsSplitsAndWritesBack) {
    Machine m;
    m.system.connections = {{"Z:", "\\\\srv\\data\\sub"}};
    // The error, then letter|server|share as written back, after a call with server s, share t.
    const auto unc = [&](String drive) {
        String server = u"s", share = u"t";
        const std::string error = raised([&] { m.api().GetUNCPath(drive, server, share); });
        return error + "|" + toUtf8(drive.substr(0, 5) + u"|" + server + u"|" + share);
    };
    EXPECT_EQ(unc(u" z "), "none|z:|srv|data\\sub");
    // Each network code: its number and message, no source; only the letter is written back.
    // clang-format off
    const std::vector<std::pair<uint32_t, std::string>> codes = {
        {234, "More Data"}, {50, "Feature not Supported"}, {1200, "Bad Device"},
        {1201, "Connection Un-Available"}, {1203, "No Network Available or Bad Path"},
        {1208, "Extended Error"}, {1222, "No Network Available"}, {2250, "Not Connected"}};
    // clang-format on
    for (const auto& [code, message] : codes) {
        m.system.connectionFailure = code;
        EXPECT_EQ(unc(u"  q  "), std::to_string(code) + "||Error: " + message + "|q:|s|t");
    }
    m.system.connectionFailure = 0;
    for (const String& odd : {String(), String(u"CD"), String(40000, u'x')})  // no drive letter
        EXPECT_TRUE(unc(odd).starts_with("1200|")) << unc(odd);
    // A remote name too long for the 255 characters is the network's 234.
    m.system.connections["Y:"] = "\\\\srv\\" + std::string(300, 's');
    EXPECT_TRUE(unc(u"y").starts_with("234|"));
    // No backslash after the third character, or an unknown code: the runtime's negative length.
    m.system.connections["W:"] = "\\\\nobackslash";
    EXPECT_TRUE(unc(u"w").starts_with("5|") && unc(u"w").ends_with("|w:|s|t")) << unc(u"w");
    m.system.connectionFailure = 87;
    EXPECT_TRUE(unc(u"w").starts_with("5|"));
}

TEST(Win32ApiFileOperation, TerminatesTheListsDefaultsTheFlagsAndRefusesBadLists) {
    Machine m;
    // The shell gets the lists as written back, with the window, operation and flags as given.
    const String nul(1, u'\0'), list = u"a" + nul + u"b" + nul + nul;
    String from = list, to = u"dest";
    int32_t flags = 0;
    EXPECT_TRUE(m.api().FileOperation(7, FileCopy, from, to, flags));
    EXPECT_EQ(to, u"dest" + nul + nul);
    const auto& r = m.log.fileOperations.back();
    EXPECT_EQ(r.from + "|" + r.to.value_or("none"), toUtf8(list + u"|" + to));
    EXPECT_EQ(std::tuple(r.window, r.function, r.flags), std::tuple(7, 2u, 528));
    // A delete passes no destination; other operations pass on unchanged.
    from = u"x", to = u"";
    EXPECT_TRUE(m.api().FileOperation(0, FileDelete, from, to, flags));
    EXPECT_FALSE(m.log.fileOperations.back().to.has_value());
    to = u"y", flags = -1;  // 16 bits with the sign bit: every flag
    EXPECT_TRUE(m.api().FileOperation(0, 9, from, to, flags));
    EXPECT_EQ(std::tuple(m.log.fileOperations.back().function, m.log.fileOperations.back().flags),
              std::tuple(9u, 0xFFFF));
    // Errors leave what was already written back and call nothing.
    m.log.fileOperations.clear();
    const auto call = [&](int32_t op, const String& source, const String& target, int32_t f) {
        from = source;
        to = target;
        flags = f;
        return errorOf([&] { m.api().FileOperation(0, op, from, to, flags); });
    };
    EXPECT_EQ(call(FileMove, u"a", u"", 0), 5);  // its message is checked through the DLL
    for (int32_t tooWide : {32768, 40000, -32769}) {
        EXPECT_EQ(call(FileCopy, u"a", u"b", tooWide), 6);
        EXPECT_EQ(to, String(u"b") + String(2, u'\0'));
        EXPECT_EQ(flags, tooWide);
    }
    EXPECT_TRUE(m.log.fileOperations.empty());
    // Shell failures: a cancel is 0x80040000 + 117, others that base plus the last error.
    m.system.fileOperationAnswer = {117, 5};
    from = u"a", to = u"b", flags = 0;
    EXPECT_EQ(raised([&] { m.api().FileOperation(0, FileCopy, from, to, flags); }),
              "-2147221387||" + toUtf8(standardDescription(-2147221387)));
    for (const auto& [result, lastError, number] :
         {std::tuple{2, 3u, -2147221504 + 3}, std::tuple{1026, 0u, -2147221504},
          std::tuple{1026, 0x80070005u, 6}}) {  // the sum leaves the Long range
        m.system.fileOperationAnswer = {result, lastError};
        EXPECT_EQ(call(FileCopy, u"a", u"b", 0), number);
    }
    // An empty first name is refused (87): a shell may read it as the current folder.
    m.system.fileOperationAnswer = {};
    EXPECT_EQ(call(FileDelete, u"", u"", 0), -2147221504 + 87);
    EXPECT_EQ(from, String(2, u'\0'));
    EXPECT_EQ(call(FileCopy, u"a", String(1, u'\0'), 0), -2147221504 + 87);
    // So is a name too long for any path (206): some shells cut it to a folder never named.
    for (const auto& [source, target] :
         {std::pair{String(40000, u'q'), String(u"b")}, std::pair{String(u"a"), String(260, u'd')},
          std::pair{u"a" + String(1, u'\0') + String(300, u'q'), String(u"b")}})
        EXPECT_EQ(call(FileMove, source, target, 0), -2147221504 + 206);
    from = String(259, u'q'), to = u"b";
    EXPECT_TRUE(m.api().FileOperation(0, FileMove, from, to, flags));
}

TEST(Win32ApiDocuments, AssociationCutsAfterTheFirstExeAndExecuteFileProbesFirst) {
    Machine m;
    const auto program = [&](String file) { return m.api().GetFileAssociation(file); };
    const std::vector<std::pair<std::string, String>> programs = {
        {"C:\\PROGRA~1\\EDIT.EXE", u"C:\\PROGRA~1\\EDIT.EXE"},
        {"C:\\Exe Tools\\view.exe", u"C:\\Exe"},        // the first "exe" in any case
        {"C:\\tools\\run.bat", u"C:\\tools\\run.bat"},  // no "exe": the whole path
        {"C:\\" + std::string(250, 'p') + ".exe", u"C:\\" + String(250, u'p') + u".exe"}};
    for (const auto& [path, expected] : programs) {
        m.system.associations[".doc"] = path;
        EXPECT_EQ(program(u"a.doc"), expected) << path;
    }
    for (intptr_t code : {0, 2, 5, 31, 32}) {  // a failed lookup answers empty, whatever the code
        m.system.findFailure = code;
        EXPECT_EQ(program(u"x.ini"), u"") << code;
    }
    m.system.findFailure.reset();
    // The name goes out in the code page and comes back converted, even when the lookup fails.
    String file = u"r\u00e9sum\u00e9 \u03c9.ini";
    EXPECT_EQ(m.api().GetFileAssociation(file), u"C:\\windows\\system32\\notepad.exe");
    EXPECT_EQ(m.log.lookups.back(), "r\xE9sum\xE9 ?.ini");
    EXPECT_EQ(file, u"r\u00e9sum\u00e9 ?.ini");
    m.documents.files = {u"C:\\report.ini", u"ab"};
    Win32API api = m.api();
    const auto launched = [&] {
        const auto& l = m.log.launches.back();
        return l.verb + "|" + std::to_string(l.window) + "|" + l.file + "|" +
               std::to_string(l.show) + "|" + l.parameters + "|" + l.directory;
    };
    EXPECT_EQ(api.ExecuteFile(u"C:\\report.ini"), 0);
    EXPECT_EQ(launched(), "Open|65568|C:\\report.ini|1||");  // the desktop window, 0x10020
    EXPECT_EQ(api.ExecuteFile(u"C:\\report.ini", 77, 3, OperationPrint, u"/p", u"C:\\"), 0);
    EXPECT_EQ(launched(), "Print|77|C:\\report.ini|3|/p|C:\\");
    for (int32_t other : {0, 3, 7, -1}) {
        api.ExecuteFile(u"C:\\report.ini", 1, 1, other);
        EXPECT_EQ(m.log.launches.back().verb, "Open") << other;
    }
    // A file the probe does not find is 76 before any shell call; the probe's own errors pass.
    const std::size_t launches = m.log.launches.size();
    EXPECT_EQ(errorOf([&] { api.ExecuteFile(u"C:\\missing.ini"); }), 76);
    m.documents.openFailure = 70;
    EXPECT_EQ(raised([&] { api.ExecuteFile(u"C:\\report.ini"); }), "70|probe|as raised");
    EXPECT_EQ(m.log.launches.size(), launches);
    m.documents.openFailure = 0;
    // The shell's codes raise from the application (the client suite checks the 31 of a .txt).
    EXPECT_EQ(raised([&] { api.ExecuteFile(u"ab"); }),
              "31|Brevanto|There is no association for the file type ab");
    // clang-format off
    const std::vector<std::pair<intptr_t, std::string>> table = {
        {2, "File not found"}, {3, "Path not found"}, {5, "Access denied"},
        {8, "Out of memory"}, {11, "Invalid EXE file or error in EXE image"},
        {26, "A sharing violation occurred"}, {27, "Incomplete or invalid file association"},
        {28, "DDE Time out"}, {29, "DDE transaction failed"}, {30, "DDE busy"},
        {32, "DLL not found"}, {0, "Unknown error in ExecuteFile"},
        {1, "Unknown error in ExecuteFile"}, {25, "Unknown error in ExecuteFile"}};
    // clang-format on
    for (const auto& [code, text] : table) {
        m.system.launchFailure = code;
        EXPECT_EQ(raised([&] { api.ExecuteFile(u"C:\\report.ini"); }),
                  std::to_string(code) + "|Brevanto|" + text);
    }
    m.system.launchFailure = 33;
    EXPECT_EQ(api.ExecuteFile(u"C:\\report.ini"), 0);
}

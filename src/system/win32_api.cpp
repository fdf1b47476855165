#include "system/win32_api.h"

#include <algorithm>

#include "frame/convert.h"
#include "frame/error.h"
#include "frame/shared.h"

namespace brv {

namespace {

// -2147221504 (0x80040000): the base of the numbers that carry a platform code.
constexpr int64_t kPlatformErrorBase = -2147221504LL;
constexpr int32_t kOperationCancelled = 117;
constexpr int32_t kDefaultFileFlags = 528;  // no confirmation, folders made without asking

// A list for the shell ends in two NULs.
void terminateList(String& list) {
    const std::size_t n = list.size();
    if (n >= 2 && list[n - 1] == u'\0' && list[n - 2] == u'\0') return;
    list.append(n >= 1 && list[n - 1] == u'\0' ? 1 : 2, u'\0');
}

const char16_t* networkMessage(uint32_t code) {
    switch (code) {
        case 234:
            return u"Error: More Data";
        case 50:
            return u"Error: Feature not Supported";
        case 1200:
            return u"Error: Bad Device";
        case 1201:
            return u"Error: Connection Un-Available";
        case 1203:
            return u"Error: No Network Available or Bad Path";
        case 1208:
            return u"Error: Extended Error";
        case 1222:
            return u"Error: No Network Available";
        case 2250:
            return u"Error: Not Connected";
        default:
            return nullptr;
    }
}

String launchMessage(intptr_t code, StringView file) {
    switch (code) {
        case 2:
            return u"File not found";
        case 3:
            return u"Path not found";
        case 5:
            return u"Access denied";
        case 8:
            return u"Out of memory";
        case 11:
            return u"Invalid EXE file or error in EXE image";
        case 26:
            return u"A sharing violation occurred";
        case 27:
            return u"Incomplete or invalid file association";
        case 28:
            return u"DDE Time out";
        case 29:
            return u"DDE transaction failed";
        case 30:
            return u"DDE busy";
        case 31:
            return u"There is no association for the file type " +
                   String(file.substr(file.size() - std::min<std::size_t>(file.size(), 3)));
        case 32:
            return u"DLL not found";
        default:
            return u"Unknown error in ExecuteFile";
    }
}

String driveTypeName(uint32_t code) {
    switch (code) {
        case 1:
            return u"Invalid Drive";
        case 2:
            return u"Removable";
        case 3:
            return u"Fixed";
        case 4:
            return u"Remote";
        case 5:
            return u"CDROM";
        case 6:
            return u"RAMDisk";
        default:
            return {};
    }
}

}  // namespace

// A name query with a buffer of `size` `fill` characters: the size the platform answers is
// the length to keep, one less when the character at that position is the terminator.
String Win32API::bufferedName(bool (platform::System::*query)(char*, uint32_t&) const,
                              char16_t fill, uint32_t size) {
    std::string buffer = ansi(String(size, fill));
    (system_.*query)(buffer.data(), size);
    const String text = unicode(buffer);
    std::size_t length = size;
    if (size >= 1 && size <= text.size() && text[size - 1] == u'\0') length = size - 1;
    return text.substr(0, std::min(length, text.size()));
}

String Win32API::GetMachineName() {
    return bufferedName(&platform::System::computerName, u'\0', 16);
}

String Win32API::GetCurrentWindowsUser() {
    return bufferedName(&platform::System::userName, u' ', 255);
}

// The two-call scheme of the folder queries: ask for the length (terminator included), then
// fill a buffer of that many spaces and cut it at the terminator.
template <typename Query>
String Win32API::folder(Query query, const char* firstBuffer) {
    const uint32_t needed = query(const_cast<char*>(firstBuffer), 0);
    if (needed > 0x7FFFFFFFu) raise(err::Overflow);  // the answer is held in a Long
    std::string buffer = ansi(String(needed, u' '));
    query(buffer.data(), needed);
    return StripTerminator(unicode(buffer));
}

String Win32API::GetFolderWindows() {
    return folder([&](char* b, uint32_t n) { return system_.windowsDirectory(b, n); }, nullptr);
}

String Win32API::GetFolderSystem() {
    return folder([&](char* b, uint32_t n) { return system_.systemDirectory(b, n); }, nullptr);
}

String Win32API::GetFolderTemp() {
    // The first call is given an empty string, not a missing buffer.
    return folder([&](char* b, uint32_t n) { return system_.tempPath(n, b); }, "");
}

String Win32API::GetFolderCurrent() {
    return folder([&](char* b, uint32_t n) { return system_.currentDirectory(n, b); }, nullptr);
}

bool Win32API::GetUNCPath(String& strDriveLetter, String& strServer, String& strShare) {
    strDriveLetter = String(trimSpaces(strDriveLetter));
    if (strDriveLetter.size() == 1) strDriveLetter += u':';

    constexpr uint32_t kRemoteSize = 255;
    std::string buffer = ansi(String(kRemoteSize, u' '));
    uint32_t length = kRemoteSize;
    const std::string drive = ansi(strDriveLetter);
    const uint32_t code = system_.networkConnection(drive.c_str(), buffer.data(), length);
    if (const char16_t* message = networkMessage(code))
        raise(static_cast<int32_t>(code), {}, message);

    String remote = unicode(buffer);
    remote.resize(std::min<std::size_t>(remote.size(), length));
    remote.resize(std::min(remote.size(), remote.find(u'\0')));
    remote = String(trimSpaces(remote));

    // \\server\share\deeper: the server runs from position 3 to the next backslash.
    const std::size_t slash = inStr(3, remote, u"\\");
    if (slash == 0) raise(err::InvalidCall);  // the server's length would be negative
    strServer = remote.substr(2, slash - 3);
    strShare = remote.substr(slash);
    return true;
}

String Win32API::GetDriveType(const String& DriveLetter, int32_t& DriveType) {
    const std::string root = ansi(DriveLetter + u":\\");
    const uint32_t code = system_.driveType(root.c_str());
    DriveType = static_cast<int32_t>(code);
    return driveTypeName(code);
}

bool Win32API::FileOperation(int32_t hwnd, int32_t Operation, String& OperateFrom,
                             String& OperateTo, int32_t& Flags) {
    terminateList(OperateFrom);
    if (!OperateTo.empty()) {
        terminateList(OperateTo);
    } else if (Operation != FileDelete) {
        raise(err::InvalidCall, u"FileOperation",
              u"Invalid Procedure Call or Argument. Missing destination parameter when FO_DELETE "
              u"operation was not specified.");
    }
    if (Flags == 0) Flags = kDefaultFileFlags;
    // The record holds the flags in 16 bits.
    if (Flags < INT16_MIN || Flags > INT16_MAX) raise(err::Overflow);

    const std::string from = ansi(OperateFrom);
    const std::string to = ansi(OperateTo);
    platform::ShellFileOperation op;
    op.window = hwnd;
    op.function = static_cast<uint32_t>(Operation);
    op.from = &from;
    op.to = OperateTo.empty() ? nullptr : &to;
    op.flags = static_cast<uint16_t>(Flags);
    const platform::ShellFileOperationResult r = system_.fileOperation(op);
    if (r.result == 0) return true;
    if (r.result == kOperationCancelled) raise(static_cast<int32_t>(kPlatformErrorBase + 117));
    // The last error is a Long; the sum must stay one too.
    const int64_t number = kPlatformErrorBase + static_cast<int32_t>(r.lastError);
    if (number < INT32_MIN) raise(err::Overflow);
    raise(static_cast<int32_t>(number));
}

String Win32API::GetFileAssociation(String& Filename) {
    const std::string file = ansi(Filename);
    Filename = unicode(file);
    std::string buffer = ansi(String(260, u' '));
    char directory[1] = {};
    if (system_.findExecutable(file.c_str(), directory, buffer.data()) <= 32) return {};

    // The replacement's trimming drops the padding behind the terminator.
    const String text = fnReplaceText(unicode(buffer), StringView(u"\0", 1), u" ");
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        if (compareStrings(StringView(text).substr(i, 3), u"exe", CompareMode::Text, regional_) ==
            0)
            return text.substr(0, i + 3);
    }
    // A program without "exe" in its path (a .com or .bat program) keeps its whole path.
    return String(trimTrailingSpaces(text));
}

String Win32API::StripTerminator(const String& StringToStrip) {
    const std::size_t nul = StringToStrip.find(u'\0');
    if (nul == String::npos) return StringToStrip;
    asInteger(nul + 1);  // the position is held in an Integer
    return StringToStrip.substr(0, nul);
}

int32_t Win32API::ExecuteFile(const String& Filename, int32_t hwnd, int32_t ShowMode,
                              int32_t ExecuteOperation, const String& CommandParameters,
                              const String& DefaultDirectory) {
    if (!fnFileExists(Filename, files_)) raise(err::PathNotFound);
    const char* verb = ExecuteOperation == OperationPrint ? "Print" : "Open";
    const int32_t window = hwnd == 0 ? system_.desktopWindow() : hwnd;
    const std::string file = ansi(Filename);
    const std::string parameters = ansi(CommandParameters);
    const std::string directory = ansi(DefaultDirectory);
    const intptr_t result = system_.shellExecute(window, verb, file.c_str(), parameters.c_str(),
                                                 directory.c_str(), ShowMode);
    if (result >= 33) return 0;
    raise(static_cast<int32_t>(result), String(kAppTitle), launchMessage(result, Filename));
}

int32_t Win32API::GetDesktopWindowHandle() {
    return system_.desktopWindow();
}

}  // namespace brv

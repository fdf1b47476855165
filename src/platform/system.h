// System queries and shell operations: the kernel32, advapi32, mpr, shell32 and user32 calls
// behind Win32API, in their ANSI forms. Strings are in the system code page; buffers, sizes and
// terminators follow each function's own convention, so that callers do their own handling of
// them on every platform.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brv::platform {

// The fields of SHFILEOPSTRUCTA that callers fill; the rest is zero.
struct ShellFileOperation {
    int32_t window = 0;
    uint32_t function = 0;
    const std::string* from = nullptr;  // NUL-separated list ending in two NULs
    const std::string* to = nullptr;    // the same, or no string at all
    uint16_t flags = 0;
};

// What SHFileOperationA answered and the thread's last-error value read right after it.
struct ShellFileOperationResult {
    int32_t result = 0;
    uint32_t lastError = 0;
};

// The names of a shell list, up to its first empty one.
inline std::vector<std::string_view> listNames(const std::string* list) {
    std::vector<std::string_view> names;
    for (std::size_t i = 0; list && i < list->size() && (*list)[i] != '\0';) {
        const std::size_t end = std::min(list->find('\0', i), list->size());
        names.push_back(std::string_view(*list).substr(i, end - i));
        i = end + 1;
    }
    return names;
}

// Lists that the shell is never given, with the answers that stand for its own: one whose
// first name is empty (invalid parameter; some shells read it as the current folder and
// delete or move that), and one with a name too long for a path (file name too long; some
// shells cut it down to the current folder, or overrun their buffers).
inline constexpr ShellFileOperationResult kNoFilesNamed{124, 87};
inline constexpr ShellFileOperationResult kNameTooLong{124, 206};

// The answer that stands for the shell's when `op` is such a list; `tooLong(name)` judges one
// name by its full path.
template <typename TooLong>
std::optional<ShellFileOperationResult> refusedList(const ShellFileOperation& op, TooLong tooLong) {
    const auto from = listNames(op.from), to = listNames(op.to);
    if (from.empty() || (op.to && to.empty())) return kNoFilesNamed;
    for (const auto* names : {&from, &to})
        for (const std::string_view name : *names)
            if (tooLong(name)) return kNameTooLong;
    return std::nullopt;
}

class System {
  public:
    virtual ~System() = default;

    // GetComputerNameA: `size` is the buffer's length; on success the name and a terminator
    // are written and `size` becomes the name's length without it. A buffer too small answers
    // false, writes nothing and sets `size` to the length needed with the terminator.
    virtual bool computerName(char* buffer, uint32_t& size) const = 0;
    // GetUserNameA: as computerName, except that on success `size` counts the terminator.
    virtual bool userName(char* buffer, uint32_t& size) const = 0;

    // GetWindowsDirectoryA, GetSystemDirectoryA, GetTempPathA, GetCurrentDirectoryA: when the
    // folder and its terminator fit in `size` characters they are written and the answer is
    // the folder's length; otherwise nothing is written and the answer is the size needed,
    // terminator included. `buffer` may be null when `size` is 0.
    virtual uint32_t windowsDirectory(char* buffer, uint32_t size) const = 0;
    virtual uint32_t systemDirectory(char* buffer, uint32_t size) const = 0;
    virtual uint32_t tempPath(uint32_t size, char* buffer) const = 0;
    virtual uint32_t currentDirectory(uint32_t size, char* buffer) const = 0;

    // GetDriveTypeA: 0 unknown, 1 no such root, 2 removable, 3 fixed, 4 remote, 5 CD-ROM,
    // 6 RAM disk.
    virtual uint32_t driveType(const char* root) const = 0;

    // WNetGetConnectionA: 0 with the remote name and a terminator in `remote` (`length`
    // unchanged); 234 with `length` set to the size needed; or a network error code (50,
    // 1200, 1201, 1203, 1208, 1222, 2250).
    virtual uint32_t networkConnection(const char* local, char* remote, uint32_t& length) const = 0;

    // SHFileOperationA; see kNoFilesNamed and kNameTooLong for the lists it refuses.
    virtual ShellFileOperationResult fileOperation(const ShellFileOperation& op) const = 0;

    // FindExecutableA: above 32 with the program's path and a terminator in `result` (at
    // least 260 characters); 32 or less (2, 3, 5, 8, 31, ...) on failure; 2 (not found) for a
    // name of 260 characters or more.
    virtual intptr_t findExecutable(const char* file, const char* directory,
                                    char* result) const = 0;

    // ShellExecuteA: above 32 when the launch succeeded, else the shell's code (0 to 32).
    virtual intptr_t shellExecute(int32_t window, const char* verb, const char* file,
                                  const char* parameters, const char* directory,
                                  int32_t show) const = 0;

    // GetDesktopWindow, as the Long that clients hold.
    virtual int32_t desktopWindow() const = 0;
};

}  // namespace brv::platform

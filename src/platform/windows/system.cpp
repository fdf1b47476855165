// clang-format off
#include <windows.h>  // before the shell and network headers, which need its types
#include <shellapi.h>
#include <winnetwk.h>
// clang-format on

#include <cstring>
#include <string>

#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

namespace {

// A Long that a client holds as a window handle, widened as the platform widens handles.
HWND windowOf(int32_t handle) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

// Judged by the full path, as the shell would make it.
bool pathTooLong(std::string_view name) {
    BRV_WINAPI("kernel32", GetFullPathNameA);
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA_(std::string(name).c_str(), MAX_PATH, full, nullptr);
    return n == 0 || n >= MAX_PATH;
}

// GetComputerNameA and GetUserNameA: the size goes in and comes back through a DWORD.
bool nameQuery(BOOL(WINAPI* query)(LPSTR, LPDWORD), char* buffer, uint32_t& size) {
    DWORD n = size;
    const BOOL ok = query(buffer, &n);
    size = n;
    return ok != FALSE;
}

class WindowsSystem final : public System {
  public:
    bool computerName(char* buffer, uint32_t& size) const override {
        BRV_WINAPI("kernel32", GetComputerNameA);
        return nameQuery(GetComputerNameA_.get(), buffer, size);
    }
    bool userName(char* buffer, uint32_t& size) const override {
        BRV_WINAPI("advapi32.dll", GetUserNameA);
        return nameQuery(GetUserNameA_.get(), buffer, size);
    }
    uint32_t windowsDirectory(char* buffer, uint32_t size) const override {
        BRV_WINAPI("kernel32", GetWindowsDirectoryA);
        return GetWindowsDirectoryA_(buffer, size);
    }
    uint32_t systemDirectory(char* buffer, uint32_t size) const override {
        BRV_WINAPI("kernel32", GetSystemDirectoryA);
        return GetSystemDirectoryA_(buffer, size);
    }
    uint32_t tempPath(uint32_t size, char* buffer) const override {
        BRV_WINAPI("kernel32", GetTempPathA);
        return GetTempPathA_(size, buffer);
    }
    uint32_t currentDirectory(uint32_t size, char* buffer) const override {
        BRV_WINAPI("kernel32", GetCurrentDirectoryA);
        return GetCurrentDirectoryA_(size, buffer);
    }
    uint32_t driveType(const char* root) const override {
        BRV_WINAPI("kernel32", GetDriveTypeA);
        return GetDriveTypeA_(root);
    }
    uint32_t networkConnection(const char* local, char* remote, uint32_t& length) const override {
        BRV_WINAPI("mpr.dll", WNetGetConnectionA);
        DWORD n = length;
        const DWORD code = WNetGetConnectionA_(local, remote, &n);
        length = n;
        return code;
    }
    ShellFileOperationResult fileOperation(const ShellFileOperation& op) const override {
        BRV_WINAPI("shell32.dll", SHFileOperationA);
        BRV_WINAPI("shell32.dll", SHFreeNameMappings);
        if (const auto refused = refusedList(op, pathTooLong)) return *refused;
        SHFILEOPSTRUCTA s{};
        s.hwnd = windowOf(op.window);
        s.wFunc = op.function;
        s.pFrom = op.from ? op.from->c_str() : nullptr;
        s.pTo = op.to ? op.to->c_str() : nullptr;
        s.fFlags = op.flags;
        s.fAnyOperationsAborted = FALSE;
        s.hNameMappings = nullptr;
        s.lpszProgressTitle = nullptr;
        // Cleared first, so that a failure that sets no code reports 0 rather than an old one.
        SetLastError(0);
        ShellFileOperationResult r;
        r.result = SHFileOperationA_(&s);
        r.lastError = GetLastError();
        // A caller that asks for the name mappings cannot take them: they are not leaked.
        if (s.hNameMappings) SHFreeNameMappings_(s.hNameMappings);
        return r;
    }
    intptr_t findExecutable(const char* file, const char* directory, char* result) const override {
        BRV_WINAPI("shell32.dll", FindExecutableA);
        // No document has a longer name, and some shells fault on one: not found.
        if (std::strlen(file) >= MAX_PATH) return SE_ERR_FNF;
        return reinterpret_cast<intptr_t>(FindExecutableA_(file, directory, result));
    }
    intptr_t shellExecute(int32_t window, const char* verb, const char* file,
                          const char* parameters, const char* directory,
                          int32_t show) const override {
        BRV_WINAPI("shell32.dll", ShellExecuteA);
        return reinterpret_cast<intptr_t>(
            ShellExecuteA_(windowOf(window), verb, file, parameters, directory, show));
    }
    int32_t desktopWindow() const override {
        BRV_WINAPI("user32", GetDesktopWindow);
        // Window handles carry 32 significant bits, so the Long keeps the whole handle.
        return static_cast<int32_t>(reinterpret_cast<intptr_t>(GetDesktopWindow_()));
    }
};

}  // namespace

const System& hostSystem() {
    static const WindowsSystem system;
    return system;
}

}  // namespace brv::platform

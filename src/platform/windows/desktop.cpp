// The desktop services on Windows: the modal message box, the pointer over the process's windows
// and the local clock.
#include <windows.h>

#include <vector>

#include "frame/calendar.h"
#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

int HostMessages::showMessage(StringView text, StringView caption) const {
    BRV_WINAPI("user32", MessageBoxA);
    BRV_WINAPI("user32", GetActiveWindow);
    const HostRegional regional;
    const std::string t = regional.toAnsi(text), c = regional.toAnsi(caption);
    // Modal to the caller's active window; without one, to every window of this thread.
    HWND owner = GetActiveWindow_();
    return MessageBoxA_(owner, t.c_str(), c.c_str(), MB_OK | (owner ? 0u : MB_TASKMODAL));
}

namespace {

// Where a window keeps the pointer its class had before the hourglass replaced it. Keeping it
// on the window itself leaves the library without state of its own.
constexpr wchar_t kSavedPointer[] = L"Brevanto.SavedPointer";

HCURSOR classPointer(HWND w) {
#ifdef _WIN64
    BRV_WINAPI("user32", GetClassLongPtrW);
    return reinterpret_cast<HCURSOR>(GetClassLongPtrW_(w, GCLP_HCURSOR));
#else
    BRV_WINAPI("user32", GetClassLongW);
    return reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(GetClassLongW_(w, GCL_HCURSOR)));
#endif
}

void setClassPointer(HWND w, HCURSOR c) {
#ifdef _WIN64
    BRV_WINAPI("user32", SetClassLongPtrW);
    SetClassLongPtrW_(w, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(c));
#else
    BRV_WINAPI("user32", SetClassLongW);
    SetClassLongW_(w, GCL_HCURSOR, static_cast<LONG>(reinterpret_cast<ULONG_PTR>(c)));
#endif
}

BOOL CALLBACK addChild(HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
}

BOOL CALLBACK addOwnTopLevel(HWND w, LPARAM list) {
    BRV_WINAPI("user32", GetWindowThreadProcessId);
    BRV_WINAPI("kernel32", GetCurrentProcessId);
    DWORD pid = 0;
    GetWindowThreadProcessId_(w, &pid);
    if (pid == GetCurrentProcessId_()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
}

// Every window of this process: its top-level windows and all their descendants.
std::vector<HWND> processWindows() {
    BRV_WINAPI("user32", EnumWindows);
    BRV_WINAPI("user32", EnumChildWindows);
    std::vector<HWND> top, all;
    EnumWindows_(addOwnTopLevel, reinterpret_cast<LPARAM>(&top));
    for (HWND w : top) {
        all.push_back(w);
        EnumChildWindows_(w, addChild, reinterpret_cast<LPARAM>(&all));
    }
    return all;
}

}  // namespace

// The hourglass replaces the class pointer of every window of the process (windows that choose
// their pointer themselves, with none in their class, keep theirs); each window remembers what
// its class had, and the default pointer puts that back.
void HostMousePointer::setPointer(int code) const {
    BRV_WINAPI("user32", LoadCursorW);
    BRV_WINAPI("user32", GetPropW);
    BRV_WINAPI("user32", SetPropW);
    BRV_WINAPI("user32", RemovePropW);
    BRV_WINAPI("user32", GetCursorPos);
    BRV_WINAPI("user32", WindowFromPoint);
    BRV_WINAPI("user32", PostMessageW);
    const std::vector<HWND> windows = processWindows();
    if (code == kHourglass) {
        const HCURSOR wait = LoadCursorW_(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
        // Read every class pointer before changing any: windows share classes.
        std::vector<HCURSOR> before;
        for (HWND w : windows) before.push_back(classPointer(w));
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (!before[i] || before[i] == wait) continue;
            if (!GetPropW_(windows[i], kSavedPointer))
                SetPropW_(windows[i], kSavedPointer, before[i]);
            setClassPointer(windows[i], wait);
        }
    } else {
        for (HWND w : windows) {
            if (HANDLE saved = GetPropW_(w, kSavedPointer)) {
                setClassPointer(w, static_cast<HCURSOR>(saved));
                RemovePropW_(w, kSavedPointer);
            }
        }
    }
    // Show the change at once over a window of ours rather than at the next mouse move.
    POINT at{};
    if (!GetCursorPos_(&at)) return;
    HWND under = WindowFromPoint_(at);
    for (HWND w : windows)
        if (w == under)
            PostMessageW_(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

double HostClock::now() const {
    BRV_WINAPI("kernel32", GetLocalTime);
    SYSTEMTIME t{};
    GetLocalTime_(&t);
    return dateSerial(t.wYear, t.wMonth, t.wDay) + timeSerial(t.wHour, t.wMinute, t.wSecond);
}

}  // namespace brv::platform

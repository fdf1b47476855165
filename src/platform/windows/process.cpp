#include <windows.h>

#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

String HostProcess::commandLineArguments() const {
    BRV_WINAPI("kernel32", GetCommandLineW);
    const wchar_t* line = GetCommandLineW_();
    if (!line) return {};
    const String s = fromWide(line);
    // Skip the program's name: quoted up to the closing quote, otherwise up to the first
    // space or tab; then the white space that separates it from the arguments.
    std::size_t i = 0;
    if (!s.empty() && s[0] == u'"') {
        const auto close = s.find(u'"', 1);
        i = close == StringView::npos ? s.size() : close + 1;
    } else {
        while (i < s.size() && s[i] != u' ' && s[i] != u'\t') ++i;
    }
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
    return String(s.substr(i));
}

}  // namespace brv::platform

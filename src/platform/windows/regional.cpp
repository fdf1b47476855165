#include <windows.h>
// after windows.h, which it needs
#include <oleauto.h>

#include "frame/error.h"
#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

namespace {

int clampLength(std::size_t n) {
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n);
}

String mapCase(StringView text, DWORD flag) {
    BRV_WINAPI("kernel32", LCMapStringW);
    if (text.empty()) return {};
    String out(text.size(), u'\0');
    const int n = LCMapStringW_(LOCALE_USER_DEFAULT, flag, wideChars(text),
                                clampLength(text.size()), wideChars(out), clampLength(out.size()));
    if (n <= 0) return String(text);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace

int HostRegional::compareText(StringView a, StringView b) const {
    BRV_WINAPI("kernel32", CompareStringW);
    const int r = CompareStringW_(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideChars(a),
                                  clampLength(a.size()), wideChars(b), clampLength(b.size()));
    return r == CSTR_LESS_THAN ? -1 : r == CSTR_EQUAL ? 0 : 1;
}

String HostRegional::upper(StringView text) const {
    return mapCase(text, LCMAP_UPPERCASE);
}
String HostRegional::lower(StringView text) const {
    return mapCase(text, LCMAP_LOWERCASE);
}

String HostRegional::formatDate(double serial) const {
    BRV_WINAPI("oleaut32", VarBstrFromDate);
    BRV_WINAPI("oleaut32", SysFreeString);
    BRV_WINAPI("oleaut32", SysStringLen);
    BSTR out = nullptr;
    if (FAILED(VarBstrFromDate_(serial, LOCALE_USER_DEFAULT, 0, &out)) || !out)
        raise(err::TypeMismatch);
    String s = fromWide(out, SysStringLen_(out));
    SysFreeString_(out);
    return s;
}

std::optional<double> HostRegional::parseDate(StringView text) const {
    BRV_WINAPI("oleaut32", VarDateFromStr);
    String copy(text);  // the function wants a terminated string
    DATE d = 0;
    if (FAILED(VarDateFromStr_(wideChars(copy), LOCALE_USER_DEFAULT, 0, &d))) return std::nullopt;
    return d;
}

std::string HostRegional::toAnsi(StringView text) const {
    BRV_WINAPI("kernel32", WideCharToMultiByte);
    if (text.empty()) return {};
    const int n = WideCharToMultiByte_(CP_ACP, 0, wideChars(text), clampLength(text.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte_(CP_ACP, 0, wideChars(text), clampLength(text.size()), out.data(), n,
                             nullptr, nullptr);
    return out;
}

String HostRegional::fromAnsi(std::string_view bytes) const {
    BRV_WINAPI("kernel32", MultiByteToWideChar);
    if (bytes.empty()) return {};
    const int n =
        MultiByteToWideChar_(CP_ACP, 0, bytes.data(), clampLength(bytes.size()), nullptr, 0);
    String out(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0)
        MultiByteToWideChar_(CP_ACP, 0, bytes.data(), clampLength(bytes.size()), wideChars(out), n);
    return out;
}

}  // namespace brv::platform

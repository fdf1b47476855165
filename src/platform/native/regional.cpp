// The native stand-in for the regional settings: the English (United States) locale with the
// Windows-1252 code page, fixed so that native tests give the same answers everywhere.
#include <cstdio>

#include "frame/calendar.h"
#include "platform/host.h"

namespace brv::platform {

namespace {

char16_t upperOf(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<char16_t>(c - 1);
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
    return c;
}

char16_t lowerOf(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F && upperOf(static_cast<char16_t>(c + 1)) == c) return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
    return c;
}

// Windows-1252's 0x80 to 0x9F.
constexpr char16_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};

bool readInt(StringView t, std::size_t& i, int& out, int maxDigits) {
    std::size_t start = i;
    out = 0;
    while (i < t.size() && i - start < static_cast<std::size_t>(maxDigits) && t[i] >= u'0' &&
           t[i] <= u'9')
        out = out * 10 + (t[i++] - u'0');
    return i > start;
}

}  // namespace

int HostRegional::compareText(StringView a, StringView b) const {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = upperOf(a[i]), y = upperOf(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

String HostRegional::upper(StringView text) const {
    String s(text);
    for (auto& c : s) c = upperOf(c);
    return s;
}

String HostRegional::lower(StringView text) const {
    String s(text);
    for (auto& c : s) c = lowerOf(c);
    return s;
}

String HostRegional::formatDate(double serial) const {
    const CivilTime t = civilFromSerial(serial);
    const bool hasDate = static_cast<int64_t>(serial) != 0;
    const bool hasTime = t.hour || t.minute || t.second;
    char buf[64] = "";
    int n = 0;
    if (hasDate || !hasTime) n = std::snprintf(buf, sizeof buf, "%d/%d/%d", t.month, t.day, t.year);
    if (hasTime)
        std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%s%d:%02d:%02d %s",
                      n ? " " : "", t.hour % 12 == 0 ? 12 : t.hour % 12, t.minute, t.second,
                      t.hour < 12 ? "AM" : "PM");
    return fromUtf8(buf);
}

std::optional<double> HostRegional::parseDate(StringView text) const {
    StringView t = trimSpaces(text);
    std::size_t i = 0;
    double result = 0;
    bool any = false;
    int a, b, c;
    // Date part: m/d/yyyy, m-d-yyyy or yyyy-mm-dd.
    std::size_t save = i;
    if (readInt(t, i, a, 4) && i < t.size() && (t[i] == u'/' || t[i] == u'-')) {
        const char16_t sep = t[i++];
        if (readInt(t, i, b, 2) && i < t.size() && t[i] == sep && (++i, readInt(t, i, c, 4))) {
            int y = c, m = a, d = b;
            if (a > 31)
                y = a, m = b, d = c;
            else if (c < 100)
                y = c < 30 ? 2000 + c : 1900 + c;
            if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
            if (civilFromSerial(dateSerial(y, m, d)).month != m) return std::nullopt;
            result = dateSerial(y, m, d);
            any = true;
            while (i < t.size() && t[i] == u' ') ++i;
        } else {
            i = save;
        }
    } else {
        i = save;
    }
    // Time part: h:mm[:ss] [AM|PM].
    save = i;
    int h, mi, s = 0;
    if (i < t.size() && readInt(t, i, h, 2) && i < t.size() && t[i] == u':' &&
        (++i, readInt(t, i, mi, 2))) {
        if (i < t.size() && t[i] == u':') {
            ++i;
            if (!readInt(t, i, s, 2)) return std::nullopt;
        }
        while (i < t.size() && t[i] == u' ') ++i;
        if (i + 1 < t.size() + 1 && t.size() - i == 2 && (t[i + 1] == u'M' || t[i + 1] == u'm')) {
            const bool pm = t[i] == u'P' || t[i] == u'p';
            if (!pm && t[i] != u'A' && t[i] != u'a') return std::nullopt;
            if (h < 1 || h > 12) return std::nullopt;
            h = h % 12 + (pm ? 12 : 0);
            i += 2;
        }
        if (h > 23 || mi > 59 || s > 59) return std::nullopt;
        result += timeSerial(h, mi, s);
        any = true;
    } else {
        i = save;
    }
    if (!any || i != t.size()) return std::nullopt;
    return result;
}

std::string HostRegional::toAnsi(StringView text) const {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k)
            if (kHigh[k] == c) mapped = static_cast<char>(0x80 + k);
        out.push_back(mapped);
    }
    return out;
}

String HostRegional::fromAnsi(std::string_view bytes) const {
    String out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        out.push_back(c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : static_cast<char16_t>(c));
    }
    return out;
}

}  // namespace brv::platform

// Automation strings: UTF-16 code units with a stored length. A null automation string
// arrives here as an empty String, so the two can never behave differently.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brv {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 (source code, test literals, native file names) to and from UTF-16.
String fromUtf8(std::string_view utf8);
std::string toUtf8(StringView text);

#ifdef _WIN32
// On Windows the platform's wide characters are these same UTF-16 code units.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
inline const wchar_t* wideChars(StringView s) {
    return reinterpret_cast<const wchar_t*>(s.data());
}
inline wchar_t* wideChars(String& s) {
    return reinterpret_cast<wchar_t*>(s.data());
}
inline std::wstring wideString(StringView s) {
    return std::wstring(wideChars(s), s.size());
}
inline String fromWide(const wchar_t* p, std::size_t n) {
    return String(reinterpret_cast<const char16_t*>(p), n);
}
inline String fromWide(const wchar_t* p) {
    return p ? String(reinterpret_cast<const char16_t*>(p)) : String();
}
#endif

// "Trimmed" everywhere in this library means: spaces (U+0020) only, tabs and line breaks stay.
StringView trimSpaces(StringView text);
StringView trimLeadingSpaces(StringView text);
StringView trimTrailingSpaces(StringView text);

// 1-based InStr with binary comparison; 0 when absent. An empty needle is found at `start`
// when start <= length + 1, as the runtime does.
std::size_t inStr(std::size_t start, StringView haystack, StringView needle);

// Case-insensitive ASCII comparison, for the library's own keywords.
bool equalsAsciiNoCase(StringView a, StringView b);

// A matcher for one pattern that reads a text one character at a time (Knuth-Morris-Pratt):
// the state is the length of the longest start of the pattern that ends the text read so far,
// so a search never looks at a character twice. The pattern must not be empty.
class Matcher {
  public:
    explicit Matcher(StringView pattern);
    // The state after reading `c` in state `state`; size() means a whole match ends at `c`.
    std::size_t next(std::size_t state, char16_t c) const {
        if (state == pattern_.size()) state = fail_[state - 1];
        while (state > 0 && pattern_[state] != c) state = fail_[state - 1];
        return pattern_[state] == c ? state + 1 : state;
    }
    std::size_t size() const { return pattern_.size(); }
    char16_t first() const { return pattern_[0]; }

  private:
    StringView pattern_;
    std::vector<std::size_t> fail_;
};

}  // namespace brv

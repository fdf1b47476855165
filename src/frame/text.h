// Automation strings: UTF-16 code units with a stored length. A null automation string
// arrives here as an empty String, so the two can never behave differently.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brv {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 (source code, test literals, native file names) to and from UTF-16.
String fromUtf8(std::string_view utf8);
std::string toUtf8(StringView text);

// "Trimmed" everywhere in this library means: spaces (U+0020) only, tabs and line breaks stay.
StringView trimSpaces(StringView text);
StringView trimLeadingSpaces(StringView text);
StringView trimTrailingSpaces(StringView text);

// 1-based InStr with binary comparison; 0 when absent. An empty needle is found at `start`
// when start <= length + 1, as the runtime does.
std::size_t inStr(std::size_t start, StringView haystack, StringView needle);

// Case-insensitive ASCII comparison, for the library's own keywords.
bool equalsAsciiNoCase(StringView a, StringView b);

}  // namespace brv

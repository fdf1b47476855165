// Routines that several classes share. They keep no state between calls.
#pragma once

#include "frame/files.h"
#include "frame/text.h"

namespace brv {

// Replaces every occurrence of `search` (exact comparison), always searching again from the
// first position, and after each replacement drops the spaces that directly follow the match
// and the trailing spaces of the text. Runs in time linear in the text.
//
// Searching from the first position again never ends when the replacement holds the search
// text; such a call resumes each search behind the inserted replacement instead. For some
// other pairs the text feeds on its own replacements for ever, or grows exponentially: when
// more than 64 characters per character of the text (plus 16,777,216) would have to be read,
// the call fails with error 7 (out of memory), as the growing text would make it fail.
// Errors are raised again with the source "fnReplaceText" (6 for a search text longer than
// 32767 characters).
String fnReplaceText(StringView text, StringView search, StringView replacement);

// How often the one character `character` occurs in `text`; an empty or longer `character`
// never matches. Error 6 for a text longer than 32767 characters.
int16_t fnCountCharacter(StringView text, StringView character);

// Probes a file by opening it for reading under the lowest free file number, which is always
// closed again. False for errors 53, 68, 75 and 76; every other error is raised again.
bool fnFileExists(StringView path, FileTable& files);

}  // namespace brv

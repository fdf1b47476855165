// Regional settings: the services whose answers follow the system locale (text comparison,
// case mapping, date text, the ANSI code page).
#pragma once

#include <optional>
#include <string>

#include "frame/text.h"

namespace brv::platform {

class Regional {
  public:
    virtual ~Regional() = default;
    // Case-insensitive comparison under the system locale: <0, 0 or >0.
    virtual int compareText(StringView a, StringView b) const = 0;
    // Upper case under the system locale, code unit for code unit where possible.
    virtual String upper(StringView text) const = 0;
    virtual String lower(StringView text) const = 0;
    // Date serial to the regional short date / time text, as the runtime's CStr does.
    virtual String formatDate(double serial) const = 0;
    // Date recognition under the regional formats; nullopt for text that is not a date.
    virtual std::optional<double> parseDate(StringView text) const = 0;
    // Conversions to and from the system's ANSI code page.
    virtual std::string toAnsi(StringView text) const = 0;
    virtual String fromAnsi(std::string_view bytes) const = 0;
};

}  // namespace brv::platform

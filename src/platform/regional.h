// Regional settings: the locale services of the frame plus the system's case mapping to lower
// case and its ANSI code page.
#pragma once

#include <string>

#include "frame/locale.h"

namespace brv::platform {

class Regional : public Locale {
  public:
    virtual String lower(StringView text) const = 0;
    // Conversions to and from the system's ANSI code page.
    virtual std::string toAnsi(StringView text) const = 0;
    virtual String fromAnsi(std::string_view bytes) const = 0;
};

}  // namespace brv::platform

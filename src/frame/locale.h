// What the value model needs of the system's regional settings: text comparison and case folding
// for keys and Text-mode comparisons, and date text for the conversions. The frame only declares
// it; the platform's regional service implements it, and whoever calls a conversion that can
// touch dates or Text mode hands it in.
#pragma once

#include <optional>

#include "frame/text.h"

namespace brv {

class Locale {
  public:
    virtual ~Locale() = default;
    // Case-insensitive comparison under the locale: <0, 0 or >0.
    virtual int compareText(StringView a, StringView b) const = 0;
    // Upper case under the locale, code unit for code unit where possible.
    virtual String upper(StringView text) const = 0;
    // Date serial to the regional short date / time text, as the runtime's CStr does.
    virtual String formatDate(double serial) const = 0;
    // Date recognition under the regional formats; nullopt for text that is not a date.
    virtual std::optional<double> parseDate(StringView text) const = 0;
};

}  // namespace brv

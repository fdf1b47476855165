// Modal message boxes shown to the user of the hosting application.
#pragma once

#include "frame/text.h"

namespace brv::platform {

class Messages {
  public:
    virtual ~Messages() = default;
    // Shows `text` in a modal box with only an OK button and no icon, and returns when the user
    // has closed it. The answer is the platform's (1 for OK; 0 or less when no box could be
    // shown).
    virtual int showMessage(StringView text, StringView caption) const = 0;
};

}  // namespace brv::platform

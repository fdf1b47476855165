// VBObjectHelper: the hourglass pointer and row-count captions.
#pragma once

#include "frame/roster.h"
#include "frame/variant.h"
#include "platform/platform.h"

namespace brv {

class VBObjectHelper : public ClassObject {
  public:
    explicit VBObjectHelper(const platform::Platform& platform)
        : ClassObject(ClassId::VBObjectHelper), pointer_(*platform.pointer) {}

    // The hourglass over every window of the host for True (-1), the default pointer for any
    // other value (1 included): the raw automation boolean is what decides.
    void MouseHourGlass(const int16_t& Show) const;
    // "No Rows Returned", "1 Row Returned" or "<n> Rows Returned", as a String Variant.
    Variant fnRowsReturned(const int32_t& lngRowCount) const;

  private:
    const platform::MousePointer& pointer_;
};

}  // namespace brv

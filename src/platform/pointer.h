// The mouse pointer over the hosting application's windows.
#pragma once

namespace brv::platform {

class MousePointer {
  public:
    // The runtime's pointer codes.
    static constexpr int kDefault = 0;
    static constexpr int kHourglass = 11;

    virtual ~MousePointer() = default;
    // Shows `code` over every window of the hosting process until it is set again; kDefault
    // gives each window back its own pointer.
    virtual void setPointer(int code) const = 0;
};

}  // namespace brv::platform

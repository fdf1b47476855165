// The system clock.
#pragma once

namespace brv::platform {

class Clock {
  public:
    virtual ~Clock() = default;
    // The local date and time as an automation date, to the second, as the runtime's Now.
    virtual double now() const = 0;
};

}  // namespace brv::platform

// The hosting process.
#pragma once

#include "frame/text.h"

namespace brv::platform {

class Process {
  public:
    virtual ~Process() = default;
    // The process's command line without the program's own name: what the user typed after
    // it, as the platform reports it.
    virtual String commandLineArguments() const = 0;
};

}  // namespace brv::platform

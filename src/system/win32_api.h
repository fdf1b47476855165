// Win32API: system queries and shell operations.
#pragma once

#include "frame/roster.h"

namespace brv {

class Win32API : public ClassObject {
  public:
    Win32API() : ClassObject(ClassId::Win32API) {}
};

}  // namespace brv

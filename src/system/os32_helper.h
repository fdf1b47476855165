// OS32Helper: path and folder helpers.
#pragma once

#include "frame/roster.h"

namespace brv {

class OS32Helper : public ClassObject {
  public:
    OS32Helper() : ClassObject(ClassId::OS32Helper) {}
};

}  // namespace brv

// VBObjectHelper: the hourglass pointer and row-count captions.
#pragma once

#include "frame/roster.h"

namespace brv {

class VBObjectHelper : public ClassObject {
  public:
    VBObjectHelper() : ClassObject(ClassId::VBObjectHelper) {}
};

}  // namespace brv

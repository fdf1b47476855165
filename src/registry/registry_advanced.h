// CRegistryAdvanced: one registry key with values of every type.
#pragma once

#include "frame/roster.h"

namespace brv {

class CRegistryAdvanced : public ClassObject {
  public:
    CRegistryAdvanced() : ClassObject(ClassId::CRegistryAdvanced) {}
};

}  // namespace brv

// CRegistryBasic: one registry key with its text values and sub-keys.
#pragma once

#include "frame/roster.h"

namespace brv {

class CRegistryBasic : public ClassObject {
  public:
    CRegistryBasic() : ClassObject(ClassId::CRegistryBasic) {}
};

}  // namespace brv

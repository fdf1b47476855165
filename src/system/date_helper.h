// DateHelper: month arithmetic on automation dates.
#pragma once

#include "frame/roster.h"

namespace brv {

class DateHelper : public ClassObject {
  public:
    DateHelper() : ClassObject(ClassId::DateHelper) {}
};

}  // namespace brv

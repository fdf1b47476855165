// ArrayHelper: grows, searches, shrinks and splits client arrays in place.
#pragma once

#include "frame/roster.h"

namespace brv {

class ArrayHelper : public ClassObject {
public:
    ArrayHelper() : ClassObject(ClassId::ArrayHelper) {}
};

}  // namespace brv

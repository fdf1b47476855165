// ArrayCollectionHelper: a client array handled as an ordered, keyed collection.
#pragma once

#include "frame/roster.h"

namespace brv {

class ArrayCollectionHelper : public ClassObject {
public:
    ArrayCollectionHelper() : ClassObject(ClassId::ArrayCollectionHelper) {}
};

}  // namespace brv

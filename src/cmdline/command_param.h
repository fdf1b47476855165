// clsCommandParam: one parameter of a command line, its name and its value.
#pragma once

#include "frame/roster.h"

namespace brv {

class clsCommandParam : public ClassObject {
public:
    clsCommandParam() : ClassObject(ClassId::clsCommandParam) {}
};

}  // namespace brv

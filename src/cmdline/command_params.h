// CommandParams: the slash-switch command line as a keyed collection of parameters.
#pragma once

#include "frame/roster.h"

namespace brv {

class CommandParams : public ClassObject {
public:
    CommandParams() : ClassObject(ClassId::CommandParams) {}
};

}  // namespace brv

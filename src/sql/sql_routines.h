// SQLRoutines: a SELECT statement as up to ten selects of seven clauses.
#pragma once

#include "frame/roster.h"

namespace brv {

class SQLRoutines : public ClassObject {
public:
    SQLRoutines() : ClassObject(ClassId::SQLRoutines) {}
};

}  // namespace brv

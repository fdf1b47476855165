// Where a search or quoting routine puts its wildcard (kupEnumWildCardPosition).
#pragma once

#include <cstdint>

namespace brv {

enum WildCardPosition : int32_t {
    kupWildCardNone = 1,
    kupWildCardAfter = 2,
    kupWildCardBefore = 3,
    kupWildCardBeforeAndAfter = 4,
};

}  // namespace brv

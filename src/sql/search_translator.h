// Turns a search phrase that a user typed into a SQL condition over one field.
#pragma once

#include <cstdint>

#include "frame/text.h"

namespace brv {

// kupEnumWildCardPosition
enum WildCardPosition : int32_t {
    kupWildCardNone = 1,
    kupWildCardAfter = 2,
    kupWildCardBefore = 3,
    kupWildCardBeforeAndAfter = 4,
};

// Terms are cut at every " AND " (exact case, not overlapping) and taken as they stand. One
// term gives a bare comparison; several give "WHERE " and the comparisons joined by " AND ".
// A position outside 1 to 4 gives the empty string. Positions are Integers: a separator that
// begins beyond position 32762 raises error 6.
String translateSearch(StringView phrase, StringView field, int32_t position, StringView wildcard);

}  // namespace brv

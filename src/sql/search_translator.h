// Turns a search phrase that a user typed into a SQL condition over one field.
#pragma once

#include "frame/text.h"
#include "sql/wildcard_position.h"

namespace brv {

// Terms are cut at every " AND " (exact case, not overlapping) and taken as they stand. One
// term gives a bare comparison; several give "WHERE " and the comparisons joined by " AND ".
// A position outside 1 to 4 gives the empty string. Positions are Integers: a separator that
// begins beyond position 32762 raises error 6.
String translateSearch(StringView phrase, StringView field, int32_t position, StringView wildcard);

}  // namespace brv

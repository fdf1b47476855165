// Pieces that ArrayHelper and ArrayCollectionHelper share.
#pragma once

#include "frame/variant.h"

namespace brv::arrays {

// UBound of the first dimension: error 13 when the value holds no array, 9 when the array has
// no elements.
int32_t upperBound(const Variant& value);

// A bound held in an Integer: error 6 outside its range.
int16_t integerBound(int32_t bound);

// The empty array the helpers leave behind: one dimension from 0, no elements.
Array emptyArray(VarType elementType = VarType::Variant);

// Splits a delimited list into a one-dimensional, zero-based array of Strings, written to
// `returned`. Gives the number of separators, or 1 when there is none.
int16_t listToArray(Variant& returned, StringView list, StringView separator);

}  // namespace brv::arrays

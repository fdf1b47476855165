// ArrayHelper: grows, searches, shrinks and splits client arrays in place. Stateless; every
// array it creates or resizes is one-dimensional and zero-based.
#pragma once

#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

// kupEnumCompareMethod
enum CompareMethod : int32_t {
    kupCompareText = 1,
    kupCompareBinary = 0,
    kupCompareDatabase = 2,
};

class ArrayHelper : public ClassObject {
  public:
    explicit ArrayHelper(const platform::Platform& platform)
        : ClassObject(ClassId::ArrayHelper), locale_(*platform.regional) {}

    // A value that holds no array, or an array without elements, becomes a one-element array
    // and nothing else is consulted. Otherwise the array must be one-dimensional from 0 with
    // an upper bound that fits an Integer. A position beyond the new upper bound raises 9
    // after the array has grown.
    void AddElementToArray(Variant& MyArray, const Variant& ElementToAdd, bool ArrayIsUnique = true,
                           int32_t Compare = kupCompareText, int16_t AddPosition = -1);
    // Scans from index 0 whatever the lower bound; Null never compares equal. Errors 13 (no
    // array), 9 (no elements, an index outside the array), 6 (upper bound beyond an Integer).
    bool IsElementInArray(const Variant& MyArray, const Variant& ElementToCheck,
                          int32_t Compare = kupCompareText);
    // True when the element at ElementToRemove existed and was removed. A subscript error
    // anywhere leaves an empty array (the String variant: one empty String) and gives False.
    bool RemoveArrayItem(Variant& MyArray, int16_t ElementToRemove);
    bool RemoveStringArrayItem(Array& MyArray, int16_t ElementToRemove);
    int16_t ListToArray(Variant& ReturnedArray, const String& List,
                        const String& SeparatorCharacter);

  private:
    const Locale& locale_;
};

}  // namespace brv

#include "arrays/array_helper.h"

#include <optional>

#include "arrays/array_common.h"
#include "frame/convert.h"

namespace brv {

namespace {

CompareMode compareMode(int32_t compare) {
    switch (compare) {
        case kupCompareBinary:
        case -1:  // "use the module's setting", which is binary here
            return CompareMode::Binary;
        case kupCompareText:
            return CompareMode::Text;
        case kupCompareDatabase:
            return CompareMode::Database;
        default:
            raise(err::InvalidCall);
    }
}

// ReDim Preserve to bounds 0 to `upper`: only the upper bound of a one-dimensional array may
// change, so another lower bound or more dimensions raise 9.
void resizeFromZero(Array& a, int32_t upper) {
    if (a.dims() != 1 || a.lbound(1) != 0) raise(err::SubscriptOutOfRange);
    a.redimPreserve(upper);
}

enum class Removal { Removed, Absent, Emptied };

// Shared by both remove members; they differ only in what an emptied array becomes.
Removal removeItem(Array& a, int16_t index) {
    // Reading the upper bound of an array without elements fails with 9 as well.
    if (a.dims() == 0 || a.size() == 0) return Removal::Emptied;
    try {
        const int16_t upper = arrays::integerBound(a.ubound(1));
        if (upper < 1) return Removal::Emptied;
        for (int32_t i = index; i <= upper - 1; ++i) a.at(i) = std::move(a.at(i + 1));
        resizeFromZero(a, upper - 1);
        return index <= upper ? Removal::Removed : Removal::Absent;
    } catch (const Error& e) {
        if (e.number() != err::SubscriptOutOfRange) throw;
        return Removal::Emptied;
    }
}

// Whether an array that removeItem empties held the element asked for.
bool heldIndex(const Array& a, int16_t index) {
    return a.dims() >= 1 && a.size() != 0 && index >= a.lbound(1) && index <= a.ubound(1);
}

// Removes the element at `index`; when the array has to be emptied instead, `makeEmpty`
// replaces it. The answer is True only for an element that was there and is now gone.
template <typename MakeEmpty>
bool removeOrEmpty(Array& a, int16_t index, MakeEmpty makeEmpty) {
    const bool held = heldIndex(a, index);
    switch (removeItem(a, index)) {
        case Removal::Removed:
            return true;
        case Removal::Absent:
            return false;
        case Removal::Emptied:
            break;
    }
    const bool removedOnly = a.size() == 1 && held;
    makeEmpty();
    return removedOnly;
}

}  // namespace

bool ArrayHelper::IsElementInArray(const Variant& MyArray, const Variant& ElementToCheck,
                                   int32_t Compare) {
    const int16_t upper = arrays::integerBound(arrays::upperBound(MyArray));
    const Array& a = MyArray.array();
    std::optional<String> wanted;
    for (int32_t i = 0; i <= upper; ++i) {
        const Variant& element = a.at(i);
        const CompareMode mode = compareMode(Compare);
        if (element.isNull() || ElementToCheck.isNull()) continue;
        if (!wanted) wanted = toText(ElementToCheck, locale_);
        if (compareStrings(toText(element, locale_), *wanted, mode, locale_) == 0) return true;
    }
    return false;
}

void ArrayHelper::AddElementToArray(Variant& MyArray, const Variant& ElementToAdd,
                                    bool ArrayIsUnique, int32_t Compare, int16_t AddPosition) {
    int32_t upper = 0;
    try {
        upper = arrays::upperBound(MyArray);
    } catch (const Error&) {
        MyArray = Variant(Array::vector({ElementToAdd}));
        return;
    }
    arrays::integerBound(upper);
    if (ArrayIsUnique && IsElementInArray(MyArray, ElementToAdd, Compare)) return;

    Array& a = MyArray.array();
    resizeFromZero(a, upper + 1);
    if (AddPosition < 0) {
        a.set(upper + 1, ElementToAdd, locale_);
        return;
    }
    for (int32_t i = upper; i >= AddPosition; --i) a.at(i + 1) = std::move(a.at(i));
    a.set(AddPosition, ElementToAdd, locale_);
}

bool ArrayHelper::RemoveArrayItem(Variant& MyArray, int16_t ElementToRemove) {
    if (!MyArray.isArray()) raise(err::TypeMismatch);
    return removeOrEmpty(MyArray.array(), ElementToRemove,
                         [&] { MyArray = Variant(arrays::emptyArray()); });
}

bool ArrayHelper::RemoveStringArrayItem(Array& MyArray, int16_t ElementToRemove) {
    return removeOrEmpty(MyArray, ElementToRemove, [&] {
        MyArray = Array(VarType::String, {Bound{0, 1}});
    });
}

int16_t ArrayHelper::ListToArray(Variant& ReturnedArray, const String& List,
                                 const String& SeparatorCharacter) {
    return arrays::listToArray(ReturnedArray, List, SeparatorCharacter);
}

}  // namespace brv

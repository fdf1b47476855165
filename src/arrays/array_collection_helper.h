// ArrayCollectionHelper: a client array handled as an ordered, keyed collection. The elements
// live in a collection that exists only while there is something to hold; the array is
// rebuilt from it when the client reads ClientArray.
#pragma once

#include <memory>

#include "frame/collection.h"
#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

class ArrayCollectionHelper : public ClassObject {
  public:
    explicit ArrayCollectionHelper(const platform::Platform& platform)
        : ClassObject(ClassId::ArrayCollectionHelper), locale_(*platform.regional) {}

    // Stored and returned; nothing consults it.
    bool get_RejectEmptyItems() const { return rejectEmptyItems_; }
    void let_RejectEmptyItems(bool value) { rejectEmptyItems_ = value; }
    // Governs later Add calls and assignments, not the elements already held.
    bool get_ArrayIsUnique() const { return arrayIsUnique_; }
    void let_ArrayIsUnique(bool value) { arrayIsUnique_ = value; }

    int32_t get_Count() const;  // error 91 while there is no collection
    Variant get_ClientArray();
    // Never fails: elements that cannot be read or keyed are skipped.
    void let_ClientArray(const Variant& vNewValue);
    // Positions count from 1; 0 or more inserts before that position.
    void Add(const Variant& ElementToAdd, const Variant& key = Variant::missing(),
             int16_t AddPosition = -1);
    void Remove(int16_t ElementToRemove);
    int16_t ListToArray(Variant& ReturnedArray, const String& List,
                        const String& SeparatorCharacter);

  private:
    const Locale& locale_;
    Variant clientArray_;
    std::unique_ptr<Collection> items_;
    bool arrayIsUnique_ = false;
    bool rejectEmptyItems_ = true;
};

}  // namespace brv

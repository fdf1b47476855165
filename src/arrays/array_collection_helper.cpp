#include "arrays/array_collection_helper.h"

#include <algorithm>

#include "arrays/array_common.h"
#include "frame/convert.h"

namespace brv {

int32_t ArrayCollectionHelper::get_Count() const {
    if (!items_) raise(err::ObjectNotSet);
    return items_->count();
}

Variant ArrayCollectionHelper::get_ClientArray() {
    if (!items_ || items_->count() == 0) {
        clientArray_ = Variant();
        return clientArray_;
    }
    clientArray_ = Variant(Array::vector(items_->snapshot()));
    return clientArray_;
}

void ArrayCollectionHelper::let_ClientArray(const Variant& vNewValue) {
    clientArray_ = vNewValue;
    int32_t upper = 0;
    try {
        upper = arrays::upperBound(clientArray_);
    } catch (const Error&) {
        items_.reset();
        return;
    }
    auto items = std::make_unique<Collection>(locale_);
    const Array& a = clientArray_.array();
    // The index is an Integer: the walk ends where it would overflow.
    const int32_t last = std::min(upper, int32_t{32767});
    for (int32_t i = 0; i <= last; ++i) {
        try {
            const Variant& element = a.at(i);
            if (arrayIsUnique_)
                items->add(element, toText(element, locale_));
            else
                items->add(element);
        } catch (const Error&) {
            // Skipped: an index outside the array, or a key that is refused.
        }
    }
    items_ = std::move(items);
}

void ArrayCollectionHelper::Add(const Variant& ElementToAdd, const Variant& key,
                                int16_t AddPosition) {
    if (!items_) items_ = std::make_unique<Collection>(locale_);
    std::optional<int32_t> before;
    if (AddPosition >= 0) before = AddPosition;
    if (arrayIsUnique_)
        items_->add(ElementToAdd, toText(key.isMissing() ? ElementToAdd : key, locale_), before);
    else
        items_->add(ElementToAdd, std::nullopt, before);
}

void ArrayCollectionHelper::Remove(int16_t ElementToRemove) {
    if (!items_) raise(err::ObjectNotSet);
    items_->removeAt(ElementToRemove);
    if (items_->count() == 0) items_.reset();
}

int16_t ArrayCollectionHelper::ListToArray(Variant& ReturnedArray, const String& List,
                                           const String& SeparatorCharacter) {
    return arrays::listToArray(ReturnedArray, List, SeparatorCharacter);
}

}  // namespace brv

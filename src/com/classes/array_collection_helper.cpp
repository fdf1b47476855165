// ArrayCollectionHelper as clients see it: each member of _ArrayCollectionHelper calls the core
// member of the same name.
#include "arrays/array_collection_helper.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class ArrayCollectionHelperCom final : public Dispatch<_ArrayCollectionHelper> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP get_RejectEmptyItems(VARIANT_BOOL* result) override {
        return call(&ArrayCollectionHelper::get_RejectEmptyItems, result);
    }
    STDMETHODIMP put_RejectEmptyItems(VARIANT_BOOL* newValue) override {
        return call(&ArrayCollectionHelper::let_RejectEmptyItems, newValue);
    }
    STDMETHODIMP get_ArrayIsUnique(VARIANT_BOOL* result) override {
        return call(&ArrayCollectionHelper::get_ArrayIsUnique, result);
    }
    STDMETHODIMP put_ArrayIsUnique(VARIANT_BOOL* newValue) override {
        return call(&ArrayCollectionHelper::let_ArrayIsUnique, newValue);
    }
    STDMETHODIMP get_Count(LONG* result) override {
        return call(&ArrayCollectionHelper::get_Count, result);
    }
    STDMETHODIMP get_ClientArray(VARIANT* result) override {
        return call(&ArrayCollectionHelper::get_ClientArray, result);
    }
    STDMETHODIMP put_ClientArray(VARIANT* newValue) override {
        return call(&ArrayCollectionHelper::let_ClientArray, newValue);
    }
    STDMETHODIMP Add(VARIANT* ElementToAdd, VARIANT* key, short* AddPosition) override {
        return call(&ArrayCollectionHelper::Add, ElementToAdd, key, AddPosition);
    }
    STDMETHODIMP Remove(short ElementToRemove) override {
        return call(&ArrayCollectionHelper::Remove, ElementToRemove);
    }
    STDMETHODIMP ListToArray(VARIANT* ReturnedArray, BSTR List, BSTR SeparatorCharacter,
                             short* result) override {
        return call(&ArrayCollectionHelper::ListToArray, ReturnedArray, List, SeparatorCharacter,
                    result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(ArrayCollectionHelper, ArrayCollectionHelperCom)

}  // namespace brv::com

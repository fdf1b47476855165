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
        return notWired(u"RejectEmptyItems", result);
    }
    STDMETHODIMP put_RejectEmptyItems(VARIANT_BOOL* newValue) override {
        return notWired(u"RejectEmptyItems", newValue);
    }
    STDMETHODIMP get_ArrayIsUnique(VARIANT_BOOL* result) override {
        return notWired(u"ArrayIsUnique", result);
    }
    STDMETHODIMP put_ArrayIsUnique(VARIANT_BOOL* newValue) override {
        return notWired(u"ArrayIsUnique", newValue);
    }
    STDMETHODIMP get_Count(LONG* result) override { return notWired(u"Count", result); }
    STDMETHODIMP get_ClientArray(VARIANT* result) override {
        return notWired(u"ClientArray", result);
    }
    STDMETHODIMP put_ClientArray(VARIANT* newValue) override {
        return notWired(u"ClientArray", newValue);
    }
    STDMETHODIMP Add(VARIANT* ElementToAdd, VARIANT* key, short* AddPosition) override {
        return notWired(u"Add", ElementToAdd, key, AddPosition);
    }
    STDMETHODIMP Remove(short ElementToRemove) override {
        return notWired(u"Remove", ElementToRemove);
    }
    STDMETHODIMP ListToArray(VARIANT* ReturnedArray, BSTR List, BSTR SeparatorCharacter,
                             short* result) override {
        return notWired(u"ListToArray", ReturnedArray, List, SeparatorCharacter, result);
    }
};

using Binder = Bind<ArrayCollectionHelperCom, ArrayCollectionHelper>;

}  // namespace

const ClassBinding kArrayCollectionHelperBinding{
    ClassId::ArrayCollectionHelper, &__uuidof(::ArrayCollectionHelper),
    &__uuidof(_ArrayCollectionHelper), &Binder::wrap, &Binder::create};

}  // namespace brv::com

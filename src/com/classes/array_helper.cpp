// ArrayHelper as clients see it: each member of _ArrayHelper calls the core member of the same
// name.
#include "arrays/array_helper.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class ArrayHelperCom final : public Dispatch<_ArrayHelper> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP AddElementToArray(VARIANT* MyArray, VARIANT* ElementToAdd,
                                   VARIANT_BOOL* ArrayIsUnique, kupEnumCompareMethod* Compare,
                                   short* AddPosition) override {
        return call(&ArrayHelper::AddElementToArray, MyArray, ElementToAdd, ArrayIsUnique, Compare,
                    AddPosition);
    }
    STDMETHODIMP IsElementInArray(VARIANT* MyArray, VARIANT* ElementToCheck,
                                  kupEnumCompareMethod* Compare, VARIANT_BOOL* result) override {
        return call(&ArrayHelper::IsElementInArray, MyArray, ElementToCheck, Compare, result);
    }
    STDMETHODIMP RemoveArrayItem(VARIANT* MyArray, short ElementToRemove,
                                 VARIANT_BOOL* result) override {
        return call(&ArrayHelper::RemoveArrayItem, MyArray, ElementToRemove, result);
    }
    STDMETHODIMP RemoveStringArrayItem(SAFEARRAY** MyArray, short ElementToRemove,
                                       VARIANT_BOOL* result) override {
        return call(&ArrayHelper::RemoveStringArrayItem, MyArray, ElementToRemove, result);
    }
    STDMETHODIMP ListToArray(VARIANT* ReturnedArray, BSTR List, BSTR SeparatorCharacter,
                             short* result) override {
        return call(&ArrayHelper::ListToArray, ReturnedArray, List, SeparatorCharacter, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(ArrayHelper, ArrayHelperCom)

}  // namespace brv::com

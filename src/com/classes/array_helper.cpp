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
        // A position beyond the grown array fails after the growth, and the caller's variable
        // shows it, as it would for any variable passed by reference: so the array is written
        // back on failure as well.
        try {
            Variant array, element;
            bool unique = true;
            int32_t compare = 0;
            int16_t position = 0;
            load(MyArray, array);
            load(ElementToAdd, element);
            load(ArrayIsUnique, unique);
            load(Compare, compare);
            load(AddPosition, position);
            auto& helper = static_cast<ArrayHelper&>(*core_);
            const std::size_t before = array.isArray() ? array.array().size() : 0;
            try {
                helper.AddElementToArray(array, element, unique, compare, position);
            } catch (const Error&) {
                // Only a failure after the growth changed anything.
                if (array.isArray() && array.array().size() != before) {
                    try {
                        store(array, MyArray, false);
                    } catch (...) {
                        // The error of the member is the one to report.
                    }
                }
                throw;
            }
            store(array, MyArray, false);
            return S_OK;
        } catch (...) {
            return reportCurrentException(info_, __uuidof(_ArrayHelper));
        }
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

using Binder = Bind<ArrayHelperCom, ArrayHelper>;

}  // namespace

const ClassBinding kArrayHelperBinding{ClassId::ArrayHelper, &__uuidof(::ArrayHelper),
                                       &__uuidof(_ArrayHelper), &Binder::wrap, &Binder::create};

}  // namespace brv::com

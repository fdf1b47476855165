// VBObjectHelper as clients see it: each member of _VBObjectHelper calls the core member of the
// same name.
#include "system/vb_object_helper.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class VBObjectHelperCom final : public Dispatch<_VBObjectHelper> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP MouseHourGlass(VARIANT_BOOL* Show) override {
        return call(&VBObjectHelper::MouseHourGlass, Show);
    }
    STDMETHODIMP fnRowsReturned(LONG* lngRowCount, VARIANT* result) override {
        return call(&VBObjectHelper::fnRowsReturned, lngRowCount, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(VBObjectHelper, VBObjectHelperCom)

}  // namespace brv::com

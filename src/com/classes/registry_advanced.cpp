// CRegistryAdvanced as clients see it: each member of _CRegistryAdvanced calls the core member
// of the same name; the members it shares with CRegistryBasic are in registry_key.h.
#include "registry/registry_advanced.h"

#include "com/classes.h"
#include "com/classes/registry_key.h"
#include "com/idl.h"

namespace brv::com {
namespace {

class CRegistryAdvancedCom final : public RegistryKeyCom<_CRegistryAdvanced, CRegistryAdvanced> {
  public:
    using RegistryKeyCom::RegistryKeyCom;

    STDMETHODIMP SetValue(VARIANT* sKeyName, VARIANT* sValue, kupEnumRegTypes* regType,
                          VARIANT_BOOL* result) override {
        return call(&CRegistryAdvanced::SetValue, sKeyName, sValue, regType, result);
    }
    STDMETHODIMP get_Access(LONG* result) override {
        return call(&CRegistryAdvanced::get_Access, result);
    }
    STDMETHODIMP put_Access(LONG lNewValue) override {
        return call(&CRegistryAdvanced::let_Access, lNewValue);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(CRegistryAdvanced, CRegistryAdvancedCom)

}  // namespace brv::com

// CRegistryBasic as clients see it: each member of _CRegistryBasic calls the core member of the
// same name; the members it shares with CRegistryAdvanced are in registry_key.h.
#include "registry/registry_basic.h"

#include "com/classes.h"
#include "com/classes/registry_key.h"
#include "com/idl.h"

namespace brv::com {
namespace {

class CRegistryBasicCom final : public RegistryKeyCom<_CRegistryBasic, CRegistryBasic> {
  public:
    using RegistryKeyCom::RegistryKeyCom;

    STDMETHODIMP GetSubKey(short* iIndex, BSTR* result) override {
        return call(&CRegistryBasic::GetSubKey, iIndex, result);
    }
    STDMETHODIMP Refresh() override { return call(&CRegistryBasic::Refresh); }
    STDMETHODIMP ExportKey(BSTR* strFilename) override {
        return call(&CRegistryBasic::ExportKey, strFilename);
    }
    STDMETHODIMP ImportKey(BSTR* strFilename) override {
        return call(&CRegistryBasic::ImportKey, strFilename);
    }
    STDMETHODIMP SetValue(VARIANT* sKeyName, BSTR* sValue, VARIANT_BOOL* result) override {
        return call(&CRegistryBasic::SetValue, sKeyName, sValue, result);
    }
    STDMETHODIMP get_SubKeyCount(short* result) override {
        return call(&CRegistryBasic::get_SubKeyCount, result);
    }
    STDMETHODIMP put_SubKeyCount(short iNewValue) override {
        return call(&CRegistryBasic::let_SubKeyCount, iNewValue);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(CRegistryBasic, CRegistryBasicCom)

}  // namespace brv::com

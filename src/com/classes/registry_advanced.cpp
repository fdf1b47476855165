// CRegistryAdvanced as clients see it: each member of _CRegistryAdvanced calls the core member of
// the same name.
#include "registry/registry_advanced.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class CRegistryAdvancedCom final : public Dispatch<_CRegistryAdvanced> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP DeleteValue(BSTR* sValue, VARIANT_BOOL* result) override {
        return notWired(u"DeleteValue", sValue, result);
    }
    STDMETHODIMP GetName(short iRequest, BSTR* result) override {
        return notWired(u"GetName", iRequest, result);
    }
    STDMETHODIMP GetValue(VARIANT vRequest, BSTR* result) override {
        return notWired(u"GetValue", vRequest, result);
    }
    STDMETHODIMP DeleteKey(BSTR KeyName, VARIANT_BOOL* result) override {
        return notWired(u"DeleteKey", KeyName, result);
    }
    STDMETHODIMP Create(BSTR KeyName, VARIANT sKeyName, BSTR sValue, short* result) override {
        return notWired(u"Create", KeyName, sKeyName, sValue, result);
    }
    STDMETHODIMP SetValue(VARIANT* sKeyName, VARIANT* sValue, kupEnumRegTypes* regType,
                          VARIANT_BOOL* result) override {
        return notWired(u"SetValue", sKeyName, sValue, regType, result);
    }
    STDMETHODIMP put_Default(BSTR strKeyString) override {
        return notWired(u"Default", strKeyString);
    }
    STDMETHODIMP put_ValueCount(short* vl) override { return notWired(u"ValueCount", vl); }
    STDMETHODIMP get_ValueCount(short* result) override { return notWired(u"ValueCount", result); }
    STDMETHODIMP get_Default(BSTR* result) override { return notWired(u"Default", result); }
    STDMETHODIMP put_AutoCreate(VARIANT_BOOL vData) override {
        return notWired(u"AutoCreate", vData);
    }
    STDMETHODIMP get_AutoCreate(VARIANT_BOOL* result) override {
        return notWired(u"AutoCreate", result);
    }
    STDMETHODIMP put_key(BSTR vData) override { return notWired(u"key", vData); }
    STDMETHODIMP get_key(BSTR* result) override { return notWired(u"key", result); }
    STDMETHODIMP put_Root(kupEnumRootValues vData) override { return notWired(u"Root", vData); }
    STDMETHODIMP get_Root(kupEnumRootValues* result) override { return notWired(u"Root", result); }
    STDMETHODIMP get_Access(LONG* result) override { return notWired(u"Access", result); }
    STDMETHODIMP put_Access(LONG lNewValue) override { return notWired(u"Access", lNewValue); }
};

}  // namespace

BREVANTO_BIND_CLASS(CRegistryAdvanced, CRegistryAdvancedCom)

}  // namespace brv::com

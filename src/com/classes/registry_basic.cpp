// CRegistryBasic as clients see it: each member of _CRegistryBasic calls the core member of the
// same name.
#include "registry/registry_basic.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class CRegistryBasicCom final : public Dispatch<_CRegistryBasic> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP DeleteValue(BSTR* sValue, VARIANT_BOOL* result) override {
        return notWired(u"DeleteValue", sValue, result);
    }
    STDMETHODIMP GetName(short iRequest, BSTR* result) override {
        return notWired(u"GetName", iRequest, result);
    }
    STDMETHODIMP GetSubKey(short* iIndex, BSTR* result) override {
        return notWired(u"GetSubKey", iIndex, result);
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
    STDMETHODIMP Refresh() override { return notWired(u"Refresh"); }
    STDMETHODIMP ExportKey(BSTR* strFilename) override {
        return notWired(u"ExportKey", strFilename);
    }
    STDMETHODIMP ImportKey(BSTR* strFilename) override {
        return notWired(u"ImportKey", strFilename);
    }
    STDMETHODIMP SetValue(VARIANT* sKeyName, BSTR* sValue, VARIANT_BOOL* result) override {
        return notWired(u"SetValue", sKeyName, sValue, result);
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
    STDMETHODIMP get_SubKeyCount(short* result) override {
        return notWired(u"SubKeyCount", result);
    }
    STDMETHODIMP put_SubKeyCount(short iNewValue) override {
        return notWired(u"SubKeyCount", iNewValue);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(CRegistryBasic, CRegistryBasicCom)

}  // namespace brv::com

// The members that _CRegistryBasic and _CRegistryAdvanced declare alike, written once for both
// adapters: each calls the core member of the same name.
#pragma once

#include "com/idl.h"
#include "com/object.h"

namespace brv::com {

template <typename Itf, typename Core>
class RegistryKeyCom : public Dispatch<Itf> {
  public:
    using Dispatch<Itf>::Dispatch;

    STDMETHODIMP DeleteValue(BSTR* sValue, VARIANT_BOOL* result) override {
        return this->call(&Core::DeleteValue, sValue, result);
    }
    STDMETHODIMP GetName(short iRequest, BSTR* result) override {
        return this->call(&Core::GetName, iRequest, result);
    }
    STDMETHODIMP GetValue(VARIANT vRequest, BSTR* result) override {
        return this->call(&Core::GetValue, vRequest, result);
    }
    STDMETHODIMP DeleteKey(BSTR KeyName, VARIANT_BOOL* result) override {
        return this->call(&Core::DeleteKey, KeyName, result);
    }
    STDMETHODIMP Create(BSTR KeyName, VARIANT sKeyName, BSTR sValue, short* result) override {
        return this->call(&Core::Create, KeyName, sKeyName, sValue, result);
    }
    STDMETHODIMP put_Default(BSTR strKeyString) override {
        return this->call(&Core::let_Default, strKeyString);
    }
    STDMETHODIMP put_ValueCount(short* vl) override {
        return this->call(&Core::let_ValueCount, vl);
    }
    STDMETHODIMP get_ValueCount(short* result) override {
        return this->call(&Core::get_ValueCount, result);
    }
    STDMETHODIMP get_Default(BSTR* result) override {
        return this->call(&Core::get_Default, result);
    }
    STDMETHODIMP put_AutoCreate(VARIANT_BOOL vData) override {
        return this->call(&Core::let_AutoCreate, vData);
    }
    STDMETHODIMP get_AutoCreate(VARIANT_BOOL* result) override {
        return this->call(&Core::get_AutoCreate, result);
    }
    STDMETHODIMP put_key(BSTR vData) override { return this->call(&Core::let_key, vData); }
    STDMETHODIMP get_key(BSTR* result) override { return this->call(&Core::get_key, result); }
    STDMETHODIMP put_Root(kupEnumRootValues vData) override {
        return this->call(&Core::let_Root, vData);
    }
    STDMETHODIMP get_Root(kupEnumRootValues* result) override {
        return this->call(&Core::get_Root, result);
    }
};

}  // namespace brv::com

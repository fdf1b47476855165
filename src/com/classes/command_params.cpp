// CommandParams as clients see it: each member of _CommandParams calls the core member of the same
// name.
#include "cmdline/command_params.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class CommandParamsCom final : public Dispatch<_CommandParams> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP get_CommandLine(BSTR* result) override {
        return call(&CommandParams::get_CommandLine, result);
    }
    STDMETHODIMP put_CommandLine(BSTR* vNewValue) override {
        return call(&CommandParams::let_CommandLine, vNewValue);
    }
    STDMETHODIMP get_Item(VARIANT* vntIndexKey, _clsCommandParam** result) override {
        return call(&CommandParams::get_Item, vntIndexKey, result);
    }
    STDMETHODIMP get_Count(LONG* result) override {
        return call(&CommandParams::get_Count, result);
    }
    STDMETHODIMP GetCommandLineItem(BSTR* strParamName, VARIANT* result) override {
        return call(&CommandParams::GetCommandLineItem, strParamName, result);
    }
    STDMETHODIMP FindCommandLineItem(BSTR* strParamName, VARIANT_BOOL* result) override {
        return call(&CommandParams::FindCommandLineItem, strParamName, result);
    }
    STDMETHODIMP ParseCommandLine() override { return call(&CommandParams::ParseCommandLine); }
    STDMETHODIMP get_NewEnum(IUnknown** result) override {
        return call(&CommandParams::get_NewEnum, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(CommandParams, CommandParamsCom)

}  // namespace brv::com

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

    STDMETHODIMP get_CommandLine(BSTR* result) override { return notWired(u"CommandLine", result); }
    STDMETHODIMP put_CommandLine(BSTR* vNewValue) override {
        return notWired(u"CommandLine", vNewValue);
    }
    STDMETHODIMP get_Item(VARIANT* vntIndexKey, _clsCommandParam** result) override {
        return notWired(u"Item", vntIndexKey, result);
    }
    STDMETHODIMP get_Count(LONG* result) override { return notWired(u"Count", result); }
    STDMETHODIMP GetCommandLineItem(BSTR* strParamName, VARIANT* result) override {
        return notWired(u"GetCommandLineItem", strParamName, result);
    }
    STDMETHODIMP FindCommandLineItem(BSTR* strParamName, VARIANT_BOOL* result) override {
        return notWired(u"FindCommandLineItem", strParamName, result);
    }
    STDMETHODIMP ParseCommandLine() override { return notWired(u"ParseCommandLine"); }
    STDMETHODIMP get_NewEnum(IUnknown** result) override { return notWired(u"NewEnum", result); }
};

using Binder = Bind<CommandParamsCom, CommandParams>;

}  // namespace

const ClassBinding kCommandParamsBinding{ClassId::CommandParams, &__uuidof(::CommandParams),
                                         &__uuidof(_CommandParams), &Binder::wrap, &Binder::create};

}  // namespace brv::com

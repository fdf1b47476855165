// clsCommandParam as clients see it: each member of _clsCommandParam calls the core member of the
// same name.
#include "cmdline/command_param.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class clsCommandParamCom final : public Dispatch<_clsCommandParam> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP put_ParamValue(BSTR vData) override {
        return call(&clsCommandParam::let_ParamValue, vData);
    }
    STDMETHODIMP get_ParamValue(BSTR* result) override {
        return call(&clsCommandParam::get_ParamValue, result);
    }
    STDMETHODIMP put_ParamName(BSTR vData) override {
        return call(&clsCommandParam::let_ParamName, vData);
    }
    STDMETHODIMP get_ParamName(BSTR* result) override {
        return call(&clsCommandParam::get_ParamName, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(clsCommandParam, clsCommandParamCom)

}  // namespace brv::com

#include "com/errors.h"

#include <new>

#include "com/raii.h"
#include "com/values.h"

namespace brv::com {

HRESULT hresultOf(int32_t number) {
    if (number < 0) return static_cast<HRESULT>(number);
    if (number == 0 || number > 0xFFFF) return E_FAIL;
    return static_cast<HRESULT>(0x800A0000u | static_cast<uint32_t>(number));
}

HRESULT reportError(const Error& e, const ClassInfo& cls, REFIID iid) noexcept {
    HRESULT hr = hresultOf(e.number());
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return hr;
    const String& source = e.source().empty() ? String(cls.progId) : e.source();
    std::wstring src(source.begin(), source.end());
    std::wstring desc(e.description().begin(), e.description().end());
    create->SetGUID(iid);
    create->SetSource(src.data());
    create->SetDescription(desc.data());
    auto info = create.query<IErrorInfo>(IID_IErrorInfo);
    SetErrorInfo(0, info.get());
    return hr;
}

HRESULT reportCurrentException(const ClassInfo& cls, REFIID iid) noexcept {
    try {
        throw;
    } catch (const Error& e) {
        return reportError(e, cls, iid);
    } catch (const HresultError& e) {
        return reportPlain(e.hr);
    } catch (const std::bad_alloc&) {
        return reportError(Error(err::OutOfMemory), cls, iid);
    } catch (...) {
        return reportError(Error(51), cls, iid);  // internal error
    }
}

HRESULT reportPlain(HRESULT hr) noexcept {
    SetErrorInfo(0, nullptr);
    return hr;
}

void fillExcepInfo(EXCEPINFO* ei, HRESULT hr) noexcept {
    if (!ei) return;
    *ei = EXCEPINFO{};
    ei->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        info->GetSource(&ei->bstrSource);
        info->GetDescription(&ei->bstrDescription);
        info->GetHelpFile(&ei->bstrHelpFile);
        info->GetHelpContext(&ei->dwHelpContext);
    }
}

}  // namespace brv::com

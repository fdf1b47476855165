#include "com/errors.h"

#include <new>

#include "com/raii.h"
#include "frame/text.h"

namespace brv::com {

namespace {

// Sets the thread's error information; a failure to build it leaves none, never an exception.
void setErrorInfo(const Error& e, const ClassInfo* cls, REFIID iid) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) {
        SetErrorInfo(0, nullptr);
        return;
    }
    const StringView source = !e.source().empty() ? StringView(e.source())
                              : cls               ? cls->progId
                                                  : kLibraryName;
    // SetSource and SetDescription copy the text; they need it terminated.
    Bstr src(SysAllocStringLen(wideChars(source), static_cast<UINT>(source.size())));
    Bstr desc(
        SysAllocStringLen(wideChars(e.description()), static_cast<UINT>(e.description().size())));
    create->SetGUID(iid);
    create->SetSource(src.get());
    create->SetDescription(desc.get());
    auto info = create.query<IErrorInfo>(IID_IErrorInfo);
    SetErrorInfo(0, info.get());
}

HRESULT reportError(int32_t number, const ClassInfo* cls, REFIID iid) noexcept {
    try {
        const Error e(number);
        setErrorInfo(e, cls, iid);
    } catch (...) {
        SetErrorInfo(0, nullptr);  // no memory even for the standard text
    }
    return hresultOf(number);
}

}  // namespace

HRESULT hresultOf(int32_t number) noexcept {
    if (number < 0) return static_cast<HRESULT>(number);
    if (number == 0 || number > 0xFFFF) return E_FAIL;
    return static_cast<HRESULT>(0x800A0000u | static_cast<uint32_t>(number));
}

HRESULT report(const ClassInfo* cls, REFIID iid) noexcept {
    try {
        throw;
    } catch (const Error& e) {
        setErrorInfo(e, cls, iid);
        return hresultOf(e.number());
    } catch (const Fault& f) {
        SetErrorInfo(0, nullptr);
        return f.hr;
    } catch (const std::bad_alloc&) {
        return reportError(err::OutOfMemory, cls, iid);
    } catch (...) {
        return reportError(err::InternalError, cls, iid);
    }
}

bool takeErrorInfo(EXCEPINFO* ei, HRESULT hr) noexcept {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return false;
    if (!ei) {
        SetErrorInfo(0, info.get());  // left for the caller to read
        return true;
    }
    *ei = EXCEPINFO{};
    ei->scode = hr;
    info->GetSource(&ei->bstrSource);
    info->GetDescription(&ei->bstrDescription);
    info->GetHelpFile(&ei->bstrHelpFile);
    info->GetHelpContext(&ei->dwHelpContext);
    return true;
}

}  // namespace brv::com

// What the C++ test clients share: an owned BSTR that a call can fill through `&x.b`, and an
// owned VARIANT.
#pragma once

#include <oleauto.h>

#include <string>

struct Bstr {
    BSTR b;
    explicit Bstr(const wchar_t* s = nullptr) : b(s ? SysAllocString(s) : nullptr) {}
    // Keeps embedded NULs.
    explicit Bstr(const std::wstring& s)
        : b(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { SysFreeString(b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    std::wstring text() const { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }
};

struct Var {
    VARIANT v;
    Var() { VariantInit(&v); }
    ~Var() { VariantClear(&v); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
    static void missing(VARIANT& v) {
        VariantInit(&v);
        v.vt = VT_ERROR;
        v.scode = DISP_E_PARAMNOTFOUND;
    }
};

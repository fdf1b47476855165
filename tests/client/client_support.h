// What the C++ test clients share: an owned BSTR that a call can fill through `&x.b`.
#pragma once

#include <oleauto.h>

#include <string>

struct Bstr {
    BSTR b;
    explicit Bstr(const wchar_t* s = nullptr) : b(s ? SysAllocString(s) : nullptr) {}
    ~Bstr() { SysFreeString(b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    std::wstring text() const { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }
};

// Reads a type library (a .tlb, or the one in a module's resources) into plain values: the
// library, then each type in library order: enumerations with their values, interfaces with
// their members in slot order (for a dual interface, its vtable view), classes with the
// interfaces they implement. The type-library dump of the client tests and the reference
// generator both read through here, so that what one checks is what the other documents.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "com/raii.h"

namespace brv::typelib {

struct Type {
    VARTYPE vt = VT_EMPTY;
    std::string name;           // VT_USERDEFINED: the referenced type's name ("?" if unknown)
    TYPEKIND kind = TKIND_MAX;  // VT_USERDEFINED: the referenced type's kind
    std::vector<Type> inner;    // VT_PTR, VT_SAFEARRAY: the one pointed-to or element type
};

struct Param {
    std::string name;  // empty where the library names none (the value a property assigns)
    Type type;
    USHORT flags = 0;  // PARAMFLAG_*
    bool hasDefault = false;
    bool stringDefault = false;  // the default is a String; defaultText holds it unquoted
    std::string defaultText;
};

struct Member {
    std::string name;
    std::optional<std::string> help;
    INVOKEKIND kind = INVOKE_FUNC;
    MEMBERID id = 0;
    int slot = 0;
    bool restricted = false;
    std::vector<Param> params;   // in order, without the result
    std::optional<Type> result;  // the [retval] parameter's type
};

struct Interface {
    std::string name;
    std::optional<std::string> help;
    bool dual = false;
    std::vector<Member> members;
};

struct EnumValue {
    std::string name;
    std::string value;  // as text
};

struct Enum {
    std::string name;
    std::optional<std::string> help;
    std::vector<EnumValue> values;
};

struct Implemented {
    std::string name;
    bool isDefault = false;
};

struct CoClass {
    std::string name;
    std::optional<std::string> help;
    bool creatable = false;
    std::vector<Implemented> interfaces;
};

struct Other {
    std::string name;
    int kind = 0;
};

using Entry = std::variant<Enum, Interface, CoClass, Other>;

struct Library {
    std::string name;
    std::optional<std::string> help;
    unsigned major = 0, minor = 0;
    unsigned long lcid = 0;
    std::vector<Entry> entries;
};

inline std::string narrow(const wchar_t* s) {
    if (!s || !*s) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

namespace detail {

inline std::string nameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    com::Bstr name;
    info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return narrow(name.get());
}

inline std::optional<std::string> helpOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    com::Bstr doc;
    info->GetDocumentation(id, nullptr, doc.put(), nullptr, nullptr);
    if (!doc.get()) return std::nullopt;
    return narrow(doc.get());
}

inline Type typeOf(ITypeInfo* info, const TYPEDESC& t) {
    Type out;
    out.vt = t.vt;
    if ((t.vt == VT_PTR || t.vt == VT_SAFEARRAY) && t.lptdesc) {
        out.inner.push_back(typeOf(info, *t.lptdesc));
    } else if (t.vt == VT_USERDEFINED) {
        com::ComPtr<ITypeInfo> ref;
        out.name = "?";
        if (SUCCEEDED(info->GetRefTypeInfo(t.hreftype, ref.put()))) {
            out.name = nameOf(ref.get());
            com::TypeAttr attr(ref.get());
            if (SUCCEEDED(attr.result())) out.kind = attr->typekind;
        }
    }
    return out;
}

inline std::string valueText(const VARIANT& v) {
    if (v.vt == VT_BSTR) return narrow(v.bstrVal);
    com::UniqueVariant s;
    if (FAILED(VariantChangeType(s.get(), const_cast<VARIANT*>(&v), 0, VT_BSTR))) return "?";
    return narrow(s->bstrVal);
}

inline Interface readInterface(ITypeInfo* info) {
    Interface out;
    out.name = nameOf(info);
    out.help = helpOf(info);
    com::TypeAttr attr(info);
    if (FAILED(attr.result())) return out;
    out.dual = (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        com::FuncDesc f(info, i);
        if (FAILED(f.result())) continue;
        BSTR raw[32] = {};
        UINT got = 0;
        info->GetNames(f->memid, raw, 32, &got);
        std::vector<com::Bstr> names;
        for (UINT n = 0; n < got; ++n) names.emplace_back(raw[n]);
        Member m;
        m.name = got ? narrow(names[0].get()) : std::string();
        m.help = helpOf(info, f->memid);
        m.kind = f->invkind;
        m.id = f->memid;
        m.slot = f->oVft / static_cast<int>(sizeof(void*));
        m.restricted = (f->wFuncFlags & FUNCFLAG_FRESTRICTED) != 0;
        for (SHORT p = 0; p < f->cParams; ++p) {
            const ELEMDESC& e = f->lprgelemdescParam[p];
            USHORT flags = e.paramdesc.wParamFlags;
            if (flags & PARAMFLAG_FRETVAL) {
                m.result = e.tdesc.lptdesc ? typeOf(info, *e.tdesc.lptdesc) : Type{};
                continue;
            }
            Param param;
            param.type = typeOf(info, e.tdesc);
            param.flags = flags;
            bool assigned =
                (f->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) && p == f->cParams - 1;
            if (static_cast<UINT>(p + 1) < got && !assigned)
                param.name = narrow(names[static_cast<size_t>(p + 1)].get());
            if ((flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
                const VARIANT& d = e.paramdesc.pparamdescex->varDefaultValue;
                param.hasDefault = true;
                param.stringDefault = d.vt == VT_BSTR;
                param.defaultText = valueText(d);
            }
            m.params.push_back(std::move(param));
        }
        out.members.push_back(std::move(m));
    }
    return out;
}

inline Enum readEnum(ITypeInfo* info, const TYPEATTR& attr) {
    Enum out{nameOf(info), helpOf(info), {}};
    for (UINT v = 0; v < attr.cVars; ++v) {
        com::VarDesc var(info, v);
        if (FAILED(var.result())) continue;
        out.values.push_back(
            {nameOf(info, var->memid), var->lpvarValue ? valueText(*var->lpvarValue) : "?"});
    }
    return out;
}

inline CoClass readCoClass(ITypeInfo* info, const TYPEATTR& attr) {
    CoClass out{nameOf(info), helpOf(info), (attr.wTypeFlags & TYPEFLAG_FCANCREATE) != 0, {}};
    for (UINT k = 0; k < attr.cImplTypes; ++k) {
        HREFTYPE r;
        INT flags = 0;
        com::ComPtr<ITypeInfo> impl;
        if (FAILED(info->GetRefTypeOfImplType(k, &r))) continue;
        info->GetImplTypeFlags(k, &flags);
        if (SUCCEEDED(info->GetRefTypeInfo(r, impl.put())))
            out.interfaces.push_back({nameOf(impl.get()), (flags & IMPLTYPEFLAG_FDEFAULT) != 0});
    }
    return out;
}

}  // namespace detail

// COM for the calling thread, for one scope.
class ComScope {
  public:
    ComScope() : hr_(CoInitialize(nullptr)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }

  private:
    HRESULT hr_;
};

// Reads the library at `path` (REGKIND_NONE: nothing is registered) into plain values, so the
// caller needs no COM of its own. Returns the load's result.
inline HRESULT load(const wchar_t* path, Library& out) {
    ComScope com;
    com::ComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, lib.put());
    if (FAILED(hr)) return hr;
    TLIBATTR* la = nullptr;
    if (FAILED(hr = lib->GetLibAttr(&la))) return hr;
    out.major = la->wMajorVerNum;
    out.minor = la->wMinorVerNum;
    out.lcid = la->lcid;
    lib->ReleaseTLibAttr(la);
    com::Bstr name, doc;
    lib->GetDocumentation(-1, name.put(), doc.put(), nullptr, nullptr);
    out.name = narrow(name.get());
    if (doc.get()) out.help = narrow(doc.get());

    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        com::ComPtr<ITypeInfo> info;
        if (FAILED(lib->GetTypeInfo(i, info.put()))) continue;
        com::TypeAttr attr(info.get());
        if (FAILED(attr.result())) continue;
        switch (attr->typekind) {
            case TKIND_ENUM:
                out.entries.emplace_back(detail::readEnum(info.get(), *attr.operator->()));
                break;
            case TKIND_DISPATCH:
            case TKIND_INTERFACE: {
                // The library hands out a dual interface's dispatch view; the members with their
                // slots live in the interface view.
                HREFTYPE ref;
                com::ComPtr<ITypeInfo> view;
                if (attr->typekind == TKIND_DISPATCH &&
                    SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) &&
                    SUCCEEDED(info->GetRefTypeInfo(ref, view.put())))
                    out.entries.emplace_back(detail::readInterface(view.get()));
                else
                    out.entries.emplace_back(detail::readInterface(info.get()));
                break;
            }
            case TKIND_COCLASS:
                out.entries.emplace_back(detail::readCoClass(info.get(), *attr.operator->()));
                break;
            default:
                out.entries.emplace_back(Other{detail::nameOf(info.get()), attr->typekind});
        }
    }
    return S_OK;
}

}  // namespace brv::typelib

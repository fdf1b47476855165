// Prints a type library (from a .tlb or from a DLL's resource) as canonical text: the library,
// each enumeration with its values, each interface with its members in slot order (kind,
// dispatch id, parameters with passing, optional flags and defaults, result) and each class.
// The client test runner compares the dump of the built DLL with typelib.expected.
// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
// clang-format on

#include <cstdio>
#include <string>

namespace {

std::string narrow(const wchar_t* s) {
    if (!s) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

std::string nameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    BSTR name = nullptr;
    info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
    std::string s = narrow(name);
    SysFreeString(name);
    return s;
}

std::string helpOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    BSTR doc = nullptr;
    info->GetDocumentation(id, nullptr, &doc, nullptr, nullptr);
    std::string s;
    if (doc) s.append(" \"").append(narrow(doc)).append("\"");
    SysFreeString(doc);
    return s;
}

std::string typeText(ITypeInfo* info, const TYPEDESC& t) {
    switch (t.vt) {
        case VT_PTR:
            return typeText(info, *t.lptdesc) + "*";
        case VT_SAFEARRAY:
            return std::string("SAFEARRAY(").append(typeText(info, *t.lptdesc)).append(")");
        case VT_USERDEFINED: {
            ITypeInfo* ref = nullptr;
            if (FAILED(info->GetRefTypeInfo(t.hreftype, &ref))) return "?";
            std::string s = nameOf(ref);
            ref->Release();
            return s;
        }
        case VT_BSTR:
            return "BSTR";
        case VT_I2:
            return "short";
        case VT_I4:
            return "long";
        case VT_INT:
            return "int";
        case VT_UI1:
            return "byte";
        case VT_BOOL:
            return "VARIANT_BOOL";
        case VT_R8:
            return "double";
        case VT_DATE:
            return "DATE";
        case VT_VARIANT:
            return "VARIANT";
        case VT_DISPATCH:
            return "IDispatch*";
        case VT_UNKNOWN:
            return "IUnknown*";
        case VT_HRESULT:
            return "HRESULT";
        case VT_VOID:
            return "void";
        default:
            return std::string("vt").append(std::to_string(t.vt));
    }
}

std::string valueText(const VARIANT& v) {
    if (v.vt == VT_BSTR) return std::string("\"").append(narrow(v.bstrVal)).append("\"");
    VARIANT s;
    VariantInit(&s);
    if (FAILED(VariantChangeType(&s, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return "?";
    std::string out = narrow(s.bstrVal);
    VariantClear(&s);
    return out;
}

const char* kindText(INVOKEKIND k) {
    switch (k) {
        case INVOKE_FUNC:
            return "method";
        case INVOKE_PROPERTYGET:
            return "get";
        case INVOKE_PROPERTYPUT:
            return "let";
        case INVOKE_PROPERTYPUTREF:
            return "set";
    }
    return "?";
}

void dumpInterface(ITypeInfo* info) {
    TYPEATTR* attr;
    info->GetTypeAttr(&attr);
    std::printf("interface %s%s%s\n", nameOf(info).c_str(),
                (attr->wTypeFlags & TYPEFLAG_FDUAL) ? " dual" : "", helpOf(info).c_str());
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f;
        info->GetFuncDesc(i, &f);
        BSTR names[32] = {};
        UINT got = 0;
        info->GetNames(f->memid, names, 32, &got);
        std::string line = "  " + std::to_string(f->oVft / static_cast<int>(sizeof(void*))) + " " +
                           kindText(f->invkind) + " " + narrow(names[0]) + " id " +
                           std::to_string(f->memid);
        if (f->wFuncFlags & FUNCFLAG_FRESTRICTED) line += " restricted";
        line += " (";
        std::string result = "none";
        bool first = true;
        for (SHORT p = 0; p < f->cParams; ++p) {
            const ELEMDESC& e = f->lprgelemdescParam[p];
            USHORT flags = e.paramdesc.wParamFlags;
            if (flags & PARAMFLAG_FRETVAL) {
                result = typeText(info, *e.tdesc.lptdesc);
                continue;
            }
            if (!first) line += ", ";
            first = false;
            line += typeText(info, e.tdesc);
            if (static_cast<UINT>(p + 1) < got &&
                !((f->invkind & INVOKE_PROPERTYPUT) && p == f->cParams - 1))
                line.append(" ").append(narrow(names[p + 1]));
            line += (flags & PARAMFLAG_FOUT) ? " [in,out]" : " [in]";
            if (flags & PARAMFLAG_FOPT) line += " optional";
            if ((flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex)
                line.append(" = ").append(valueText(e.paramdesc.pparamdescex->varDefaultValue));
        }
        line.append(") -> ").append(result);
        std::printf("%s\n", line.c_str());
        for (UINT n = 0; n < got; ++n) SysFreeString(names[n]);
        info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: typelib_dump <file.tlb|file.dll>\n");
        return 2;
    }
    CoInitialize(nullptr);
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(argv[1], REGKIND_NONE, &lib);
    if (FAILED(hr)) {
        std::printf("LoadTypeLibEx failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 1;
    }
    TLIBATTR* la;
    lib->GetLibAttr(&la);
    BSTR libName = nullptr;
    lib->GetDocumentation(-1, &libName, nullptr, nullptr, nullptr);
    std::printf("library %s %u.%u lcid %lu\n", narrow(libName).c_str(), la->wMajorVerNum,
                la->wMinorVerNum, static_cast<unsigned long>(la->lcid));
    SysFreeString(libName);
    lib->ReleaseTLibAttr(la);

    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ITypeInfo* info;
        lib->GetTypeInfo(i, &info);
        TYPEATTR* attr;
        info->GetTypeAttr(&attr);
        if (attr->typekind == TKIND_ENUM) {
            std::printf("enum %s%s\n", nameOf(info).c_str(), helpOf(info).c_str());
            for (UINT v = 0; v < attr->cVars; ++v) {
                VARDESC* var;
                info->GetVarDesc(v, &var);
                std::printf("  %s = %s\n", nameOf(info, var->memid).c_str(),
                            valueText(*var->lpvarValue).c_str());
                info->ReleaseVarDesc(var);
            }
        } else if (attr->typekind == TKIND_DISPATCH || attr->typekind == TKIND_INTERFACE) {
            ITypeInfo* view = info;
            HREFTYPE ref;
            if (attr->typekind == TKIND_DISPATCH &&
                SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) &&
                SUCCEEDED(info->GetRefTypeInfo(ref, &view))) {
                dumpInterface(view);
                view->Release();
            } else {
                dumpInterface(info);
            }
        } else if (attr->typekind == TKIND_COCLASS) {
            std::string line = "coclass " + nameOf(info);
            line += (attr->wTypeFlags & TYPEFLAG_FCANCREATE) ? " creatable" : " noncreatable";
            for (UINT k = 0; k < attr->cImplTypes; ++k) {
                HREFTYPE r;
                ITypeInfo* impl;
                INT flags = 0;
                info->GetRefTypeOfImplType(k, &r);
                info->GetImplTypeFlags(k, &flags);
                if (SUCCEEDED(info->GetRefTypeInfo(r, &impl))) {
                    line += (flags & IMPLTYPEFLAG_FDEFAULT) ? " default " : " ";
                    line += nameOf(impl);
                    impl->Release();
                }
            }
            std::printf("%s%s\n", line.c_str(), helpOf(info).c_str());
        } else {
            std::printf("other %s kind %d\n", nameOf(info).c_str(), attr->typekind);
        }
        info->ReleaseTypeAttr(attr);
        info->Release();
    }
    lib->Release();
    CoUninitialize();
    return 0;
}

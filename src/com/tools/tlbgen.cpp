// Rewrites the IDL compiler's type library through oleaut32's ICreateTypeLib2, adding the
// defaults that the IDL compiler cannot write well: any default of a by-reference parameter
// (a String on a BSTR*, a number on a VARIANT* or a typed pointer). Such a parameter carries its
// default as custom data under kDefaultValue (see brevanto.idl); the copy turns it into
// PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT with that value converted from its text to the parameter's
// type. Boolean defaults are rewritten as VT_I4: oleaut32's writer stores VT_BOOL as one byte.
//
// Usage (under Wine): tlbgen <source.tlb> <target.tlb> <win32|win64>
// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

namespace {

const GUID kDefaultValue = {
    0xDB2D160A, 0x8A5E, 0x4220, {0xAB, 0xF3, 0x91, 0x66, 0x3C, 0xFB, 0x0C, 0x1C}};

void check(HRESULT hr, const char* what, int line) {
    if (FAILED(hr)) {
        std::fprintf(stderr, "tlbgen:%d: %s failed: 0x%08lx\n", line, what,
                     static_cast<unsigned long>(hr));
        std::exit(1);
    }
}
#define CHECK(expr) check((expr), #expr, __LINE__)

std::wstring widen(const char* s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

class Copier {
  public:
    Copier(ITypeLib* source, ICreateTypeLib2* target, SHORT slotSize)
        : src_(source), dst_(target), slotSize_(slotSize) {
        TLIBATTR* attr;
        CHECK(src_->GetLibAttr(&attr));
        libGuid_ = attr->guid;
        src_->ReleaseTLibAttr(attr);
    }

    void run() {
        copyLibrary();
        UINT count = src_->GetTypeInfoCount();
        for (UINT i = 0; i < count; ++i) createInfo(i);
        for (UINT i = 0; i < count; ++i) fillInfo(i);
        for (auto* info : created_) CHECK(info->LayOut());
        CHECK(dst_->SaveAllChanges());
    }

  private:
    void copyLibrary() {
        TLIBATTR* attr;
        CHECK(src_->GetLibAttr(&attr));
        BSTR name = nullptr, doc = nullptr, helpFile = nullptr;
        DWORD context = 0;
        CHECK(src_->GetDocumentation(-1, &name, &doc, &context, &helpFile));
        CHECK(dst_->SetName(name));
        CHECK(dst_->SetGuid(attr->guid));
        CHECK(dst_->SetLcid(attr->lcid));
        CHECK(dst_->SetVersion(attr->wMajorVerNum, attr->wMinorVerNum));
        CHECK(dst_->SetLibFlags(attr->wLibFlags));
        if (doc) CHECK(dst_->SetDocString(doc));
        if (context) CHECK(dst_->SetHelpContext(context));
        SysFreeString(name);
        SysFreeString(doc);
        SysFreeString(helpFile);
        src_->ReleaseTLibAttr(attr);
    }

    // For a dual interface the library hands out the dispatch view; the members with their
    // vtable layout live in the interface view.
    ITypeInfo* sourceView(UINT index) {
        ITypeInfo* info;
        CHECK(src_->GetTypeInfo(index, &info));
        TYPEATTR* attr;
        CHECK(info->GetTypeAttr(&attr));
        bool dual = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL);
        info->ReleaseTypeAttr(attr);
        if (!dual) return info;
        HREFTYPE ref;
        ITypeInfo* itf;
        CHECK(info->GetRefTypeOfImplType(-1, &ref));
        CHECK(info->GetRefTypeInfo(ref, &itf));
        info->Release();
        return itf;
    }

    void createInfo(UINT index) {
        ITypeInfo* info = sourceView(index);
        TYPEATTR* attr;
        CHECK(info->GetTypeAttr(&attr));
        BSTR name = nullptr;
        CHECK(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
        ICreateTypeInfo* created;
        CHECK(dst_->CreateTypeInfo(name, attr->typekind, &created));
        created_.push_back(created);
        ITypeInfo* asInfo;
        CHECK(created->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&asInfo)));
        createdInfo_.push_back(asInfo);
        sources_.push_back(info);
        SysFreeString(name);
        info->ReleaseTypeAttr(attr);
    }

    HREFTYPE mapRef(ITypeInfo* src, HREFTYPE ref, ICreateTypeInfo* dst) {
        ITypeInfo* target;
        CHECK(src->GetRefTypeInfo(ref, &target));
        ITypeLib* lib;
        UINT index;
        CHECK(target->GetContainingTypeLib(&lib, &index));
        TLIBATTR* attr;
        CHECK(lib->GetLibAttr(&attr));
        bool ours = IsEqualGUID(attr->guid, libGuid_);
        lib->ReleaseTLibAttr(attr);
        lib->Release();
        HREFTYPE mapped;
        CHECK(dst->AddRefTypeInfo(ours ? createdInfo_[index] : target, &mapped));
        target->Release();
        return mapped;
    }

    TYPEDESC mapType(ITypeInfo* src, const TYPEDESC& type, ICreateTypeInfo* dst) {
        TYPEDESC out = type;
        if (type.vt == VT_PTR || type.vt == VT_SAFEARRAY) {
            types_.push_back(mapType(src, *type.lptdesc, dst));
            out.lptdesc = &types_.back();
        } else if (type.vt == VT_USERDEFINED) {
            out.hreftype = mapRef(src, type.hreftype, dst);
        }
        return out;
    }

    void fillInfo(UINT index) {
        ITypeInfo* src = sources_[index];
        ICreateTypeInfo* dst = created_[index];
        TYPEATTR* attr;
        CHECK(src->GetTypeAttr(&attr));
        CHECK(dst->SetGuid(attr->guid));
        CHECK(dst->SetVersion(attr->wMajorVerNum, attr->wMinorVerNum));
        BSTR doc = nullptr;
        DWORD context = 0;
        CHECK(src->GetDocumentation(MEMBERID_NIL, nullptr, &doc, &context, nullptr));
        if (doc) CHECK(dst->SetDocString(doc));
        if (context) CHECK(dst->SetHelpContext(context));
        SysFreeString(doc);

        for (UINT i = 0; i < attr->cImplTypes; ++i) {
            HREFTYPE ref;
            CHECK(src->GetRefTypeOfImplType(i, &ref));
            CHECK(dst->AddImplType(i, mapRef(src, ref, dst)));
            INT flags = 0;
            CHECK(src->GetImplTypeFlags(i, &flags));
            if (attr->typekind == TKIND_COCLASS) CHECK(dst->SetImplTypeFlags(i, flags));
        }
        CHECK(dst->SetTypeFlags(attr->wTypeFlags));

        for (UINT i = 0; i < attr->cVars; ++i) {
            VARDESC* var;
            CHECK(src->GetVarDesc(i, &var));
            VARDESC copy = *var;
            copy.elemdescVar.tdesc = mapType(src, var->elemdescVar.tdesc, dst);
            CHECK(dst->AddVarDesc(i, &copy));
            BSTR name = nullptr, varDoc = nullptr;
            CHECK(src->GetDocumentation(var->memid, &name, &varDoc, nullptr, nullptr));
            CHECK(dst->SetVarName(i, name));
            if (varDoc) CHECK(dst->SetVarDocString(i, varDoc));
            SysFreeString(name);
            SysFreeString(varDoc);
            src->ReleaseVarDesc(var);
        }

        ITypeInfo2* src2 = nullptr;
        CHECK(src->QueryInterface(IID_ITypeInfo2, reinterpret_cast<void**>(&src2)));
        for (UINT i = 0; i < attr->cFuncs; ++i) copyFunction(src, src2, dst, i);
        src2->Release();
        src->ReleaseTypeAttr(attr);
    }

    void copyFunction(ITypeInfo* src, ITypeInfo2* src2, ICreateTypeInfo* dst, UINT index) {
        FUNCDESC* func;
        CHECK(src->GetFuncDesc(index, &func));
        FUNCDESC copy = *func;
        copy.oVft = static_cast<SHORT>(func->oVft / static_cast<SHORT>(sizeof(void*)) * slotSize_);
        std::vector<ELEMDESC> params(func->lprgelemdescParam,
                                     func->lprgelemdescParam + func->cParams);
        std::deque<PARAMDESCEX> defaults;
        for (SHORT p = 0; p < func->cParams; ++p) {
            ELEMDESC& param = params[static_cast<size_t>(p)];
            param.tdesc = mapType(src, param.tdesc, dst);
            VARIANT custom;
            VariantInit(&custom);
            VARTYPE base = param.tdesc.vt == VT_PTR ? param.tdesc.lptdesc->vt : param.tdesc.vt;
            if (param.paramdesc.pparamdescex &&
                param.paramdesc.pparamdescex->varDefaultValue.vt == VT_BOOL) {
                PARAMDESCEX ex = *param.paramdesc.pparamdescex;
                ex.varDefaultValue.vt = VT_I4;
                ex.varDefaultValue.lVal = ex.varDefaultValue.boolVal;
                defaults.push_back(ex);
                param.paramdesc.pparamdescex = &defaults.back();
            }
            if (SUCCEEDED(src2->GetParamCustData(index, p, kDefaultValue, &custom)) &&
                custom.vt == VT_BSTR) {
                // Enumerations are Longs; Booleans are written as Longs too (see above); a
                // number for a Variant parameter is an Integer, as a literal would be.
                VARTYPE to = base;
                if (base == VT_USERDEFINED || base == VT_BOOL) to = VT_I4;
                if (base == VT_VARIANT) to = VT_I2;
                if (to != VT_BSTR)
                    CHECK(VariantChangeTypeEx(&custom, &custom, MAKELCID(0x409, SORT_DEFAULT), 0,
                                              to));
                PARAMDESCEX ex{};
                ex.cBytes = sizeof(PARAMDESCEX);
                ex.varDefaultValue = custom;  // owned by `defaults` until the copy is added
                defaults.push_back(ex);
                param.paramdesc.pparamdescex = &defaults.back();
                param.paramdesc.wParamFlags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
            } else {
                VariantClear(&custom);
            }
        }
        copy.lprgelemdescParam = params.data();
        copy.elemdescFunc.tdesc = mapType(src, func->elemdescFunc.tdesc, dst);
        CHECK(dst->AddFuncDesc(index, &copy));
        for (auto& ex : defaults)
            if (ex.varDefaultValue.vt == VT_BSTR) VariantClear(&ex.varDefaultValue);

        // Names by member id come from the first function with that id (a property's get or
        // put); the leading parameters of both agree, so name only those.
        UINT named = 1;
        for (SHORT p = 0; p < func->cParams; ++p) {
            USHORT flags = func->lprgelemdescParam[p].paramdesc.wParamFlags;
            bool value = (func->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) &&
                         p == func->cParams - 1;
            if (!(flags & PARAMFLAG_FRETVAL) && !value) ++named;
        }
        std::vector<BSTR> names(static_cast<size_t>(func->cParams) + 1, nullptr);
        UINT got = 0;
        CHECK(src->GetNames(func->memid, names.data(), static_cast<UINT>(names.size()), &got));
        CHECK(dst->SetFuncAndParamNames(index, names.data(), got < named ? got : named));
        for (BSTR n : names) SysFreeString(n);

        BSTR doc = nullptr;
        DWORD context = 0;
        if (SUCCEEDED(src->GetDocumentation(func->memid, nullptr, &doc, &context, nullptr))) {
            if (doc) CHECK(dst->SetFuncDocString(index, doc));
            if (context) CHECK(dst->SetFuncHelpContext(index, context));
            SysFreeString(doc);
        }
        src->ReleaseFuncDesc(func);
    }

    ITypeLib* src_;
    ICreateTypeLib2* dst_;
    SHORT slotSize_;
    GUID libGuid_{};
    std::vector<ITypeInfo*> sources_;
    std::vector<ICreateTypeInfo*> created_;
    std::vector<ITypeInfo*> createdInfo_;
    std::deque<TYPEDESC> types_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tlbgen <source.tlb> <target.tlb> <win32|win64>\n");
        return 2;
    }
    SYSKIND kind = std::string(argv[3]) == "win32" ? SYS_WIN32 : SYS_WIN64;
    CHECK(CoInitialize(nullptr));
    ITypeLib* source;
    CHECK(LoadTypeLibEx(widen(argv[1]).c_str(), REGKIND_NONE, &source));
    ICreateTypeLib2* target;
    DeleteFileW(widen(argv[2]).c_str());
    CHECK(CreateTypeLib2(kind, widen(argv[2]).c_str(), &target));
    Copier(source, target, kind == SYS_WIN32 ? 4 : 8).run();
    // The process ends here; the library objects go with it.
    return 0;
}

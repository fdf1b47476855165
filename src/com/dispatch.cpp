#include "com/dispatch.h"

#include <memory>
#include <mutex>

#include "com/errors.h"
#include "com/server.h"
#include "com/values.h"

namespace brv::com {

namespace {
// Member and parameter names are ASCII; other characters compare as they are.
inline wchar_t fold(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? wchar_t(c + 32) : c;
}
}  // namespace

std::size_t NoCase::operator()(std::wstring_view s) const noexcept {
    std::size_t h = static_cast<std::size_t>(14695981039346656037ull);
    for (wchar_t c : s) h = (h ^ static_cast<std::size_t>(fold(c))) * 1099511628211ull;
    return h;
}

bool NoCase::operator()(std::wstring_view a, std::wstring_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

namespace {

constexpr int kindSlot(INVOKEKIND k) {
    return k == INVOKE_FUNC ? 0 : k == INVOKE_PROPERTYGET ? 1 : k == INVOKE_PROPERTYPUT ? 2 : 3;
}

void check(HRESULT hr) {
    if (FAILED(hr)) throw HresultError{hr};
}

// The automation type that a parameter's type description stands for.
VARTYPE resolve(ITypeInfo* info, const TYPEDESC& t) {
    switch (t.vt) {
        case VT_SAFEARRAY:
            return static_cast<VARTYPE>(VT_ARRAY | resolve(info, *t.lptdesc));
        case VT_PTR: {
            VARTYPE inner = resolve(info, *t.lptdesc);
            if (inner == VT_DISPATCH || inner == VT_UNKNOWN) return inner;  // interface pointer
            return VT_EMPTY;
        }
        case VT_USERDEFINED: {
            ComPtr<ITypeInfo> ref;
            check(info->GetRefTypeInfo(t.hreftype, ref.put()));
            TYPEATTR* attr;
            check(ref->GetTypeAttr(&attr));
            VARTYPE vt = VT_EMPTY;
            if (attr->typekind == TKIND_ENUM)
                vt = VT_I4;
            else if (attr->typekind == TKIND_ALIAS)
                vt = resolve(ref.get(), attr->tdescAlias);
            else if (IsEqualGUID(attr->guid, IID_IUnknown))
                vt = VT_UNKNOWN;
            else
                vt = VT_DISPATCH;
            ref->ReleaseTypeAttr(attr);
            return vt;
        }
        case VT_INT:
            return VT_I4;
        default:
            return t.vt;
    }
}

std::unique_ptr<TypeMeta> build(REFIID iid) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(module(), path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) throw HresultError{TYPE_E_CANTLOADLIBRARY};
    ComPtr<ITypeLib> lib;
    check(LoadTypeLibEx(path, REGKIND_NONE, lib.put()));
    auto meta = std::make_unique<TypeMeta>();
    check(lib->GetTypeInfoOfGuid(iid, meta->info.put()));
    ComPtr<ITypeInfo> itf = meta->info;
    TYPEATTR* attr;
    check(itf->GetTypeAttr(&attr));
    bool dispatchView = attr->typekind == TKIND_DISPATCH;
    itf->ReleaseTypeAttr(attr);
    if (dispatchView) {
        HREFTYPE ref;
        check(meta->info->GetRefTypeOfImplType(-1, &ref));
        check(meta->info->GetRefTypeInfo(ref, itf.put()));
    }
    check(itf->GetTypeAttr(&attr));
    UINT count = attr->cFuncs;
    itf->ReleaseTypeAttr(attr);

    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* fd;
        check(itf->GetFuncDesc(i, &fd));
        FuncMeta f;
        f.id = fd->memid;
        f.kind = fd->invkind;
        f.vtableOffset = fd->oVft;
        for (SHORT p = 0; p < fd->cParams; ++p) {
            const ELEMDESC& e = fd->lprgelemdescParam[p];
            USHORT flags = e.paramdesc.wParamFlags;
            bool pointer = e.tdesc.vt == VT_PTR;
            VARTYPE vt = resolve(itf.get(), pointer ? *e.tdesc.lptdesc : e.tdesc);
            if (flags & PARAMFLAG_FRETVAL) {
                f.result = vt;
                continue;
            }
            ParamMeta pm;
            pm.vt = vt;
            pm.byref = pointer;
            pm.optional = flags & PARAMFLAG_FOPT;
            if ((flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
                pm.hasDefault = true;
                VariantInit(&pm.def);
                VARIANT* given = &e.paramdesc.pparamdescex->varDefaultValue;
                check(vt == VT_VARIANT ? VariantCopy(&pm.def, given)
                                       : VariantChangeType(&pm.def, given, 0, vt));
            }
            f.params.push_back(pm);
        }
        BSTR names[32] = {};
        UINT got = 0;
        itf->GetNames(fd->memid, names, 32, &got);
        for (UINT k = 0; k < got; ++k) {
            if (k == 0)
                meta->names.emplace(std::wstring(names[0] ? names[0] : L""), fd->memid);
            else if (k <= f.params.size())
                f.paramNames.emplace_back(names[k] ? names[k] : L"");
            SysFreeString(names[k]);
        }
        auto [slot, fresh] = meta->byId.try_emplace(f.id, std::array<int, 4>{-1, -1, -1, -1});
        slot->second[kindSlot(f.kind)] = static_cast<int>(meta->funcs.size());
        meta->funcs.push_back(std::move(f));
        itf->ReleaseFuncDesc(fd);
    }
    return meta;
}

std::mutex gMetaLock;
// Emptied by DllCanUnloadNow, never destroyed: at process exit oleaut32 may be gone before us.
auto& gMetas = *new std::vector<std::pair<IID, std::unique_ptr<TypeMeta>>>();

}  // namespace

const TypeMeta& typeMeta(REFIID iid) {
    std::lock_guard<std::mutex> lock(gMetaLock);
    for (auto& [key, meta] : gMetas)
        if (IsEqualIID(key, iid)) return *meta;
    gMetas.emplace_back(iid, build(iid));
    return *gMetas.back().second;
}

void releaseTypeMeta() {
    std::lock_guard<std::mutex> lock(gMetaLock);
    for (auto& entry : gMetas)
        for (auto& f : entry.second->funcs)
            for (auto& p : f.params)
                if (p.hasDefault) VariantClear(&p.def);
    gMetas.clear();
}

HRESULT getIDsOfNames(const TypeMeta& meta, LPOLESTR* names, UINT count, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    auto it = names[0] ? meta.names.find(std::wstring_view(names[0])) : meta.names.end();
    if (it == meta.names.end()) return DISP_E_UNKNOWNNAME;
    ids[0] = it->second;
    if (count == 1) return S_OK;
    HRESULT hr = S_OK;
    const FuncMeta* f = nullptr;
    for (int index : meta.byId.at(it->second))
        if (index >= 0 && (!f || meta.funcs[index].paramNames.size() > f->paramNames.size()))
            f = &meta.funcs[index];
    for (UINT i = 1; i < count; ++i) {
        bool found = false;
        for (std::size_t p = 0; f && names[i] && p < f->paramNames.size(); ++p) {
            if (NoCase{}(f->paramNames[p], names[i])) {
                ids[i] = static_cast<DISPID>(p);
                found = true;
                break;
            }
        }
        if (!found) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

namespace {

// One argument as the vtable method receives it, with what is needed to write it back.
struct Slot {
    VARIANT temp;  // a temporary owned by the slot, when `owned`
    bool owned = false;
    VARIANTARG arg;  // what DispCallFunc pushes
    VARTYPE callVt = VT_EMPTY;
    VARIANT* backInto = nullptr;  // the caller's variant (inside VT_BYREF|VT_VARIANT) to update
    VARTYPE backVt = VT_EMPTY;    // ... or the caller's typed reference (VT_BYREF | backVt)
    void* backPtr = nullptr;
    LONGLONG before = 0;
    bool array = false;
    VARTYPE arrayElement = VT_EMPTY;  // element type the caller's array had

    Slot() { VariantInit(&temp); }
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;
    ~Slot() {
        if (owned) VariantClear(&temp);
    }
};

// Thrown while preparing arguments: the Invoke result and the offending argument.
struct ArgFault {
    HRESULT hr;
};

void coerce(VARIANT* out, VARIANT* in, VARTYPE vt) {
    const VARIANT* v = in;
    while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    if (vt == VT_BSTR && (v->vt == VT_BSTR || v->vt == (VT_BYREF | VT_BSTR))) {
        BSTR b = v->vt == VT_BSTR ? v->bstrVal : *v->pbstrVal;
        out->bstrVal = SysAllocStringLen(b, SysStringLen(b));
        if (b && !out->bstrVal) throw std::bad_alloc();
        out->vt = VT_BSTR;
        return;
    }
    if (vt == v->vt && vt != VT_DISPATCH && vt != VT_UNKNOWN && !(vt & VT_ARRAY)) {
        *out = *v;  // a plain value
        return;
    }
    if ((v->vt & ~VT_BYREF) == VT_NULL && vt != VT_VARIANT) throw Error(err::InvalidUseOfNull);
    HRESULT hr = VariantChangeType(out, const_cast<VARIANT*>(v), 0, vt);
    if (FAILED(hr)) throw ArgFault{hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH};
}

void zeroOrDefault(Slot& s, const ParamMeta& p) {
    s.owned = true;
    if (p.hasDefault) {
        if (p.vt == VT_VARIANT)
            VariantCopy(&s.temp, const_cast<VARIANT*>(&p.def));
        else
            coerce(&s.temp, const_cast<VARIANT*>(&p.def), p.vt);
    } else if (p.vt == VT_VARIANT) {
        s.temp.vt = VT_ERROR;
        s.temp.scode = DISP_E_PARAMNOTFOUND;
    } else {
        s.temp.vt = p.vt;
        s.temp.llVal = 0;
    }
}

void prepare(Slot& s, const ParamMeta& p, VARIANTARG* src) {
    // The caller's variable: where a chain of variant references (a Variant passed on by
    // reference, VB's own ByRef Variant) ends. It is either a value or a typed reference.
    VARIANT* at = src;
    while (at && at->vt == (VT_BYREF | VT_VARIANT)) {
        if (!at->pvarVal) throw ArgFault{E_INVALIDARG};
        at = at->pvarVal;
    }
    VARIANT* inner = at != src ? at : nullptr;  // reached through a reference
    const bool typedRef = at && (at->vt & VT_BYREF);

    if (p.vt == VT_VARIANT) {
        if (!src) {
            zeroOrDefault(s, p);
        } else if (inner && !typedRef && p.byref) {
            s.arg.vt = VT_BYREF | VT_VARIANT;  // straight into the caller's variable
            s.arg.pvarVal = inner;
            s.callVt = s.arg.vt;
            return;
        } else if (!typedRef && !p.byref) {
            s.arg = *at;  // read-only view
            s.callVt = VT_VARIANT;
            return;
        } else {
            s.owned = true;
            HRESULT hr = VariantCopyInd(&s.temp, at);
            if (FAILED(hr)) throw ArgFault{hr};
            if (typedRef && p.byref) {
                s.backVt = at->vt & ~VT_BYREF;
                s.backPtr = at->byref;
            }
        }
        if (p.byref) {
            s.arg.vt = VT_BYREF | VT_VARIANT;
            s.arg.pvarVal = &s.temp;
        } else {
            s.arg = s.temp;
        }
        s.callVt = s.arg.vt == (VT_BYREF | VT_VARIANT) ? s.arg.vt : VARTYPE(VT_VARIANT);
        return;
    }

    if (p.vt & VT_ARRAY) {
        if (!p.byref) throw ArgFault{DISP_E_TYPEMISMATCH};
        VARTYPE elem = p.vt & ~VT_ARRAY;
        VARIANT* holder = at;
        if (!holder || !(holder->vt & VT_ARRAY)) throw ArgFault{DISP_E_TYPEMISMATCH};
        bool ref = holder->vt & VT_BYREF;
        SAFEARRAY** where = ref ? holder->pparray : &holder->parray;
        VARTYPE has = holder->vt & ~(VT_ARRAY | VT_BYREF);
        s.arg.vt = VT_BYREF | p.vt;
        s.callVt = s.arg.vt;
        if (has == elem && (inner || ref)) {
            s.arg.pparray = where;
            return;
        }
        s.owned = true;
        s.temp.vt = p.vt;
        s.temp.parray = convertSafeArray(*where, elem);
        s.arg.pparray = &s.temp.parray;
        s.before = reinterpret_cast<LONGLONG>(s.temp.parray);
        if (inner || ref) {
            s.array = true;
            s.arrayElement = has;
            s.backPtr = where;
        }
        return;
    }

    // Typed parameters.
    if (src && (src->vt == p.vt || src->vt == (VT_BYREF | p.vt)) &&
        (p.byref == bool(src->vt & VT_BYREF) || !p.byref)) {
        if (p.byref) {
            s.arg = *src;
        } else if (src->vt & VT_BYREF) {
            s.owned = true;
            HRESULT hr = VariantCopyInd(&s.temp, src);
            if (FAILED(hr)) throw ArgFault{hr};
            s.arg = s.temp;
        } else {
            s.arg = *src;
        }
        s.callVt = s.arg.vt;
        return;
    }
    if (inner && p.byref && (inner->vt == p.vt || inner->vt == (VT_BYREF | p.vt))) {
        s.arg.vt = VT_BYREF | p.vt;
        s.arg.byref = inner->vt & VT_BYREF ? inner->byref : &inner->llVal;
        s.callVt = s.arg.vt;
        return;
    }
    if (!src) {
        zeroOrDefault(s, p);
    } else {
        s.owned = true;
        coerce(&s.temp, at, p.vt);
        if (typedRef) {
            s.backVt = at->vt & ~VT_BYREF;
            s.backPtr = at->byref;
        } else if (inner) {
            s.backInto = inner;
        }
    }
    s.before = s.temp.llVal;
    if (p.byref) {
        s.arg.vt = VT_BYREF | p.vt;
        s.arg.byref = &s.temp.llVal;
    } else {
        s.arg = s.temp;
    }
    s.callVt = s.arg.vt;
}

// After the call: hands changed temporaries back to the caller's variables, converted to
// their types; one that cannot take the value raises 13 (10 for a fixed array resized).
void writeBack(Slot& s) {
    if (!s.owned) return;
    if (s.array) {
        if (reinterpret_cast<LONGLONG>(s.temp.parray) == s.before) return;
        replaceArray(static_cast<SAFEARRAY**>(s.backPtr),
                     convertSafeArray(s.temp.parray, s.arrayElement));
        return;
    }
    if (s.backInto) {
        if (s.temp.llVal == s.before) return;
        VariantClear(s.backInto);
        *s.backInto = s.temp;
        VariantInit(&s.temp);
        return;
    }
    if (s.backPtr) {
        VARIANT ref;
        VariantInit(&ref);
        ref.vt = VT_BYREF | s.backVt;
        ref.byref = s.backPtr;
        VARIANT value = s.temp;
        VariantInit(&s.temp);
        writeThrough(&ref, value);
    }
}

}  // namespace

HRESULT invoke(void* self, const TypeMeta& meta, const ClassInfo& cls, REFIID iid, DISPID id,
               WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
               UINT* argErr) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params) params = &none;
    auto found = meta.byId.find(id);
    if (found == meta.byId.end()) return DISP_E_MEMBERNOTFOUND;
    const auto& slots = found->second;
    auto pick = [&](int k) { return slots[k] >= 0 ? &meta.funcs[slots[k]] : nullptr; };
    const FuncMeta* f = nullptr;
    if (flags & DISPATCH_METHOD) f = pick(0);
    // JScript calls a property with arguments as a method: cp.Item("a").
    if (!f && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) f = pick(1);
    if (!f && (flags & DISPATCH_PROPERTYPUT)) f = pick(2) ? pick(2) : pick(3);
    if (!f && (flags & DISPATCH_PROPERTYPUTREF)) f = pick(3);  // Set needs a set member
    if (!f) return DISP_E_MEMBERNOTFOUND;

    const std::size_t n = f->params.size();
    constexpr std::size_t kMax = 16;
    if (n + 1 > kMax) return DISP_E_BADPARAMCOUNT;
    const bool put = f->kind == INVOKE_PROPERTYPUT || f->kind == INVOKE_PROPERTYPUTREF;
    const UINT total = params->cArgs, named = params->cNamedArgs;
    if (named > total || (total && !params->rgvarg) || (named && !params->rgdispidNamedArgs))
        return E_INVALIDARG;

    // Which caller argument (index into rgvarg) goes to which parameter.
    int source[kMax];
    for (auto& v : source) v = -1;
    bool valueNamed = false;
    for (UINT i = 0; i < named; ++i) {
        DISPID pid = params->rgdispidNamedArgs[i];
        std::size_t target;
        if (pid == DISPID_PROPERTYPUT && put) {
            target = n - 1;
            valueNamed = true;
        } else if (pid >= 0 && static_cast<std::size_t>(pid) < (put ? n - 1 : n)) {
            target = static_cast<std::size_t>(pid);
        } else {
            if (argErr) *argErr = i;
            return DISP_E_PARAMNOTFOUND;
        }
        if (source[target] >= 0) {
            if (argErr) *argErr = i;
            return DISP_E_PARAMNOTFOUND;
        }
        source[target] = static_cast<int>(i);
    }
    UINT positional = total - named;
    if (put && !valueNamed) {
        if (positional == 0) return DISP_E_PARAMNOTOPTIONAL;
        source[n - 1] = static_cast<int>(named);  // the last positional argument is the value
        --positional;
    }
    if (positional > (put ? n - 1 : n)) return DISP_E_BADPARAMCOUNT;
    for (UINT j = 0; j < positional; ++j) {
        if (source[j] >= 0) return DISP_E_PARAMNOTFOUND;
        source[j] = static_cast<int>(total - 1 - j);
    }

    Slot slot[kMax];
    VARTYPE types[kMax];
    VARIANTARG* args[kMax];
    VARIANT ret{};
    try {
        for (std::size_t i = 0; i < n; ++i) {
            const ParamMeta& p = f->params[i];
            VARIANTARG* src = source[i] >= 0 ? &params->rgvarg[source[i]] : nullptr;
            if (src && src->vt == VT_ERROR && src->scode == DISP_E_PARAMNOTFOUND) {
                if (!p.optional) return DISP_E_PARAMNOTOPTIONAL;
                src = nullptr;
            }
            if (!src && !p.optional) return DISP_E_PARAMNOTOPTIONAL;
            try {
                prepare(slot[i], p, src);
            } catch (const ArgFault& fault) {
                if (argErr && source[i] >= 0) *argErr = static_cast<UINT>(source[i]);
                return fault.hr;
            }
            types[i] = slot[i].callVt;
            args[i] = &slot[i].arg;
        }
    } catch (const Error& e) {
        fillExcepInfo(excepInfo, reportError(e, cls, iid));
        return DISP_E_EXCEPTION;
    } catch (const HresultError& e) {
        return e.hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }

    std::size_t count = n;
    VARIANTARG retArg{};
    if (f->result != VT_EMPTY) {
        if (f->result == VT_VARIANT) {
            retArg.vt = VT_BYREF | VT_VARIANT;
            retArg.pvarVal = &ret;
        } else {
            ret.vt = f->result;
            ret.llVal = 0;
            retArg.vt = VT_BYREF | f->result;
            retArg.byref = &ret.llVal;
        }
        types[count] = retArg.vt;
        args[count] = &retArg;
        ++count;
    }

    VARIANT hrv{};
    HRESULT hr = DispCallFunc(self, static_cast<ULONG_PTR>(f->vtableOffset), CC_STDCALL, VT_ERROR,
                              static_cast<UINT>(count), types, args, &hrv);
    if (SUCCEEDED(hr)) hr = hrv.scode;
    // Every argument is written back; the first failure is reported unless the member failed.
    for (std::size_t i = 0; i < n; ++i) {
        try {
            writeBack(slot[i]);
        } catch (...) {
            if (SUCCEEDED(hr)) hr = reportCurrentException(cls, iid);
        }
    }
    if (FAILED(hr)) {
        VariantClear(&ret);
        if (hr == E_POINTER || hr == E_INVALIDARG || hr == E_OUTOFMEMORY) return hr;
        fillExcepInfo(excepInfo, hr);
        return DISP_E_EXCEPTION;
    }
    if (result)
        *result = ret;
    else
        VariantClear(&ret);
    return S_OK;
}

}  // namespace brv::com

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
    if (FAILED(hr)) throw Fault{hr};
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
            TypeAttr attr(ref.get());
            check(attr.result());
            if (attr->typekind == TKIND_ENUM) return VT_I4;
            if (attr->typekind == TKIND_ALIAS) return resolve(ref.get(), attr->tdescAlias);
            return IsEqualGUID(attr->guid, IID_IUnknown) ? VT_UNKNOWN : VT_DISPATCH;
        }
        case VT_INT:
            return VT_I4;
        default:
            return t.vt;
    }
}

// The vtable view of an interface: for a dual interface the library hands out the dispatch
// view, whose functions start with IDispatch's own.
ComPtr<ITypeInfo> vtableView(const ComPtr<ITypeInfo>& info) {
    TypeAttr attr(info.get());
    check(attr.result());
    if (attr->typekind != TKIND_DISPATCH) return info;
    HREFTYPE ref;
    check(info->GetRefTypeOfImplType(-1, &ref));
    ComPtr<ITypeInfo> itf;
    check(info->GetRefTypeInfo(ref, itf.put()));
    return itf;
}

ParamMeta paramMeta(ITypeInfo* itf, const ELEMDESC& e) {
    const USHORT flags = e.paramdesc.wParamFlags;
    ParamMeta p;
    p.byref = e.tdesc.vt == VT_PTR;
    p.vt = resolve(itf, p.byref ? *e.tdesc.lptdesc : e.tdesc);
    p.optional = flags & PARAMFLAG_FOPT;
    if ((flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
        p.hasDefault = true;
        VARIANT* given = &e.paramdesc.pparamdescex->varDefaultValue;
        check(p.vt == VT_VARIANT ? VariantCopy(p.def.get(), given)
                                 : VariantChangeType(p.def.get(), given, 0, p.vt));
    }
    return p;
}

// One function of the interface, with its name and parameter names entered into `meta`.
FuncMeta funcMeta(ITypeInfo* itf, UINT index, TypeMeta& meta) {
    FuncDesc fd(itf, index);
    check(fd.result());
    FuncMeta f;
    f.id = fd->memid;
    f.kind = fd->invkind;
    f.vtableOffset = fd->oVft;
    for (SHORT p = 0; p < fd->cParams; ++p) {
        const ELEMDESC& e = fd->lprgelemdescParam[p];
        if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)
            f.result = resolve(itf, e.tdesc.vt == VT_PTR ? *e.tdesc.lptdesc : e.tdesc);
        else
            f.params.push_back(paramMeta(itf, e));
    }
    constexpr UINT kMaxNames = 32;
    BSTR raw[kMaxNames] = {};
    UINT got = 0;
    itf->GetNames(fd->memid, raw, kMaxNames, &got);
    std::array<Bstr, kMaxNames> names;
    for (UINT k = 0; k < got; ++k) names[k].reset(raw[k]);
    for (UINT k = 0; k < got; ++k) {
        const wchar_t* name = names[k].get() ? names[k].get() : L"";
        if (k == 0)
            meta.names.emplace(name, fd->memid);
        else if (k <= f.params.size())
            f.paramNames.emplace_back(name);
    }
    return f;
}

std::unique_ptr<TypeMeta> build(REFIID iid) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(module(), path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) throw Fault{TYPE_E_CANTLOADLIBRARY};
    ComPtr<ITypeLib> lib;
    check(LoadTypeLibEx(path, REGKIND_NONE, lib.put()));
    auto meta = std::make_unique<TypeMeta>();
    check(lib->GetTypeInfoOfGuid(iid, meta->info.put()));
    const ComPtr<ITypeInfo> itf = vtableView(meta->info);
    TypeAttr attr(itf.get());
    check(attr.result());
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncMeta f = funcMeta(itf.get(), i, *meta);
        auto [slot, fresh] = meta->byId.try_emplace(f.id, std::array<int, 4>{-1, -1, -1, -1});
        slot->second[kindSlot(f.kind)] = static_cast<int>(meta->funcs.size());
        meta->funcs.push_back(std::move(f));
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

constexpr std::size_t kMaxArgs = 16;

// One argument as the vtable method receives it, with what is needed to write it back. The
// temporary holds a converted, copied or defaulted value when the caller's own cannot be passed
// as it is; only then is there anything to write back.
struct Slot {
    UniqueVariant temp;
    VARIANTARG arg{};  // what DispCallFunc pushes (a view, never owned)
    VARTYPE callVt = VT_EMPTY;
    VARIANT* backInto = nullptr;  // the caller's variant (inside VT_BYREF|VT_VARIANT) to update
    VARTYPE backVt = VT_EMPTY;    // ... or the caller's typed reference (VT_BYREF | backVt)
    void* backPtr = nullptr;
    LONGLONG before = 0;
    bool array = false;
    VARTYPE arrayElement = VT_EMPTY;  // element type the caller's array had

    // Passes the temporary, by reference or by value.
    void passTemp(bool byref, VARTYPE vt) {
        if (byref) {
            arg.vt = VT_BYREF | vt;
            arg.byref = vt == VT_VARIANT ? static_cast<void*>(temp.get()) : &temp->llVal;
        } else {
            arg = *temp.get();
        }
        callVt = byref || vt != VT_VARIANT ? arg.vt : VARTYPE(VT_VARIANT);
    }
};

void coerce(VARIANT* out, const VARIANT* in, VARTYPE vt) {
    const VARIANT* v = referencedValue(in);
    if (!v) throw Fault{E_INVALIDARG};
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
    if (vt == VT_DISPATCH && (v->vt & ~VT_BYREF) != VT_DISPATCH &&
        (v->vt & ~VT_BYREF) != VT_UNKNOWN) {
        // An object parameter given a plain value (a number, a text, Null) receives Nothing:
        // such a target matches no kind of control and is simply left alone.
        out->vt = VT_DISPATCH;
        out->pdispVal = nullptr;
        return;
    }
    if ((v->vt & ~VT_BYREF) == VT_NULL && vt != VT_VARIANT) raise(err::InvalidUseOfNull);
    HRESULT hr = changeType(out, v, vt);
    if (FAILED(hr)) throw Fault{hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH};
}

// An omitted optional parameter: its declared default, the missing value for a Variant, or
// the type's zero.
void defaultInto(Slot& s, const ParamMeta& p) {
    if (p.hasDefault) {
        if (p.vt == VT_VARIANT)
            check(VariantCopy(s.temp.get(), const_cast<VARIANT*>(p.def.get())));
        else
            coerce(s.temp.get(), p.def.get(), p.vt);
    } else if (p.vt == VT_VARIANT) {
        s.temp->vt = VT_ERROR;
        s.temp->scode = DISP_E_PARAMNOTFOUND;
    } else {
        s.temp->vt = p.vt;
        s.temp->llVal = 0;
    }
}

// The caller's variable: where a chain of variant references (a Variant passed on by reference,
// VB's own ByRef Variant) ends. It is either a value or a typed reference.
struct CallerValue {
    VARIANT* at = nullptr;     // null: the argument was omitted
    VARIANT* inner = nullptr;  // `at`, when it was reached through a reference
    bool typedRef = false;     // `at` is VT_BYREF | some type
};

CallerValue follow(VARIANTARG* src) {
    if (!src) return {};
    CallerValue c{const_cast<VARIANT*>(referencedValue(src))};
    if (!c.at) throw Fault{E_INVALIDARG};
    if (c.at != src) c.inner = c.at;
    c.typedRef = c.at->vt & VT_BYREF;
    // A typed reference to nothing is no value that a conversion or a copy could read.
    if (c.typedRef && !c.at->byref) throw Fault{E_INVALIDARG};
    return c;
}

void prepareVariant(Slot& s, const ParamMeta& p, const CallerValue& c) {
    if (!c.at) {
        defaultInto(s, p);
    } else if (c.inner && !c.typedRef && p.byref) {
        s.arg.vt = VT_BYREF | VT_VARIANT;  // straight into the caller's variable
        s.arg.pvarVal = c.inner;
        s.callVt = s.arg.vt;
        return;
    } else if (!c.typedRef && !p.byref) {
        s.arg = *c.at;  // read-only view
        s.callVt = VT_VARIANT;
        return;
    } else {
        check(VariantCopyInd(s.temp.get(), c.at));
        if (c.typedRef && p.byref) {
            s.backVt = c.at->vt & ~VT_BYREF;
            s.backPtr = c.at->byref;
        }
    }
    s.passTemp(p.byref, VT_VARIANT);
}

void prepareArray(Slot& s, const ParamMeta& p, const CallerValue& c) {
    if (!p.byref || !c.at || !(c.at->vt & VT_ARRAY)) throw Fault{DISP_E_TYPEMISMATCH};
    const bool ref = c.at->vt & VT_BYREF;
    SAFEARRAY** where = ref ? c.at->pparray : &c.at->parray;
    const VARTYPE has = c.at->vt & ~(VT_ARRAY | VT_BYREF);
    const VARTYPE elem = p.vt & ~VT_ARRAY;
    s.arg.vt = VT_BYREF | p.vt;
    s.callVt = s.arg.vt;
    if (has == elem && (c.inner || ref)) {
        s.arg.pparray = where;
        return;
    }
    // The type goes on only with the array: a conversion that fails leaves nothing to free.
    SAFEARRAY* converted = convertSafeArray(*where, elem);
    s.temp->vt = p.vt;
    s.temp->parray = converted;
    s.arg.pparray = &s.temp->parray;
    s.before = reinterpret_cast<LONGLONG>(s.temp->parray);
    if (c.inner || ref) {
        s.array = true;
        s.arrayElement = has;
        s.backPtr = where;
    }
}

void prepareTyped(Slot& s, const ParamMeta& p, VARIANTARG* src, const CallerValue& c) {
    if (src && (src->vt == p.vt || src->vt == (VT_BYREF | p.vt)) &&
        (p.byref == bool(src->vt & VT_BYREF) || !p.byref)) {
        if (!p.byref && (src->vt & VT_BYREF)) {
            check(VariantCopyInd(s.temp.get(), src));
            s.arg = *s.temp.get();
        } else {
            s.arg = *src;
        }
        s.callVt = s.arg.vt;
        return;
    }
    if (c.inner && p.byref && (c.inner->vt == p.vt || c.inner->vt == (VT_BYREF | p.vt))) {
        s.arg.vt = VT_BYREF | p.vt;
        s.arg.byref = c.inner->vt & VT_BYREF ? c.inner->byref : &c.inner->llVal;
        s.callVt = s.arg.vt;
        return;
    }
    if (!src) {
        defaultInto(s, p);
    } else {
        coerce(s.temp.get(), c.at, p.vt);
        if (c.typedRef) {
            s.backVt = c.at->vt & ~VT_BYREF;
            s.backPtr = c.at->byref;
        } else if (c.inner) {
            s.backInto = c.inner;
        }
    }
    s.before = s.temp->llVal;
    s.passTemp(p.byref, p.vt);
}

// `src` is null for an omitted argument.
void prepare(Slot& s, const ParamMeta& p, VARIANTARG* src) {
    const CallerValue c = follow(src);
    if (p.vt == VT_VARIANT)
        prepareVariant(s, p, c);
    else if (p.vt & VT_ARRAY)
        prepareArray(s, p, c);
    else
        prepareTyped(s, p, src, c);
}

// After the call: hands changed temporaries back to the caller's variables, converted to
// their types; one that cannot take the value raises 13 (10 for a fixed array resized).
void writeBack(Slot& s) {
    if (s.array) {
        if (reinterpret_cast<LONGLONG>(s.temp->parray) == s.before) return;
        SafeArray converted(convertSafeArray(s.temp->parray, s.arrayElement));
        replaceArray(static_cast<SAFEARRAY**>(s.backPtr), converted.release());
    } else if (s.backInto) {
        if (s.temp->llVal == s.before) return;
        VariantClear(s.backInto);
        s.temp.releaseTo(s.backInto);
    } else if (s.backPtr) {
        VARIANT ref;
        VariantInit(&ref);
        ref.vt = VT_BYREF | s.backVt;
        ref.byref = s.backPtr;
        VARIANT value;
        s.temp.releaseTo(&value);
        writeThrough(&ref, value);
    }
}

// The member a call names with its flags; null when there is none.
const FuncMeta* selectMember(const TypeMeta& meta, DISPID id, WORD flags) {
    auto found = meta.byId.find(id);
    if (found == meta.byId.end()) return nullptr;
    auto pick = [&](int k) {
        return found->second[k] >= 0 ? &meta.funcs[found->second[k]] : nullptr;
    };
    const FuncMeta* f = nullptr;
    if (flags & DISPATCH_METHOD) f = pick(0);
    // JScript calls a property with arguments as a method: cp.Item("a").
    if (!f && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) f = pick(1);
    if (!f && (flags & DISPATCH_PROPERTYPUT)) f = pick(2) ? pick(2) : pick(3);
    if (!f && (flags & DISPATCH_PROPERTYPUTREF)) f = pick(3);  // Set needs a set member
    return f;
}

// Which caller argument (an index into rgvarg, -1 for none) goes to each parameter: named
// arguments by their dispatch identifiers, the new value of a property put last, positional
// arguments from the first parameter on.
HRESULT mapArguments(const FuncMeta& f, const DISPPARAMS& dp, std::array<int, kMaxArgs>& source,
                     UINT* argErr) {
    const std::size_t n = f.params.size();
    const bool put = f.kind == INVOKE_PROPERTYPUT || f.kind == INVOKE_PROPERTYPUTREF;
    const UINT total = dp.cArgs, named = dp.cNamedArgs;
    if (named > total || (total && !dp.rgvarg) || (named && !dp.rgdispidNamedArgs))
        return E_INVALIDARG;
    source.fill(-1);
    bool valueNamed = false;
    for (UINT i = 0; i < named; ++i) {
        const DISPID pid = dp.rgdispidNamedArgs[i];
        std::size_t target = n;
        if (pid == DISPID_PROPERTYPUT && put) {
            target = n - 1;
            valueNamed = true;
        } else if (pid >= 0 && static_cast<std::size_t>(pid) < (put ? n - 1 : n)) {
            target = static_cast<std::size_t>(pid);
        }
        if (target == n || source[target] >= 0) {
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
        if (source[j] >= 0) {
            if (argErr) *argErr = total - 1 - j;  // a position a named argument took already
            return DISP_E_PARAMNOTFOUND;
        }
        source[j] = static_cast<int>(total - 1 - j);
    }
    for (std::size_t i = 0; i < n; ++i) {
        VARIANTARG* src = source[i] >= 0 ? &dp.rgvarg[source[i]] : nullptr;
        if (src && src->vt == VT_ERROR && src->scode == DISP_E_PARAMNOTFOUND) source[i] = -1;
        if (source[i] < 0 && !f.params[i].optional) return DISP_E_PARAMNOTOPTIONAL;
    }
    return S_OK;
}

// One call of a member through its vtable slot: the prepared arguments, the result, and the
// write-backs afterwards.
class Frame {
  public:
    explicit Frame(const FuncMeta& f) : f_(f) {}

    // Throws what an argument cannot pass with; `argErr` then names that argument.
    void prepare(const DISPPARAMS& dp, const std::array<int, kMaxArgs>& source, UINT* argErr) {
        for (std::size_t i = 0; i < f_.params.size(); ++i) {
            try {
                brv::com::prepare(slots_[i], f_.params[i],
                                  source[i] >= 0 ? &dp.rgvarg[source[i]] : nullptr);
            } catch (...) {
                if (argErr && source[i] >= 0) *argErr = static_cast<UINT>(source[i]);
                throw;
            }
            types_[i] = slots_[i].callVt;
            args_[i] = &slots_[i].arg;
        }
    }

    // The member's own HRESULT; a failed write-back is reported unless the member failed.
    HRESULT call(void* self, const ClassInfo& cls, REFIID iid) {
        std::size_t count = f_.params.size();
        VARIANTARG retArg{};
        if (f_.result != VT_EMPTY) {
            if (f_.result == VT_VARIANT) {
                retArg.vt = VT_BYREF | VT_VARIANT;
                retArg.pvarVal = result_.get();
            } else {
                result_->vt = f_.result;
                result_->llVal = 0;
                retArg.vt = VT_BYREF | f_.result;
                retArg.byref = &result_->llVal;
            }
            types_[count] = retArg.vt;
            args_[count] = &retArg;
            ++count;
        }
        VARIANT hrv{};
        HRESULT hr =
            DispCallFunc(self, static_cast<ULONG_PTR>(f_.vtableOffset), CC_STDCALL, VT_ERROR,
                         static_cast<UINT>(count), types_.data(), args_.data(), &hrv);
        if (SUCCEEDED(hr)) hr = hrv.scode;
        for (std::size_t i = 0; i < f_.params.size(); ++i) {
            try {
                writeBack(slots_[i]);
            } catch (...) {
                if (SUCCEEDED(hr)) hr = report(&cls, iid);
            }
        }
        return hr;
    }

    UniqueVariant& result() { return result_; }

  private:
    const FuncMeta& f_;
    std::array<Slot, kMaxArgs> slots_;
    std::array<VARTYPE, kMaxArgs> types_{};
    std::array<VARIANTARG*, kMaxArgs> args_{};
    UniqueVariant result_;
};

// A failed late-bound call: a runtime error travels in EXCEPINFO, a bare HRESULT as itself.
HRESULT failed(HRESULT hr, EXCEPINFO* excepInfo) {
    return takeErrorInfo(excepInfo, hr) ? DISP_E_EXCEPTION : hr;
}

}  // namespace

HRESULT invoke(void* self, const TypeMeta& meta, const ClassInfo& cls, REFIID iid, DISPID id,
               WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
               UINT* argErr) {
    const DISPPARAMS none{nullptr, nullptr, 0, 0};
    const DISPPARAMS& dp = params ? *params : none;
    const FuncMeta* f = selectMember(meta, id, flags);
    if (!f) return DISP_E_MEMBERNOTFOUND;
    if (f->params.size() + 1 > kMaxArgs) return DISP_E_BADPARAMCOUNT;
    std::array<int, kMaxArgs> source;
    if (HRESULT hr = mapArguments(*f, dp, source, argErr); FAILED(hr)) return hr;

    Frame frame(*f);
    try {
        frame.prepare(dp, source, argErr);
    } catch (...) {
        return failed(report(&cls, iid), excepInfo);
    }
    const HRESULT hr = frame.call(self, cls, iid);
    if (FAILED(hr)) return failed(hr, excepInfo);
    if (result) frame.result().releaseTo(result);
    return S_OK;
}

}  // namespace brv::com

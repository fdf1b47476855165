#include "com/values.h"

#include <dispex.h>

#include <cstring>
#include <new>
#include <vector>

#include "com/errors.h"
#include "com/raii.h"
#include "com/server.h"
#include "frame/convert.h"
#include "frame/roster.h"
#include "platform/dialogs.h"

namespace brv::com {

String toString(BSTR b) {
    if (!b) return {};
    return fromWide(b, SysStringLen(b));
}

BSTR allocBstr(StringView s) {
    BSTR b = SysAllocStringLen(wideChars(s), static_cast<UINT>(s.size()));
    if (!b) throw std::bad_alloc();
    return b;
}

namespace {

VarType coreType(VARTYPE vt) {
    switch (vt) {
        case VT_EMPTY:
            return VarType::Empty;
        case VT_NULL:
            return VarType::Null;
        case VT_I2:
            return VarType::Integer;
        case VT_I4:
            return VarType::Long;
        case VT_R4:
            return VarType::Single;
        case VT_R8:
            return VarType::Double;
        case VT_CY:
            return VarType::Currency;
        case VT_DATE:
            return VarType::Date;
        case VT_BSTR:
            return VarType::String;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return VarType::Object;
        case VT_ERROR:
            return VarType::Error;
        case VT_BOOL:
            return VarType::Boolean;
        case VT_VARIANT:
            return VarType::Variant;
        case VT_UI1:
            return VarType::Byte;
        default:
            raise(err::TypeMismatch);
    }
}

VARTYPE comType(VarType t) {
    return t == VarType::Object ? VARTYPE(VT_DISPATCH) : static_cast<VARTYPE>(t);
}

// Element types that SAFEARRAYs of this library may have; anything else is converted through
// VARIANT by the caller.
bool isElementType(VARTYPE vt) {
    switch (vt) {
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
        case VT_BSTR:
        case VT_DISPATCH:
        case VT_UNKNOWN:
        case VT_ERROR:
        case VT_BOOL:
        case VT_VARIANT:
        case VT_UI1:
            return true;
        default:
            return false;
    }
}

// Reads one element of type `vt` at `p` into a VARIANT view (no ownership taken).
VARIANT elementView(VARTYPE vt, const void* p) {
    VARIANT v;
    VariantInit(&v);
    if (vt == VT_VARIANT) return *static_cast<const VARIANT*>(p);
    v.vt = vt;
    switch (vt) {
        case VT_I2:
            v.iVal = *static_cast<const SHORT*>(p);
            break;
        case VT_I4:
            v.lVal = *static_cast<const LONG*>(p);
            break;
        case VT_R4:
            v.fltVal = *static_cast<const FLOAT*>(p);
            break;
        case VT_R8:
            v.dblVal = *static_cast<const DOUBLE*>(p);
            break;
        case VT_CY:
            v.cyVal = *static_cast<const CY*>(p);
            break;
        case VT_DATE:
            v.date = *static_cast<const DATE*>(p);
            break;
        case VT_BSTR:
            v.bstrVal = *static_cast<BSTR const*>(p);
            break;
        case VT_DISPATCH:
            v.pdispVal = *static_cast<IDispatch* const*>(p);
            break;
        case VT_UNKNOWN:
            v.punkVal = *static_cast<IUnknown* const*>(p);
            break;
        case VT_ERROR:
            v.scode = *static_cast<const SCODE*>(p);
            break;
        case VT_BOOL:
            v.boolVal = *static_cast<const VARIANT_BOOL*>(p);
            break;
        case VT_UI1:
            v.bVal = *static_cast<const BYTE*>(p);
            break;
        default:
            raise(err::TypeMismatch);
    }
    return v;
}

// Stores an owned VARIANT of type `vt` (or any type, for VT_VARIANT) into an element slot,
// taking its ownership.
void putElement(VARTYPE vt, void* p, VARIANT& v) {
    if (vt == VT_VARIANT) {
        *static_cast<VARIANT*>(p) = v;
    } else {
        switch (vt) {
            case VT_I2:
                *static_cast<SHORT*>(p) = v.iVal;
                break;
            case VT_I4:
                *static_cast<LONG*>(p) = v.lVal;
                break;
            case VT_R4:
                *static_cast<FLOAT*>(p) = v.fltVal;
                break;
            case VT_R8:
                *static_cast<DOUBLE*>(p) = v.dblVal;
                break;
            case VT_CY:
                *static_cast<CY*>(p) = v.cyVal;
                break;
            case VT_DATE:
                *static_cast<DATE*>(p) = v.date;
                break;
            case VT_BSTR:
                *static_cast<BSTR*>(p) = v.bstrVal;
                break;
            case VT_DISPATCH:
                *static_cast<IDispatch**>(p) = v.pdispVal;
                break;
            case VT_UNKNOWN:
                *static_cast<IUnknown**>(p) = v.punkVal;
                break;
            case VT_ERROR:
                *static_cast<SCODE*>(p) = v.scode;
                break;
            case VT_BOOL:
                *static_cast<VARIANT_BOOL*>(p) = v.boolVal;
                break;
            case VT_UI1:
                *static_cast<BYTE*>(p) = v.bVal;
                break;
            default:
                VariantClear(&v);
                raise(err::TypeMismatch);
        }
    }
    VariantInit(&v);
}

std::vector<SAFEARRAYBOUND> boundsOf(SAFEARRAY* sa) {
    UINT dims = SafeArrayGetDim(sa);
    std::vector<SAFEARRAYBOUND> bounds(dims);
    for (UINT d = 0; d < dims; ++d) {
        LONG lo = 0, hi = -1;
        SafeArrayGetLBound(sa, d + 1, &lo);
        SafeArrayGetUBound(sa, d + 1, &hi);
        bounds[d].lLbound = lo;
        bounds[d].cElements = static_cast<ULONG>(hi - lo + 1);
    }
    return bounds;
}

std::size_t elementCount(const std::vector<SAFEARRAYBOUND>& bounds) {
    std::size_t n = bounds.empty() ? 0 : 1;
    for (auto& b : bounds) n *= b.cElements;
    return n;
}

// A late-bound object of the client, called through its IDispatch.
class ClientObject final : public Object {
  public:
    explicit ClientObject(ComPtr<IDispatch> d) : disp_(std::move(d)) {}
    IDispatch* dispatch() const { return disp_.get(); }

    Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override {
        if (!disp_) raise(err::ObjectNotSet);
        DISPID id = DISPID_VALUE;
        if (!name.empty()) {
            std::wstring w = wideString(name);
            LPOLESTR names[1] = {w.data()};
            if (FAILED(disp_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) &&
                !dispatchExId(w, id))
                raise(err::NoSuchMember);
        }
        bool put = kind == CallKind::PropertyLet || kind == CallKind::PropertySet;
        std::vector<UniqueVariant> values(args.size());
        std::vector<VARIANTARG> argv(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            VARIANTARG& slot = argv[args.size() - 1 - i];
            toVariant(args[i], values[i].get());
            if (put && i + 1 == args.size()) {
                slot = *values[i].get();  // the new value goes by value
            } else {
                VariantInit(&slot);
                slot.vt = VT_BYREF | VT_VARIANT;
                slot.pvarVal = values[i].get();
            }
        }
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS dp{argv.data(), put ? &named : nullptr, static_cast<UINT>(argv.size()),
                      put ? 1u : 0u};
        WORD flags = kind == CallKind::Method        ? DISPATCH_METHOD
                     : kind == CallKind::PropertyGet ? DISPATCH_PROPERTYGET | DISPATCH_METHOD
                     : kind == CallKind::PropertyLet ? DISPATCH_PROPERTYPUT
                                                     : DISPATCH_PROPERTYPUTREF;
        UniqueVariant result;
        EXCEPINFO info{};
        UINT argErr = 0;
        HRESULT hr = disp_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp,
                                   put ? nullptr : result.get(), &info, &argErr);
        if (FAILED(hr)) fail(hr, info);
        for (std::size_t i = 0; i < args.size(); ++i)
            if (!(put && i + 1 == args.size())) args[i] = fromVariant(*values[i].get());
        return put ? Variant() : fromVariant(*result.get());
    }

  private:
    // Script objects may answer names only through IDispatchEx (Wine's VBScript classes do).
    bool dispatchExId(std::wstring& name, DISPID& id) const {
        ComPtr<IDispatchEx> ex;
        // IID_IDispatchEx, which this toolchain's uuid library lacks.
        static constexpr IID kDispatchEx = {
            0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};
        if (FAILED(disp_->QueryInterface(kDispatchEx, ex.putVoid()))) return false;
        Bstr b(SysAllocStringLen(name.data(), static_cast<UINT>(name.size())));
        return SUCCEEDED(ex->GetDispID(b.get(), fdexNameCaseInsensitive, &id));
    }

    [[noreturn]] static void fail(HRESULT hr, EXCEPINFO& info) {
        Bstr source(info.bstrSource), description(info.bstrDescription), help(info.bstrHelpFile);
        if (hr == DISP_E_EXCEPTION) {
            if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
            source.reset(info.bstrSource);
            description.reset(info.bstrDescription);
            help.reset(info.bstrHelpFile);
            HRESULT code = info.scode ? info.scode : static_cast<HRESULT>(info.wCode);
            int32_t number = HRESULT_FACILITY(code) == FACILITY_CONTROL && code < 0
                                 ? static_cast<int32_t>(HRESULT_CODE(code))
                                 : static_cast<int32_t>(code);
            throw Error(number, toString(source.get()), toString(description.get()));
        }
        switch (hr) {
            case DISP_E_MEMBERNOTFOUND:
            case DISP_E_UNKNOWNNAME:
                raise(err::NoSuchMember);
            case DISP_E_TYPEMISMATCH:
                raise(err::TypeMismatch);
            case DISP_E_OVERFLOW:
                raise(err::Overflow);
            case DISP_E_BADPARAMCOUNT:
                raise(err::WrongArgumentCount);
            case DISP_E_PARAMNOTOPTIONAL:
                raise(err::ArgumentNotOptional);
            case E_OUTOFMEMORY:
                raise(err::OutOfMemory);
            default:
                throw Error(static_cast<int32_t>(hr));
        }
    }

    ComPtr<IDispatch> disp_;
};

class Enumerator final : public SingleInterface<IEnumVARIANT> {
  public:
    Enumerator(std::shared_ptr<const std::vector<Variant>> items, std::size_t pos)
        : SingleInterface(IID_IEnumVARIANT), items_(std::move(items)), pos_(pos) {}

    STDMETHODIMP Next(ULONG celt, VARIANT* rgVar, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!rgVar && celt) return E_POINTER;
        ULONG n = 0;
        try {
            for (; n < celt && pos_ < items_->size(); ++n, ++pos_) {
                VariantInit(&rgVar[n]);
                toVariant((*items_)[pos_], &rgVar[n]);
            }
        } catch (...) {
            for (ULONG i = 0; i < n; ++i) VariantClear(&rgVar[i]);
            return report(nullptr, IID_IEnumVARIANT);
        }
        if (fetched) *fetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG celt) override {
        std::size_t left = items_->size() - pos_;
        pos_ += celt < left ? celt : left;
        return celt <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumVARIANT** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) Enumerator(items_, pos_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

  private:
    std::shared_ptr<const std::vector<Variant>> items_;
    std::size_t pos_;
};

}  // namespace

const VARIANT* referencedValue(const VARIANT* v) {
    for (int depth = 0; v && v->vt == (VT_BYREF | VT_VARIANT); ++depth) {
        if (depth == deepestReference) return nullptr;
        v = v->pvarVal;
    }
    return v;
}

Variant fromVariant(const VARIANT& in) {
    const VARIANT* v = referencedValue(&in);
    if (!v) raise(err::TypeMismatch);
    VARTYPE vt = v->vt;
    bool byref = vt & VT_BYREF;
    vt &= ~VT_BYREF;
    if (byref && !v->byref) raise(err::TypeMismatch);
    if (vt & VT_ARRAY) return Variant(fromSafeArray(byref ? *v->pparray : v->parray));
    switch (vt) {
        case VT_EMPTY:
            return Variant();
        case VT_NULL:
            return Variant(Null{});
        case VT_I2:
            return Variant(static_cast<int16_t>(byref ? *v->piVal : v->iVal));
        case VT_I4:
            return Variant(static_cast<int32_t>(byref ? *v->plVal : v->lVal));
        case VT_R4:
            return Variant(byref ? *v->pfltVal : v->fltVal);
        case VT_R8:
            return Variant(byref ? *v->pdblVal : v->dblVal);
        case VT_CY:
            return Variant(Currency{(byref ? *v->pcyVal : v->cyVal).int64});
        case VT_DATE:
            return Variant(Date{byref ? *v->pdate : v->date});
        case VT_BSTR:
            return Variant(toString(byref ? *v->pbstrVal : v->bstrVal));
        case VT_DISPATCH:
            return Variant(fromDispatch(byref ? *v->ppdispVal : v->pdispVal));
        case VT_UNKNOWN:
            return Variant(fromDispatch(byref ? *v->ppunkVal : v->punkVal));
        case VT_ERROR:
            return Variant(ErrorValue{byref ? *v->pscode : v->scode});
        case VT_BOOL:
            return Variant((byref ? *v->pboolVal : v->boolVal) != VARIANT_FALSE);
        case VT_UI1:
            return Variant(static_cast<uint8_t>(byref ? *v->pbVal : v->bVal));
        case VT_RECORD:
            raise(err::UnsupportedAutomationType);
        default: {
            // Other numeric types (VT_I1, VT_UI2, VT_I8, VT_DECIMAL...) arrive as Double or Long.
            UniqueVariant tmp;
            VARTYPE to = (vt == VT_I1 || vt == VT_UI2 || vt == VT_INT) ? VT_I4 : VT_R8;
            if (FAILED(changeType(tmp.get(), v, to))) raise(err::TypeMismatch);
            return fromVariant(*tmp.get());
        }
    }
}

void toVariant(const Variant& v, VARIANT* out) {
    VariantInit(out);
    if (v.isArray()) {
        SAFEARRAY* sa = toSafeArray(v.array());
        out->vt = VT_ARRAY | comType(v.array().elementType());
        out->parray = sa;
        return;
    }
    switch (v.type()) {
        case VarType::Empty:
            break;
        case VarType::Null:
            out->vt = VT_NULL;
            break;
        case VarType::Integer:
            out->vt = VT_I2;
            out->iVal = v.integer();
            break;
        case VarType::Long:
            out->vt = VT_I4;
            out->lVal = v.lng();
            break;
        case VarType::Single:
            out->vt = VT_R4;
            out->fltVal = v.single();
            break;
        case VarType::Double:
            out->vt = VT_R8;
            out->dblVal = v.dbl();
            break;
        case VarType::Currency:
            out->vt = VT_CY;
            out->cyVal.int64 = v.currency().scaled;
            break;
        case VarType::Date:
            out->vt = VT_DATE;
            out->date = v.date().serial;
            break;
        case VarType::String:
            out->bstrVal = allocBstr(v.str());
            out->vt = VT_BSTR;
            break;
        case VarType::Object:
            out->pdispVal = toDispatch(v.object());
            out->vt = VT_DISPATCH;
            break;
        case VarType::Error:
            out->vt = VT_ERROR;
            out->scode = v.error().scode;
            break;
        case VarType::Boolean:
            out->vt = VT_BOOL;
            out->boolVal = v.boolean() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VarType::Byte:
            out->vt = VT_UI1;
            out->bVal = v.byte();
            break;
        case VarType::Variant:
            break;
    }
}

Array fromSafeArray(SAFEARRAY* sa) {
    if (!sa) return Array(VarType::Variant);
    VARTYPE vt = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(sa, &vt))) vt = VT_VARIANT;
    if (!isElementType(vt)) raise(err::TypeMismatch);
    auto bounds = boundsOf(sa);
    std::vector<Bound> coreBounds;
    for (auto& b : bounds) coreBounds.push_back({b.lLbound, static_cast<int32_t>(b.cElements)});
    Array out(coreType(vt), coreBounds);
    std::size_t n = elementCount(bounds);
    if (n == 0) return out;
    ArrayData data(sa);
    if (!data.ok()) raise(err::TypeMismatch);  // locked by its owner
    auto* base = static_cast<const char*>(data.data());
    auto& items = out.items();
    for (std::size_t i = 0; i < n; ++i) {
        VARIANT view = elementView(vt, base + i * sa->cbElements);
        items[i] = fromVariant(view);
    }
    return out;
}

SAFEARRAY* toSafeArray(const Array& a) {
    if (a.dims() == 0) return nullptr;
    VARTYPE vt = comType(a.elementType());
    std::vector<SAFEARRAYBOUND> bounds;
    for (auto& b : a.bounds())
        bounds.push_back({static_cast<ULONG>(b.count), static_cast<LONG>(b.lower)});
    SafeArray sa = SafeArray::create(vt, static_cast<UINT>(bounds.size()), bounds.data());
    {
        ArrayData data(sa.get());
        if (!data.ok()) throw std::bad_alloc();
        auto* base = static_cast<char*>(data.data());
        const auto& items = a.items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            UniqueVariant v;
            toVariant(items[i], v.get());
            if (vt != VT_VARIANT && v->vt != vt && FAILED(changeType(v.get(), v.get(), vt)))
                raise(err::TypeMismatch);
            VARIANT owned;
            v.releaseTo(&owned);
            putElement(vt, base + i * sa.get()->cbElements, owned);
        }
    }
    return sa.release();
}

SAFEARRAY* convertSafeArray(SAFEARRAY* sa, VARTYPE elementVt) {
    if (!sa) return nullptr;
    VARTYPE vt = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(sa, &vt)) || !isElementType(vt)) raise(err::TypeMismatch);
    auto bounds = boundsOf(sa);
    SafeArray out = SafeArray::create(elementVt, static_cast<UINT>(bounds.size()), bounds.data());
    const std::size_t n = elementCount(bounds);
    {
        ArrayData from(sa), to(out.get());
        if (n && (!from.ok() || !to.ok())) raise(err::TypeMismatch);
        for (std::size_t i = 0; i < n; ++i) {
            VARIANT view = elementView(vt, static_cast<char*>(from.data()) + i * sa->cbElements);
            UniqueVariant v;
            HRESULT hr = elementVt == VT_VARIANT ? VariantCopyInd(v.get(), &view)
                                                 : changeType(v.get(), &view, elementVt);
            if (FAILED(hr)) raise(view.vt == VT_NULL ? err::InvalidUseOfNull : err::TypeMismatch);
            VARIANT owned;
            v.releaseTo(&owned);
            putElement(elementVt, static_cast<char*>(to.data()) + i * out.get()->cbElements, owned);
        }
    }
    return out.release();
}

void replaceArray(SAFEARRAY** where, SAFEARRAY* fresh) {
    SafeArray held(fresh);
    SAFEARRAY* old = *where;
    if (!old || (!(old->fFeatures & (FADF_FIXEDSIZE | FADF_STATIC)) && old->cLocks == 0)) {
        if (old) SafeArrayDestroy(old);
        *where = held.release();
        return;
    }
    bool same = fresh && fresh->cDims == old->cDims;
    for (USHORT d = 0; same && d < old->cDims; ++d)
        same = fresh->rgsabound[d].lLbound == old->rgsabound[d].lLbound &&
               fresh->rgsabound[d].cElements == old->rgsabound[d].cElements;
    if (!same) raise(err::ArrayFixedOrLocked);
    VARTYPE want = VT_EMPTY, has = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(old, &want))) want = VT_VARIANT;
    if (FAILED(SafeArrayGetVartype(fresh, &has)) || has != want)
        held.reset(convertSafeArray(fresh, want));
    // Some implementations copy the source's features too; the owner's flags must stay.
    const USHORT features = old->fFeatures;
    HRESULT hr = SafeArrayCopyData(held.get(), old);
    old->fFeatures = features;
    if (FAILED(hr)) raise(err::ArrayFixedOrLocked);
}

void storeThrough(VARTYPE vt, void* p, VARIANT& value) {
    if (vt == VT_VARIANT) {
        VariantClear(static_cast<VARIANT*>(p));
        *static_cast<VARIANT*>(p) = value;
        VariantInit(&value);
        return;
    }
    if (vt & VT_ARRAY) {
        SAFEARRAY* fresh = value.parray;
        VariantInit(&value);
        replaceArray(static_cast<SAFEARRAY**>(p), fresh);
        return;
    }
    switch (vt) {
        case VT_BSTR:
            SysFreeString(*static_cast<BSTR*>(p));
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            if (*static_cast<IUnknown**>(p)) (*static_cast<IUnknown**>(p))->Release();
            break;
        default:
            break;
    }
    putElement(vt, p, value);
}

void writeThrough(VARIANT* ref, VARIANT& value) {
    // A reference to a variant that is itself a reference: the value goes where the chain ends.
    for (int depth = 0; depth < deepestReference && ref->vt == (VT_BYREF | VT_VARIANT) &&
                        ref->pvarVal && (ref->pvarVal->vt & VT_BYREF);
         ++depth)
        ref = ref->pvarVal;
    UniqueVariant held;
    *held.get() = value;
    VariantInit(&value);
    VARTYPE target = ref->vt & ~VT_BYREF;
    if (target != VT_VARIANT && held->vt != target) {
        if ((target & VT_ARRAY) && (held->vt & VT_ARRAY) && !(held->vt & VT_BYREF)) {
            SAFEARRAY* converted = convertSafeArray(held->parray, target & ~VT_ARRAY);
            VariantClear(held.get());
            held->vt = target;
            held->parray = converted;
        } else if ((target & VT_ARRAY) || FAILED(changeType(held.get(), held.get(), target))) {
            raise(err::TypeMismatch);
        }
    }
    VARIANT owned;
    held.releaseTo(&owned);
    storeThrough(target, ref->byref, owned);
}

HRESULT changeType(VARIANT* out, const VARIANT* in, VARTYPE vt) {
    const VARIANT* v = referencedValue(in);
    if (!v || ((v->vt & VT_BYREF) && !v->byref)) return E_INVALIDARG;
    const VARTYPE from = v->vt & ~VT_BYREF;
    const bool object = from == VT_DISPATCH || from == VT_UNKNOWN;
    const bool byref = v->vt & VT_BYREF;
    if (!object || vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_VARIANT ||
        !(byref ? *v->ppunkVal : v->punkVal))
        return VariantChangeType(out, const_cast<VARIANT*>(in), 0, vt);
    UniqueVariant plain, converted;
    try {
        toVariant(resolveDefault(fromVariant(*v)), plain.get());
    } catch (...) {
        return DISP_E_TYPEMISMATCH;
    }
    HRESULT hr = VariantChangeType(converted.get(), plain.get(), 0, vt);
    if (FAILED(hr)) return hr;
    VariantClear(out);  // may be `in` itself: its object is let go only now
    converted.releaseTo(out);
    return S_OK;
}

ObjectRef fromDispatch(IUnknown* p) {
    if (!p) return nullptr;
    if (auto core = unwrapCore(p)) return core;
    ComPtr<IDispatch> d;
    if (FAILED(p->QueryInterface(IID_IDispatch, d.putVoid()))) raise(err::TypeMismatch);
    return std::make_shared<ClientObject>(std::move(d));
}

IDispatch* toDispatch(const ObjectRef& o) {
    if (!o) return nullptr;
    if (auto* client = dynamic_cast<ClientObject*>(o.get())) {
        client->dispatch()->AddRef();
        return client->dispatch();
    }
    if (auto core = std::dynamic_pointer_cast<ClassObject>(o)) return wrapCore(core);
    if (auto* system = dynamic_cast<platform::SystemObject*>(o.get()); system && system->system()) {
        auto* d = static_cast<IDispatch*>(system->system());
        d->AddRef();
        return d;
    }
    raise(err::TypeMismatch);
}

IUnknown* toEnumerator(Enumeration e) {
    auto items = std::make_shared<const std::vector<Variant>>(std::move(e.items));
    return new Enumerator(std::move(items), 0);
}

}  // namespace brv::com

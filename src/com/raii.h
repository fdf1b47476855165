// Small owners for the automation resources: BSTR, VARIANT, interface pointers, SAFEARRAY and
// its data lock, and the descriptions borrowed from an ITypeInfo. Each releases what it holds
// exactly once; release() hands ownership on.
#pragma once

#include <new>
#include <utility>

#include "com/ole.h"

namespace brv::com {

class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(BSTR owned) : b_(owned) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) reset(std::exchange(o.b_, nullptr));
        return *this;
    }
    ~Bstr() { SysFreeString(b_); }

    BSTR get() const { return b_; }
    BSTR release() { return std::exchange(b_, nullptr); }
    void reset(BSTR b = nullptr) {
        SysFreeString(b_);
        b_ = b;
    }
    BSTR* put() {
        reset();
        return &b_;
    }

  private:
    BSTR b_ = nullptr;
};

// Every late-bound call makes a frame of these, mostly left empty: an empty one costs no call
// into the platform, neither to start nor to end.
class UniqueVariant {
  public:
    UniqueVariant() { v_.vt = VT_EMPTY; }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& o) noexcept : v_(o.v_) { o.v_.vt = VT_EMPTY; }
    UniqueVariant& operator=(UniqueVariant&& o) noexcept {
        if (this != &o) {
            clear();
            v_ = o.v_;
            o.v_.vt = VT_EMPTY;
        }
        return *this;
    }
    ~UniqueVariant() { clear(); }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT* operator->() { return &v_; }
    VARIANT* reset() {
        clear();
        return &v_;
    }
    // Moves the value into `out` (which must be free to overwrite).
    void releaseTo(VARIANT* out) {
        *out = v_;
        v_.vt = VT_EMPTY;
    }

  private:
    void clear() {
        if (v_.vt != VT_EMPTY) VariantClear(&v_);
    }
    VARIANT v_;
};

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller owns.
    static ComPtr attach(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Adds a reference of its own.
    static ComPtr share(T* p) {
        if (p) p->AddRef();
        return attach(p);
    }
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() {
        if (p_) p_->Release();
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* release() { return std::exchange(p_, nullptr); }
    T** put() {
        *this = nullptr;
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    template <typename U>
    ComPtr<U> query(REFIID iid) const {
        ComPtr<U> out;
        if (p_) p_->QueryInterface(iid, out.putVoid());
        return out;
    }

  private:
    T* p_ = nullptr;
};

class SafeArray {
  public:
    SafeArray() = default;
    explicit SafeArray(SAFEARRAY* owned) : sa_(owned) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SafeArray(SafeArray&& o) noexcept : sa_(std::exchange(o.sa_, nullptr)) {}
    SafeArray& operator=(SafeArray&& o) noexcept {
        if (this != &o) reset(std::exchange(o.sa_, nullptr));
        return *this;
    }
    ~SafeArray() { reset(); }

    // A new array; throws std::bad_alloc when the platform cannot make it.
    static SafeArray create(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
        SafeArray a(SafeArrayCreate(vt, dims, bounds));
        if (!a.sa_) throw std::bad_alloc();
        return a;
    }

    SAFEARRAY* get() const { return sa_; }
    SAFEARRAY* release() { return std::exchange(sa_, nullptr); }
    void reset(SAFEARRAY* sa = nullptr) {
        if (sa_) SafeArrayDestroy(sa_);
        sa_ = sa;
    }

  private:
    SAFEARRAY* sa_ = nullptr;
};

// SafeArrayAccessData for one scope.
class ArrayData {
  public:
    explicit ArrayData(SAFEARRAY* sa) : sa_(sa) {
        if (sa_ && FAILED(SafeArrayAccessData(sa_, &data_))) sa_ = nullptr;
    }
    ArrayData(const ArrayData&) = delete;
    ArrayData& operator=(const ArrayData&) = delete;
    ~ArrayData() {
        if (sa_) SafeArrayUnaccessData(sa_);
    }
    bool ok() const { return sa_ != nullptr; }
    void* data() const { return data_; }

  private:
    SAFEARRAY* sa_;
    void* data_ = nullptr;
};

// The descriptions that an ITypeInfo lends (TYPEATTR, FUNCDESC, VARDESC), given back to it on every
// path. result() says whether the loan was granted.
class TypeAttr {
  public:
    explicit TypeAttr(ITypeInfo* info) : info_(info), hr_(info->GetTypeAttr(&p_)) {}
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    ~TypeAttr() {
        if (p_) info_->ReleaseTypeAttr(p_);
    }
    HRESULT result() const { return hr_; }
    const TYPEATTR* operator->() const { return p_; }

  private:
    ITypeInfo* info_;
    TYPEATTR* p_ = nullptr;
    HRESULT hr_;
};

// A member's or a variable's description, borrowed by index.
template <typename Desc, HRESULT (STDMETHODCALLTYPE ITypeInfo::*Get)(UINT, Desc**),
          void (STDMETHODCALLTYPE ITypeInfo::*GiveBack)(Desc*)>
class InfoDesc {
  public:
    InfoDesc(ITypeInfo* info, UINT index) : info_(info), hr_((info->*Get)(index, &p_)) {}
    InfoDesc(const InfoDesc&) = delete;
    InfoDesc& operator=(const InfoDesc&) = delete;
    ~InfoDesc() {
        if (p_) (info_->*GiveBack)(p_);
    }
    HRESULT result() const { return hr_; }
    const Desc* operator->() const { return p_; }

  private:
    ITypeInfo* info_;
    Desc* p_ = nullptr;
    HRESULT hr_;
};
using FuncDesc = InfoDesc<FUNCDESC, &ITypeInfo::GetFuncDesc, &ITypeInfo::ReleaseFuncDesc>;
using VarDesc = InfoDesc<VARDESC, &ITypeInfo::GetVarDesc, &ITypeInfo::ReleaseVarDesc>;

}  // namespace brv::com

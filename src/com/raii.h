// Small owners for the automation resources: BSTR, VARIANT, interface pointers and a
// SAFEARRAY data lock. Each releases what it holds exactly once; release() hands ownership on.
#pragma once

// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
// clang-format on

#include <utility>

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

class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
    UniqueVariant& operator=(UniqueVariant&& o) noexcept {
        if (this != &o) {
            VariantClear(&v_);
            v_ = o.v_;
            VariantInit(&o.v_);
        }
        return *this;
    }
    ~UniqueVariant() { VariantClear(&v_); }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT* operator->() { return &v_; }
    VARIANT* reset() {
        VariantClear(&v_);
        return &v_;
    }
    // Moves the value into `out` (which must be free to overwrite).
    void releaseTo(VARIANT* out) {
        *out = v_;
        VariantInit(&v_);
    }

  private:
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

}  // namespace brv::com

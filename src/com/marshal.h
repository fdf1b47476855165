// Argument conversion for the vtable methods: load() turns a COM argument into the core
// parameter's type, store() puts a core value into a COM out or in-out pointer. Overloads are
// chosen by the pair (COM type, core type); a pair that has none does not compile, which is
// how a wiring mistake shows up.
#pragma once

#include <memory>
#include <type_traits>

#include "com/errors.h"
#include "com/ole.h"
#include "com/raii.h"
#include "com/server.h"
#include "com/values.h"
#include "frame/collection.h"
#include "frame/roster.h"

namespace brv::com {

template <typename P>
P* deref(P* p) {
    if (!p) throw Fault{E_POINTER};
    return p;
}

// COM -> core.
inline void load(BSTR in, String& out) {
    out = toString(in);
}
inline void load(BSTR* in, String& out) {
    out = toString(*deref(in));
}
inline void load(short in, int16_t& out) {
    out = in;
}
inline void load(short* in, int16_t& out) {
    out = *deref(in);
}
inline void load(long in, int32_t& out) {
    out = in;
}
inline void load(long* in, int32_t& out) {
    out = *deref(in);
}
template <typename E>
requires std::is_enum_v<E>
void load(E in, int32_t& out) {
    out = static_cast<int32_t>(in);
}
template <typename E>
requires std::is_enum_v<E>
void load(E* in, int32_t& out) {
    out = static_cast<int32_t>(*deref(in));
}
inline void load(unsigned char in, uint8_t& out) {
    out = in;
}
inline void load(unsigned char* in, uint8_t& out) {
    out = *deref(in);
}
inline void load(VARIANT_BOOL in, bool& out) {
    out = in != VARIANT_FALSE;
}
inline void load(VARIANT_BOOL* in, bool& out) {
    out = *deref(in) != VARIANT_FALSE;
}
inline void load(double in, double& out) {
    out = in;
}
inline void load(double* in, double& out) {
    out = *deref(in);
}
inline void load(DATE in, Date& out) {
    out = Date{in};
}
inline void load(DATE* in, Date& out) {
    out = Date{*deref(in)};
}
inline void load(const VARIANT& in, Variant& out) {
    out = fromVariant(in);
}
inline void load(VARIANT* in, Variant& out) {
    out = fromVariant(*deref(in));
}
inline void load(IDispatch* in, ObjectRef& out) {
    out = fromDispatch(in);
}
inline void load(IDispatch** in, ObjectRef& out) {
    out = fromDispatch(*deref(in));
}
inline void load(SAFEARRAY** in, Array& out) {
    out = fromSafeArray(*deref(in));
}

// core -> COM. `fresh` is true for a result (the pointer holds nothing yet) and false for a
// written-back in-out argument (the old value is released first).
inline void store(const String& v, BSTR* out, bool fresh) {
    BSTR b = allocBstr(v);
    if (!fresh) SysFreeString(*out);
    *out = b;
}
inline void store(int16_t v, short* out, bool) {
    *out = v;
}
inline void store(int32_t v, long* out, bool) {
    *out = v;
}
template <typename E>
requires std::is_enum_v<E>
void store(int32_t v, E* out, bool) {
    *out = static_cast<E>(v);
}
inline void store(uint8_t v, unsigned char* out, bool) {
    *out = v;
}
inline void store(bool v, VARIANT_BOOL* out, bool) {
    *out = v ? VARIANT_TRUE : VARIANT_FALSE;
}
inline void store(double v, double* out, bool) {
    *out = v;
}
inline void store(Date v, DATE* out, bool) {
    *out = v.serial;
}
inline void store(const Variant& v, VARIANT* out, bool fresh) {
    VARIANT tmp;
    toVariant(v, &tmp);
    if (!fresh && (out->vt & VT_BYREF)) return writeThrough(out, tmp);
    if (!fresh) VariantClear(out);
    *out = tmp;
}
inline void store(const ObjectRef& v, IDispatch** out, bool fresh) {
    IDispatch* d = toDispatch(v);
    if (!fresh && *out) (*out)->Release();
    *out = d;
}
inline void store(const Array& v, SAFEARRAY** out, bool fresh) {
    SAFEARRAY* sa = toSafeArray(v);
    if (fresh)
        *out = sa;
    else
        replaceArray(out, sa);
}
inline void store(Enumeration v, IUnknown** out, bool) {
    *out = toEnumerator(std::move(v));
}
template <typename C, typename I>
requires std::is_base_of_v<ClassObject, C> && std::is_base_of_v<IUnknown, I>
void store(const std::shared_ptr<C>& v, I** out, bool) {
    *out = nullptr;
    if (!v) return;
    ComPtr<IDispatch> d = ComPtr<IDispatch>::attach(wrapCore(v));
    if (FAILED(d->QueryInterface(__uuidof(I), reinterpret_cast<void**>(out))))
        throw Fault{E_NOINTERFACE};
}

// One argument on its way to the core method: converted on construction, written back (for a
// non-const reference parameter) by finish(). A member that fails after writing to a
// by-reference parameter leaves the caller's variable changed, as a reference does; one that
// fails before leaves the variable exactly as it was, type included.
template <typename P, typename C>
class Arg {
  public:
    using T = std::remove_cvref_t<P>;
    static constexpr bool kWritesBack =
        std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;

    Arg(C c) : src_(c) {
        load(src_, value_);
        if constexpr (kWritesBack) original_ = value_;
    }
    P get() { return value_; }
    void finish() {
        if constexpr (kWritesBack) {
            static_assert(std::is_pointer_v<C>, "a written-back parameter needs an in-out pointer");
            store(value_, src_, false);
        }
    }
    void finishAfterFailure() noexcept {
        if constexpr (kWritesBack) {
            try {
                if (!(value_ == original_)) store(value_, src_, false);
            } catch (...) {
                // The member's own error is the one to report.
            }
        }
    }

  private:
    struct Nothing {};
    C src_;
    T value_{};
    [[no_unique_address]] std::conditional_t<kWritesBack, T, Nothing> original_{};
};

}  // namespace brv::com

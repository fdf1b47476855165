// The class objects: one template gives every class its IUnknown, IDispatch (driven by the type
// library) and ISupportErrorInfo; an adapter adds only its interface's members, each a call of
// the core method through call(), which converts the arguments and the result.
#pragma once

#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

#include "com/dispatch.h"
#include "com/errors.h"
#include "com/marshal.h"
#include "com/server.h"

namespace brv::com {

// The part of every class object that does not depend on its interface.
class ComObject {
  public:
    explicit ComObject(std::shared_ptr<ClassObject> core);
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject();

    // The default interface (no reference added).
    virtual IDispatch* dispatch() = 0;
    ULONG addRef() { return ++refs_; }
    ULONG release();
    const std::shared_ptr<ClassObject>& core() const { return core_; }

  protected:
    std::shared_ptr<ClassObject> core_;
    const ClassInfo& info_;

  private:
    ULONG refs_ = 1;
};

template <typename M>
struct MethodTraits;
template <typename C, typename R, typename... P>
struct MethodTraits<R (C::*)(P...)> {
    using Class = C;
    using Result = R;
    using Params = std::tuple<P...>;
};
template <typename C, typename R, typename... P>
struct MethodTraits<R (C::*)(P...) const> : MethodTraits<R (C::*)(P...)> {};

template <typename Itf>
class Dispatch : public Itf, public ISupportErrorInfo, public ComObject {
  public:
    explicit Dispatch(std::shared_ptr<ClassObject> core) : ComObject(std::move(core)) {}

    IDispatch* dispatch() override { return static_cast<Itf*>(this); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, __uuidof(Itf))) {
            *ppv = static_cast<Itf*>(this);
        } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
            *ppv = static_cast<ISupportErrorInfo*>(this);
        } else if (IsEqualIID(riid, IID_ICoreObject)) {
            *ppv = static_cast<ComObject*>(this);
        } else {
            return E_NOINTERFACE;
        }
        addRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return addRef(); }
    STDMETHODIMP_(ULONG) Release() override { return release(); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        try {
            *info = meta().info.get();
            (*info)->AddRef();
            return S_OK;
        } catch (...) {
            return report(&info_, __uuidof(Itf));
        }
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                               DISPID* ids) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        try {
            return getIDsOfNames(meta(), names, count, ids);
        } catch (...) {
            return report(&info_, __uuidof(Itf));
        }
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        try {
            return invoke(static_cast<Itf*>(this), meta(), info_, __uuidof(Itf), id, flags, params,
                          result, excepInfo, argErr);
        } catch (...) {
            return report(&info_, __uuidof(Itf));
        }
    }

    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
        return IsEqualIID(riid, __uuidof(Itf)) || IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
    }

  protected:
    // Calls a core member: each COM argument is converted to the core parameter's type, a
    // non-const reference parameter is written back, and the result (when the core member
    // returns one) goes to the last COM argument.
    template <typename M, typename... A>
    HRESULT call(M method, A... args) noexcept {
        using Traits = MethodTraits<M>;
        constexpr std::size_t n = std::tuple_size_v<typename Traits::Params>;
        static_assert(sizeof...(A) == n + (std::is_void_v<typename Traits::Result> ? 0 : 1),
                      "the COM member and the core member take different arguments");
        try {
            std::tuple<A...> all(args...);
            return callWith(method, all, std::make_index_sequence<n>{});
        } catch (...) {
            return report(&info_, __uuidof(Itf));
        }
    }

  private:
    const TypeMeta& meta() {
        if (!meta_) meta_ = &typeMeta(__uuidof(Itf));
        return *meta_;
    }

    template <typename M, typename Tuple, std::size_t... I>
    HRESULT callWith(M method, Tuple& all, std::index_sequence<I...>) {
        using Traits = MethodTraits<M>;
        using R = typename Traits::Result;
        using Params = typename Traits::Params;
        constexpr std::size_t n = sizeof...(I);
        if constexpr (!std::is_void_v<R>) {
            auto* out = std::get<n>(all);
            if (!out) throw Fault{E_POINTER};
            *out = std::remove_pointer_t<decltype(out)>{};
        }
        std::tuple<Arg<std::tuple_element_t<I, Params>, std::tuple_element_t<I, Tuple>>...> held(
            std::get<I>(all)...);
        auto& target = static_cast<typename Traits::Class&>(*core_);
        try {
            if constexpr (std::is_void_v<R>) {
                (target.*method)(std::get<I>(held).get()...);
                (std::get<I>(held).finish(), ...);
            } else {
                R r = (target.*method)(std::get<I>(held).get()...);
                (std::get<I>(held).finish(), ...);
                store(r, std::get<n>(all), true);
            }
        } catch (...) {
            (std::get<I>(held).finishAfterFailure(), ...);
            throw;
        }
        return S_OK;
    }

    const TypeMeta* meta_ = nullptr;
};

// The functions a class binding needs, for an adapter class `Wrapper` of core class `Core`.
template <typename Wrapper, typename Core>
struct Bind {
    static IDispatch* wrap(const std::shared_ptr<ClassObject>& core) {
        return (new Wrapper(core))->dispatch();
    }
    // A class takes the platform services it uses; one that needs none takes nothing.
    static std::shared_ptr<ClassObject> create(const platform::Platform& platform) {
        if constexpr (std::is_constructible_v<Core, const platform::Platform&>)
            return std::make_shared<Core>(platform);
        else
            return std::make_shared<Core>();
    }
};

}  // namespace brv::com

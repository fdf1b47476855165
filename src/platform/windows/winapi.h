// Win32 functions bound by library and entry-point name on their first call, never at load
// time. A missing library or entry point raises the runtime's errors 48 and 453.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace brv::platform::win {

FARPROC resolve(const char* library, const char* entry);

template <typename Fn>
class Api {
  public:
    constexpr Api(const char* library, const char* entry) : library_(library), entry_(entry) {}

    template <typename... Args>
    auto operator()(Args&&... args) const {
        return get()(std::forward<Args>(args)...);
    }

    Fn* get() const {
        Fn* fn = cached_.load(std::memory_order_acquire);
        if (!fn) {
            fn = reinterpret_cast<Fn*>(reinterpret_cast<void*>(resolve(library_, entry_)));
            cached_.store(fn, std::memory_order_release);
        }
        return fn;
    }

  private:
    const char* library_;
    const char* entry_;
    mutable std::atomic<Fn*> cached_{nullptr};
};

#define BRV_WINAPI(library, name) \
    static const ::brv::platform::win::Api<decltype(::name)> name##_(library, #name)

}  // namespace brv::platform::win

// The registry: the platform's ANSI registry functions, each answering with the platform's own
// return code (0 success, 2 not found, 5 access denied, 6 invalid handle, 87 bad parameter, 161
// bad path, 234 more data, 259 no more items, 1010 bad key, 1018 key deleted, 1314 privilege
// not held). Key names, value names and file names are automation strings; the Win32 side
// converts them through the system code page. Value data travels as the bytes the functions
// see, so text data is code-page text with its terminator, and every length is a byte count.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "frame/text.h"

namespace brv::platform {

// An open key, or one of the predefined roots: their numbers (0x80000000 upward) sign-extended
// to the width of a pointer, as the platform's own constants are.
using RegKey = std::intptr_t;

namespace reg {
// The platform's return codes that callers test.
enum Code : int32_t {
    Success = 0,
    FileNotFound = 2,
    AccessDenied = 5,
    InvalidHandle = 6,
    InvalidParameter = 87,
    BadPathName = 161,
    AlreadyExists = 183,
    MoreData = 234,
    NoMoreItems = 259,
    BadKey = 1010,
    KeyDeleted = 1018,
    PrivilegeNotHeld = 1314,
};
// What a key creation did.
enum Disposition : uint32_t { CreatedNewKey = 1, OpenedExistingKey = 2 };
}  // namespace reg

// What RegQueryInfoKeyA reports: counts, the longest names in characters and the longest data
// in bytes as the registry stores it (text as UTF-16, so about twice its code-page length).
struct RegKeyInfo {
    uint32_t subKeys = 0;
    uint32_t maxSubKeyLength = 0;
    uint32_t maxClassLength = 0;
    uint32_t values = 0;
    uint32_t maxValueNameLength = 0;
    uint32_t maxValueDataLength = 0;
};

class Registry {
  public:
    virtual ~Registry() = default;

    virtual int32_t openKey(RegKey parent, StringView path, uint32_t access, RegKey& key) const = 0;
    // `disposition` receives reg::CreatedNewKey or reg::OpenedExistingKey.
    virtual int32_t createKey(RegKey parent, StringView path, StringView keyClass, uint32_t options,
                              uint32_t access, RegKey& key, uint32_t& disposition) const = 0;
    virtual int32_t closeKey(RegKey key) const = 0;
    virtual int32_t queryInfoKey(RegKey key, RegKeyInfo& info) const = 0;

    // RegEnumValueA. `nameLength` holds the name buffer's size in bytes, terminator included;
    // on success `name` receives the name and `nameLength` its length. `data` null means no
    // data buffer; otherwise the buffer's size is `dataLength` and on success its first bytes
    // receive the data. `dataLength` receives the data's size whenever the value exists. A
    // buffer too small answers 234 and leaves the name, its length and the data unchanged.
    virtual int32_t enumValue(RegKey key, uint32_t index, String& name, uint32_t& nameLength,
                              uint32_t& type, std::string* data, uint32_t& dataLength) const = 0;
    // RegEnumKeyExA without a class buffer; the name as for enumValue.
    virtual int32_t enumKey(RegKey key, uint32_t index, String& name,
                            uint32_t& nameLength) const = 0;

    virtual int32_t setValue(RegKey key, StringView name, uint32_t type,
                             std::string_view data) const = 0;
    virtual int32_t deleteKey(RegKey key, StringView path) const = 0;
    virtual int32_t deleteValue(RegKey key, StringView name) const = 0;
    virtual int32_t saveKey(RegKey key, StringView file) const = 0;
    virtual int32_t restoreKey(RegKey key, StringView file, uint32_t flags) const = 0;
};

// Owns one open key and closes it exactly once, through the registry that opened it. `Handle`
// is RegKey for the classes; the server's registration code keeps the platform's own HKEY.
template <typename Handle = RegKey>
class KeyOwner {
  public:
    explicit KeyOwner(const Registry& registry) : registry_(&registry) {}
    KeyOwner(const KeyOwner&) = delete;
    KeyOwner& operator=(const KeyOwner&) = delete;
    KeyOwner(KeyOwner&& o) noexcept : registry_(o.registry_), key_(std::exchange(o.key_, {})) {}
    KeyOwner& operator=(KeyOwner&& o) noexcept {
        if (this != &o) {
            reset();
            registry_ = o.registry_;
            key_ = std::exchange(o.key_, {});
        }
        return *this;
    }
    ~KeyOwner() { reset(); }

    Handle get() const { return key_; }
    explicit operator bool() const { return key_ != Handle{}; }
    // Closes what is held and hands out the place for a new key.
    Handle* put() {
        reset();
        return &key_;
    }
    void reset() noexcept {
        if (key_ == Handle{}) return;
        if constexpr (std::is_pointer_v<Handle>)
            registry_->closeKey(reinterpret_cast<RegKey>(key_));
        else
            registry_->closeKey(static_cast<RegKey>(key_));
        key_ = Handle{};
    }

  private:
    const Registry* registry_;
    Handle key_{};
};

}  // namespace brv::platform

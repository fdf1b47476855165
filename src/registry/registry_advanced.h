// CRegistryAdvanced: one registry key with values of every type. Assigning the path loads every
// value into a colRegistry ("<DEFAULT>" for the unnamed one); values are written with a type the
// client chooses or one that follows from the data.
#pragma once

#include "registry/registry_key.h"
#include "registry/value_collection.h"

namespace brv {

class CRegistryAdvanced : public RegistryKey {
  public:
    explicit CRegistryAdvanced(const platform::Platform& platform);

    // The name at a position from 1 (1200 "Invalid Index" outside).
    String GetName(int16_t iRequest) const;
    // By name (empty: the unnamed value) or position; the empty string for a value that is
    // not there or whose type has no text.
    String GetValue(const Variant& vRequest) const;
    // regType 0 derives the type from the data: Integer or Long as REG_DWORD; text as
    // REG_MULTI_SZ when it holds a NUL, REG_EXPAND_SZ when it holds "%", otherwise REG_SZ;
    // other single values as REG_SZ of their text; a Byte array raises 5 "Byte Array".
    bool SetValue(const Variant& sKeyName, const Variant& sValue, const int32_t& regType);

    // Trims the path and one leading "\"; a key that cannot be loaded changes nothing else.
    void let_key(const String& vData);
    int32_t get_Access() const { return static_cast<int32_t>(loadAccess_); }
    void let_Access(int32_t lNewValue) { loadAccess_ = static_cast<uint32_t>(lNewValue); }

    const colRegistry& values() const { return values_; }

  private:
    uint32_t createAccess() const override { return 31; }
    [[noreturn]] void createFailed(int32_t code) const override;
    void load(const platform::RegKeyInfo& info) override;
    bool createValue(const Variant& name, const String& value) override {
        return SetValue(name, Variant(value), 0);
    }
    int32_t write(const String& name, uint32_t type, std::string_view data);
    int32_t writeDerived(const String& name, const Variant& value);

    colRegistry values_;
};

}  // namespace brv

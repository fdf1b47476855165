// The native registry: an in-memory tree of keys that answers as the Win32 registry functions do
// (same return codes, byte counts and buffer rules; values in creation order, sub-keys sorted by
// name without regard to case), so that the unit tests run the registry classes step by step.
// It counts the keys held open and lets a test make any call fail with a code of its choice.
#pragma once

#include <functional>
#include <memory>

#include "platform/registry.h"

namespace brv::platform {

class MemoryRegistry final : public Registry {
  public:
    enum class Op {
        Open,
        Create,
        QueryInfo,
        EnumValue,
        EnumKey,
        SetValue,
        DeleteKey,
        DeleteValue,
        Save,
        Restore
    };
    // Asked before each call with the full path of the key the call works on (for opening,
    // creating and deleting, the key named by the path) and the value name where there is
    // one, such as "HKEY_CURRENT_USER\Software\A"; an answer other than 0 is returned instead.
    using Fault = std::function<int32_t(Op op, StringView keyPath, StringView name)>;

    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    void setFault(Fault fault);
    // Keys opened and not yet closed (the predefined roots do not count).
    std::size_t openKeys() const;

    int32_t openKey(RegKey parent, StringView path, uint32_t access, RegKey& key) const override;
    int32_t createKey(RegKey parent, StringView path, StringView keyClass, uint32_t options,
                      uint32_t access, RegKey& key, uint32_t& disposition) const override;
    int32_t closeKey(RegKey key) const override;
    int32_t queryInfoKey(RegKey key, RegKeyInfo& info) const override;
    int32_t enumValue(RegKey key, uint32_t index, String& name, uint32_t& nameLength,
                      uint32_t& type, std::string* data, uint32_t& dataLength) const override;
    int32_t enumKey(RegKey key, uint32_t index, String& name, uint32_t& nameLength) const override;
    int32_t setValue(RegKey key, StringView name, uint32_t type,
                     std::string_view data) const override;
    int32_t deleteKey(RegKey key, StringView path) const override;
    int32_t deleteValue(RegKey key, StringView name) const override;
    int32_t saveKey(RegKey key, StringView file) const override;
    int32_t restoreKey(RegKey key, StringView file, uint32_t flags) const override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace brv::platform

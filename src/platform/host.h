// This build's implementations of the platform services: each is defined once for Windows
// (windows/) and once as the native stand-in (native/); host() hands them out.
#pragma once

#include "platform/platform.h"
#ifndef _WIN32
#include "platform/native/memory_registry.h"
#endif

namespace brv::platform {

class HostRegional final : public Regional {
  public:
    int compareText(StringView a, StringView b) const override;
    String upper(StringView text) const override;
    String lower(StringView text) const override;
    String formatDate(double serial) const override;
    std::optional<double> parseDate(StringView text) const override;
    std::string toAnsi(StringView text) const override;
    String fromAnsi(std::string_view bytes) const override;
};

class HostFileSystem final : public FileSystem {
  public:
    std::unique_ptr<File> open(StringView path, OpenMode mode) const override;
};

class HostProcess final : public Process {
  public:
    String commandLineArguments() const override;
};

#ifdef _WIN32
class HostRegistry final : public Registry {
  public:
    // Names are converted through `regional`'s code page.
    explicit HostRegistry(const Regional& regional) : regional_(regional) {}
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
    const Regional& regional_;
};
#endif

}  // namespace brv::platform

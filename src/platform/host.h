// This build's implementations of the platform services: each is defined once for Windows
// (windows/) and once as the native stand-in (native/); host() hands them out.
#pragma once

#include "platform/platform.h"

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

// The system queries and shell operations (windows/system.cpp, native/system.cpp).
const System& hostSystem();

}  // namespace brv::platform

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
    void makeFolder(StringView path) const override;
    std::optional<String> firstEntry(StringView pattern) const override;
    bool createNewFile(StringView path) const override;
    void deleteFile(StringView path) const override;
};

class HostProcess final : public Process {
  public:
    String commandLineArguments() const override;
};

class HostMessages final : public Messages {
  public:
    int showMessage(StringView text, StringView caption) const override;
};

class HostMousePointer final : public MousePointer {
  public:
    void setPointer(int code) const override;
};

class HostClock final : public Clock {
  public:
    double now() const override;
};

class HostDialogs final : public Dialogs {
  public:
    int getOpenFileName(FileDialogRequest& request) const override;
    int getSaveFileName(FileDialogRequest& request) const override;
    uint32_t extendedError() const override;
    uint32_t version() const override;
    String currentDirectory() const override;
    ObjectRef loadPicture(StringView path) const override;
};

// This build's registry: advapi32's functions on Windows, the in-memory registry natively.
// Names convert through `regional`'s code page.
const Registry& hostRegistry(const Regional& regional);

// The system queries and shell operations (windows/system.cpp, native/system.cpp).
const System& hostSystem();

}  // namespace brv::platform

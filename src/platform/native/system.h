// The native stand-in of the system queries and shell operations: a machine described in data,
// answered with the buffer, size and terminator conventions of the Win32 calls. Every failure
// code of those calls can be injected; requests can be recorded. It launches nothing and touches
// no file.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace brv::platform {

class StandInSystem : public System {
  public:
    // The machine.
    std::string computer = "BREVANTO-PC";
    std::string user = "brevanto";
    std::string windows = "C:\\windows";
    std::string system = "C:\\windows\\system32";
    std::string temp = "C:\\users\\brevanto\\Temp\\";
    std::string current = "C:\\users\\brevanto";
    // Drive types by upper-case letter; any other root answers 1 (no such root).
    std::map<char, uint32_t> drives{{'C', 3}, {'Z', 3}};
    // Mapped drives by upper-case "X:"; another drive answers 2250 (not connected), a name that
    // is not a drive 1200 (bad device).
    std::map<std::string, std::string> connections;
    // Programs by lower-case extension with its dot; other documents answer 31 (no association).
    std::map<std::string, std::string> associations{{".ini", "C:\\windows\\system32\\notepad.exe"}};
    int32_t desktop = 0x10020;

    // Injected answers, given instead of the machine's own: a network code when not 0 (with
    // the length that 234 asks for), any code of the lookup and the launch when set.
    uint32_t connectionFailure = 0;
    uint32_t connectionNeeded = 0;
    std::optional<intptr_t> findFailure;
    std::optional<intptr_t> launchFailure;
    // What SHFileOperationA answers (it does not touch the file system).
    ShellFileOperationResult fileOperationAnswer{};

    // Requests, recorded when `log` is set (the lists with their NULs).
    struct FileOperationRequest {
        int32_t window;
        uint32_t function;
        std::string from;
        std::optional<std::string> to;
        uint16_t flags;
    };
    struct Launch {
        int32_t window;
        std::string verb, file, parameters, directory;
        int32_t show;
    };
    struct Log {
        std::vector<FileOperationRequest> fileOperations;
        std::vector<Launch> launches;
        std::vector<std::string> lookups;  // FindExecutableA's documents
    };
    Log* log = nullptr;

    bool computerName(char* buffer, uint32_t& size) const override;
    bool userName(char* buffer, uint32_t& size) const override;
    uint32_t windowsDirectory(char* buffer, uint32_t size) const override;
    uint32_t systemDirectory(char* buffer, uint32_t size) const override;
    uint32_t tempPath(uint32_t size, char* buffer) const override;
    uint32_t currentDirectory(uint32_t size, char* buffer) const override;
    uint32_t driveType(const char* root) const override;
    uint32_t networkConnection(const char* local, char* remote, uint32_t& length) const override;
    ShellFileOperationResult fileOperation(const ShellFileOperation& op) const override;
    intptr_t findExecutable(const char* file, const char* directory, char* result) const override;
    intptr_t shellExecute(int32_t window, const char* verb, const char* file,
                          const char* parameters, const char* directory,
                          int32_t show) const override;
    int32_t desktopWindow() const override { return desktop; }
};

}  // namespace brv::platform

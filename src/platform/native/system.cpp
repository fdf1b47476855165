#include "platform/native/system.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/host.h"

namespace brv::platform {

namespace {

char upperAscii(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// The buffer convention of GetComputerNameA and GetUserNameA; `counted` says whether the size
// on success counts the terminator.
bool copyName(const std::string& name, char* buffer, uint32_t& size, bool counted) {
    const auto needed = static_cast<uint32_t>(name.size() + 1);
    if (!buffer || size < needed) {
        size = needed;
        return false;
    }
    std::memcpy(buffer, name.c_str(), needed);
    size = counted ? needed : needed - 1;
    return true;
}

// The convention of the folder queries: the length without terminator when the folder fits,
// else the size needed with it.
uint32_t copyFolder(const std::string& folder, char* buffer, uint32_t size) {
    const auto needed = static_cast<uint32_t>(folder.size() + 1);
    if (!buffer || size < needed) return needed;
    std::memcpy(buffer, folder.c_str(), needed);
    return needed - 1;
}

// The lower-case extension of a document's name, with its dot; empty when it has none.
std::string extension(std::string_view file) {
    const auto slash = file.find_last_of("\\/:");
    const auto name = slash == std::string_view::npos ? file : file.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(name.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return ext;
}

constexpr intptr_t kLaunched = 42;  // any value above 32 means success
constexpr intptr_t kNoAssociation = 31;

}  // namespace

bool StandInSystem::computerName(char* buffer, uint32_t& size) const {
    return copyName(computer, buffer, size, false);
}
bool StandInSystem::userName(char* buffer, uint32_t& size) const {
    return copyName(user, buffer, size, true);
}
uint32_t StandInSystem::windowsDirectory(char* buffer, uint32_t size) const {
    return copyFolder(windows, buffer, size);
}
uint32_t StandInSystem::systemDirectory(char* buffer, uint32_t size) const {
    return copyFolder(system, buffer, size);
}
uint32_t StandInSystem::tempPath(uint32_t size, char* buffer) const {
    return copyFolder(temp, buffer, size);
}
uint32_t StandInSystem::currentDirectory(uint32_t size, char* buffer) const {
    return copyFolder(current, buffer, size);
}

uint32_t StandInSystem::driveType(const char* root) const {
    const std::string_view r = root ? root : "";
    if (r.size() != 3 || r[1] != ':' || r[2] != '\\') return 1;
    const auto it = drives.find(upperAscii(r[0]));
    return it == drives.end() ? 1 : it->second;
}

uint32_t StandInSystem::networkConnection(const char* local, char* remote, uint32_t& length) const {
    if (connectionFailure) {
        if (connectionFailure == 234) length = connectionNeeded;
        return connectionFailure;
    }
    const std::string_view name = local ? local : "";
    if (name.size() != 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0])))
        return 1200;
    const auto it = connections.find(std::string{upperAscii(name[0]), ':'});
    if (it == connections.end()) return 2250;
    const auto needed = static_cast<uint32_t>(it->second.size() + 1);
    if (length < needed) {
        length = needed;
        return 234;
    }
    std::memcpy(remote, it->second.c_str(), needed);
    return 0;
}

ShellFileOperationResult StandInSystem::fileOperation(const ShellFileOperation& op) const {
    if (log) {
        std::optional<std::string> to;
        if (op.to) to = *op.to;
        log->fileOperations.push_back(
            {op.window, op.function, op.from ? *op.from : std::string{}, to, op.flags});
    }
    // No path is longer than 259 characters; the stand-in knows no current folder to add.
    const auto refused = refusedList(op, [](std::string_view name) { return name.size() >= 260; });
    return refused ? *refused : fileOperationAnswer;
}

intptr_t StandInSystem::findExecutable(const char* file, const char*, char* result) const {
    const std::string document = file ? file : "";
    if (log) log->lookups.push_back(document);
    if (findFailure) return *findFailure;
    if (document.size() >= 260) return 2;  // no document has a longer name: not found
    const auto it = associations.find(extension(document));
    if (it == associations.end()) return kNoAssociation;
    const std::size_t n = std::min<std::size_t>(it->second.size(), 259);  // MAX_PATH with NUL
    std::memcpy(result, it->second.data(), n);
    result[n] = '\0';
    return kLaunched;
}

intptr_t StandInSystem::shellExecute(int32_t window, const char* verb, const char* file,
                                     const char* parameters, const char* directory,
                                     int32_t show) const {
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    if (log)
        log->launches.push_back(
            {window, text(verb), text(file), text(parameters), text(directory), show});
    if (launchFailure) return *launchFailure;
    return associations.contains(extension(text(file))) ? kLaunched : kNoAssociation;
}

// This build's system: the stand-in machine as it is described by default.
const System& hostSystem() {
    static const StandInSystem described;
    return described;
}

}  // namespace brv::platform

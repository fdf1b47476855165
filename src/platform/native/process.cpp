#include <fstream>
#include <iterator>

#include "platform/host.h"

namespace brv::platform {

// The process's own arguments from /proc, joined by single spaces.
String HostProcess::commandLineArguments() const {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto afterProgram = raw.find('\0');
    if (afterProgram == std::string::npos) return {};
    std::string args = raw.substr(afterProgram + 1);
    if (!args.empty() && args.back() == '\0') args.pop_back();
    for (auto& c : args)
        if (c == '\0') c = ' ';
    return fromUtf8(args);
}

}  // namespace brv::platform

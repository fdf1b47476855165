#include "platform/host.h"

namespace brv::platform {

const Platform& host() {
    static const HostRegional regional;
    static const HostFileSystem files;
    static const HostProcess process;
#ifdef _WIN32
    static const HostRegistry registry(regional);
#else
    static const MemoryRegistry registry;
#endif
    static const Platform platform{&regional, &files, &process, &registry};
    return platform;
}

}  // namespace brv::platform

#include "platform/host.h"

namespace brv::platform {

const Platform& host() {
    static const HostRegional regional;
    static const HostFileSystem files;
    static const HostProcess process;
    static const Platform platform{&regional, &files, &process, &hostSystem()};
    return platform;
}

}  // namespace brv::platform

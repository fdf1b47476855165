#include "platform/host.h"

namespace brv::platform {

const Platform& host() {
    static const HostRegional regional;
    static const HostFileSystem files;
    static const HostProcess process;
    static const HostMessages messages;
    static const HostMousePointer pointer;
    static const HostClock clock;
    static const HostDialogs dialogs;
    static const Platform platform{&regional,    &files, &process, &messages,
                                   &pointer,     &clock, &dialogs, &hostRegistry(regional),
                                   &hostSystem()};
    return platform;
}

}  // namespace brv::platform

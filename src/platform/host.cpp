#include "platform/host.h"

namespace brv::platform {

const Platform& host() {
    static const HostRegional regional;
    static const HostFileSystem files;
    static const HostProcess process;
    static const HostDialogs dialogs;
    static const Platform platform{&regional, &files, &process, &dialogs};
    return platform;
}

}  // namespace brv::platform

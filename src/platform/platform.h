// The platform seam: every operating-system service the classes use, one small interface per
// service. A class takes the Platform from its creator and keeps the services it uses; only the
// COM class factory asks host() for this build's implementations (Win32 on Windows, a faithful
// stand-in elsewhere), and the unit tests hand classes stand-ins that fail on demand.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/pointer.h"
#include "platform/process.h"
#include "platform/regional.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace brv::platform {

struct Platform {
    const Regional* regional;
    const FileSystem* files;
    const Process* process;
    const Messages* messages;
    const MousePointer* pointer;
    const Clock* clock;
    const Dialogs* dialogs;
    const Registry* registry;
    const System* system;
};

const Platform& host();

}  // namespace brv::platform

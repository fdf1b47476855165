// The platform seam: every operating-system service the classes use, one small interface per
// service. host() gives this build's implementations (Win32 on Windows, a faithful stand-in
// elsewhere); classes take a Platform so that tests can hand them other ones.
#pragma once

#include "platform/files.h"
#include "platform/process.h"
#include "platform/regional.h"

namespace brv::platform {

struct Platform {
    const Regional* regional;
    const FileSystem* files;
    const Process* process;
};

const Platform& host();

}  // namespace brv::platform

// The file system: what the numbered files of the frame open, and the folder and file services
// that the classes use directly.
#pragma once

#include "frame/files.h"

namespace brv::platform {

class FileSystem : public FileOpener {};

}  // namespace brv::platform

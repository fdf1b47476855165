// The file system: what the numbered files of the frame open, and the folder and file services
// that the classes use directly.
#pragma once

#include <optional>

#include "frame/files.h"

namespace brv::platform {

class FileSystem : public FileOpener {
  public:
    // Creates one folder whose parent exists, as MkDir does. Errors: 52 bad name, 68 device
    // unavailable, 75 when it exists or cannot be made, 76 path not found.
    virtual void makeFolder(StringView path) const = 0;
    // The first name that a listing of `pattern` (a folder, then a name that may hold * and ?)
    // yields, folders and the folder's own "." entry included and hidden and system entries
    // left out, as Dir with the directory attribute; nullopt when nothing matches or the folder
    // is missing. Error 52 for a bad name.
    virtual std::optional<String> firstEntry(StringView pattern) const = 0;
    // Creates an empty file only when nothing of that name exists yet: false (and nothing
    // touched) when the name is taken. Errors as for open().
    virtual bool createNewFile(StringView path) const = 0;
    // Deletes one file, as Kill does. Errors: 53 file not found, 70 permission denied, 75
    // path/file access error (read-only), 76 path not found.
    virtual void deleteFile(StringView path) const = 0;
};

}  // namespace brv::platform

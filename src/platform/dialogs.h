// The system's file dialogs, the picture loader, and what the dialog leaves behind (its
// extended error code and the current folder). The request carries the caller's own ANSI
// buffers, as the system's file-dialog structure does, so that every answer, the system's or
// a stand-in's, writes through the same pointers and within the same sizes.
#pragma once

#include <cstdint>

#include "frame/object.h"
#include "frame/text.h"

namespace brv::platform {

// The fields of the ANSI file-dialog request that the library fills; every other field of the
// system's structure is zero. Sizes count bytes of the system code page.
struct FileDialogRequest {
    const char* filter = nullptr;  // description NUL pattern NUL ..., ending in two NULs
    char* customFilter = nullptr;  // in and out; null for none
    uint32_t maxCustomFilter = 0;
    uint32_t filterIndex = 0;  // in and out
    char* file = nullptr;      // in and out; `maxFile` bytes the dialog may write
    uint32_t maxFile = 0;
    const char* initialDir = nullptr;  // null: the dialog's own choice
    const char* title = nullptr;       // null: the dialog's own title
    uint32_t flags = 0;                // in and out
    const char* defaultExt = nullptr;
};

// An object the system made (a picture). The binding layer hands clients the system's own
// interface, at system(); a stand-in has none and answers its own late-bound calls.
class SystemObject : public Object {
  public:
    virtual void* system() const = 0;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Non-zero when the user confirmed a file; zero on cancel or failure, after which
    // extendedError() tells them apart (0 after a plain cancel).
    virtual int getOpenFileName(FileDialogRequest& request) const = 0;
    virtual int getSaveFileName(FileDialogRequest& request) const = 0;
    virtual uint32_t extendedError() const = 0;
    // The packed system version: major version in the low byte, bit 31 on the non-NT line.
    virtual uint32_t version() const = 0;
    // The process's current folder, which a dialog may have changed.
    virtual String currentDirectory() const = 0;
    // A picture object made from a bitmap, metafile, icon or cursor file, for a control's
    // Picture property. Errors: 53 for a missing file, 481 for one that is not a picture.
    virtual ObjectRef loadPicture(StringView path) const = 0;
};

}  // namespace brv::platform

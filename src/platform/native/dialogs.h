// How the system's file dialog answers a request, for stand-ins: what the user did, and the
// writing of that answer into the caller's buffers with the system's sizes and terminators.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace brv::platform::native {

struct UserAnswer {
    enum class Action { Choose, Cancel, Fail };
    Action action = Action::Cancel;
    std::string folder;              // system code page
    std::vector<std::string> names;  // several only in a multiple-selection dialog
    uint32_t filterIndex = 0;        // the filter the user left selected; 0 keeps the request's
    std::string customPattern;       // a pattern typed into the custom filter, selecting it
    uint32_t flagsAdded = 0;         // bits the dialog reports back (read-only box, ...)
    uint32_t failure = 0;            // the extended error of Action::Fail
};

// Answers `request` as the dialog does: the folder and names go into the file buffer (the
// explorer style separates several names with NULs and ends them with two, the old style with
// spaces); a buffer too small for them receives the size it needs in its first two bytes and
// fails with 12291. Returns the dialog's result; `error` gets its extended error code.
int answerRequest(FileDialogRequest& request, const UserAnswer& answer, uint32_t& error);

}  // namespace brv::platform::native

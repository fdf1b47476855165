#include "platform/windows/winapi.h"

#include "frame/error.h"

namespace brv::platform::win {

FARPROC resolve(const char* library, const char* entry) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    if (!module) raise(err::DllNotLoaded);
    FARPROC fn = GetProcAddress(module, entry);
    if (!fn) raise(err::DllEntryNotFound);
    return fn;
}

}  // namespace brv::platform::win

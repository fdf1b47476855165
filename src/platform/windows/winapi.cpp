#include "platform/windows/winapi.h"

#include "frame/error.h"

namespace brv::platform::win {

FARPROC resolve(const char* library, const char* entry) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    if (!module) raise(48);  // Error in loading DLL
    FARPROC fn = GetProcAddress(module, entry);
    if (!fn) raise(453);  // Specified DLL function not found
    return fn;
}

}  // namespace brv::platform::win

#include "platform/windows/winapi.h"

#include <cstring>
#include <string>

#include "frame/error.h"

namespace brv::platform::win {

FARPROC resolve(const char* library, const char* entry) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) {
        // From the system folder only, never through the search path. The names are ASCII.
        const std::wstring name(library, library + std::strlen(library));
        module = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (!module) raise(48);  // Error in loading DLL
    FARPROC fn = GetProcAddress(module, entry);
    if (!fn) raise(453);  // Specified DLL function not found
    return fn;
}

}  // namespace brv::platform::win

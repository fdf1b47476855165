#include "platform/windows/winapi.h"

#include <string>

#include "frame/error.h"

namespace brv::platform::win {

FARPROC resolve(const char* library, const char* entry) {
    // We run inside other people's processes: a system DLL comes from the system folder only,
    // never from the search path or a module of the same name loaded from elsewhere. Each
    // binding loads once and keeps its reference for the life of the process.
    const std::string ascii(library);
    const std::wstring name(ascii.begin(), ascii.end());
    HMODULE module = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) raise(err::DllNotLoaded);
    FARPROC fn = GetProcAddress(module, entry);
    if (!fn) raise(err::DllEntryNotFound);
    return fn;
}

}  // namespace brv::platform::win

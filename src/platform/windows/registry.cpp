// The registry through advapi32's ANSI functions, bound on first call; names go out and come
// back through the system code page.
#include <windows.h>

#include <vector>

#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

namespace {

HKEY hkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

// A name buffer of `size` bytes (at least one, for the terminator).
std::string buffer(uint32_t size) {
    return std::string(size ? size : 1, '\0');
}

class Win32Registry final : public Registry {
  public:
    explicit Win32Registry(const Regional& regional) : regional_(regional) {}

    int32_t openKey(RegKey parent, StringView path, uint32_t access, RegKey& key) const override {
        BRV_WINAPI("advapi32", RegOpenKeyExA);
        HKEY out = nullptr;
        const std::string p = regional_.toAnsi(path);
        const LONG rc = RegOpenKeyExA_(hkey(parent), p.c_str(), 0, access, &out);
        key = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(out) : 0;
        return rc;
    }

    int32_t createKey(RegKey parent, StringView path, StringView keyClass, uint32_t options,
                      uint32_t access, RegKey& key, uint32_t& disposition) const override {
        BRV_WINAPI("advapi32", RegCreateKeyExA);
        HKEY out = nullptr;
        DWORD disp = 0;
        // A record of three zero fields, as the callers pass it: no descriptor, not inheritable.
        SECURITY_ATTRIBUTES security{};
        const std::string p = regional_.toAnsi(path);
        std::string c = regional_.toAnsi(keyClass);
        const LONG rc = RegCreateKeyExA_(hkey(parent), p.c_str(), 0, c.data(), options, access,
                                         &security, &out, &disp);
        key = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(out) : 0;
        if (rc == ERROR_SUCCESS) disposition = disp;
        return rc;
    }

    int32_t closeKey(RegKey key) const override {
        BRV_WINAPI("advapi32", RegCloseKey);
        return RegCloseKey_(hkey(key));
    }

    int32_t queryInfoKey(RegKey key, RegKeyInfo& info) const override {
        BRV_WINAPI("advapi32", RegQueryInfoKeyA);
        char keyClass[25] = {};
        DWORD classLength = sizeof keyClass;
        DWORD subKeys = 0, maxSubKey = 0, maxClass = 0, values = 0, maxName = 0, maxData = 0,
              security = 0;
        FILETIME written{};
        const LONG rc =
            RegQueryInfoKeyA_(hkey(key), keyClass, &classLength, nullptr, &subKeys, &maxSubKey,
                              &maxClass, &values, &maxName, &maxData, &security, &written);
        info = {subKeys, maxSubKey, maxClass, values, maxName, maxData};
        return rc;
    }

    int32_t enumValue(RegKey key, uint32_t index, String& name, uint32_t& nameLength,
                      uint32_t& type, std::string* data, uint32_t& dataLength) const override {
        BRV_WINAPI("advapi32", RegEnumValueA);
        std::string n = buffer(nameLength);
        DWORD nl = nameLength, t = type, dl = dataLength;
        std::vector<BYTE> d(data ? std::max<uint32_t>(dataLength, 1) : 0);
        const LONG rc = RegEnumValueA_(hkey(key), index, n.data(), &nl, nullptr, &t,
                                       data ? d.data() : nullptr, &dl);
        type = t;
        dataLength = dl;
        if (rc == ERROR_SUCCESS) {
            nameLength = nl;
            name = regional_.fromAnsi(std::string_view(n.data(), nl));
            if (data) {
                if (data->size() < dl) data->resize(dl);
                std::copy(d.begin(), d.begin() + std::min<std::size_t>(dl, d.size()),
                          data->begin());
            }
        }
        return rc;
    }

    int32_t enumKey(RegKey key, uint32_t index, String& name, uint32_t& nameLength) const override {
        BRV_WINAPI("advapi32", RegEnumKeyExA);
        std::string n = buffer(nameLength);
        DWORD nl = nameLength;
        FILETIME written{};
        // No class buffer: Wine answers 234 for every sub-key when it gets one of length 0.
        const LONG rc =
            RegEnumKeyExA_(hkey(key), index, n.data(), &nl, nullptr, nullptr, nullptr, &written);
        if (rc == ERROR_SUCCESS) {
            nameLength = nl;
            name = regional_.fromAnsi(std::string_view(n.data(), nl));
        }
        return rc;
    }

    int32_t setValue(RegKey key, StringView name, uint32_t type,
                     std::string_view data) const override {
        BRV_WINAPI("advapi32", RegSetValueExA);
        const std::string n = regional_.toAnsi(name);
        return RegSetValueExA_(hkey(key), n.c_str(), 0, type,
                               reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size()));
    }

    int32_t deleteKey(RegKey key, StringView path) const override {
        BRV_WINAPI("advapi32", RegDeleteKeyA);
        const std::string p = regional_.toAnsi(path);
        return RegDeleteKeyA_(hkey(key), p.c_str());
    }

    int32_t deleteValue(RegKey key, StringView name) const override {
        BRV_WINAPI("advapi32", RegDeleteValueA);
        const std::string n = regional_.toAnsi(name);
        return RegDeleteValueA_(hkey(key), n.c_str());
    }

    int32_t saveKey(RegKey key, StringView file) const override {
        BRV_WINAPI("advapi32", RegSaveKeyA);
        const std::string f = regional_.toAnsi(file);
        return RegSaveKeyA_(hkey(key), f.c_str(), nullptr);
    }

    int32_t restoreKey(RegKey key, StringView file, uint32_t flags) const override {
        BRV_WINAPI("advapi32", RegRestoreKeyA);
        const std::string f = regional_.toAnsi(file);
        return RegRestoreKeyA_(hkey(key), f.c_str(), flags);
    }

  private:
    const Regional& regional_;
};

}  // namespace

const Registry& hostRegistry(const Regional& regional) {
    static const Win32Registry registry(regional);
    return registry;
}

}  // namespace brv::platform

// The server entry points: class objects by CLSID, unloading, and registration machine-wide
// (DllRegisterServer) or for the current user (DllInstall with "user").
#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "com/classes.h"
#include "com/dispatch.h"
#include "com/idl.h"
#include "com/ole.h"
#include "com/raii.h"
#include "com/server.h"

namespace brv::com {

namespace {

HMODULE gModule = nullptr;
std::atomic<long> gObjects{0};
std::atomic<long> gLocks{0};

// Indexed by ClassId: both come from the one list of classes, in the same order.
const std::array<const ClassBinding*, kClassCount>& bindings() {
    static const std::array<const ClassBinding*, kClassCount> table{
#define BREVANTO_BINDING_ENTRY(name, creatable) &k##name##Binding,
        BREVANTO_CLASSES(BREVANTO_BINDING_ENTRY)
#undef BREVANTO_BINDING_ENTRY
    };
    return table;
}

class ClassFactory final : public SingleInterface<IClassFactory> {
  public:
    explicit ClassFactory(const ClassBinding& b)
        : SingleInterface(IID_IClassFactory), binding_(b) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            ComPtr<IDispatch> obj =
                ComPtr<IDispatch>::attach(binding_.wrap(binding_.create(platform::host())));
            return obj->QueryInterface(riid, ppv);
        } catch (...) {
            return report(&classInfo(binding_.id), *binding_.iid);
        }
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        lockServer(lock != FALSE);
        return S_OK;
    }

  private:
    const ClassBinding& binding_;
};

std::wstring guidText(REFGUID g) {
    wchar_t buf[40];
    StringFromGUID2(g, buf, 40);
    return buf;
}

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = GetModuleFileNameW(gModule, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path;
}

// The keys that registration writes, relative to the Classes root, each with its values; a key
// comes after its parent. The same list drives unregistration, which removes exactly these
// values and then each of these keys that is left empty.
struct Value {
    std::wstring name;  // empty: the key's default value
    std::wstring data;
};
struct Key {
    std::wstring path;
    std::vector<Value> values;
    // 64-bit Windows keeps one copy of this key for both bitnesses (programmatic identifiers and
    // the type library's version key), while CLSID and Interface have a copy per bitness.
    bool shared = false;
};

constexpr wchar_t kPsOaInterface[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kLibrary[] = L"" BREVANTO_LIBRARY_NAME;
constexpr wchar_t kVersion[] = L"" BREVANTO_VERSION_TEXT;

std::vector<Key> registrationKeys() {
    std::vector<Key> keys;
    std::wstring path = modulePath();
    std::wstring libid = guidText(LIBID_Brevanto);
    std::wstring dir = path.substr(0, path.find_last_of(L"\\/") + 1);
    for (const ClassBinding* b : bindings()) {
        const ClassInfo& info = classInfo(b->id);
        std::wstring progId = wideString(info.progId);
        std::wstring iid = guidText(*b->iid);
        keys.push_back({L"Interface\\" + iid, {{L"", wideString(info.defaultInterface)}}});
        keys.push_back({L"Interface\\" + iid + L"\\ProxyStubClsid", {{L"", kPsOaInterface}}});
        keys.push_back({L"Interface\\" + iid + L"\\ProxyStubClsid32", {{L"", kPsOaInterface}}});
        keys.push_back(
            {L"Interface\\" + iid + L"\\TypeLib", {{L"", libid}, {L"Version", kVersion}}});
        // A class that clients may not create is registered by CLSID only, so that creating
        // it reaches DllGetClassObject and fails there with CLASS_E_CLASSNOTAVAILABLE.
        std::wstring clsid = guidText(*b->clsid);
        keys.push_back({L"CLSID\\" + clsid, {{L"", wideString(info.name)}}});
        keys.push_back({L"CLSID\\" + clsid + L"\\InprocServer32",
                        {{L"", path}, {L"ThreadingModel", L"Apartment"}}});
        keys.push_back({L"CLSID\\" + clsid + L"\\TypeLib", {{L"", libid}}});
        keys.push_back({L"CLSID\\" + clsid + L"\\VERSION", {{L"", kVersion}}});
        if (!info.creatable) continue;
        keys.push_back({L"CLSID\\" + clsid + L"\\ProgID", {{L"", progId}}});
        keys.push_back({progId, {{L"", progId}}, true});
        keys.push_back({progId + L"\\CLSID", {{L"", clsid}}, true});
    }
#ifdef _WIN64
    const wchar_t* platform = L"win64";
#else
    const wchar_t* platform = L"win32";
#endif
    keys.push_back({L"TypeLib\\" + libid, {}, true});
    const std::wstring version = L"TypeLib\\" + libid + L"\\" + kVersion;
    keys.push_back({version, {{L"", kLibrary}}, true});
    keys.push_back({version + L"\\0", {}, true});
    keys.push_back({version + L"\\0\\" + platform, {{L"", path}}});
    keys.push_back({version + L"\\FLAGS", {{L"", L"0"}}, true});
    keys.push_back({version + L"\\HELPDIR", {{L"", dir}}, true});
    return keys;
}

// Containers that a per-user registration may have to create; removed again when empty.
constexpr const wchar_t* kContainers[] = {L"Interface", L"CLSID", L"TypeLib"};

// The registry service's key owner over the platform's own handle type.
class RegKey : public platform::KeyOwner<HKEY> {
  public:
    RegKey() : KeyOwner(*platform::host().registry) {}
};

HRESULT openClasses(bool user, REGSAM access, RegKey& out) {
    LONG rc = RegCreateKeyExW(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, L"Software\\Classes",
                              0, nullptr, 0, access, nullptr, out.put(), nullptr);
    return HRESULT_FROM_WIN32(rc);
}

bool isEmptyKey(HKEY key) {
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    return subkeys == 0 && values == 0;
}

// Deletes `path` under `parent` when nothing is left in it.
void deleteIfEmpty(HKEY parent, const wchar_t* path) {
    bool empty;
    {
        RegKey key;
        if (RegOpenKeyExW(parent, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
        empty = isEmptyKey(key.get());
    }
    if (empty) RegDeleteKeyW(parent, path);
}

// Removes the values of the listed keys that are (or are not) shared, children first, and
// each such key that is left empty.
HRESULT removeKeys(HKEY classes, const std::vector<Key>& keys, bool shared) {
    for (auto k = keys.rbegin(); k != keys.rend(); ++k) {
        if (k->shared != shared) continue;
        {
            RegKey key;
            LONG rc =
                RegOpenKeyExW(classes, k->path.c_str(), 0, KEY_READ | KEY_SET_VALUE, key.put());
            if (rc == ERROR_FILE_NOT_FOUND) continue;
            if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
            for (const Value& v : k->values) {
                rc = RegDeleteValueW(key.get(), v.name.empty() ? nullptr : v.name.c_str());
                if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
                    return HRESULT_FROM_WIN32(rc);
            }
        }
        deleteIfEmpty(classes, k->path.c_str());
    }
    return S_OK;
}

// Whether the DLL of the other bitness still has a class registered in the same scope. Asked
// after our own class keys went: on 32-bit Windows the other view is this one, now empty.
bool otherBitnessRegistered(bool user) {
#ifdef _WIN64
    constexpr REGSAM otherView = KEY_WOW64_32KEY;
#else
    constexpr REGSAM otherView = KEY_WOW64_64KEY;
#endif
    for (const ClassBinding* b : bindings()) {
        const std::wstring path =
            L"Software\\Classes\\CLSID\\" + guidText(*b->clsid) + L"\\InprocServer32";
        RegKey key;
        if (RegOpenKeyExW(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, path.c_str(), 0,
                          KEY_READ | otherView, key.put()) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

HRESULT unregister(bool user) {
    RegKey classes;
    HRESULT hr = openClasses(user, KEY_ALL_ACCESS, classes);
    if (FAILED(hr)) return hr;
    const std::vector<Key> keys = registrationKeys();
    hr = removeKeys(classes.get(), keys, false);
    if (FAILED(hr)) return hr;
    // Unregistering one bitness must not take the shared keys from the other.
    if (!otherBitnessRegistered(user)) hr = removeKeys(classes.get(), keys, true);
    if (FAILED(hr)) return hr;
    if (user) {
        for (const wchar_t* container : kContainers) deleteIfEmpty(classes.get(), container);
        // On Windows the user's Classes key is a hive root and stays; where the registration
        // had to create it, it goes again once empty.
        if (isEmptyKey(classes.get())) RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Classes");
    }
    return S_OK;
}

HRESULT registerServer(bool user) {
    RegKey classes;
    HRESULT hr = openClasses(user, KEY_ALL_ACCESS, classes);
    if (FAILED(hr)) return hr;
    for (const Key& k : registrationKeys()) {
        RegKey key;
        LONG rc = RegCreateKeyExW(classes.get(), k.path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.put(), nullptr);
        for (auto it = k.values.begin(); rc == ERROR_SUCCESS && it != k.values.end(); ++it) {
            rc = RegSetValueExW(key.get(), it->name.empty() ? nullptr : it->name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(it->data.c_str()),
                                static_cast<DWORD>((it->data.size() + 1) * sizeof(wchar_t)));
        }
        if (rc != ERROR_SUCCESS) {
            unregister(user);
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

bool isUserScope(LPCWSTR cmdLine) {
    return cmdLine && CompareStringOrdinal(cmdLine, -1, L"user", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

void objectCreated() {
    ++gObjects;
}
void objectDestroyed() {
    --gObjects;
}
void lockServer(bool lock) {
    if (lock) {
        ++gLocks;
        return;
    }
    // An unlock without its lock is ignored: a count below zero would let a later lock go
    // unseen by DllCanUnloadNow.
    long n = gLocks.load();
    while (n > 0 && !gLocks.compare_exchange_weak(n, n - 1)) {
    }
}
bool serverInUse() {
    return gObjects.load() > 0 || gLocks.load() > 0;
}
HMODULE module() {
    return gModule;
}

const ClassBinding& binding(ClassId id) {
    return *bindings()[static_cast<std::size_t>(id)];
}

const ClassBinding* findBinding(REFCLSID clsid) {
    for (const ClassBinding* b : bindings())
        if (IsEqualCLSID(*b->clsid, clsid)) return b;
    return nullptr;
}

}  // namespace brv::com

using namespace brv::com;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    const ClassBinding* b = findBinding(clsid);
    if (!b || !brv::classInfo(b->id).creatable) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) ClassFactory(*b);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    if (serverInUse()) return S_FALSE;
    releaseTypeMeta();
    return S_OK;
}

// Registration builds its key list in memory; running out of it is the only exception.
template <typename F>
static HRESULT guarded(F f) noexcept {
    try {
        return f();
    } catch (...) {
        return report(nullptr, GUID_NULL);
    }
}

STDAPI DllRegisterServer() {
    return guarded([] { return registerServer(false); });
}
STDAPI DllUnregisterServer() {
    return guarded([] { return unregister(false); });
}

STDAPI DllInstall(BOOL install, LPCWSTR cmdLine) {
    bool user = isUserScope(cmdLine);
    return guarded([&] { return install ? registerServer(user) : unregister(user); });
}

// Checks of what ships beside the code: the DLL's version resource and registration-free
// activation through the assembly manifest. Run under Wine by tests/client/checks.
//   release_client version <Brevanto.dll>
//       the version resource equals the embedded type library's version and the build number
//   release_client regfree <Brevanto.manifest>
//       in a prefix where nothing was registered: every creatable class of the type library is
//       created and called through the manifest's activation context, and not without it
// Prints "N passed, N failed".
// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
// clang-format on

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "brevanto.h"
#include "client_support.h"
#include "frame/version.h"

namespace {

struct Tally {
    int passed = 0, failed = 0;
    void operator()(const std::string& name, bool ok, const std::wstring& detail = L"") {
        if (ok) {
            ++passed;
            return;
        }
        ++failed;
        std::printf("FAIL %s %ls\n", name.c_str(), detail.c_str());
    }
    void hr(const std::string& name, HRESULT actual, HRESULT expected) {
        wchar_t buf[64];
        std::swprintf(buf, 64, L"hr 0x%08lx, expected 0x%08lx", static_cast<unsigned long>(actual),
                      static_cast<unsigned long>(expected));
        (*this)(name, actual == expected, buf);
    }
    int finish() const {
        std::printf("%d passed, %d failed\n", passed, failed);
        return failed ? 1 : 0;
    }
};

// An owned interface pointer.
template <class T>
class Ref {
  public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() {
        if (p_) p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }
    T** put() { return &p_; }

  private:
    T* p_ = nullptr;
};

// --- version resource -------------------------------------------------------------------------

std::wstring versionString(const std::vector<BYTE>& block, const wchar_t* name) {
    wchar_t path[96];
    std::swprintf(path, 96, L"\\StringFileInfo\\040904b0\\%ls", name);
    void* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), path, &value, &len) || !value) return L"<missing>";
    std::wstring s(static_cast<const wchar_t*>(value), len);
    while (!s.empty() && s.back() == L'\0') s.pop_back();
    return s;
}

int checkVersion(const wchar_t* dll) {
    Tally check;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(dll, &ignored);
    check("version resource present", size > 0);
    if (!size) return check.finish();
    std::vector<BYTE> block(size);
    check("GetFileVersionInfoW", GetFileVersionInfoW(dll, 0, size, block.data()) != 0);

    Ref<ITypeLib> lib;
    check.hr("embedded type library", LoadTypeLibEx(dll, REGKIND_NONE, lib.put()), S_OK);
    TLIBATTR* attr = nullptr;
    if (lib.get()) lib->GetLibAttr(&attr);
    WORD major = attr ? attr->wMajorVerNum : 0, minor = attr ? attr->wMinorVerNum : 0;
    if (attr) lib->ReleaseTLibAttr(attr);
    check("type library version is the project's",
          major == BREVANTO_VERSION_MAJOR && minor == BREVANTO_VERSION_MINOR);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    check("fixed file info",
          VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed &&
              len >= sizeof(VS_FIXEDFILEINFO));
    if (!fixed) return check.finish();
    const DWORD ms = MAKELONG(minor, major), ls = MAKELONG(0, BREVANTO_VERSION_BUILD);
    wchar_t got[64];
    std::swprintf(got, 64, L"file version %lu.%lu.%lu.%lu", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
    check("file version = type library version . build . 0",
          fixed->dwFileVersionMS == ms && fixed->dwFileVersionLS == ls, got);
    check("product version = file version",
          fixed->dwProductVersionMS == ms && fixed->dwProductVersionLS == ls);
    check("a DLL", fixed->dwFileType == VFT_DLL && fixed->dwSignature == 0xFEEF04BD);

    const std::wstring text = L"" BREVANTO_FILE_VERSION_TEXT;
    struct Expected {
        const wchar_t* name;
        std::wstring value;
    };
    for (const Expected& e :
         {Expected{L"FileVersion", text}, Expected{L"ProductVersion", text},
          Expected{L"ProductName", L"Brevanto"}, Expected{L"OriginalFilename", L"Brevanto.dll"}}) {
        std::wstring actual = versionString(block, e.name);
        check("string " + std::string(e.name, e.name + wcslen(e.name)), actual == e.value,
              L"got \"" + actual + L"\"");
    }
    const std::wstring bits = sizeof(void*) == 8 ? L"64-bit" : L"32-bit";
    check("description names the bitness",
          versionString(block, L"FileDescription").find(bits) != std::wstring::npos);
    return check.finish();
}

// --- registration-free activation -------------------------------------------------------------

// One real call through each creatable class's vtable, with a result that proves it ran.
using Call = std::function<bool(IUnknown*)>;
struct ClassCall {
    const char* name;
    const CLSID* clsid;
    const IID* iid;
    Call call;
};

template <class I>
Call through(std::function<bool(I*)> f) {
    return [f](IUnknown* u) { return f(static_cast<I*>(u)); };
}

std::vector<ClassCall> classCalls() {
    return {
        {"Win32API", &CLSID_Win32API, &IID__Win32API, through<_Win32API>([](_Win32API* o) {
             Bstr in(std::wstring(L"abc\0def", 7)), out;
             return o->StripTerminator(in.b, &out.b) == S_OK && out.text() == L"abc";
         })},
        {"ArrayHelper", &CLSID_ArrayHelper, &IID__ArrayHelper,
         through<_ArrayHelper>([](_ArrayHelper* o) {
             Var list;
             Bstr text(L"a,b"), sep(L",");
             short upper = -1;
             return o->ListToArray(&list.v, text.b, sep.b, &upper) == S_OK && upper == 1;
         })},
        {"DateHelper", &CLSID_DateHelper, &IID__DateHelper,
         through<_DateHelper>([](_DateHelper* o) {
             DATE february2024 = 45337;  // 15 February 2024
             short days = 0;
             return o->DaysInMonth(&february2024, &days) == S_OK && days == 29;
         })},
        {"VBObjectHelper", &CLSID_VBObjectHelper, &IID__VBObjectHelper,
         through<_VBObjectHelper>([](_VBObjectHelper* o) {
             LONG rows = 1;
             Var out;
             return o->fnRowsReturned(&rows, &out.v) == S_OK && out.v.vt == VT_BSTR &&
                    std::wstring(out.v.bstrVal) == L"1 Row Returned";
         })},
        {"OS32Helper", &CLSID_OS32Helper, &IID__OS32Helper,
         through<_OS32Helper>([](_OS32Helper* o) {
             Bstr full(L"C:\\folder\\name.txt"), out;
             return o->FileNameNoPath(full.b, &out.b) == S_OK && out.text() == L"name.txt";
         })},
        {"TextHelper", &CLSID_TextHelper, &IID__TextHelper,
         through<_TextHelper>([](_TextHelper* o) {
             Bstr in(L" a b "), out;
             return o->RemoveAllSpaces(in.b, &out.b) == S_OK && out.text() == L"ab";
         })},
        {"CRegistryAdvanced", &CLSID_CRegistryAdvanced, &IID__CRegistryAdvanced,
         through<_CRegistryAdvanced>([](_CRegistryAdvanced* o) {
             kupEnumRootValues root = HkeyUsers;
             return o->get_Root(&root) == S_OK && root == HKeyLocalMachine;
         })},
        {"CDialog", &CLSID_CDialog, &IID__CDialog, through<_CDialog>([](_CDialog* o) {
             Bstr title(L"Pick one"), back;
             return o->put_DialogTitle(title.b) == S_OK && o->get_DialogTitle(&back.b) == S_OK &&
                    back.text() == L"Pick one";
         })},
        {"CRegistryBasic", &CLSID_CRegistryBasic, &IID__CRegistryBasic,
         through<_CRegistryBasic>([](_CRegistryBasic* o) {
             kupEnumRootValues root = HkeyUsers;
             return o->get_Root(&root) == S_OK && root == HKeyLocalMachine;
         })},
        {"SQLRoutines", &CLSID_SQLRoutines, &IID__SQLRoutines,
         through<_SQLRoutines>([](_SQLRoutines* o) {
             Var statement;
             statement.v.vt = VT_BSTR;
             statement.v.bstrVal = SysAllocString(L"SELECT a\r\nFROM b");
             short parsed = 0;
             return o->SQLParse(&statement.v, &parsed) == S_OK && statement.v.vt == VT_BSTR &&
                    std::wstring(statement.v.bstrVal) == L"SELECT a FROM b";
         })},
        {"CommandParams", &CLSID_CommandParams, &IID__CommandParams,
         through<_CommandParams>([](_CommandParams* o) {
             Bstr line(L"/a 1"), back;
             return o->put_CommandLine(&line.b) == S_OK && o->get_CommandLine(&back.b) == S_OK &&
                    back.text() == L"/a 1";
         })},
        {"ArrayCollectionHelper", &CLSID_ArrayCollectionHelper, &IID__ArrayCollectionHelper,
         through<_ArrayCollectionHelper>([](_ArrayCollectionHelper* o) {
             Var element, key;
             element.v.vt = VT_I4;
             element.v.lVal = 7;
             key.v.vt = VT_ERROR;
             key.v.scode = DISP_E_PARAMNOTFOUND;
             short position = -1;
             LONG count = 0;
             return o->Add(&element.v, &key.v, &position) == S_OK && o->get_Count(&count) == S_OK &&
                    count == 1;
         })},
    };
}

// The creatable classes as the DLL's own type library lists them, with their names.
std::vector<std::pair<CLSID, std::wstring>> creatableClasses(ITypeLib* lib) {
    std::vector<std::pair<CLSID, std::wstring>> found;
    for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
        Ref<ITypeInfo> info;
        TYPEATTR* attr = nullptr;
        if (FAILED(lib->GetTypeInfo(i, info.put())) || FAILED(info->GetTypeAttr(&attr))) continue;
        if (attr->typekind == TKIND_COCLASS && (attr->wTypeFlags & TYPEFLAG_FCANCREATE)) {
            Bstr name;
            info->GetDocumentation(MEMBERID_NIL, &name.b, nullptr, nullptr, nullptr);
            found.emplace_back(attr->guid, name.text());
        }
        info->ReleaseTypeAttr(attr);
    }
    return found;
}

HRESULT create(const CLSID& clsid, const IID& iid, Ref<IUnknown>& out) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out.out());
}

// Nothing creatable while no context is active.
void checkNotRegistered(Tally& check, const std::vector<ClassCall>& calls, const char* when) {
    int refused = 0;
    for (const ClassCall& c : calls) {
        Ref<IUnknown> o;
        HRESULT hr = create(*c.clsid, *c.iid, o);
        if (hr == REGDB_E_CLASSNOTREG) {
            ++refused;
        } else {
            check.hr(std::string(c.name) + " created " + when, hr, REGDB_E_CLASSNOTREG);
        }
    }
    check(std::string("every class refused ") + when, refused == static_cast<int>(calls.size()));
}

class ActivationContext {
  public:
    explicit ActivationContext(const wchar_t* manifest) {
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.lpSource = manifest;
        handle_ = CreateActCtxW(&request);
    }
    ~ActivationContext() {
        if (cookie_) DeactivateActCtx(0, cookie_);
        if (handle_ != INVALID_HANDLE_VALUE) ReleaseActCtx(handle_);
    }
    ActivationContext(const ActivationContext&) = delete;
    ActivationContext& operator=(const ActivationContext&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool activate() { return valid() && ActivateActCtx(handle_, &cookie_); }
    bool deactivate() {
        bool ok = cookie_ && DeactivateActCtx(0, cookie_);
        cookie_ = 0;
        return ok;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// What the thread of the other apartment is given and hands back.
struct ApartmentJob {
    IStream* stream = nullptr;
    HRESULT unmarshal = E_FAIL, call = E_FAIL;
    std::wstring result;
};

DWORD WINAPI callInOtherApartment(void* arg) {
    ApartmentJob& job = *static_cast<ApartmentJob*>(arg);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
        Ref<_TextHelper> proxy;
        job.unmarshal = CoGetInterfaceAndReleaseStream(job.stream, IID__TextHelper, proxy.out());
        if (proxy.get()) {
            Bstr in(L" a b "), out;
            job.call = proxy->RemoveAllSpaces(in.b, &out.b);
            job.result = out.text();
        }
    }
    CoUninitialize();
    return 0;
}

// A call from another apartment: the object lives in this thread's apartment, a thread of the
// multithreaded apartment calls it through a proxy built from the manifest's interface entries
// and type library. This thread serves the call while it waits.
bool callFromAnotherApartment(Tally& check, _TextHelper* text) {
    IStream* stream = nullptr;
    check.hr("marshal to another apartment",
             CoMarshalInterThreadInterfaceInStream(IID__TextHelper, text, &stream), S_OK);
    if (!stream) return false;
    auto job = std::make_unique<ApartmentJob>();
    job->stream = stream;
    HANDLE thread = CreateThread(nullptr, 0, callInOtherApartment, job.get(), 0, nullptr);
    if (!thread) {
        stream->Release();
        return false;
    }
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    bool done = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!done) {
        job.release();  // a thread that hangs still uses it: left to the process's end
        return false;
    }
    check.hr("proxy in the other apartment", job->unmarshal, S_OK);
    check.hr("call through the proxy", job->call, S_OK);
    return job->result == L"ab";
}

int checkRegistrationFree(const wchar_t* manifest) {
    Tally check;
    const std::vector<ClassCall> calls = classCalls();
    checkNotRegistered(check, calls, "before activation");
    Ref<ITypeLib> unused;
    check.hr("type library not registered",
             LoadRegTypeLib(LIBID_Brevanto, BREVANTO_VERSION_MAJOR, BREVANTO_VERSION_MINOR, 0,
                            unused.put()),
             TYPE_E_LIBNOTREGISTERED);

    ActivationContext context(manifest);
    check("CreateActCtxW", context.valid(), L"error " + std::to_wstring(GetLastError()));
    check("ActivateActCtx", context.activate());

    // The manifest's typelib element: the library is found by its identifier and version.
    Ref<ITypeLib> lib;
    check.hr("type library through the context",
             LoadRegTypeLib(LIBID_Brevanto, BREVANTO_VERSION_MAJOR, BREVANTO_VERSION_MINOR, 0,
                            lib.put()),
             S_OK);
    if (lib.get()) {
        // Every class the type library calls creatable has a call below.
        auto listed = creatableClasses(lib.get());
        check("creatable classes listed", listed.size() == calls.size(),
              std::to_wstring(listed.size()) + L" in the type library");
        for (const auto& [clsid, name] : listed) {
            const std::string label = "Brevanto." + std::string(name.begin(), name.end());
            const ClassCall* call = nullptr;
            for (const ClassCall& c : calls) {
                if (IsEqualCLSID(clsid, *c.clsid)) call = &c;
            }
            check("a call for " + label, call != nullptr);
            if (!call) continue;
            // The identifier may map to an alias of the class id (Wine's does): what counts is
            // that creating through it gives the class, seen by its default interface.
            CLSID byName{};
            check.hr(label + " known", CLSIDFromProgID((L"Brevanto." + name).c_str(), &byName),
                     S_OK);
            Ref<IUnknown> o;
            check.hr(label + " creates its class", create(byName, *call->iid, o), S_OK);
        }
    }
    for (const ClassCall& c : calls) {
        Ref<IUnknown> o;
        HRESULT hr = create(*c.clsid, *c.iid, o);
        check.hr(std::string(c.name) + " created", hr, S_OK);
        if (o.get()) check(std::string(c.name) + " called through its vtable", c.call(o.get()));
    }
    {
        Ref<IUnknown> item;
        check.hr("clsCommandParam refused as after a registration",
                 create(CLSID_clsCommandParam, IID_IUnknown, item), CLASS_E_CLASSNOTAVAILABLE);
    }

    {
        Ref<_TextHelper> text;
        CoCreateInstance(CLSID_TextHelper, nullptr, CLSCTX_INPROC_SERVER, IID__TextHelper,
                         text.out());
        check("a call from another apartment",
              text.get() && callFromAnotherApartment(check, text.get()));
    }

    check("DeactivateActCtx", context.deactivate());
    checkNotRegistered(check, calls, "after deactivation");
    return check.finish();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::printf("usage: release_client version|regfree <path>\n");
        return 2;
    }
    CoInitialize(nullptr);
    const std::wstring mode = argv[1];
    int rc = mode == L"version"   ? checkVersion(argv[2])
             : mode == L"regfree" ? checkRegistrationFree(argv[2])
                                  : 2;
    CoUninitialize();
    return rc;
}

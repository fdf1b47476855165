// Calls every member of every class of the DLL with generated arguments, late-bound through
// IDispatch::Invoke and early-bound through the vtable (DispCallFunc on the type library's own
// descriptions), and checks that each call answers with an HRESULT a client can handle: no
// crash, no hang, consistent error information, the caller's arguments left valid. Members whose
// effects reach outside the process are run confined (a scratch current folder, a registry key of
// the test's own) or are left out by name; the list is printed.
//
// Usage: call_fuzz <Brevanto.dll> --scratch <folder> [--calls N] [--seed S] [--class NAME]
//        [--timeout MS] [--members] [--trace]
// A run is reproducible from its seed: each class draws from its own generator, seeded from the
// run's seed and the class name, so `--seed S --class NAME` replays one class's calls (--trace
// prints each late-bound call's arguments first). A call may take 60 s unless --timeout says.
// Prints the outcomes per class (and per member with --members), then "N passed, N failed".
// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace {

std::string narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());  // names of the type library are ASCII
}

// --- watchdog ---------------------------------------------------------------------------------
// Knows the call in progress; a call that outlasts the timeout, or a fault that nothing handles,
// is reported with the call and the seed, and ends the process.
class Watchdog {
  public:
    Watchdog(DWORD timeoutMs, unsigned long long seed) : timeout_(timeoutMs), seed_(seed) {
        thread_ = CreateThread(nullptr, 0, &Watchdog::run, this, 0, nullptr);
    }
    ~Watchdog() {
        stop_ = true;
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void begin(const std::string& label) {
        {
            std::lock_guard<std::mutex> lock(m_);
            label_ = label;
        }
        start_ = GetTickCount64();
    }
    void end() { start_ = 0; }

    [[noreturn]] void die(const char* what, unsigned long code) {
        std::lock_guard<std::mutex> lock(m_);
        std::printf("FAIL %s 0x%08lx in %s (seed %llu)\n", what, code, label_.c_str(), seed_);
        std::printf("0 passed, 1 failed\n");
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
        for (;;) Sleep(INFINITE);
    }

  private:
    static DWORD WINAPI run(void* self) {
        auto* w = static_cast<Watchdog*>(self);
        while (!w->stop_) {
            Sleep(50);
            const ULONGLONG started = w->start_;
            if (started && GetTickCount64() - started > w->timeout_) w->die("hang", w->timeout_);
        }
        return 0;
    }

    DWORD timeout_;
    unsigned long long seed_;
    std::atomic<ULONGLONG> start_{0};
    std::atomic<bool> stop_{false};
    std::mutex m_;
    std::string label_;
    HANDLE thread_ = nullptr;
};

Watchdog* gWatchdog = nullptr;  // for the fault filter, which has no context of its own

LONG WINAPI onFault(EXCEPTION_POINTERS* e) {
    if (gWatchdog) gWatchdog->die("crash", e->ExceptionRecord->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

// --- generator ----------------------------------------------------------------------------------
class Rng {
  public:
    explicit Rng(unsigned long long seed) : g_(seed) {}
    unsigned below(unsigned n) { return n ? static_cast<unsigned>(g_() % n) : 0; }
    bool chance(unsigned percent) { return below(1000) < percent * 10; }
    bool permille(unsigned p) { return below(1000) < p; }
    template <typename T, std::size_t N>
    T pick(const T (&choices)[N]) {
        return choices[below(N)];
    }
    unsigned long long raw() { return g_(); }

  private:
    std::mt19937_64 g_;
};

// An object of the caller's that answers oddly: by its mood it fails, raises, returns Nothing,
// a text, Null or itself (a default value that never ends in a plain value).
class Foreign : public IDispatch {
  public:
    Foreign(std::atomic<long>& live, unsigned mood) : live_(live), mood_(mood % 7) { ++live_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long n = --refs_;
        if (n == 0) {
            --live_;
            delete this;
        }
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return mood_ & 1 ? E_NOTIMPL : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                            DISPID* ids) override {
        for (UINT i = 0; ids && i < count; ++i) ids[i] = mood_ == 2 ? DISPID_UNKNOWN : 7 + i;
        return mood_ == 2 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO* ei, UINT*) override {
        switch (mood_) {
            case 0:
                if (result) {
                    result->vt = VT_BSTR;
                    result->bstrVal = SysAllocString(L"odd");
                }
                return S_OK;
            case 1:
                return DISP_E_MEMBERNOTFOUND;
            case 2:
                if (ei) {
                    *ei = EXCEPINFO{};
                    ei->scode = E_FAIL;
                    ei->bstrSource = SysAllocString(L"Foreign");
                    ei->bstrDescription = SysAllocString(L"refused");
                }
                return DISP_E_EXCEPTION;
            case 3:
                if (result) result->vt = VT_NULL;
                return S_OK;
            case 4:
                if (result) {
                    result->vt = VT_DISPATCH;
                    result->pdispVal = this;
                    AddRef();
                }
                return S_OK;
            case 5:
                return E_FAIL;
            default:
                if (result) {
                    result->vt = VT_DISPATCH;
                    result->pdispVal = nullptr;
                }
                return S_OK;
        }
    }

  private:
    virtual ~Foreign() = default;
    std::atomic<long> refs_{1};
    std::atomic<long>& live_;
    unsigned mood_;
};

// What one argument of a call owns besides the VARIANTARG itself: the variable a reference
// points at, a second one behind a reference to a Variant, an array held locked.
struct ArgStore {
    VARIANT target;
    VARIANT inner;
    DECIMAL dec{};
    SAFEARRAY* locked = nullptr;
    ArgStore() {
        VariantInit(&target);
        VariantInit(&inner);
    }
    ~ArgStore() {
        if (locked) SafeArrayUnlock(locked);
        VariantClear(&target);
        VariantClear(&inner);
    }
    ArgStore(const ArgStore&) = delete;
    ArgStore& operator=(const ArgStore&) = delete;
};

constexpr VARTYPE kScalars[] = {VT_EMPTY,   VT_NULL,    VT_I2,   VT_I4,   VT_R4,       VT_R8,
                                VT_CY,      VT_DATE,    VT_BSTR, VT_BOOL, VT_DISPATCH, VT_ERROR,
                                VT_UNKNOWN, VT_DECIMAL, VT_I1,   VT_UI1,  VT_UI2,      VT_UI4,
                                VT_I8,      VT_UI8,     VT_INT,  VT_UINT};
constexpr VARTYPE kElements[] = {VT_VARIANT, VT_VARIANT,  VT_VARIANT, VT_BSTR,   VT_BSTR,
                                 VT_I2,      VT_I4,       VT_R8,      VT_UI1,    VT_BOOL,
                                 VT_DATE,    VT_DISPATCH, VT_CY,      VT_DECIMAL};

class Generator {
  public:
    Generator(Rng& rng, std::atomic<long>& live, std::wstring scratch)
        : rng_(rng), live_(live), scratch_(std::move(scratch)) {}

    // Path arguments of members that create files or folders land in the scratch folder.
    void confine(bool on) { confine_ = on; }

    BSTR text(bool huge = true) {
        std::wstring s;
        const unsigned k = rng_.below(1000);
        if (k < 80) return confined(nullptr);
        if (k < 150) {
            s.clear();
        } else if (huge && k < 170) {
            s = filler(70000);
        } else if (huge && k < 172) {
            s = filler(1000000);
        } else if (k < 500) {
            static const wchar_t kChars[] =
                L"aZ09 \t'\"\\%*?|,;.:-_&()\r\n\x00e9\x03a9\xffff\xd800";
            const unsigned n = rng_.below(20);
            for (unsigned i = 0; i < n; ++i) s += kChars[rng_.below(sizeof kChars / 2 - 1)];
            if (rng_.chance(5)) s += L'\0';
        } else {
            static const wchar_t* const kWords[] = {
                L"12",
                L"-3.5",
                L"1e308",
                L"&H7FFF",
                L"0",
                L"255",
                L"256",
                L"32768",
                L"-1",
                L"2024-02-29",
                L"31/12/1899 23:59",
                L"True",
                L"Null",
                L"red AND blue OR green",
                L"SELECT a FROM b WHERE c GROUP BY d HAVING e ORDER BY f",
                L"a\\b",
                L"Software\\x",
                L"C",
                L"C:",
                L"A",
                L"z",
                L"/name value",
                L"x=1",
                L"  two  spaces  ",
                L"O'Brien \"q\"",
                L"%",
                L"*",
                L"*.txt",
                L"a|b|c|d"};
            s = kWords[rng_.below(sizeof kWords / sizeof *kWords)];
        }
        return confined(SysAllocStringLen(s.data(), static_cast<UINT>(s.size())));
    }

    // An owned value (never a reference) of roughly the type `hint` asks for.
    void value(VARIANT* v, VARTYPE hint, int depth) {
        VARTYPE vt = hint;
        if (hint == VT_VARIANT || hint == VT_EMPTY || rng_.chance(45)) {
            const unsigned k = rng_.below(100);
            if (k < 8 && depth < 3) {
                vt = static_cast<VARTYPE>(VT_ARRAY | rng_.pick(kElements));
            } else if (k < 10) {
                v->vt = k == 8 ? 15 : 0x7f;  // not a type at all
                return;
            } else {
                vt = rng_.pick(kScalars);
            }
        }
        if (vt & VT_ARRAY) {
            const VARTYPE elem = static_cast<VARTYPE>(vt & ~VT_ARRAY);
            v->parray = array(elem == VT_EMPTY ? VARTYPE(VT_VARIANT) : elem, depth);
            v->vt =
                static_cast<VARTYPE>(VT_ARRAY | (elem == VT_EMPTY ? VARTYPE(VT_VARIANT) : elem));
            return;
        }
        scalar(v, vt, depth);
    }

    // A caller's argument: a value, a typed reference to a variable of the call's own, a
    // reference to a Variant (possibly holding a reference itself), or the missing marker.
    void argument(VARIANTARG* out, ArgStore& store, VARTYPE hint, bool byref) {
        if (rng_.chance(5)) {
            out->vt = VT_ERROR;
            out->scode = DISP_E_PARAMNOTFOUND;
            return;
        }
        if (!rng_.chance(byref ? 60 : 20)) {
            value(out, hint, 0);
            lockSometimes(out, store);
            return;
        }
        if (rng_.chance(30)) {
            out->vt = VT_BYREF | VT_VARIANT;
            out->pvarVal = &store.target;
            if (rng_.chance(15)) {
                value(&store.inner, hint, 0);
                if (reference(&store.target, store.inner, store)) return;
                VariantClear(&store.inner);
            }
            value(&store.target, hint, 0);
            return;
        }
        value(&store.target, hint, 0);
        if (!reference(out, store.target, store)) {
            VariantClear(&store.target);
            out->vt = VT_BYREF | VT_VARIANT;
            out->pvarVal = &store.target;
            value(&store.target, hint, 0);
        }
        lockSometimes(&store.target, store);
    }

    IDispatch* foreign() { return new Foreign(live_, rng_.below(7)); }

    SAFEARRAY* array(VARTYPE elem, int depth) {
        const unsigned dims = rng_.below(4);
        if (dims == 0) return nullptr;  // declared but never dimensioned
        static const LONG kLower[] = {0, 0, 1, 1, -1, 5, -32768, 32767, 100000};
        SAFEARRAYBOUND b[3];
        unsigned total = 1;
        for (unsigned d = 0; d < dims; ++d) {
            b[d].lLbound = rng_.pick(kLower);
            b[d].cElements = rng_.chance(15) ? 0 : 1 + rng_.below(3);
            total *= b[d].cElements;
        }
        SAFEARRAY* sa = SafeArrayCreate(elem, dims, b);
        if (!sa) return nullptr;
        if (rng_.chance(10)) sa->fFeatures |= FADF_FIXEDSIZE;  // a fixed-size array of VB's
        std::vector<LONG> index(dims);
        for (unsigned n = 0; n < total; ++n) {
            unsigned rest = n;
            // SafeArrayPutElement takes the indices with the rightmost dimension first.
            for (unsigned d = 0; d < dims; ++d) {
                const unsigned c = b[dims - 1 - d].cElements;
                index[d] = b[dims - 1 - d].lLbound + static_cast<LONG>(rest % c);
                rest /= c;
            }
            VARIANT e;
            VariantInit(&e);
            value(&e, elem, depth + 1);
            if (e.vt == elem || elem == VT_VARIANT) {
                SafeArrayPutElement(sa, index.data(),
                                    elem == VT_VARIANT    ? static_cast<void*>(&e)
                                    : elem == VT_BSTR     ? static_cast<void*>(e.bstrVal)
                                    : elem == VT_DISPATCH ? static_cast<void*>(e.pdispVal)
                                    : elem == VT_DECIMAL  ? static_cast<void*>(&e.decVal)
                                                          : static_cast<void*>(&e.llVal));
            }
            VariantClear(&e);
        }
        return sa;
    }

  private:
    BSTR confined(BSTR b) {
        if (!confine_) return b;
        std::wstring s = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
        SysFreeString(b);
        for (auto& c : s)
            if (c == L':' || c == L'/' || c == L'\0') c = L'_';
        for (std::size_t at; (at = s.find(L"..")) != std::wstring::npos;) s.replace(at, 2, L"__");
        s = scratch_ + L"\\" + s;
        return SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    }

    std::wstring filler(std::size_t n) {
        std::wstring s(n, L'a');
        for (std::size_t i = 0; i < n; i += 1 + rng_.below(16))
            s[i] = rng_.chance(50) ? L' ' : L'b';
        return s;
    }

    void scalar(VARIANT* v, VARTYPE vt, int depth) {
        static const double kDoubles[] = {0.0,
                                          -0.0,
                                          0.5,
                                          1.5,
                                          2.5,
                                          -2.5,
                                          1e308,
                                          -1e308,
                                          1e-300,
                                          12345.678,
                                          std::numeric_limits<double>::quiet_NaN(),
                                          std::numeric_limits<double>::infinity()};
        static const double kDates[] = {
            0.0,      -657434.0, 2958465.999, 1e10, -1e10,
            45000.25, 60.0,      366.5,       -0.5, std::numeric_limits<double>::quiet_NaN()};
        static const LONGLONG kIntegers[] = {0,
                                             1,
                                             -1,
                                             2,
                                             12,
                                             255,
                                             256,
                                             32767,
                                             32768,
                                             -32768,
                                             65535,
                                             2147483647,
                                             -2147483647 - 1,
                                             0x7fffffffffffffffLL};
        const LONGLONG n = rng_.chance(50) ? rng_.pick(kIntegers) : LONGLONG(rng_.below(40)) - 5;
        v->vt = vt;
        switch (vt) {
            case VT_EMPTY:
            case VT_NULL:
                break;
            case VT_I2:
            case VT_UI2:
                v->iVal = static_cast<SHORT>(n);
                break;
            case VT_I4:
            case VT_UI4:
            case VT_INT:
            case VT_UINT:
                v->lVal = static_cast<LONG>(n);
                break;
            case VT_I1:
            case VT_UI1:
                v->bVal = static_cast<BYTE>(n);
                break;
            case VT_I8:
            case VT_UI8:
                v->llVal = n;
                break;
            case VT_R4:
                v->fltVal = static_cast<float>(rng_.pick(kDoubles));
                break;
            case VT_R8:
                v->dblVal = rng_.chance(50) ? rng_.pick(kDoubles) : static_cast<double>(n);
                break;
            case VT_DATE:
                v->date = rng_.pick(kDates);
                break;
            case VT_CY:
                v->cyVal.int64 = rng_.chance(50) ? n : n * 10000;
                break;
            case VT_BOOL:
                v->boolVal = static_cast<VARIANT_BOOL>(rng_.pick({0, -1, -1, 1, 2}));
                break;
            case VT_ERROR:
                v->scode = rng_.chance(60) ? DISP_E_PARAMNOTFOUND : static_cast<SCODE>(0x800A000D);
                break;
            case VT_BSTR:
                v->bstrVal = text(depth == 0);
                break;
            case VT_DISPATCH:
                v->pdispVal = rng_.chance(40) ? nullptr : foreign();
                break;
            case VT_UNKNOWN:
                v->punkVal = rng_.chance(40) ? nullptr : foreign();
                break;
            case VT_DECIMAL: {
                DECIMAL d{};
                d.Lo64 = static_cast<ULONGLONG>(n);
                d.Hi32 = rng_.chance(20) ? 0xffffffffu : 0;
                d.scale = static_cast<BYTE>(rng_.chance(5) ? 30 : rng_.below(6));
                d.sign = rng_.chance(30) ? DECIMAL_NEG : 0;
                v->decVal = d;  // covers the tag: set it again
                v->vt = VT_DECIMAL;
                break;
            }
            default:  // a type that holds nothing to free: pass its bits
                v->llVal = n;
                break;
        }
    }

    // Makes `out` a typed reference to `var`; false for a value no reference can point at.
    bool reference(VARIANTARG* out, VARIANT& var, ArgStore& store) {
        const VARTYPE vt = var.vt;
        if (vt == VT_EMPTY || vt == VT_NULL || vt == 15 || vt == 0x7f) return false;
        out->vt = static_cast<VARTYPE>(VT_BYREF | vt);
        if (vt == VT_DECIMAL) {
            store.dec = var.decVal;
            store.dec.wReserved = 0;
            var.vt = VT_EMPTY;
            out->pdecVal = &store.dec;
        } else {
            out->byref = &var.llVal;  // every member of the union starts there
        }
        return true;
    }

    void lockSometimes(VARIANT* v, ArgStore& store) {
        if ((v->vt & VT_ARRAY) && !(v->vt & VT_BYREF) && v->parray && rng_.chance(5) &&
            SUCCEEDED(SafeArrayLock(v->parray)))
            store.locked = v->parray;
    }

    Rng& rng_;
    std::atomic<long>& live_;
    std::wstring scratch_;
    bool confine_ = false;
};

// --- the type library ---------------------------------------------------------------------
struct Param {
    VARTYPE vt = VT_EMPTY;  // VT_ARRAY|element for arrays, VT_DISPATCH for interfaces
    bool byref = false;
    bool optional = false;
    std::wstring name;
};

struct Member {
    std::wstring name;
    MEMBERID id = 0;
    INVOKEKIND kind = INVOKE_FUNC;
    SHORT vtableOffset = 0;
    std::vector<Param> params;
    VARTYPE result = VT_EMPTY;  // VT_EMPTY: no result
    std::string excluded;       // why the member is not called
    bool confinePaths = false;
};

struct ClassDesc {
    std::wstring name;
    CLSID clsid{};
    IID iid{};
    bool creatable = true;
    std::vector<Member> members;
};

const char* kindName(INVOKEKIND k) {
    return k == INVOKE_FUNC          ? ""
           : k == INVOKE_PROPERTYGET ? " get"
           : k == INVOKE_PROPERTYPUT ? " let"
                                     : " set";
}

VARTYPE resolve(ITypeInfo* info, const TYPEDESC& t) {
    switch (t.vt) {
        case VT_SAFEARRAY:
            return static_cast<VARTYPE>(VT_ARRAY | resolve(info, *t.lptdesc));
        case VT_PTR:
            return resolve(info, *t.lptdesc) == VT_DISPATCH ? VT_DISPATCH : VT_EMPTY;
        case VT_USERDEFINED: {
            ITypeInfo* ref = nullptr;
            if (FAILED(info->GetRefTypeInfo(t.hreftype, &ref))) return VT_EMPTY;
            TYPEATTR* a = nullptr;
            VARTYPE vt = VT_DISPATCH;
            if (SUCCEEDED(ref->GetTypeAttr(&a))) {
                if (a->typekind == TKIND_ENUM) vt = VT_I4;
                if (a->typekind == TKIND_ALIAS) vt = resolve(ref, a->tdescAlias);
                ref->ReleaseTypeAttr(a);
            }
            ref->Release();
            return vt;
        }
        case VT_INT:
            return VT_I4;
        case VT_UNKNOWN:
            return VT_DISPATCH;
        default:
            return t.vt;
    }
}

struct Exclusion {
    const wchar_t* cls;
    const wchar_t* member;
    int kinds;  // INVOKEKIND bits; 0 for every kind
    const char* reason;
};

// Members whose effects cannot be kept inside the scratch folder or the test's registry key.
constexpr Exclusion kExcluded[] = {
    {L"Win32API", L"FileOperation", 0, "moves, copies, deletes or renames the files it is given"},
    {L"Win32API", L"ExecuteFile", 0, "starts the program or opens the document it is given"},
    {L"CDialog", L"ShowOpen", 0, "shows a file dialog that waits for a user"},
    {L"CDialog", L"ShowSave", 0, "shows a file dialog that waits for a user"},
    {L"CDialog", L"Action", INVOKE_PROPERTYPUT, "1 and 2 show the open and save dialogs"},
    {L"CDialog", L"SaveFrom", 0, "writes the file that Filename names, a generated name here"},
    {L"CDialog", L"LoadInto", 0,
     "reads the file that Filename names; a generated name may be a device without an end"},
    {L"CRegistryBasic", L"ExportKey", 0, "saves the key to a file of a generated name"},
    {L"CRegistryBasic", L"ImportKey", 0, "loads a hive from a file of a generated name"},
    {L"CRegistryBasic", L"key", INVOKE_PROPERTYPUT,
     "would point the object away from the test key"},
    {L"CRegistryBasic", L"Root", INVOKE_PROPERTYPUT,
     "would point the object away from the test key"},
    {L"CRegistryAdvanced", L"key", INVOKE_PROPERTYPUT,
     "would point the object away from the test key"},
    {L"CRegistryAdvanced", L"Root", INVOKE_PROPERTYPUT,
     "would point the object away from the test key"},
};

// Members that create files or folders: their path arguments are made inside the scratch folder.
constexpr std::pair<const wchar_t*, const wchar_t*> kConfined[] = {
    {L"OS32Helper", L"MakeDirectory"}, {L"OS32Helper", L"WriteAccess"}};

Member memberOf(ITypeInfo* itf, const FUNCDESC& fd) {
    Member m;
    m.id = fd.memid;
    m.kind = fd.invkind;
    m.vtableOffset = fd.oVft;
    BSTR names[32] = {};
    UINT got = 0;
    itf->GetNames(fd.memid, names, 32, &got);
    for (SHORT p = 0; p < fd.cParams; ++p) {
        const ELEMDESC& e = fd.lprgelemdescParam[p];
        const bool ptr = e.tdesc.vt == VT_PTR;
        const VARTYPE vt = resolve(itf, ptr ? *e.tdesc.lptdesc : e.tdesc);
        if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
            m.result = vt;
            continue;
        }
        Param q;
        q.vt = vt;
        q.byref = ptr;
        q.optional = e.paramdesc.wParamFlags & PARAMFLAG_FOPT;
        if (static_cast<UINT>(p + 1) < got && names[p + 1]) q.name = names[p + 1];
        m.params.push_back(q);
    }
    if (got > 0 && names[0]) m.name = names[0];
    for (UINT k = 0; k < got; ++k) SysFreeString(names[k]);
    return m;
}

std::vector<ClassDesc> readLibrary(const std::wstring& dll, bool display) {
    std::vector<ClassDesc> out;
    ITypeLib* lib = nullptr;
    if (FAILED(LoadTypeLibEx(dll.c_str(), REGKIND_NONE, &lib))) return out;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ITypeInfo* co = nullptr;
        if (FAILED(lib->GetTypeInfo(i, &co))) continue;
        TYPEATTR* a = nullptr;
        co->GetTypeAttr(&a);
        if (a && a->typekind == TKIND_COCLASS) {
            ClassDesc c;
            c.clsid = a->guid;
            c.creatable = a->wTypeFlags & TYPEFLAG_FCANCREATE;
            BSTR name = nullptr;
            co->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
            c.name = name ? name : L"";
            SysFreeString(name);
            HREFTYPE ref;
            ITypeInfo *disp = nullptr, *itf = nullptr;
            if (SUCCEEDED(co->GetRefTypeOfImplType(0, &ref)) &&
                SUCCEEDED(co->GetRefTypeInfo(ref, &disp)) &&
                SUCCEEDED(disp->GetRefTypeOfImplType(-1, &ref)) &&
                SUCCEEDED(disp->GetRefTypeInfo(ref, &itf))) {
                TYPEATTR* ia = nullptr;
                itf->GetTypeAttr(&ia);
                c.iid = ia->guid;
                for (UINT f = 0; f < ia->cFuncs; ++f) {
                    FUNCDESC* fd = nullptr;
                    if (FAILED(itf->GetFuncDesc(f, &fd))) continue;
                    if (fd->oVft >= 7 * static_cast<SHORT>(sizeof(void*)))
                        c.members.push_back(memberOf(itf, *fd));
                    itf->ReleaseFuncDesc(fd);
                }
                itf->ReleaseTypeAttr(ia);
            }
            if (itf) itf->Release();
            if (disp) disp->Release();
            for (Member& m : c.members) {
                for (const Exclusion& x : kExcluded)
                    if (c.name == x.cls && m.name == x.member && (!x.kinds || (x.kinds & m.kind)))
                        m.excluded = x.reason;
                for (const auto& [cls, member] : kConfined)
                    if (c.name == cls && m.name == member) m.confinePaths = true;
                if (display && c.name == L"OS32Helper" && m.name == L"StandardErrorMessage")
                    m.excluded = "shows a message box that waits for a click (a display is set)";
            }
            out.push_back(std::move(c));
        }
        if (a) co->ReleaseTypeAttr(a);
        co->Release();
    }
    lib->Release();
    return out;
}

// --- outcomes ---------------------------------------------------------------------------------
std::string hrName(HRESULT hr) {
    static const std::pair<HRESULT, const char*> kNames[] = {
        {S_OK, "S_OK"},
        {DISP_E_EXCEPTION, "DISP_E_EXCEPTION"},
        {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
        {DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND"},
        {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
        {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
        {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"},
        {DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
        {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
        {DISP_E_PARAMNOTOPTIONAL, "DISP_E_PARAMNOTOPTIONAL"},
        {DISP_E_ARRAYISLOCKED, "DISP_E_ARRAYISLOCKED"},
        {DISP_E_BADINDEX, "DISP_E_BADINDEX"},
        {E_POINTER, "E_POINTER"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    };
    for (const auto& [code, name] : kNames)
        if (hr == code) return name;
    char buf[32];
    if ((static_cast<unsigned long>(hr) & 0xffff0000ul) == 0x800a0000ul)
        std::snprintf(buf, sizeof buf, "error %lu", static_cast<unsigned long>(hr) & 0xffff);
    else
        std::snprintf(buf, sizeof buf, "0x%08lx", static_cast<unsigned long>(hr));
    return buf;
}

bool isDispError(HRESULT hr) {
    return (static_cast<unsigned long>(hr) & 0xffff0000ul) == 0x80020000ul;
}

struct Tally {
    std::map<std::string, std::map<std::string, long>> byMember;
    std::map<std::string, long> byOutcome;
    long calls = 0;
    void add(const std::string& member, const std::string& outcome) {
        ++byMember[member][outcome];
        ++byOutcome[outcome];
        ++calls;
    }
};

class Checker {
  public:
    explicit Checker(unsigned long long seed) : seed_(seed) {}
    void fail(const std::string& where, const std::string& what) {
        ++failed_;
        if (++shown_[what] <= 3)
            std::printf("FAIL %s: %s (seed %llu)\n", where.c_str(), what.c_str(), seed_);
    }
    void pass() { ++passed_; }
    long passed() const { return passed_; }
    long failed() const { return failed_; }

  private:
    unsigned long long seed_;
    long passed_ = 0, failed_ = 0;
    std::map<std::string, int> shown_;
};

std::wstring textOf(BSTR b) {
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

// The thread's error information after a failed call: source and description both given.
bool errorInfoConsistent() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return false;
    BSTR source = nullptr, description = nullptr;
    info->GetSource(&source);
    info->GetDescription(&description);
    const bool ok = SysStringLen(source) > 0 && SysStringLen(description) > 0;
    SysFreeString(source);
    SysFreeString(description);
    info->Release();
    return ok;
}

// The generator's values that are no type at all: clearing them fails by design.
bool notAType(VARTYPE vt) {
    return vt == 15 || vt == 0x7f;
}

// A by-reference target or an argument the caller still owns: a type that clears cleanly.
bool clearsCleanly(VARIANT* v) {
    if (notAType(v->vt)) v->vt = VT_EMPTY;
    return VariantClear(v) == S_OK;
}

// The arguments of a call as text, for the trace that finds the call a hang stopped in.
std::string describe(const VARIANT& v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "vt=0x%x", v.vt);
    std::string s = buf;
    SAFEARRAY* sa = (v.vt & VT_ARRAY)
                        ? ((v.vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray)
                        : nullptr;
    if (sa) {
        for (USHORT d = 0; d < sa->cDims; ++d) {
            std::snprintf(buf, sizeof buf, "[%ld:%lu]", static_cast<long>(sa->rgsabound[d].lLbound),
                          static_cast<unsigned long>(sa->rgsabound[d].cElements));
            s += buf;
        }
    }
    VARTYPE elem = VT_EMPTY;
    if (sa && SUCCEEDED(SafeArrayGetVartype(sa, &elem)) && elem == VT_VARIANT && sa->cDims == 1) {
        s.append("{");
        for (ULONG i = 0; i < sa->rgsabound[0].cElements; ++i)
            s.append(describe(static_cast<const VARIANT*>(sa->pvData)[i])).append(",");
        s.append("}");
    }
    if (v.vt == VT_BSTR) s.append(" len=").append(std::to_string(SysStringLen(v.bstrVal)));
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) s.append("->").append(describe(*v.pvarVal));
    return s;
}

// --- one class --------------------------------------------------------------------------------
class ClassRun {
  public:
    ClassRun(const ClassDesc& cls, Rng& rng, Generator& gen, Watchdog& dog, Checker& check,
             Tally& tally)
        : cls_(cls), rng_(rng), gen_(gen), dog_(dog), check_(check), tally_(tally) {
        for (const Member& m : cls.members)
            if (m.excluded.empty()) callable_.push_back(&m);
    }

    void setObject(IDispatch* object) {
        object_ = object;
        vtable_ = nullptr;
        if (object_) object_->QueryInterface(cls_.iid, reinterpret_cast<void**>(&vtable_));
    }
    void releaseVtable() {
        if (vtable_) vtable_->Release();
        vtable_ = nullptr;
    }
    void trace(bool on) { trace_ = on; }
    bool usable() const { return object_ && vtable_ && !callable_.empty(); }

    void lateBound(long n) {
        const Member& m = *callable_[rng_.below(static_cast<unsigned>(callable_.size()))];
        gen_.confine(m.confinePaths);
        Invocation call(m, rng_, gen_);
        const std::string where = label(m, "late", n);
        if (trace_) {
            std::string a;
            for (const auto& v : call.args) a.append(" ").append(describe(v));
            std::printf("%s flags=%u id=%ld named=%zu%s\n", where.c_str(), call.flags,
                        static_cast<long>(call.id), call.named.size(), a.c_str());
            std::fflush(stdout);
        }
        dog_.begin(where);
        const HRESULT hr = call.invoke(object_);
        dog_.end();
        tally_.add(memberName(m), hrName(hr));
        checkLate(call, hr, where);
    }

    void names(long n) {
        const Member& m = *callable_[rng_.below(static_cast<unsigned>(callable_.size()))];
        std::vector<std::wstring> texts{m.name};
        for (const Param& p : m.params)
            if (rng_.chance(70) && !p.name.empty()) texts.push_back(p.name);
        if (rng_.chance(30)) texts.push_back(L"NoSuchName");
        std::vector<LPOLESTR> ptrs;
        for (auto& t : texts) ptrs.push_back(rng_.chance(3) ? nullptr : t.data());
        std::vector<DISPID> ids(ptrs.size());
        const std::string where = label(m, "names", n);
        dog_.begin(where);
        const HRESULT hr = object_->GetIDsOfNames(
            IID_NULL, ptrs.data(),
            static_cast<UINT>(rng_.below(static_cast<unsigned>(ptrs.size()) + 1)),
            LOCALE_USER_DEFAULT, ids.data());
        dog_.end();
        tally_.add(memberName(m), "names " + hrName(hr));
        if (hr == S_OK || hr == DISP_E_UNKNOWNNAME)
            check_.pass();
        else
            check_.fail(where, "GetIDsOfNames answered " + hrName(hr));
    }

    // Early bound: each pointer argument and the result pointer in turn null, every in-text
    // null, then calls with generated values of the declared types.
    void nullSweep() {
        for (const Member* m : callable_) {
            for (int nulled = -2; nulled <= static_cast<int>(m->params.size()); ++nulled) {
                gen_.confine(m->confinePaths);
                vtableCall(*m, nulled, 0);
            }
        }
    }
    void vtableRandom(long n) {
        const Member& m = *callable_[rng_.below(static_cast<unsigned>(callable_.size()))];
        gen_.confine(m.confinePaths);
        vtableCall(m,
                   rng_.chance(20)
                       ? static_cast<int>(rng_.below(static_cast<unsigned>(m.params.size()) + 1))
                       : -3,
                   n);
    }

  private:
    // One late-bound call as a client puts it together: which member, flags, arguments, named
    // arguments, and which of the out-pointers it passes.
    struct Invocation {
        Invocation(const Member& m, Rng& rng, Generator& gen) {
            const std::size_t n = m.params.size();
            const bool put = m.kind == INVOKE_PROPERTYPUT || m.kind == INVOKE_PROPERTYPUTREF;
            id = m.id;
            flags = m.kind == INVOKE_FUNC
                        ? WORD(rng.chance(70) ? DISPATCH_METHOD
                                              : DISPATCH_METHOD | DISPATCH_PROPERTYGET)
                    : m.kind == INVOKE_PROPERTYGET
                        ? WORD(rng.chance(70) ? DISPATCH_PROPERTYGET
                                              : DISPATCH_METHOD | DISPATCH_PROPERTYGET)
                    : m.kind == INVOKE_PROPERTYPUT ? WORD(DISPATCH_PROPERTYPUT)
                                                   : WORD(DISPATCH_PROPERTYPUTREF);
            if (rng.chance(4)) flags = static_cast<WORD>(rng.below(17));
            if (rng.chance(4)) {
                static const DISPID kWrong[] = {
                    -1, -5, 999, 0x7fffffff, DISPID_VALUE, DISPID_NEWENUM, 100};
                id = rng.pick(kWrong);
            }
            std::size_t count = n;
            const unsigned shape = rng.below(100);
            if (shape < 6)
                count = 0;
            else if (shape < 14 && n)
                count = rng.below(static_cast<unsigned>(n));
            else if (shape < 22)
                count = n + 1 + rng.below(3);
            else {
                std::size_t required = 0;
                for (std::size_t i = 0; i < n; ++i)
                    if (!m.params[i].optional) required = i + 1;
                count = required + rng.below(static_cast<unsigned>(n - required + 1));
            }
            // The put's value is the last parameter; the others take positions from the first.
            args.resize(count);
            stores.resize(count);
            for (auto& s : stores) s = std::make_unique<ArgStore>();
            for (std::size_t i = 0; i < count; ++i) {
                VariantInit(&args[i]);
                const std::size_t param = put && i == count - 1 && count <= n ? n - 1 : i;
                const Param* p = param < n ? &m.params[param] : nullptr;
                VARTYPE hint = p ? p->vt : VARTYPE(VT_VARIANT);
                // A Variant that the member reads as an array mostly gets one, so that the
                // calls reach past the first check.
                if (p && hint == VT_VARIANT && p->name.find(L"Array") != std::wstring::npos &&
                    rng.chance(60))
                    hint = VT_ARRAY | VT_VARIANT;
                gen.argument(&args[i], *stores[i], hint, p && p->byref);
            }
            // rgvarg holds the arguments last first.
            std::reverse(args.begin(), args.end());
            std::reverse(stores.begin(), stores.end());
            if (put && count && rng.chance(90)) named.push_back(DISPID_PROPERTYPUT);
            if (rng.chance(10) && count > named.size()) {
                // Named arguments: the right positions, then perhaps a wrong or repeated one.
                const std::size_t extra =
                    1 + rng.below(static_cast<unsigned>(count - named.size()));
                for (std::size_t k = 0; k < extra; ++k) {
                    const std::size_t position = named.size();  // rgvarg index from the end
                    DISPID d = static_cast<DISPID>(count - 1 - position);
                    if (rng.chance(25)) d = rng.pick({-3, 77, 0, 1, DISPID_PROPERTYPUT});
                    named.push_back(d);
                }
            }
            before.resize(count);
            for (std::size_t i = 0; i < count; ++i) before[i] = args[i];
            nullResult = rng.chance(10);
            nullExcep = rng.chance(10);
            nullArgErr = rng.chance(10);
            nullParams = rng.chance(2);
            nullArgs = !args.empty() && rng.chance(1);
        }
        ~Invocation() {
            for (auto& a : args) VariantClear(&a);
            VariantClear(&result);
            SysFreeString(excep.bstrSource);
            SysFreeString(excep.bstrDescription);
            SysFreeString(excep.bstrHelpFile);
        }
        Invocation(const Invocation&) = delete;
        Invocation& operator=(const Invocation&) = delete;

        HRESULT invoke(IDispatch* d) {
            DISPPARAMS dp{args.empty() || nullArgs ? nullptr : args.data(),
                          named.empty() ? nullptr : named.data(), static_cast<UINT>(args.size()),
                          static_cast<UINT>(named.size())};
            return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, nullParams ? nullptr : &dp,
                             nullResult ? nullptr : &result, nullExcep ? nullptr : &excep,
                             nullArgErr ? nullptr : &argErr);
        }

        DISPID id = 0;
        WORD flags = 0;
        std::vector<VARIANTARG> args;
        std::vector<std::unique_ptr<ArgStore>> stores;
        std::vector<DISPID> named;
        std::vector<VARIANTARG> before;
        bool nullResult = false, nullExcep = false, nullArgErr = false, nullParams = false;
        bool nullArgs = false;
        VARIANT result{};
        EXCEPINFO excep{};
        UINT argErr = 0xffffffffu;
    };

    void checkLate(Invocation& call, HRESULT hr, const std::string& where) {
        bool ok = true;
        auto bad = [&](const std::string& what) {
            ok = false;
            check_.fail(where, what);
        };
        if (hr == DISP_E_EXCEPTION) {
            if (!call.nullExcep) {
                if (textOf(call.excep.bstrSource).empty() ||
                    textOf(call.excep.bstrDescription).empty())
                    bad("DISP_E_EXCEPTION without source or description");
                if (call.excep.scode >= 0 && call.excep.wCode == 0)
                    bad("DISP_E_EXCEPTION without an error code");
            } else if (!errorInfoConsistent()) {
                bad("DISP_E_EXCEPTION without error information (no EXCEPINFO passed)");
            }
        } else if (hr != S_OK && !isDispError(hr) && hr != E_POINTER && hr != E_INVALIDARG &&
                   hr != E_OUTOFMEMORY) {
            bad("unexpected HRESULT " + hrName(hr));
        }
        if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && !call.nullArgErr &&
            !call.nullParams && call.argErr >= call.args.size())
            bad(hrName(hr) + " without the argument's position");
        SetErrorInfo(0, nullptr);
        // The caller's argument variants are as it passed them and clear cleanly; the variables
        // its references point at hold a valid value of their own type.
        for (std::size_t i = 0; i < call.args.size(); ++i) {
            const VARIANTARG& b = call.before[i];
            if (call.args[i].vt != b.vt || call.args[i].llVal != b.llVal)
                bad("an argument variant was changed");
            ArgStore& s = *call.stores[i];
            if (s.locked) SafeArrayUnlock(s.locked);
            s.locked = nullptr;
            if ((b.vt & VT_BYREF) && b.vt != (VT_BYREF | VT_VARIANT) &&
                b.byref == &s.target.llVal && s.target.vt != (b.vt & ~VT_BYREF))
                bad("a typed reference's variable changed its type");
            if (!clearsCleanly(&call.args[i]) || !clearsCleanly(&s.target) ||
                !clearsCleanly(&s.inner))
                bad("an argument does not clear");
        }
        if (!clearsCleanly(&call.result)) bad("the result does not clear");
        if (ok) check_.pass();
    }

    // One early-bound call. `nulled`: -3 generated values only, -2 every in-text null, -1 the
    // result pointer null, 0..n-1 that parameter's pointer null (when it is a pointer), n none.
    void vtableCall(const Member& m, int nulled, long n) {
        const std::size_t count = m.params.size() + (m.result != VT_EMPTY ? 1 : 0);
        std::vector<VARIANTARG> args(count);
        std::vector<VARIANT> targets(count);
        std::vector<DECIMAL> decs(count);
        std::vector<VARTYPE> types(count);
        std::vector<VARIANTARG*> ptrs(count);
        for (std::size_t i = 0; i < count; ++i) {
            VariantInit(&args[i]);
            VariantInit(&targets[i]);
            ptrs[i] = &args[i];
        }
        for (std::size_t i = 0; i < m.params.size(); ++i) {
            const Param& p = m.params[i];
            VARIANT& t = targets[i];
            if (p.vt == VT_VARIANT) {
                gen_.value(&t, VT_VARIANT, 0);
            } else if (p.vt & VT_ARRAY) {
                t.vt = rng_.chance(90) ? p.vt : VARTYPE(VT_ARRAY | VT_VARIANT);
                t.parray = gen_.array(t.vt & ~VT_ARRAY, 1);
            } else if (p.vt == VT_BSTR) {
                t.vt = VT_BSTR;
                t.bstrVal = nulled == -2 ? nullptr : gen_.text();
            } else if (p.vt == VT_DISPATCH) {
                t.vt = VT_DISPATCH;
                t.pdispVal = rng_.chance(50) ? nullptr : gen_.foreign();
            } else {
                do {
                    VariantClear(&t);
                    gen_.value(&t, p.vt, 0);
                } while (t.vt != p.vt);
            }
            if (p.byref) {
                args[i].vt = static_cast<VARTYPE>(
                    VT_BYREF | (p.vt == VT_VARIANT ? VARTYPE(VT_VARIANT) : t.vt));
                if (t.vt == VT_DECIMAL) {
                    decs[i] = t.decVal;
                    decs[i].wReserved = 0;
                }
                args[i].byref = p.vt == VT_VARIANT   ? static_cast<void*>(&t)
                                : t.vt == VT_DECIMAL ? static_cast<void*>(&decs[i])
                                                     : static_cast<void*>(&t.llVal);
                if (nulled == static_cast<int>(i)) args[i].byref = nullptr;
                types[i] = args[i].vt;
            } else {
                args[i] = t;  // a view: the target owns it
                types[i] = p.vt == VT_VARIANT ? VARTYPE(VT_VARIANT) : t.vt;
            }
        }
        if (m.result != VT_EMPTY) {
            const std::size_t r = count - 1;
            targets[r].vt = m.result == VT_VARIANT ? VARTYPE(VT_EMPTY) : m.result;
            args[r].vt = static_cast<VARTYPE>(VT_BYREF | m.result);
            args[r].byref = m.result == VT_VARIANT ? static_cast<void*>(&targets[r])
                                                   : static_cast<void*>(&targets[r].llVal);
            if (nulled == -1) args[r].byref = nullptr;
            types[r] = args[r].vt;
        }
        const std::string where = label(m, nulled == -3 ? "vtable" : "vtable nulls", n);
        SetErrorInfo(0, nullptr);
        VARIANT ret;
        VariantInit(&ret);
        dog_.begin(where);
        HRESULT hr =
            DispCallFunc(vtable_, static_cast<ULONG_PTR>(m.vtableOffset), CC_STDCALL, VT_ERROR,
                         static_cast<UINT>(count), types.data(), ptrs.data(), &ret);
        dog_.end();
        if (SUCCEEDED(hr)) hr = ret.scode;
        tally_.add(memberName(m), "vtable " + hrName(hr));
        bool ok = true;
        if (FAILED(hr) && hr != E_POINTER && hr != E_INVALIDARG && hr != E_OUTOFMEMORY &&
            !isDispError(hr) && !errorInfoConsistent()) {
            ok = false;
            check_.fail(where, "vtable error " + hrName(hr) + " without error information");
        }
        SetErrorInfo(0, nullptr);
        for (std::size_t i = 0; i < count; ++i) {
            if (i < m.params.size() && m.params[i].byref && m.params[i].vt != VT_VARIANT &&
                targets[i].vt == VT_DECIMAL) {
                targets[i].vt = VT_EMPTY;  // the DECIMAL lives apart
            }
            if (!clearsCleanly(&targets[i])) {
                ok = false;
                check_.fail(where, "a vtable argument does not clear");
            }
        }
        if (ok) check_.pass();
    }

    std::string memberName(const Member& m) const { return narrow(m.name) + kindName(m.kind); }
    std::string label(const Member& m, const char* how, long n) const {
        return narrow(cls_.name) + "." + memberName(m) + " (" + how + ", call " +
               std::to_string(n) + ")";
    }

    const ClassDesc& cls_;
    Rng& rng_;
    Generator& gen_;
    Watchdog& dog_;
    Checker& check_;
    Tally& tally_;
    std::vector<const Member*> callable_;
    IDispatch* object_ = nullptr;
    IUnknown* vtable_ = nullptr;
    bool trace_ = false;
};

// --- objects ----------------------------------------------------------------------------------
constexpr wchar_t kTestKey[] = L"Software\\BrevantoTests\\callfuzz";

HRESULT put(IDispatch* d, const wchar_t* name, VARIANT value) {
    DISPID id;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    HRESULT hr = d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS dp{&value, &named, 1, 1};
    return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr,
                     nullptr);
}

IDispatch* firstParam(IDispatch* params) {
    VARIANT index, result;
    VariantInit(&result);
    index.vt = VT_I4;
    index.lVal = 1;
    DISPPARAMS dp{&index, nullptr, 1, 0};
    if (FAILED(params->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                              &dp, &result, nullptr, nullptr)) ||
        result.vt != VT_DISPATCH || !result.pdispVal) {
        VariantClear(&result);
        return nullptr;
    }
    return result.pdispVal;
}

// A new instance of the class, pointed at the test's registry key when it is a registry
// class; null when none can be had.
IDispatch* create(const ClassDesc& c, IDispatch* params) {
    IDispatch* d = nullptr;
    if (c.creatable) {
        if (FAILED(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&d))))
            return nullptr;
    } else if (params) {
        // The one class that is not created is handed out by the parameter list, from a
        // command line of the test's own, parsed once.
        IDispatch* item = firstParam(params);
        if (item) return item;
        VARIANT line;
        line.vt = VT_BSTR;
        line.bstrVal = SysAllocString(L"/fuzz one /other two");
        const HRESULT set = put(params, L"CommandLine", line);
        SysFreeString(line.bstrVal);
        DISPID parse;
        LPOLESTR name = const_cast<LPOLESTR>(L"ParseCommandLine");
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        if (FAILED(set) ||
            FAILED(params->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &parse)) ||
            FAILED(params->Invoke(parse, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                  nullptr, nullptr, nullptr)))
            return nullptr;
        return firstParam(params);
    }
    if (d && c.name.rfind(L"CRegistry", 0) == 0) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = static_cast<LONG>(0x80000001u);  // HKEY_CURRENT_USER
        HRESULT hr = put(d, L"Root", v);
        v.vt = VT_BOOL;
        v.boolVal = VARIANT_TRUE;
        if (SUCCEEDED(hr)) hr = put(d, L"AutoCreate", v);
        v.vt = VT_BSTR;
        std::wstring key = std::wstring(kTestKey) + L"\\" + c.name;
        v.bstrVal = SysAllocString(key.c_str());
        if (SUCCEEDED(hr)) hr = put(d, L"key", v);
        SysFreeString(v.bstrVal);
        if (FAILED(hr)) {
            d->Release();
            return nullptr;
        }
    }
    return d;
}

unsigned long long classSeed(unsigned long long seed, const std::wstring& name) {
    unsigned long long h = seed ^ 14695981039346656037ull;
    for (wchar_t c : name) h = (h ^ static_cast<unsigned long long>(c)) * 1099511628211ull;
    return h;
}

struct Options {
    std::wstring dll, scratch, only;
    long calls = 200;
    unsigned long long seed = 0;
    DWORD timeoutMs = 60000;
    bool members = false;
    bool trace = false;
};

bool parse(int argc, wchar_t** argv, Options& o) {
    if (argc < 2) return false;
    o.dll = argv[1];
    o.seed = GetTickCount64() ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 32);
    for (int i = 2; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool more = i + 1 < argc;
        if (a == L"--members")
            o.members = true;
        else if (a == L"--trace")
            o.trace = true;
        else if (a == L"--calls" && more)
            o.calls = std::wcstol(argv[++i], nullptr, 10);
        else if (a == L"--seed" && more)
            o.seed = std::wcstoull(argv[++i], nullptr, 10);
        else if (a == L"--timeout" && more)
            o.timeoutMs = std::wcstoul(argv[++i], nullptr, 10);
        else if (a == L"--scratch" && more)
            o.scratch = argv[++i];
        else if (a == L"--class" && more)
            o.only = argv[++i];
        else
            return false;
    }
    return !o.scratch.empty() && o.calls >= 0;
}

// Everything the library keeps for its objects is gone once the last one is released.
bool libraryUnloads(const std::wstring& dll) {
    const std::size_t slash = dll.find_last_of(L"\\/");
    HMODULE h = GetModuleHandleW(dll.substr(slash == std::wstring::npos ? 0 : slash + 1).c_str());
    if (!h) return true;
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(h, "DllCanUnloadNow")));
    return canUnload && canUnload() == S_OK;
}

// The process's private memory in KB: its growth over the second half of a class's calls is
// printed, a figure for leaks that the reference checks cannot see (texts, arrays).
long long privateKb() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        return 0;
    // Wine leaves PrivateUsage at 0; its committed private memory is PagefileUsage.
    const SIZE_T bytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    return static_cast<long long>(bytes / 1024);
}

void printTally(const ClassDesc& c, const Tally& t, bool members, long long growthKb) {
    std::printf("%s: %ld calls, %+lld KB over the second half:", narrow(c.name).c_str(), t.calls,
                growthKb);
    for (const auto& [outcome, count] : t.byOutcome)
        std::printf(" %s=%ld;", outcome.c_str(), count);
    std::printf("\n");
    if (!members) return;
    for (const auto& [member, outcomes] : t.byMember) {
        std::printf("  %s:", member.c_str());
        for (const auto& [outcome, count] : outcomes)
            std::printf(" %s=%ld;", outcome.c_str(), count);
        std::printf("\n");
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::printf(
            "usage: call_fuzz <dll> --scratch <folder> [--calls N] [--seed S] "
            "[--class NAME] [--timeout MS] [--members] [--trace]\n");
        return 2;
    }
    std::printf("seed %llu, %ld calls per class\n", o.seed, o.calls);
    std::fflush(stdout);
    if (!SetCurrentDirectoryW(o.scratch.c_str())) {
        std::printf("FAIL cannot enter the scratch folder\n0 passed, 1 failed\n");
        return 1;
    }
    wchar_t display[8];
    const bool hasDisplay = GetEnvironmentVariableW(L"DISPLAY", display, 8) > 0;
    Watchdog dog(o.timeoutMs, o.seed);
    gWatchdog = &dog;
    SetUnhandledExceptionFilter(&onFault);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Checker check(o.seed);
    std::atomic<long> live{0};
    {
        const std::vector<ClassDesc> classes = readLibrary(o.dll, hasDisplay);
        if (classes.empty()) check.fail("type library", "no classes read from the DLL");
        for (const ClassDesc& c : classes)
            for (const Member& m : c.members)
                if (!m.excluded.empty())
                    std::printf("excluded %s.%s%s: %s\n", narrow(c.name).c_str(),
                                narrow(m.name).c_str(), kindName(m.kind), m.excluded.c_str());
        IDispatch* params = nullptr;
        for (const ClassDesc& c : classes)
            if (c.name == L"CommandParams") params = create(c, nullptr);
        for (const ClassDesc& c : classes) {
            if (!o.only.empty() && c.name != o.only) continue;
            Rng rng(classSeed(o.seed, c.name));
            Generator gen(rng, live, o.scratch);
            Tally tally;
            ClassRun run(c, rng, gen, dog, check, tally);
            run.trace(o.trace);
            IDispatch* object = create(c, params);
            if (!object) {
                check.fail(narrow(c.name), "no instance to call");
                continue;
            }
            run.setObject(object);
            if (!run.usable()) {
                check.fail(narrow(c.name), "no vtable interface or no members");
                run.releaseVtable();
                object->Release();
                continue;
            }
            run.nullSweep();
            long long halfway = privateKb();
            for (long n = 1; n <= o.calls; ++n) {
                // A fresh instance now and then: the state the calls build up is bounded, and
                // creation and release are exercised too.
                if (n % 64 == 0) {
                    run.releaseVtable();
                    object->Release();
                    object = create(c, params);
                    if (!object) {
                        check.fail(narrow(c.name), "no instance to call");
                        break;
                    }
                    run.setObject(object);
                }
                if (n == o.calls / 2) halfway = privateKb();
                const unsigned k = rng.below(100);
                if (k < 80)
                    run.lateBound(n);
                else if (k < 95)
                    run.vtableRandom(n);
                else
                    run.names(n);
            }
            run.releaseVtable();
            if (object) object->Release();
            printTally(c, tally, o.members, privateKb() - halfway);
            std::fflush(stdout);
        }
        if (params) params->Release();
    }
    if (!libraryUnloads(o.dll))
        check.fail("library", "objects or locks left after the last release");
    else
        check.pass();
    CoFreeUnusedLibraries();
    if (live != 0)
        check.fail("foreign objects", std::to_string(live.load()) + " still referenced");
    else
        check.pass();
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\BrevantoTests");  // only when now empty
    HKEY left = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &left) == ERROR_SUCCESS) {
        RegCloseKey(left);
        check.fail("registry", "the test key could not be deleted");
    } else {
        check.pass();
    }
    CoUninitialize();
    gWatchdog = nullptr;
    std::printf("private memory at the end: %lld KB\n", privateKb());
    std::printf("%ld passed, %ld failed\n", check.passed(), check.failed());
    return check.failed() ? 1 : 0;
}

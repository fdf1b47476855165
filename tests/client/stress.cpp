// Reference and handle stress of the real DLL: creates and releases objects of every class by
// the hundred thousand, keeps items, enumerators and array elements alive past their parent,
// enumerates while the collection grows, loads registry keys over and over, probes files and
// shows and cancels the file dialog; after each phase the process's handle count and memory must
// be back where they were after a warm-up round, and at the end the server must agree to unload.
//
// Usage: stress <path of Brevanto.dll> <scale> <scratch folder> [phase...]
//   scale: objects created per class (registry loads, file probes and item rounds are a tenth of
//   it; dialogs a thousandth, at least 5 and at most 100). Phases: create items enumerate members
//   registry files unload (the default, in that order) and dialogs (only on request: it needs a
//   display and the window driver answering "Brevanto stress" dialogs).
// Prints one "figure" line per phase and ends with "N passed, N failed".
// clang-format off
#include <windows.h>  // before the OLE headers and psapi, which need its types
#include <oleauto.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "brevanto.h"
#include "client_support.h"

namespace {

int gPassed = 0, gFailed = 0;

void check(const std::string& name, bool ok, const std::string& detail = "") {
    if (ok) {
        ++gPassed;
    } else {
        ++gFailed;
        std::printf("FAIL %s %s\n", name.c_str(), detail.c_str());
    }
}

// An owned interface pointer.
template <typename T>
class Ptr {
  public:
    Ptr() = default;
    explicit Ptr(T* p) : p_(p) {}
    ~Ptr() { reset(); }
    Ptr(const Ptr&) = delete;
    Ptr& operator=(const Ptr&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// --- what the process holds ----------------------------------------------------------------

struct Usage {
    DWORD handles = 0;        // GetProcessHandleCount
    DWORD walkedHandles = 0;  // handle values that GetHandleInformation accepts
    SIZE_T heap = 0;          // bytes in busy blocks of every heap of the process
    SIZE_T privateBytes = 0;  // GetProcessMemoryInfo's PrivateUsage
    SIZE_T committed = 0;     // committed private pages, by VirtualQuery
    SIZE_T workingSet = 0;
};

SIZE_T heapInUse() {
    std::vector<HANDLE> heaps(256);
    DWORD n = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    SIZE_T total = 0;
    for (DWORD i = 0; i < std::min<DWORD>(n, 256); ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

// Handle values are multiples of 4 handed out lowest first, so the table ends where a long run
// of values is unused; a handle left open per round would sit inside the walked range.
DWORD walkHandles() {
    DWORD count = 0, flags = 0;
    int unused = 0;
    for (uintptr_t value = 4; unused < 512; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            unused = 0;
        } else {
            ++unused;
        }
    }
    return count;
}

SIZE_T committedPrivate() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (auto* at = static_cast<char*>(nullptr);
         VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if (info.RegionSize == 0) break;
    }
    return total;
}

Usage measure() {
    Usage u;
    u.heap = heapInUse();
    u.committed = committedPrivate();
    u.walkedHandles = walkHandles();
    GetProcessHandleCount(GetCurrentProcess(), &u.handles);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                             sizeof pmc)) {
        u.privateBytes = pmc.PrivateUsage;
        u.workingSet = pmc.WorkingSetSize;
    }
    return u;
}

// Which of the figures this platform really reports (settled by the probe phase).
struct Reported {
    bool handles = false, walkedHandles = false, heap = false, privateBytes = false,
         committed = false;
} gReported;

// Growth allowed over a phase, after its warm-up. A leak of one handle or one small block per
// round exceeds these at the smallest scale the runner uses; committed pages move in whole
// pages and heap segments, hence the larger allowance.
constexpr long long kHandleSlack = 2;
constexpr long long kHeapSlack = 8 * 1024;
constexpr long long kPagesSlack = 2 * 1024 * 1024;

long long delta(SIZE_T after, SIZE_T before) {
    return static_cast<long long>(after) - static_cast<long long>(before);
}

void figures(const std::string& name, int rounds, const Usage& b, const Usage& a) {
    std::printf(
        "figure %-36s %6d rounds  handles %4lu -> %4lu (walked %4lu -> %4lu)  heap %8llu -> "
        "%8llu (%+lld)  committed %9llu -> %9llu (%+lld)  private %llu -> %llu  working set "
        "%9llu -> %9llu\n",
        name.c_str(), rounds, static_cast<unsigned long>(b.handles),
        static_cast<unsigned long>(a.handles), static_cast<unsigned long>(b.walkedHandles),
        static_cast<unsigned long>(a.walkedHandles), static_cast<unsigned long long>(b.heap),
        static_cast<unsigned long long>(a.heap), delta(a.heap, b.heap),
        static_cast<unsigned long long>(b.committed), static_cast<unsigned long long>(a.committed),
        delta(a.committed, b.committed), static_cast<unsigned long long>(b.privateBytes),
        static_cast<unsigned long long>(a.privateBytes),
        static_cast<unsigned long long>(b.workingSet),
        static_cast<unsigned long long>(a.workingSet));
    const struct {
        bool reported;
        const char* what;
        long long growth, slack;
    } limits[] = {
        {gReported.handles, "handle count", delta(a.handles, b.handles), kHandleSlack},
        {gReported.walkedHandles, "handles walked", delta(a.walkedHandles, b.walkedHandles),
         kHandleSlack},
        {gReported.heap, "heap", delta(a.heap, b.heap), kHeapSlack},
        {gReported.committed, "committed pages", delta(a.committed, b.committed), kPagesSlack},
        {gReported.privateBytes, "private usage", delta(a.privateBytes, b.privateBytes),
         kPagesSlack},
    };
    for (const auto& limit : limits)
        if (limit.reported)
            check(name + ": " + limit.what + " back", limit.growth <= limit.slack,
                  "grew by " + std::to_string(limit.growth));
}

// Runs `body` for a warm-up round (one-time allocations: caches, type information, lazily
// opened keys), measures, runs it `rounds` times, measures again; any failed round fails the
// phase once, with the first round that failed.
template <typename F>
void phase(const std::string& name, int rounds, F body) {
    const int warm = std::min(rounds, 1000);
    int failedAt = -1;
    for (int i = 0; i < warm && failedAt < 0; ++i)
        if (!body(i)) failedAt = i;
    const Usage before = measure();
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < rounds && failedAt < 0; ++i)
        if (!body(i)) failedAt = i;
    const ULONGLONG took = GetTickCount64() - start;
    const Usage after = measure();
    check(name + ": every round", failedAt < 0,
          "first failure in round " + std::to_string(failedAt));
    figures(name, rounds, before, after);
    std::printf("time %-38s %6d rounds in %llu ms\n", name.c_str(), rounds, took);
}

// Which figures the platform really reports: each must react to what it claims to count (64
// events, a megabyte of heap blocks, 16 MB of touched pages); the heap must also see objects
// that the DLL allocates.
void probe() {
    Usage b = measure();
    std::vector<HANDLE> events;
    for (int i = 0; i < 64; ++i) events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Usage a = measure();
    for (HANDLE h : events) CloseHandle(h);
    gReported.handles = a.handles >= b.handles + 64;
    gReported.walkedHandles = a.walkedHandles >= b.walkedHandles + 64;
    std::printf(
        "probe 64 events open: GetProcessHandleCount %lu -> %lu (%s), handles walked %lu "
        "-> %lu (%s)\n",
        static_cast<unsigned long>(b.handles), static_cast<unsigned long>(a.handles),
        gReported.handles ? "checked" : "not implemented, not checked",
        static_cast<unsigned long>(b.walkedHandles), static_cast<unsigned long>(a.walkedHandles),
        gReported.walkedHandles ? "checked" : "not reported, not checked");

    b = measure();
    std::vector<void*> blocks;
    for (int i = 0; i < 1024; ++i) blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 1024));
    a = measure();
    for (void* p : blocks) HeapFree(GetProcessHeap(), 0, p);
    const long long heapGrowth = delta(a.heap, b.heap);

    // A thousand parsed CommandParams held: the DLL's own allocations must show.
    b = measure();
    std::vector<IDispatch*> held;
    for (int i = 0; i < 1000; ++i) {
        IDispatch* d = nullptr;
        Bstr line(L"/a 1 /b 2");
        _CommandParams* p = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_CommandParams, nullptr, CLSCTX_INPROC_SERVER,
                                       IID__CommandParams, reinterpret_cast<void**>(&p)))) {
            p->put_CommandLine(&line.b);
            p->ParseCommandLine();
            d = p;
        }
        held.push_back(d);
    }
    a = measure();
    for (IDispatch* d : held)
        if (d) d->Release();
    const long long objectGrowth = delta(a.heap, b.heap);
    gReported.heap = heapGrowth >= 1024 * 1024 && objectGrowth >= 1000 * 64;
    std::printf(
        "probe HeapWalk busy bytes: %+lld with 1 MB of blocks, %+lld with 1000 objects "
        "of the DLL held (%lld bytes each): %s\n",
        heapGrowth, objectGrowth, objectGrowth / 1000,
        gReported.heap ? "checked" : "not reported, not checked");

    b = measure();
    const SIZE_T size = 16 * 1024 * 1024;
    auto* pages = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    for (SIZE_T i = 0; pages && i < size; i += 4096) pages[i] = 1;
    a = measure();
    if (pages) VirtualFree(pages, 0, MEM_RELEASE);
    gReported.privateBytes = delta(a.privateBytes, b.privateBytes) >= 15 * 1024 * 1024;
    gReported.committed = delta(a.committed, b.committed) >= 15 * 1024 * 1024;
    std::printf(
        "probe 16 MB touched: GetProcessMemoryInfo PrivateUsage %+lld (%s), WorkingSetSize "
        "%+lld (printed only), committed private pages %+lld (%s)\n",
        delta(a.privateBytes, b.privateBytes),
        gReported.privateBytes ? "checked" : "not implemented, not checked",
        delta(a.workingSet, b.workingSet), delta(a.committed, b.committed),
        gReported.committed ? "checked" : "not reported, not checked");
    check("handles and heap are both measured", gReported.walkedHandles && gReported.heap);
}

// --- a client object that counts its references ---------------------------------------------

// A text box as the dialog's target sees one (a Text property), and a foreign element that
// arrays and collections hold: its reference count shows whether the DLL let go of it.
class TextBox final : public IDispatch {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch))
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }  // lives on the stack
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1 || !names || !ids) return E_INVALIDARG;
        if (_wcsicmp(names[0], L"Text") == 0) {
            ids[0] = 1;
            return S_OK;
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override {
        if (id != 1) return DISP_E_MEMBERNOTFOUND;
        if (flags & DISPATCH_PROPERTYPUT) {
            if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            Var v;
            HRESULT hr = VariantChangeType(&v.v, &params->rgvarg[0], 0, VT_BSTR);
            if (FAILED(hr)) return hr;
            text.assign(v.v.bstrVal, SysStringLen(v.v.bstrVal));
            return S_OK;
        }
        if (!result) return S_OK;
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return S_OK;
    }

    ULONG refs = 1;
    std::wstring text;
};

// --- the phases ------------------------------------------------------------------------------

struct Creatable {
    const char* name;
    const CLSID* clsid;
};
const Creatable kClasses[] = {
    {"Win32API", &CLSID_Win32API},
    {"ArrayHelper", &CLSID_ArrayHelper},
    {"DateHelper", &CLSID_DateHelper},
    {"VBObjectHelper", &CLSID_VBObjectHelper},
    {"OS32Helper", &CLSID_OS32Helper},
    {"TextHelper", &CLSID_TextHelper},
    {"CRegistryAdvanced", &CLSID_CRegistryAdvanced},
    {"CDialog", &CLSID_CDialog},
    {"CRegistryBasic", &CLSID_CRegistryBasic},
    {"SQLRoutines", &CLSID_SQLRoutines},
    {"CommandParams", &CLSID_CommandParams},
    {"ArrayCollectionHelper", &CLSID_ArrayCollectionHelper},
};

template <typename T>
HRESULT create(const CLSID& clsid, const IID& iid, Ptr<T>& out) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out.putVoid());
}

// Touches the object the way every client does first: its error support and type information.
bool touch(IDispatch* d) {
    Ptr<ISupportErrorInfo> support;
    UINT count = 0;
    return SUCCEEDED(d->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) &&
           SUCCEEDED(d->GetTypeInfoCount(&count)) && count == 1;
}

// A parsed CommandParams.
bool commandParams(Ptr<_CommandParams>& p, const wchar_t* line) {
    Bstr text(line);
    return SUCCEEDED(create(CLSID_CommandParams, IID__CommandParams, p)) &&
           SUCCEEDED(p->put_CommandLine(&text.b)) && SUCCEEDED(p->ParseCommandLine());
}

bool item(_CommandParams* p, VARIANT key, Ptr<_clsCommandParam>& out) {
    return SUCCEEDED(p->get_Item(&key, out.put())) && out;
}
bool item(_CommandParams* p, long position, Ptr<_clsCommandParam>& out) {
    VARIANT k;
    VariantInit(&k);
    k.vt = VT_I4;
    k.lVal = position;
    return item(p, k, out);
}

std::wstring paramName(IUnknown* u) {
    Ptr<_clsCommandParam> param;
    Bstr name;
    if (!u || FAILED(u->QueryInterface(IID__clsCommandParam, param.putVoid())) ||
        FAILED(param->get_ParamName(&name.b)))
        return L"<none>";
    return name.text();
}

void createPhase(int n) {
    for (const Creatable& c : kClasses) {
        phase(std::string("CoCreateInstance ") + c.name, n, [&](int) {
            Ptr<IDispatch> d;
            return SUCCEEDED(create(*c.clsid, IID_IDispatch, d)) && touch(d.get());
        });
        Ptr<IClassFactory> factory;
        HRESULT hr = CoGetClassObject(*c.clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                      factory.putVoid());
        check(std::string("class factory of ") + c.name, SUCCEEDED(hr));
        if (FAILED(hr)) continue;
        phase(std::string("IClassFactory ") + c.name, n, [&](int) {
            Ptr<IDispatch> d;
            return SUCCEEDED(factory->CreateInstance(nullptr, IID_IDispatch, d.putVoid())) &&
                   touch(d.get());
        });
    }
    Ptr<IDispatch> direct;
    check("clsCommandParam is not creatable",
          create(CLSID_clsCommandParam, IID_IDispatch, direct) == CLASS_E_CLASSNOTAVAILABLE);
    phase("clsCommandParam through its parent", n, [&](int) {
        Ptr<_CommandParams> p;
        Ptr<_clsCommandParam> param;
        if (!commandParams(p, L"/a 1") || !item(p.get(), 1, param)) return false;
        p.reset();
        Bstr value;
        return SUCCEEDED(param->get_ParamValue(&value.b)) && value.text() == L"1";
    });
}

// Items, enumerators and array elements outlive the objects that handed them out.
void itemsPhase(int n) {
    TextBox foreign;
    phase("items past their parent", n, [&](int) {
        Ptr<_CommandParams> p;
        Ptr<_clsCommandParam> a, b;
        Ptr<IUnknown> unknown;
        Ptr<IEnumVARIANT> e;
        Var key;
        key.v.vt = VT_BSTR;
        key.v.bstrVal = SysAllocString(L"B");
        if (!commandParams(p, L"/a 1 /b 2 /c 3") || !item(p.get(), 1, a) ||
            !item(p.get(), key.v, b) || FAILED(p->get_NewEnum(unknown.put())) ||
            FAILED(unknown->QueryInterface(IID_IEnumVARIANT, e.putVoid())))
            return false;
        unknown.reset();

        Ptr<_ArrayCollectionHelper> h;
        if (FAILED(create(CLSID_ArrayCollectionHelper, IID__ArrayCollectionHelper, h)))
            return false;
        short position = -1;
        VARIANT noKey;
        Var::missing(noKey);
        Var elements[3];
        elements[0].v.vt = VT_DISPATCH;
        elements[0].v.pdispVal = a.get();
        a->AddRef();
        elements[1].v.vt = VT_DISPATCH;
        elements[1].v.pdispVal = &foreign;
        foreign.AddRef();
        elements[2].v.vt = VT_BSTR;
        elements[2].v.bstrVal = SysAllocString(L"s");
        for (Var& el : elements)
            if (FAILED(h->Add(&el.v, &noKey, &position))) return false;
        Var array;
        if (FAILED(h->get_ClientArray(&array.v)) || array.v.vt != (VT_ARRAY | VT_VARIANT))
            return false;
        for (Var& el : elements) VariantClear(&el.v);
        p.reset();
        h.reset();

        Bstr value, renamed(L"renamed"), name;
        if (FAILED(a->get_ParamValue(&value.b)) || value.text() != L"1" ||
            FAILED(b->put_ParamName(renamed.b)) || FAILED(b->get_ParamName(&name.b)) ||
            name.text() != L"renamed")
            return false;
        VARIANT got[3];
        ULONG fetched = 0;
        bool ok = e->Next(3, got, &fetched) == S_OK && fetched == 3;
        for (ULONG i = 0; i < fetched; ++i) {
            ok = ok && got[i].vt == VT_DISPATCH;
            if (ok && i == 0) ok = paramName(got[i].pdispVal) == L"a";
            VariantClear(&got[i]);
        }
        VARIANT extra;
        VariantInit(&extra);
        Ptr<IEnumVARIANT> clone;
        ok = ok && e->Next(1, &extra, &fetched) == S_FALSE && fetched == 0 && e->Reset() == S_OK &&
             e->Skip(2) == S_OK && SUCCEEDED(e->Clone(clone.put())) && clone &&
             clone->Next(1, &extra, nullptr) == S_OK;
        if (ok) ok = extra.vt == VT_DISPATCH && paramName(extra.pdispVal) == L"c";
        VariantClear(&extra);

        LONG index = 0;
        VARIANT first;
        VariantInit(&first);
        ok = ok && SUCCEEDED(SafeArrayGetElement(array.v.parray, &index, &first)) &&
             first.vt == VT_DISPATCH && paramName(first.pdispVal) == L"a";
        VariantClear(&first);
        return ok;
    });
    check("a foreign element is released with the array and the helper", foreign.refs == 1,
          "references left: " + std::to_string(foreign.refs - 1));
}

// The collection grows while an enumerator walks it: no crash, every item it yields is whole,
// and a new enumerator sees everything in order.
void enumeratePhase(int n) {
    phase("enumerate while adding", n, [&](int) {
        Ptr<_CommandParams> p;
        Ptr<IUnknown> unknown;
        Ptr<IEnumVARIANT> e;
        if (!commandParams(p, L"/a 1") || FAILED(p->get_NewEnum(unknown.put())) ||
            FAILED(unknown->QueryInterface(IID_IEnumVARIANT, e.putVoid())))
            return false;
        VARIANT v;
        VariantInit(&v);
        int yielded = 0;
        bool ok = true;
        for (int k = 0; k < 10 && ok; ++k) {
            if (e->Next(1, &v, nullptr) == S_OK) {
                ++yielded;
                ok = v.vt == VT_DISPATCH && paramName(v.pdispVal) != L"<none>";
                VariantClear(&v);
            }
            wchar_t line[32];
            std::swprintf(line, 32, L"/k%d %d", k, k);
            Bstr text(line);
            ok = ok && SUCCEEDED(p->put_CommandLine(&text.b)) && SUCCEEDED(p->ParseCommandLine());
        }
        while (ok && e->Next(1, &v, nullptr) == S_OK) {
            ++yielded;
            ok = v.vt == VT_DISPATCH && paramName(v.pdispVal) != L"<none>";
            VariantClear(&v);
        }
        long count = 0;
        ok = ok && yielded >= 1 && yielded <= 11 && SUCCEEDED(p->get_Count(&count)) && count == 11;
        if (!ok) return false;
        Ptr<IEnumVARIANT> fresh;
        if (FAILED(p->get_NewEnum(unknown.put())) ||
            FAILED(unknown->QueryInterface(IID_IEnumVARIANT, fresh.putVoid())))
            return false;
        p.reset();  // the enumerator keeps what it walks
        VARIANT all[12];
        ULONG fetched = 0;
        ok = fresh->Next(12, all, &fetched) == S_FALSE && fetched == 11;
        for (ULONG i = 0; i < fetched; ++i) {
            if (ok && i == 0) ok = paramName(all[i].pdispVal) == L"a";
            if (ok && i == 10) ok = paramName(all[i].pdispVal) == L"k9";
            VariantClear(&all[i]);
        }
        return ok;
    });
}

// --- members, late-bound, with raised errors ----------------------------------------------------

// One argument as a script passes it: a variable, by reference.
struct Arg {
    enum Kind { Text, Number, Array } kind;
    std::wstring text;
    long number = 0;
};
Arg text(const wchar_t* s) {
    return {Arg::Text, s};
}
Arg text(const std::wstring& s) {
    return {Arg::Text, s};
}
Arg number(long n) {
    return {Arg::Number, L"", n};
}
Arg emptyArray() {
    return {Arg::Array, L"", 0};
}

void setArg(const Arg& a, VARIANT& v) {
    VariantInit(&v);
    if (a.kind == Arg::Text) {
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocStringLen(a.text.data(), static_cast<UINT>(a.text.size()));
    } else if (a.kind == Arg::Number) {
        v.vt = VT_I4;
        v.lVal = a.number;
    }
}

struct LateCall {
    const CLSID* clsid;
    const wchar_t* member;
    WORD flags;
    std::vector<Arg> args;
    long error;  // 0: the call succeeds; otherwise the runtime error it raises
};

// Calls a member by name through IDispatch as a script does; the error's texts are freed here.
bool lateCall(IDispatch* d, const LateCall& c) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(c.member);
    if (FAILED(d->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return false;
    std::vector<VARIANT> values(c.args.size()), refs(c.args.size());
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        setArg(c.args[i], values[i]);
        VARIANT& ref = refs[c.args.size() - 1 - i];
        VariantInit(&ref);
        ref.vt = VT_BYREF | VT_VARIANT;
        ref.pvarVal = &values[i];
    }
    DISPPARAMS params{refs.data(), nullptr, static_cast<UINT>(refs.size()), 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr =
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, c.flags, &params, &result, &info, &argErr);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    VariantClear(&result);
    for (VARIANT& v : values) VariantClear(&v);
    if (c.error == 0) return hr == S_OK;
    return hr == DISP_E_EXCEPTION && static_cast<unsigned long>(info.scode) ==
                                         (0x800A0000UL | static_cast<unsigned long>(c.error));
}

// Members of every class that touch no file and no key of their own, each one that can fail
// also made to fail: results, written-back arguments and raised errors all go through the
// dispatch layer's conversions.
void membersPhase(int n, const std::wstring& dir) {
    constexpr WORD method = DISPATCH_METHOD, get = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
    const std::wstring longText(40000, L'a');
    const std::vector<LateCall> calls = {
        {&CLSID_TextHelper, L"ReplaceText", method, {text(L"a b c "), text(L"b"), text(L"x")}, 0},
        {&CLSID_TextHelper, L"RemoveExtraSpaces", method, {text(L" a   b ")}, 0},
        {&CLSID_TextHelper, L"BooleanSearch", method, {text(L"red OR blue"), text(L"F")}, 0},
        {&CLSID_TextHelper, L"CharacterCount", method, {text(longText), text(L"a")}, 6},
        {&CLSID_TextHelper, L"NullToZ", method, {emptyArray(), number(0)}, 0},
        {&CLSID_SQLRoutines,
         L"SQLParse",
         method,
         {text(L"SELECT a FROM t WHERE x = 1 ORDER BY a UNION SELECT b FROM u")},
         0},
        {&CLSID_SQLRoutines, L"SQLAppend", method, {}, 0},
        {&CLSID_SQLRoutines, L"SQLParse", method, {text(L"")}, 32000},
        {&CLSID_CommandParams, L"Item", get, {text(L"missing")}, 5},
        {&CLSID_CommandParams, L"Item", get, {number(7)}, 9},
        {&CLSID_ArrayHelper, L"ListToArray", method, {emptyArray(), text(L"a,b,c"), text(L",")}, 0},
        {&CLSID_ArrayCollectionHelper, L"Count", get, {}, 91},
        {&CLSID_ArrayCollectionHelper, L"Remove", method, {number(1)}, 91},
        {&CLSID_DateHelper, L"FullDateTime", method, {text(L"not a date")}, 0},
        {&CLSID_VBObjectHelper, L"fnRowsReturned", method, {number(3)}, 0},
        {&CLSID_Win32API, L"GetFolderTemp", method, {}, 0},
        {&CLSID_Win32API, L"GetMachineName", method, {}, 0},
        {&CLSID_Win32API, L"GetCurrentWindowsUser", method, {}, 0},
        {&CLSID_Win32API, L"GetDriveType", method, {text(L"C")}, 0},
        {&CLSID_OS32Helper, L"FileNameNoPath", method, {text(L"C:\\a\\b.txt")}, 0},
        {&CLSID_OS32Helper, L"IsValidFolder", method, {text(dir)}, 0},
        {&CLSID_CDialog, L"SelectedFile", get, {number(3)}, 0},
        {&CLSID_CDialog, L"FileNameDefaultFilter", get, {}, 5},
    };
    // One object of each class for the whole phase: what a call leaves behind piles up.
    std::vector<Ptr<IDispatch>> objects(calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (FAILED(create(*calls[i].clsid, IID_IDispatch, objects[i]))) {
            check("objects for the late-bound calls", false);
            return;
        }
    std::vector<int> failures(calls.size());
    phase("members late-bound, errors raised", n, [&](int) {
        bool ok = true;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (!lateCall(objects[i].get(), calls[i])) {
                ++failures[i];
                ok = false;
            }
        return ok;
    });
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (failures[i]) {
            std::string member(calls[i].member, calls[i].member + std::wcslen(calls[i].member));
            check("late-bound " + member, false, std::to_string(failures[i]) + " rounds failed");
        }

    // The same errors early-bound leave error information behind for the caller to take.
    Ptr<_CommandParams> p;
    check("a CommandParams", SUCCEEDED(create(CLSID_CommandParams, IID__CommandParams, p)));
    if (!p) return;
    phase("errors early-bound, error information taken", n, [&](int) {
        Var key;
        key.v.vt = VT_BSTR;
        key.v.bstrVal = SysAllocString(L"missing");
        Ptr<_clsCommandParam> none;
        Ptr<IErrorInfo> info;
        Bstr description;
        return p->get_Item(&key.v, none.put()) == static_cast<HRESULT>(0x800A0005) &&
               GetErrorInfo(0, info.put()) == S_OK && info &&
               SUCCEEDED(info->GetDescription(&description.b)) && !description.text().empty();
    });
}

// --- registry ---------------------------------------------------------------------------------

constexpr wchar_t kTestsKey[] = L"Software\\BrevantoTests";
constexpr wchar_t kStressKey[] = L"Software\\BrevantoTests\\stress";
constexpr wchar_t kStressSubKey[] = L"Software\\BrevantoTests\\stress\\sub1";
constexpr int kTextValues = 10;

bool setValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

// Text values first (their names sort first), then one of each other type, and three sub-keys.
bool fillStressKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStressKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (int i = 1; i <= kTextValues; ++i) {
        wchar_t name[16], data[16];
        std::swprintf(name, 16, L"a%02d", i);
        std::swprintf(data, 16, L"text %d", i);
        ok = ok && setValue(key, name, REG_SZ, data,
                            static_cast<DWORD>((std::wcslen(data) + 1) * sizeof(wchar_t)));
    }
    const DWORD number = 42;
    const BYTE bytes[] = {1, 2, 3, 4};
    const wchar_t multi[] = L"one\0two\0";
    const wchar_t expand[] = L"%TEMP%\\x";
    ok = ok && setValue(key, L"b01", REG_DWORD, &number, sizeof number) &&
         setValue(key, L"b02", REG_BINARY, bytes, sizeof bytes) &&
         setValue(key, L"b03", REG_MULTI_SZ, multi, sizeof multi) &&
         setValue(key, L"b04", REG_EXPAND_SZ, expand, sizeof expand);
    RegCloseKey(key);
    for (const wchar_t* sub : {L"sub1", L"sub2", L"sub3"}) {
        std::wstring path = std::wstring(kStressKey) + L"\\" + sub;
        HKEY child = nullptr;
        ok = ok && RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                   nullptr, &child, nullptr) == ERROR_SUCCESS;
        if (child) {
            ok = ok && setValue(child, L"a01", REG_SZ, L"x", 2 * sizeof(wchar_t));
            RegCloseKey(child);
        }
    }
    return ok;
}

// Removes the stress key, and its parent when nothing else is left in it.
void removeStressKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStressKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kStressKey);
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestsKey, 0, KEY_READ, &parent) != ERROR_SUCCESS) return;
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(parent);
    if (subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_CURRENT_USER, kTestsKey);
}

// A key object of either class opened on `path`: both interfaces share these members' names.
template <typename Key>
bool openKey(Key* k, const wchar_t* path) {
    Bstr text(path);
    return SUCCEEDED(k->put_Root(HkeyCurrentUser)) && SUCCEEDED(k->put_key(text.b));
}

template <typename Key>
bool textValue(Key* k, const wchar_t* name, const wchar_t* expected) {
    Var request;
    request.v.vt = VT_BSTR;
    request.v.bstrVal = SysAllocString(name);
    Bstr value;
    return SUCCEEDED(k->GetValue(request.v, &value.b)) && value.text() == expected;
}

void registryPhase(int n) {
    removeStressKey();
    check("the stress key is filled", fillStressKey());
    phase("CRegistryBasic loads", n, [&](int) {
        Ptr<_CRegistryBasic> k;
        short values = 0, subkeys = 0, index = 0;
        Bstr sub;
        return SUCCEEDED(create(CLSID_CRegistryBasic, IID__CRegistryBasic, k)) &&
               openKey(k.get(), kStressKey) && SUCCEEDED(k->get_ValueCount(&values)) &&
               values == kTextValues && textValue(k.get(), L"A03", L"text 3") &&
               SUCCEEDED(k->get_SubKeyCount(&subkeys)) && subkeys == 3 &&
               SUCCEEDED(k->GetSubKey(&index, &sub.b)) && sub.text() == L"sub1";
    });
    phase("CRegistryAdvanced loads", n, [&](int) {
        Ptr<_CRegistryAdvanced> k;
        short values = 0;
        return SUCCEEDED(create(CLSID_CRegistryAdvanced, IID__CRegistryAdvanced, k)) &&
               openKey(k.get(), kStressKey) && SUCCEEDED(k->get_ValueCount(&values)) &&
               values > kTextValues && textValue(k.get(), L"a03", L"text 3");
    });
    // One object moving between two keys: each load lets go of the key before.
    Ptr<_CRegistryBasic> basic;
    Ptr<_CRegistryAdvanced> advanced;
    if (SUCCEEDED(create(CLSID_CRegistryBasic, IID__CRegistryBasic, basic)) &&
        SUCCEEDED(create(CLSID_CRegistryAdvanced, IID__CRegistryAdvanced, advanced))) {
        phase("one CRegistryBasic reloaded", n, [&](int i) {
            short values = 0;
            return openKey(basic.get(), i % 2 ? kStressSubKey : kStressKey) &&
                   SUCCEEDED(basic->get_ValueCount(&values)) && values == (i % 2 ? 1 : kTextValues);
        });
        phase("one CRegistryAdvanced reloaded", n, [&](int i) {
            return openKey(advanced.get(), i % 2 ? kStressSubKey : kStressKey) &&
                   textValue(advanced.get(), L"a01", i % 2 ? L"x" : L"text 1");
        });
    } else {
        check("registry key objects", false);
    }
    basic.reset();
    advanced.reset();
    removeStressKey();
    HKEY gone = nullptr;
    check("the stress key is removed",
          RegOpenKeyExW(HKEY_CURRENT_USER, kStressKey, 0, KEY_READ, &gone) == ERROR_FILE_NOT_FOUND);
}

// --- files ------------------------------------------------------------------------------------

// Nothing holds the file: it opens with no sharing at all.
bool notHeld(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

bool writeFile(const std::wstring& path, const char* text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(h);
    return ok;
}

void filesPhase(int n, const std::wstring& dir) {
    const std::wstring existing = dir + L"\\probe.txt", missing = dir + L"\\missing.txt";
    check("the probe file is written", writeFile(existing, "probe"));
    Ptr<_OS32Helper> os;
    if (FAILED(create(CLSID_OS32Helper, IID__OS32Helper, os))) {
        check("OS32Helper", false);
        return;
    }
    phase("IsValidFilePath", n, [&](int) {
        Bstr there(existing.c_str()), absent(missing.c_str());
        VARIANT_BOOL yes = VARIANT_FALSE, no = VARIANT_TRUE;
        return SUCCEEDED(os->IsValidFilePath(&there.b, &yes)) && yes == VARIANT_TRUE &&
               SUCCEEDED(os->IsValidFilePath(&absent.b, &no)) && no == VARIANT_FALSE;
    });
    check("no file number holds the probed file", notHeld(existing));
}

// --- dialogs ----------------------------------------------------------------------------------

void dialogsPhase(int n, const std::wstring& dir) {
    Ptr<_CDialog> d;
    if (FAILED(create(CLSID_CDialog, IID__CDialog, d))) {
        check("CDialog", false);
        return;
    }
    Bstr title(L"Brevanto stress"), folder(dir.c_str());
    d->put_DialogTitle(title.b);
    d->put_InitDir(folder.b);
    const int warm = 1;
    int failedAt = -1;
    auto cancelled = [&](int i) {
        VARIANT_BOOL shown = VARIANT_TRUE;
        IDispatch* none = nullptr;
        const bool ok =
            SUCCEEDED(i % 2 ? d->ShowSave(&none, &shown) : d->ShowOpen(&none, &shown)) &&
            shown == VARIANT_FALSE;
        if (!ok && failedAt < 0) failedAt = i;
    };
    for (int i = 0; i < warm; ++i) cancelled(i);
    const Usage before = measure();
    for (int i = 0; i < n; ++i) cancelled(i);
    const Usage after = measure();
    check("cancelled dialogs: every round", failedAt < 0,
          "first failure in round " + std::to_string(failedAt));
    figures("dialogs shown and cancelled", n, before, after);

    // File numbers: a save and an open chosen once, then the transfer repeated on the same
    // object far past the 255 numbers of its table; one number left open per call would end in
    // error 67 (too many files).
    TextBox box;
    box.text = L"stress text";
    Bstr saveTitle(L"Brevanto stress save"), openTitle(L"Brevanto stress open");
    VARIANT_BOOL shown = VARIANT_FALSE;
    IDispatch* target = &box;
    d->put_DialogTitle(saveTitle.b);
    check("the save dialog chooses a file", SUCCEEDED(d->ShowSave(&target, &shown)) && shown);
    const std::wstring path = dir + L"\\stress.txt";
    int saved = 0, loaded = 0;
    for (int i = 0; i < 300; ++i) saved += SUCCEEDED(d->SaveFrom(&target));
    check("SaveFrom 300 times on one object", saved == 300, std::to_string(saved) + " succeeded");
    check("no file number holds the saved file", notHeld(path));
    d->put_DialogTitle(openTitle.b);
    box.text.clear();
    check("the open dialog chooses the file", SUCCEEDED(d->ShowOpen(&target, &shown)) && shown);
    for (int i = 0; i < 300; ++i) loaded += SUCCEEDED(d->LoadInto(&target));
    check("LoadInto 300 times on one object", loaded == 300, std::to_string(loaded) + " succeeded");
    check("the text comes back", box.text == L"stress text");
    check("no file number holds the loaded file", notHeld(path));
    d.reset();
    check("the dialog lets go of its target", box.refs == 1);
}

// --- unloading --------------------------------------------------------------------------------

void unloadPhase(HMODULE dll) {
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    check("DllCanUnloadNow is exported", canUnload != nullptr);
    if (!canUnload) return;
    check("DllCanUnloadNow with nothing held", canUnload() == S_OK);

    // Whatever a member handed out keeps the server loaded on its own.
    Ptr<_CommandParams> p;
    Ptr<_clsCommandParam> param;
    Ptr<IUnknown> enumerator;
    check("a parsed CommandParams", commandParams(p, L"/a 1") && item(p.get(), 1, param) &&
                                        SUCCEEDED(p->get_NewEnum(enumerator.put())));
    p.reset();
    check("an item held keeps the server", canUnload() == S_FALSE);
    param.reset();
    check("an enumerator held keeps the server", canUnload() == S_FALSE);
    enumerator.reset();
    check("DllCanUnloadNow after the last item", canUnload() == S_OK);

    Ptr<IClassFactory> factory;
    if (SUCCEEDED(CoGetClassObject(CLSID_TextHelper, CLSCTX_INPROC_SERVER, nullptr,
                                   IID_IClassFactory, factory.putVoid()))) {
        factory->LockServer(TRUE);
        factory.reset();
        check("a factory lock keeps the server", canUnload() == S_FALSE);
        CoGetClassObject(CLSID_TextHelper, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                         factory.putVoid());
        if (factory) factory->LockServer(FALSE);
        factory.reset();
    }
    check("DllCanUnloadNow at the end", canUnload() == S_OK);
}

bool wanted(const std::vector<std::wstring>& phases, const wchar_t* name) {
    if (phases.empty()) return std::wcscmp(name, L"dialogs") != 0;
    return std::find(phases.begin(), phases.end(), name) != phases.end();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::printf("usage: stress <Brevanto.dll> <scale> <scratch folder> [phase...]\n");
        return 2;
    }
    const std::wstring dir = argv[3];
    const int scale = std::max(10, _wtoi(argv[2]));
    const int tenth = std::max(1, scale / 10);
    // A scratch folder given as a full path (drive, colon, separator, and a name below it).
    if (dir.size() < 4 || dir[1] != L':' || dir[2] != L'\\') {
        std::printf("the scratch folder must be a full path\n");
        return 2;
    }
    std::vector<std::wstring> phases(argv + 4, argv + argc);
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (FAILED(CoInitialize(nullptr))) return 1;
    probe();
    // Loaded by the first creation; measured from then on.
    {
        Ptr<IDispatch> first;
        check("the first object", SUCCEEDED(create(CLSID_TextHelper, IID_IDispatch, first)));
    }
    HMODULE dll = GetModuleHandleW(argv[1]);
    check("the DLL is the one named", dll != nullptr);
    if (wanted(phases, L"create")) createPhase(scale);
    if (wanted(phases, L"items")) itemsPhase(tenth);
    if (wanted(phases, L"enumerate")) enumeratePhase(tenth);
    if (wanted(phases, L"members")) membersPhase(tenth, dir);
    if (wanted(phases, L"registry")) registryPhase(tenth);
    if (wanted(phases, L"files")) filesPhase(tenth, dir);
    if (wanted(phases, L"dialogs")) dialogsPhase(std::clamp(scale / 1000, 5, 100), dir);
    if (dll && (phases.empty() || wanted(phases, L"unload"))) unloadPhase(dll);
    CoUninitialize();
    std::printf("%d passed, %d failed\n", gPassed, gFailed);
    return gFailed == 0 ? 0 : 1;
}

// An early-bound client: calls TextHelper through its vtable, reads IErrorInfo after asking
// ISupportErrorInfo, checks the class factory, DllCanUnloadNow, and drives IDispatch::Invoke
// by hand for what script clients cannot send (named arguments, typed references, bad ids).
// Usage: early_bound <path of Brevanto.dll>. Prints "N passed, N failed".
// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "brevanto.h"
#include "client_support.h"

namespace {

int gPassed = 0, gFailed = 0;

void check(const char* name, bool ok, const std::wstring& detail = L"") {
    if (ok) {
        ++gPassed;
    } else {
        ++gFailed;
        std::printf("FAIL %s %ls\n", name, detail.c_str());
    }
}

std::wstring text(BSTR b) {
    return b ? std::wstring(b, SysStringLen(b)) : L"<null>";
}

void checkText(const char* name, BSTR actual, const wchar_t* expected) {
    check(name, text(actual) == expected, L"got \"" + text(actual) + L"\"");
}

void checkHr(const char* name, HRESULT actual, HRESULT expected) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"hr 0x%08lx, expected 0x%08lx", static_cast<unsigned long>(actual),
                  static_cast<unsigned long>(expected));
    check(name, actual == expected, buf);
}

void vtableCalls(_TextHelper* t) {
    Bstr search(L"red AND blue"), field(L"Colour"), wild(L"*"), result;
    kupEnumWildCardPosition pos = kupWildCardAfter;
    checkHr("BooleanSearch hr", t->BooleanSearch(&search.b, &field.b, &pos, &wild.b, &result.b),
            S_OK);
    checkText("BooleanSearch result", result.b,
              L"WHERE Colour Like 'red*' AND Colour Like 'blue*'");
    check("by-reference argument not written", text(search.b) == L"red AND blue");

    Bstr nullSearch, nullField, nullWild, r2;
    pos = kupWildCardNone;
    checkHr("null BSTRs hr",
            t->BooleanSearch(&nullSearch.b, &nullField.b, &pos, &nullWild.b, &r2.b), S_OK);
    check("null BSTRs read as empty", r2.b != nullptr);

    checkHr("null result pointer", t->BooleanSearch(&search.b, &field.b, &pos, &wild.b, nullptr),
            E_POINTER);
    BSTR unused = nullptr;
    checkHr("null in-out pointer", t->BooleanSearch(nullptr, &field.b, &pos, &wild.b, &unused),
            E_POINTER);
    check("no result after a failure", unused == nullptr);
}

// A phrase whose separator stands beyond an Integer position: the core raises 6.
std::wstring overflowPhrase() {
    return std::wstring(32770, L'a') + L" AND b";
}

void errorInfo(_TextHelper* t) {
    Bstr phrase(overflowPhrase().c_str()), field(L"F"), wild(L"%"), out;
    kupEnumWildCardPosition pos = kupWildCardBeforeAndAfter;
    HRESULT hr = t->BooleanSearch(&phrase.b, &field.b, &pos, &wild.b, &out.b);
    checkHr("core error hr", hr, static_cast<HRESULT>(0x800A0006));
    ISupportErrorInfo* support = nullptr;
    checkHr("ISupportErrorInfo",
            t->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)), S_OK);
    if (!support) return;
    checkHr("supports _TextHelper", support->InterfaceSupportsErrorInfo(IID__TextHelper), S_OK);
    checkHr("not other interfaces", support->InterfaceSupportsErrorInfo(IID__SQLRoutines), S_FALSE);
    support->Release();
    IErrorInfo* info = nullptr;
    checkHr("GetErrorInfo", GetErrorInfo(0, &info), S_OK);
    if (!info) return;
    Bstr source, description;
    GUID guid{};
    info->GetSource(&source.b);
    info->GetDescription(&description.b);
    info->GetGUID(&guid);
    checkText("error source", source.b, L"Brevanto.TextHelper");
    checkText("error description", description.b, L"Overflow");
    check("error GUID", IsEqualGUID(guid, IID__TextHelper));
    info->Release();
}

// NullToZ hands back its first argument unchanged: a round trip through the value conversions.
struct RoundTrip {
    _TextHelper* t;
    VARIANT out{};
    HRESULT operator()(VARIANT& in) {
        VariantClear(&out);
        VARIANT fallback{};
        return t->NullToZ(&in, &fallback, &out);
    }
    ~RoundTrip() { VariantClear(&out); }
};

SAFEARRAY* makeArray(VARTYPE vt, std::initializer_list<SAFEARRAYBOUND> bounds) {
    std::vector<SAFEARRAYBOUND> b(bounds);
    return SafeArrayCreate(vt, static_cast<UINT>(b.size()), b.data());
}

void values(_TextHelper* t) {
    RoundTrip trip{t};
    // Two dimensions with odd lower bounds; SAFEARRAYBOUND lists the first dimension first.
    VARIANT in{};
    in.vt = VT_ARRAY | VT_VARIANT;
    in.parray = makeArray(VT_VARIANT, {{2, 5}, {3, -2}});
    LONG idx[2] = {6, 0};
    VARIANT el{};
    el.vt = VT_I4;
    el.lVal = 77;
    SafeArrayPutElement(in.parray, idx, &el);
    checkHr("two-dimensional array", trip(in), S_OK);
    LONG lo1 = 0, lo2 = 0, hi2 = 0;
    VARIANT got{};
    if (trip.out.vt == (VT_ARRAY | VT_VARIANT) && SafeArrayGetDim(trip.out.parray) == 2) {
        SafeArrayGetLBound(trip.out.parray, 1, &lo1);
        SafeArrayGetLBound(trip.out.parray, 2, &lo2);
        SafeArrayGetUBound(trip.out.parray, 2, &hi2);
        SafeArrayGetElement(trip.out.parray, idx, &got);
    }
    check("bounds kept", lo1 == 5 && lo2 == -2 && hi2 == 0);
    check("element kept", got.vt == VT_I4 && got.lVal == 77);
    VariantClear(&got);
    VariantClear(&in);

    in.vt = VT_ARRAY | VT_BSTR;
    in.parray = makeArray(VT_BSTR, {{0, 1}});
    checkHr("empty array of String", trip(in), S_OK);
    check("empty array kept", trip.out.vt == (VT_ARRAY | VT_BSTR) && trip.out.parray &&
                                  SafeArrayGetDim(trip.out.parray) == 1 &&
                                  trip.out.parray->rgsabound[0].cElements == 0);
    VariantClear(&in);

    in.vt = VT_ARRAY | VT_VARIANT;
    in.parray = nullptr;
    checkHr("array never dimensioned", trip(in), S_OK);
    check("still not dimensioned", trip.out.vt == (VT_ARRAY | VT_VARIANT) && !trip.out.parray);

    in.vt = VT_BSTR;
    in.bstrVal = nullptr;
    checkHr("null BSTR in a variant", trip(in), S_OK);
    check("reads as an empty string",
          trip.out.vt == VT_BSTR && SysStringLen(trip.out.bstrVal) == 0);

    in.vt = VT_DISPATCH;
    in.pdispVal = nullptr;
    checkHr("Nothing", trip(in), S_OK);
    check("Nothing kept", trip.out.vt == VT_DISPATCH && !trip.out.pdispVal);

    in.vt = VT_DISPATCH;
    in.pdispVal = t;
    checkHr("the library's own object", trip(in), S_OK);
    check("same interface pointer back", trip.out.vt == VT_DISPATCH && trip.out.pdispVal == t);
}

HRESULT callInvoke(IDispatch* d, DISPID id, WORD flags, VARIANTARG* args, UINT count, DISPID* named,
                   UINT namedCount, VARIANT* result, EXCEPINFO* ei = nullptr) {
    DISPPARAMS dp{args, named, count, namedCount};
    UINT argErr = 0;
    return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, ei, &argErr);
}

void lateBound(_TextHelper* t) {
    IDispatch* d = t;
    LPOLESTR names[3] = {const_cast<LPOLESTR>(L"booleansearch"),
                         const_cast<LPOLESTR>(L"WILDCARDCHARACTER"),
                         const_cast<LPOLESTR>(L"TableFieldName")};
    DISPID ids[3] = {};
    checkHr("GetIDsOfNames ignores case", d->GetIDsOfNames(IID_NULL, names, 3, 0, ids), S_OK);
    check("parameter ids", ids[1] == 3 && ids[2] == 1);
    LPOLESTR bad[1] = {const_cast<LPOLESTR>(L"NoSuchMember")};
    DISPID badId = 0;
    checkHr("unknown name", d->GetIDsOfNames(IID_NULL, bad, 1, 0, &badId), DISP_E_UNKNOWNNAME);
    check("unknown name id", badId == DISPID_UNKNOWN);

    // Named arguments in any order; the omitted position takes its declared default (4).
    VARIANT args[3];
    for (auto& a : args) VariantInit(&a);
    args[0].vt = VT_BSTR;  // named: TableFieldName
    args[0].bstrVal = SysAllocString(L"F");
    args[1].vt = VT_BSTR;  // named: WildCardCharacter
    args[1].bstrVal = SysAllocString(L"#");
    args[2].vt = VT_BSTR;  // positional: SearchText
    args[2].bstrVal = SysAllocString(L"x");
    DISPID named[2] = {1, 3};
    VARIANT r;
    VariantInit(&r);
    checkHr("named arguments", callInvoke(d, ids[0], DISPATCH_METHOD, args, 3, named, 2, &r), S_OK);
    check("named arguments result", r.vt == VT_BSTR && text(r.bstrVal) == L"F Like '#x#'",
          r.vt == VT_BSTR ? text(r.bstrVal) : L"type");
    VariantClear(&r);

    // A Long variable (VT_BYREF|VT_VARIANT) for the String parameter: coerced, and left as it
    // was because the member does not write it back.
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 42;
    VARIANT byref[2];
    byref[0].vt = VT_BSTR;
    byref[0].bstrVal = SysAllocString(L"F");
    byref[1].vt = VT_BYREF | VT_VARIANT;
    byref[1].pvarVal = &number;
    checkHr("typed reference from a variant",
            callInvoke(d, ids[0], DISPATCH_METHOD | DISPATCH_PROPERTYGET, byref, 2, nullptr, 0, &r),
            S_OK);
    check("coerced value used", r.vt == VT_BSTR && text(r.bstrVal) == L"F Like '%42%'",
          r.vt == VT_BSTR ? text(r.bstrVal) : L"type");
    check("caller's variant keeps its type", number.vt == VT_I4 && number.lVal == 42);
    VariantClear(&r);

    EXCEPINFO ei{};
    checkHr("too few arguments", callInvoke(d, ids[0], DISPATCH_METHOD, byref, 1, nullptr, 0, &r),
            DISP_E_PARAMNOTOPTIONAL);
    checkHr("unknown dispatch id", callInvoke(d, 999, DISPATCH_METHOD, nullptr, 0, nullptr, 0, &r),
            DISP_E_MEMBERNOTFOUND);

    VARIANT failing[2];
    failing[0].vt = VT_BSTR;
    failing[0].bstrVal = SysAllocString(L"F");
    failing[1].vt = VT_BSTR;
    failing[1].bstrVal = SysAllocString(overflowPhrase().c_str());
    checkHr("late-bound failure",
            callInvoke(d, ids[0], DISPATCH_METHOD, failing, 2, nullptr, 0, &r, &ei),
            DISP_E_EXCEPTION);
    check("EXCEPINFO scode", ei.scode == static_cast<SCODE>(0x800A0006));
    checkText("EXCEPINFO source", ei.bstrSource, L"Brevanto.TextHelper");
    checkText("EXCEPINFO description", ei.bstrDescription, L"Overflow");
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    checkHr("no EXCEPINFO pointer",
            callInvoke(d, ids[0], DISPATCH_METHOD, failing, 2, nullptr, 0, nullptr, nullptr),
            DISP_E_EXCEPTION);
    VariantClear(&failing[0]);
    VariantClear(&failing[1]);

    ITypeInfo* info = nullptr;
    checkHr("GetTypeInfo", d->GetTypeInfo(0, 0, &info), S_OK);
    if (info) {
        BSTR name = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        checkText("type info name", name, L"_TextHelper");
        SysFreeString(name);
        info->Release();
    }
    for (auto& a : args) VariantClear(&a);
    VariantClear(&byref[0]);
}

// A Variant parameter written back into a caller's typed String variable (VT_BYREF|VT_BSTR).
void typedWriteBack() {
    IDispatch* sql = nullptr;
    CoCreateInstance(CLSID_SQLRoutines, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&sql));
    check("SQLRoutines created", sql != nullptr);
    if (!sql) return;
    LPOLESTR name[1] = {const_cast<LPOLESTR>(L"SQLParse")};
    DISPID id = 0;
    sql->GetIDsOfNames(IID_NULL, name, 1, 0, &id);
    BSTR statement = SysAllocString(L"SELECT a\r\nFROM b");
    VARIANT arg{};
    arg.vt = VT_BYREF | VT_BSTR;
    arg.pbstrVal = &statement;
    VARIANT r{};
    checkHr("SQLParse late-bound", callInvoke(sql, id, DISPATCH_METHOD, &arg, 1, nullptr, 0, &r),
            S_OK);
    checkText("written back through the typed reference", statement, L"SELECT a FROM b");
    // VB passing its own ByRef Variant on: a variant reference to a typed reference.
    SysFreeString(statement);
    statement = SysAllocString(L"SELECT c\r\nFROM d");
    VARIANT outer{};
    outer.vt = VT_BYREF | VT_VARIANT;
    outer.pvarVal = &arg;
    VariantClear(&r);
    checkHr("through a chain of references",
            callInvoke(sql, id, DISPATCH_METHOD, &outer, 1, nullptr, 0, &r), S_OK);
    checkText("  written back at its end", statement, L"SELECT c FROM d");
    _SQLRoutines* early = nullptr;
    sql->QueryInterface(IID__SQLRoutines, reinterpret_cast<void**>(&early));
    if (early) {
        SysFreeString(statement);
        statement = SysAllocString(L"SELECT e\r\nFROM f");
        short parsed = 0;
        checkHr("the chain through the vtable", early->SQLParse(&outer, &parsed), S_OK);
        checkText("  written back at its end", statement, L"SELECT e FROM f");
        check("  references kept", outer.vt == (VT_BYREF | VT_VARIANT) &&
                                       arg.vt == (VT_BYREF | VT_BSTR) &&
                                       arg.pbstrVal == &statement);
        early->Release();
    }
    SysFreeString(statement);
    VariantClear(&r);
    sql->Release();

    // A write-back that the caller's Long cannot take is a type mismatch, not a silent success.
    IDispatch* ah = nullptr;
    CoCreateInstance(CLSID_ArrayHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&ah));
    if (!ah) return;
    LPOLESTR add[1] = {const_cast<LPOLESTR>(L"AddElementToArray")};
    ah->GetIDsOfNames(IID_NULL, add, 1, 0, &id);
    long number = 5;
    VARIANT args[2]{};
    args[0].vt = VT_BSTR;  // ElementToAdd
    args[0].bstrVal = SysAllocString(L"x");
    args[1].vt = VT_BYREF | VT_I4;  // MyArray
    args[1].plVal = &number;
    EXCEPINFO ei{};
    VariantClear(&r);
    HRESULT hr = callInvoke(ah, id, DISPATCH_METHOD, args, 2, nullptr, 0, &r, &ei);
    checkHr("array written back into a Long", hr, DISP_E_EXCEPTION);
    check("  type mismatch", ei.scode == static_cast<SCODE>(0x800A000D));
    checkText("  described", ei.bstrDescription, L"Type mismatch");
    check("  the Long keeps its value", number == 5);
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    VariantClear(&args[0]);
    ah->Release();
}

// Loads the DLL itself to watch DllCanUnloadNow around an object's life and a factory lock.
void unloading(const wchar_t* path) {
    HMODULE dll = LoadLibraryW(path);
    check("LoadLibrary", dll != nullptr);
    if (!dll) return;
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    check("entry points exported", getClassObject && canUnload);
    if (!getClassObject || !canUnload) return;
    checkHr("unloadable at first", canUnload(), S_OK);

    IClassFactory* factory = nullptr;
    checkHr("factory",
            getClassObject(CLSID_TextHelper, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK);
    void* none = reinterpret_cast<void*>(1);
    checkHr("not creatable class", getClassObject(CLSID_clsCommandParam, IID_IClassFactory, &none),
            CLASS_E_CLASSNOTAVAILABLE);
    check("not creatable: null out", none == nullptr);
    if (!factory) return;
    IDispatch* obj = nullptr;
    checkHr("CreateInstance",
            factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&obj)), S_OK);
    factory->LockServer(TRUE);
    factory->Release();
    checkHr("in use while an object lives", canUnload(), S_FALSE);
    if (obj) obj->Release();
    checkHr("in use while locked", canUnload(), S_FALSE);
    factory = nullptr;
    getClassObject(CLSID_TextHelper, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (factory) {
        factory->LockServer(FALSE);
        // An unlock too many is ignored: the next lock still holds the server.
        factory->LockServer(FALSE);
        factory->LockServer(TRUE);
        checkHr("in use while locked after an unlock too many", canUnload(), S_FALSE);
        factory->LockServer(FALSE);
        factory->Release();
    }
    checkHr("unloadable after release", canUnload(), S_OK);
    FreeLibrary(dll);
}

// ArrayHelper and CommandParams through their vtables: a typed String array passed by
// reference is shrunk and handed back as a String array, a grown array comes back even when
// the member fails, and an item read twice is the same interface pointer.
SAFEARRAY* stringArray(std::initializer_list<const wchar_t*> items) {
    SAFEARRAY* sa = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(items.size()));
    LONG i = 0;
    for (const wchar_t* item : items) {
        BSTR b = SysAllocString(item);
        SafeArrayPutElement(sa, &i, b);  // copies
        SysFreeString(b);
        ++i;
    }
    return sa;
}

std::wstring stringElements(SAFEARRAY* sa) {
    if (!sa) return L"<null>";
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(sa, &vt);
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(sa, 1, &lo);
    SafeArrayGetUBound(sa, 1, &hi);
    std::wstring out = vt == VT_BSTR ? L"" : L"<not BSTR>";
    out += std::to_wstring(lo) + L":";
    for (LONG i = lo; i <= hi; ++i) {
        BSTR b = nullptr;
        SafeArrayGetElement(sa, &i, &b);
        out += (i > lo ? L"," : L"") + text(b);
        SysFreeString(b);
    }
    return out;
}

// A client object whose default value is a text, or the object itself (a chain of defaults
// that never ends in a plain value).
class DefaultValue : public IDispatch {
  public:
    explicit DefaultValue(bool self) : self_(self) {}
    ULONG refs() const { return refs_; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (id != DISPID_VALUE || !result) return DISP_E_MEMBERNOTFOUND;
        if (self_) {
            result->vt = VT_DISPATCH;
            result->pdispVal = this;
            AddRef();
        } else {
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(L" a b ");
        }
        return S_OK;
    }

  private:
    bool self_;
    ULONG refs_ = 1;
};

// An object given for a text is read through its default value, one level deep as the runtime
// does: a default that is an object again is a type mismatch, never an endless chain.
void objectDefaults() {
    IDispatch *t = nullptr, *h = nullptr;
    CoCreateInstance(CLSID_TextHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&t));
    CoCreateInstance(CLSID_ArrayHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&h));
    check("TextHelper and ArrayHelper", t && h);
    if (!t || !h) return;
    DefaultValue plain(false), self(true);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"RemoveAllSpaces");
    t->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
    VARIANT arg, result;
    VariantInit(&result);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = &plain;
    checkHr("an object for a text",
            callInvoke(t, id, DISPATCH_METHOD, &arg, 1, nullptr, 0, &result), S_OK);
    check("  reads its default value", result.vt == VT_BSTR && text(result.bstrVal) == L"ab");
    VariantClear(&result);
    arg.pdispVal = &self;
    checkHr("an object that is its own default value",
            callInvoke(t, id, DISPATCH_METHOD, &arg, 1, nullptr, 0, &result), DISP_E_TYPEMISMATCH);

    // The same inside an array given for an array of texts.
    SAFEARRAY* objects = SafeArrayCreateVector(VT_DISPATCH, 0, 2);
    LONG i = 0;
    SafeArrayPutElement(objects, &i, static_cast<IDispatch*>(&self));
    name = const_cast<LPOLESTR>(L"RemoveStringArrayItem");
    h->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
    VARIANT args[2];
    args[0].vt = VT_I2;
    args[0].iVal = 0;
    args[1].vt = VT_BYREF | VT_ARRAY | VT_DISPATCH;
    args[1].pparray = &objects;
    EXCEPINFO ei{};
    checkHr("an array of such objects for an array of texts",
            callInvoke(h, id, DISPATCH_METHOD, args, 2, nullptr, 0, &result, &ei),
            DISP_E_EXCEPTION);
    check("  error 13", ei.scode == static_cast<SCODE>(0x800A000D), std::to_wstring(ei.scode));
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    SafeArrayDestroy(objects);
    t->Release();
    h->Release();
    check("no reference kept", self.refs() == 1 && plain.refs() == 1,
          std::to_wstring(self.refs()) + L" " + std::to_wstring(plain.refs()));
}

// A call refused while its arguments are prepared leaves nothing of its own to free (a failed
// conversion of an array once freed whatever the frame's slot held before), and names the
// argument it refused.
void refusedArguments() {
    IDispatch* h = nullptr;
    CoCreateInstance(CLSID_ArrayHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&h));
    check("ArrayHelper for refused arguments", h);
    if (!h) return;
    DISPID remove = 0, list = 0, removeAny = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"RemoveStringArrayItem");
    h->GetIDsOfNames(IID_NULL, &name, 1, 0, &remove);
    name = const_cast<LPOLESTR>(L"RemoveArrayItem");
    h->GetIDsOfNames(IID_NULL, &name, 1, 0, &removeAny);
    name = const_cast<LPOLESTR>(L"ListToArray");
    h->GetIDsOfNames(IID_NULL, &name, 1, 0, &list);
    for (int round = 0; round < 4; ++round) {
        // Texts and numbers convert to an array of texts; a Null among them cannot.
        const bool withNull = round % 2;
        SAFEARRAY* sa = SafeArrayCreateVector(VT_VARIANT, -32768, 3);
        VARIANT e[3];
        e[0].vt = VT_BSTR;
        e[0].bstrVal = SysAllocString(L"a");
        e[1].vt = VT_UI4;
        e[1].ulVal = 7;
        e[2].vt = withNull ? VT_NULL : VT_I2;
        e[2].iVal = 3;
        for (LONG i = 0; i < 3; ++i) {
            LONG at = -32768 + i;
            SafeArrayPutElement(sa, &at, &e[i]);
        }
        VariantClear(&e[0]);
        VARIANT holder, args[2], result;
        VariantInit(&result);
        holder.vt = VT_ARRAY | VT_VARIANT;
        holder.parray = sa;
        args[0].vt = VT_I2;
        args[0].iVal = -32768;
        args[1].vt = VT_BYREF | VT_VARIANT;
        args[1].pvarVal = &holder;
        DISPPARAMS dp{args, nullptr, 2, 0};
        EXCEPINFO ei{};
        UINT argErr = 99;
        // A call before it leaves a number where the frame keeps its first argument.
        LONGLONG number = 0x4141414141414141LL;
        args[1].vt = VT_BYREF | VT_I8;
        args[1].pllVal = &number;
        h->Invoke(removeAny, IID_NULL, 0, DISPATCH_METHOD, &dp, &result, nullptr, nullptr);
        args[1].vt = VT_BYREF | VT_VARIANT;
        args[1].pvarVal = &holder;
        const HRESULT hr =
            h->Invoke(remove, IID_NULL, 0, DISPATCH_METHOD, &dp, &result, &ei, &argErr);
        if (withNull) {
            checkHr("an array holding Null for an array of texts", hr, DISP_E_EXCEPTION);
            check("  error 94 on the array argument",
                  ei.scode == static_cast<SCODE>(0x800A005E) && argErr == 1,
                  std::to_wstring(ei.scode) + L" " + std::to_wstring(argErr));
        } else {
            checkHr("an array of texts and numbers for an array of texts", hr, S_OK);
        }
        SysFreeString(ei.bstrSource);
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrHelpFile);
        VariantClear(&holder);
        VariantClear(&result);
    }
    // A named argument for a position that a positional argument fills: that one is named.
    VARIANT args[3], result;
    VariantInit(&result);
    for (VARIANT& a : args) {
        a.vt = VT_BSTR;
        a.bstrVal = SysAllocString(L",");
    }
    DISPID named = 0;
    DISPPARAMS dp{args, &named, 3, 1};
    UINT argErr = 99;
    checkHr("a named position taken twice",
            h->Invoke(list, IID_NULL, 0, DISPATCH_METHOD, &dp, &result, nullptr, &argErr),
            DISP_E_PARAMNOTFOUND);
    check("  names the positional argument", argErr == 2, std::to_wstring(argErr));
    for (VARIANT& a : args) VariantClear(&a);
    h->Release();

    // References that lead nowhere are refused, not followed: a typed reference to nothing, and
    // a cycle of variant references.
    IDispatch* t = nullptr;
    CoCreateInstance(CLSID_TextHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&t));
    if (!t) return;
    DISPID spaces = 0, nullToZ = 0;
    name = const_cast<LPOLESTR>(L"RemoveAllSpaces");
    t->GetIDsOfNames(IID_NULL, &name, 1, 0, &spaces);
    name = const_cast<LPOLESTR>(L"NullToZ");
    t->GetIDsOfNames(IID_NULL, &name, 1, 0, &nullToZ);
    VARIANT nowhere, loop[2];
    nowhere.vt = VT_BYREF | VT_BSTR;
    nowhere.pbstrVal = nullptr;
    loop[0].vt = loop[1].vt = VT_BYREF | VT_VARIANT;
    loop[0].pvarVal = &loop[1];
    loop[1].pvarVal = &loop[0];
    for (VARIANT* arg : {&nowhere, &loop[0]}) {
        VARIANT pair[2] = {*arg, *arg};
        checkHr("a reference leading nowhere, for a String",
                callInvoke(t, spaces, DISPATCH_METHOD, arg, 1, nullptr, 0, &result), E_INVALIDARG);
        checkHr("  and for a Variant",
                callInvoke(t, nullToZ, DISPATCH_METHOD, pair, 2, nullptr, 0, &result),
                E_INVALIDARG);
    }
    t->Release();
}

void arrayAndCommandLineCalls() {
    _ArrayHelper* h = nullptr;
    checkHr("ArrayHelper",
            CoCreateInstance(CLSID_ArrayHelper, nullptr, CLSCTX_INPROC_SERVER, IID__ArrayHelper,
                             reinterpret_cast<void**>(&h)),
            S_OK);
    if (!h) return;
    SAFEARRAY* sa = stringArray({L"a", L"b", L"c"});
    VARIANT_BOOL removed = VARIANT_FALSE;
    checkHr("RemoveStringArrayItem hr", h->RemoveStringArrayItem(&sa, 1, &removed), S_OK);
    check("RemoveStringArrayItem result", removed == VARIANT_TRUE);
    check("String array written back", stringElements(sa) == L"0:a,c", stringElements(sa));
    SafeArrayDestroy(sa);

    sa = stringArray({L"only"});
    h->RemoveStringArrayItem(&sa, 0, &removed);
    check("one empty String left", stringElements(sa) == L"0:", stringElements(sa));
    check("  with one element", sa && sa->rgsabound[0].cElements == 1);
    SafeArrayDestroy(sa);
    sa = nullptr;  // an array that was never dimensioned
    checkHr("never dimensioned", h->RemoveStringArrayItem(&sa, 0, &removed), S_OK);
    check("  becomes one empty String", stringElements(sa) == L"0:", stringElements(sa));
    check("  and reports nothing removed", removed == VARIANT_FALSE);
    SafeArrayDestroy(sa);
    checkHr("null array pointer", h->RemoveStringArrayItem(nullptr, 0, &removed), E_POINTER);

    // An array its owner holds fixed or locked is not resized or swapped: error 10.
    sa = stringArray({L"a", L"b"});
    SAFEARRAY* const fixed = sa;
    sa->fFeatures |= FADF_FIXEDSIZE;
    checkHr("fixed array shrunk", h->RemoveStringArrayItem(&sa, 0, &removed),
            static_cast<HRESULT>(0x800A000A));
    check("  kept as it was", sa == fixed && stringElements(sa) == L"0:a,b", stringElements(sa));
    sa->fFeatures &= ~FADF_FIXEDSIZE;
    SafeArrayLock(sa);
    checkHr("locked array shrunk", h->RemoveStringArrayItem(&sa, 0, &removed),
            static_cast<HRESULT>(0x800A000A));
    check("  kept as it was", sa == fixed);
    SafeArrayUnlock(sa);
    SafeArrayDestroy(sa);

    VARIANT arr, elem;
    VariantInit(&arr);
    VariantInit(&elem);
    arr.vt = VT_ARRAY | VT_BSTR;
    arr.parray = stringArray({L"a"});
    elem.vt = VT_BSTR;
    elem.bstrVal = SysAllocString(L"x");
    VARIANT_BOOL unique = VARIANT_FALSE;
    kupEnumCompareMethod compare = kupCompareText;
    short position = 5;
    checkHr("AddElementToArray past the end",
            h->AddElementToArray(&arr, &elem, &unique, &compare, &position),
            static_cast<HRESULT>(0x800A0009));
    check("  grown array written back",
          arr.vt == (VT_ARRAY | VT_BSTR) && stringElements(arr.parray) == L"0:a,",
          arr.vt == (VT_ARRAY | VT_BSTR) ? stringElements(arr.parray) : L"type");
    VariantClear(&arr);
    VariantClear(&elem);
    h->Release();

    _CommandParams* cp = nullptr;
    checkHr("CommandParams",
            CoCreateInstance(CLSID_CommandParams, nullptr, CLSCTX_INPROC_SERVER, IID__CommandParams,
                             reinterpret_cast<void**>(&cp)),
            S_OK);
    if (!cp) return;
    Bstr line(L"/a 1 /b 2");
    cp->put_CommandLine(&line.b);
    checkHr("ParseCommandLine", cp->ParseCommandLine(), S_OK);
    VARIANT key;
    VariantInit(&key);
    key.vt = VT_BSTR;
    key.bstrVal = SysAllocString(L"B");
    _clsCommandParam *one = nullptr, *two = nullptr;
    cp->get_Item(&key, &one);
    cp->get_Item(&key, &two);
    check("an item keeps its identity", one && one == two);
    if (one) one->Release();
    if (two) two->Release();
    VariantClear(&key);
    IUnknown* unk = nullptr;
    checkHr("NewEnum", cp->get_NewEnum(&unk), S_OK);
    IEnumVARIANT* en = nullptr;
    if (unk) unk->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&en));
    check("an IEnumVARIANT", en != nullptr);
    if (en) {
        VARIANT items[3];
        ULONG got = 0;
        checkHr("Next runs out", en->Next(3, items, &got), S_FALSE);
        check("two parameters enumerated", got == 2);
        for (ULONG i = 0; i < got; ++i) VariantClear(&items[i]);
        en->Release();
    }
    if (unk) unk->Release();
    cp->Release();
}
}  // namespace

template <typename I>
I* created(const char* name, REFCLSID clsid, REFIID iid) {
    I* p = nullptr;
    checkHr(
        name,
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&p)),
        S_OK);
    return p;
}

// The source (or description) that the last failed call left in the error information.
std::wstring lastError(bool source = true) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return L"<no error information>";
    Bstr got;
    source ? info->GetSource(&got.b) : info->GetDescription(&got.b);
    info->Release();
    return text(got.b);
}

const HRESULT kInvalidCall = static_cast<HRESULT>(0x800A0005);

// CDialog through its vtable: an argument marked omitted and the HRESULT of a failure. No dialog
// can appear here (the runner gives this client no display), so a dialog ends as a cancel; the
// dialog suite drives the real ones and checks what a script can send.
void dialogCalls() {
    auto* d = created<_CDialog>("CDialog", CLSID_CDialog, IID__CDialog);
    if (!d) return;
    Bstr description(L"Logs"), pattern(L"*.log"), filter;
    VARIANT omitted{};
    omitted.vt = VT_ERROR;
    omitted.scode = DISP_E_PARAMNOTFOUND;
    checkHr("AddFilter", d->AddFilter(&description.b, &pattern.b, &omitted), S_OK);
    d->get_Filter(&filter.b);
    checkText("Filter", filter.b, L"Logs (*.log)|*.log");
    IDispatch* target = nullptr;
    VARIANT_BOOL shown = VARIANT_TRUE;
    check("ShowOpen without a display answers False",
          d->ShowOpen(&target, &shown) == S_OK && shown == VARIANT_FALSE);
    d->put_MaxFileSize(-1);
    checkHr("negative MaxFileSize", d->ShowSave(&target, &shown),
            MAKE_HRESULT(1, FACILITY_CONTROL, 5));
    d->Release();
}

// What script clients cannot send to the date, display and folder helpers: dates outside the
// range, an automation boolean that is neither True nor False, null strings. (Negative serials a
// script sends too; the date suite checks them.)
void dateAndFolderCalls() {
    if (auto* d = created<_DateHelper>("DateHelper", CLSID_DateHelper, IID__DateHelper)) {
        DATE in = 1e7, out = 0;
        short days = 0;
        checkHr("date beyond the range", d->DaysInMonth(&in, &days), kInvalidCall);
        in = -700000;
        checkHr("date before the range", d->LastDayOfMonth(&in, &out), kInvalidCall);
        double full = 1;
        check("FullDateTime of a null string is 0",
              d->FullDateTime(nullptr, &full) == S_OK && !full);
        d->Release();
    }
    if (auto* v =
            created<_VBObjectHelper>("VBObjectHelper", CLSID_VBObjectHelper, IID__VBObjectHelper)) {
        VARIANT_BOOL one = 1;
        check("MouseHourGlass with 1 leaves it", v->MouseHourGlass(&one) == S_OK && one == 1);
        checkHr("MouseHourGlass without a pointer", v->MouseHourGlass(nullptr), E_POINTER);
        v->Release();
    }
    if (auto* o = created<_OS32Helper>("OS32Helper", CLSID_OS32Helper, IID__OS32Helper)) {
        Bstr path;
        VARIANT_BOOL valid = VARIANT_TRUE;
        check("IsValidFolder of a null string is False",
              o->IsValidFolder(&path.b, &valid) == S_OK && valid == VARIANT_FALSE);
        o->Release();
    }
}

// CRegistryAdvanced.SetValue with a SAFEARRAY of Byte: regType 7 writes the bytes as
// REG_MULTI_SZ, automatic mode refuses them with 5 "Byte Array"; the registry API reads back
// what was written, byte counts included, and removes the test key.
void registryByteArray() {
    const wchar_t* path = L"Software\\BrevantoEarlyBound";
    auto* a = created<_CRegistryAdvanced>("CRegistryAdvanced created", CLSID_CRegistryAdvanced,
                                          IID__CRegistryAdvanced);
    if (!a) return;
    Bstr key(path);
    checkHr("Root", a->put_Root(HkeyCurrentUser), S_OK);
    checkHr("key", a->put_key(key.b), S_OK);
    const BYTE bytes[] = {'a', 0, 'b', 0, 0};
    VARIANT name{}, value{};
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(L"multi");
    value.vt = VT_ARRAY | VT_UI1;
    value.parray = SafeArrayCreateVector(VT_UI1, 0, sizeof bytes);
    std::memcpy(value.parray->pvData, bytes, sizeof bytes);
    kupEnumRegTypes type = RegMultiSz;
    VARIANT_BOOL ok = VARIANT_FALSE;
    check("SetValue regType 7",
          a->SetValue(&name, &value, &type, &ok) == S_OK && ok == VARIANT_TRUE);
    type = RegNone;
    checkHr("SetValue of a Byte array, automatic", a->SetValue(&name, &value, &type, &ok),
            kInvalidCall);
    const std::wstring why = lastError(false);
    check("  its description", why == L"Byte Array", why);
    VariantClear(&name);
    VariantClear(&value);
    name.vt = value.vt = VT_BSTR;
    name.bstrVal = SysAllocString(L"text");
    value.bstrVal = SysAllocString(L"abc");
    checkHr("SetValue of text", a->SetValue(&name, &value, &type, &ok), S_OK);
    VariantClear(&name);
    VariantClear(&value);
    a->Release();
    HKEY k = nullptr;
    BYTE data[64] = {};
    DWORD size = sizeof data, regType = 0;
    check("multi read back as REG_MULTI_SZ of the five bytes",
          RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &k) == 0 &&
              RegQueryValueExA(k, "multi", nullptr, &regType, data, &size) == 0 &&
              regType == REG_MULTI_SZ && size == sizeof bytes && !std::memcmp(data, bytes, size),
          std::to_wstring(size));
    size = sizeof data;
    check("text read back as REG_SZ of four bytes",
          RegQueryValueExA(k, "text", nullptr, &regType, data, &size) == 0 && regType == REG_SZ &&
              size == 4,
          std::to_wstring(size));
    RegCloseKey(k);
    check("test key removed", RegDeleteKeyW(HKEY_CURRENT_USER, path) == 0);
}

// Win32API with what a script cannot send: null strings, typed in-out arguments, and the error
// information of a failure that has written some arguments back.
void win32ApiCalls() {
    auto* w = created<_Win32API>("Win32API", CLSID_Win32API, IID__Win32API);
    if (!w) return;
    Bstr none, out, name;
    checkHr("StripTerminator of a null string", w->StripTerminator(none.b, &out.b), S_OK);
    checkText("  is empty", out.b, L"");
    kupEnumDriveType kind = Fixed;
    checkHr("GetDriveType of a null letter", w->GetDriveType(none.b, &kind, &name.b), S_OK);
    check("  asks about :\\, Invalid Drive with code 1",
          text(name.b) == L"Invalid Drive" && kind == InvalidDrive, text(name.b));
    Bstr from, to;
    LONG window = 0;
    kupEnumFileOperation op = FileCopy;
    kupEnumFileOperationFlags flags = static_cast<kupEnumFileOperationFlags>(0);
    VARIANT_BOOL done = VARIANT_TRUE;
    HRESULT hr = w->FileOperation(&window, &op, &from.b, &to.b, &flags, &done);
    check("copy without destination fails", FAILED(hr));
    // The null source list is written back as two NULs; the flags are not reached.
    check("written back before the error", text(from.b) == std::wstring(2, L'\0') && flags == 0);
    const std::wstring source = lastError();
    check("error source", source == L"FileOperation", source);
    w->Release();
}

int wmain(int argc, wchar_t** argv) {
    CoInitialize(nullptr);
    _TextHelper* t = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_TextHelper, nullptr, CLSCTX_INPROC_SERVER, IID__TextHelper,
                                  reinterpret_cast<void**>(&t));
    checkHr("CoCreateInstance", hr, S_OK);
    if (t) {
        vtableCalls(t);
        errorInfo(t);
        values(t);
        lateBound(t);
        t->Release();
    }
    IUnknown* none = nullptr;
    checkHr("clsCommandParam is not creatable",
            CoCreateInstance(CLSID_clsCommandParam, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&none)),
            CLASS_E_CLASSNOTAVAILABLE);
    arrayAndCommandLineCalls();
    objectDefaults();
    refusedArguments();
    typedWriteBack();
    dateAndFolderCalls();
    dialogCalls();
    registryByteArray();
    win32ApiCalls();
    if (argc > 1) unloading(argv[1]);
    CoUninitialize();
    std::printf("%d passed, %d failed\n", gPassed, gFailed);
    return gFailed ? 1 : 0;
}

// Late binding for every class: names, dispatch identifiers and the parameter descriptions are
// read once per interface from the type library embedded in the DLL; Invoke then prepares the
// arguments itself and calls the same vtable method that early-bound clients call.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "com/ole.h"
#include "com/raii.h"
#include "frame/roster.h"

namespace brv::com {

struct ParamMeta {
    VARTYPE vt = VT_EMPTY;  // VT_BSTR, VT_I2, ..., VT_VARIANT, VT_DISPATCH, VT_ARRAY | element
    bool byref = false;
    bool optional = false;
    bool hasDefault = false;
    UniqueVariant def;  // the declared default, converted to the parameter's type
};

struct FuncMeta {
    DISPID id = DISPID_UNKNOWN;
    INVOKEKIND kind = INVOKE_FUNC;
    SHORT vtableOffset = 0;
    std::vector<ParamMeta> params;  // without the result
    VARTYPE result = VT_EMPTY;      // VT_EMPTY: none
    std::vector<std::wstring> paramNames;
};

struct NoCase {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view s) const noexcept;
    bool operator()(std::wstring_view a, std::wstring_view b) const noexcept;
};

struct TypeMeta {
    ComPtr<ITypeInfo> info;  // what GetTypeInfo hands out
    std::vector<FuncMeta> funcs;
    std::unordered_map<std::wstring, DISPID, NoCase, NoCase> names;
    // Per dispatch identifier: the function index for method, get, let and set (-1: none).
    std::unordered_map<DISPID, std::array<int, 4>> byId;
};

// Built on first use, kept until the server unloads. Throws a Fault when the type library
// cannot be read.
const TypeMeta& typeMeta(REFIID iid);
void releaseTypeMeta();

HRESULT getIDsOfNames(const TypeMeta& meta, LPOLESTR* names, UINT count, DISPID* ids);

// `self` is the interface pointer whose vtable the members live in; `cls` and `iid` name the
// source of errors raised while preparing arguments (Null for a typed parameter: 94).
HRESULT invoke(void* self, const TypeMeta& meta, const ClassInfo& cls, REFIID iid, DISPID id,
               WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);

}  // namespace brv::com

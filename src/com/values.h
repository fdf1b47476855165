// Conversions between automation values and core values: BSTR and String, VARIANT and Variant,
// SAFEARRAY and Array, IDispatch and Object, Enumeration and IEnumVARIANT.
#pragma once

#include "com/ole.h"
#include "frame/collection.h"
#include "frame/variant.h"

namespace brv::com {

String toString(BSTR b);  // a null BSTR reads as empty
BSTR allocBstr(StringView s);

// VT_BYREF is followed. A type the library has no use for raises 13 (458 for records).
// Where a chain of variant references (VT_BYREF | VT_VARIANT) ends; null for a link to nothing
// or a chain longer than any client builds (`deepestReference` links), which is how a cycle of
// references shows.
constexpr int deepestReference = 16;
const VARIANT* referencedValue(const VARIANT* v);

Variant fromVariant(const VARIANT& v);
// `out` must hold nothing that needs freeing.
void toVariant(const Variant& v, VARIANT* out);

// `sa` may be null (an array that was never dimensioned).
Array fromSafeArray(SAFEARRAY* sa);
SAFEARRAY* toSafeArray(const Array& a);
// A copy of `sa` whose elements are converted to `elementVt` (error 13 when one cannot be).
SAFEARRAY* convertSafeArray(SAFEARRAY* sa, VARTYPE elementVt);

// VariantChangeType, but an object's default value is fetched here, one level as the runtime
// does: oleaut32 follows defaults that are objects themselves without end (one that returns its
// own object never stops). An object without a plain default value is a type mismatch.
HRESULT changeType(VARIANT* out, const VARIANT* in, VARTYPE vt);

// Puts `fresh` (owned; consumed) in the place of the array at `where`. An array that its owner
// holds fixed or locked keeps its descriptor: a value of the same shape is copied into it,
// any other raises 10.
void replaceArray(SAFEARRAY** where, SAFEARRAY* fresh);

// Stores `value` (owned; consumed) into the variable that a VT_BYREF variant refers to,
// converted to that variable's type (error 13 when it cannot be).
void writeThrough(VARIANT* ref, VARIANT& value);
// Stores `value` (owned, of type vt; consumed) through a typed reference, releasing the old.
void storeThrough(VARTYPE vt, void* p, VARIANT& value);

ObjectRef fromDispatch(IUnknown* p);        // null gives Nothing
IDispatch* toDispatch(const ObjectRef& o);  // new reference; Nothing gives null
IUnknown* toEnumerator(Enumeration e);      // new reference to an IEnumVARIANT

}  // namespace brv::com

// The runtime's conversions, as CStr, CDbl, CInt, CLng, CByte, CBool, CDate and the "&"
// operator do them: error 13 for a value that cannot convert, 94 for Null where a value is
// needed, 6 for a value outside the target range, round half to even into integers. Dates read
// and write as text under the regional settings, so every conversion that can meet a date takes
// the locale.
#pragma once

#include <optional>

#include "frame/locale.h"
#include "frame/variant.h"

namespace brv {

// The three string comparison modes; the numbers are the runtime's own.
enum class CompareMode { Binary = 0, Text = 1, Database = 2 };

// <0, 0, >0. Text (and Database, which compares like Text here) follow the locale.
int compareStrings(StringView a, StringView b, CompareMode mode, const Locale& locale);

String toText(const Variant& v, const Locale& locale);    // CStr: Null raises 94
String joinText(const Variant& v, const Locale& locale);  // v & "": Null gives ""
double toDouble(const Variant& v, const Locale& locale);
int16_t toInteger(const Variant& v, const Locale& locale);
int32_t toLong(const Variant& v, const Locale& locale);
uint8_t toByte(const Variant& v, const Locale& locale);
bool toBoolean(const Variant& v, const Locale& locale);
Date toDate(const Variant& v, const Locale& locale);
// Conversion to a given scalar type (Variant keeps the value as it is).
Variant convertTo(const Variant& v, VarType type, const Locale& locale);

// The value behind an object's default member; error 91 for Nothing. Scalars unchanged.
Variant resolveDefault(const Variant& v);

int32_t roundToLong(double d);     // half to even; error 6 outside the Long range
int16_t roundToInteger(double d);  // half to even; error 6 outside the Integer range

// A length, count or position held in an Integer: error 6 beyond 32767.
int16_t asInteger(std::size_t n);

String numberText(double d);  // as CStr of a Double: up to 15 significant digits
String numberText(int64_t n);
std::optional<double> parseNumber(StringView text);

}  // namespace brv

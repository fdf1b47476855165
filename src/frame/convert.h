// The runtime's conversions, as CStr, CDbl, CInt, CLng, CByte, CBool, CDate and the "&"
// operator do them: error 13 for a value that cannot convert, 94 for Null where a value is
// needed, 6 for a value outside the target range, round half to even into integers.
#pragma once

#include <optional>

#include "frame/variant.h"

namespace brv {

// The three string comparison modes; the numbers are the runtime's own.
enum class CompareMode { Binary = 0, Text = 1, Database = 2 };

// <0, 0, >0. Text (and Database, which compares like Text here) follow the system locale.
int compareStrings(StringView a, StringView b, CompareMode mode);

String toText(const Variant& v);    // CStr: Null raises 94
String joinText(const Variant& v);  // v & "": Null gives ""
double toDouble(const Variant& v);
int16_t toInteger(const Variant& v);
int32_t toLong(const Variant& v);
uint8_t toByte(const Variant& v);
bool toBoolean(const Variant& v);
Date toDate(const Variant& v);
// Conversion to a given scalar type (Variant keeps the value as it is).
Variant convertTo(const Variant& v, VarType type);

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

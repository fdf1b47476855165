#include "frame/convert.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "frame/object.h"

namespace brv {

namespace {

[[noreturn]] void typeMismatch() {
    raise(err::TypeMismatch);
}

// The runtime's range of dates: 1 January 100 to 31 December 9999.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.9999999;

}  // namespace

int compareStrings(StringView a, StringView b, CompareMode mode, const Locale& locale) {
    if (mode == CompareMode::Binary) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return locale.compareText(a, b);
}

Variant resolveDefault(const Variant& v) {
    if (!v.isObject()) return v;
    if (!v.object()) raise(err::ObjectNotSet);
    Variant value = v.object()->defaultValue();
    if (value.isObject()) typeMismatch();
    return value;
}

String numberText(int64_t n) {
    const std::string s = std::to_string(n);
    return String(s.begin(), s.end());
}

namespace {
String formatG(double d, int digits) {
    if (d == 0) return u"0";  // also -0
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, d);
    std::string s = buf;
    return String(s.begin(), s.end());
}

String currencyText(Currency c) {
    const bool neg = c.scaled < 0;
    const uint64_t mag =
        neg ? 0 - static_cast<uint64_t>(c.scaled) : static_cast<uint64_t>(c.scaled);
    std::string s = std::to_string(mag / 10000);
    uint64_t frac = mag % 10000;
    if (frac) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0') f.pop_back();
        s += "." + f;
    }
    if (neg) s.insert(0, 1, '-');
    return String(s.begin(), s.end());
}
}  // namespace

String numberText(double d) {
    return formatG(d, 15);
}

std::optional<double> parseNumber(StringView text) {
    std::size_t i = 0, n = text.size();
    auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (i < n && isSpace(text[i])) ++i;
    while (n > i && isSpace(text[n - 1])) --n;
    if (i == n) return std::nullopt;
    bool neg = false;
    if (text[i] == u'+' || text[i] == u'-') {
        neg = text[i] == u'-';
        ++i;
        while (i < n && text[i] == u' ') ++i;
    }
    if (i + 1 < n && text[i] == u'&') {  // &H hexadecimal and &O octal literals
        const char16_t kind = text[i + 1];
        int base = (kind == u'H' || kind == u'h') ? 16 : (kind == u'O' || kind == u'o') ? 8 : 0;
        if (!base) return std::nullopt;
        i += 2;
        if (i == n) return std::nullopt;
        uint64_t value = 0;
        for (; i < n; ++i) {
            const char16_t c = text[i];
            int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                        : c >= u'a' && c <= u'f' ? c - u'a' + 10
                        : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                 : 99;
            if (digit >= base) return std::nullopt;
            value = value * base + digit;
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        // Like the runtime, eight hex digits give a signed Long (&HFFFFFFFF is -1).
        double d = value > 0x7FFFFFFF ? static_cast<double>(static_cast<int32_t>(value))
                                      : static_cast<double>(value);
        return neg ? -d : d;
    }
    std::string ascii;
    bool digits = false, dot = false;
    for (; i < n; ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            ascii.push_back(static_cast<char>(c));
            digits = true;
        } else if (c == u',' && !dot && digits) {
            continue;  // thousands separator
        } else if (c == u'.' && !dot) {
            ascii.push_back('.');
            dot = true;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        std::string exp = "e";
        std::size_t j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exp.push_back(static_cast<char>(text[j++]));
        bool expDigits = false;
        while (j < n && text[j] >= u'0' && text[j] <= u'9') {
            exp.push_back(static_cast<char>(text[j++]));
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
        ascii += exp;
        i = j;
    }
    if (i != n) return std::nullopt;
    double d = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(d)) return std::nullopt;
    return neg ? -d : d;
}

String toText(const Variant& v, const Locale& locale) {
    if (v.isArray()) typeMismatch();
    switch (v.type()) {
        case VarType::Empty:
            return {};
        case VarType::Null:
            raise(err::InvalidUseOfNull);
        case VarType::Integer:
            return numberText(int64_t{v.integer()});
        case VarType::Long:
            return numberText(int64_t{v.lng()});
        case VarType::Byte:
            return numberText(int64_t{v.byte()});
        case VarType::Single:
            return formatG(v.single(), 7);
        case VarType::Double:
            return numberText(v.dbl());
        case VarType::Currency:
            return currencyText(v.currency());
        case VarType::Date:
            return locale.formatDate(v.date().serial);
        case VarType::Boolean:
            return v.boolean() ? u"True" : u"False";
        case VarType::String:
            return v.str();
        case VarType::Object:
            return toText(resolveDefault(v), locale);
        case VarType::Error:
            if (v.isMissing()) raise(err::ArgumentNotOptional);
            typeMismatch();
        default:
            typeMismatch();
    }
}

String joinText(const Variant& v, const Locale& locale) {
    if (v.isNull()) return {};
    if (v.isObject() && !v.isArray()) {
        Variant value = resolveDefault(v);
        return value.isNull() ? String{} : toText(value, locale);
    }
    return toText(v, locale);
}

double toDouble(const Variant& v, const Locale& locale) {
    if (v.isArray()) typeMismatch();
    switch (v.type()) {
        case VarType::Empty:
            return 0;
        case VarType::Null:
            raise(err::InvalidUseOfNull);
        case VarType::Integer:
            return v.integer();
        case VarType::Long:
            return v.lng();
        case VarType::Byte:
            return v.byte();
        case VarType::Single:
            return v.single();
        case VarType::Double:
            return v.dbl();
        case VarType::Currency:
            return static_cast<double>(v.currency().scaled) / 10000.0;
        case VarType::Date:
            return v.date().serial;
        case VarType::Boolean:
            return v.boolean() ? -1 : 0;
        case VarType::String: {
            if (auto d = parseNumber(v.str())) return *d;
            if (equalsAsciiNoCase(trimSpaces(v.str()), u"True")) return -1;
            if (equalsAsciiNoCase(trimSpaces(v.str()), u"False")) return 0;
            if (auto date = locale.parseDate(v.str())) return *date;
            typeMismatch();
        }
        case VarType::Object:
            return toDouble(resolveDefault(v), locale);
        case VarType::Error:
            if (v.isMissing()) raise(err::ArgumentNotOptional);
            typeMismatch();
        default:
            typeMismatch();
    }
}

int32_t roundToLong(double d) {
    if (std::isnan(d)) raise(err::Overflow);
    const double r = std::nearbyint(d);  // the default rounding mode: half to even
    if (r < -2147483648.0 || r > 2147483647.0) raise(err::Overflow);
    return static_cast<int32_t>(r);
}

int16_t roundToInteger(double d) {
    if (std::isnan(d)) raise(err::Overflow);
    const double r = std::nearbyint(d);
    if (r < -32768.0 || r > 32767.0) raise(err::Overflow);
    return static_cast<int16_t>(r);
}

int16_t asInteger(std::size_t n) {
    if (n > 32767) raise(err::Overflow);
    return static_cast<int16_t>(n);
}

int16_t toInteger(const Variant& v, const Locale& locale) {
    if (v.type() == VarType::Integer && !v.isArray()) return v.integer();
    return roundToInteger(toDouble(v, locale));
}

int32_t toLong(const Variant& v, const Locale& locale) {
    if (v.type() == VarType::Long && !v.isArray()) return v.lng();
    return roundToLong(toDouble(v, locale));
}

uint8_t toByte(const Variant& v, const Locale& locale) {
    const double r = std::nearbyint(toDouble(v, locale));
    if (std::isnan(r) || r < 0 || r > 255) raise(err::Overflow);
    return static_cast<uint8_t>(r);
}

bool toBoolean(const Variant& v, const Locale& locale) {
    if (v.type() == VarType::Boolean && !v.isArray()) return v.boolean();
    if (v.isString() && !v.isArray()) {
        const StringView t = trimSpaces(v.str());
        if (equalsAsciiNoCase(t, u"True")) return true;
        if (equalsAsciiNoCase(t, u"False")) return false;
        if (auto d = parseNumber(t)) return *d != 0;
        typeMismatch();
    }
    return toDouble(v, locale) != 0;
}

Date toDate(const Variant& v, const Locale& locale) {
    if (v.type() == VarType::Date && !v.isArray()) return v.date();
    if (v.isString() && !v.isArray()) {
        if (auto d = locale.parseDate(v.str())) return Date{*d};
        if (auto n = parseNumber(v.str())) {
            if (*n < kMinDate || *n > kMaxDate) raise(err::Overflow);
            return Date{*n};
        }
        typeMismatch();
    }
    const double d = toDouble(v, locale);
    if (d < kMinDate || d > kMaxDate) raise(err::Overflow);
    return Date{d};
}

Variant convertTo(const Variant& v, VarType type, const Locale& locale) {
    switch (type) {
        case VarType::Variant:
            return v;
        case VarType::Empty:
            return Variant();
        case VarType::Null:
            return Variant(Null{});
        case VarType::Integer:
            return Variant(toInteger(v, locale));
        case VarType::Long:
            return Variant(toLong(v, locale));
        case VarType::Byte:
            return Variant(toByte(v, locale));
        case VarType::Single: {
            const double d = toDouble(v, locale);
            if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
                raise(err::Overflow);
            return Variant(static_cast<float>(d));
        }
        case VarType::Double:
            return Variant(toDouble(v, locale));
        case VarType::Currency: {
            const double d = std::nearbyint(toDouble(v, locale) * 10000.0);
            if (!(std::fabs(d) < 9.2233720368547758e18)) raise(err::Overflow);
            return Variant(Currency{static_cast<int64_t>(d)});
        }
        case VarType::Date:
            return Variant(toDate(v, locale));
        case VarType::String:
            return Variant(toText(v, locale));
        case VarType::Boolean:
            return Variant(toBoolean(v, locale));
        case VarType::Object:
            if (v.isObject() && !v.isArray()) return v;
            typeMismatch();
        case VarType::Error:
            if (v.type() == VarType::Error && !v.isArray()) return v;
            typeMismatch();
    }
    typeMismatch();
}

}  // namespace brv

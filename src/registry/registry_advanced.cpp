#include "registry/registry_advanced.h"

#include <cstring>

#include "frame/convert.h"
#include "frame/shared.h"

namespace brv {

namespace {

constexpr uint32_t kKeyAccess = 131103;  // read and write
constexpr uint32_t kWriteAccess = 131078;
constexpr uint32_t kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7;
constexpr StringView kDefaultName = u"<DEFAULT>";
// Bytes of a REG_MULTI_SZ written from an array: positions 0 to 512.
constexpr int32_t kMultiBuffer = 513;
// A REG_BINARY written from an array: the registry's practical limit for one value.
constexpr int32_t kBinaryLimit = 1 << 20;

String left(const String& s, uint32_t n) {
    return s.substr(0, std::min<std::size_t>(n, s.size()));
}

// The array's elements as bytes, element n at position n, from a buffer of zeros that ends at
// the upper bound; an element numbered outside 0 to `limit` - 1 raises 9.
std::string arrayBytes(const Variant& v, int32_t limit, const Locale& locale) {
    if (!v.isArray()) raise(err::TypeMismatch);
    const Array& a = v.array();
    if (a.dims() != 1) raise(err::SubscriptOutOfRange);
    const int32_t lower = a.lbound(), upper = a.ubound();
    if (upper < lower) return {};
    if (lower < 0 || upper >= limit) raise(err::SubscriptOutOfRange);
    std::string bytes(static_cast<std::size_t>(upper) + 1, '\0');
    for (int32_t n = lower; n <= upper; ++n)
        bytes[static_cast<std::size_t>(n)] = static_cast<char>(toByte(a.at(n), locale));
    return bytes;
}

std::string dwordData(int32_t value) {
    std::string bytes(4, '\0');
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(u >> (8 * i));
    return bytes;
}

// Whether a value converts to text at all: Null, a missing value and arrays do not.
bool hasTextForm(const Variant& value) {
    return !value.isArray() && !value.isNull() && value.type() != VarType::Error;
}

}  // namespace

CRegistryAdvanced::CRegistryAdvanced(const platform::Platform& platform)
    : RegistryKey(ClassId::CRegistryAdvanced, platform, kKeyAccess, kKeyAccess),
      values_(*platform.regional) {
    let_Root(static_cast<int32_t>(0x80000002));  // HKEY_LOCAL_MACHINE; opens nothing yet
}

void CRegistryAdvanced::createFailed(int32_t code) const {
    if (code == platform::reg::BadKey)
        raise(err::RegistryBase + code, {}, u"Cannot Open Parent Key");
    raise(err::RegistryBase + code, {}, u"Unknown error");
}

void CRegistryAdvanced::let_key(const String& vData) {
    StringView path = trimSpaces(vData);
    if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
    key_ = String(path);
    try {
        GetKeyInfo();
    } catch (...) {
        // A path that cannot be loaded leaves the values as they were.
    }
}

// Each position is probed with an empty name buffer (234 while a value is there, 259 after the
// last), then read by the type the probe reported. A failed read ends the walk, its record
// filed.
void CRegistryAdvanced::load(const platform::RegKeyInfo& info) {
    values_.clear();
    uint32_t p = 0;
    int32_t r = 0;
    do {
        uint32_t d = info.maxValueDataLength + 1;
        std::string text(d, '\0');
        std::string bytes(static_cast<std::size_t>(d) + 1, '\0');
        String probeName(1, u'\0');
        uint32_t probeLength = 0, type = kNone;
        r = registry_.enumValue(handle_.get(), p, probeName, probeLength, type, &bytes, d);
        if (r != platform::reg::NoMoreItems) {
            uint32_t n = info.maxValueNameLength + 1;
            String name(n, u'\0');
            uint32_t readType = type, length = d;
            Variant data;
            if (type == kDword) {
                std::string number(std::max<uint32_t>(d, 4), '\0');
                r = registry_.enumValue(handle_.get(), p, name, n, readType, &number, length);
                int32_t value = 0;
                std::memcpy(&value, number.data(), 4);
                data = Variant(value);
            } else if (type == kBinary) {
                r = registry_.enumValue(handle_.get(), p, name, n, readType, &bytes, length);
                Array array(VarType::Byte, {Bound{0, static_cast<int32_t>(d) + 1}});
                for (uint32_t i = 0; i <= d; ++i)
                    array.items()[i] = Variant(static_cast<uint8_t>(bytes[i]));
                data = Variant(std::move(array));
            } else if (type == kMultiSz) {
                r = registry_.enumValue(handle_.get(), p, name, n, readType, &text, length);
                data = Variant(fromData(std::string_view(text).substr(0, length)));
            } else {
                r = registry_.enumValue(handle_.get(), p, name, n, readType, &text, length);
                if (r == 0 && n == 0) {
                    name = String(kDefaultName);
                    n = static_cast<uint32_t>(kDefaultName.size());
                }
                // A value stored without even its terminator reads as empty text.
                data = Variant(fromData(std::string_view(text).substr(0, length ? length - 1 : 0)));
            }
            const String filed = left(name, n);
            values_.Add(filed, filed, static_cast<int32_t>(type), data);
        }
        ++p;
    } while (r == 0);
    valueCount_ = asInteger(r == platform::reg::NoMoreItems ? p - 1 : p);
}

String CRegistryAdvanced::GetName(int16_t iRequest) const {
    return values_.Item(Variant(iRequest))->get_Name();
}

String CRegistryAdvanced::GetValue(const Variant& vRequest) const {
    const bool unnamed = !vRequest.isNull() && toText(vRequest, regional_).empty();
    std::shared_ptr<clsRegKeyData> record;
    try {
        record = values_.Item(unnamed ? Variant(kDefaultName) : vRequest);
    } catch (const Error& e) {
        if (e.number() == err::RegistryLookup) return {};
        throw;
    }
    switch (record->get_DataType()) {
        case kSz:
        case kExpandSz:
        case kMultiSz:
            return record->get_StringValue();
        case kDword:
            return numberText(int64_t{record->get_LongValue()});
        default:
            return {};
    }
}

int32_t CRegistryAdvanced::write(const String& name, uint32_t type, std::string_view data) {
    return registry_.setValue(handle_.get(), name, type, data);
}

int32_t CRegistryAdvanced::writeDerived(const String& name, const Variant& value) {
    if (value.isArray() && value.array().elementType() == VarType::Byte)
        raise(err::InvalidCall, {}, u"Byte Array");
    if (!value.isArray() && (value.type() == VarType::Integer || value.type() == VarType::Long))
        return write(name, kDword, dwordData(toLong(value, regional_)));
    // Other kinds with a text form are written as text; one without (Null, a missing value,
    // an array of anything but Bytes) writes nothing and the call still succeeds.
    if (!hasTextForm(value)) return 0;
    const String text = toText(value, regional_);
    uint32_t type = kSz;
    if (value.isString() && fnCountCharacter(text, StringView(u"\0", 1)) != 0)
        type = kMultiSz;
    else if (value.isString() && text.find(u'%') != String::npos)
        type = kExpandSz;
    return write(name, type, textData(text));
}

bool CRegistryAdvanced::SetValue(const Variant& sKeyName, const Variant& sValue,
                                 const int32_t& regType) {
    const String name = sKeyName.type() == VarType::Integer && !sKeyName.isArray()
                            ? GetName(sKeyName.integer())
                            : toText(sKeyName, regional_);
    if (!OpenKey(kWriteAccess)) {
        GetKeyInfo();
        return false;
    }
    int32_t rc = 0;
    switch (regType) {
        case 0:
            rc = writeDerived(name, sValue);
            break;
        case kSz:
            rc = write(name, kSz, textData(toText(sValue, regional_)));
            break;
        // The types beyond the four with a laid-down data form write what has that form and
        // otherwise nothing, without an error, like any other type.
        case kExpandSz:
            if (hasTextForm(sValue))
                rc = write(name, kExpandSz, textData(toText(sValue, regional_)));
            break;
        case kBinary:
            if (sValue.isArray())
                rc = write(name, kBinary, arrayBytes(sValue, kBinaryLimit, regional_));
            break;
        case kDword:
            rc = write(name, kDword, dwordData(toLong(sValue, regional_)));
            break;
        case kMultiSz:
            rc = write(name, kMultiSz, arrayBytes(sValue, kMultiBuffer, regional_));
            break;
        default:
            // No data form is defined for the other types: nothing is written, and the call
            // succeeds as for any write.
            break;
    }
    if (rc != 0) raise(err::RegistryBase + rc, u"CRegistry", u"Couldn't write value to registry");
    CloseKey();
    GetKeyInfo();
    return true;
}

}  // namespace brv

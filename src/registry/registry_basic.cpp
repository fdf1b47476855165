#include "registry/registry_basic.h"

#include "frame/convert.h"

namespace brv {

namespace {

constexpr uint32_t kSaveAccess = 63;
constexpr uint32_t kWriteAccess = 6;
constexpr uint32_t kLoadAccess = 31;
constexpr uint32_t kRegSz = 1;

String left(const String& s, uint32_t n) {
    return s.substr(0, std::min<std::size_t>(n, s.size()));
}

}  // namespace

CRegistryBasic::CRegistryBasic(const platform::Platform& platform)
    : RegistryKey(ClassId::CRegistryBasic, platform, kLoadAccess, kLoadAccess) {
    let_Root(static_cast<int32_t>(0x80000002));  // HKEY_LOCAL_MACHINE; opens nothing yet
}

void CRegistryBasic::createFailed(int32_t code) const {
    if (code == platform::reg::BadKey)
        raise(err::RegErrorOpenFail, u"CreateEx", u"Cannot Open Parent Key");
    raise(err::RegErrorUnknown, u"CreateEx", u"Unknown Error: " + numberText(int64_t{code}));
}

void CRegistryBasic::let_key(const String& vData) {
    key_ = vData;
    GetKeyInfo();
}

void CRegistryBasic::load(const platform::RegKeyInfo& info) {
    values_.assign(1, Column{});
    subKeys_.assign(1, String{});
    loadValues(info);
    loadSubKeys(info);
}

// The walk probes each position with an empty name buffer: the platform answers 234 while a
// value is there and 259 after the last. It reads REG_SZ values only and stops at the first
// value of another type or the first read that fails.
void CRegistryBasic::loadValues(const platform::RegKeyInfo& info) {
    uint32_t p = 0;
    for (;;) {
        String probeName(1, u'0');
        uint32_t probeLength = 0, type = 0, size = 0;
        int32_t r =
            registry_.enumValue(handle_.get(), p, probeName, probeLength, type, nullptr, size);
        if (r == platform::reg::NoMoreItems || type != kRegSz) break;
        uint32_t nameLength = info.maxValueNameLength + 1;
        uint32_t dataLength = info.maxValueDataLength + 1;
        String name(nameLength, u'\0');
        std::string data(dataLength, '\0');
        r = registry_.enumValue(handle_.get(), p, name, nameLength, type, &data, dataLength);
        Column& column = values_.back();
        column.name = left(name, nameLength);
        // A value stored without even its terminator reads as empty text.
        column.data = fromData(std::string_view(data).substr(0, dataLength ? dataLength - 1 : 0));
        values_.emplace_back();
        ++p;
        if (r != 0) break;
    }
    valueCount_ = asInteger(p);
}

// Every position answers a name or 259. A position that fails otherwise would fail again at
// every later position on some platforms (a key deleted meanwhile, a handle without the right):
// the first such failure ends the walk and the load.
void CRegistryBasic::loadSubKeys(const platform::RegKeyInfo& info) {
    for (uint32_t q = 0;; ++q) {
        uint32_t length = info.maxSubKeyLength + 1;
        String name(length, u'\0');
        const int32_t r = registry_.enumKey(handle_.get(), q, name, length);
        if (r == platform::reg::NoMoreItems) {
            subKeyCount_ = asInteger(q);
            return;
        }
        if (r != 0) {
            subKeyCount_ = asInteger(q);
            raise(err::RegErrorOpenFail);
        }
        subKeys_.push_back(left(name, length));
    }
}

String CRegistryBasic::GetName(int16_t iRequest) const {
    if (iRequest < 0 || static_cast<std::size_t>(iRequest) >= values_.size()) return {};
    return values_[static_cast<std::size_t>(iRequest)].name;
}

String CRegistryBasic::GetSubKey(const int16_t& iIndex) const {
    if (iIndex < 0 || static_cast<std::size_t>(iIndex) + 1 >= subKeys_.size()) return {};
    return subKeys_[static_cast<std::size_t>(iIndex) + 1];
}

String CRegistryBasic::GetValue(const Variant& vRequest) const {
    if (vRequest.type() == VarType::Integer && !vRequest.isArray()) {
        const int16_t i = vRequest.integer();
        if (i < 0 || static_cast<std::size_t>(i) >= values_.size()) raise(err::SubscriptOutOfRange);
        return values_[static_cast<std::size_t>(i)].data;
    }
    const String wanted = regional_.upper(toText(vRequest, regional_));
    for (const Column& c : values_)
        if (regional_.upper(c.name) == wanted) return c.data;
    return {};
}

bool CRegistryBasic::SetValue(const Variant& sKeyName, const String& sValue) {
    String name;
    if (sKeyName.type() == VarType::Integer && !sKeyName.isArray()) {
        const int16_t i = sKeyName.integer();
        if (i >= 0 && static_cast<std::size_t>(i) < values_.size())
            name = values_[static_cast<std::size_t>(i)].name;
    } else {
        name = toText(sKeyName, regional_);
    }
    if (!OpenKey(kWriteAccess)) return false;
    const int32_t rc = registry_.setValue(handle_.get(), name, kRegSz, textData(sValue));
    if (rc != 0) raise(err::RegistryBase + rc, u"CRegistry", u"Couldn't write value to registry");
    CloseKey();
    return true;
}

template <typename F>
void CRegistryBasic::withKey(F use) {
    platform::KeyOwner<> h(registry_);
    if (registry_.openKey(root_, key_, kSaveAccess, *h.put()) != 0) return;
    use(h.get());
    CloseKey();  // the saved handle takes the place of the one held
}

void CRegistryBasic::ExportKey(const String& strFilename) {
    withKey([&](platform::RegKey h) { registry_.saveKey(h, strFilename); });
}

void CRegistryBasic::ImportKey(const String& strFilename) {
    withKey([&](platform::RegKey h) { registry_.restoreKey(h, strFilename, 0); });
}

}  // namespace brv

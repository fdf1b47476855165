#include "registry/registry_key.h"

namespace brv {

namespace {

// Puts a path back when a tree walk below it returns, however it returns.
class PathRestorer {
  public:
    explicit PathRestorer(String& path) : path_(path), saved_(path) {}
    PathRestorer(const PathRestorer&) = delete;
    PathRestorer& operator=(const PathRestorer&) = delete;
    ~PathRestorer() { path_ = std::move(saved_); }

  private:
    String& path_;
    String saved_;
};

constexpr uint32_t kTreeAccess = 63;
constexpr uint32_t kMaxKeyName = 255;
// The registry nests keys at most this deep. A walk that goes deeper is reopening a key above
// it: a path that holds a NUL reads only up to it, so "key\<NUL>x\kid" is "key\" again.
constexpr int kMaxDepth = 512;

}  // namespace

RegistryKey::RegistryKey(ClassId id, const platform::Platform& platform, uint32_t keyAccess,
                         uint32_t loadAccess)
    : ClassObject(id),
      registry_(*platform.registry),
      regional_(*platform.regional),
      loadAccess_(loadAccess),
      handle_(*platform.registry),
      keyAccess_(keyAccess) {}

// A key still held (after a refused write, or after a Root assignment) is closed with the
// object.
RegistryKey::~RegistryKey() = default;

void RegistryKey::let_ValueCount(const int16_t&) {
    raise(err::RegErrorNoLetProperty, u"CRegistry.Let ValueCount",
          u"The Let Property is not available");
}

void RegistryKey::let_Root(int32_t vData) {
    root_ = vData;
    try {
        OpenKey(keyAccess_);
    } catch (...) {
        // A root that cannot be opened shows at the next load.
    }
}

bool RegistryKey::OpenKey(uint32_t access) {
    if (key_.empty() || root_ == 0) {
        CloseKey();
        return false;
    }
    CloseKey();
    if (!autoCreate_)
        return registry_.openKey(root_, key_, access, *handle_.put()) == platform::reg::Success;
    const int16_t disposition = CreateEx();
    return disposition == 1 || disposition == 2;
}

int16_t RegistryKey::CreateEx() {
    uint32_t disposition = 0;
    const int32_t rc =
        registry_.createKey(root_, key_, u"1", 0, createAccess(), *handle_.put(), disposition);
    if (rc != platform::reg::Success) createFailed(rc);
    return static_cast<int16_t>(disposition);
}

void RegistryKey::GetKeyInfo() {
    try {
        CloseKey();
        if (!autoCreate_) {
            if (registry_.openKey(root_, key_, loadAccess_, *handle_.put()) != 0)
                raise(err::RegErrorOpenFail);
        } else {
            CreateEx();
        }
        // The answer is not tested: a key that cannot say its sizes reads with empty buffers.
        platform::RegKeyInfo info;
        registry_.queryInfoKey(handle_.get(), info);
        load(info);
        CloseKey();
    } catch (...) {
        CloseKey();
        raise(err::RegErrorOpenFail, u"GetKeyInfo", u"Unable to open Key");
    }
}

bool RegistryKey::DeleteValue(const String& sValue) {
    try {
        OpenKey(keyAccess_);
        const bool deleted = registry_.deleteValue(handle_.get(), sValue) == platform::reg::Success;
        CloseKey();
        GetKeyInfo();
        return deleted;
    } catch (...) {
        return false;
    }
}

bool RegistryKey::DeleteKey(const String& KeyName) {
    // "key\" is the key itself to the platform: deleting that name would empty the key. The
    // platform reads the name up to its first NUL.
    const StringView seen = StringView(KeyName).substr(0, KeyName.find(u'\0'));
    if (seen.find_first_not_of(u'\\') == StringView::npos) return false;
    try {
        return DeleteKeyTree(KeyName) == 0;
    } catch (...) {
        return false;
    }
}

// Deletes the children first, always asking for position 0, since each child found is gone
// before the next round. A child that cannot be read or deleted would come back at position 0
// for ever: its failure ends the walk and is the result.
int32_t RegistryKey::DeleteKeyTree(const String& KeyName, int depth) {
    int32_t result = -1;
    if (depth > kMaxDepth) return result;
    platform::KeyOwner<> h(registry_);
    if (registry_.openKey(root_, key_ + u"\\" + KeyName, kTreeAccess, *h.put()) != 0) return -1;
    for (;;) {
        String name(kMaxKeyName, u'\0');
        uint32_t length = kMaxKeyName;
        const int32_t r = registry_.enumKey(h.get(), 0, name, length);
        if (r == platform::reg::NoMoreItems) {
            // A parent that cannot be opened leaves the key there: that is a failure too.
            const int32_t opened = registry_.openKey(root_, key_, kTreeAccess, *h.put());
            result = opened == 0 ? registry_.deleteKey(h.get(), KeyName) : opened;
            break;
        }
        if (r != 0) return r;
        if (length == 0) return -1;  // a nameless child would reopen this key
        {
            PathRestorer restore(key_);
            key_ = key_ + u"\\" + KeyName;
            result = DeleteKeyTree(name.substr(0, length), depth + 1);
        }
        if (result != 0) break;
    }
    return result;
}

int16_t RegistryKey::Create(const String& KeyName, const Variant& sKeyName, const String& sValue) {
    int16_t result = 0;
    try {
        if (KeyName != key_) key_ = key_ + u"\\" + KeyName;
        result = CreateEx();
        if (result != 0 && !sKeyName.isMissing()) {
            bool written = false;
            try {
                written = createValue(sKeyName, sValue);
            } catch (...) {
                written = false;
            }
            if (!written) {
                CloseKey();
                return result;
            }
        }
        if (result != 0) result = -1;
    } catch (...) {
        result = 0;
    }
    CloseKey();
    return result;
}

std::string RegistryKey::textData(StringView text) const {
    std::string bytes = regional_.toAnsi(text);
    bytes.push_back('\0');
    return bytes;
}

}  // namespace brv

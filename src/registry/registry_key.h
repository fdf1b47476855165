// What CRegistryBasic and CRegistryAdvanced share: a key named by a root handle and a path,
// opened (or created) on demand, and the members that behave the same in both classes. Each
// class supplies its own creation, load and value writing.
#pragma once

#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

class RegistryKey : public ClassObject {
  public:
    // True exactly when the platform deletes the value; reloads the key. Never raises.
    bool DeleteValue(const String& sValue);
    // Deletes the sub-key with everything below it; True exactly when all of it went. A name
    // that names no sub-key (empty, or only backslashes) deletes nothing and gives False.
    bool DeleteKey(const String& KeyName);
    // Creates `KeyName` below the key (or the key itself when the two are equal) and writes
    // one value when a name is given: -1 done, 0 not created, 1 or 2 (the creation's
    // disposition) when the write failed. Never raises.
    int16_t Create(const String& KeyName, const Variant& sKeyName, const String& sValue);

    void let_Default(const String&) {}
    String get_Default() const { return {}; }
    [[noreturn]] void let_ValueCount(const int16_t& vl);
    int16_t get_ValueCount() const { return valueCount_; }
    void let_AutoCreate(bool vData) { autoCreate_ = vData; }
    bool get_AutoCreate() const { return autoCreate_; }
    String get_key() const { return key_; }
    // Opens the key when a path is set; a failure is ignored and the values are not reloaded.
    void let_Root(int32_t vData);
    int32_t get_Root() const { return root_; }

    ~RegistryKey() override;

  protected:
    // `keyAccess` is what DeleteValue and the Root let open the key with; `loadAccess` what the
    // load opens it with when it may not create it.
    RegistryKey(ClassId id, const platform::Platform& platform, uint32_t keyAccess,
                uint32_t loadAccess);

    void CloseKey() { handle_.reset(); }
    bool OpenKey(uint32_t access);
    // The disposition (1 created, 2 opened); a refusal raises the class's own error.
    int16_t CreateEx();
    // Opens or creates the key, reads it through load() and closes it again. Any failure
    // raises RegErrorOpenFail, "GetKeyInfo", "Unable to open Key".
    void GetKeyInfo();
    // The Long result of the tree walk: 0 when the sub-key and everything below it went.
    // `depth` counts the levels walked down so far.
    int32_t DeleteKeyTree(const String& KeyName, int depth = 0);

    // Text leaves as code-page bytes with its terminator, and comes back from them.
    std::string textData(StringView text) const;
    String fromData(std::string_view bytes) const { return regional_.fromAnsi(bytes); }

    virtual uint32_t createAccess() const = 0;
    [[noreturn]] virtual void createFailed(int32_t code) const = 0;
    // Reads the open key's values (and sub-keys) into the class's own tables.
    virtual void load(const platform::RegKeyInfo& info) = 0;
    // Create's value write: True when written.
    virtual bool createValue(const Variant& name, const String& value) = 0;

    const platform::Registry& registry_;
    const platform::Regional& regional_;
    int32_t root_ = 0;
    String key_;
    bool autoCreate_ = true;
    int16_t valueCount_ = 0;
    uint32_t loadAccess_;
    platform::KeyOwner<> handle_;

  private:
    uint32_t keyAccess_;
};

}  // namespace brv

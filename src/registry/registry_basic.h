// CRegistryBasic: one registry key with its text values and sub-keys. Assigning the path loads
// the names and data of the key's leading REG_SZ values and the names of its sub-keys into two
// tables, each with one spare empty entry; the reading members answer from those tables.
#pragma once

#include <vector>

#include "registry/registry_key.h"

namespace brv {

class CRegistryBasic : public RegistryKey {
  public:
    explicit CRegistryBasic(const platform::Platform& platform);

    String GetName(int16_t iRequest) const;
    String GetSubKey(const int16_t& iIndex) const;
    // An Integer is a column (error 9 outside the table); anything else a name, any case.
    String GetValue(const Variant& vRequest) const;
    // Writes a REG_SZ value; False when the key cannot be opened. A refused write raises
    // -2147221504 + the platform's code.
    bool SetValue(const Variant& sKeyName, const String& sValue);
    void Refresh() { GetKeyInfo(); }
    // The platform's saved-key file; failures are not reported.
    void ExportKey(const String& strFilename);
    void ImportKey(const String& strFilename);

    void let_key(const String& vData);
    int16_t get_SubKeyCount() const { return subKeyCount_; }
    void let_SubKeyCount(int16_t iNewValue) { subKeyCount_ = iNewValue; }

  private:
    struct Column {
        String name;
        String data;
    };

    uint32_t createAccess() const override { return 63; }
    [[noreturn]] void createFailed(int32_t code) const override;
    void load(const platform::RegKeyInfo& info) override;
    bool createValue(const Variant& name, const String& value) override {
        return SetValue(name, value);
    }
    void loadValues(const platform::RegKeyInfo& info);
    void loadSubKeys(const platform::RegKeyInfo& info);
    // Opens the key with full access, hands the handle to `use` and closes it.
    template <typename F>
    void withKey(F use);

    int16_t subKeyCount_ = 0;
    std::vector<Column> values_{1};   // columns 0 to n, the last one spare
    std::vector<String> subKeys_{1};  // slot 0 stays empty
};

}  // namespace brv

// clsRegKeyData and colRegistry: the values of a loaded key as CRegistryAdvanced holds them, one
// record per value (its name, type and data) in a keyed collection. Neither is in the type
// library.
#pragma once

#include <array>
#include <memory>

#include "frame/collection.h"
#include "frame/object.h"

namespace brv {

// One value. It keeps one kind of data, chosen by DataType; the getters give a neutral result
// for the other types. REG_MULTI_SZ text is held as the platform delivers it: each item followed
// by a NUL, and one more NUL at the end.
class clsRegKeyData : public Object {
  public:
    explicit clsRegKeyData(const Locale& locale) : locale_(&locale) {}

    // Clients never reach a record late-bound.
    Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override;

    String get_Key() const { return key_; }
    void let_Key(const String& v) { key_ = v; }
    String get_Name() const { return name_; }
    void let_Name(const String& v) { name_ = v; }

    int32_t GetDataLong() const { return dataType_ == 4 ? longValue_ : 0; }
    uint8_t GetDataByte() const { return 0; }
    String GetDataStr() const;
    // Stores the items into `items` from position 0, whatever its lower bound (error 9 past
    // its end); returns the empty string.
    String GetDataMultiStr(Array& items) const;
    int16_t GetMultiStringCount() const;
    // Copies dta's elements 0 to its upper bound into the byte store (error 9 for an element
    // 0 that the array lacks, or past position 1000); what was copied before a failure stays.
    void SetData(const Array& dta);
    String GetData() const { return {}; }

    String get_StringValue() const { return stringValue_; }
    void let_StringValue(const String& v) { stringValue_ = v; }
    int32_t get_LongValue() const { return longValue_; }
    void let_LongValue(int32_t v) { longValue_ = v; }
    int16_t get_DataType() const { return dataType_; }
    void let_DataType(int16_t v) { dataType_ = v; }
    uint8_t get_ByteValue() const { return byteValue_; }
    void let_ByteValue(uint8_t v) { byteValue_ = v; }

    const std::array<uint8_t, 1001>& bytes() const { return bytes_; }

  private:
    const Locale* locale_;
    String key_;
    String name_;
    int16_t dataType_ = 0;
    String stringValue_;
    int32_t longValue_ = 0;
    uint8_t byteValue_ = 0;
    std::array<uint8_t, 1001> bytes_{};
};

class colRegistry {
  public:
    explicit colRegistry(const Locale& locale) : locale_(locale), items_(locale) {}

    // A record filed under `key` (not filed at all when `key` is empty). Types 1, 2 and 7 keep
    // Data as text, 4 as a Long, 3 nothing; the others keep the bytes of an array Data, and
    // nothing from Data of another kind.
    std::shared_ptr<clsRegKeyData> Add(const String& key, const String& Name, int32_t Typ,
                                       const Variant& Data);
    // A missing key or a position out of range raise 1200.
    std::shared_ptr<clsRegKeyData> Item(const Variant& index) const;
    int32_t Count() const { return items_.count(); }
    void Remove(const Variant& index) { items_.remove(index); }
    void clear() { items_.clear(); }
    Enumeration get_NewEnum() const { return Enumeration{items_.snapshot()}; }

  private:
    const Locale& locale_;
    Collection items_;
};

}  // namespace brv

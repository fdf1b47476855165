#include "registry/value_collection.h"

#include "frame/convert.h"
#include "frame/shared.h"

namespace brv {

namespace {

constexpr int16_t kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7;

bool isText(int32_t type) {
    return type == kSz || type == kExpandSz || type == kMultiSz;
}

}  // namespace

Variant clsRegKeyData::invoke(StringView, CallKind, std::span<Variant>) {
    raise(err::NoSuchMember);
}

String clsRegKeyData::GetDataStr() const {
    return isText(dataType_) ? stringValue_ : String{};
}

int16_t clsRegKeyData::GetMultiStringCount() const {
    if (dataType_ != kMultiSz) return 0;
    return static_cast<int16_t>(fnCountCharacter(GetDataStr(), StringView(u"\0", 1)) - 1);
}

String clsRegKeyData::GetDataMultiStr(Array& items) const {
    if (dataType_ != kMultiSz) return {};
    const String text = GetDataStr();
    String current;
    int32_t position = 0;
    for (char16_t c : text) {
        if (c != u'\0') {
            current += c;
            continue;
        }
        if (current.empty()) break;
        items.set(position++, Variant(current), *locale_);
        current.clear();
    }
    return {};
}

void clsRegKeyData::SetData(const Array& dta) {
    const int32_t upper = dta.ubound();
    for (int32_t n = 0; n <= upper; ++n) {
        const uint8_t b = toByte(dta.at(n), *locale_);
        if (n >= static_cast<int32_t>(bytes_.size())) raise(err::SubscriptOutOfRange);
        bytes_[static_cast<std::size_t>(n)] = b;
    }
}

std::shared_ptr<clsRegKeyData> colRegistry::Add(const String& key, const String& Name, int32_t Typ,
                                                const Variant& Data) {
    auto record = std::make_shared<clsRegKeyData>(locale_);
    record->let_Key(key);
    record->let_Name(Name);
    if (Typ < INT16_MIN || Typ > INT16_MAX) raise(err::Overflow);
    record->let_DataType(static_cast<int16_t>(Typ));
    if (isText(Typ)) {
        record->let_StringValue(toText(Data, locale_));
    } else if (Typ == kDword) {
        record->let_LongValue(toLong(Data, locale_));
    } else if (Typ != kBinary && Data.isArray()) {
        // Elements 0 to the upper bound minus one, into a buffer of positions 0 to 512. A
        // value of any other kind (the load hands over text for unusual types) keeps no data.
        const Array& from = Data.array();
        Array buffer(VarType::Byte, {Bound{0, 513}});
        for (int32_t n = 0; n < from.ubound(); ++n)
            buffer.set(n, Variant(toByte(from.at(n), locale_)), locale_);
        record->SetData(buffer);
    }
    if (!key.empty()) items_.add(Variant(ObjectRef(record)), key);
    return record;
}

std::shared_ptr<clsRegKeyData> colRegistry::Item(const Variant& index) const {
    try {
        return std::static_pointer_cast<clsRegKeyData>(items_.item(index).object());
    } catch (const Error& e) {
        if (e.number() == err::InvalidCall)
            raise(err::RegistryLookup, u"Registry Collection", u"Name not Found in Current Key");
        if (e.number() == err::SubscriptOutOfRange)
            raise(err::RegistryLookup, u"Registry Collection", u"Invalid Index");
        throw;
    }
}

}  // namespace brv

#include "frame/variant.h"

#include "frame/convert.h"

namespace brv {

Variant::Variant(Array a) : v_(Box<Array>(std::move(a))) {}

VarType Variant::type() const {
    switch (v_.index()) {
        case 0:
            return VarType::Empty;
        case 1:
            return VarType::Null;
        case 2:
            return VarType::Integer;
        case 3:
            return VarType::Long;
        case 4:
            return VarType::Single;
        case 5:
            return VarType::Double;
        case 6:
            return VarType::Currency;
        case 7:
            return VarType::Date;
        case 8:
            return VarType::String;
        case 9:
            return VarType::Object;
        case 10:
            return VarType::Error;
        case 11:
            return VarType::Boolean;
        case 12:
            return VarType::Byte;
        default:
            return array().elementType();
    }
}

bool Variant::isNumeric() const {
    switch (v_.index()) {
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 12:
            return true;
        default:
            return false;
    }
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.v_.index() != b.v_.index()) return false;
    if (a.isArray()) return a.array() == b.array();
    return a.v_ == b.v_;
}

Array::Array(VarType elementType, std::vector<Bound> bounds)
    : elementType_(elementType), bounds_(std::move(bounds)) {
    std::size_t total = bounds_.empty() ? 0 : 1;
    for (const auto& b : bounds_) {
        if (b.count < 0) raise(err::SubscriptOutOfRange);
        total *= static_cast<std::size_t>(b.count);
    }
    items_.assign(total, defaultOf(elementType_));
}

Array Array::vector(std::vector<Variant> items, int32_t lower, VarType elementType) {
    Array a(elementType);
    a.bounds_.push_back({lower, static_cast<int32_t>(items.size())});
    a.items_ = std::move(items);
    return a;
}

int32_t Array::lbound(int dim) const {
    if (dim < 1 || dim > dims()) raise(err::SubscriptOutOfRange);
    return bounds_[dim - 1].lower;
}

int32_t Array::ubound(int dim) const {
    if (dim < 1 || dim > dims()) raise(err::SubscriptOutOfRange);
    return bounds_[dim - 1].upper();
}

Variant& Array::at(int32_t index) {
    const int32_t idx[1] = {index};
    return at(idx);
}

const Variant& Array::at(int32_t index) const {
    return const_cast<Array*>(this)->at(index);
}

Variant& Array::at(std::span<const int32_t> indices) {
    if (indices.size() != bounds_.size()) raise(err::SubscriptOutOfRange);
    std::size_t offset = 0, stride = 1;
    for (std::size_t d = 0; d < bounds_.size(); ++d) {
        const int64_t rel = int64_t{indices[d]} - bounds_[d].lower;
        if (rel < 0 || rel >= bounds_[d].count) raise(err::SubscriptOutOfRange);
        offset += static_cast<std::size_t>(rel) * stride;
        stride *= static_cast<std::size_t>(bounds_[d].count);
    }
    return items_[offset];
}

void Array::set(int32_t index, Variant value, const Locale& locale) {
    Variant& slot = at(index);
    slot = convertTo(value, elementType_, locale);
}

void Array::redimPreserve(int32_t upper) {
    if (bounds_.size() > 1) raise(err::SubscriptOutOfRange);
    if (bounds_.empty()) bounds_.push_back({0, 0});
    const int64_t count = int64_t{upper} - bounds_[0].lower + 1;
    if (count < 0) raise(err::SubscriptOutOfRange);
    bounds_[0].count = static_cast<int32_t>(count);
    items_.resize(static_cast<std::size_t>(count), defaultOf(elementType_));
}

bool operator==(const Array& a, const Array& b) {
    if (a.elementType_ != b.elementType_ || a.bounds_.size() != b.bounds_.size()) return false;
    for (std::size_t i = 0; i < a.bounds_.size(); ++i)
        if (a.bounds_[i].lower != b.bounds_[i].lower || a.bounds_[i].count != b.bounds_[i].count)
            return false;
    return a.items_ == b.items_;
}

Variant defaultOf(VarType type) {
    switch (type) {
        case VarType::Integer:
            return Variant(int16_t{0});
        case VarType::Long:
            return Variant(int32_t{0});
        case VarType::Single:
            return Variant(0.0f);
        case VarType::Double:
            return Variant(0.0);
        case VarType::Currency:
            return Variant(Currency{});
        case VarType::Date:
            return Variant(Date{});
        case VarType::String:
            return Variant(String{});
        case VarType::Object:
            return Variant(nullptr);
        case VarType::Boolean:
            return Variant(false);
        case VarType::Byte:
            return Variant(uint8_t{0});
        default:
            return Variant();
    }
}

}  // namespace brv

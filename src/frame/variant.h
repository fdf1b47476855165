// The automation value model: Variant, arrays with bounds and element types, and late-bound
// object references. Values have value semantics (copying a Variant copies an array, as
// assignment does in the runtime); objects are shared by reference.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <variant>
#include <vector>

#include "frame/error.h"
#include "frame/locale.h"
#include "frame/text.h"

namespace brv {

// The automation type numbers (VARTYPE) of the types the library handles.
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
};

inline constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004);  // DISP_E_PARAMNOTFOUND

struct Null {
    friend bool operator==(Null, Null) = default;
};
struct Date {
    double serial = 0;  // days since 30 December 1899, fraction = time of day
    friend bool operator==(Date, Date) = default;
};
struct Currency {
    int64_t scaled = 0;  // value times 10000
    friend bool operator==(Currency, Currency) = default;
};
struct ErrorValue {
    int32_t scode = 0;
    friend bool operator==(ErrorValue, ErrorValue) = default;
};
struct Boolean {
    bool value = false;
    friend bool operator==(Boolean, Boolean) = default;
};

class Object;
using ObjectRef = std::shared_ptr<Object>;
class Array;

// Value-semantic heap box, so that a Variant can hold an Array by value.
template <typename T>
class Box {
  public:
    explicit Box(T value) : ptr_(std::make_unique<T>(std::move(value))) {}
    Box(const Box& other) : ptr_(std::make_unique<T>(*other.ptr_)) {}
    Box(Box&&) noexcept = default;
    Box& operator=(const Box& other) {
        if (this != &other) ptr_ = std::make_unique<T>(*other.ptr_);
        return *this;
    }
    Box& operator=(Box&&) noexcept = default;
    T& operator*() { return *ptr_; }
    const T& operator*() const { return *ptr_; }
    T* operator->() { return ptr_.get(); }
    const T* operator->() const { return ptr_.get(); }
    friend bool operator==(const Box& a, const Box& b) { return *a.ptr_ == *b.ptr_; }

  private:
    std::unique_ptr<T> ptr_;
};

class Variant {
  public:
    Variant() = default;  // Empty
    Variant(Null) : v_(Null{}) {}
    Variant(int16_t i) : v_(i) {}
    Variant(int32_t l) : v_(l) {}
    Variant(float f) : v_(f) {}
    Variant(double d) : v_(d) {}
    Variant(Currency c) : v_(c) {}
    Variant(Date d) : v_(d) {}
    Variant(String s) : v_(std::move(s)) {}
    Variant(StringView s) : v_(String(s)) {}
    Variant(const char16_t* s) : v_(String(s)) {}
    Variant(ObjectRef o) : v_(std::move(o)) {}
    Variant(std::nullptr_t) : v_(ObjectRef{}) {}  // Nothing
    Variant(ErrorValue e) : v_(e) {}
    Variant(Boolean b) : v_(b) {}
    Variant(bool b) : v_(Boolean{b}) {}
    Variant(uint8_t b) : v_(b) {}
    Variant(Array a);

    static Variant missing() { return Variant(ErrorValue{kParamNotFound}); }

    // The scalar type, or VarType::Empty..Byte; arrays report isArray() and their element type.
    VarType type() const;
    bool isEmpty() const { return v_.index() == 0; }
    bool isNull() const { return std::holds_alternative<Null>(v_); }
    bool isMissing() const {
        auto e = std::get_if<ErrorValue>(&v_);
        return e && e->scode == kParamNotFound;
    }
    bool isString() const { return std::holds_alternative<String>(v_); }
    bool isObject() const { return std::holds_alternative<ObjectRef>(v_); }
    bool isArray() const { return std::holds_alternative<Box<Array>>(v_); }
    bool isNumeric() const;  // Integer, Long, Single, Double, Currency, Byte (not Boolean, Date)

    // Raw access to a held type; the caller checks the type first (anything else is a bug).
    int16_t integer() const { return std::get<int16_t>(v_); }
    int32_t lng() const { return std::get<int32_t>(v_); }
    float single() const { return std::get<float>(v_); }
    double dbl() const { return std::get<double>(v_); }
    Currency currency() const { return std::get<Currency>(v_); }
    Date date() const { return std::get<Date>(v_); }
    const String& str() const { return std::get<String>(v_); }
    String& str() { return std::get<String>(v_); }
    const ObjectRef& object() const { return std::get<ObjectRef>(v_); }
    ErrorValue error() const { return std::get<ErrorValue>(v_); }
    bool boolean() const { return std::get<Boolean>(v_).value; }
    uint8_t byte() const { return std::get<uint8_t>(v_); }
    const Array& array() const { return *std::get<Box<Array>>(v_); }
    Array& array() { return *std::get<Box<Array>>(v_); }

    // Same type and same value (arrays element by element, objects by identity).
    friend bool operator==(const Variant& a, const Variant& b);

  private:
    std::variant<std::monostate, Null, int16_t, int32_t, float, double, Currency, Date, String,
                 ObjectRef, ErrorValue, Boolean, uint8_t, Box<Array>>
        v_;
};

struct Bound {
    int32_t lower = 0;
    int32_t count = 0;
    int32_t upper() const { return lower + count - 1; }
};

// A SAFEARRAY in core form: element type, bounds per dimension (first dimension first) and
// the elements, the first index varying fastest. Every element conforms to the element type.
class Array {
  public:
    explicit Array(VarType elementType = VarType::Variant) : elementType_(elementType) {}
    Array(VarType elementType, std::vector<Bound> bounds);

    // One dimension from `lower` holding `items`; their type is taken as they are.
    static Array vector(std::vector<Variant> items, int32_t lower = 0,
                        VarType elementType = VarType::Variant);

    VarType elementType() const { return elementType_; }
    int dims() const { return static_cast<int>(bounds_.size()); }
    const std::vector<Bound>& bounds() const { return bounds_; }
    std::size_t size() const { return items_.size(); }

    // LBound/UBound of dimension `dim` (1-based); error 9 for a dimension the array lacks.
    int32_t lbound(int dim = 1) const;
    int32_t ubound(int dim = 1) const;

    // Element of a one-dimensional array by index; error 9 outside the bounds.
    Variant& at(int32_t index);
    const Variant& at(int32_t index) const;
    // Element by one index per dimension; error 9 outside the bounds.
    Variant& at(std::span<const int32_t> indices);

    // Store with conversion to the element type (error 13 where it cannot convert).
    // Stores the value converted to the element type (dates to and from text under `locale`).
    void set(int32_t index, Variant value, const Locale& locale);

    // ReDim Preserve of a one-dimensional array: new upper bound, lower bound kept.
    void redimPreserve(int32_t upper);

    std::vector<Variant>& items() { return items_; }
    const std::vector<Variant>& items() const { return items_; }

    friend bool operator==(const Array& a, const Array& b);

  private:
    VarType elementType_;
    std::vector<Bound> bounds_;
    std::vector<Variant> items_;
};

// The neutral value of an element type: Empty, 0, "", False...
Variant defaultOf(VarType type);

}  // namespace brv

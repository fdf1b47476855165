// Late-bound objects: anything a client can hand us (a form control, a collection) or that we
// hand out. The binding layer implements Object over IDispatch; tests implement it natively.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "frame/variant.h"

namespace brv {

enum class CallKind { Method = 1, PropertyGet = 2, PropertyLet = 4, PropertySet = 8 };

class Object {
  public:
    virtual ~Object() = default;

    // One late-bound call by member name; the empty name is the default member. For lets and
    // sets the new value is the last argument. A missing member raises error 438.
    virtual Variant invoke(StringView name, CallKind kind, std::span<Variant> args) = 0;

    Variant get(StringView name, std::initializer_list<Variant> args = {});
    void let(StringView name, Variant value);
    void set(StringView name, Variant value);
    Variant call(StringView name, std::initializer_list<Variant> args = {});
    Variant defaultValue() { return get(u""); }
};

}  // namespace brv

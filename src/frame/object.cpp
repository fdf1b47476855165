#include "frame/object.h"

namespace brv {

Variant Object::get(StringView name, std::initializer_list<Variant> args) {
    std::vector<Variant> v(args);
    return invoke(name, CallKind::PropertyGet, v);
}

void Object::let(StringView name, Variant value) {
    Variant v[1] = {std::move(value)};
    invoke(name, CallKind::PropertyLet, v);
}

void Object::set(StringView name, Variant value) {
    Variant v[1] = {std::move(value)};
    invoke(name, CallKind::PropertySet, v);
}

Variant Object::call(StringView name, std::initializer_list<Variant> args) {
    std::vector<Variant> v(args);
    return invoke(name, CallKind::Method, v);
}

}  // namespace brv

// The class bindings: one per adapter file in classes/, each written there with
// BREVANTO_BIND_CLASS, declared here from the roster's list of classes.
#pragma once

#include "com/object.h"
#include "com/server.h"

namespace brv::com {

#define BREVANTO_DECLARE_BINDING(name, creatable) extern const ClassBinding k##name##Binding;
BREVANTO_CLASSES(BREVANTO_DECLARE_BINDING)
#undef BREVANTO_DECLARE_BINDING

// The binding of core class `name` through its adapter `Wrapper`: its CLSID and interface are
// the coclass `name` and the interface `_name` of the type library.
#define BREVANTO_BIND_CLASS(name, Wrapper)                                                    \
    const ClassBinding k##name##Binding{ClassId::name, &__uuidof(::name), &__uuidof(_##name), \
                                        &Bind<Wrapper, name>::wrap, &Bind<Wrapper, name>::create};

}  // namespace brv::com

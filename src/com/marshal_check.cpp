// Compile-time check that every pairing of a COM argument type with a core parameter type that
// the adapters use has its conversions; nothing here runs.
#include "com/idl.h"
#include "com/marshal.h"
#include "frame/roster.h"

namespace brv::com {
namespace {

struct Probe : ClassObject {
    Probe() : ClassObject(ClassId::clsCommandParam) {}
};

template <typename P, typename C>
void arg(C c) {
    Arg<P, C> a(c);
    (void)a.get();
    a.finish();
}

[[maybe_unused]] void instantiate() {
    arg<const String&>(BSTR{});
    arg<const String&>(static_cast<BSTR*>(nullptr));
    arg<String&>(static_cast<BSTR*>(nullptr));
    arg<int16_t>(short{});
    arg<int16_t&>(static_cast<short*>(nullptr));
    arg<int32_t>(long{});
    arg<int32_t&>(static_cast<long*>(nullptr));
    arg<int32_t>(kupEnumRootValues{});
    arg<int32_t&>(static_cast<kupEnumFileOperationFlags*>(nullptr));
    arg<uint8_t&>(static_cast<unsigned char*>(nullptr));
    arg<bool>(VARIANT_BOOL{});
    arg<bool&>(static_cast<VARIANT_BOOL*>(nullptr));
    arg<double>(double{});
    arg<Date&>(static_cast<DATE*>(nullptr));
    arg<const Variant&>(VARIANT{});
    arg<Variant&>(static_cast<VARIANT*>(nullptr));
    arg<ObjectRef>(static_cast<IDispatch*>(nullptr));
    arg<ObjectRef>(static_cast<IDispatch**>(nullptr));
    arg<Array&>(static_cast<SAFEARRAY**>(nullptr));

    store(String(), static_cast<BSTR*>(nullptr), true);
    store(int16_t{}, static_cast<short*>(nullptr), true);
    store(int32_t{}, static_cast<long*>(nullptr), true);
    store(int32_t{}, static_cast<kupEnumRootValues*>(nullptr), true);
    store(uint8_t{}, static_cast<unsigned char*>(nullptr), true);
    store(true, static_cast<VARIANT_BOOL*>(nullptr), true);
    store(0.0, static_cast<double*>(nullptr), true);
    store(Date{}, static_cast<DATE*>(nullptr), true);
    store(Variant(), static_cast<VARIANT*>(nullptr), true);
    store(ObjectRef(), static_cast<IDispatch**>(nullptr), true);
    store(Enumeration{}, static_cast<IUnknown**>(nullptr), true);
    store(std::shared_ptr<Probe>(), static_cast<_clsCommandParam**>(nullptr), true);
}

}  // namespace
}  // namespace brv::com

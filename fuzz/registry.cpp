// The registry key classes loading a key of the in-memory registry that the fuzzer fills with
// names, types and data of its choice (and whose calls it may make fail), then reading and
// changing it. Every key a class opens must be closed again once it is gone.
#include "fuzz_support.h"
#include "platform/native/memory_registry.h"
#include "registry/registry_advanced.h"
#include "registry/registry_basic.h"

namespace {

using namespace fuzz;
using brv::platform::MemoryRegistry;
using brv::platform::RegKey;

constexpr int32_t kHkcu = static_cast<int32_t>(0x80000001);
constexpr StringView kWords[] = {u"A", u"b", u"\\", u" ", u"<DEFAULT>", u"%", u"\0", u"Key"};
constexpr StringView kKey = u"Software\\BrevantoTests\\fuzz";

void fill(Input& in, const MemoryRegistry& reg) {
    RegKey k = 0;
    uint32_t disposition = 0;
    if (reg.createKey(kHkcu, kKey, u"", 0, 63, k, disposition) != 0) return;
    for (int i = in.choice(12); i > 0; --i) {
        const String name = in.text(kWords, 6);
        const uint32_t type = in.choice(4) ? in.number<uint32_t>(0, 11) : in.any<uint32_t>();
        std::string bytes = in.provider().ConsumeRandomLengthString(64);
        reg.setValue(k, name, type, bytes);
    }
    for (int i = in.choice(5); i > 0; --i) {
        RegKey sub = 0;
        if (reg.createKey(k, in.text(kWords, 4), u"", 0, 63, sub, disposition) == 0)
            reg.closeKey(sub);
    }
    reg.closeKey(k);
}

template <typename C>
void call(Input& in, C& c);

template <typename C>
void use(Input& in, C& c) {
    attempt([&] { c.let_Root(in.choice(6) ? kHkcu : in.any<int32_t>()); });
    attempt([&] { c.let_key(in.choice(4) ? String(kKey) : in.text(kWords, 6)); });
    for (int step = 0; step < 10 && in.more(); ++step) attempt([&] { call(in, c); });
}

template <typename C>
void call(Input& in, C& c) {
    {
        switch (in.choice(9)) {
            case 0:
                c.GetName(in.number<int16_t>(-1, 14));
                break;
            case 1:
                c.GetValue(in.choice(3) ? Variant(in.number<int16_t>(-1, 14)) : in.value(kWords));
                break;
            case 2:
                c.DeleteValue(in.text(kWords, 4));
                break;
            case 3:
                c.DeleteKey(in.text(kWords, 4));
                break;
            case 4:
                c.Create(in.text(kWords, 4), in.value(kWords), in.text(kWords, 4));
                break;
            case 5:
                c.let_AutoCreate(in.flag());
                c.let_key(in.text(kWords, 6));
                break;
            case 6:
                c.let_Root(in.pick<int32_t>({kHkcu, 0, static_cast<int32_t>(0x80000002), -1}));
                break;
            case 7:
                c.get_ValueCount();
                break;
            default:
                if constexpr (std::is_same_v<C, brv::CRegistryBasic>) {
                    c.GetSubKey(in.number<int16_t>(-1, 8));
                    c.SetValue(in.value(kWords), in.text(kWords, 4));
                    c.Refresh();
                } else {
                    c.let_Access(in.pick<int32_t>({0, 1, 0x20019, 0xF003F}));
                    c.SetValue(in.value(kWords), in.value(kWords),
                               in.choice(3) ? in.number<int32_t>(0, 11) : in.any<int32_t>());
                }
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    MemoryRegistry reg;
    fill(in, reg);
    // Optionally one call of one kind fails with a code of the fuzzer's choice.
    if (in.choice(3) == 0) {
        const auto op = static_cast<MemoryRegistry::Op>(in.number<int>(0, 9));
        const int32_t code = in.pick<int32_t>({2, 5, 6, 87, 234, 259, 1010, 1018});
        const int nth = in.number<int>(0, 4);
        reg.setFault(
            [op, code, nth, seen = 0](MemoryRegistry::Op o, StringView, StringView) mutable {
                return o == op && seen++ == nth ? code : 0;
            });
    }
    brv::platform::Platform p = standIns();
    p.registry = &reg;
    {
        if (in.flag()) {
            brv::CRegistryBasic c(p);
            use(in, c);
        } else {
            brv::CRegistryAdvanced c(p);
            use(in, c);
        }
    }
    if (reg.openKeys() != 0) finding("registry keys left open:", std::to_string(reg.openKeys()));
    return 0;
}

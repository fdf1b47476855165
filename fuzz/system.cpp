// Win32API.StripTerminator, GetUNCPath and FileOperation over the stand-in machine, whose
// network and shell answers the fuzzer chooses. The stand-in's shell touches no file.
#include "platform/native/system.h"

#include "fuzz_support.h"
#include "system/win32_api.h"

namespace {

using namespace fuzz;
using brv::platform::StandInSystem;

constexpr StringView kWords[] = {u"\0", u" ", u"C",    u"Z",  u":",
                                 u"\\", u"a", u"\0\0", u"X:", u"\\\\server\\share"};

void machine(Input& in, StandInSystem& s) {
    for (int i = in.choice(3); i > 0; --i)
        s.connections[in.pick<std::string>({"X:", "Z:", "C:", ""})] =
            in.provider().ConsumeRandomLengthString(300);
    if (in.choice(3) == 0) {
        s.connectionFailure = in.pick<uint32_t>({50, 234, 1200, 1201, 1203, 1208, 1222, 2250, 5});
        s.connectionNeeded = in.choice(3) ? in.number<uint32_t>(0, 600) : in.any<uint32_t>();
    }
    s.fileOperationAnswer = {in.pick<int32_t>({0, 0, 124, 1223, 2, -1}),
                             in.pick<uint32_t>({0, 5, 87, 206, 1223})};
}

void call(Input& in, brv::Win32API& api) {
    switch (in.choice(3)) {
        case 0:
            api.StripTerminator(in.choice(12) ? in.text(kWords, 24) : in.longText());
            break;
        case 1: {
            String drive = in.text(kWords, 4), server = in.text(kWords, 2),
                   share = in.text(kWords, 2);
            api.GetUNCPath(drive, server, share);
            break;
        }
        default: {
            String from = in.text(kWords, 12), to = in.text(kWords, 12);
            if (in.choice(20) == 0) from = in.longText(300);
            int32_t flags =
                in.choice(3) ? in.pick<int32_t>({0, 16, 528, 65535, 65536}) : in.any<int32_t>();
            api.FileOperation(in.any<int32_t>(),
                              in.choice(3) ? in.number<int32_t>(0, 5) : in.any<int32_t>(), from, to,
                              flags);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    StandInSystem system;
    machine(in, system);
    brv::platform::Platform p = standIns();
    p.system = &system;
    brv::Win32API api(p);
    for (int step = 0; step < 8 && in.more(); ++step) attempt([&] { call(in, api); });
    return 0;
}

// The native stand-ins for the desktop services. There is no window system here: a message goes
// to the standard error stream and counts as answered with OK, and the pointer has no windows to
// show over.
#include <cstdio>
#include <ctime>

#include "frame/calendar.h"
#include "platform/host.h"

namespace brv::platform {

int HostMessages::showMessage(StringView text, StringView caption) const {
    std::fprintf(stderr, "[%s] %s\n", toUtf8(caption).c_str(), toUtf8(text).c_str());
    return 1;  // IDOK
}

void HostMousePointer::setPointer(int) const {}

double HostClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return dateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           timeSerial(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace brv::platform

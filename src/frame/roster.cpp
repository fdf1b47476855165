#include "frame/roster.h"

namespace brv {

namespace {
// The programmatic identifier is the library's name, a dot and the class's name.
constexpr std::array<ClassInfo, kClassCount> kRoster{{
#define BREVANTO_ROSTER_ENTRY(name, creatable) \
    {ClassId::name, u"" #name, creatable, u"_" #name, u"" BREVANTO_LIBRARY_NAME "." #name},
    BREVANTO_CLASSES(BREVANTO_ROSTER_ENTRY)
#undef BREVANTO_ROSTER_ENTRY
}};
}  // namespace

std::span<const ClassInfo> classRoster() {
    return kRoster;
}

const ClassInfo& classInfo(ClassId id) {
    return kRoster[static_cast<std::size_t>(id)];
}

Variant ClassObject::invoke(StringView, CallKind, std::span<Variant>) {
    raise(err::NoSuchMember);
}

}  // namespace brv

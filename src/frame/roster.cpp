#include "frame/roster.h"

namespace brv {

namespace {
constexpr std::array<ClassInfo, 13> kRoster{{
    {ClassId::Win32API, u"Win32API", true, u"_Win32API", u"Brevanto.Win32API"},
    {ClassId::ArrayHelper, u"ArrayHelper", true, u"_ArrayHelper", u"Brevanto.ArrayHelper"},
    {ClassId::DateHelper, u"DateHelper", true, u"_DateHelper", u"Brevanto.DateHelper"},
    {ClassId::VBObjectHelper, u"VBObjectHelper", true, u"_VBObjectHelper",
     u"Brevanto.VBObjectHelper"},
    {ClassId::OS32Helper, u"OS32Helper", true, u"_OS32Helper", u"Brevanto.OS32Helper"},
    {ClassId::TextHelper, u"TextHelper", true, u"_TextHelper", u"Brevanto.TextHelper"},
    {ClassId::CRegistryAdvanced, u"CRegistryAdvanced", true, u"_CRegistryAdvanced",
     u"Brevanto.CRegistryAdvanced"},
    {ClassId::CDialog, u"CDialog", true, u"_CDialog", u"Brevanto.CDialog"},
    {ClassId::CRegistryBasic, u"CRegistryBasic", true, u"_CRegistryBasic",
     u"Brevanto.CRegistryBasic"},
    {ClassId::SQLRoutines, u"SQLRoutines", true, u"_SQLRoutines", u"Brevanto.SQLRoutines"},
    {ClassId::clsCommandParam, u"clsCommandParam", false, u"_clsCommandParam",
     u"Brevanto.clsCommandParam"},
    {ClassId::CommandParams, u"CommandParams", true, u"_CommandParams", u"Brevanto.CommandParams"},
    {ClassId::ArrayCollectionHelper, u"ArrayCollectionHelper", true, u"_ArrayCollectionHelper",
     u"Brevanto.ArrayCollectionHelper"},
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

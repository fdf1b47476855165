// TextHelper.BooleanSearch: the search phrase translator with any phrase, field name, wildcard
// position and wildcard character.
#include "fuzz_support.h"
#include "text/text_helper.h"

namespace {

using namespace fuzz;

constexpr StringView kWords[] = {u" ",  u"  ", u"AND ", u"OR ", u"NOT ", u"and", u"or",
                                 u"\"", u"'",  u"(",    u")",   u"*",    u"%",   u"+",
                                 u"-",  u"x",  u"word", u",",   u"&",    u"|"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    brv::TextHelper t(standIns());
    const String phrase = in.choice(16) ? in.text(kWords, 40) : in.longText(32740);
    const String field = in.pick<String>({u"Name", u"[Last Name]", u"", u"t.x"});
    const int32_t position = in.choice(4) ? in.number<int32_t>(0, 5) : in.any<int32_t>();
    const String wildcard = in.choice(4) ? String(u"%") : in.text(kWords, 2);
    attempt([&] { t.BooleanSearch(phrase, field, position, wildcard); });
    return 0;
}

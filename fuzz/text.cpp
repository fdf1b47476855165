// Every TextHelper member with any arguments: texts near the 16-bit limits, every value type
// where a Variant is taken, numbers at the edges of their types.
#include "fuzz_support.h"
#include "text/text_helper.h"

namespace {

using namespace fuzz;

constexpr StringView kWords[] = {u" ", u"  ", u"\"", u"'",  u"\n", u"\r\n", u"\r",
                                 u"a", u"Z",  u"%",  u"\\", u"/",  u":",    u"*",
                                 u"?", u"|",  u"<",  u">",  u"\t", u"\0"};

String text(Input& in, std::size_t pieces = 24) {
    return in.choice(12) ? in.text(kWords, pieces) : in.longText();
}

void call(Input& in, brv::TextHelper& t) {
    switch (in.choice(18)) {
        case 0:
            t.CharacterCount(text(in), in.text(kWords, 2));
            break;
        case 1:
            t.ReplaceQuotesWithConstant(text(in), in.text(kWords, 4));
            break;
        case 2:
            t.RemoveExtraSpaces(text(in));
            break;
        case 3:
            t.RemoveAllSpaces(text(in));
            break;
        case 4:
            t.EmptyStringToNull(text(in));
            break;
        case 5:
            t.NullToZ(in.value(kWords), in.value(kWords));
            break;
        case 6:
            t.NumberToLetter(in.any<uint8_t>());
            break;
        case 7:
            t.LetterToNumber(in.text(kWords, 3));
            break;
        case 8:
            t.ReplaceText(text(in), in.text(kWords, 3), in.text(kWords, 3));
            break;
        case 9:
            t.ReplaceChr10withCrLf(in.flag() ? Variant(text(in)) : in.value(kWords));
            break;
        case 10:
            t.LetterGrouping(in.text(kWords, 2),
                             in.choice(4) ? in.number<int16_t>(-2, 30) : in.any<int16_t>(),
                             in.choice(4) ? in.number<int32_t>(0, 3) : in.any<int32_t>());
            break;
        case 11:
            t.BooleanSearch(in.text(kWords, 12), u"F", in.number<int32_t>(0, 5),
                            in.text(kWords, 2));
            break;
        case 12:
            t.ReplaceInvalidCharacters(text(in));
            break;
        case 13:
            t.Round(in.value(kWords), in.any<uint8_t>());
            break;
        case 14:
            t.RoundMillions(in.value(kWords), in.any<uint8_t>());
            break;
        case 15:
            t.PadString(text(in), in.choice(4) ? in.number<int16_t>(-1, 40) : in.any<int16_t>());
            break;
        default:
            t.SQLHandleQuotesAndApostrophes(text(in), in.number<int32_t>(0, 5), in.text(kWords, 2));
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    brv::TextHelper t(standIns());
    for (int step = 0; step < 8 && in.more(); ++step) attempt([&] { call(in, t); });
    return 0;
}

#include "text/text_helper.h"

#include <cmath>

#include "frame/convert.h"
#include "frame/error.h"
#include "frame/shared.h"
#include "sql/search_translator.h"

namespace brv {

namespace {

constexpr StringView kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char16_t kQuote = u'"';
constexpr std::size_t kLastIntegerPosition = 32767;

// A position held in an Integer: the text being built must not put a found character beyond it.
void checkPosition(std::size_t position) {
    if (position > kLastIntegerPosition) raise(err::Overflow);
}

double roundThroughLong(double value, uint8_t places) {
    const double scale = std::pow(10.0, places);
    return roundToLong(value * scale) / scale;
}

}  // namespace

String TextHelper::CharacterCount(const String& SearchString, const String& SearchCharacter) {
    return numberText(int64_t{fnCountCharacter(SearchString, SearchCharacter)});
}

String TextHelper::ReplaceQuotesWithConstant(const String& TextToRepair,
                                             const String& QuoteConstantName) {
    if (TextToRepair.find(kQuote) == String::npos) return TextToRepair;

    const String replacement = String(1, kQuote) + u" & " + QuoteConstantName + u" & " + kQuote;
    const StringView w = trimSpaces(TextToRepair);
    // The search resumes behind each inserted constant, so every quote of the input is replaced
    // exactly once and none inside the constant is seen: one pass does the same.
    String out;
    out.reserve(w.size() + replacement.size() * 2);
    for (const char16_t c : w) {
        if (c == kQuote) {
            // The search goes on behind the constant, a position held in an Integer too.
            checkPosition(out.size() + 1 + replacement.size());
            out += replacement;
        } else {
            out.push_back(c);
        }
    }

    StringView r = trimSpaces(out);
    if (r.substr(0, 3) == u"\" &") r = trimSpaces(r.substr(3));
    if (r.size() >= 3 && r.substr(r.size() - 3) == u"& \"")
        r = trimSpaces(r.substr(0, r.size() - 3));
    return String(r);
}

String TextHelper::RemoveExtraSpaces(const String& TextToRepair) {
    // The first run of two or more spaces keeps one space and trims the whole rest of the text;
    // from there on the rest holds no leading or trailing spaces, so each later run only
    // shrinks to one space.
    const auto run = TextToRepair.find(u"  ");
    if (run == String::npos) return TextToRepair;
    String out(TextToRepair, 0, run + 1);
    bool lastWasSpace = false;
    for (const char16_t c : trimSpaces(StringView(TextToRepair).substr(run))) {
        if (c == u' ' && lastWasSpace) continue;
        lastWasSpace = c == u' ';
        out.push_back(c);
    }
    return out;
}

String TextHelper::RemoveAllSpaces(const String& TextToRepair) {
    String out;
    out.reserve(TextToRepair.size());
    for (const char16_t c : TextToRepair)
        if (c != u' ') out.push_back(c);
    return out;
}

Variant TextHelper::EmptyStringToNull(const String& StringToFix) {
    if (StringToFix.empty()) return Null{};
    return StringToFix;
}

Variant TextHelper::NullToZ(const Variant& VariantValue, const Variant& ReturnValueIfNull) {
    return VariantValue.isNull() ? ReturnValueIfNull : VariantValue;
}

String TextHelper::NumberToLetter(uint8_t NumberToConvert) {
    if (NumberToConvert == 0) raise(err::InvalidCall);
    if (NumberToConvert > kAlphabet.size()) return {};
    return String(1, kAlphabet[NumberToConvert - 1u]);
}

uint8_t TextHelper::LetterToNumber(const String& LetterToConvert) {
    if (LetterToConvert.empty()) return 1;
    if (LetterToConvert.size() > kAlphabet.size()) return 0;
    for (std::size_t i = 0; i + LetterToConvert.size() <= kAlphabet.size(); ++i) {
        if (compareStrings(kAlphabet.substr(i, LetterToConvert.size()), LetterToConvert,
                           CompareMode::Text, locale_) == 0)
            return static_cast<uint8_t>(i + 1);
    }
    return 0;
}

String TextHelper::ReplaceText(const String& TextToFix, const String& CharToReplace,
                               const String& NewChar) {
    return fnReplaceText(TextToFix, CharToReplace, NewChar);
}

Variant TextHelper::ReplaceChr10withCrLf(const Variant& TextToFix) {
    const String text = joinText(TextToFix, locale_);
    if (text.empty()) return TextToFix;
    String out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            checkPosition(out.size() + 1);
            if (i == 0 || text[i - 1] != u'\r') out.push_back(u'\r');
        }
        out.push_back(c);
    }
    return out;
}

String TextHelper::LetterGrouping(const String& StartingLetter, int16_t GroupLength,
                                  int32_t ReturnCase) {
    // A length of 0 would look at the same empty group for ever.
    if (GroupLength <= 0) raise(err::InvalidCall);
    const auto length = static_cast<std::size_t>(GroupLength);
    // Past the alphabet every group is empty and matches nothing, until the Integer walk
    // overflows.
    for (std::size_t i = 0; i < kAlphabet.size(); i += length) {
        const StringView group = kAlphabet.substr(i, length);
        if (group.find(StartingLetter) == StringView::npos) continue;
        String result(group);
        if (ReturnCase != kupUpperCase)
            for (auto& c : result) c = static_cast<char16_t>(c + (u'a' - u'A'));
        return result;
    }
    raise(err::Overflow);
}

String TextHelper::BooleanSearch(const String& SearchText, const String& TableFieldName,
                                 int32_t WildCardPosition, const String& WildCardCharacter) {
    return translateSearch(SearchText, TableFieldName, WildCardPosition, WildCardCharacter);
}

String TextHelper::ReplaceInvalidCharacters(const String& Filename) {
    asInteger(Filename.size());
    String out = Filename;
    for (auto& c : out) {
        switch (c) {
            case u'\\':
            case u'/':
            case u':':
            case u'*':
            case u'?':
            case u'|':
            case u'"':
            case u'<':
            case u'>':
                c = u'-';
                break;
            default:
                break;
        }
    }
    return out;
}

double TextHelper::Round(const Variant& NumberToRound, uint8_t DecimalPlaces) {
    if (NumberToRound.isNull()) return 0;
    return roundThroughLong(toDouble(NumberToRound, locale_), DecimalPlaces);
}

double TextHelper::RoundMillions(const Variant& NumberToRound, uint8_t DecimalPlaces) {
    if (NumberToRound.isNull()) return 0;
    return roundThroughLong(toDouble(NumberToRound, locale_) / 1000000.0, DecimalPlaces);
}

String TextHelper::PadString(const String& StringToPad, int16_t Length) {
    if (Length < 0) raise(err::InvalidCall);
    String out = StringToPad.substr(0, static_cast<std::size_t>(Length));
    out.resize(static_cast<std::size_t>(Length), u' ');
    return out;
}

String TextHelper::SQLHandleQuotesAndApostrophes(const String& StringToConvert,
                                                 int32_t WildCardPosition,
                                                 const String& WildCardCharacter) {
    String s;
    s.reserve(StringToConvert.size() + 8);
    for (const char16_t c : StringToConvert) {
        if (c == u'\'') {
            checkPosition(s.size() + 1 + 2);  // where the search goes on
            s.push_back(c);
        }
        s.push_back(c);
    }
    switch (WildCardPosition) {
        case kupWildCardNone:
            return u"'" + s + u"'";
        case kupWildCardAfter:
            return u"'" + s + WildCardCharacter + u"'";
        case kupWildCardBefore:
            return u"'" + WildCardCharacter + s + u"'";
        case kupWildCardBeforeAndAfter:
            return u"'" + WildCardCharacter + s + WildCardCharacter + u"'";
        default:
            return {};
    }
}

}  // namespace brv

// TextHelper: string and number functions for database front-ends. Stateless; no member writes
// its by-reference parameters back.
#pragma once

#include "frame/roster.h"
#include "platform/platform.h"
#include "sql/wildcard_position.h"

namespace brv {

// kupEnumCase
enum CaseKind : int32_t {
    kupUpperCase = 1,
    kupLowerCase = 2,
};

class TextHelper : public ClassObject {
  public:
    explicit TextHelper(const platform::Platform& platform)
        : ClassObject(ClassId::TextHelper), locale_(*platform.regional) {}

    // The count as decimal text. Error 6 for a text longer than 32767 characters.
    String CharacterCount(const String& SearchString, const String& SearchCharacter);

    // Each double quote becomes `" & name & "`; leading `" &` and trailing `& "` are dropped.
    // A text without quotes comes back untouched. Error 6 for a quote found beyond position
    // 32767 of the text being built.
    String ReplaceQuotesWithConstant(const String& TextToRepair,
                                     const String& QuoteConstantName = u"cstrQuote");

    // Collapses runs of spaces to one. From the first run on, the text also loses its trailing
    // spaces, except the one space the first run keeps when it ends the text.
    String RemoveExtraSpaces(const String& TextToRepair);
    String RemoveAllSpaces(const String& TextToRepair);

    Variant EmptyStringToNull(const String& StringToFix);
    Variant NullToZ(const Variant& VariantValue, const Variant& ReturnValueIfNull);

    // 1 to 26 give "A" to "Z", 27 to 255 the empty string, 0 error 5.
    String NumberToLetter(uint8_t NumberToConvert);
    // Position in the alphabet (case-insensitive), 0 when absent, 1 for the empty text.
    uint8_t LetterToNumber(const String& LetterToConvert);

    // The shared replace routine, trimming quirk included.
    String ReplaceText(const String& TextToFix, const String& CharToReplace, const String& NewChar);

    // Every LF not preceded by CR becomes CR LF. Empty, Null and "" come back unchanged. Error 6
    // for an LF that ends up beyond position 32767.
    Variant ReplaceChr10withCrLf(const Variant& TextToFix);

    // The group of GroupLength letters ("ABCDE", "FGHIJ", ...) that holds StartingLetter.
    // Error 6 when no group holds it, error 5 for a length below 1.
    String LetterGrouping(const String& StartingLetter, int16_t GroupLength, int32_t ReturnCase);

    String BooleanSearch(const String& SearchText, const String& TableFieldName,
                         int32_t WildCardPosition = kupWildCardBeforeAndAfter,
                         const String& WildCardCharacter = u"%");

    // \ / : * ? | " < > each become "-". Error 6 for a text longer than 32767 characters.
    String ReplaceInvalidCharacters(const String& Filename);

    // Half to even through a Long: error 6 outside its range, 13 for a value that is not a
    // number; Null gives 0.
    double Round(const Variant& NumberToRound, uint8_t DecimalPlaces);
    double RoundMillions(const Variant& NumberToRound, uint8_t DecimalPlaces);

    // Padded with spaces or cut to exactly Length characters; error 5 for a negative Length.
    String PadString(const String& StringToPad, int16_t Length);

    // Apostrophes doubled, then quoted and wildcarded by position; other positions give "".
    // Error 6 for an apostrophe found beyond position 32767 of the text being built.
    String SQLHandleQuotesAndApostrophes(const String& StringToConvert, int32_t WildCardPosition,
                                         const String& WildCardCharacter = u"%");

  private:
    const Locale& locale_;
};

}  // namespace brv

// TextHelper as clients see it: each member of _TextHelper calls the core member of the same name.
#include "text/text_helper.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class TextHelperCom final : public Dispatch<_TextHelper> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP CharacterCount(BSTR* SearchString, BSTR* SearchCharacter, BSTR* result) override {
        return call(&TextHelper::CharacterCount, SearchString, SearchCharacter, result);
    }
    STDMETHODIMP ReplaceQuotesWithConstant(BSTR TextToRepair, BSTR* QuoteConstantName,
                                           BSTR* result) override {
        return call(&TextHelper::ReplaceQuotesWithConstant, TextToRepair, QuoteConstantName,
                    result);
    }
    STDMETHODIMP RemoveExtraSpaces(BSTR TextToRepair, BSTR* result) override {
        return call(&TextHelper::RemoveExtraSpaces, TextToRepair, result);
    }
    STDMETHODIMP RemoveAllSpaces(BSTR TextToRepair, BSTR* result) override {
        return call(&TextHelper::RemoveAllSpaces, TextToRepair, result);
    }
    STDMETHODIMP EmptyStringToNull(BSTR* StringToFix, VARIANT* result) override {
        return call(&TextHelper::EmptyStringToNull, StringToFix, result);
    }
    STDMETHODIMP NullToZ(VARIANT* VariantValue, VARIANT* ReturnValueIfNull,
                         VARIANT* result) override {
        return call(&TextHelper::NullToZ, VariantValue, ReturnValueIfNull, result);
    }
    STDMETHODIMP NumberToLetter(unsigned char* NumberToConvert, BSTR* result) override {
        return call(&TextHelper::NumberToLetter, NumberToConvert, result);
    }
    STDMETHODIMP LetterToNumber(BSTR* LetterToConvert, unsigned char* result) override {
        return call(&TextHelper::LetterToNumber, LetterToConvert, result);
    }
    STDMETHODIMP ReplaceText(BSTR TextToFix, BSTR* CharToReplace, BSTR* NewChar,
                             BSTR* result) override {
        return call(&TextHelper::ReplaceText, TextToFix, CharToReplace, NewChar, result);
    }
    STDMETHODIMP ReplaceChr10withCrLf(VARIANT TextToFix, VARIANT* result) override {
        return call(&TextHelper::ReplaceChr10withCrLf, TextToFix, result);
    }
    STDMETHODIMP LetterGrouping(BSTR* StartingLetter, short* GroupLength, kupEnumCase* ReturnCase,
                                BSTR* result) override {
        return call(&TextHelper::LetterGrouping, StartingLetter, GroupLength, ReturnCase, result);
    }
    STDMETHODIMP BooleanSearch(BSTR* SearchText, BSTR* TableFieldName,
                               kupEnumWildCardPosition* WildCardPosition, BSTR* WildCardCharacter,
                               BSTR* result) override {
        return call(&TextHelper::BooleanSearch, SearchText, TableFieldName, WildCardPosition,
                    WildCardCharacter, result);
    }
    STDMETHODIMP ReplaceInvalidCharacters(BSTR Filename, BSTR* result) override {
        return call(&TextHelper::ReplaceInvalidCharacters, Filename, result);
    }
    STDMETHODIMP Round(VARIANT NumberToRound, unsigned char* DecimalPlaces,
                       double* result) override {
        return call(&TextHelper::Round, NumberToRound, DecimalPlaces, result);
    }
    STDMETHODIMP RoundMillions(VARIANT NumberToRound, unsigned char* DecimalPlaces,
                               double* result) override {
        return call(&TextHelper::RoundMillions, NumberToRound, DecimalPlaces, result);
    }
    STDMETHODIMP PadString(BSTR* StringToPad, short* Length, BSTR* result) override {
        return call(&TextHelper::PadString, StringToPad, Length, result);
    }
    STDMETHODIMP SQLHandleQuotesAndApostrophes(BSTR StringToConvert,
                                               kupEnumWildCardPosition* WildCardPosition,
                                               BSTR* WildCardCharacter, BSTR* result) override {
        return call(&TextHelper::SQLHandleQuotesAndApostrophes, StringToConvert, WildCardPosition,
                    WildCardCharacter, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(TextHelper, TextHelperCom)

}  // namespace brv::com

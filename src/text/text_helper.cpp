#include "text/text_helper.h"

namespace brv {

String TextHelper::BooleanSearch(const String& SearchText, const String& TableFieldName,
                                 int32_t WildCardPosition, const String& WildCardCharacter) {
    return translateSearch(SearchText, TableFieldName, WildCardPosition, WildCardCharacter);
}

}  // namespace brv

// TextHelper: string and number functions for database front-ends. Stateless.
#pragma once

#include "frame/roster.h"
#include "sql/search_translator.h"

namespace brv {

class TextHelper : public ClassObject {
  public:
    TextHelper() : ClassObject(ClassId::TextHelper) {}

    String BooleanSearch(const String& SearchText, const String& TableFieldName,
                         int32_t WildCardPosition = kupWildCardBeforeAndAfter,
                         const String& WildCardCharacter = u"%");
};

}  // namespace brv

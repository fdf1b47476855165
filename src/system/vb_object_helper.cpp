#include "system/vb_object_helper.h"

#include "frame/convert.h"

namespace brv {

void VBObjectHelper::MouseHourGlass(const int16_t& Show) const {
    pointer_.setPointer(Show == -1 ? platform::MousePointer::kHourglass
                                   : platform::MousePointer::kDefault);
}

Variant VBObjectHelper::fnRowsReturned(const int32_t& lngRowCount) const {
    if (lngRowCount == 0) return Variant(String(u"No Rows Returned"));
    if (lngRowCount == 1) return Variant(String(u"1 Row Returned"));
    return Variant(numberText(int64_t{lngRowCount}) + u" Rows Returned");
}

}  // namespace brv

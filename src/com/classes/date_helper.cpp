// DateHelper as clients see it: each member of _DateHelper calls the core member of the same name.
#include "system/date_helper.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class DateHelperCom final : public Dispatch<_DateHelper> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP DaysInMonth(DATE* InputDate, short* result) override {
        return call(&DateHelper::DaysInMonth, InputDate, result);
    }
    STDMETHODIMP FirstDayOfMonth(DATE* DateToAdjust, DATE* result) override {
        return call(&DateHelper::FirstDayOfMonth, DateToAdjust, result);
    }
    STDMETHODIMP LastDayOfMonth(DATE* DateToAdjust, DATE* result) override {
        return call(&DateHelper::LastDayOfMonth, DateToAdjust, result);
    }
    STDMETHODIMP MonthNumberAsText(DATE* StartDate, DATE* MonthNumber, BSTR* result) override {
        return call(&DateHelper::MonthNumberAsText, StartDate, MonthNumber, result);
    }
    STDMETHODIMP FullDateTime(BSTR DateToAdjust, double* result) override {
        return call(&DateHelper::FullDateTime, DateToAdjust, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(DateHelper, DateHelperCom)

}  // namespace brv::com

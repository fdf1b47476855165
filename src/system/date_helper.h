// DateHelper: month arithmetic on automation dates.
#pragma once

#include "frame/roster.h"
#include "frame/variant.h"
#include "platform/platform.h"

namespace brv {

class DateHelper : public ClassObject {
  public:
    // Date recognition follows the regional settings; the clock gives the time of day.
    explicit DateHelper(const platform::Platform& platform)
        : ClassObject(ClassId::DateHelper),
          regional_(*platform.regional),
          clock_(*platform.clock) {}

    // The days of the month that holds the date.
    int16_t DaysInMonth(const Date& InputDate) const;
    // The first and the last day of the date's month, its time of day kept.
    Date FirstDayOfMonth(const Date& DateToAdjust) const;
    Date LastDayOfMonth(const Date& DateToAdjust) const;
    // The month of `MonthNumber` counted from the month of `StartDate` (that month is "01"), as
    // at least two digits; error 6 beyond the Integer range.
    String MonthNumberAsText(const Date& StartDate, const Date& MonthNumber) const;
    // The date the text names plus the current time of day; 0 for text that is not a date.
    double FullDateTime(const String& DateToAdjust) const;

  private:
    const platform::Regional& regional_;
    const platform::Clock& clock_;
};

}  // namespace brv

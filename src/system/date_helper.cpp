#include "system/date_helper.h"

#include <cmath>

#include "frame/calendar.h"
#include "frame/convert.h"

namespace brv {

int16_t DateHelper::DaysInMonth(const Date& InputDate) const {
    const DayAndTime d = splitDate(InputDate.serial);
    const double next = checkedDate(dateSerial(d.year, d.month + 1, d.day));
    return static_cast<int16_t>(next - dateSerial(d.year, d.month, d.day));
}

Date DateHelper::FirstDayOfMonth(const Date& DateToAdjust) const {
    return Date{addDays(DateToAdjust.serial, 1 - splitDate(DateToAdjust.serial).day)};
}

Date DateHelper::LastDayOfMonth(const Date& DateToAdjust) const {
    const double t = addMonths(DateToAdjust.serial, 1);
    return Date{addDays(t, -splitDate(t).day)};
}

String DateHelper::MonthNumberAsText(const Date& StartDate, const Date& MonthNumber) const {
    const int64_t n = monthsBetween(StartDate.serial, MonthNumber.serial) + 1;
    if (n < -32768 || n > 32767) raise(err::Overflow);
    String digits = numberText(n < 0 ? -n : n);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), u'0');
    return n < 0 ? u"-" + digits : digits;
}

double DateHelper::FullDateTime(const String& DateToAdjust) const {
    const double now = clock_.now();
    const std::optional<double> date = regional_.parseDate(DateToAdjust);
    if (!date) return 0;
    return *date + (now - std::floor(now));
}

}  // namespace brv

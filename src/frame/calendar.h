// The automation date calendar: proleptic Gregorian serials counting days from
// 30 December 1899, the fraction being the time of day (negative serials keep a positive
// time part, as the runtime reads them).
#pragma once

#include <cstdint>

namespace brv {

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// Date serial of a year, month and day at midnight; months and days out of range roll over
// into the neighbouring months and years, as DateSerial does.
double dateSerial(int year, int month, int day);
// Calendar parts of a serial, the time rounded to the nearest second.
CivilTime civilFromSerial(double serial);
double timeSerial(int hour, int minute, int second);

// The runtime's date range: 1 January 100 to 31 December 9999.
bool inDateRange(double serial);
// `serial` itself; error 5 outside the date range, as the runtime's date functions answer.
double checkedDate(double serial);

// Calendar parts of a serial without rounding: the whole day and the time of day as a fraction
// (never negative, whatever the sign of the serial). Error 5 outside the date range.
struct DayAndTime {
    int year, month, day;
    double time;
};
DayAndTime splitDate(double serial);
// The serial of a day (given as a serial at midnight) at a time of day, in the runtime's
// encoding. Error 5 outside the date range.
double joinDate(double midnight, double time);

// Calendar addition that keeps the time of day: whole days, and months with the day clamped
// to the end of a shorter month. Error 5 when the result leaves the date range.
double addDays(double serial, int64_t days);
double addMonths(double serial, int64_t months);
// Month boundaries crossed from `from` to `to` (negative when `to` is earlier); days ignored.
int64_t monthsBetween(double from, double to);

}  // namespace brv

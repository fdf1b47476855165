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

}  // namespace brv

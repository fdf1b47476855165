#include "frame/calendar.h"

#include <algorithm>
#include <cmath>

#include "frame/error.h"

namespace brv {

namespace {
// Days from 1970-01-01 for a proleptic Gregorian date (Howard Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr int64_t kEpochOffset = -25569;  // 1899-12-30 relative to 1970-01-01
}  // namespace

double dateSerial(int year, int month, int day) {
    int64_t y = year, m = month - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m = ((m % 12) + 12) % 12;
    return static_cast<double>(daysFromCivil(y, m + 1, 1) - kEpochOffset + (day - 1));
}

double timeSerial(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

CivilTime civilFromSerial(double serial) {
    // A negative serial counts whole days backwards but its fraction forwards.
    double whole = std::trunc(serial);
    double frac = std::fabs(serial - whole);
    int64_t seconds = std::llround(frac * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += serial < 0 ? -1 : 1;
    }
    CivilTime t;
    civilFromDays(static_cast<int64_t>(whole) + kEpochOffset, t.year, t.month, t.day);
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

namespace {
constexpr double kFirstDay = -657434;      // 1 January 100
constexpr double kAfterLastDay = 2958466;  // 1 January 10000

int daysInMonth(int year, int month) {
    return static_cast<int>(dateSerial(year, month + 1, 1) - dateSerial(year, month, 1));
}
}  // namespace

bool inDateRange(double serial) {
    return serial > kFirstDay - 1 && serial < kAfterLastDay;
}

double checkedDate(double serial) {
    if (!inDateRange(serial)) raise(err::InvalidCall);
    return serial;
}

DayAndTime splitDate(double serial) {
    checkedDate(serial);
    const double whole = std::trunc(serial);
    DayAndTime d{};
    civilFromDays(static_cast<int64_t>(whole) + kEpochOffset, d.year, d.month, d.day);
    d.time = std::fabs(serial - whole);
    return d;
}

double joinDate(double midnight, double time) {
    checkedDate(midnight);
    // Before 30 December 1899 the whole part counts backwards and the time still forwards.
    return checkedDate(midnight < 0 ? midnight - time : midnight + time);
}

double addDays(double serial, int64_t days) {
    const DayAndTime d = splitDate(serial);
    const double day = dateSerial(d.year, d.month, d.day) + static_cast<double>(days);
    return joinDate(day, d.time);
}

double addMonths(double serial, int64_t months) {
    const DayAndTime d = splitDate(serial);
    const int64_t index = int64_t{d.year} * 12 + (d.month - 1) + months;
    if (index < 100 * 12 || index >= 10000 * 12) raise(err::InvalidCall);
    const int year = static_cast<int>(index / 12), month = static_cast<int>(index % 12) + 1;
    const int day = std::min(d.day, daysInMonth(year, month));
    return joinDate(dateSerial(year, month, day), d.time);
}

int64_t monthsBetween(double from, double to) {
    const DayAndTime a = splitDate(from), b = splitDate(to);
    return (int64_t{b.year} * 12 + b.month) - (int64_t{a.year} * 12 + a.month);
}

}  // namespace brv

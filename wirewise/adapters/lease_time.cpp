#include "adapters/lease_time.h"

#include <cstdio>

#include "seams/clock.h"

namespace ww {
namespace {

struct CivilTime {
    int64_t year;
    int month, day, hour, minute, second, dayOfWeek;
};

// Division rounding towards minus infinity, for a positive divisor, free of overflow.
int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}
int64_t FloorMod(int64_t a, int64_t b) {
    return a % b < 0 ? a % b + b : a % b;
}

// The proleptic Gregorian calendar counted from 1970-01-01, a Thursday.
CivilTime FromEpochSeconds(int64_t seconds) {
    const int64_t days = FloorDiv(seconds, 86400);
    const int64_t secs = FloorMod(seconds, 86400);
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    CivilTime t{};
    t.year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    t.month = month;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.hour = static_cast<int>(secs / 3600);
    t.minute = static_cast<int>(secs / 60 % 60);
    t.second = static_cast<int>(secs % 60);
    t.dayOfWeek = static_cast<int>(FloorMod(days + 4, 7));
    return t;
}

std::string TwoDigits(int n) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

} // namespace

std::string LeaseTimeText(App& app, int64_t seconds) {
    const CivilTime t = FromEpochSeconds(seconds);
    const std::string sep = app.clock->TimeSeparator();
    std::string year = std::to_string(t.year);
    if (t.year >= 0 && year.size() < 4) year.insert(0, 4 - year.size(), '0');
    return app.clock->DayName(t.dayOfWeek) + ", " + app.clock->MonthShortName(t.month) + " " +
           std::to_string(t.day) + " " + TwoDigits(t.hour) + sep + TwoDigits(t.minute) + sep +
           TwoDigits(t.second) + " " + year;
}

} // namespace ww

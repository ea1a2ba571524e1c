#pragma once
// Local time and the user's locale settings for dates and times.
#include <string>

namespace ww {

struct LocalTime {
    int year = 1970, month = 1, day = 1; // month 1..12
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 4; // 0 = Sunday
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
    virtual std::string DateSeparator() = 0;
    virtual std::string TimeSeparator() = 0;
    virtual std::string DayName(int dayOfWeek) = 0; // 0 = Sunday, full name
    virtual std::string MonthName(int month) = 0;   // 1..12, full name
    // 1..12, abbreviated name; a clock without the locale's own short names cuts the full one.
    virtual std::string MonthShortName(int month) { return MonthName(month).substr(0, 3); }
};

} // namespace ww

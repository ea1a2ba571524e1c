#pragma once
#include <array>
#include <string>

#include "seams/clock.h"

namespace ww::test {

// A fixed clock with English names; separators can be changed per test.
class FakeClock final : public Clock {
  public:
    LocalTime now{2026, 12, 7, 9, 5, 3, 1};
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";

    LocalTime Now() override { return now; }
    std::string DateSeparator() override { return dateSeparator; }
    std::string TimeSeparator() override { return timeSeparator; }
    std::string DayName(int d) override {
        static const std::array<const char*, 7> names = {
            "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        return names.at(static_cast<size_t>(d));
    }
    std::string MonthName(int m) override {
        static const std::array<const char*, 12> names = {
            "January", "February", "March",     "April",   "May",      "June",
            "July",    "August",   "September", "October", "November", "December"};
        return names.at(static_cast<size_t>(m - 1));
    }
    std::string MonthShortName(int m) override {
        static const std::array<const char*, 12> names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        return names.at(static_cast<size_t>(m - 1));
    }
};

} // namespace ww::test

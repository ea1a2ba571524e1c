#pragma once
#include "seams/clock.h"

namespace ww {

class Win32Clock final : public Clock {
  public:
    LocalTime Now() override;
    std::string DateSeparator() override;
    std::string TimeSeparator() override;
    std::string DayName(int dayOfWeek) override;
    std::string MonthName(int month) override;
    std::string MonthShortName(int month) override;
};

} // namespace ww

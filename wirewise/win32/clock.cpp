#include "win32/clock.h"

#include <windows.h>

#include "seams/codepage.h"

namespace ww {
namespace {

LocalTime FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
}

std::string LocaleText(LCTYPE type) {
    char buf[128] = {};
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    if (n <= 1) return {};
    return FromAnsi(std::string_view(buf, static_cast<size_t>(n - 1)));
}

} // namespace

LocalTime Win32Clock::Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return FromSystemTime(st);
}

std::string Win32Clock::DateSeparator() {
    return LocaleText(LOCALE_SDATE);
}

std::string Win32Clock::TimeSeparator() {
    return LocaleText(LOCALE_STIME);
}

std::string Win32Clock::DayName(int dayOfWeek) {
    // The locale numbers the days from Monday (1) to Sunday (7).
    if (dayOfWeek < 0 || dayOfWeek > 6) return {};
    const int fromMonday = (dayOfWeek + 6) % 7;
    return LocaleText(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + fromMonday));
}

std::string Win32Clock::MonthName(int month) {
    if (month < 1 || month > 12) return {};
    return LocaleText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + month - 1));
}

std::string Win32Clock::MonthShortName(int month) {
    if (month < 1 || month > 12) return {};
    return LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month - 1));
}

} // namespace ww

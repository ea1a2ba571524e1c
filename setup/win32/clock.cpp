#include "win32/clock.h"

#include <windows.h>

#include "seams/codepage.h"
#include "win32/system_library.h"

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

LocalTime Win32Clock::FromUnixTime(int64_t seconds) {
    // FILETIME counts 100 ns steps since 1601; 1970 is 11644473600 s later.
    const int64_t ticks = (seconds + 11644473600LL) * 10000000LL;
    FILETIME utc{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utcTime{}, local{};
    if (ticks < 0 || !FileTimeToSystemTime(&utc, &utcTime)) return {};
    // The rule of the time zone at that date where the system knows it; Windows 9x lacks the
    // call and gets today's bias.
    using ToLocalFn = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*);
    const auto toLocal =
        ProcAddress<ToLocalFn>(GetModuleHandleA("kernel32.dll"), "SystemTimeToTzSpecificLocalTime");
    if (!toLocal || !toLocal(nullptr, &utcTime, &local)) {
        FILETIME localFt{};
        if (!FileTimeToLocalFileTime(&utc, &localFt) || !FileTimeToSystemTime(&localFt, &local))
            return FromSystemTime(utcTime);
    }
    return FromSystemTime(local);
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

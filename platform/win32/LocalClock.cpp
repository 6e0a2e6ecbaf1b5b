#include "platform/LocalClock.h"

#include <windows.h>

namespace s::platform {

namespace {

// FILETIME counts 100 ns steps from 1601-01-01.
constexpr int64_t kUnixEpochIn100ns = 116444736000000000LL;

FILETIME toFileTime(int64_t seconds)
{
    const auto ticks = static_cast<uint64_t>(seconds * 10000000LL + kUnixEpochIn100ns);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

int64_t toSeconds(const FILETIME& ft)
{
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (static_cast<int64_t>(ticks) - kUnixEpochIn100ns) / 10000000LL;
}

class WinClock : public ILocalClock {
public:
    int64_t now() const override
    {
        FILETIME ft;
        GetSystemTimeAsFileTime(&ft);
        return toSeconds(ft);
    }

    LocalDay dayOf(int64_t instant) const override
    {
        LocalDay day;
        const FILETIME utcFile = toFileTime(instant);
        SYSTEMTIME utc, local;
        // SystemTimeToTzSpecificLocalTime applies the daylight-saving rule of
        // the date converted, not of today (FileTimeToLocalFileTime would).
        if (!FileTimeToSystemTime(&utcFile, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
            day.midnight = instant - instant % 86400;
            return day;
        }
        day.weekday = (local.wDayOfWeek + 6) % 7;
        day.month = local.wMonth;
        day.year = local.wYear;
        day.day = local.wDay;
        SYSTEMTIME localMidnight = local;
        localMidnight.wHour = 0;
        localMidnight.wMinute = 0;
        localMidnight.wSecond = 0;
        localMidnight.wMilliseconds = 0;
        SYSTEMTIME utcMidnight;
        FILETIME midnightFile;
        if (TzSpecificLocalTimeToSystemTime(nullptr, &localMidnight, &utcMidnight) &&
            SystemTimeToFileTime(&utcMidnight, &midnightFile))
            day.midnight = toSeconds(midnightFile);
        else
            day.midnight = instant - (local.wHour * 3600 + local.wMinute * 60 + local.wSecond);
        return day;
    }
};

}  // namespace

const ILocalClock& systemClock()
{
    static const WinClock clock;
    return clock;
}

}  // namespace s::platform

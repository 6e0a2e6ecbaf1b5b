#include "app/items/DateText_win.h"

#include <windows.h>

namespace s::file::gui::dialogs::purgo {

namespace {

// 1601-01-01 to 1970-01-01 in seconds.
constexpr int64_t kEpochDifference = 11644473600LL;

}  // namespace

std::u16string localFileTimeText(int64_t fileTime)
{
    if (fileTime <= 0)
        return {};
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTime) & 0xFFFFFFFFu);
    utc.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTime) >> 32);
    SYSTEMTIME universal;
    SYSTEMTIME local;
    // SystemTimeToTzSpecificLocalTime applies the rule of the date itself
    // (summer time in July, whatever today is), as Explorer shows it;
    // FileTimeToLocalFileTime would apply today's offset to every date.
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t date[80] = {};
    wchar_t time[80] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80) ||
        !GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80))
        return {};
    std::u16string out;
    for (const wchar_t* p = date; *p; ++p)
        out.push_back(static_cast<char16_t>(*p));
    out.push_back(u' ');
    for (const wchar_t* p = time; *p; ++p)
        out.push_back(static_cast<char16_t>(*p));
    return out;
}

std::u16string localDateTimeText(int64_t seconds)
{
    if (seconds <= -kEpochDifference)
        return {};
    return localFileTimeText((seconds + kEpochDifference) * 10000000LL);
}

}  // namespace s::file::gui::dialogs::purgo

#include "platform/LocalClock.h"

#include <ctime>

namespace s::platform {

namespace {

class PosixClock : public ILocalClock {
public:
    int64_t now() const override { return static_cast<int64_t>(std::time(nullptr)); }

    LocalDay dayOf(int64_t instant) const override
    {
        LocalDay day;
        const auto t = static_cast<std::time_t>(instant);
        std::tm local{};
        if (!localtime_r(&t, &local)) {
            day.midnight = instant - instant % 86400;
            return day;
        }
        day.weekday = (local.tm_wday + 6) % 7;
        day.month = local.tm_mon + 1;
        day.year = local.tm_year + 1900;
        day.day = local.tm_mday;
        local.tm_hour = 0;
        local.tm_min = 0;
        local.tm_sec = 0;
        local.tm_isdst = -1;  // let the zone say whether midnight was in summer time
        day.midnight = static_cast<int64_t>(std::mktime(&local));
        return day;
    }
};

}  // namespace

const ILocalClock& systemClock()
{
    static const PosixClock clock;
    return clock;
}

}  // namespace s::platform

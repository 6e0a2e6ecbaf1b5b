// The clock and the local calendar, as the periodic skin change needs them.
#pragma once

#include <cstdint>

namespace s::platform {

struct LocalDay {
    int64_t midnight = 0;  // the instant (seconds since 1970 UTC) the local day began
    int weekday = 0;       // Monday 0 … Sunday 6
    int month = 1;         // 1 … 12
    int year = 1970;
    int day = 1;  // of the month, 1 … 31
};

class ILocalClock {
public:
    virtual ~ILocalClock() = default;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual int64_t now() const = 0;
    // The local calendar day that holds the instant.
    virtual LocalDay dayOf(int64_t instant) const = 0;
};

// The machine's clock and time zone (daylight saving included).
const ILocalClock& systemClock();

}  // namespace s::platform

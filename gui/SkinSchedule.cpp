#include "gui/SkinSchedule.h"

namespace s::gui::drawer {

ScheduleDecision decideSkinChange(int32_t period, int64_t last, int64_t now, const s::platform::ILocalClock& clock)
{
    constexpr int64_t kDay = 86400;
    constexpr int64_t kWeek = 604800;
    if (period < 0)
        return ScheduleDecision::Nothing;
    if (period == kEveryStart)
        return ScheduleDecision::Change;
    if (last >= now)
        return ScheduleDecision::StoreNowOnly;
    if (period > kEveryMonth)
        return ScheduleDecision::Nothing;

    bool change = false;
    if (period < 7) {
        const s::platform::LocalDay day = clock.dayOf(last);
        change = now >= day.midnight + period * kDay;
    } else if (period < kEveryMonth) {
        const s::platform::LocalDay day = clock.dayOf(last);
        const int64_t weeks = period / 7;
        change = now >= day.midnight - day.weekday * kDay + weeks * kWeek;
    } else {
        // Only the month number counts: March of one year and March of the
        // next are the same month here.
        change = clock.dayOf(now).month != clock.dayOf(last).month;
    }
    return change ? ScheduleDecision::Change : ScheduleDecision::Nothing;
}

}  // namespace s::gui::drawer

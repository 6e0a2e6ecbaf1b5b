// When the skin changes by itself at start-up ("Change Periodically").
#pragma once

#include "platform/LocalClock.h"

#include <cstdint>

namespace s::gui::drawer {

// The periods the menu offers; other values may be stored by hand.
inline constexpr int32_t kNeverChange = -1;
inline constexpr int32_t kEveryStart = 0;
inline constexpr int32_t kEveryMonth = 30;

enum class ScheduleDecision {
    Nothing,       // keep the skin, store nothing
    Change,        // change the skin and store now as the last change
    StoreNowOnly,  // the clock went back: store now, keep the skin
};

// period: days 1–6, weeks 7–29 (period / 7 whole weeks, weeks begin on Monday
// at local midnight), 30 the calendar month, 0 every start, below 0 never,
// above 30 never. last: the stored last change.
ScheduleDecision decideSkinChange(int32_t period, int64_t last, int64_t now, const s::platform::ILocalClock& clock);

}  // namespace s::gui::drawer

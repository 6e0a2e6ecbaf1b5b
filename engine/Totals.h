// Totals of the whole tree and of the selection, and the texts the window
// shows for them.
#pragma once

#include "base/StrBuffer.h"
#include "engine/TimeRecord.h"

#include <cstdint>
#include <span>

namespace s::lang {
class Localizer;
}

namespace s::file::gui::dialogs::purgo {

struct Totals {
    int64_t allFound = 0;
    int64_t allSize = 0;
    int64_t selectedFound = 0;
    int64_t selectedSize = 0;
};

// Sums every target of the top-level groups; the selection counts a target
// only when it and its group are checked.
Totals computeTotals(std::span<TimeRecord* const> groups);

// "Clean Now!  (1.50 KB) (1,234)" for the selected totals.
s::str::strbuffer::StrBuffer cleanButtonCaption(const Totals& totals, s::lang::Localizer& localizer);

// The four status labels: total size, "  (", total count, "  Items)".
struct StatusLabels {
    s::str::strbuffer::StrBuffer size;
    s::str::strbuffer::StrBuffer open;
    s::str::strbuffer::StrBuffer count;
    s::str::strbuffer::StrBuffer close;
};
StatusLabels statusLabels(const Totals& totals, s::lang::Localizer& localizer);

// Whether a top-level group gets a row while "Show only Related" is on.
bool isRelated(const TimeRecord& group);

}  // namespace s::file::gui::dialogs::purgo

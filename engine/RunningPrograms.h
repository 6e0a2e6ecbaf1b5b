// The programs that keep a group's files busy while they run (browsers hold
// their caches, cookies and histories open and rewrite them when they end):
// one snapshot of this session's processes marks the groups whose program
// runs, so that the runs measure such a group but leave its clean for later.
#pragma once

#include "engine/TimeRecord.h"

#include <span>

namespace s::lang {
class Localizer;
}

namespace s::file::gui::dialogs::purgo {

// Sets guardRunning on every group whose guardProcess is among the running
// programs of this session (compared with A-Z folded) and clears it on the
// others; returns how many groups are marked. One process snapshot per call.
int markRunningGroups(std::span<TimeRecord* const> groups);

// "Close Chrome to clean it": what the list shows for a group whose program
// runs, in the current language.
s::str::strbuffer::StrBuffer runningNote(const TimeRecord& group, s::lang::Localizer& localizer);

// The line the result message adds for the groups a clean left because their
// programs run: "Not cleaned while running: Chrome, Edge", each name once, in
// the order given; empty for none.
s::str::strbuffer::StrBuffer skippedLine(std::span<const TimeRecord* const> groups, s::lang::Localizer& localizer);

}  // namespace s::file::gui::dialogs::purgo

// Cleaning: deletes what the checked targets of a checked group cover, then
// measures each cleaned target again. What could not be deleted is not
// reported by itself: it is still there for the next measure and counts as
// pending (for files and folders of an interactive clean, it is also handed to
// Windows for deletion at the next boot).
#pragma once

#include "engine/TimeRecord.h"

#include <atomic>
#include <cstdint>

namespace s::file::gui::dialogs::purgo {

enum class CleanMode : uint8_t {
    Interactive,  // schedule leftovers for the next boot, measure again, update rows
    Startup,      // unattended at logon: none of that
};

struct CleanContext {
    // Set by the window thread; read between the targets of a group.
    const std::atomic<bool>* cancel = nullptr;
    CleanMode mode = CleanMode::Interactive;
    // What the cleaned targets still hold, measured after their clean (their
    // old measures in start-up mode).
    int64_t pendingFound = 0;
    int64_t pendingSize = 0;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

// Cleans a group (its checked targets, until the cancel flag is seen) or a
// single target.
void clean(TimeRecord& node, CleanContext& context);

}  // namespace s::file::gui::dialogs::purgo

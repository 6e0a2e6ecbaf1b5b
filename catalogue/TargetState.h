// The main window's save of its tree: the checked states of every top-level
// group and the records of the custom groups, in one write of the settings
// file.
#pragma once

#include "base/ObjLocker.h"
#include "engine/TimeRecord.h"
#include "settings/IMappedData.h"

#include <span>

namespace s::file::gui::dialogs::purgo {

// Holding lock (the main window's) for the whole save: saveChecks with the
// prefix "items\" for every node in list order, then every custom group as
// record n (n counting them from 0 in list order), then NumOfCustom = n.
// Records left from an earlier, longer list stay in the store unread.
void saveTargetState(std::span<TimeRecord* const> topLevel, s::map::IMappedData& store, s::thread::ObjLocker& lock);

}  // namespace s::file::gui::dialogs::purgo

// Which groups and targets the user has checked, kept in the settings store
// from one run to the next.
//
// A top-level group lives in the section prefix + its id (the program uses
// the prefix "items\"): its own state is the value with the empty name, each
// target's state the value named by the target's id. All values are bools.
//
// The rule of both directions: a state the store has never held stays as the
// tree was built (a group) or takes the target's defaultChecked; a state equal
// to what a fresh tree would show is not written the first time, but a value
// once stored is rewritten on every later save.
#pragma once

#include "engine/TimeRecord.h"
#include "settings/IMappedData.h"

#include <string_view>

namespace s::file::gui::dialogs::purgo {

// The prefix of the sections of the top-level groups.
inline constexpr std::u16string_view kItemsPrefix = u"items\\";

// node is a top-level group: restores its state and its targets' from the
// section prefix + id. A group without a stored state is left exactly as it
// is, children included, even when values for them are stored.
void loadChecks(TimeRecord& node, std::u16string_view prefix, s::map::IMappedData& store);
// Writes the states of the group node and its targets (see the rule above).
void saveChecks(const TimeRecord& node, std::u16string_view prefix, s::map::IMappedData& store);

}  // namespace s::file::gui::dialogs::purgo

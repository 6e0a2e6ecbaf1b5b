// The user's keep list (engine/UserKeepList.h) in the settings store, a
// section of its own beside the others:
//
//   KeepList        Count (s32): how many entries follow
//   KeepList\_i     Type ("file", "folder", "pattern", "key", "value"),
//                   Path (the file, folder, pattern's folder, key or value's
//                   key), Name (the pattern or the value's name; absent for
//                   the others), Added (UTC, "2026-12-11T04:40:00Z")
//
// i counts the entries from 0 in the list's order.
//
// Reading a damaged section: reading stops at the first entry whose section
// is missing, whatever Count says; an entry of an unknown type, without a
// path the list can use or with a pattern holding a backslash is skipped
// (only it is lost); a missing or unreadable Added reads as 0 (shown as
// unknown). Nothing outside the section is read or written here, so a
// damaged keep list costs no other setting.
#pragma once

#include "engine/TimeRecord.h"
#include "engine/UserKeepList.h"
#include "settings/IMappedData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::file::gui::dialogs::purgo {

inline constexpr std::u16string_view kKeepListSection = u"KeepList";

UserKeepList readKeepList(s::map::IMappedData& store);
// Replaces the section with the list's entries (in one save when the store
// saves on every change).
void writeKeepList(const UserKeepList& list, s::map::IMappedData& store);

// Reads the list and gives it to every target of the groups.
void applyStoredKeepList(const std::vector<TimeRecord*>& groups, s::map::IMappedData& store);

// "2026-12-11T04:40:00Z" for seconds since 1970 UTC, and back; false for a
// text of another form or a date that does not exist.
std::u16string utcText(int64_t seconds);
bool parseUtcText(std::u16string_view text, int64_t& seconds);

}  // namespace s::file::gui::dialogs::purgo

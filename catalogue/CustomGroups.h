// The user's custom groups: ordinary groups of the target tree with custom
// set, kept in the settings store as records.
//
// A custom group's id is "Custom" + N, N its record number (1, 2, ...) handed
// out from "CustomItems"/"CustomID", the highest number given so far; numbers
// are never reused, so checked states stored under "items\Custom" + N never
// pass to another group. Its targets are numbered from customChildRecordId,
// which only grows.
//
// The records (values in the store's text forms):
//   CustomItems              NumOfCustom (s32), CustomID (s32)
//   CustomItems\_i           ID, Title, Desctiption (strings; the misspelt
//                            name is the stored format), CustomRecordID,
//                            CustomChildRecordID, NumOfChildren (s32)
//   CustomItems\_i\_j        ID, TargetType (the kind's name), Target
//                            (strings), IsCheckWildFileExpressionInSubFolders
//                            (bool)
// i counts the groups from 0 in list order, j a group's targets in child
// order. Records beyond the counts stay in the store unread.
//
// Reading a damaged store: values missing read as their defaults; a target
// record of an unknown kind is skipped; reading stops at the first group or
// target record whose section does not exist, whatever the counts say, so
// that a count of two thousand million costs nothing.
#pragma once

#include "engine/TimeRecord.h"
#include "lang/Localizer.h"
#include "settings/IMappedData.h"

#include <cstdint>
#include <vector>

namespace s::file::gui::dialogs::purgo {

// Language ids of the texts a new group starts with.

// Builds the group of record index; always a group, without targets when the
// record has none (or does not exist).
TimeRecordHandle readCustomGroup(s::map::IMappedData& store, int32_t index);
// Appends the groups of records 0 to NumOfCustom - 1 to topLevel (ownership
// passes), stopping at the first record that does not exist. Returns how
// many were appended.
int readCustomGroups(s::map::IMappedData& store, std::vector<TimeRecord*>& topLevel);
// Writes group as record index; NumOfCustom is the caller's (saveTargetState).
void writeCustomGroup(const TimeRecord& group, s::map::IMappedData& store, int32_t index);

// The group the editor starts from when the user adds one: number N =
// CustomID + 1, title "00N Custom Target" (in the current language), no
// targets. Writes nothing.
TimeRecordHandle newCustomGroup(s::map::IMappedData& store, s::lang::Localizer& localizer);
// The user confirmed the new group: its number is taken. CustomID never goes
// down.
void confirmNewCustomGroup(const TimeRecord& group, s::map::IMappedData& store);

// The icon of a custom group: System folder + "\shell32.dll,160".
Text customGroupIcon();

}  // namespace s::file::gui::dialogs::purgo

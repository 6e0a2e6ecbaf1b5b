// Measuring and cleaning a target that carries a keep list
// (engine/KeepList.h), its own or the user's (engine/UserKeepList.h): the folder or key is walked so that what is kept
// is neither counted nor deleted, and a folder or key is taken whole only when nothing in it is kept. Both go through
// one walk, so the scan counts exactly what the clean deletes. Otherwise the kinds keep their usual meaning
// (engine/Scan.h, engine/Clean.h): Type_RegKey_All_Levels counts the key's own values but leaves them, the "and self"
// kinds count their folder or key once when it goes, links are neither entered nor deleted.
//
// A target that removes the folders its clean empties
// (TimeRecord::removeEmptyFolders, a rule file's REMOVESELF) is walked here
// too, with or without a keep list: Type_File_Wild in subfolders deletes the
// matching files at every depth, Type_Folder_All_Levels_IncludeSelf
// everything; then each folder below, deepest first, and the target's
// folder itself go when nothing is left in them (nothing kept, nothing the
// pattern does not match). The scan counts those folders as items.
//
// The caller has already asked engine/TargetSafety.h whether the target may
// be reached; nothing here reports an error.
#pragma once

#include "engine/CleanItems.h"
#include "engine/KeepList.h"
#include "engine/TimeRecord.h"
#include "platform/IPath.h"

#include <cstdint>
#include <functional>

namespace s::file::gui::dialogs::purgo {

struct KeptMeasure {
    int64_t found = 0;
    int64_t size = 0;
};

// The target is measured and cleaned by the walk here: it carries a keep
// list, the user's keep list keeps something it covers, or it removes the
// folders its clean empties.
bool walksKept(const TimeRecord& target);

// What a clean of the target would delete: what it covers less what its own
// keep list (TimeRecord::keep) or the user's (TimeRecord::userKeep) keeps.
KeptMeasure measureKept(const TimeRecord& target);
// What the user's keep list saves from the target's clean: the items and
// bytes the clean would delete without it, less those it deletes with it.
// Nothing for a target the list does not reach.
KeptMeasure keptByUser(const TimeRecord& target);
// The items a clean deletes (engine/CleanItems.h): what the target covers and
// neither keep list keeps, a folder or key whole when nothing in it is kept.
// The clean and `purgoc preview --files` both take this listing.
void forEachKeptCleanItem(const TimeRecord& target, const std::function<void(CleanItem&)>& each);

}  // namespace s::file::gui::dialogs::purgo

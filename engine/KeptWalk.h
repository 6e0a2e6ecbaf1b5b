// Measuring and cleaning a target that carries a keep list
// (engine/KeepList.h): the folder or key is walked so that what is kept is
// neither counted nor deleted, and a folder or key is taken whole only when
// nothing in it is kept. Both go through one walk, so the scan counts
// exactly what the clean deletes. Otherwise the kinds keep their usual
// meaning (engine/Scan.h, engine/Clean.h): Type_RegKey_All_Levels counts the
// key's own values but leaves them, the "and self" kinds count their folder
// or key once when it goes, links are neither entered nor deleted.
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

// What a clean of the target would delete.
KeptMeasure measureKept(const TimeRecord& target, const KeepList& keep);
// The items a clean deletes (engine/CleanItems.h): what the target covers and
// the keep list does not keep, a folder or key whole when nothing in it is
// kept. The clean and `purgoc preview --files` both take this listing.
void forEachKeptCleanItem(const TimeRecord& target, const KeepList& keep, const std::function<void(CleanItem&)>& each);

}  // namespace s::file::gui::dialogs::purgo

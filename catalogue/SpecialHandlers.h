// The handlers of the special targets that are not most-recently-used lists:
// the browser's cache and history, the recent documents and the Recycle Bin
// of each fixed drive. (The cookie sites are in CookieSites.h, the lists in
// MruHandlers.h.)
//
// Plain functions with the signatures of TargetCountHandler and friends
// (engine/TimeRecord.h), so that the catalogue hands them to
// makeSpecialTarget. Every count handler starts with size and found at 0.
// Nothing is reported: a missing folder, service or drive counts 0 items of 0
// bytes and makes the clean handler do nothing. Each call opens and closes
// everything it uses.
#pragma once

#include "engine/TimeRecord.h"

#include <cstdint>

namespace s::file::gui::dialogs::purgo {

// Exists handler of folder targets: the text is a full path (a drive or a
// network share) naming an existing folder.
bool folderExists(const Text& target);
// Look-up handler of folder targets: an existing folder opens in the file
// manager; for an existing file, the folder that holds it.
void folderLookUp(const Text& target);

// Temporary Internet Files. The target text becomes the Internet cache
// folder; the count takes every entry that is neither a cookie nor a history
// entry. The clean deletes those entries, then asks WinINet to free the whole
// cache (FreeUrlCacheSpaceW, no path, 100 percent).
void ieCacheCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t handlerExtra);
void ieCacheClean(intptr_t handlerData, int32_t handlerExtra);

// The browser history. The target text lists the history folders that exist
// under the user's profile (History.IE5 to History.IE10 under the layouts of
// Windows XP and of Vista and later, low-integrity first), joined by ", ";
// the count takes the history entries of the cache. The clean deletes them
// and then asks the URL history object to forget everything.
void ieHistoryCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t handlerExtra);
void ieHistoryClean(intptr_t handlerData, int32_t handlerExtra);

// Recent documents: the target text is the Recent folder; the count takes
// every entry directly in it that is not a folder, with its size. The clean
// asks the shell to clear its list of recent documents.
void recentDocsCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t handlerExtra);
void recentDocsClear(intptr_t handlerData, int32_t handlerExtra);

// The Recycle Bin of one drive; handlerData is the drive letter's character
// code ('C'). The count leaves the target text alone; a drive whose bin
// cannot be queried counts 0/0. The clean empties the bin without
// confirmation, progress window or sound.
void recycleBinCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t handlerExtra);
void recycleBinEmpty(intptr_t handlerData, int32_t handlerExtra);
// The Recycle Bin's location always exists.
bool alwaysExists(const Text& target);
// Opens the Recycle Bin in the file manager.
void recycleBinLookUp(const Text& target);

}  // namespace s::file::gui::dialogs::purgo

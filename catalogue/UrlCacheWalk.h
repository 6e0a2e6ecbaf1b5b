// The two walks over the Internet cache that the browser handlers share: one
// that counts entries of some types and one that deletes them.
//
// Both read the entry records into one buffer of 4096 bytes at first, which
// grows to the size a call asks for whenever the call fails with
// kErrorInsufficientBuffer, and then repeat that call (the enumeration waits
// on the entry it could not deliver). The counting walk gives up at a record
// of more than kCountingRecordLimit bytes and keeps what it counted so far;
// the deleting walk has no such limit and stops only when the memory for a
// record cannot be had. Neither reports anything: without the cache services
// (no wininet.dll, or one without all seven entry points) they do nothing.
#pragma once

#include "engine/TimeRecord.h"
#include "platform/UrlCache.h"

#include <cstdint>
#include <functional>

namespace s::file::gui::dialogs::purgo {

// Which entries a walk takes. A cookie entry has the cookie type bit, a
// history entry the URL-history bit; every other entry is a normal one
// (Temporary Internet Files).
enum CacheEntries : std::uint8_t {
    kNormalEntries = 0x1,
    kCookieEntries = 0x2,
    kHistoryEntries = 0x4,
};

inline constexpr std::uint32_t kFirstRecordBuffer = 4096;
inline constexpr std::uint32_t kCountingRecordLimit = 5000000;

enum class CacheWalk : std::uint8_t {
    Counting,  // FindFirst/NextUrlCacheEntryW, records up to kCountingRecordLimit
    Deleting,  // FindFirst/NextUrlCacheEntryExW over every entry type, no limit
};

// Calls visit for every entry of the cache, in the platform's order, under
// the buffer rules above. The entry's text lives in the walk's buffer and is
// valid only during the call.
void walkCache(CacheWalk walk, const std::function<void(const s::platform::UrlCacheEntry&)>& visit);

// Adds 1 to found and the entry's size to size for every taken entry (normal
// or history entries, never cookies). Walks FindFirst/NextUrlCacheEntryW
// without a pattern.
void countEntries(std::uint8_t which, int64_t& size, int64_t& found);

// Deletes the taken entries: normal ones, history ones, and the cookie
// entries of the cookie sites whose targets are checked (see CookieSites.h).
// Walks FindFirst/NextUrlCacheEntryExW without a pattern, flags 0, every
// entry type and group 0.
void deleteEntries(std::uint8_t which);

}  // namespace s::file::gui::dialogs::purgo

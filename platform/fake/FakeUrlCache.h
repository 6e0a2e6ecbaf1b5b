// The in-memory Internet cache of native builds, and its test API. Only tests
// include this header; everything else reaches it through urlCache().
//
// What it models, as WinINet does it:
// - Entries enumerate in the order they were added; an enumeration survives
//   deletions made while it runs and never returns an entry twice. A null
//   pattern lists every entry (cache, cookies and history, as Wine's WinINet
//   does); any other pattern lists the entries whose source name begins with
//   it, ignoring case. The Ex calls pass an entry when the filter is
//   kAllCacheEntries or shares a bit with its type.
// - Each record needs a fixed part, the source name with its terminating zero
//   and the entry's header bytes (the HTTP headers WinINet keeps with a cache
//   entry, which is what makes real records large); a buffer that is too
//   small gets kErrorInsufficientBuffer with the needed size and the
//   enumeration stays on the entry.
// - FreeUrlCacheSpaceW(no path, 100, ...) removes every entry that is neither
//   a cookie nor a history entry, as the Temporary Internet Files are the
//   cache that a null path names.
// - With the service made unavailable (no wininet.dll, or one without all
//   seven names) every call fails with kErrorProcNotFound.
#pragma once

#include "platform/UrlCache.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform {

struct FreeSpaceCall {
    bool nullPath = true;
    std::u16string path;
    std::uint32_t percent = 0;
    std::uint32_t filter = 0;
};

// Which find call a fault or a record is about.
enum class CacheFindCall : std::uint8_t { First, Next, FirstEx, NextEx };

class FakeUrlCache : public IUrlCache {
public:
    // The fixed part of a record, before the source name.
    static constexpr std::uint32_t kRecordHeaderBytes = 80;

    virtual void setAvailable(bool available) = 0;
    // Appends an entry; an existing entry of the same source name (compared
    // ignoring case) is replaced in place.
    virtual void addEntry(std::u16string_view sourceUrl, std::uint32_t type, std::uint64_t size,
                          std::uint32_t headerBytes = 0) = 0;
    // Makes DeleteUrlCacheEntryW of that name fail with `error` (an entry in
    // use, for example); kErrorSuccess heals it.
    virtual void failDelete(std::u16string_view sourceUrl, Win32Error error) = 0;
    // Makes every call of that kind fail with `error` (Wine's
    // FindFirstUrlCacheEntryExW is a stub that fails with
    // kErrorFileNotFound); kErrorSuccess heals it.
    virtual void failFind(CacheFindCall call, Win32Error error) = 0;
    // No entries, no faults, empty records, available again.
    virtual void clear() = 0;

    // Inspection.
    virtual bool contains(std::u16string_view sourceUrl) = 0;
    virtual std::vector<std::u16string> sourceUrls() = 0;
    // Successful DeleteUrlCacheEntryW calls, in order.
    virtual std::vector<std::u16string> deleted() = 0;
    virtual std::vector<FreeSpaceCall> freeSpaceCalls() = 0;
    // The buffer size each find call of that kind was given, in order.
    virtual std::vector<std::uint32_t> bufferSizes(CacheFindCall call) = 0;
    // Enumerations not yet closed: a leak check.
    virtual std::size_t openFinds() = 0;
    // The size a record of this entry needs.
    static std::uint32_t recordSize(std::u16string_view sourceUrl, std::uint32_t headerBytes)
    {
        return kRecordHeaderBytes + static_cast<std::uint32_t>((sourceUrl.size() + 1) * sizeof(char16_t)) + headerBytes;
    }
};

// The same object as urlCache() in native builds.
FakeUrlCache& fakeUrlCache();

}  // namespace s::platform

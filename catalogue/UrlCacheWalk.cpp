#include "catalogue/UrlCacheWalk.h"

#include "catalogue/CookieSites.h"

#include <memory>
#include <new>

namespace s::file::gui::dialogs::purgo {

namespace {

using s::platform::IUrlCache;
using s::platform::UrlCacheEntry;
using s::platform::UrlCacheFind;
using s::platform::Win32Error;

// The record buffer of one walk, 8-byte aligned as the records need.
class RecordBuffer {
public:
    RecordBuffer() { grow(kFirstRecordBuffer); }

    void* data() { return m_words.get(); }
    std::uint32_t size() const { return m_size; }

    // False when the memory cannot be had; the old buffer stays.
    bool grow(std::uint32_t bytes)
    {
        std::unique_ptr<std::uint64_t[]> words(new (std::nothrow) std::uint64_t[(bytes + 7) / 8]);
        if (!words)
            return false;
        m_words = std::move(words);
        m_size = bytes;
        return true;
    }

private:
    std::unique_ptr<std::uint64_t[]> m_words;
    std::uint32_t m_size = 0;
};

// One find call, repeated with a larger buffer for as long as the buffer is
// too small. A size that is not larger than what was just offered would
// repeat for ever, so it ends the walk like any other failure.
template <typename Call> Win32Error fill(RecordBuffer& buffer, std::uint32_t limit, Call call)
{
    for (;;) {
        std::uint32_t size = buffer.size();
        const Win32Error error = call(buffer.data(), size);
        if (error != s::platform::kErrorInsufficientBuffer)
            return error;
        if (size <= buffer.size() || size > limit || !buffer.grow(size))
            return error;
    }
}

bool isCookie(const UrlCacheEntry& entry)
{
    return (entry.type & s::platform::kCookieCacheEntry) != 0;
}

bool isHistory(const UrlCacheEntry& entry)
{
    return (entry.type & s::platform::kUrlHistoryCacheEntry) != 0;
}

}  // namespace

void walkCache(CacheWalk walk, const std::function<void(const UrlCacheEntry&)>& visit)
{
    IUrlCache& cache = s::platform::urlCache();
    if (!cache.available())
        return;
    const bool counting = walk == CacheWalk::Counting;
    const std::uint32_t limit = counting ? kCountingRecordLimit : UINT32_MAX;
    RecordBuffer buffer;
    if (!buffer.data())
        return;
    UrlCacheFind find;
    Win32Error error = fill(buffer, limit, [&](void* data, std::uint32_t& size) {
        return counting ? cache.findFirst(nullptr, data, size, find)
                        : cache.findFirstEx(nullptr, 0, s::platform::kAllCacheEntries, 0, data, size, find);
    });
    while (error == s::platform::kErrorSuccess) {
        visit(cache.entry(buffer.data()));
        error = fill(buffer, limit, [&](void* data, std::uint32_t& size) {
            return counting ? cache.findNext(find, data, size) : cache.findNextEx(find, data, size);
        });
    }
    // FindCloseUrlCache when `find` goes.
}

void countEntries(std::uint8_t which, int64_t& size, int64_t& found)
{
    walkCache(CacheWalk::Counting, [&](const UrlCacheEntry& entry) {
        // History entries are not cookies, but they are not cache files
        // either: the cache clean leaves them to the history clean, so the
        // cache count must not show them.
        bool taken = false;
        if (isHistory(entry))
            taken = (which & kHistoryEntries) != 0;
        else if (!isCookie(entry))
            taken = (which & kNormalEntries) != 0;
        if (taken) {
            found += 1;
            size += static_cast<int64_t>(entry.size);
        }
    });
}

void deleteEntries(std::uint8_t which)
{
    IUrlCache& cache = s::platform::urlCache();
    // DeleteUrlCacheEntryW wants its own zero-terminated copy: the record's
    // text lives in the walk's buffer.
    Text name;
    walkCache(CacheWalk::Deleting, [&](const UrlCacheEntry& entry) {
        name.assign(entry.sourceUrl);
        if ((which & kNormalEntries) && !isCookie(entry) && !isHistory(entry)) {
            cache.deleteEntry(name.c_str());
        } else if ((which & kCookieEntries) && isCookie(entry)) {
            const int site = cookieSites().indexOfIgnoreCase(entry.sourceUrl);
            if (site >= 0 && cookieSiteChecked(site) && cache.deleteEntry(name.c_str()) == s::platform::kErrorSuccess)
                cookieSiteTotals()[static_cast<std::size_t>(site)] = 0;
        } else if ((which & kHistoryEntries) && isHistory(entry)) {
            cache.deleteEntry(name.c_str());
        }
    });
}

}  // namespace s::file::gui::dialogs::purgo

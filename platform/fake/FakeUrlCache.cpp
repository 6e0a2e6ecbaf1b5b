#include "platform/fake/FakeUrlCache.h"

#include "base/StrBuffer.h"
#include "platform/fake/HandleTable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace s::platform {

namespace {

char16_t fold(char16_t unit)
{
    return s::str::strbuffer::StrBuffer::foldCase(unit);
}

bool startsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        if (fold(text[k]) != fold(prefix[k]))
            return false;
    }
    return true;
}

bool equalsFolded(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && startsWithFolded(a, b);
}

// The record as this fake lays it out in the caller's buffer.
struct RecordHead {
    std::uint32_t type;
    std::uint32_t sizeLow;
    std::uint32_t sizeHigh;
    std::uint32_t urlOffset;
    std::uint32_t urlLength;
};
static_assert(sizeof(RecordHead) <= FakeUrlCache::kRecordHeaderBytes);

struct Entry {
    std::u16string sourceUrl;
    std::uint32_t type = 0;
    std::uint64_t size = 0;
    std::uint32_t headerBytes = 0;
};

struct Enumeration {
    bool ex = false;
    bool hasPattern = false;
    std::u16string pattern;
    std::uint32_t filter = kAllCacheEntries;
    std::uint64_t next = 0;  // the id of the first entry not yet returned
};

class FakeUrlCacheImpl final : public FakeUrlCache {
public:
    bool available() override
    {
        std::lock_guard lock(m_mutex);
        return m_available;
    }

    Win32Error findFirst(const char16_t* pattern, void* buffer, std::uint32_t& size, UrlCacheFind& find) override
    {
        find.close();
        Enumeration enumeration;
        enumeration.hasPattern = pattern != nullptr;
        if (pattern)
            enumeration.pattern = pattern;
        return start(CacheFindCall::First, std::move(enumeration), buffer, size, find);
    }

    Win32Error findNext(UrlCacheFind& find, void* buffer, std::uint32_t& size) override
    {
        return advance(CacheFindCall::Next, find, buffer, size);
    }

    Win32Error findFirstEx(const char16_t* pattern, std::uint32_t /*flags*/, std::uint32_t filter,
                           std::int64_t /*group*/, void* buffer, std::uint32_t& size, UrlCacheFind& find) override
    {
        find.close();
        Enumeration enumeration;
        enumeration.ex = true;
        enumeration.hasPattern = pattern != nullptr;
        if (pattern)
            enumeration.pattern = pattern;
        enumeration.filter = filter;
        return start(CacheFindCall::FirstEx, std::move(enumeration), buffer, size, find);
    }

    Win32Error findNextEx(UrlCacheFind& find, void* buffer, std::uint32_t& size) override
    {
        return advance(CacheFindCall::NextEx, find, buffer, size);
    }

    Win32Error deleteEntry(const char16_t* sourceUrl) override
    {
        std::lock_guard lock(m_mutex);
        if (!m_available)
            return kErrorProcNotFound;
        if (!sourceUrl)
            return kErrorInvalidParameter;
        const auto found = findEntry(sourceUrl);
        if (found == m_entries.end())
            return kErrorFileNotFound;
        for (const auto& [url, error] : m_deleteFaults) {
            if (equalsFolded(url, sourceUrl))
                return error;
        }
        m_deleted.push_back(found->second.sourceUrl);
        m_entries.erase(found);
        return kErrorSuccess;
    }

    Win32Error freeSpace(const char16_t* path, std::uint32_t percent, std::uint32_t filter) override
    {
        std::lock_guard lock(m_mutex);
        if (!m_available)
            return kErrorProcNotFound;
        FreeSpaceCall call;
        call.nullPath = path == nullptr;
        if (path)
            call.path = path;
        call.percent = percent;
        call.filter = filter;
        m_freeSpaceCalls.push_back(call);
        if (path || percent < 100)
            return kErrorSuccess;
        std::erase_if(m_entries, [&](const auto& item) {
            const std::uint32_t type = item.second.type;
            return !(type & (kCookieCacheEntry | kUrlHistoryCacheEntry)) && !(type & filter);
        });
        return kErrorSuccess;
    }

    UrlCacheEntry entry(const void* buffer) const override
    {
        RecordHead head;
        std::memcpy(&head, buffer, sizeof(head));
        UrlCacheEntry out;
        out.sourceUrl = std::u16string_view(
            reinterpret_cast<const char16_t*>(static_cast<const std::byte*>(buffer) + head.urlOffset), head.urlLength);
        out.type = head.type;
        out.size = (std::uint64_t{head.sizeHigh} << 32) | head.sizeLow;
        return out;
    }

    void setAvailable(bool available) override
    {
        std::lock_guard lock(m_mutex);
        m_available = available;
    }

    void addEntry(std::u16string_view sourceUrl, std::uint32_t type, std::uint64_t size,
                  std::uint32_t headerBytes) override
    {
        std::lock_guard lock(m_mutex);
        Entry entry{std::u16string(sourceUrl), type, size, headerBytes};
        const auto found = findEntry(sourceUrl);
        if (found != m_entries.end())
            found->second = std::move(entry);
        else
            m_entries.emplace(m_nextId++, std::move(entry));
    }

    void failDelete(std::u16string_view sourceUrl, Win32Error error) override
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_deleteFaults, [&](const auto& fault) { return equalsFolded(fault.first, sourceUrl); });
        if (error != kErrorSuccess)
            m_deleteFaults.emplace_back(std::u16string(sourceUrl), error);
    }

    void failFind(CacheFindCall call, Win32Error error) override
    {
        std::lock_guard lock(m_mutex);
        m_findFaults[static_cast<std::size_t>(call)] = error;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        m_available = true;
        m_entries.clear();
        m_deleteFaults.clear();
        for (auto& fault : m_findFaults)
            fault = kErrorSuccess;
        m_deleted.clear();
        m_freeSpaceCalls.clear();
        for (auto& sizes : m_bufferSizes)
            sizes.clear();
    }

    bool contains(std::u16string_view sourceUrl) override
    {
        std::lock_guard lock(m_mutex);
        return findEntry(sourceUrl) != m_entries.end();
    }

    std::vector<std::u16string> sourceUrls() override
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::u16string> out;
        for (const auto& item : m_entries)
            out.push_back(item.second.sourceUrl);
        return out;
    }

    std::vector<std::u16string> deleted() override
    {
        std::lock_guard lock(m_mutex);
        return m_deleted;
    }

    std::vector<FreeSpaceCall> freeSpaceCalls() override
    {
        std::lock_guard lock(m_mutex);
        return m_freeSpaceCalls;
    }

    std::vector<std::uint32_t> bufferSizes(CacheFindCall call) override
    {
        std::lock_guard lock(m_mutex);
        return m_bufferSizes[static_cast<std::size_t>(call)];
    }

    std::size_t openFinds() override
    {
        std::lock_guard lock(m_mutex);
        return m_enumerations.openCount();
    }

protected:
    void closeFind(std::uintptr_t raw) override
    {
        std::lock_guard lock(m_mutex);
        m_enumerations.close(raw);
    }

private:
    using Entries = std::map<std::uint64_t, Entry>;

    Entries::iterator findEntry(std::u16string_view sourceUrl)
    {
        return std::find_if(m_entries.begin(), m_entries.end(),
                            [&](const auto& item) { return equalsFolded(item.second.sourceUrl, sourceUrl); });
    }

    static bool passes(const Enumeration& enumeration, const Entry& entry)
    {
        if (enumeration.hasPattern && !startsWithFolded(entry.sourceUrl, enumeration.pattern))
            return false;
        return !enumeration.ex || enumeration.filter == kAllCacheEntries || (entry.type & enumeration.filter);
    }

    // Writes the next passing entry at or after enumeration.next into the
    // buffer and moves past it; a too-small buffer leaves the position.
    Win32Error produce(Enumeration& enumeration, void* buffer, std::uint32_t& size)
    {
        auto it = m_entries.lower_bound(enumeration.next);
        while (it != m_entries.end() && !passes(enumeration, it->second))
            ++it;
        if (it == m_entries.end()) {
            enumeration.next = m_nextId;
            return kErrorNoMoreItems;
        }
        const Entry& entry = it->second;
        const std::uint32_t needed = recordSize(entry.sourceUrl, entry.headerBytes);
        if (!buffer || size < needed) {
            size = needed;
            return kErrorInsufficientBuffer;
        }
        auto* bytes = static_cast<std::byte*>(buffer);
        std::memset(bytes, 0, needed);
        const RecordHead head{entry.type, static_cast<std::uint32_t>(entry.size),
                              static_cast<std::uint32_t>(entry.size >> 32), kRecordHeaderBytes,
                              static_cast<std::uint32_t>(entry.sourceUrl.size())};
        std::memcpy(bytes, &head, sizeof(head));
        std::memcpy(bytes + kRecordHeaderBytes, entry.sourceUrl.data(), entry.sourceUrl.size() * sizeof(char16_t));
        size = needed;
        enumeration.next = it->first + 1;
        return kErrorSuccess;
    }

    Win32Error start(CacheFindCall call, Enumeration enumeration, void* buffer, std::uint32_t& size, UrlCacheFind& find)
    {
        std::lock_guard lock(m_mutex);
        if (!m_available)
            return kErrorProcNotFound;
        m_bufferSizes[static_cast<std::size_t>(call)].push_back(size);
        if (const Win32Error fault = m_findFaults[static_cast<std::size_t>(call)])
            return fault;
        enumeration.next = m_entries.empty() ? m_nextId : m_entries.begin()->first;
        std::uint32_t reported = size;
        // As WinINet does: no handle unless the first record was delivered.
        const Win32Error error = produce(enumeration, buffer, reported);
        if (error == kErrorInsufficientBuffer)
            size = reported;
        if (error)
            return error;
        size = reported;
        adopt(find, m_enumerations.open(std::move(enumeration)));
        return kErrorSuccess;
    }

    Win32Error advance(CacheFindCall call, UrlCacheFind& find, void* buffer, std::uint32_t& size)
    {
        std::lock_guard lock(m_mutex);
        if (!m_available)
            return kErrorProcNotFound;
        if (!owns(find))
            return kErrorInvalidHandle;
        Enumeration* open = m_enumerations.find(rawOf(find));
        if (!open || open->ex != (call == CacheFindCall::NextEx))
            return kErrorInvalidHandle;
        m_bufferSizes[static_cast<std::size_t>(call)].push_back(size);
        if (const Win32Error fault = m_findFaults[static_cast<std::size_t>(call)])
            return fault;
        std::uint32_t reported = size;
        const Win32Error error = produce(*open, buffer, reported);
        if (error == kErrorSuccess || error == kErrorInsufficientBuffer)
            size = reported;
        return error;
    }

    std::mutex m_mutex;
    bool m_available = true;
    Entries m_entries;
    std::uint64_t m_nextId = 1;
    HandleTable<Enumeration> m_enumerations{0x100};
    std::vector<std::pair<std::u16string, Win32Error>> m_deleteFaults;
    Win32Error m_findFaults[4] = {};
    std::vector<std::u16string> m_deleted;
    std::vector<FreeSpaceCall> m_freeSpaceCalls;
    std::vector<std::uint32_t> m_bufferSizes[4];
};

}  // namespace

FakeUrlCache& fakeUrlCache()
{
    static FakeUrlCacheImpl instance;
    return instance;
}

IUrlCache& urlCache()
{
    return fakeUrlCache();
}

}  // namespace s::platform

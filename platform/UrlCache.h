// The Internet cache of WinINet (Temporary Internet Files, cookies and the
// URL history), through the seven entry points the special handlers use:
// FindFirstUrlCacheEntryW, FindNextUrlCacheEntryW, FindFirstUrlCacheEntryExW,
// FindNextUrlCacheEntryExW, FindCloseUrlCache, DeleteUrlCacheEntryW and
// FreeUrlCacheSpaceW.
//
// wininet.dll is loaded and the seven names are bound on the first call, once
// per process, and the library is never unloaded. The service is available()
// only when the library loaded and all seven were found; otherwise every call
// fails with kErrorProcNotFound.
//
// Thin on purpose: the entry record buffer belongs to the caller, as with
// WinINet itself, so that the caller decides how it grows. A find call whose
// buffer is too small fails with kErrorInsufficientBuffer and sets `size` to
// the number of bytes the record needs; the enumeration does not move on, so
// the same call with a larger buffer returns the same entry. After the last
// entry the find calls fail with kErrorNoMoreItems. The buffer must be
// 8-byte aligned (the record holds pointers and 64-bit times); entry() reads
// the fields the handlers need back out of a buffer that a successful find
// call filled. Other failures leave the out parameters untouched.
//
// Reach the build's implementation through urlCache(): WinINet on Windows, an
// in-memory cache elsewhere (platform/fake/FakeUrlCache.h, for tests).
#pragma once

#include "platform/Win32Codes.h"

#include <cstdint>
#include <string_view>
#include <utility>

namespace s::platform {

// CacheEntryType bits of INTERNET_CACHE_ENTRY_INFOW.
inline constexpr std::uint32_t kNormalCacheEntry = 0x00000001;      // NORMAL_CACHE_ENTRY
inline constexpr std::uint32_t kCookieCacheEntry = 0x00100000;      // COOKIE_CACHE_ENTRY
inline constexpr std::uint32_t kUrlHistoryCacheEntry = 0x00200000;  // URLHISTORY_CACHE_ENTRY
// The filter of FindFirstUrlCacheEntryExW that lets every entry type through.
inline constexpr std::uint32_t kAllCacheEntries = 0xFFFFFFFF;

// The fields of one entry record that the handlers read.
struct UrlCacheEntry {
    std::u16string_view sourceUrl;  // lpszSourceUrlName: "http://...", "Cookie:user@site/", "Visited: ..."
    std::uint32_t type = 0;         // CacheEntryType
    std::uint64_t size = 0;         // dwSizeHigh:dwSizeLow
};

class IUrlCache;

// An open enumeration (the HANDLE of FindFirstUrlCacheEntry[Ex]W). Move-only;
// closes itself with FindCloseUrlCache.
class UrlCacheFind {
public:
    UrlCacheFind() = default;
    ~UrlCacheFind() { close(); }
    UrlCacheFind(UrlCacheFind&& other) noexcept
        : m_owner(std::exchange(other.m_owner, nullptr)), m_raw(std::exchange(other.m_raw, 0))
    {
    }
    UrlCacheFind& operator=(UrlCacheFind&& other) noexcept
    {
        if (this != &other) {
            close();
            m_owner = std::exchange(other.m_owner, nullptr);
            m_raw = std::exchange(other.m_raw, 0);
        }
        return *this;
    }
    UrlCacheFind(const UrlCacheFind&) = delete;
    UrlCacheFind& operator=(const UrlCacheFind&) = delete;

    bool isOpen() const { return m_owner != nullptr; }
    void close();

private:
    friend class IUrlCache;
    IUrlCache* m_owner = nullptr;
    std::uintptr_t m_raw = 0;
};

class IUrlCache {
public:
    virtual ~IUrlCache() = default;

    // Loads wininet.dll and binds the seven names on first use; the answer
    // stays the same for the life of the process.
    virtual bool available() = 0;

    // FindFirstUrlCacheEntryW. A null pattern enumerates every entry the
    // platform lists without one. On success `find` is open and `buffer`
    // holds the first record; on failure `find` is closed.
    virtual Win32Error findFirst(const char16_t* pattern, void* buffer, std::uint32_t& size, UrlCacheFind& find) = 0;
    // FindNextUrlCacheEntryW.
    virtual Win32Error findNext(UrlCacheFind& find, void* buffer, std::uint32_t& size) = 0;
    // FindFirstUrlCacheEntryExW(pattern, flags, filter, group, buffer, size,
    // no group attributes).
    virtual Win32Error findFirstEx(const char16_t* pattern, std::uint32_t flags, std::uint32_t filter,
                                   std::int64_t group, void* buffer, std::uint32_t& size, UrlCacheFind& find) = 0;
    // FindNextUrlCacheEntryExW.
    virtual Win32Error findNextEx(UrlCacheFind& find, void* buffer, std::uint32_t& size) = 0;
    // DeleteUrlCacheEntryW: kErrorFileNotFound for an unknown name.
    virtual Win32Error deleteEntry(const char16_t* sourceUrl) = 0;
    // FreeUrlCacheSpaceW(path, percent, filter); a null path is the cache of
    // Temporary Internet Files.
    virtual Win32Error freeSpace(const char16_t* path, std::uint32_t percent, std::uint32_t filter) = 0;

    // The record a successful find call wrote into `buffer`; its text points
    // into the buffer.
    virtual UrlCacheEntry entry(const void* buffer) const = 0;

protected:
    // FindCloseUrlCache, called by UrlCacheFind.
    virtual void closeFind(std::uintptr_t raw) = 0;

    void adopt(UrlCacheFind& find, std::uintptr_t raw)
    {
        find.close();
        find.m_owner = this;
        find.m_raw = raw;
    }
    static std::uintptr_t rawOf(const UrlCacheFind& find) { return find.m_raw; }
    bool owns(const UrlCacheFind& find) const { return find.m_owner == this; }

    friend class UrlCacheFind;
};

inline void UrlCacheFind::close()
{
    if (m_owner)
        std::exchange(m_owner, nullptr)->closeFind(std::exchange(m_raw, 0));
}

// The build's Internet cache: WinINet, or the in-memory fake in native builds.
IUrlCache& urlCache();

}  // namespace s::platform

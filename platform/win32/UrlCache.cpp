#include "platform/UrlCache.h"

#include <windows.h>

#include "platform/win32/ProcAddress.h"
#include <wininet.h>

namespace s::platform {

namespace {

// Older Windows versions and stripped-down installations may lack WinINet or
// some of these names, so nothing is linked: the program still starts, and
// the cache targets simply find nothing.
struct WinInet {
    using FindFirstFn = HANDLE(WINAPI*)(LPCWSTR, LPINTERNET_CACHE_ENTRY_INFOW, LPDWORD);
    using FindNextFn = BOOL(WINAPI*)(HANDLE, LPINTERNET_CACHE_ENTRY_INFOW, LPDWORD);
    using FindFirstExFn = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, GROUPID, LPINTERNET_CACHE_ENTRY_INFOW, LPDWORD, LPVOID,
                                          LPDWORD, LPVOID);
    using FindNextExFn = BOOL(WINAPI*)(HANDLE, LPINTERNET_CACHE_ENTRY_INFOW, LPDWORD, LPVOID, LPDWORD, LPVOID);
    using FindCloseFn = BOOL(WINAPI*)(HANDLE);
    using DeleteFn = BOOL(WINAPI*)(LPCWSTR);
    using FreeSpaceFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD);

    FindFirstFn findFirst = nullptr;
    FindNextFn findNext = nullptr;
    FindFirstExFn findFirstEx = nullptr;
    FindNextExFn findNextEx = nullptr;
    FindCloseFn findClose = nullptr;
    DeleteFn deleteEntry = nullptr;
    FreeSpaceFn freeSpace = nullptr;
    bool complete = false;
};

WinInet load()
{
    WinInet api;
    // Loaded once and never freed: the handlers may run until the program
    // ends, and unloading WinINet while it holds cache files open is not safe.
    HMODULE module = LoadLibraryW(L"wininet.dll");
    if (!module)
        return api;
    api.complete = bindAll(module, {
                                       {"FindFirstUrlCacheEntryExW", api.findFirstEx},
                                       {"FindFirstUrlCacheEntryW", api.findFirst},
                                       {"FindNextUrlCacheEntryExW", api.findNextEx},
                                       {"FindNextUrlCacheEntryW", api.findNext},
                                       {"FindCloseUrlCache", api.findClose},
                                       {"DeleteUrlCacheEntryW", api.deleteEntry},
                                       {"FreeUrlCacheSpaceW", api.freeSpace},
                                   });
    return api;
}

const WinInet& wininet()
{
    static const WinInet api = load();
    return api;
}

Win32Error lastError()
{
    return static_cast<Win32Error>(GetLastError());
}

INTERNET_CACHE_ENTRY_INFOW* record(void* buffer)
{
    return static_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer);
}

class UrlCacheWin final : public IUrlCache {
public:
    bool available() override { return wininet().complete; }

    Win32Error findFirst(const char16_t* pattern, void* buffer, std::uint32_t& size, UrlCacheFind& find) override
    {
        find.close();
        if (!available())
            return kErrorProcNotFound;
        DWORD bytes = size;
        HANDLE handle = wininet().findFirst(wide(pattern), record(buffer), &bytes);
        return opened(handle, bytes, size, find);
    }

    Win32Error findNext(UrlCacheFind& find, void* buffer, std::uint32_t& size) override
    {
        if (!available())
            return kErrorProcNotFound;
        if (!owns(find))
            return kErrorInvalidHandle;
        DWORD bytes = size;
        if (!wininet().findNext(handle(find), record(buffer), &bytes))
            return failed(bytes, size);
        size = bytes;
        return kErrorSuccess;
    }

    Win32Error findFirstEx(const char16_t* pattern, std::uint32_t flags, std::uint32_t filter, std::int64_t group,
                           void* buffer, std::uint32_t& size, UrlCacheFind& find) override
    {
        find.close();
        if (!available())
            return kErrorProcNotFound;
        DWORD bytes = size;
        HANDLE handle = wininet().findFirstEx(wide(pattern), flags, filter, group, record(buffer), &bytes, nullptr,
                                              nullptr, nullptr);
        return opened(handle, bytes, size, find);
    }

    Win32Error findNextEx(UrlCacheFind& find, void* buffer, std::uint32_t& size) override
    {
        if (!available())
            return kErrorProcNotFound;
        if (!owns(find))
            return kErrorInvalidHandle;
        DWORD bytes = size;
        if (!wininet().findNextEx(handle(find), record(buffer), &bytes, nullptr, nullptr, nullptr))
            return failed(bytes, size);
        size = bytes;
        return kErrorSuccess;
    }

    Win32Error deleteEntry(const char16_t* sourceUrl) override
    {
        if (!available())
            return kErrorProcNotFound;
        if (!sourceUrl)
            return kErrorInvalidParameter;
        return wininet().deleteEntry(wide(sourceUrl)) ? kErrorSuccess : lastError();
    }

    Win32Error freeSpace(const char16_t* path, std::uint32_t percent, std::uint32_t filter) override
    {
        if (!available())
            return kErrorProcNotFound;
        return wininet().freeSpace(wide(path), percent, filter) ? kErrorSuccess : lastError();
    }

    UrlCacheEntry entry(const void* buffer) const override
    {
        const auto* info = static_cast<const INTERNET_CACHE_ENTRY_INFOW*>(buffer);
        UrlCacheEntry out;
        if (info->lpszSourceUrlName)
            out.sourceUrl = std::u16string_view(reinterpret_cast<const char16_t*>(info->lpszSourceUrlName));
        out.type = info->CacheEntryType;
        out.size = (std::uint64_t{info->dwSizeHigh} << 32) | info->dwSizeLow;
        return out;
    }

protected:
    void closeFind(std::uintptr_t raw) override
    {
        if (available())
            wininet().findClose(reinterpret_cast<HANDLE>(raw));
    }

private:
    static const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
    static HANDLE handle(const UrlCacheFind& find) { return reinterpret_cast<HANDLE>(rawOf(find)); }

    Win32Error opened(HANDLE handle, DWORD bytes, std::uint32_t& size, UrlCacheFind& find)
    {
        if (!handle)
            return failed(bytes, size);
        adopt(find, reinterpret_cast<std::uintptr_t>(handle));
        size = bytes;
        return kErrorSuccess;
    }

    // Only a buffer that was too small reports a size worth passing on.
    static Win32Error failed(DWORD bytes, std::uint32_t& size)
    {
        const Win32Error error = lastError();
        if (error == kErrorInsufficientBuffer)
            size = bytes;
        return error;
    }
};

}  // namespace

IUrlCache& urlCache()
{
    static UrlCacheWin instance;
    return instance;
}

}  // namespace s::platform

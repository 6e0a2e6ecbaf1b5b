#include "tests/support/ShellSandbox.h"

#include <shlobj.h>
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <string>
#include <vector>

namespace s::platform::testing {

namespace {

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string fromWide(const wchar_t* text)
{
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

std::u16string number(unsigned long long value)
{
    std::u16string out;
    for (char c : std::to_string(value))
        out += static_cast<char16_t>(c);
    return out;
}

// Calls visit(record) for every entry FindFirst/NextUrlCacheEntryW lists.
template <typename Visit> void forEachEntry(Visit visit)
{
    std::vector<unsigned long long> buffer(1024);
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(buffer[0]));
    auto* record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    HANDLE find = FindFirstUrlCacheEntryW(nullptr, record, &size);
    while (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size / sizeof(buffer[0]) + 1);
        record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        find = FindFirstUrlCacheEntryW(nullptr, record, &size);
    }
    if (!find)
        return;
    for (;;) {
        visit(*record);
        size = static_cast<DWORD>(buffer.size() * sizeof(buffer[0]));
        if (FindNextUrlCacheEntryW(find, record, &size))
            continue;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        buffer.resize(size / sizeof(buffer[0]) + 1);
        record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        if (!FindNextUrlCacheEntryW(find, record, &size))
            break;
    }
    FindCloseUrlCache(find);
}

}  // namespace

bool ShellSandbox::underWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool ShellSandbox::useSandboxBin()
{
    wchar_t value[MAX_PATH];
    if (GetEnvironmentVariableW(L"XDG_DATA_HOME", value, MAX_PATH) == 0) {
        m_failure = "XDG_DATA_HOME is not set: the Recycle Bin would be the machine's own trash";
        return false;
    }
    return true;
}

ShellSandbox::ShellSandbox()
{
    // As the plain sandbox: never in a prefix that maps the Linux file
    // system, where a wrong deletion could reach the machine's own files.
    if (underWine() && (GetLogicalDrives() & (1u << ('Z' - 'A')))) {
        m_failure = "drive Z: exists: run the tests in a prefix prepared by scripts/wine-prefix";
        return;
    }
    static std::atomic<unsigned> counter{0};
    m_tag = number(GetCurrentProcessId()) + u"-" + number(++counter) + u"-" + number(GetTickCount64());
}

ShellSandbox::~ShellSandbox()
{
    for (const std::u16string& url : m_entries)
        DeleteUrlCacheEntryW(wide(url));
    for (auto it = m_files.rbegin(); it != m_files.rend(); ++it) {
        SetFileAttributesW(wide(*it), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wide(*it));
    }
    for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
        RemoveDirectoryW(wide(*it));
    if (m_profileSet)
        SetEnvironmentVariableW(L"USERPROFILE", m_hadProfile ? wide(m_oldProfile) : nullptr);
}

bool ShellSandbox::addEntry(std::u16string_view sourceUrl, std::uint32_t type, std::uint32_t size)
{
    const std::u16string url(sourceUrl);
    wchar_t file[MAX_PATH + 1] = {};
    if (!CreateUrlCacheEntryW(wide(url), size, L"txt", file, 0))
        return false;
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::vector<char> bytes(size, 'o');
    DWORD written = 0;
    const bool wrote = size == 0 || (WriteFile(handle, bytes.data(), size, &written, nullptr) && written == size);
    CloseHandle(handle);
    if (!wrote)
        return false;
    const FILETIME never{};
    if (!CommitUrlCacheEntryW(wide(url), file, never, never, type, nullptr, 0, L"txt", nullptr))
        return false;
    m_entries.push_back(url);
    return true;
}

bool ShellSandbox::hasEntry(std::u16string_view sourceUrl) const
{
    const std::u16string url(sourceUrl);
    DWORD size = 0;
    // Without a buffer the call fails; what it fails with tells whether the
    // entry is there.
    if (GetUrlCacheEntryInfoW(wide(url), nullptr, &size))
        return true;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

std::vector<std::u16string> ShellSandbox::foreignEntries(Kind kind) const
{
    std::vector<std::u16string> out;
    forEachEntry([&](const INTERNET_CACHE_ENTRY_INFOW& record) {
        const std::u16string url = fromWide(record.lpszSourceUrlName);
        const Kind entryKind = (record.CacheEntryType & COOKIE_CACHE_ENTRY)       ? Kind::Cookie
                               : (record.CacheEntryType & URLHISTORY_CACHE_ENTRY) ? Kind::History
                                                                                  : Kind::Normal;
        if (entryKind == kind && !ours(url))
            out.push_back(url);
    });
    return out;
}

bool ShellSandbox::exEnumerationWorks() const
{
    std::vector<unsigned long long> buffer(1024);
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(buffer[0]));
    HANDLE find = FindFirstUrlCacheEntryExW(nullptr, 0, 0xFFFFFFFF, 0,
                                            reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data()), &size,
                                            nullptr, nullptr, nullptr);
    if (find) {
        FindCloseUrlCache(find);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_INSUFFICIENT_BUFFER || error == ERROR_NO_MORE_ITEMS;
}

std::u16string ShellSandbox::recentFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_RECENT | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return fromWide(path);
}

bool ShellSandbox::makeFile(std::u16string_view path, std::uint64_t size)
{
    const std::u16string full(path);
    HANDLE handle = CreateFileW(wide(full), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_files.push_back(full);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
    CloseHandle(handle);
    return sized;
}

bool ShellSandbox::makeFolder(std::u16string_view path)
{
    const std::u16string full(path);
    if (!CreateDirectoryW(wide(full), nullptr))
        return false;
    m_folders.push_back(full);
    return true;
}

bool ShellSandbox::exists(std::u16string_view path) const
{
    const std::u16string full(path);
    return GetFileAttributesW(wide(full)) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::u16string> ShellSandbox::filesIn(std::u16string_view folder) const
{
    std::vector<std::u16string> names;
    const std::u16string pattern = std::u16string(folder) + u"\\*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide(pattern), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fromWide(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

void ShellSandbox::endProcess(std::uint32_t id)
{
    if (id == 0)
        return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process)
        return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

bool ShellSandbox::setProfile(std::u16string_view path)
{
    if (!m_profileSet) {
        std::vector<wchar_t> old(32768);
        const DWORD length = GetEnvironmentVariableW(L"USERPROFILE", old.data(), 32768);
        m_hadProfile = length > 0 && length < 32768;
        if (m_hadProfile)
            m_oldProfile = fromWide(old.data());
        m_profileSet = true;
    }
    const std::u16string value(path);
    return SetEnvironmentVariableW(L"USERPROFILE", wide(value)) != 0;
}

}  // namespace s::platform::testing

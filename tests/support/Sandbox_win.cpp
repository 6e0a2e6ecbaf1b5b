#include "tests/support/Sandbox.h"

#include <windows.h>

#include <sddl.h>

#include <atomic>

namespace s::platform::testing {

namespace {

// Made on the Linux side by the CTest fixture platform_link_fixture (see
// tests/CMakeLists.txt) before the Wine tests start.
constexpr const wchar_t* kLinkParent = L"C:\\purgo-test-links";
// Made on the Linux side by the CTest fixture wine_names_fixture.
constexpr const wchar_t* kNamesParent = L"C:\\purgo-test-names";

constexpr const wchar_t* kSessionManager = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPendingValue = L"PendingFileRenameOperations";

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string fromWide(const wchar_t* text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

std::u16string number(unsigned long long value)
{
    std::u16string out;
    for (char c : std::to_string(value))
        out += static_cast<char16_t>(c);
    return out;
}

// A file of `size` bytes, made with its folders; only below the link
// fixture's folder, whose links are never on the way.
void refreshPlainFile(const std::u16string& path, DWORD size)
{
    for (std::size_t slash = path.find(u'\\', 3); slash != std::u16string::npos; slash = path.find(u'\\', slash + 1))
        CreateDirectoryW(wide(path.substr(0, slash)), nullptr);
    HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const char bytes[4] = {'a', 'b', 'c', 'd'};
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

char16_t fold(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool startsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t k = 0; k < prefix.size(); ++k)
        if (fold(text[k]) != fold(prefix[k]))
            return false;
    return true;
}

std::u16string withoutNtPrefix(std::u16string text)
{
    if (text.rfind(u"\\??\\", 0) == 0)
        text.erase(0, 4);
    return text;
}

// Deletes a folder with everything in it, clearing read-only bits on the
// way. Reparse points are removed as entries and never entered.
void removeTree(const std::u16string& folder)
{
    WIN32_FIND_DATAW found;
    const std::u16string pattern = folder + u"\\*";
    HANDLE find = FindFirstFileW(wide(pattern), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = fromWide(found.cFileName);
            if (name == u"." || name == u"..")
                continue;
            const std::u16string child = folder + u"\\" + name;
            SetFileAttributesW(wide(child), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDirectoryW(wide(child));
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileW(wide(child));
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    SetFileAttributesW(wide(folder), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(wide(folder));
}

// PendingFileRenameOperations: a REG_MULTI_SZ of pairs (source, destination);
// an empty destination means delete. Sources carry the NT prefix "\??\".
std::vector<std::u16string> pendingOperations()
{
    std::vector<std::u16string> strings;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return strings;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, kPendingValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        std::u16string buffer(size / sizeof(char16_t) + 1, u'\0');
        if (RegQueryValueExW(key, kPendingValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS) {
            buffer.resize(size / sizeof(char16_t));
            // Split at the zeros; keep empty destinations, drop the list's end.
            std::size_t start = 0;
            while (start < buffer.size()) {
                const std::size_t end = buffer.find(u'\0', start);
                const std::size_t stop = end == std::u16string::npos ? buffer.size() : end;
                strings.push_back(buffer.substr(start, stop - start));
                start = stop + 1;
            }
            while (strings.size() % 2)
                strings.pop_back();
        }
    }
    RegCloseKey(key);
    return strings;
}

// Takes the sandbox's own entries out of the boot-time list again, so that
// the prefix's next boot does not act on them.
void forgetPending(const std::u16string& folder)
{
    const std::vector<std::u16string> strings = pendingOperations();
    std::u16string kept;
    bool changed = false;
    for (std::size_t k = 0; k + 1 < strings.size(); k += 2) {
        if (startsWithFolded(withoutNtPrefix(strings[k]), folder)) {
            changed = true;
            continue;
        }
        kept += strings[k] + u'\0' + strings[k + 1] + u'\0';
    }
    if (!changed)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (kept.empty()) {
        RegDeleteValueW(key, kPendingValue);
    } else {
        kept += u'\0';
        RegSetValueExW(key, kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                       static_cast<DWORD>(kept.size() * sizeof(char16_t)));
    }
    RegCloseKey(key);
}

std::u16string userSidText()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::u16string text;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned long long> buffer(size / sizeof(unsigned long long) + 1);
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        wchar_t* converted = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &converted)) {
            text = fromWide(converted);
            LocalFree(converted);
        }
    }
    CloseHandle(token);
    return text;
}

class WinHeldFile final : public HeldFile {
public:
    explicit WinHeldFile(HANDLE handle) : m_handle(handle) {}
    ~WinHeldFile() override { CloseHandle(m_handle); }

private:
    HANDLE m_handle;
};

class OpenKey {
public:
    ~OpenKey()
    {
        if (key)
            RegCloseKey(key);
    }
    HKEY key = nullptr;
};

// Removes a link key as itself. RegDeleteKeyW and RegDeleteTreeW open the
// name they are given and so follow the link; a handle opened with
// REG_OPTION_OPEN_LINK (OBJ_OPENLINK underneath) passed to NtDeleteKey
// removes the link alone. advapi32 has no call for that, hence ntdll.
void deleteLinkKey(const std::u16string& subKey)
{
    using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
    // Through void*: a direct cast from FARPROC trips -Wcast-function-type.
    static const auto ntDeleteKey = reinterpret_cast<NtDeleteKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    OpenKey link;
    if (ntDeleteKey && RegOpenKeyExW(HKEY_CURRENT_USER, wide(subKey), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS,
                                     &link.key) == ERROR_SUCCESS)
        ntDeleteKey(link.key);
}

}  // namespace

const char* Sandbox::backend()
{
    return "Win32";
}

Sandbox::Sandbox()
{
    // Drive Z: maps the whole Linux file system in a default prefix; a test
    // that deletes must never run where a bug could reach it.
    if (runningUnderWine() && (GetLogicalDrives() & (1u << ('Z' - 'A')))) {
        m_failure = "drive Z: exists: run the tests in a prefix prepared by scripts/wine-prefix";
        return;
    }
    static std::atomic<unsigned> counter{0};
    const std::u16string name =
        u"OxlePurgoTest-" + number(GetCurrentProcessId()) + u"-" + number(++counter) + u"-" + number(GetTickCount64());
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        m_failure = "GetTempPathW failed";
        return;
    }
    m_folder = fromWide(temp) + name;
    m_key = u"Software\\" + name;
    m_sid = userSidText();
    if (m_sid.empty())
        m_failure = "cannot read the user's SID";
    else if (!CreateDirectoryW(wide(m_folder), nullptr))
        m_failure = "cannot make the sandbox folder";
    else if (!makeKey({}))
        m_failure = "cannot make the sandbox key";
}

Sandbox::~Sandbox()
{
    if (!m_folder.empty()) {
        // The long form, so that a tree deeper than MAX_PATH goes too.
        removeTree(u"\\\\?\\" + m_folder);
        forgetPending(m_folder);
        // Tests may schedule entries of the link fixture too; the prefix's
        // next boot must not act on them either.
        forgetPending(fromWide(kLinkParent));
        forgetPending(fromWide(kNamesParent));
    }
    if (!m_key.empty()) {
        for (const std::u16string& link : m_links)
            deleteLinkKey(m_key + u"\\" + link);
        RegDeleteTreeW(HKEY_CURRENT_USER, wide(m_key));
    }
}

bool Sandbox::makeFolder(std::u16string_view relative)
{
    return CreateDirectoryW(wide(path(relative)), nullptr) != 0;
}

bool Sandbox::makeFile(std::u16string_view relative, std::uint64_t size, std::uint32_t attributes)
{
    // Missing folders on the way are made, as the fake does.
    for (std::size_t slash = relative.find(u'\\'); slash != std::u16string_view::npos;
         slash = relative.find(u'\\', slash + 1))
        CreateDirectoryW(wide(path(relative.substr(0, slash))), nullptr);
    HANDLE file = CreateFileW(wide(path(relative)), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return sized && (attributes == 0 || SetFileAttributesW(wide(path(relative)), attributes));
}

bool Sandbox::setLastWriteTime(std::u16string_view relative, std::int64_t fileTime)
{
    // A folder opens only with FILE_FLAG_BACKUP_SEMANTICS; FILE_WRITE_ATTRIBUTES
    // is all SetFileTime needs.
    HANDLE entry =
        CreateFileW(wide(path(relative)), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE)
        return false;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(fileTime) & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(fileTime) >> 32);
    const bool set = SetFileTime(entry, nullptr, nullptr, &time) != 0;
    CloseHandle(entry);
    return set;
}

bool Sandbox::entryExists(std::u16string_view relative) const
{
    return GetFileAttributesW(wide(path(relative))) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<HeldFile> Sandbox::holdOpen(std::u16string_view relative)
{
    HANDLE file = CreateFileW(wide(path(relative)), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WinHeldFile>(file);
}

std::vector<std::u16string> Sandbox::scheduledAtReboot() const
{
    const std::vector<std::u16string> strings = pendingOperations();
    std::vector<std::u16string> sources;
    for (std::size_t k = 0; k + 1 < strings.size(); k += 2)
        if (strings[k + 1].empty())
            sources.push_back(withoutNtPrefix(strings[k]));
    return sources;
}

LinkFixture Sandbox::linkFixture()
{
    LinkFixture fixture;
    fixture.parent = fromWide(kLinkParent);
    fixture.link = fixture.parent + u"\\link";
    fixture.target = fixture.parent + u"\\target";
    fixture.keptFile = fixture.target + u"\\keep.txt";
    const std::u16string paths = fixture.parent + u"\\paths";
    fixture.outside = paths + u"\\outside";
    fixture.outsideFile = fixture.outside + u"\\keep.txt";
    fixture.measured = paths + u"\\measured";
    fixture.doomed = paths + u"\\doomed";
    fixture.engine = fixture.parent + u"\\engine";
    // The links themselves only the Linux side can make; the plain entries
    // beside them are made again here, so that the deleting cases run the
    // same on every run, not only the first after the fixture.
    refreshPlainFile(fixture.doomed + u"\\a.txt", 3);
    refreshPlainFile(fixture.doomed + u"\\sub\\b.txt", 1);
    for (const char16_t* kind : {u"\\k6", u"\\k7", u"\\k8", u"\\k9"}) {
        refreshPlainFile(fixture.engine + kind + u"\\a.txt", 3);
        refreshPlainFile(fixture.engine + kind + u"\\sub\\b.txt", 1);
    }
    return fixture;
}

std::u16string Sandbox::namesFixture(std::u16string_view set, const std::vector<FixtureEntry>& entries)
{
    // Names like "con" or "trailing-dot." cannot be made by their plain
    // path, and making them through "\\?\" would use the very form under
    // test: the Linux side made them, here they are only looked for.
    const std::u16string folder = fromWide(kNamesParent) + u"\\" + std::u16string(set);
    for (const FixtureEntry& entry : entries)
        if (!listed(folder + u"\\" + entry.relative))
            return {};
    return folder;
}

std::set<std::u16string> Sandbox::listedNames(std::u16string_view folder)
{
    std::set<std::u16string> names;
    const std::u16string pattern = u"\\\\?\\" + std::u16string(folder) + u"\\*";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(wide(pattern), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::u16string name = fromWide(found.cFileName);
        if (name != u"." && name != u"..")
            names.insert(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

std::unique_ptr<HeldFile> Sandbox::holdOpenPath(std::u16string_view path)
{
    HANDLE file = CreateFileW(wide(std::u16string(path)), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WinHeldFile>(file);
}

bool Sandbox::makeKey(std::u16string_view relative)
{
    std::u16string subKey = m_key;
    if (!relative.empty())
        subKey += u"\\" + std::u16string(relative);
    OpenKey opened;
    return RegCreateKeyExW(HKEY_CURRENT_USER, wide(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, &opened.key, nullptr) == ERROR_SUCCESS;
}

bool Sandbox::setValue(std::u16string_view keyRelative, std::u16string_view name, std::uint32_t type,
                       std::span<const std::byte> data)
{
    std::u16string subKey = m_key;
    if (!keyRelative.empty())
        subKey += u"\\" + std::u16string(keyRelative);
    OpenKey opened;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &opened.key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::u16string valueName(name);
    return RegSetValueExW(opened.key, wide(valueName), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool Sandbox::keyExists(std::u16string_view relative) const
{
    std::u16string subKey = m_key;
    if (!relative.empty())
        subKey += u"\\" + std::u16string(relative);
    OpenKey opened;
    return RegOpenKeyExW(HKEY_CURRENT_USER, wide(subKey), 0, KEY_READ, &opened.key) == ERROR_SUCCESS;
}

bool Sandbox::valueExists(std::u16string_view keyRelative, std::u16string_view name) const
{
    std::u16string subKey = m_key;
    if (!keyRelative.empty())
        subKey += u"\\" + std::u16string(keyRelative);
    OpenKey opened;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(subKey), 0, KEY_READ, &opened.key) != ERROR_SUCCESS)
        return false;
    const std::u16string valueName(name);
    return RegQueryValueExW(opened.key, wide(valueName), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool Sandbox::makeLinkKey(std::u16string_view relative, std::u16string_view targetRelative)
{
    const std::u16string subKey = m_key + u"\\" + std::u16string(relative);
    const std::u16string target = nativeKeyPath(targetRelative);
    // Volatile, so that a link a crashed test leaves behind is gone when the
    // prefix's server next starts. Windows wants KEY_CREATE_LINK for the
    // option; the target is a native path without a terminating zero.
    OpenKey link;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(subKey), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link.key, nullptr) != ERROR_SUCCESS)
        return false;
    m_links.emplace_back(relative);
    return RegSetValueExW(link.key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                          static_cast<DWORD>(target.size() * sizeof(char16_t))) == ERROR_SUCCESS;
}

bool Sandbox::linkKeyExists(std::u16string_view relative) const
{
    const std::u16string subKey = m_key + u"\\" + std::u16string(relative);
    OpenKey link;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(subKey), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &link.key) !=
        ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    return RegQueryValueExW(link.key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

}  // namespace s::platform::testing

#include "platform/ProtectedPlaces.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolder.h"
#include "platform/RegFunctions.h"
#include "platform/ShellItems.h"
#include "platform/SystemInfo.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace s::file {

namespace {

namespace p = s::platform;

// Children of the Windows folder that Windows cannot start or update
// without. The catalogue's own places there (Temp, Prefetch, Logs,
// SoftwareDistribution\Download, Minidump, ...) are not among them.
constexpr std::array<std::u16string_view, 27> kWindowsChildren = {
    u"System",
    u"System32",
    u"SysWOW64",
    u"Sysnative",
    u"WinSxS",
    u"Installer",
    u"Fonts",
    u"assembly",
    u"Boot",
    u"servicing",
    u"inf",
    u"Microsoft.NET",
    u"Globalization",
    u"IME",
    u"Resources",
    u"PolicyDefinitions",
    u"Registration",
    u"security",
    u"apppatch",
    u"SystemApps",
    u"SystemResources",
    u"Speech",
    u"Cursors",
    u"Media",
    u"Web",
    u"ShellExperiences",
    u"PLA",
};

// Children of a system folder whose loss leaves Windows unbootable.
constexpr std::array<std::u16string_view, 5> kSystemChildren = {
    u"drivers", u"config", u"DriverStore", u"wbem", u"catroot",
};

// A profile's own folders: the user's documents and every program's
// settings. The last group are the names of Windows XP.
constexpr std::array<std::u16string_view, 21> kProfileChildren = {
    u"Desktop",
    u"Documents",
    u"Downloads",
    u"Pictures",
    u"Music",
    u"Videos",
    u"Favorites",
    u"AppData",
    u"AppData\\Roaming",
    u"AppData\\Local",
    u"AppData\\LocalLow",
    u"Contacts",
    u"Links",
    u"Saved Games",
    u"Searches",
    u"OneDrive",
    u"My Documents",
    u"Application Data",
    u"Local Settings",
    u"Local Settings\\Application Data",
    u"Start Menu",
};

// The shell's folders that are protected as they are.
constexpr std::array<int, 18> kPlainFolders = {
    p::kCsidlProgramFiles,    p::kCsidlProgramFilesX86, p::kCsidlProgramFilesCommon, p::kCsidlProgramFilesCommonX86,
    p::kCsidlCommonAppData,   p::kCsidlPersonal,        p::kCsidlFavorites,          p::kCsidlMyMusic,
    p::kCsidlMyVideo,         p::kCsidlMyPictures,      p::kCsidlDesktopDirectory,   p::kCsidlCommonDesktopDirectory,
    p::kCsidlCommonDocuments, p::kCsidlCommonMusic,     p::kCsidlCommonPictures,     p::kCsidlCommonVideo,
    p::kCsidlAppData,         p::kCsidlLocalAppData,
};

// Environment variables naming protected places, and what they name.
enum class Role : std::uint8_t { Plain, Windows, Profile };
struct Variable {
    std::u16string_view text;
    Role role;
};
constexpr std::array<Variable, 15> kVariables = {{
    {u"%SystemRoot%", Role::Windows},
    {u"%windir%", Role::Windows},
    {u"%ProgramFiles%", Role::Plain},
    {u"%ProgramFiles(x86)%", Role::Plain},
    {u"%ProgramW6432%", Role::Plain},
    {u"%CommonProgramFiles%", Role::Plain},
    {u"%CommonProgramFiles(x86)%", Role::Plain},
    {u"%ProgramData%", Role::Plain},
    {u"%ALLUSERSPROFILE%", Role::Plain},
    {u"%APPDATA%", Role::Plain},
    {u"%LOCALAPPDATA%", Role::Plain},
    {u"%USERPROFILE%", Role::Profile},
    {u"%PUBLIC%", Role::Profile},
    {u"%HOMEDRIVE%%HOMEPATH%", Role::Profile},
    {u"%SystemDrive%\\Users", Role::Plain},
}};

constexpr std::u16string_view kProfileList = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr std::size_t kTextCapacity = 1024;

char16_t foldUnit(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string folded(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = foldUnit(c);
    return out;
}

bool startsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool isLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The server names by which a share reaches this machine's own drives
// ("\\localhost\C$\Windows" is C:\Windows).
bool isLocalServer(std::u16string_view server)
{
    const std::u16string name = folded(server);
    return name == u"LOCALHOST" || name == u"127.0.0.1" || name == u"." || name == u"?";
}

std::u16string parentOf(std::u16string_view path)
{
    const std::size_t slash = path.find_last_of(u'\\');
    if (slash == std::u16string_view::npos || slash < 3)
        return {};
    return std::u16string(path.substr(0, slash));
}

std::u16string joined(std::u16string_view folder, std::u16string_view name)
{
    std::u16string out(folder);
    if (!out.empty() && out.back() != u'\\')
        out += u'\\';
    out += name;
    return out;
}

class PlaceSet {
public:
    bool contains(const std::u16string& key)
    {
        std::lock_guard hold(m_lock);
        if (!m_built) {
            build();
            m_built = true;
        }
        return m_keys.count(key) != 0;
    }

    void forget()
    {
        std::lock_guard hold(m_lock);
        m_built = false;
        m_keys.clear();
    }

private:
    // The text, and the long form of a place when it exists (the environment
    // may hold 8.3 names, "C:\DOCUME~1\ADMINI~1" on Windows XP). Only a
    // text with a "~" can hold a short name whose long form differs beyond
    // case, which the keys fold: the others are not asked about, as the
    // question walks every component of the path (a few hundred places,
    // about 0.2 s of every start under Wine).
    void add(std::u16string_view text)
    {
        if (text.empty())
            return;
        const std::u16string path(text);
        insert(path);
        if (path.find(u'~') == std::u16string::npos)
            return;
        std::u16string longPath;
        if (p::fileSystem().longPathName(path.c_str(), longPath) == p::kErrorSuccess)
            insert(longPath);
    }

    void insert(std::u16string_view path)
    {
        std::u16string key = ProtectedPlaces::comparisonKey(path);
        if (!key.empty())
            m_keys.insert(std::move(key));
    }

    void addWindows(std::u16string_view folder)
    {
        if (folder.empty())
            return;
        add(folder);
        for (std::u16string_view child : kWindowsChildren)
            add(joined(folder, child));
        for (std::u16string_view system : {u"System32", u"SysWOW64"})
            addSystem(joined(folder, system));
    }

    void addSystem(std::u16string_view folder)
    {
        if (folder.empty())
            return;
        add(folder);
        for (std::u16string_view child : kSystemChildren)
            add(joined(folder, child));
    }

    // A profile root, its own folders, and the folder that holds the
    // profiles.
    void addProfile(std::u16string_view root)
    {
        if (root.empty())
            return;
        add(root);
        for (std::u16string_view child : kProfileChildren)
            add(joined(root, child));
        add(parentOf(root));
    }

    std::u16string expand(std::u16string_view text)
    {
        std::u16string out;
        if (p::environment().expand(text, kTextCapacity, out) != p::kErrorSuccess)
            return {};
        // A variable that is not set stays as written.
        if (out.find(u'%') != std::u16string::npos)
            return {};
        return out;
    }

    std::u16string shellFolder(int csidl)
    {
        std::u16string path;
        if (p::shellItems().specialFolderPath(csidl, path) < 0)
            return {};
        return path;
    }

    std::u16string registryText(const p::RegKey& key, const char16_t* name)
    {
        std::array<char16_t, kTextCapacity> buffer{};
        std::uint32_t type = 0;
        auto length = static_cast<std::uint32_t>((buffer.size() - 1) * sizeof(char16_t));
        if (p::regFunctions().queryValue(key, name, &type, reinterpret_cast<std::byte*>(buffer.data()), &length) !=
            p::kErrorSuccess)
            return {};
        if (type != p::kRegSz && type != p::kRegExpandSz)
            return {};
        std::u16string_view text(buffer.data(), length / sizeof(char16_t));
        text = text.substr(0, text.find(u'\0'));
        return type == p::kRegExpandSz ? expand(text) : std::u16string(text);
    }

    // HKLM\...\ProfileList: the profiles folder, Default and Public (names
    // relative to it on older systems) and every profile's ProfileImagePath.
    void addProfileList()
    {
        auto& registry = p::regFunctions();
        p::RegKey list;
        const std::u16string listPath(kProfileList);
        if (registry.openKey(p::RootKey::LocalMachine, listPath.c_str(), p::kKeyRead, list) != p::kErrorSuccess)
            return;
        const std::u16string folder = registryText(list, u"ProfilesDirectory");
        add(folder);
        for (const char16_t* name : {u"Default", u"Public", u"AllUsersProfile"}) {
            std::u16string profile = registryText(list, name);
            if (!profile.empty() && ProtectedPlaces::comparisonKey(profile).empty())
                profile = folder.empty() ? std::u16string() : joined(folder, profile);
            addProfile(profile);
        }
        std::vector<std::u16string> subkeys;
        for (std::uint32_t index = 0;; ++index) {
            std::array<char16_t, 256> name{};
            auto length = static_cast<std::uint32_t>(name.size());
            if (registry.enumKey(list, index, name.data(), length) != p::kErrorSuccess)
                break;
            subkeys.emplace_back(name.data(), length);
        }
        for (const std::u16string& sid : subkeys) {
            p::RegKey profile;
            if (registry.openKey(list, sid.c_str(), p::kKeyRead, profile) == p::kErrorSuccess)
                addProfile(registryText(profile, u"ProfileImagePath"));
        }
    }

    void build()
    {
        const p::SystemFacts& facts = p::systemFacts();
        // The Windows and system folders as the program knows them
        // everywhere; SysWOW64 comes from the shell, and %SystemRoot% below.
        addWindows(facts.windowsFolder);
        addSystem(facts.systemFolder);
        addSystem(shellFolder(p::kCsidlSystemX86));
        for (int csidl : kPlainFolders)
            add(shellFolder(csidl));
        addProfile(shellFolder(p::kCsidlProfile));
        std::u16string downloads;
        if (p::shellItems().downloadsFolderPath(downloads) >= 0)
            add(downloads);
        for (const Variable& variable : kVariables) {
            const std::u16string path = expand(variable.text);
            switch (variable.role) {
            case Role::Plain:
                add(path);
                break;
            case Role::Windows:
                addWindows(path);
                break;
            case Role::Profile:
                addProfile(path);
                break;
            }
        }
        addProfileList();
        const std::u16string program(p::programFolder().view());
        if (!ProtectedPlaces::comparisonKey(program).empty()) {
            add(program);
            add(joined(program, u"savedata"));
        }
    }

    std::mutex m_lock;
    bool m_built = false;
    std::unordered_set<std::u16string> m_keys;
};

PlaceSet& places()
{
    static PlaceSet instance;
    return instance;
}

}  // namespace

namespace {

bool isSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

// startsWith, reading "/" in `text` as "\".
bool startsWithPath(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (text[i] != prefix[i] && !(prefix[i] == u'\\' && text[i] == u'/'))
            return false;
    return true;
}

std::size_t findSeparator(std::u16string_view text, std::size_t from = 0)
{
    return text.find_first_of(u"\\/", from);
}

void appendFolded(std::u16string& out, std::u16string_view text)
{
    for (char16_t c : text)
        out += foldUnit(c);
}

// comparisonKey written into `key`. False (key empty) for a path that is
// not absolute. rootOnly stops after the root: the path object asks only
// whether the path is absolute, of every entry a walk lists, and a drive
// root fits the string's own room, so that costs no allocation.
bool keyInto(std::u16string_view path, std::u16string& key, bool rootOnly = false)
{
    key.clear();
    std::u16string_view rest = path;
    bool unc = false;
    bool verbatim = false;
    if (startsWithPath(rest, u"\\\\?\\UNC\\")) {
        rest = rest.substr(8);
        unc = true;
    } else if (startsWithPath(rest, u"\\\\?\\") || startsWithPath(rest, u"\\\\.\\")) {
        rest = rest.substr(4);
        verbatim = true;
    } else if (startsWithPath(rest, u"\\\\")) {
        rest = rest.substr(2);
        unc = true;
    }
    if (unc) {
        const std::size_t serverEnd = findSeparator(rest);
        if (serverEnd == 0 || serverEnd == std::u16string_view::npos)
            return false;
        const std::u16string_view server = rest.substr(0, serverEnd);
        std::u16string_view afterServer = rest.substr(serverEnd + 1);
        const std::size_t shareEnd = findSeparator(afterServer);
        const std::u16string_view share = afterServer.substr(0, shareEnd);
        if (share.empty())
            return false;
        rest = shareEnd == std::u16string_view::npos ? std::u16string_view() : afterServer.substr(shareEnd + 1);
        if (isLocalServer(server) && share.size() == 2 && isLetter(share[0]) && share[1] == u'$') {
            appendFolded(key, share.substr(0, 1));
            key += u':';
        } else {
            key += u"\\\\";
            appendFolded(key, server);
            key += u'\\';
            appendFolded(key, share);
        }
    } else {
        // "C:\..." only: "C:x" and "\x" depend on the current folder.
        const bool driveRoot = rest.size() >= 2 && isLetter(rest[0]) && rest[1] == u':' &&
                               (rest.size() == 2 ? verbatim : isSeparator(rest[2]));
        if (!driveRoot)
            return false;
        appendFolded(key, rest.substr(0, 2));
        rest = rest.size() > 3 ? rest.substr(3) : std::u16string_view();
    }

    if (rootOnly)
        return true;
    // The components, appended as they come; ".." takes the last one away
    // again, never the root.
    const std::size_t rootLength = key.size();
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = findSeparator(rest, start);
        if (end == std::u16string_view::npos)
            end = rest.size();
        std::u16string_view part = rest.substr(start, end - start);
        start = end + 1;
        if (part == u"..") {
            if (key.size() > rootLength)
                key.resize(key.rfind(u'\\'));
            continue;
        }
        // Win32 drops trailing dots and spaces: "Windows." is "Windows".
        while (!part.empty() && (part.back() == u'.' || part.back() == u' '))
            part.remove_suffix(1);
        if (!part.empty()) {
            key += u'\\';
            appendFolded(key, part);
        }
    }
    return true;
}

}  // namespace

std::u16string ProtectedPlaces::comparisonKey(std::u16string_view path)
{
    std::u16string key;
    keyInto(path, key);
    return key;
}

bool ProtectedPlaces::isAbsolute(std::u16string_view path)
{
    std::u16string root;
    return keyInto(path, root, true);
}

bool ProtectedPlaces::contains(std::u16string_view path)
{
    // No thread_local block for the key: the MinGW runtime frees a thread's
    // thread_local storage before it runs their destructors, which then free
    // that memory again when the worker ends.
    std::u16string key;
    key.reserve(path.size() + 2);
    if (!keyInto(path, key))
        return false;
    // A root has no backslash after its drive ("C:") or share
    // ("\\SERVER\SHARE").
    const std::size_t rootEnd = startsWith(key, u"\\\\") ? key.find(u'\\', key.find(u'\\', 2) + 1) : key.find(u'\\');
    if (rootEnd == std::u16string::npos)
        return true;
    return places().contains(key);
}

void ProtectedPlaces::forget()
{
    places().forget();
}

}  // namespace s::file

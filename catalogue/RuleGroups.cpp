#include "catalogue/RuleGroups.h"

#include "catalogue/FolderListings.h"
#include "catalogue/KeyListings.h"
#include "engine/KeepList.h"
#include "engine/TargetSafety.h"
#include "lang/Localizer.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/FindPattern.h"
#include "platform/MachineFacts.h"
#include "platform/PathWin.h"
#include "platform/ProgramFolder.h"
#include "platform/ProtectedPlaces.h"
#include "platform/RegDir.h"
#include "platform/ShellItems.h"
#include "platform/SystemInfo.h"

#include <array>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace s::file::gui::dialogs::purgo {

namespace {

namespace p = s::platform;
using s::file::win::PathListHandle;
using s::file::win::PathWin;

// A path with wildcard folders may name many folders; a pattern like "*\*\*"
// over a large tree must not make the build take minutes.
constexpr std::size_t kMaxExpansions = 1000;

std::u16string folded(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer::foldedCopy(text);
}

bool hasWildcard(std::u16string_view text)
{
    return text.find_first_of(u"*?") != std::u16string_view::npos;
}

// FNV-1a over the folded text: the same name gives the same id on every run.
std::uint32_t hashOf(std::u16string_view text)
{
    std::uint32_t hash = 2166136261u;
    for (char16_t c : text) {
        const char16_t unit = s::str::strbuffer::StrBuffer::foldCase(c);
        hash = (hash ^ static_cast<std::uint32_t>(unit & 0xFF)) * 16777619u;
        hash = (hash ^ static_cast<std::uint32_t>(unit >> 8)) * 16777619u;
    }
    return hash;
}

std::u16string hex8(std::uint32_t value)
{
    std::u16string out(8, u'0');
    for (int i = 7; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = u"0123456789abcdef"[value & 0xF];
        value >>= 4;
    }
    return out;
}

std::u16string decimal(int value)
{
    std::u16string out;
    for (char c : std::to_string(value))
        out += static_cast<char16_t>(c);
    return out;
}

// The categories of LangSecRef, in words.
std::u16string_view categoryOf(const RuleEntry& entry)
{
    if (!entry.section.empty())
        return entry.section;
    switch (entry.langSecRef) {
    case 3021:
        return u"Applications";
    case 3022:
        return u"Internet";
    case 3023:
        return u"Multimedia";
    case 3024:
        return u"Utilities";
    case 3025:
        return u"Windows";
    case 3026:
        return u"Firefox";
    case 3027:
        return u"Opera";
    case 3028:
        return u"Safari";
    case 3029:
        return u"Google Chrome";
    case 3030:
        return u"Thunderbird";
    case 3031:
        return u"Windows Store";
    default:
        return u"Other";
    }
}

std::u16string titleOf(std::u16string_view name)
{
    std::u16string_view title = name;
    if (title.size() > 2 && title.substr(title.size() - 2) == u" *")
        title.remove_suffix(2);
    while (!title.empty() && title.back() == u' ')
        title.remove_suffix(1);
    return std::u16string(title.empty() ? name : title);
}

// The full root name of an abbreviated or full one; empty when unknown.
std::u16string_view rootName(std::u16string_view root)
{
    static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 10> kRoots = {{
        {u"hkcu", u"HKEY_CURRENT_USER"},
        {u"hkey_current_user", u"HKEY_CURRENT_USER"},
        {u"hklm", u"HKEY_LOCAL_MACHINE"},
        {u"hkey_local_machine", u"HKEY_LOCAL_MACHINE"},
        {u"hku", u"HKEY_USERS"},
        {u"hkey_users", u"HKEY_USERS"},
        {u"hkcr", u"HKEY_CLASSES_ROOT"},
        {u"hkey_classes_root", u"HKEY_CLASSES_ROOT"},
        {u"hkcc", u"HKEY_CURRENT_CONFIG"},
        {u"hkey_current_config", u"HKEY_CURRENT_CONFIG"},
    }};
    const std::u16string lower = folded(root);
    for (const auto& [name, full] : kRoots) {
        if (lower == name)
            return full;
    }
    return {};
}

// A key as the key object reads it: the full root name, a backslash, the
// subkey path without doubled or trailing backslashes. Empty (and `why` set)
// when it cannot be one.
std::u16string keyPathOf(std::u16string_view text, std::u16string& why)
{
    const std::size_t slash = text.find(u'\\');
    const std::u16string_view root = rootName(text.substr(0, slash));
    if (root.empty()) {
        why = u"no registry root: ";
        why += text;
        return {};
    }
    for (char16_t c : text) {
        if (c < 0x20) {
            why = u"a control character in a key";
            return {};
        }
    }
    if (hasWildcard(text)) {
        why = u"a wildcard in a key: ";
        why += text;
        return {};
    }
    std::u16string path(root);
    if (slash != std::u16string_view::npos) {
        std::size_t start = slash + 1;
        while (start <= text.size()) {
            std::size_t end = text.find(u'\\', start);
            if (end == std::u16string_view::npos)
                end = text.size();
            if (end > start) {
                path += u'\\';
                path += text.substr(start, end - start);
            }
            start = end + 1;
        }
    }
    return path;
}

struct Version {
    unsigned major = 0;
    unsigned minor = 0;
};

Version versionOf(std::u16string_view text)
{
    Version version;
    unsigned* part = &version.major;
    for (char16_t c : text) {
        if (c == u'.') {
            if (part == &version.minor)
                break;
            part = &version.minor;
        } else if (*part < 100000) {
            *part = *part * 10 + static_cast<unsigned>(c - u'0');
        }
    }
    return version;
}

bool lessThan(Version a, Version b)
{
    return a.major != b.major ? a.major < b.major : a.minor < b.minor;
}

}  // namespace

// The variables' folders, read once per builder.
struct RuleGroupBuilder::Machine {
    Version version;
    std::u16string systemFolder;

    Machine()
    {
        const p::SystemFacts& facts = p::systemFacts();
        version = {facts.majorVersion, facts.minorVersion};
        systemFolder = facts.systemFolder;
    }

    // The folders of a variable (folded name), asked of the platform when
    // it is first used: each question to the shell costs under Wine, and a
    // rule file uses few of the variables. Unknown names give nullptr.
    const std::vector<std::u16string>* folders(std::u16string_view name) const
    {
        const std::u16string key = folded(name);
        const auto found = m_variables.find(key);
        if (found != m_variables.end())
            return &found->second;
        std::vector<std::u16string> resolved;
        if (!resolve(key, resolved))
            return nullptr;
        return &(m_variables[key] = kept(std::move(resolved)));
    }

    static bool resolve(const std::u16string& name, std::vector<std::u16string>& out)
    {
        const p::SystemFacts& facts = p::systemFacts();
        const std::u16string& windows = facts.windowsFolder;
        if (name == u"appdata") {
            out = {special(p::kCsidlAppData)};
        } else if (name == u"localappdata") {
            out = {special(p::kCsidlLocalAppData)};
        } else if (name == u"locallowappdata") {
            out = {known(p::KnownFolder::LocalAppDataLow)};
        } else if (name == u"commonappdata" || name == u"programdata") {
            out = {special(p::kCsidlCommonAppData)};
        } else if (name == u"allusersprofile") {
            // Before Vista the all-users profile was its own folder; since,
            // the environment names ProgramData.
            out = {either(environment(u"%ALLUSERSPROFILE%"), special(p::kCsidlCommonAppData))};
        } else if (name == u"programfiles") {
            out = {special(p::kCsidlProgramFiles), special(p::kCsidlProgramFilesX86)};
        } else if (name == u"programfiles(x86)") {
            out = {special(p::kCsidlProgramFilesX86)};
        } else if (name == u"commonprogramfiles") {
            out = {special(p::kCsidlProgramFilesCommon), special(p::kCsidlProgramFilesCommonX86)};
        } else if (name == u"commonprogramfiles(x86)") {
            out = {special(p::kCsidlProgramFilesCommonX86)};
        } else if (name == u"userprofile") {
            out = {special(p::kCsidlProfile)};
        } else if (name == u"documents") {
            out = {special(p::kCsidlPersonal)};
        } else if (name == u"music") {
            out = {special(p::kCsidlMyMusic)};
        } else if (name == u"pictures") {
            out = {special(p::kCsidlMyPictures)};
        } else if (name == u"video") {
            out = {special(p::kCsidlMyVideo)};
        } else if (name == u"windir" || name == u"systemroot") {
            out = {windows};
        } else if (name == u"systemdrive" || name == u"rootdir") {
            // The format's tools take %RootDir% for the drive Windows is on.
            out = {driveOf(windows)};
        } else if (name == u"homedrive") {
            out = {either(environment(u"%HOMEDRIVE%"), driveOf(special(p::kCsidlProfile)))};
        } else if (name == u"temp" || name == u"tmp") {
            // GetTempPathW reads TMP, then TEMP; a variable of each name
            // names its own value when the environment has it.
            out = {either(environment(name == u"temp" ? u"%TEMP%" : u"%TMP%"),
                          withoutSlash(p::machineFacts().tempPath()))};
        } else if (name == u"username") {
            // A name, not a folder ("C:\Users\%UserName%\..."): the
            // environment's, else the account's.
            out = {either(environment(u"%USERNAME%"), p::machineFacts().userName())};
        } else if (name == u"public") {
            out = {either(known(p::KnownFolder::Public), environment(u"%PUBLIC%"))};
        } else {
            return false;
        }
        return true;
    }

    static std::u16string either(std::u16string first, std::u16string second)
    {
        return first.empty() ? std::move(second) : std::move(first);
    }

    // "C:" of "C:\Windows"; empty for a path without a drive letter.
    static std::u16string driveOf(const std::u16string& path)
    {
        return path.size() >= 2 && path[1] == u':' ? path.substr(0, 2) : std::u16string();
    }

    static std::u16string withoutSlash(std::u16string text)
    {
        while (text.size() > 3 && (text.back() == u'\\' || text.back() == u'/'))
            text.pop_back();
        return text;
    }

    static std::u16string special(int csidl)
    {
        std::u16string path;
        return p::shellItems().specialFolderPath(csidl, path) < 0 ? std::u16string() : withoutSlash(path);
    }

    static std::u16string known(p::KnownFolder folder)
    {
        std::u16string path;
        return p::shellItems().knownFolderPath(folder, path) < 0 ? std::u16string() : withoutSlash(path);
    }

    static std::u16string environment(std::u16string_view text)
    {
        std::u16string out;
        if (p::environment().expand(text, 1024, out) != p::kErrorSuccess || out.find(u'%') != std::u16string::npos)
            return {};
        return withoutSlash(out);
    }

    // The folders, without empty ones and without repeats.
    static std::vector<std::u16string> kept(std::vector<std::u16string> folders)
    {
        std::vector<std::u16string> out;
        for (std::u16string& folder : folders) {
            bool repeat = folder.empty();
            for (const std::u16string& earlier : out)
                repeat = repeat || folded(earlier) == folded(folder);
            if (!repeat)
                out.push_back(std::move(folder));
        }
        return out;
    }

    // Every text the variables of `text` stand for; false (why set) when one
    // is unknown or unresolved here.
    bool substitute(std::u16string_view text, std::vector<std::u16string>& out, std::u16string& why) const
    {
        // The strings of `out` are reused: a caller that passes the same
        // vector each time allocates only when a path is longer than before.
        out.resize(1);
        out[0].clear();
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t open = text.find(u'%', at);
            if (open == std::u16string_view::npos) {
                for (std::u16string& o : out)
                    o += text.substr(at);
                break;
            }
            const std::size_t close = text.find(u'%', open + 1);
            if (close == std::u16string_view::npos) {
                why = u"an unclosed %: ";
                why += text;
                return false;
            }
            for (std::u16string& o : out)
                o += text.substr(at, open - at);
            const std::u16string_view name = text.substr(open + 1, close - open - 1);
            const std::vector<std::u16string>* found = folders(name);
            if (!found || found->empty()) {
                why = !found ? u"unknown variable %" : u"a variable this machine has no folder for: %";
                why += name;
                why += u'%';
                return false;
            }
            if (found->size() == 1 && out.size() == 1) {
                out[0] += found->front();
            } else {
                std::vector<std::u16string> next;
                for (const std::u16string& o : out) {
                    for (const std::u16string& folder : *found)
                        next.push_back(o + folder);
                }
                out = std::move(next);
            }
            at = close + 1;
        }
        return true;
    }

private:
    mutable std::map<std::u16string, std::vector<std::u16string>> m_variables;  // by folded name
};

// What the entries' builders share for one build.
struct RuleGroupBuilder::Context {
    std::unique_ptr<Machine> machine = std::make_unique<Machine>();
    FolderListings listings;
    KeyListings keys;
    // The engine's judgement of each place a target names, by kind and place.
    std::unordered_map<std::u16string, bool> judgements;
    std::vector<std::u16string> substituted;
    std::vector<std::u16string> found;
};

namespace {

// The folders a path with wildcard components names, every component a
// folder. `lastMayBeFile`: the last component may match files too (for
// DetectFile). Links are never matched, so never entered.
void expandComponents(FolderListings& listings, std::u16string_view path, bool lastMayBeFile,
                      std::vector<std::u16string>& out)
{
    // The root ("C:" or "\\server\share") is kept as it is.
    std::size_t rootEnd = path.find(u'\\', path[0] == u'\\' ? path.find(u'\\', 2) + 1 : 0);
    if (path[0] == u'\\' && rootEnd == std::u16string_view::npos)
        rootEnd = path.size();
    std::vector<std::u16string> current{std::u16string(path.substr(0, rootEnd))};
    std::size_t start = rootEnd == std::u16string_view::npos ? path.size() : rootEnd + 1;
    bool expanded = false;
    while (start < path.size() && !current.empty()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        const std::u16string_view component = path.substr(start, end - start);
        const bool last = end == path.size();
        start = end + 1;
        if (component.empty())
            continue;
        if (!hasWildcard(component)) {
            // After a wildcard, a name is kept only where it is there: a
            // line like "User Data\*\GPUCache" names the one folder of each
            // profile, not one of every folder beside the profiles.
            std::size_t kept = 0;
            for (std::u16string& c : current) {
                if (expanded) {
                    const FolderListings::Entry* entry = listings.find(c, component);
                    if (!entry || (!(entry->attributes & p::kFileAttributeDirectory) && !(last && lastMayBeFile)))
                        continue;
                }
                c += u'\\';
                c += component;
                if (&c != &current[kept])
                    current[kept] = std::move(c);
                ++kept;
            }
            current.resize(kept);
            continue;
        }
        expanded = true;
        std::vector<std::u16string> next;
        for (const std::u16string& folder : current) {
            const std::vector<FolderListings::Entry>* entries = listings.list(folder);
            if (!entries)
                continue;
            for (const FolderListings::Entry& entry : *entries) {
                if (next.size() >= kMaxExpansions)
                    break;
                if ((entry.attributes & p::kFileAttributeReparsePoint) ||
                    (!(last && lastMayBeFile) && !(entry.attributes & p::kFileAttributeDirectory)))
                    continue;
                if (!p::findPatternMatches(component, entry.name))
                    continue;
                std::u16string& found = next.emplace_back(folder);
                found += u'\\';
                found += entry.name;
            }
        }
        current = std::move(next);
    }
    for (std::u16string& c : current) {
        if (out.size() >= kMaxExpansions)
            break;
        out.push_back(std::move(c));
    }
}

// What browsers keep of their users that a clean must not take unasked:
// Chromium's saved passwords, bookmarks, settings and extensions in each
// profile and its own settings beside the profiles, Firefox's (and its
// forks') saved passwords, bookmarks and settings in each profile.
enum class Family : std::uint8_t { ChromiumProfile, ChromiumUserData, GeckoProfile };

struct Guarded {
    std::u16string_view name;
    Family family;
    bool folder;
};

constexpr Guarded kGuarded[] = {
    {u"Bookmarks", Family::ChromiumProfile, false},
    {u"Login Data", Family::ChromiumProfile, false},
    {u"Preferences", Family::ChromiumProfile, false},
    {u"Secure Preferences", Family::ChromiumProfile, false},
    {u"Web Data", Family::ChromiumProfile, false},
    {u"Extensions", Family::ChromiumProfile, true},
    {u"Local Extension Settings", Family::ChromiumProfile, true},
    {u"Local State", Family::ChromiumUserData, false},
    {u"key4.db", Family::GeckoProfile, false},
    {u"logins.json", Family::GeckoProfile, false},
    {u"places.sqlite", Family::GeckoProfile, false},
    {u"prefs.js", Family::GeckoProfile, false},
};

// How deep below a rule's folder a profile is looked for: "Google" holds
// "Chrome\User Data\Default", "Mozilla" "Firefox\Profiles\x".
constexpr int kProfileDepth = 3;
// Folders looked at for one target, at most.
constexpr int kGuardFolders = 200;
// How far up a rule's folder a profile is looked for.
constexpr int kAncestors = 12;

// What one target deletes, as the guard sees it.
struct Reach {
    std::u16string folder;
    std::u16string pattern;  // the files it takes ("*": all)
    bool filesAtTop = true;  // files directly in the folder
    bool recursive = false;  // the pattern applies in every subfolder
    bool foldersGo = false;  // subfolders go whole
};

bool reachOf(const TimeRecord& target, Reach& reach)
{
    const std::u16string_view text = target.target.view();
    switch (target.kind) {
    case Type_File:
    case Type_File_Wild: {
        const std::size_t slash = text.rfind(u'\\');
        if (slash == std::u16string_view::npos)
            return false;
        reach.folder = text.substr(0, slash);
        reach.pattern = text.substr(slash + 1);
        reach.recursive = target.kind == Type_File_Wild && target.wildInSubfolders;
        return true;
    }
    case Type_Folder_1_Level:
    case Type_Folder_All_Levels:
    case Type_Folder_All_Levels_IncludeSelf:
    case Type_Folder_OnlyAllSubFolders:
        reach.folder = text;
        reach.pattern = u"*";
        reach.filesAtTop = target.kind != Type_Folder_OnlyAllSubFolders;
        reach.recursive = target.kind != Type_Folder_1_Level;
        reach.foldersGo = reach.recursive;
        return true;
    default:
        return false;
    }
}

// The engine's judgement of a target (engine/TargetSafety.h), its files'
// attributes taken from the build's listings.
std::uint32_t listedAttributes(void* listings, std::u16string_view path)
{
    return static_cast<FolderListings*>(listings)->attributes(path);
}

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A path the engine takes (ProtectedPlaces::comparisonKey is not empty for
// it): "C:\...", "\\server\share...", or either in the "\\?\" forms, with
// backslashes only. Asked of every path a rule names, so without building
// the comparison key.
bool isFullPath(std::u16string_view path)
{
    const auto serverAndShare = [](std::u16string_view rest) {
        const std::size_t serverEnd = rest.find(u'\\');
        if (serverEnd == 0 || serverEnd == std::u16string_view::npos)
            return false;
        const std::size_t shareEnd = rest.find(u'\\', serverEnd + 1);
        return (shareEnd == std::u16string_view::npos ? rest.size() : shareEnd) > serverEnd + 1;
    };
    if (path.substr(0, 8) == u"\\\\?\\UNC\\")
        return serverAndShare(path.substr(8));
    if (path.substr(0, 4) == u"\\\\?\\" || path.substr(0, 4) == u"\\\\.\\") {
        const std::u16string_view rest = path.substr(4);
        return rest.size() >= 2 && isLetter(rest[0]) && rest[1] == u':' && (rest.size() == 2 || rest[2] == u'\\');
    }
    if (path.substr(0, 2) == u"\\\\")
        return serverAndShare(path.substr(2));
    return path.size() >= 3 && isLetter(path[0]) && path[1] == u':' && path[2] == u'\\';
}

class EntryBuilder {
public:
    EntryBuilder(RuleGroupBuilder::Context& context, const RuleEntry& entry, RulesReport& report)
        : m_machine(*context.machine), m_listings(context.listings), m_keys(context.keys),
          m_judgements(context.judgements), m_substituted(context.substituted), m_found(context.found), m_entry(entry),
          m_report(report)
    {
    }

    // The folders (or, lastMayBeFile, files) a rule path names here; false
    // with why when it cannot name any.
    bool paths(std::u16string_view text, bool lastMayBeFile, std::vector<std::u16string>& out, std::u16string& why)
    {
        std::vector<std::u16string>& substituted = m_substituted;
        if (!m_machine.substitute(text, substituted, why))
            return false;
        for (std::u16string& path : substituted) {
            for (char16_t& c : path) {
                if (c == u'/')
                    c = u'\\';
                // Windows reads a path only up to a NUL; no name holds a
                // control character.
                if (c < 0x20) {
                    why = u"a control character in a path";
                    return false;
                }
            }
            while (path.size() > 3 && path.back() == u'\\')
                path.pop_back();
            // The engine's own rule: "C:\x" or "\\server\share\x" only.
            if (!isFullPath(path)) {
                why = u"not an absolute path: ";
                why += path;
                return false;
            }
            // Most paths name one place: no need to take them apart.
            if (!hasWildcard(path) && path.find(u"\\\\", 2) == std::u16string::npos) {
                out.push_back(path);
                continue;
            }
            expandComponents(m_listings, path, lastMayBeFile, out);
        }
        return true;
    }

    bool detected()
    {
        if (m_entry.detectOsUnreadable)
            return false;
        if (m_entry.hasDetectOs) {
            const Version here = m_machine.version;
            if (!m_entry.detectOsMin.empty() && lessThan(here, versionOf(m_entry.detectOsMin)))
                return false;
            if (!m_entry.detectOsMax.empty() && lessThan(versionOf(m_entry.detectOsMax), here))
                return false;
        }
        if (m_entry.detects.empty() && m_entry.detectFiles.empty())
            return true;
        std::u16string why;
        for (const std::u16string_view detect : m_entry.detects) {
            const std::u16string key = keyPathOf(detect, why);
            if (!key.empty() && m_keys.exists(key))
                return true;
        }
        std::vector<std::u16string>& found = m_found;
        for (const std::u16string_view detectFile : m_entry.detectFiles) {
            found.clear();
            if (!paths(detectFile, true, found, why))
                continue;
            for (const std::u16string& path : found) {
                if (m_listings.exists(path))
                    return true;
            }
        }
        return false;
    }

    // The entry's exclusions as the keep list of its targets. False (why
    // set) when one cannot be honoured: what it was to keep is unknown, so
    // the entry must not clean.
    bool keepList(std::u16string& why)
    {
        if (m_entry.excludeUnreadable) {
            why = u"an ExcludeKey that cannot be read";
            for (const std::u16string& problem : m_entry.problems) {
                if (problem.rfind(u"ExcludeKey", 0) == 0) {
                    why += u" (" + problem + u")";
                    break;
                }
            }
            return false;
        }
        auto keep = std::make_shared<KeepList>();
        int index = 0;
        for (const RuleExclude& exclude : m_entry.excludes) {
            const std::u16string name = u"ExcludeKey" + decimal(exclude.number ? exclude.number : ++index);
            std::u16string problem;
            if (!addExclude(exclude, *keep, problem)) {
                why = u"an ExcludeKey that cannot be honoured (" + name + u": " + problem + u")";
                return false;
            }
        }
        if (!keep->isEmpty())
            m_keep = std::move(keep);
        return true;
    }

    bool addExclude(const RuleExclude& exclude, KeepList& keep, std::u16string& why)
    {
        if (exclude.kind == RuleExclude::Kind::Registry) {
            const std::u16string key = keyPathOf(exclude.path, why);
            if (key.empty())
                return false;
            return exclude.hasValue ? keep.keepValue(key, exclude.value) : keep.keepKey(key);
        }
        const auto depth =
            exclude.kind == RuleExclude::Kind::File ? KeepList::Depth::ThisFolder : KeepList::Depth::AllLevels;
        for (const std::u16string& written : exclude.patterns) {
            // "sub\keep.dat" keeps keep.dat in the subfolder sub.
            std::u16string folder = exclude.path;
            std::u16string pattern = written;
            for (char16_t& c : pattern) {
                if (c == u'/')
                    c = u'\\';
            }
            const std::size_t slash = pattern.rfind(u'\\');
            if (slash != std::u16string::npos) {
                folder += u'\\';
                folder += pattern.substr(0, slash);
                pattern.erase(0, slash + 1);
            }
            std::vector<std::u16string> folders;
            if (!paths(folder, false, folders, why))
                return false;
            for (const std::u16string& place : folders) {
                if (!keep.keepFiles(place, pattern, depth)) {
                    why = u"not a file name pattern: " + written;
                    return false;
                }
            }
        }
        return true;
    }

    void fileKey(const RuleFileKey& key, int index)
    {
        const std::u16string name = u"FileKey" + decimal(key.number ? key.number : index);
        std::vector<std::u16string> folders;
        std::u16string why;
        if (!paths(key.path, false, folders, why)) {
            refuse(name, why);
            return;
        }
        // REMOVESELF implies RECURSE: the matching files at every depth,
        // then the folders left empty and the folder itself
        // (TimeRecord::removeEmptyFolders), whatever the pattern.
        const bool recurse = key.recurse || key.removeSelf;
        const std::vector<std::u16string_view> patterns = key.patterns();
        for (const std::u16string& folder : folders) {
            for (const std::u16string_view pattern : patterns) {
                if (pattern.find_first_of(u"\\/") != std::u16string_view::npos) {
                    refuse(name, u"a pattern with a folder in it: " + std::u16string(pattern));
                    continue;
                }
                std::u16string path = folder;
                TargetKind kind = Type_Folder_1_Level;
                bool inSubfolders = false;
                if (matchesEveryName(pattern)) {
                    kind = key.removeSelf ? Type_Folder_All_Levels_IncludeSelf
                           : recurse      ? Type_Folder_All_Levels
                                          : Type_Folder_1_Level;
                } else {
                    if (path.back() != u'\\')
                        path += u'\\';
                    path += pattern;
                    kind = hasWildcard(pattern) || recurse ? Type_File_Wild : Type_File;
                    inSubfolders = recurse;
                }
                add(name, kind, path, inSubfolders, true, key.removeSelf);
            }
        }
    }

    void regKey(const RuleRegKey& key, int index)
    {
        const std::u16string name = u"RegKey" + decimal(key.number ? key.number : index);
        std::u16string why;
        std::u16string path = keyPathOf(key.key, why);
        if (path.empty()) {
            refuse(name, why);
            return;
        }
        if (!key.hasValue) {
            add(name, Type_RegKey_All_Levels_IncludeSelf, path, false, false, false);
            return;
        }
        // The engine splits a value target at its last backslash.
        if (key.value.find(u'\\') != std::u16string::npos) {
            refuse(name, u"a value name with a backslash: " + std::u16string(key.value));
            return;
        }
        path += u'\\';
        path += key.value;
        add(name, Type_RegValue, path, false, false, false);
    }

    // The group, or nullptr (the reason in `why`).
    TimeRecord* build(std::u16string& why)
    {
        if (!keepList(why))
            return nullptr;
        int index = 0;
        for (const RuleFileKey& key : m_entry.fileKeys)
            fileKey(key, ++index);
        index = 0;
        for (const RuleRegKey& key : m_entry.regKeys)
            regKey(key, ++index);
        if (m_entry.fileKeys.empty() && m_entry.regKeys.empty()) {
            why = u"no FileKey or RegKey";
            return nullptr;
        }
        if (m_targets.empty()) {
            why = !m_firstRefusal.empty() ? u"every path is protected or invalid (" + m_firstRefusal + u")"
                                          : u"its wildcard folders match nothing on this machine";
            return nullptr;
        }
        std::u16string description(categoryOf(m_entry));
        if (!m_entry.warning.empty()) {
            description += u". Warning: ";
            description += m_entry.warning;
        }
        std::u16string icon = m_machine.systemFolder;
        icon += u"\\shell32.dll,69";
        TimeRecord* group = TimeRecord::makeGroup(ruleGroupId(m_entry.name), titleOf(m_entry.name), description, icon);
        group->warning = m_entry.warning;
        if (reachesBrowserData()) {
            group->warningTextId = kBrowserDataWarningText;
            m_report.browserData.emplace_back(m_entry.name);
        }
        for (TimeRecord* target : m_targets)
            group->addChild(target);
        m_targets.clear();
        // What the reader could not take, then what the build left out.
        for (const std::u16string& problem : m_entry.problems)
            m_report.skippedKeys.push_back({std::u16string(m_entry.name), problem});
        for (std::u16string& text : m_notes)
            m_report.skippedKeys.push_back({std::u16string(m_entry.name), std::move(text)});
        return group;
    }

    // Whether a target reaches what a browser keeps of its user's: saved
    // passwords, bookmarks, settings, extensions (kGuarded).
    bool reachesBrowserData()
    {
        for (const TimeRecord* target : m_targets) {
            Reach reach;
            if (reachOf(*target, reach) && reaches(reach))
                return true;
        }
        return false;
    }

    ~EntryBuilder()
    {
        for (TimeRecord* target : m_targets)
            target->release();
    }
    EntryBuilder(const EntryBuilder&) = delete;
    EntryBuilder& operator=(const EntryBuilder&) = delete;

private:
    bool has(std::u16string_view folder, std::u16string_view name) { return m_listings.find(folder, name) != nullptr; }

    // The families of browser data the folder holds: a Chromium profile
    // has its Preferences, the folder of its profiles its Local State, a
    // Firefox profile its prefs.js or times.json.
    bool isFamily(std::u16string_view folder, Family family)
    {
        switch (family) {
        case Family::ChromiumProfile:
            return has(folder, u"Preferences") || has(folder, u"Secure Preferences");
        case Family::ChromiumUserData:
            return has(folder, u"Local State");
        case Family::GeckoProfile:
            return has(folder, u"prefs.js") || has(folder, u"times.json");
        }
        return false;
    }

    bool reaches(const Reach& reach)
    {
        // A target takes nothing guarded that neither matches a guarded
        // file's name nor removes folders: no need to look.
        bool possible = reach.foldersGo;
        for (const Guarded& guarded : kGuarded)
            possible = possible || (!guarded.folder && p::findPatternMatches(reach.pattern, guarded.name));
        if (!possible)
            return false;
        // Inside a profile: what it keeps lies directly in it, so only its
        // extensions can be below the folder, and everything there goes;
        // no profile lies inside another, so there is nothing to look for
        // further down.
        std::u16string_view below = reach.folder;
        for (int up = 0; up < kAncestors; ++up) {
            const std::size_t slash = below.rfind(u'\\');
            if (slash == std::u16string_view::npos || slash < 3)
                break;
            const std::u16string_view parent = below.substr(0, slash);
            if (isFamily(parent, Family::ChromiumProfile) || isFamily(parent, Family::GeckoProfile)) {
                const std::u16string name = folded(below.substr(slash + 1));
                return (name == u"extensions" || name == u"local extension settings") && reach.recursive &&
                       matchesEveryName(reach.pattern) && isFamily(parent, Family::ChromiumProfile);
            }
            below = parent;
        }
        int budget = kGuardFolders;
        return reachesBelow(reach, reach.folder, 0, budget);
    }

    bool reachesBelow(const Reach& reach, const std::u16string& folder, int depth, int& budget)
    {
        if (--budget < 0)
            return false;
        const std::vector<FolderListings::Entry>* entries = m_listings.list(folder);
        if (!entries)
            return false;
        const bool files = depth == 0 ? reach.filesAtTop : reach.recursive;
        for (const Family family : {Family::ChromiumProfile, Family::ChromiumUserData, Family::GeckoProfile}) {
            if (!isFamily(folder, family))
                continue;
            for (const Guarded& guarded : kGuarded) {
                if (guarded.family != family)
                    continue;
                if (guarded.folder ? reach.foldersGo && has(folder, guarded.name)
                                   : files && p::findPatternMatches(reach.pattern, guarded.name))
                    return true;
            }
        }
        if (!reach.recursive || depth >= kProfileDepth)
            return false;
        // The listing may move while subfolders are listed: copy the names.
        std::vector<std::u16string> subfolders;
        for (const FolderListings::Entry& entry : *entries) {
            if ((entry.attributes & p::kFileAttributeDirectory) && !(entry.attributes & p::kFileAttributeReparsePoint))
                subfolders.push_back(folder + u"\\" + entry.name);
        }
        for (const std::u16string& subfolder : subfolders) {
            if (reachesBelow(reach, subfolder, depth + 1, budget))
                return true;
        }
        return false;
    }

    // The engine's judgement of the target (engine/TargetSafety.h), once
    // for each place: many targets share their folder (a pattern each), and
    // every browser's profile is named by many entries.
    bool judged(const TimeRecord& target)
    {
        std::u16string& key = m_judgementKey;
        key.clear();
        const std::u16string_view text = target.target.view();
        switch (target.kind) {
        case Type_File_Wild: {
            const std::size_t slash = text.rfind(u'\\');
            if (slash == std::u16string_view::npos)
                return mayReach(target, &listedAttributes, &m_listings);
            key = target.wildInSubfolders || matchesEveryName(text.substr(slash + 1)) ? u"W1" : u"W0";
            key += text.substr(0, slash);
            break;
        }
        case Type_File:
            key = u"F";
            key += text;
            break;
        default:
            // The folder kinds share one judgement, the key kinds another.
            key = target.kind <= Type_RegKey_OnlyAllSubKeys                                            ? u"R"
                  : target.kind >= Type_Folder_1_Level && target.kind <= Type_Folder_OnlyAllSubFolders ? u"D"
                                                                                                       : u"";
            if (key.empty())
                return mayReach(target, &listedAttributes, &m_listings);
            key += text;
            break;
        }
        for (char16_t& c : key)
            c = s::str::strbuffer::StrBuffer::foldCase(c);
        const auto found = m_judgements.find(key);
        if (found != m_judgements.end())
            return found->second;
        const bool allowed = mayReach(target, &listedAttributes, &m_listings);
        m_judgements.emplace(key, allowed);
        return allowed;
    }

    void note(std::u16string_view key, std::u16string_view why)
    {
        std::u16string text(key);
        text += u": ";
        text += why;
        m_notes.push_back(std::move(text));
    }

    void refuse(std::u16string_view key, std::u16string_view why)
    {
        note(key, why);
        if (m_firstRefusal.empty()) {
            m_firstRefusal = key;
            m_firstRefusal += u": ";
            m_firstRefusal += why;
        }
    }

    void add(const std::u16string& name, TargetKind kind, const std::u16string& path, bool inSubfolders, bool hashedId,
             bool removeSelf)
    {
        for (TimeRecord* earlier : m_targets) {
            // The same line twice, or two patterns that come to the same;
            // with REMOVESELF on either, the folders go.
            if (earlier->kind == kind && earlier->wildInSubfolders == inSubfolders &&
                earlier->target.equalsIgnoreCase(path)) {
                earlier->removeEmptyFolders = earlier->removeEmptyFolders || removeSelf;
                return;
            }
        }
        std::u16string id = name;
        if (hashedId) {
            // A FileKey may name many folders; each target's id follows its
            // path, so a stored check stays with it when folders come and go.
            id += u'_';
            id += hex8(hashOf(path) ^ (inSubfolders ? 1u : 0u) ^ (static_cast<std::uint32_t>(kind) << 8));
        }
        TimeRecord* target = TimeRecord::makeTarget(kind, id, path);
        target->wildInSubfolders = inSubfolders;
        target->defaultChecked = true;
        if (!judged(*target)) {
            target->release();
            refuse(name, u"a protected place, a link or an invalid path: " + path);
            return;
        }
        target->keep = m_keep;
        target->removeEmptyFolders = removeSelf;
        m_targets.push_back(target);
    }

    const RuleGroupBuilder::Machine& m_machine;
    FolderListings& m_listings;
    KeyListings& m_keys;
    std::unordered_map<std::u16string, bool>& m_judgements;
    std::u16string m_judgementKey;
    // Scratch of paths() and detected(), kept from entry to entry.
    std::vector<std::u16string>& m_substituted;
    std::vector<std::u16string>& m_found;
    const RuleEntry& m_entry;
    RulesReport& m_report;
    std::shared_ptr<const KeepList> m_keep;
    std::vector<TimeRecord*> m_targets;
    std::vector<std::u16string> m_notes;
    std::u16string m_firstRefusal;
};

}  // namespace

RuleGroupBuilder::RuleGroupBuilder() : m_context(std::make_unique<Context>())
{
}

RuleGroupBuilder::~RuleGroupBuilder() = default;

void RuleGroupBuilder::add(const RuleFile& file, std::vector<TimeRecord*>& list)
{
    m_report.badLines += file.badLines;
    m_report.unknownKeys += file.unknownKeys;
    for (const RuleEntry& entry : file.entries) {
        ++m_report.entries;
        if (entry.duplicate || !m_names.insert(folded(entry.name)).second) {
            m_report.dropped.push_back({std::u16string(entry.name), u"a second entry of this name"});
            continue;
        }
        if (entry.specialDetect) {
            ++m_report.ignored;
            continue;
        }
        EntryBuilder builder(*m_context, entry, m_report);
        if (!builder.detected()) {
            ++m_report.notDetected;
            continue;
        }
        std::u16string why;
        TimeRecord* group = builder.build(why);
        if (!group) {
            m_report.dropped.push_back({std::u16string(entry.name), why});
            continue;
        }
        list.push_back(group);
        ++m_report.detected;
    }
}

std::u16string ruleGroupId(std::u16string_view entryName)
{
    const std::u16string title = titleOf(entryName);
    std::u16string id = u"Rules_";
    std::size_t kept = 0;
    for (char16_t c : title) {
        if (kept >= 40)
            break;
        const bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
        if (plain) {
            id += c;
            ++kept;
        } else if (!id.empty() && id.back() != u'_') {
            id += u'_';
            ++kept;
        }
    }
    if (id.back() != u'_')
        id += u'_';
    id += hex8(hashOf(entryName));
    return id;
}

std::u16string groupWarning(const TimeRecord& group, s::lang::Localizer& localizer)
{
    std::u16string text;
    if (group.warningTextId != 0)
        text = localizer.text(group.warningTextId).view();
    if (!group.warning.isEmpty()) {
        if (!text.empty())
            text += u"\r\n";
        text += group.warning.view();
    }
    return text;
}

std::vector<std::u16string> ruleFilePaths()
{
    const std::u16string folder = p::programFolder().toU16String();
    if (folder.empty())
        return {};
    return {folder + u"\\winapp2.ini", folder + u"\\savedata\\winapp2.ini"};
}

void appendRuleGroups(std::vector<TimeRecord*>& list, RulesReport& report)
{
    RuleGroupBuilder builder;
    for (const std::u16string& path : ruleFilePaths()) {
        std::vector<std::uint8_t> bytes;
        const p::Win32Error error = p::fileSystem().readFile(path.c_str(), kRuleFileMaxBytes, bytes);
        if (error == p::kErrorFileNotFound || error == p::kErrorPathNotFound)
            continue;
        if (error != p::kErrorSuccess) {
            builder.report().unreadable.push_back(
                {path, error == p::kErrorFileTooLarge ? u"larger than 32 MB" : u"could not be read"});
            continue;
        }
        const RuleFile file = readRuleFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (const std::u16string fault = ruleFileFault(file); !fault.empty()) {
            builder.report().unreadable.push_back({path, u"does not parse: " + fault});
            continue;
        }
        builder.report().files.push_back(path);
        builder.report().versions.emplace_back(file.versionLine);
        builder.add(file, list);
    }
    report = std::move(builder.report());
}

}  // namespace s::file::gui::dialogs::purgo

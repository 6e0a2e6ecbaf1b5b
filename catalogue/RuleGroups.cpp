#include "catalogue/RuleGroups.h"

#include "engine/KeepList.h"
#include "engine/TargetSafety.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/FindPattern.h"
#include "platform/PathWin.h"
#include "platform/ProgramFolder.h"
#include "platform/ProtectedPlaces.h"
#include "platform/RegDir.h"
#include "platform/ShellItems.h"
#include "platform/SystemInfo.h"

#include <array>
#include <map>
#include <string>
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
    std::map<std::u16string, std::vector<std::u16string>> variables;  // by folded name
    Version version;
    std::u16string systemFolder;

    Machine()
    {
        const p::SystemFacts& facts = p::systemFacts();
        version = {facts.majorVersion, facts.minorVersion};
        systemFolder = facts.systemFolder;
        set(u"appdata", {special(p::kCsidlAppData)});
        set(u"localappdata", {special(p::kCsidlLocalAppData)});
        set(u"locallowappdata", {known(p::KnownFolder::LocalAppDataLow)});
        set(u"commonappdata", {special(p::kCsidlCommonAppData)});
        set(u"programdata", {special(p::kCsidlCommonAppData)});
        set(u"programfiles", {special(p::kCsidlProgramFiles), special(p::kCsidlProgramFilesX86)});
        set(u"programfiles(x86)", {special(p::kCsidlProgramFilesX86)});
        set(u"commonprogramfiles", {special(p::kCsidlProgramFilesCommon), special(p::kCsidlProgramFilesCommonX86)});
        set(u"commonprogramfiles(x86)", {special(p::kCsidlProgramFilesCommonX86)});
        set(u"userprofile", {special(p::kCsidlProfile)});
        set(u"documents", {special(p::kCsidlPersonal)});
        set(u"windir", {facts.windowsFolder});
        set(u"systemroot", {facts.windowsFolder});
        const std::u16string& windows = facts.windowsFolder;
        set(u"systemdrive", {windows.size() >= 2 && windows[1] == u':' ? windows.substr(0, 2) : std::u16string()});
        std::u16string publicFolder = known(p::KnownFolder::Public);
        if (publicFolder.empty())
            publicFolder = environment(u"%PUBLIC%");
        set(u"public", {publicFolder});
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
    void set(std::u16string_view name, std::vector<std::u16string> folders)
    {
        std::vector<std::u16string> kept;
        for (std::u16string& folder : folders) {
            bool repeat = folder.empty();
            for (const std::u16string& earlier : kept)
                repeat = repeat || folded(earlier) == folded(folder);
            if (!repeat)
                kept.push_back(std::move(folder));
        }
        variables[std::u16string(name)] = std::move(kept);
    }

    // Every text the variables of `text` stand for; false (why set) when one
    // is unknown or unresolved here.
    bool substitute(std::u16string_view text, std::vector<std::u16string>& out, std::u16string& why) const
    {
        out.assign(1, std::u16string());
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
            const auto found = variables.find(folded(name));
            if (found == variables.end() || found->second.empty()) {
                why =
                    found == variables.end() ? u"unknown variable %" : u"a variable this machine has no folder for: %";
                why += name;
                why += u'%';
                return false;
            }
            std::vector<std::u16string> next;
            for (const std::u16string& o : out) {
                for (const std::u16string& folder : found->second)
                    next.push_back(o + folder);
            }
            out = std::move(next);
            at = close + 1;
        }
        return true;
    }
};

namespace {

// The folders a path with wildcard components names, every component a
// folder. `lastMayBeFile`: the last component may match files too (for
// DetectFile). Links are never entered: the listings leave them out.
void expandComponents(std::u16string_view path, bool lastMayBeFile, std::vector<std::u16string>& out)
{
    // The root ("C:" or "\\server\share") is kept as it is.
    std::size_t rootEnd = path.find(u'\\', path[0] == u'\\' ? path.find(u'\\', 2) + 1 : 0);
    if (path[0] == u'\\' && rootEnd == std::u16string_view::npos)
        rootEnd = path.size();
    std::vector<std::u16string> current{std::u16string(path.substr(0, rootEnd))};
    std::size_t start = rootEnd == std::u16string_view::npos ? path.size() : rootEnd + 1;
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
            for (std::u16string& c : current) {
                c += u'\\';
                c += component;
            }
            continue;
        }
        std::vector<std::u16string> next;
        for (const std::u16string& folder : current) {
            auto parent = PathWin::make(folder.size() == 2 ? folder + u"\\" : folder);
            auto entries = PathListHandle::take();
            if (last && lastMayBeFile)
                parent->listChildren(*entries, s::file::HiddenAndSystem::Include, s::file::Recursion::TopLevel);
            else
                parent->listSubdirectories(*entries, s::file::HiddenAndSystem::Include, s::file::Recursion::TopLevel);
            for (int i = 0; i < entries->count() && next.size() < kMaxExpansions; ++i) {
                const s::str::StrBuffer name = entries->get(i).lastComponent();
                if (p::findPatternMatches(component, name.view()))
                    next.push_back(entries->get(i).fullPath().toU16String());
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

class EntryBuilder {
public:
    EntryBuilder(const RuleGroupBuilder::Machine& machine, const RuleEntry& entry, RulesReport& report)
        : m_machine(machine), m_entry(entry), m_report(report)
    {
    }

    // The folders (or, lastMayBeFile, files) a rule path names here; false
    // with why when it cannot name any.
    bool paths(std::u16string_view text, bool lastMayBeFile, std::vector<std::u16string>& out, std::u16string& why)
    {
        std::vector<std::u16string> substituted;
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
            if (s::file::ProtectedPlaces::comparisonKey(path).empty()) {
                why = u"not an absolute path: ";
                why += path;
                return false;
            }
            expandComponents(path, lastMayBeFile, out);
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
        for (const std::u16string& detect : m_entry.detects) {
            const std::u16string key = keyPathOf(detect, why);
            if (!key.empty() && s::reg::win::RegDir::make(key)->exists())
                return true;
        }
        for (const std::u16string& detectFile : m_entry.detectFiles) {
            std::vector<std::u16string> found;
            if (!paths(detectFile, true, found, why))
                continue;
            for (const std::u16string& path : found) {
                if (PathWin::make(path)->exists())
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
        bool removeSelfIgnored = false;
        for (const std::u16string& folder : folders) {
            for (const std::u16string& pattern : key.patterns) {
                if (pattern.find_first_of(u"\\/") != std::u16string::npos) {
                    refuse(name, u"a pattern with a folder in it: " + pattern);
                    continue;
                }
                std::u16string path = folder;
                TargetKind kind = Type_Folder_1_Level;
                bool inSubfolders = false;
                if (matchesEveryName(pattern)) {
                    kind = key.removeSelf ? Type_Folder_All_Levels_IncludeSelf
                           : key.recurse  ? Type_Folder_All_Levels
                                          : Type_Folder_1_Level;
                } else {
                    if (path.back() != u'\\')
                        path += u'\\';
                    path += pattern;
                    kind = hasWildcard(pattern) || key.recurse ? Type_File_Wild : Type_File;
                    inSubfolders = key.recurse;
                    removeSelfIgnored = removeSelfIgnored || key.removeSelf;
                }
                add(name, kind, path, inSubfolders, true);
            }
        }
        if (removeSelfIgnored)
            note(name, u"REMOVESELF only with * or *.*: the folder stays");
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
            add(name, Type_RegKey_All_Levels_IncludeSelf, path, false, false);
            return;
        }
        // The engine splits a value target at its last backslash.
        if (key.value.find(u'\\') != std::u16string::npos) {
            refuse(name, u"a value name with a backslash: " + key.value);
            return;
        }
        path += u'\\';
        path += key.value;
        add(name, Type_RegValue, path, false, false);
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
        for (TimeRecord* target : m_targets)
            group->addChild(target);
        m_targets.clear();
        // What the reader could not take, then what the build left out.
        for (const std::u16string& problem : m_entry.problems)
            m_report.skippedKeys.push_back({m_entry.name, problem});
        for (std::u16string& text : m_notes)
            m_report.skippedKeys.push_back({m_entry.name, std::move(text)});
        return group;
    }

    ~EntryBuilder()
    {
        for (TimeRecord* target : m_targets)
            target->release();
    }
    EntryBuilder(const EntryBuilder&) = delete;
    EntryBuilder& operator=(const EntryBuilder&) = delete;

private:
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

    void add(const std::u16string& name, TargetKind kind, const std::u16string& path, bool inSubfolders, bool hashedId)
    {
        for (const TimeRecord* earlier : m_targets) {
            // The same line twice, or two patterns that come to the same.
            if (earlier->kind == kind && earlier->wildInSubfolders == inSubfolders &&
                earlier->target.equalsIgnoreCase(path))
                return;
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
        if (!mayReach(*target)) {
            target->release();
            refuse(name, u"a protected place, a link or an invalid path: " + path);
            return;
        }
        target->keep = m_keep;
        m_targets.push_back(target);
    }

    const RuleGroupBuilder::Machine& m_machine;
    const RuleEntry& m_entry;
    RulesReport& m_report;
    std::shared_ptr<const KeepList> m_keep;
    std::vector<TimeRecord*> m_targets;
    std::vector<std::u16string> m_notes;
    std::u16string m_firstRefusal;
};

}  // namespace

RuleGroupBuilder::RuleGroupBuilder() : m_machine(std::make_unique<Machine>())
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
            m_report.dropped.push_back({entry.name, u"a second entry of this name"});
            continue;
        }
        if (entry.specialDetect) {
            ++m_report.ignored;
            continue;
        }
        EntryBuilder builder(*m_machine, entry, m_report);
        if (!builder.detected()) {
            ++m_report.notDetected;
            continue;
        }
        std::u16string why;
        TimeRecord* group = builder.build(why);
        if (!group) {
            m_report.dropped.push_back({entry.name, why});
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
        builder.report().files.push_back(path);
        const RuleFile file = readRuleFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        builder.add(file, list);
    }
    report = std::move(builder.report());
}

}  // namespace s::file::gui::dialogs::purgo

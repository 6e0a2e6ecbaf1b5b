#include "engine/KeptWalk.h"

#include "base/StrArray.h"
#include "engine/Scan.h"
#include "engine/TargetSafety.h"
#include "platform/FileSystem.h"
#include "platform/FindPattern.h"
#include "platform/PathWin.h"
#include "platform/ProtectedPlaces.h"
#include "platform/RegDir.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::AtReboot;
using s::file::HiddenAndSystem;
using s::file::NotifyShell;
using s::file::Recursion;
using s::file::win::PathList;
using s::file::win::PathListHandle;
using s::file::win::PathWin;
using s::reg::win::RegDir;
using s::reg::win::RegDirListHandle;

enum class Act : uint8_t { Count, List };

// The target's own keep list (a rule file's exclusions) and the user's, asked
// as one: something is kept when either keeps it.
class Keeps {
public:
    Keeps(const KeepList* rules, const KeepList* user)
        : m_rules(rules && !rules->isEmpty() ? rules : nullptr), m_user(user && !user->isEmpty() ? user : nullptr)
    {
    }

    bool keepsFile(std::u16string_view path) const { return any(&KeepList::keepsFile, path); }
    bool keepsFolder(std::u16string_view path) const { return any(&KeepList::keepsFolder, path); }
    void filePatternsIn(std::u16string_view folder, std::vector<std::u16string_view>& out) const
    {
        if (m_rules)
            m_rules->filePatternsIn(folder, out);
        if (m_user)
            m_user->filePatternsIn(folder, out);
    }
    bool keepsInside(std::u16string_view path) const { return any(&KeepList::keepsInside, path); }
    bool keepsKey(std::u16string_view path) const { return any(&KeepList::keepsKey, path); }
    bool keepsInsideKey(std::u16string_view path) const { return any(&KeepList::keepsInsideKey, path); }
    bool keepsValue(std::u16string_view key, std::u16string_view name) const
    {
        return (m_rules && m_rules->keepsValue(key, name)) || (m_user && m_user->keepsValue(key, name));
    }

private:
    bool any(bool (KeepList::*ask)(std::u16string_view) const, std::u16string_view path) const
    {
        return (m_rules && (m_rules->*ask)(path)) || (m_user && (m_user->*ask)(path));
    }

    const KeepList* m_rules;
    const KeepList* m_user;
};

class Walk {
public:
    Walk(const Keeps& keep, Act act, const std::function<void(CleanItem&)>* each = nullptr)
        : m_keep(keep), m_act(act), m_each(each)
    {
    }

    KeptMeasure measure;

    void run(const TimeRecord& target)
    {
        switch (target.kind) {
        case Type_RegKey_1_Level:
        case Type_RegKey_All_Levels:
        case Type_RegKey_All_Levels_IncludeSelf:
        case Type_RegKey_OnlyAllSubKeys:
            key(target);
            break;
        case Type_RegValue:
        case Type_RegValue_Wild:
            value(target);
            break;
        case Type_Folder_1_Level:
        case Type_Folder_All_Levels:
        case Type_Folder_All_Levels_IncludeSelf:
        case Type_Folder_OnlyAllSubFolders:
            folder(target);
            break;
        case Type_File: {
            auto path = PathWin::make(target.target.view());
            if (m_act == Act::Count) {
                if (!m_keep.keepsFile(path->fullPath().view()) && path->exists()) {
                    measure.found += 1;
                    measure.size += path->fileSize();
                }
            } else {
                file(*path);
            }
            break;
        }
        case Type_File_Wild: {
            if (target.removeEmptyFolders && target.wildInSubfolders) {
                const std::u16string_view text = target.target.view();
                const std::size_t slash = text.rfind(u'\\');
                if (slash == std::u16string_view::npos)
                    break;
                auto folder = PathWin::make(text.substr(0, slash));
                if (folder->exists() && folder->isDirectory())
                    prune(*folder, text.substr(slash + 1));
                break;
            }
            auto path = PathWin::make(target.target.view());
            auto files = PathListHandle::take();
            path->expandWildcard(*files, HiddenAndSystem::Include,
                                 target.wildInSubfolders ? s::file::InSubfolders::Yes : s::file::InSubfolders::No);
            for (int i = 0; i < files->count(); ++i)
                file(files->get(i));
            break;
        }
        default:
            break;
        }
    }

private:
    void file(PathWin& path)
    {
        if (m_keep.keepsFile(path.fullPath().view()))
            return;
        if (m_act == Act::Count) {
            measure.found += 1;
            measure.size += path.fileSize();
        } else {
            give(CleanItemType::File, &path, nullptr);
        }
    }

    void give(CleanItemType type, PathWin* path, RegDir* key, std::u16string_view valueName = {})
    {
        CleanItem item;
        item.type = type;
        item.path = path;
        item.key = key;
        item.valueName = valueName;
        (*m_each)(item);
    }

    // A folder with nothing kept in it: counted with everything inside and
    // itself, or one item to delete whole.
    void wholeFolder(PathWin& path)
    {
        // A folder that is not there is nothing to count or delete.
        if (!path.exists())
            return;
        if (m_act == Act::List) {
            give(CleanItemType::Folder, &path, nullptr);
            return;
        }
        int64_t files = 0;
        int64_t folders = 0;
        measure.size += path.measureFolder(s::file::Descend::Yes, s::file::TopFiles::Count, files, folders);
        measure.found += files + folders + 1;
    }

    void entry(PathWin& path)
    {
        if (path.isDirectory())
            subfolder(path);
        else
            file(path);
    }

    void subfolder(PathWin& path)
    {
        // Delete path leaves a protected place in a tree alone, and the
        // folder measure does not count one.
        if (m_keep.keepsFolder(path.fullPath().view()) || s::file::ProtectedPlaces::contains(path.fullPath().view()))
            return;
        if (m_keep.keepsInside(path.fullPath().view()))
            contents(path, Contents::All);
        else
            wholeFolder(path);
    }

    // Deletes (or counts) the files in the folder and below that the
    // pattern matches and nothing keeps, then each folder left with nothing
    // in it, deepest first, and this one. True when this folder goes.
    bool prune(PathWin& folder, std::u16string_view pattern)
    {
        const s::str::StrBuffer& path = folder.fullPath();
        if (m_keep.keepsFolder(path.view()) || s::file::ProtectedPlaces::contains(path.view()))
            return false;
        const bool everyName = matchesEveryName(pattern);
        // The file system's own listing, links included: the path object's
        // listings leave links out, and a folder that holds one is not empty
        // (RemoveDirectoryW would refuse it; a link is neither entered nor
        // deleted here).
        struct Entry {
            std::u16string name;
            std::uint32_t attributes;
            std::uint64_t size;
        };
        std::vector<Entry> entries;
        s::platform::IFileSystem& fs = s::platform::fileSystem();
        s::platform::FindHandle find;
        s::platform::FindData data;
        std::u16string listing = folder.callPath().toU16String();
        listing += u"\\*";
        if (fs.findFirst(listing.c_str(), find, data) == s::platform::kErrorSuccess) {
            do {
                if (data.name != u"." && data.name != u"..")
                    entries.push_back({std::move(data.name), data.attributes, data.size});
            } while (fs.findNext(find, data) == s::platform::kErrorSuccess);
        }
        find.close();
        bool empty = true;
        std::u16string child;
        const auto childPath = [&](const Entry& entry) -> const std::u16string& {
            child.assign(path.view());
            if (child.empty() || child.back() != u'\\')
                child += u'\\';
            child += entry.name;
            return child;
        };
        for (const Entry& entry : entries) {
            if (entry.attributes & s::platform::kFileAttributeReparsePoint) {
                empty = false;
                continue;
            }
            if (entry.attributes & s::platform::kFileAttributeDirectory)
                continue;
            if ((!everyName && !s::platform::findPatternMatches(pattern, entry.name)) ||
                m_keep.keepsFile(childPath(entry))) {
                empty = false;
                continue;
            }
            if (m_act == Act::Count) {
                measure.found += 1;
                measure.size += static_cast<int64_t>(entry.size);
            } else {
                auto file = PathWin::make(childPath(entry));
                give(CleanItemType::File, file.get(), nullptr);
            }
        }
        for (const Entry& entry : entries) {
            if ((entry.attributes & s::platform::kFileAttributeReparsePoint) ||
                !(entry.attributes & s::platform::kFileAttributeDirectory))
                continue;
            auto sub = PathWin::make(childPath(entry));
            // Everything goes and nothing in it is kept: the folder whole.
            if (everyName && !m_keep.keepsInside(sub->fullPath().view()) &&
                !s::file::ProtectedPlaces::contains(sub->fullPath().view())) {
                wholeFolder(*sub);
                continue;
            }
            if (!prune(*sub, pattern))
                empty = false;
        }
        if (!empty)
            return false;
        if (m_act == Act::Count)
            measure.found += 1;
        else
            give(CleanItemType::EmptyFolder, &folder, nullptr);
        return true;
    }

    enum class Contents : uint8_t { Files, Subfolders, All };

    void contents(PathWin& folder, Contents which)
    {
        if (m_act == Act::Count) {
            countContents(folder, which);
            return;
        }
        auto list = PathListHandle::take();
        switch (which) {
        case Contents::Files:
            folder.listFiles(*list, HiddenAndSystem::Include, Recursion::TopLevel);
            break;
        case Contents::Subfolders:
            folder.listSubdirectories(*list, HiddenAndSystem::Include, Recursion::TopLevel);
            break;
        case Contents::All:
            folder.listChildren(*list, HiddenAndSystem::Include, Recursion::TopLevel);
            break;
        }
        for (int i = 0; i < list->count(); ++i)
            entry(list->get(i));
    }

    // What contents() lists, counted from the file system's own listing:
    // sizes from the enumeration, and each name matched against the
    // patterns the keep lists hold for this folder (asked once), so that a
    // walked folder costs about what the scan's folder measure costs. The
    // patterns fold A-Z as the comparison form does, so the raw name
    // matches as keepsFile would. Links are left out, as the path object's
    // listings leave them out.
    void countContents(PathWin& folder, Contents which)
    {
        if (!folder.isValid() || !folder.isAbsolute())
            return;
        const s::str::StrBuffer& path = folder.fullPath();
        std::vector<std::u16string_view> patterns;
        m_keep.filePatternsIn(path.view(), patterns);
        const auto kept = [&](std::u16string_view name) {
            for (std::u16string_view pattern : patterns)
                if (s::platform::findPatternMatches(pattern, name))
                    return true;
            return false;
        };
        std::vector<std::u16string> subfolders;
        std::u16string child;
        const auto childPath = [&](std::u16string_view name) -> const std::u16string& {
            child.assign(path.view());
            if (child.empty() || child.back() != u'\\')
                child += u'\\';
            child += name;
            return child;
        };
        s::platform::IFileSystem& fs = s::platform::fileSystem();
        s::platform::FindHandle find;
        s::platform::FindData data;
        std::u16string listing = folder.callPath().toU16String();
        listing += u"\\*";
        if (fs.findFirst(listing.c_str(), find, data) == s::platform::kErrorSuccess) {
            do {
                if (data.name == u"." || data.name == u".." ||
                    (data.attributes & s::platform::kFileAttributeReparsePoint))
                    continue;
                if (data.attributes & s::platform::kFileAttributeDirectory) {
                    if (which != Contents::Files)
                        subfolders.push_back(childPath(data.name));
                    continue;
                }
                if (which == Contents::Subfolders || kept(data.name))
                    continue;
                measure.found += 1;
                measure.size += static_cast<int64_t>(data.size);
            } while (fs.findNext(find, data) == s::platform::kErrorSuccess);
        }
        find.close();
        for (const std::u16string& sub : subfolders)
            subfolder(*PathWin::make(sub));
    }

    void folder(const TimeRecord& target)
    {
        auto path = PathWin::make(target.target.view());
        if (m_keep.keepsFolder(path->fullPath().view()))
            return;
        switch (target.kind) {
        case Type_Folder_1_Level:
            contents(*path, Contents::Files);
            break;
        case Type_Folder_All_Levels:
            contents(*path, Contents::All);
            break;
        case Type_Folder_All_Levels_IncludeSelf:
            if (target.removeEmptyFolders) {
                if (path->exists() && path->isDirectory())
                    prune(*path, u"*");
                break;
            }
            // The folder goes (and counts, when it is there) only when
            // nothing in it is kept.
            if (m_keep.keepsInside(path->fullPath().view()))
                contents(*path, Contents::All);
            else
                wholeFolder(*path);
            break;
        case Type_Folder_OnlyAllSubFolders:
            contents(*path, Contents::Subfolders);
            break;
        default:
            break;
        }
    }

    void ownValues(RegDir& key)
    {
        auto names = s::thread::Pooled<s::str::StrArray>::take();
        const int count = key.listValueNames(*names);
        for (int i = 0; i < count; ++i) {
            const std::u16string_view name = names->get(i).view();
            if (m_keep.keepsValue(key.windowsPath().view(), name))
                continue;
            if (m_act == Act::Count) {
                measure.found += 1;
                measure.size += key.valueDataLength(name);
            } else {
                give(CleanItemType::Value, nullptr, &key, name);
            }
        }
    }

    void subkeys(RegDir& key)
    {
        auto children = RegDirListHandle::take();
        const int count = key.listSubkeys(*children);
        for (int i = 0; i < count; ++i)
            subkey(children->get(i));
    }

    void subkey(RegDir& key)
    {
        if (m_keep.keepsKey(key.windowsPath().view()))
            return;
        if (m_keep.keepsInsideKey(key.windowsPath().view())) {
            ownValues(key);
            subkeys(key);
            return;
        }
        wholeKey(key);
    }

    void wholeKey(RegDir& key)
    {
        if (!key.exists())
            return;
        if (m_act == Act::List) {
            give(CleanItemType::Key, nullptr, &key);
            return;
        }
        int64_t values = 0;
        int64_t keys = 0;
        measure.size += measureKey(key, true, true, values, keys);
        measure.found += values + keys + 1;
    }

    void key(const TimeRecord& target)
    {
        auto key = RegDir::make(target.target.view());
        if (m_keep.keepsKey(key->windowsPath().view()))
            return;
        switch (target.kind) {
        case Type_RegKey_1_Level:
            ownValues(*key);
            break;
        case Type_RegKey_All_Levels:
            // The key's own values count but stay, as without a keep list.
            if (m_act == Act::Count)
                ownValues(*key);
            subkeys(*key);
            break;
        case Type_RegKey_All_Levels_IncludeSelf:
            if (m_keep.keepsInsideKey(key->windowsPath().view())) {
                ownValues(*key);
                subkeys(*key);
            } else {
                wholeKey(*key);
            }
            break;
        case Type_RegKey_OnlyAllSubKeys:
            subkeys(*key);
            break;
        default:
            break;
        }
    }

    void value(const TimeRecord& target)
    {
        const std::u16string_view text = target.target.view();
        const std::size_t slash = text.rfind(u'\\');
        const std::u16string_view keyPath = slash == std::u16string_view::npos ? text : text.substr(0, slash);
        const std::u16string_view name =
            slash == std::u16string_view::npos ? std::u16string_view() : text.substr(slash + 1);
        auto key = RegDir::make(keyPath);
        if (m_keep.keepsValue(key->windowsPath().view(), name))
            return;
        if (m_act == Act::Count) {
            measure.size = key->valueDataLength(name);
            measure.found = measure.size != 0 ? 1 : 0;
        } else if (key->valueExists(name)) {
            give(CleanItemType::Value, nullptr, key.get(), name);
        }
    }

    const Keeps& m_keep;
    Act m_act;
    const std::function<void(CleanItem&)>* m_each;
};

// Whether the list keeps anything the target covers: the target is then
// walked, otherwise it is measured and cleaned the quick way. Asked once per
// target, so that a user's keep list costs nothing where it keeps nothing.
// The target's text is asked as it is: the keep list compares paths in the
// protected places' form and keys by their folded text, as the walk's own
// questions do.
bool reaches(const KeepList& keep, const TimeRecord& target)
{
    switch (target.kind) {
    case Type_RegKey_1_Level:
    case Type_RegKey_All_Levels:
    case Type_RegKey_All_Levels_IncludeSelf:
    case Type_RegKey_OnlyAllSubKeys:
        return keep.keepsInsideKey(target.target.view());
    case Type_RegValue:
    case Type_RegValue_Wild: {
        const std::u16string_view text = target.target.view();
        const std::size_t slash = text.rfind(u'\\');
        if (slash == std::u16string_view::npos)
            return false;
        return keep.keepsValue(text.substr(0, slash), text.substr(slash + 1));
    }
    case Type_Folder_1_Level:
    case Type_Folder_All_Levels:
    case Type_Folder_All_Levels_IncludeSelf:
    case Type_Folder_OnlyAllSubFolders:
        return keep.keepsInside(target.target.view());
    case Type_File:
        return keep.keepsFile(target.target.view());
    case Type_File_Wild: {
        const std::u16string_view text = target.target.view();
        const std::size_t slash = text.rfind(u'\\');
        return slash != std::u16string_view::npos && keep.keepsInside(text.substr(0, slash));
    }
    default:
        return false;
    }
}

bool hasRules(const TimeRecord& target)
{
    return target.keep && !target.keep->isEmpty();
}

bool userKeepReaches(const TimeRecord& target)
{
    return target.userKeep && !target.userKeep->isEmpty() && reaches(*target.userKeep, target);
}

}  // namespace

bool walksKept(const TimeRecord& target)
{
    if (target.kind == Type_File_Func)
        return false;
    if (hasRules(target) || userKeepReaches(target))
        return true;
    return target.removeEmptyFolders && ((target.kind == Type_File_Wild && target.wildInSubfolders) ||
                                         target.kind == Type_Folder_All_Levels_IncludeSelf);
}

KeptMeasure measureKept(const TimeRecord& target)
{
    const Keeps keeps(target.keep.get(), target.userKeep.get());
    Walk walk(keeps, Act::Count);
    walk.run(target);
    return walk.measure;
}

KeptMeasure keptByUser(const TimeRecord& target)
{
    if (target.kind == Type_File_Func || !userKeepReaches(target))
        return {};
    const Keeps without(target.keep.get(), nullptr);
    Walk all(without, Act::Count);
    all.run(target);
    const KeptMeasure left = measureKept(target);
    return {all.measure.found - left.found, all.measure.size - left.size};
}

void forEachKeptCleanItem(const TimeRecord& target, const std::function<void(CleanItem&)>& each)
{
    const Keeps keeps(target.keep.get(), target.userKeep.get());
    Walk walk(keeps, Act::List, &each);
    walk.run(target);
}

}  // namespace s::file::gui::dialogs::purgo

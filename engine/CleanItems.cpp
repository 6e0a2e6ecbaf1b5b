#include "engine/CleanItems.h"

#include "base/StrArray.h"
#include "engine/KeptWalk.h"
#include "engine/Scan.h"
#include "engine/TargetSafety.h"
#include "platform/PathWin.h"
#include "platform/RegDir.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::win::PathList;
using s::file::win::PathWin;
using s::reg::win::RegDir;

void eachPath(PathList& paths, const std::function<void(CleanItem&)>& each)
{
    for (int i = 0; i < paths.count(); ++i) {
        PathWin& path = paths.get(i);
        CleanItem item;
        item.type = path.isDirectory() ? CleanItemType::Folder : CleanItemType::File;
        item.path = &path;
        each(item);
    }
}

void listFiles(TimeRecord& target, const std::function<void(CleanItem&)>& each)
{
    auto path = PathWin::make(target.target.view());
    auto list = s::file::win::PathListHandle::take();
    switch (target.kind) {
    case Type_Folder_1_Level:
        path->listFiles(*list, HiddenAndSystem::Include, Recursion::TopLevel);
        break;
    case Type_Folder_All_Levels:
        path->listChildren(*list, HiddenAndSystem::Include, Recursion::TopLevel);
        break;
    case Type_Folder_OnlyAllSubFolders:
        path->listSubdirectories(*list, HiddenAndSystem::Include, Recursion::TopLevel);
        break;
    case Type_File_Wild:
        path->expandWildcard(*list, HiddenAndSystem::Include,
                             target.wildInSubfolders ? InSubfolders::Yes : InSubfolders::No);
        break;
    default: {  // the folder itself, or one file
        if (!path->exists())
            return;
        CleanItem item;
        item.type = path->isDirectory() ? CleanItemType::Folder : CleanItemType::File;
        item.path = path.get();
        each(item);
        return;
    }
    }
    eachPath(*list, each);
}

void listRegistry(TimeRecord& target, const std::function<void(CleanItem&)>& each)
{
    if (target.kind == Type_RegValue || target.kind == Type_RegValue_Wild) {
        // The target's last backslash ends the key; no backslash: the whole
        // text names a key and the value is its default one.
        const int slash = target.target.lastIndexOf(u'\\');
        const std::u16string_view text = target.target.view();
        auto key = RegDir::make(slash < 0 ? text : text.substr(0, static_cast<std::size_t>(slash)));
        CleanItem item;
        item.type = CleanItemType::Value;
        item.key = key.get();
        item.valueName = slash < 0 ? std::u16string_view() : text.substr(static_cast<std::size_t>(slash) + 1);
        if (key->valueExists(item.valueName))
            each(item);
        return;
    }
    auto key = RegDir::make(target.target.view());
    switch (target.kind) {
    case Type_RegKey_1_Level: {
        auto names = s::thread::Pooled<s::str::StrArray>::take();
        const int count = key->listValueNames(*names);
        for (int i = 0; i < count; ++i) {
            CleanItem item;
            item.type = CleanItemType::Value;
            item.key = key.get();
            item.valueName = names->get(i).view();
            each(item);
        }
        break;
    }
    case Type_RegKey_All_Levels:
    case Type_RegKey_OnlyAllSubKeys: {
        // Listed in full before the first deletion, so that the indexes do
        // not shift under the enumeration.
        auto subkeys = s::reg::win::RegDirListHandle::take();
        const int count = key->listSubkeys(*subkeys);
        for (int i = 0; i < count; ++i) {
            CleanItem item;
            item.type = CleanItemType::Key;
            item.key = &subkeys->get(i);
            each(item);
        }
        break;
    }
    case Type_RegKey_All_Levels_IncludeSelf:
        if (key->exists()) {
            CleanItem item;
            item.type = CleanItemType::Key;
            item.key = key.get();
            each(item);
        }
        break;
    default:
        break;
    }
}

}  // namespace

void forEachCleanItem(TimeRecord& target, const std::function<void(CleanItem&)>& each)
{
    if (!mayReach(target))
        return;
    // What a target's keep list keeps is neither listed nor deleted; the
    // folders a clean empties are walked for too.
    if (walksKept(target)) {
        forEachKeptCleanItem(target, each);
        return;
    }
    switch (target.kind) {
    case Type_RegKey_1_Level:
    case Type_RegKey_All_Levels:
    case Type_RegKey_All_Levels_IncludeSelf:
    case Type_RegKey_OnlyAllSubKeys:
    case Type_RegValue:
    case Type_RegValue_Wild:
        listRegistry(target, each);
        break;
    case Type_Folder_1_Level:
    case Type_Folder_All_Levels:
    case Type_Folder_All_Levels_IncludeSelf:
    case Type_Folder_OnlyAllSubFolders:
    case Type_File:
    case Type_File_Wild:
        listFiles(target, each);
        break;
    case Type_File_Func:
        if (target.cleanHandler) {
            CleanItem item;
            item.type = CleanItemType::Handler;
            each(item);
        }
        break;
    default:
        break;
    }
}

const char* cleanItemTypeName(CleanItemType type)
{
    switch (type) {
    case CleanItemType::File:
        return "file";
    case CleanItemType::Folder:
        return "folder";
    case CleanItemType::Value:
        return "value";
    case CleanItemType::Key:
        return "key";
    case CleanItemType::Handler:
        return "handler";
    case CleanItemType::EmptyFolder:
        return "emptyFolder";
    }
    return "";
}

Text cleanItemText(const CleanItem& item, const TimeRecord& target)
{
    Text text;
    switch (item.type) {
    case CleanItemType::File:
    case CleanItemType::Folder:
    case CleanItemType::EmptyFolder:
        text = item.path->fullPath();
        break;
    case CleanItemType::Value:
        text = item.key->windowsPath();
        text.append(u"\\");
        text.append(item.valueName);
        break;
    case CleanItemType::Key:
        text = item.key->windowsPath();
        break;
    case CleanItemType::Handler:
        // Some count handlers leave the text empty (the Recycle Bin's): the
        // title names what they cover then.
        text = target.target.isEmpty() ? target.title : target.target;
        break;
    }
    return text;
}

ItemMeasures measureCleanItem(CleanItem& item, const TimeRecord& target)
{
    ItemMeasures out;
    switch (item.type) {
    case CleanItemType::File:
        out.found = 1;
        out.size = item.path->fileSize();
        break;
    case CleanItemType::Folder: {
        int64_t files = 0;
        int64_t folders = 0;
        out.size = item.path->measureFolder(s::file::Descend::Yes, s::file::TopFiles::Count, files, folders);
        out.found = files + folders + 1;
        break;
    }
    case CleanItemType::Value:
        out.found = 1;
        out.size = item.key->valueDataLength(item.valueName);
        break;
    case CleanItemType::Key: {
        int64_t values = 0;
        int64_t subkeys = 0;
        out.size = measureKey(*item.key, true, true, values, subkeys);
        out.found = values + subkeys + 1;
        break;
    }
    case CleanItemType::Handler:
        out.found = target.found;
        out.size = target.size;
        break;
    case CleanItemType::EmptyFolder:
        out.found = 1;
        break;
    }
    return out;
}

}  // namespace s::file::gui::dialogs::purgo

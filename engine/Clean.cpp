#include "engine/Clean.h"

#include "base/StrArray.h"
#include "engine/KeepList.h"
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

void deleteEach(PathList& paths, AtReboot atReboot)
{
    for (int i = 0; i < paths.count(); ++i)
        paths.get(i).deletePath(NotifyShell::No, atReboot);
}

void deleteFiles(TimeRecord& target, AtReboot atReboot)
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
    default:  // the folder itself, or one file
        path->deletePath(NotifyShell::No, atReboot);
        return;
    }
    deleteEach(*list, atReboot);
}

void deleteRegistry(TimeRecord& target)
{
    if (target.kind == Type_RegValue || target.kind == Type_RegValue_Wild) {
        const int slash = target.target.lastIndexOf(u'\\');
        const std::u16string_view text = target.target.view();
        auto key = RegDir::make(slash < 0 ? text : text.substr(0, static_cast<std::size_t>(slash)));
        key->deleteValue(slash < 0 ? std::u16string_view() : text.substr(static_cast<std::size_t>(slash) + 1));
        return;
    }
    auto key = RegDir::make(target.target.view());
    switch (target.kind) {
    case Type_RegKey_1_Level: {
        auto names = s::thread::Pooled<s::str::StrArray>::take();
        const int count = key->listValueNames(*names);
        for (int i = 0; i < count; ++i)
            key->deleteValue(names->get(i).view());
        break;
    }
    case Type_RegKey_All_Levels:
        key->deleteKeyTree(s::reg::IncludeSelf::No);
        break;
    case Type_RegKey_All_Levels_IncludeSelf:
        key->deleteKeyTree(s::reg::IncludeSelf::Yes);
        break;
    case Type_RegKey_OnlyAllSubKeys: {
        auto subkeys = s::reg::win::RegDirListHandle::take();
        const int count = key->listSubkeys(*subkeys);
        for (int i = 0; i < count; ++i)
            subkeys->get(i).deleteKeyTree(s::reg::IncludeSelf::Yes);
        break;
    }
    default:
        break;
    }
}

void deleteByKind(TimeRecord& target, AtReboot atReboot)
{
    switch (target.kind) {
    case Type_RegKey_1_Level:
    case Type_RegKey_All_Levels:
    case Type_RegKey_All_Levels_IncludeSelf:
    case Type_RegKey_OnlyAllSubKeys:
    case Type_RegValue:
    case Type_RegValue_Wild:
        deleteRegistry(target);
        break;
    case Type_Folder_1_Level:
    case Type_Folder_All_Levels:
    case Type_Folder_All_Levels_IncludeSelf:
    case Type_Folder_OnlyAllSubFolders:
    case Type_File:
    case Type_File_Wild:
        deleteFiles(target, atReboot);
        break;
    case Type_File_Func:
        if (target.cleanHandler)
            target.cleanHandler(target.handlerData, target.handlerExtra);
        break;
    default:
        break;
    }
}

void cleanTarget(TimeRecord& target, CleanContext& context)
{
    if (!target.checked)
        return;
    const AtReboot atReboot = context.mode == CleanMode::Interactive ? AtReboot::Schedule : AtReboot::Leave;
    // A refused target (engine/TargetSafety.h) deletes nothing; its rescan
    // measures 0 as its scan did.
    // A target with a keep list is walked, leaving what it keeps.
    if (mayReach(target)) {
        if (target.keep && !target.keep->isEmpty() && target.kind != Type_File_Func)
            cleanKept(target, *target.keep, atReboot);
        else
            deleteByKind(target, atReboot);
    }
    if (context.mode == CleanMode::Interactive)
        scan(target, nullptr, Captions::Without);
    context.pendingFound += target.found;
    context.pendingSize += target.size;
}

}  // namespace

void clean(TimeRecord& node, CleanContext& context)
{
    if (node.parent) {
        cleanTarget(node, context);
        return;
    }
    if (!node.checked)
        return;
    for (std::size_t i = 0; i < node.childCount() && !context.cancelled(); ++i)
        cleanTarget(*node.child(i), context);
    if (context.mode == CleanMode::Startup)
        return;
    // The group shows what all its targets hold now, cleaned or not.
    node.found = 0;
    node.size = 0;
    for (std::size_t i = 0; i < node.childCount(); ++i) {
        node.found += node.child(i)->found;
        node.size += node.child(i)->size;
    }
    if (node.listRow)
        node.listRow->showMeasures(node);
}

}  // namespace s::file::gui::dialogs::purgo

#include "catalogue/HotfixHandlers.h"

#include "base/StrArray.h"
#include "catalogue/SpecialHandlers.h"
#include "platform/FindPattern.h"
#include "platform/PathWin.h"
#include "platform/RegDir.h"
#include "platform/SystemInfo.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::win::PathWin;
using s::reg::win::RegDir;

constexpr std::u16string_view kFolderPrefix = u"$NtUninstall";
constexpr std::u16string_view kFolderMask = u"$NtUninstall*$";
// "$NtUninstall" + at least three characters of KB + "$".
constexpr int kShortestFolderName = 16;

Text hotfixFolder(const HotfixPlaces& places, std::u16string_view kb)
{
    Text folder(places.windowsFolder);
    folder += u'\\';
    folder += kFolderPrefix;
    folder += kb;
    folder += u'$';
    return folder;
}

Text uninstallEntry(const HotfixPlaces& places, std::u16string_view kb)
{
    Text key(places.uninstallKey);
    key += u'\\';
    key += kb;
    return key;
}

const Text* kbText(intptr_t handlerData)
{
    return reinterpret_cast<const Text*>(handlerData);
}

}  // namespace

HotfixPlaces systemHotfixPlaces()
{
    // Read on each call, so that the hotfix folders always lie in the Windows
    // folder the catalogue names.
    return {Text(s::platform::systemFacts().windowsFolder),
            Text(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall")};
}

bool isUsableKb(std::u16string_view kb)
{
    return !kb.empty() && kb != u"." && kb != u".." && kb.find_first_of(u"\\/*?") == std::u16string_view::npos;
}

void hotfixCount(const HotfixPlaces& places, std::u16string_view kb, Text& target, int64_t& size, int64_t& found)
{
    size = 0;
    found = 0;
    if (!isUsableKb(kb)) {
        target.clear();
        return;
    }
    target = hotfixFolder(places, kb);
    auto folder = PathWin::make(target.view());
    if (!folder->isValidLocation() || !folder->isDirectory() || !folder->exists())
        return;
    int64_t files = 0;
    int64_t folders = 0;
    size = folder->measureFolder(s::file::Descend::Yes, s::file::TopFiles::Count, files, folders);
    // The folder itself goes too, as a folder target with itself counts it.
    found = files + folders + 1;
}

void hotfixClean(const HotfixPlaces& places, std::u16string_view kb)
{
    if (!isUsableKb(kb) || places.uninstallKey.isEmpty())
        return;
    auto folder = PathWin::make(hotfixFolder(places, kb).view());
    // Only a full path: a relative one would be resolved against whatever
    // the current directory is.
    if (folder->isValidLocation())
        folder->deletePath(s::file::NotifyShell::No, s::file::AtReboot::Schedule);
    RegDir::make(uninstallEntry(places, kb).view())->deleteKeyTree(s::reg::IncludeSelf::Yes);
}

void hotfixCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t /*handlerExtra*/)
{
    const Text* kb = kbText(handlerData);
    if (!kb) {
        size = 0;
        found = 0;
        target.clear();
        return;
    }
    hotfixCount(systemHotfixPlaces(), kb->view(), target, size, found);
}

void hotfixClean(intptr_t handlerData, int32_t /*handlerExtra*/)
{
    if (const Text* kb = kbText(handlerData))
        hotfixClean(systemHotfixPlaces(), kb->view());
}

intptr_t hotfixKbData(std::u16string_view kb)
{
    // Never destroyed: targets keep pointers to these texts for as long as
    // they live, and at exit the strings would go back to a pool that may
    // already be gone.
    static s::str::StrArray* texts = new s::str::StrArray();
    int index = texts->indexOf(kb);
    if (index < 0) {
        texts->add(kb);
        index = texts->count() - 1;
    }
    return reinterpret_cast<intptr_t>(&texts->get(index));
}

void addHotfixTargets(TimeRecord& group, const Text& description, const HotfixPlaces& places)
{
    Text icon(s::platform::systemFacts().systemFolder);
    icon += u"\\shell32.dll,4";
    // Windows Update leaves these folders hidden: hidden and system folders
    // count. A link is no folder Windows Update made, so the listing leaves
    // links out.
    auto folders = s::file::win::PathListHandle::take();
    PathWin::make(places.windowsFolder.view())
        ->listSubdirectories(*folders, s::file::HiddenAndSystem::Include, s::file::Recursion::TopLevel);
    for (int i = 0; i < folders->count(); ++i) {
        const Text name = folders->get(i).lastComponent();
        // Matched as FindFirstFileW matches the mask, on the long name only.
        if (!s::platform::findPatternMatches(kFolderMask, name.view()) || name.length() < kShortestFolderName)
            continue;
        const std::u16string_view kb =
            name.view().substr(kFolderPrefix.size(), name.view().size() - kFolderPrefix.size() - 1);
        if (!isUsableKb(kb))
            continue;
        if (!RegDir::make(uninstallEntry(places, kb).view())->isOpen())
            continue;
        Text id(u"_");
        id += kb;
        group.addChild(TimeRecord::makeSpecialTarget(id, Text(kb), description, &hotfixCount, &hotfixClean,
                                                     &folderExists, &folderLookUp, hotfixKbData(kb), icon));
    }
}

}  // namespace s::file::gui::dialogs::purgo

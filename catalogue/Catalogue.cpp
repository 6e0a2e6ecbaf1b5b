#include "catalogue/Catalogue.h"
#include "catalogue/KeepListStore.h"

#include "catalogue/BrowserProfiles.h"
#include "catalogue/CatalogueFolders.h"
#include "catalogue/CatalogueRows.h"
#include "catalogue/CookieSites.h"
#include "catalogue/CustomGroups.h"
#include "catalogue/HotfixHandlers.h"
#include "catalogue/MruHandlers.h"
#include "catalogue/RuleGroups.h"
#include "catalogue/SpecialHandlers.h"
#include "platform/MachineFacts.h"
#include "platform/SystemInfo.h"
#include "platform/Win32Codes.h"

#include <string>
#include <unordered_map>
#include <utility>

namespace s::file::gui::dialogs::purgo {

namespace {

using namespace rows;
using s::lang::Localizer;

Text textOf(Localizer& localizer, int32_t id)
{
    return localizer.text(id);
}

// Title and description of a group by its rule.
std::pair<Text, Text> composeTitle(const Title& rule, Localizer& localizer)
{
    const int32_t trace = static_cast<int32_t>(rule.trace);
    const int32_t titleSuffix = 990001002 + 100000 * trace;
    const int32_t prefix = 990002001 + 100000 * trace;
    const int32_t suffix = 990002002 + 100000 * trace;

    Text name;
    switch (rule.rule) {
    case TitleRule::AppName:
        name = rule.name;
        break;
    case TitleRule::AppNameInfix:
        name = rule.name;
        name += textOf(localizer, rule.textId);
        break;
    case TitleRule::NamedText:
        name = textOf(localizer, rule.textId);
        break;
    case TitleRule::FixedPair:
        return {textOf(localizer, rule.textId), textOf(localizer, rule.textId + 1)};
    case TitleRule::HotFix: {
        // The title suffix stands in the description too.
        name = textOf(localizer, rule.textId);
        Text title = name;
        title += textOf(localizer, 990901003);
        Text description = textOf(localizer, prefix);
        description += name;
        description += textOf(localizer, 990901003);
        return {title, description};
    }
    case TitleRule::CommonDialog: {
        Text title = textOf(localizer, rule.textId);
        title += textOf(localizer, titleSuffix);
        return {title, textOf(localizer, rule.textId + 1)};
    }
    }
    Text title = name;
    title += textOf(localizer, titleSuffix);
    Text description = textOf(localizer, prefix);
    description += name;
    description += textOf(localizer, suffix);
    return {title, description};
}

// "C:\ (Files in Recycle Bin)".
Text recycleBinTitle(std::u16string_view root, Localizer& localizer)
{
    Text title(root);
    title += u" (";
    title += textOf(localizer, 1000270010);
    title += u")";
    return title;
}

Text folderPlus(PlatformFolder folder, std::u16string_view rest)
{
    Text text = platformFolder(folder);
    text += rest;
    return text;
}

Text shell32Icon(int32_t index)
{
    Text icon = folderPlus(PlatformFolder::System, u"\\shell32.dll,");
    icon.appendS32(index);
    return icon;
}

// The icon of a registry value target, which moved in regedit.exe with
// Windows 6.0.
Text regValueIcon()
{
    Text icon = folderPlus(PlatformFolder::Windows, u"\\regedit.exe,");
    icon.appendS32(s::platform::systemFacts().majorVersion >= 6 ? 3 : 7);
    return icon;
}

Text iconOf(const Icon& icon)
{
    switch (icon.kind) {
    case IconKind::None:
        return {};
    case IconKind::Shell32:
        return shell32Icon(icon.index);
    case IconKind::RegEdit:
        return folderPlus(PlatformFolder::Windows, u"\\regedit.exe,0");
    case IconKind::InternetExplorer:
        return folderPlus(PlatformFolder::ProgramFiles, u"\\internet explorer\\iexplore.exe,0");
    case IconKind::WordPad:
        return folderPlus(PlatformFolder::ProgramFiles, u"\\windows nt\\accessories\\wordpad.exe,0");
    case IconKind::Paint:
        return folderPlus(PlatformFolder::Windows, u"\\System32\\mspaint.exe,0");
    case IconKind::MediaPlayer:
        return folderPlus(PlatformFolder::ProgramFiles, u"\\Windows Media Player\\wmplayer.exe,0");
    case IconKind::Browser:
        return {};  // by the group's id: buildRows asks browserGroupIcon
    case IconKind::Own: {
        Text location = ownModulePath();
        location += u',';
        location.appendS32(icon.index);
        return location;
    }
    }
    return {};
}

Text pathOf(Root root, std::u16string_view rest)
{
    Text path;
    switch (root) {
    case Root::Literal:
        path = rest;
        return path;
    case Root::HKCU:
        path = u"HKEY_CURRENT_USER\\";
        path += rest;
        return path;
    case Root::HKLM:
        path = u"HKEY_LOCAL_MACHINE\\";
        path += rest;
        return path;
    case Root::HKU:
        path = u"HKEY_USERS\\";
        path += rest;
        return path;
    case Root::HKCR:
        path = u"HKEY_CLASSES_ROOT\\";
        path += rest;
        return path;
    case Root::Temp:
        path = platformFolder(PlatformFolder::Temp);
        break;
    case Root::Windows:
        path = platformFolder(PlatformFolder::Windows);
        break;
    case Root::System:
        path = platformFolder(PlatformFolder::System);
        break;
    case Root::ProgramFiles:
        path = platformFolder(PlatformFolder::ProgramFiles);
        break;
    case Root::AppData:
        path = platformFolder(PlatformFolder::AppData);
        break;
    case Root::LocalAppData:
        path = platformFolder(PlatformFolder::LocalAppData);
        break;
    case Root::CommonAppData:
        path = platformFolder(PlatformFolder::CommonAppData);
        break;
    }
    if (!rest.empty()) {
        path += u'\\';
        path += rest;
    }
    return path;
}

// The handlers of one fixed special target.
struct SpecialBinding {
    TargetCountHandler count = nullptr;
    TargetCleanHandler clean = nullptr;
    TargetExistsHandler exists = nullptr;
    TargetLookUpHandler lookUp = nullptr;
    Text icon;
};

SpecialBinding bindingOf(Special which)
{
    auto mru = [](MruInstance instance) {
        MruHandlers pair = mruHandlers(instance);
        return SpecialBinding{pair.count, pair.clean, &keyExists, &keyLookUp, regValueIcon()};
    };
    switch (which) {
    case Special::IECache:
        return {&ieCacheCount, &ieCacheClean, &folderExists, &folderLookUp, shell32Icon(4)};
    case Special::IEHistory:
        return {&ieHistoryCount, &ieHistoryClean, nullptr, nullptr, shell32Icon(4)};
    case Special::RecentDocuments:
        return {&recentDocsCount, &recentDocsClear, &folderExists, &folderLookUp, shell32Icon(4)};
    case Special::DocFindSpecMru:
        return mru(MruInstance::DocFindSpecMru);
    case Special::FindComputerMru:
        return mru(MruInstance::FindComputerMru);
    case Special::RunMru:
        return mru(MruInstance::RunMru);
    case Special::TypedUrls:
        return mru(MruInstance::TypedUrls);
    case Special::RunMruUrls:
        return mru(MruInstance::RunMruUrls);
    case Special::MediaPlayerUrls:
        return mru(MruInstance::MediaPlayerRecentUrls);
    case Special::MediaPlayerFiles:
        return mru(MruInstance::MediaPlayerRecentFiles);
    case Special::WinZipExtract:
        return mru(MruInstance::WinZipExtract);
    case Special::WinZipFileMenu:
        return mru(MruInstance::WinZipFileMenu);
    case Special::PaintRecentFiles:
        return mru(MruInstance::PaintRecentFiles);
    case Special::WordPadRecentFiles:
        return mru(MruInstance::WordPadRecentFiles);
    }
    return {};
}

void fillRecycleBins(TimeRecord& group, Localizer& localizer)
{
    auto& facts = s::platform::machineFacts();
    std::u16string drives = facts.logicalDriveStrings(256);
    Text icon = shell32Icon(31);
    std::size_t start = 0;
    while (start < drives.size()) {
        std::size_t end = drives.find(u'\0', start);
        if (end == std::u16string::npos)
            end = drives.size();
        std::u16string_view root(drives.data() + start, end - start);
        start = end + 1;
        if (root.empty() || facts.driveType(root) != s::platform::kDriveFixed)
            continue;
        Text id(root.substr(0, 1));
        const Text title = recycleBinTitle(root, localizer);
        group.addChild(TimeRecord::makeSpecialTarget(id, title, title, &recycleBinCount, &recycleBinEmpty,
                                                     &alwaysExists, &recycleBinLookUp, static_cast<intptr_t>(root[0]),
                                                     icon));
    }
}

void addFile(TimeRecord& group, TargetKind kind, const char16_t* id, const Text& path)
{
    group.addChild(TimeRecord::makeTarget(kind, id, path));
}

void fillBrowser(TimeRecord& group, Fill fill)
{
    Text a;
    Text b;
    switch (fill) {
    case Fill::FirefoxCache:
        findFirefoxPaths(&a, &b, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        addFile(group, Type_Folder_1_Level, u"Cache01", a);
        if (folderExists(b))
            addFile(group, Type_Folder_1_Level, u"Cache02", b);
        break;
    case Fill::FirefoxCookies:
        findFirefoxPaths(nullptr, nullptr, &a, &b, nullptr, nullptr, nullptr, nullptr, nullptr);
        addFile(group, Type_File, u"Cookies_Text", a);
        addFile(group, Type_File, u"Cookies_Sqlite", b);
        break;
    case Fill::FirefoxHistory:
        findFirefoxPaths(nullptr, nullptr, nullptr, nullptr, &a, nullptr, nullptr, nullptr, nullptr);
        addFile(group, Type_File, u"History_Dat", a);
        break;
    case Fill::FirefoxDownloads:
        findFirefoxPaths(nullptr, nullptr, nullptr, nullptr, nullptr, &a, &b, nullptr, nullptr);
        addFile(group, Type_File, u"Downloads_Rdf", a);
        addFile(group, Type_File, u"Downloads_Sqlite", b);
        break;
    case Fill::FirefoxForms:
        findFirefoxPaths(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &a, &b);
        addFile(group, Type_File, u"FormHistory_Dat", a);
        addFile(group, Type_File, u"FormHistory_Sqlite", b);
        break;
    case Fill::OperaCache:
        findOperaPaths(&a, nullptr, nullptr, nullptr, nullptr, nullptr);
        addFile(group, Type_Folder_1_Level, u"Cache4", a);
        break;
    case Fill::OperaCookies:
        findOperaPaths(nullptr, &a, nullptr, nullptr, nullptr, nullptr);
        addFile(group, Type_File, u"Cookies4_Dat", a);
        break;
    case Fill::OperaHistory:
        findOperaPaths(nullptr, nullptr, &a, nullptr, nullptr, nullptr);
        addFile(group, Type_File, u"Global_Dat", a);
        break;
    case Fill::OperaVisitedLinks:
        findOperaPaths(nullptr, nullptr, nullptr, &a, nullptr, nullptr);
        addFile(group, Type_File, u"Vlink4_Dat", a);
        break;
    case Fill::OperaDownloadList:
        findOperaPaths(nullptr, nullptr, nullptr, nullptr, &a, nullptr);
        addFile(group, Type_File, u"Download_dat", a);
        break;
    case Fill::OperaDownloadedFiles:
        findOperaPaths(nullptr, nullptr, nullptr, nullptr, nullptr, &a);
        addFile(group, Type_Folder_All_Levels, u"Download", a);
        break;
    default:
        break;
    }
}

void fill(TimeRecord& group, Fill how, Localizer& localizer)
{
    switch (how) {
    case Fill::None:
        return;
    case Fill::HotFix:
        addHotfixTargets(group, textOf(localizer, 2013000));
        return;
    case Fill::IECookies:
        addCookieSiteTargets(group);
        return;
    case Fill::RecycleBin:
        fillRecycleBins(group, localizer);
        return;
    default:
        fillBrowser(group, how);
        return;
    }
}

}  // namespace

void buildCatalogue(std::vector<TimeRecord*>& list, Localizer& localizer, s::map::IMappedData& store)
{
    // Custom groups lead the list. The reader stops at the first record that
    // is missing, so a damaged count cannot make the build spin.
    readCustomGroups(store, list);
    buildBuiltinGroups(list, localizer);
    // The community rule file's entries, when the user put one beside the
    // program; what became of each entry is for `purgoc list --rules`.
    RulesReport report;
    appendRuleGroups(list, report);
    // The user's keep list holds for every group, whatever made it.
    applyStoredKeepList(list, store);
}

namespace {

void buildRows(std::span<const Row> rows, std::vector<TimeRecord*>& list, Localizer& localizer)
{
    TimeRecord* group = nullptr;
    // A browser group's places of today follow its own targets, so they are
    // added when the next group begins and after the last one.
    const auto finish = [&group] {
        if (group)
            addBrowserPlaces(*group);
    };
    for (const Row& row : rows) {
        switch (row.type) {
        case RowType::Group: {
            finish();
            auto [title, description] = composeTitle(row.title, localizer);
            const Text icon = row.icon.kind == IconKind::Browser ? browserGroupIcon(row.id) : iconOf(row.icon);
            group = TimeRecord::makeGroup(row.id, title, description, icon);
            list.push_back(group);
            fill(*group, row.fill, localizer);
            break;
        }
        case RowType::Target:
            group->addChild(TimeRecord::makeTarget(row.kind, row.id, pathOf(row.root, row.path)));
            break;
        case RowType::Special: {
            SpecialBinding binding = bindingOf(row.special);
            Text title = row.specialTitle ? Text(row.specialTitle) : textOf(localizer, row.specialTitleId);
            group->addChild(TimeRecord::makeSpecialTarget(row.id, title, textOf(localizer, row.descriptionId),
                                                          binding.count, binding.clean, binding.exists, binding.lookUp,
                                                          0, binding.icon));
            break;
        }
        }
    }
    finish();
}

}  // namespace

void buildBuiltinGroups(std::vector<TimeRecord*>& list, Localizer& localizer)
{
    buildRows(catalogueRows(), list, localizer);
    buildRows(addedRows(), list, localizer);
}

void retitleBuiltinGroups(const std::vector<TimeRecord*>& groups, Localizer& localizer)
{
    std::unordered_map<std::u16string_view, TimeRecord*> byId;
    for (TimeRecord* group : groups)
        if (group && !group->custom)
            byId.emplace(group->id.view(), group);
    for (const std::span<const Row> rows : {catalogueRows(), addedRows()}) {
        TimeRecord* group = nullptr;
        for (const Row& row : rows) {
            if (row.type == RowType::Group) {
                const auto found = byId.find(std::u16string_view(row.id));
                group = found == byId.end() ? nullptr : found->second;
                if (group) {
                    auto [title, description] = composeTitle(row.title, localizer);
                    group->title = title;
                    group->description = description;
                    // The drives' targets are named by their roots and a text.
                    if (row.fill == Fill::RecycleBin) {
                        for (std::size_t i = 0; i < group->childCount(); ++i) {
                            TimeRecord* drive = group->child(i);
                            const std::u16string_view old = drive->title.view();
                            const std::size_t cut = old.find(u" (");
                            const Text root(old.substr(0, cut == std::u16string_view::npos ? old.size() : cut));
                            drive->title = recycleBinTitle(root.view(), localizer);
                            drive->description = drive->title;
                        }
                    }
                }
            } else if (row.type == RowType::Special && group && row.specialTitleId != 0) {
                for (std::size_t i = 0; i < group->childCount(); ++i) {
                    TimeRecord* child = group->child(i);
                    if (child->id.view() == std::u16string_view(row.id)) {
                        child->title = textOf(localizer, row.specialTitleId);
                        child->description = textOf(localizer, row.descriptionId);
                    }
                }
            }
        }
    }
}

}  // namespace s::file::gui::dialogs::purgo

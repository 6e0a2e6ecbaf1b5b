#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueFolders.h"
#include "catalogue/CatalogueRows.h"
#include "platform/FileSystem.h"
#include "platform/MachineFacts.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/Win32Codes.h"

#include <list>
#include <mutex>
#include <string>
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
    case IconKind::Own: {
        Text spec = ownModulePath();
        spec += u',';
        spec.appendS32(icon.index);
        return spec;
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

bool isFolder(const Text& path)
{
    if (path.isEmpty())
        return false;
    std::uint32_t attributes = s::platform::fileSystem().attributes(path.c_str());
    return attributes != s::platform::kInvalidFileAttributes && (attributes & s::platform::kFileAttributeDirectory);
}

// The handlers of one fixed special target.
struct SpecialBinding {
    TargetCountHandler count = nullptr;
    TargetCleanHandler clean = nullptr;
    TargetExistsHandler exists = nullptr;
    TargetLookUpHandler lookUp = nullptr;
    Text icon;
};

SpecialBinding bindingOf(Special which, const CatalogueHandlers& h)
{
    auto mru = [&h](const MruHandlers& pair) {
        return SpecialBinding{pair.count, pair.clean, h.keyExists, h.keyLookUp, regValueIcon()};
    };
    switch (which) {
    case Special::IECache:
        return {h.ieCacheCount, h.ieCacheClean, h.folderExists, h.folderLookUp, shell32Icon(4)};
    case Special::IEHistory:
        return {h.ieHistoryCount, h.ieHistoryClean, nullptr, nullptr, shell32Icon(4)};
    case Special::RecentDocuments:
        return {h.recentDocsCount, h.recentDocsClear, h.folderExists, h.folderLookUp, shell32Icon(4)};
    case Special::DocFindSpecMru:
        return mru(h.docFindSpecMru);
    case Special::FindComputerMru:
        return mru(h.findComputerMru);
    case Special::RunMru:
        return mru(h.runMru);
    case Special::TypedUrls:
        return mru(h.typedUrls);
    case Special::RunMruUrls:
        return mru(h.runMruUrls);
    case Special::MediaPlayerUrls:
        return mru(h.mediaPlayerUrls);
    case Special::MediaPlayerFiles:
        return mru(h.mediaPlayerFiles);
    case Special::WinZipExtract:
        return mru(h.winZipExtract);
    case Special::WinZipFileMenu:
        return mru(h.winZipFileMenu);
    case Special::PaintRecentFiles:
        return mru(h.paintRecentFiles);
    case Special::WordPadRecentFiles:
        return mru(h.wordPadRecentFiles);
    }
    return {};
}

// The KB texts that hotfix targets carry as handlerData. They must outlive
// every tree built, so they stay for the life of the process; a KB seen
// again reuses its text, so repeated builds do not grow the list.
const Text* keptKbText(const Text& kb)
{
    static std::mutex lock;
    static std::list<Text> texts;
    std::lock_guard<std::mutex> hold(lock);
    for (const Text& known : texts)
        if (known.equals(kb))
            return &known;
    texts.push_back(kb);
    return &texts.back();
}

constexpr std::u16string_view kUninstallKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

void fillHotFixes(TimeRecord& group, Localizer& localizer, const CatalogueHandlers& handlers)
{
    Text pattern = folderPlus(PlatformFolder::Windows, u"\\$NtUninstall*$");
    auto& fs = s::platform::fileSystem();
    s::platform::FindHandle find;
    s::platform::FindData data;
    if (fs.findFirst(pattern.c_str(), find, data) != s::platform::kErrorSuccess)
        return;
    do {
        // "$NtUninstall" + at least three characters + "$".
        if (!(data.attributes & s::platform::kFileAttributeDirectory) || data.name.size() < 16)
            continue;
        Text kb(std::u16string_view(data.name).substr(12, data.name.size() - 13));
        // Only hotfixes that Windows still lists as removable: without the
        // uninstall entry the folder may be all that is left of something
        // else, and the clean would not know what it deletes.
        std::u16string key(kUninstallKey);
        key += kb.view();
        s::platform::RegKey opened;
        if (s::platform::registry().openKey(s::platform::RootKey::LocalMachine, key.c_str(), s::platform::kKeyAllAccess,
                                            opened) != s::platform::kErrorSuccess)
            continue;
        opened.close();
        Text id = u"_";
        id += kb;
        const Text* kept = keptKbText(kb);
        group.addChild(TimeRecord::makeSpecialTarget(id, kb, textOf(localizer, 2013000), handlers.hotfixCount,
                                                     handlers.hotfixClean, handlers.folderExists, handlers.folderLookUp,
                                                     reinterpret_cast<intptr_t>(kept), shell32Icon(4)));
    } while (fs.findNext(find, data) == s::platform::kErrorSuccess);
}

void fillCookieSites(TimeRecord& group, const CatalogueHandlers& handlers)
{
    CookieSiteLists* lists = handlers.cookieSites;
    if (!lists)
        return;
    lists->sites.clear();
    lists->totals.clear();
    if (handlers.collectCookieSites)
        handlers.collectCookieSites(*lists);
    // The two lists are parallel; a collector that broke that would make
    // every index below point at the wrong site.
    if (lists->totals.size() != lists->sites.size())
        lists->totals.resize(lists->sites.size(), 0);
    sortCookieSites(lists->sites, lists->totals);
    lists->targets.clear();
    lists->cleanDone = false;
    Text icon = shell32Icon(70);
    for (std::size_t k = 0; k < lists->sites.size(); ++k) {
        const Text& site = lists->sites[k];
        TimeRecord* target =
            TimeRecord::makeSpecialTarget(cookieSiteId(site), site, site, handlers.cookieSiteCount,
                                          handlers.cookieClean, nullptr, nullptr, static_cast<intptr_t>(k), icon);
        target->defaultChecked = true;
        group.addChild(target);
        lists->targets.push_back(target);
    }
}

void fillRecycleBins(TimeRecord& group, Localizer& localizer, const CatalogueHandlers& handlers)
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
        Text title(root);
        title += u" (";
        title += textOf(localizer, 1000270010);
        title += u")";
        group.addChild(TimeRecord::makeSpecialTarget(id, title, title, handlers.recycleBinCount,
                                                     handlers.recycleBinEmpty, handlers.alwaysExists,
                                                     handlers.recycleBinLookUp, static_cast<intptr_t>(root[0]), icon));
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
        if (!b.isEmpty() && isFolder(b))
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

void fill(TimeRecord& group, Fill how, Localizer& localizer, const CatalogueHandlers& handlers)
{
    switch (how) {
    case Fill::None:
        return;
    case Fill::HotFix:
        fillHotFixes(group, localizer, handlers);
        return;
    case Fill::IECookies:
        fillCookieSites(group, handlers);
        return;
    case Fill::RecycleBin:
        fillRecycleBins(group, localizer, handlers);
        return;
    default:
        fillBrowser(group, how);
        return;
    }
}

}  // namespace

void buildBuiltinGroups(std::vector<TimeRecord*>& list, Localizer& localizer, const CatalogueHandlers& handlers)
{
    TimeRecord* group = nullptr;
    for (const Row& row : catalogueRows()) {
        switch (row.type) {
        case RowType::Group: {
            auto [title, description] = composeTitle(row.title, localizer);
            group = TimeRecord::makeGroup(row.id, title, description, iconOf(row.icon));
            list.push_back(group);
            fill(*group, row.fill, localizer, handlers);
            break;
        }
        case RowType::Target:
            group->addChild(TimeRecord::makeTarget(row.kind, row.id, pathOf(row.root, row.path)));
            break;
        case RowType::Special: {
            SpecialBinding binding = bindingOf(row.special, handlers);
            Text title = row.specialTitle ? Text(row.specialTitle) : textOf(localizer, row.specialTitleId);
            group->addChild(TimeRecord::makeSpecialTarget(row.id, title, textOf(localizer, row.descriptionId),
                                                          binding.count, binding.clean, binding.exists, binding.lookUp,
                                                          0, binding.icon));
            break;
        }
        }
    }
}

void sortCookieSites(std::vector<Text>& sites, std::vector<std::uint64_t>& totals)
{
    auto before = [](const Text& a, const Text& b) {
        int shorter = a.length() < b.length() ? a.length() : b.length();
        int order = Text::compareFolded(a.view().substr(0, static_cast<std::size_t>(shorter)),
                                        b.view().substr(0, static_cast<std::size_t>(shorter)));
        if (order != 0)
            return order < 0;
        return a.length() < b.length();
    };
    const std::size_t n = sites.size();
    // A bubble sort keeps sites that compare equal in their walk order.
    for (std::size_t pass = 0; pass + 1 < n; ++pass) {
        bool swapped = false;
        for (std::size_t i = 0; i + 1 < n - pass; ++i) {
            if (before(sites[i + 1], sites[i])) {
                std::swap(sites[i], sites[i + 1]);
                if (i + 1 < totals.size())
                    std::swap(totals[i], totals[i + 1]);
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
}

Text cookieSiteId(const Text& site)
{
    Text id = site;
    for (int i = 0; i < id.length(); ++i) {
        char16_t unit = id[i];
        if (std::u16string_view(u":;/?@&=+$,%").find(unit) != std::u16string_view::npos)
            id[i] = u'_';
    }
    return id;
}

}  // namespace s::file::gui::dialogs::purgo

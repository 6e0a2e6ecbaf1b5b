// What the catalogue hands its special targets: the handler functions of
// every special target it builds, and the process-wide cookie-site lists it
// refills on every build. The handlers themselves (the Internet cache walks,
// the most-recently-used lists, the Recycle Bin, the hotfix folders) are not
// the catalogue's; whoever calls the build supplies them here, so that tests
// can pass recording stand-ins.
#pragma once

#include "engine/TimeRecord.h"

#include <cstdint>
#include <vector>

namespace s::file::gui::dialogs::purgo {

// A count and clean pair bound to one key (and prefix) of a most-recently-used
// list.
struct MruHandlers {
    TargetCountHandler count = nullptr;
    TargetCleanHandler clean = nullptr;
};

// The cookie sites of the Internet cache with their byte totals, and the
// targets the current tree shows for them: entry k of targets is the target
// whose handlerData is k.
struct CookieSiteLists {
    std::vector<Text> sites;
    std::vector<std::uint64_t> totals;  // parallel to sites
    std::vector<TimeRecord*> targets;   // not owned
    bool cleanDone = false;
};

struct CatalogueHandlers {
    TargetExistsHandler folderExists = nullptr;
    TargetLookUpHandler folderLookUp = nullptr;
    TargetExistsHandler keyExists = nullptr;
    TargetLookUpHandler keyLookUp = nullptr;

    // handlerData: the KB text, a Text that outlives the node.
    TargetCountHandler hotfixCount = nullptr;
    TargetCleanHandler hotfixClean = nullptr;

    TargetCountHandler ieCacheCount = nullptr;
    TargetCleanHandler ieCacheClean = nullptr;
    TargetCountHandler ieHistoryCount = nullptr;
    TargetCleanHandler ieHistoryClean = nullptr;
    // handlerData: the site's index in cookieSites.
    TargetCountHandler cookieSiteCount = nullptr;
    TargetCleanHandler cookieClean = nullptr;

    TargetCountHandler recentDocsCount = nullptr;
    TargetCleanHandler recentDocsClear = nullptr;

    // handlerData: the drive letter's character code.
    TargetCountHandler recycleBinCount = nullptr;
    TargetCleanHandler recycleBinEmpty = nullptr;
    TargetExistsHandler alwaysExists = nullptr;
    TargetLookUpHandler recycleBinLookUp = nullptr;

    // Letter lists ("a" to "z" and MRUList).
    MruHandlers docFindSpecMru;   // Explorer\Doc Find Spec MRU
    MruHandlers findComputerMru;  // Explorer\FindComputerMRU
    MruHandlers runMru;           // Explorer\RunMRU
    // Prefix lists.
    MruHandlers typedUrls;           // Internet Explorer\TypedURLs, "url"
    MruHandlers runMruUrls;          // Explorer\RunMRU, "url"
    MruHandlers mediaPlayerUrls;     // MediaPlayer\Player\RecentURLList, "URL"
    MruHandlers mediaPlayerFiles;    // MediaPlayer\Player\RecentFileList, "File"
    MruHandlers winZipExtract;       // WinZip\extract, "extract"
    MruHandlers winZipFileMenu;      // WinZip\filemenu, "filemenu"
    MruHandlers paintRecentFiles;    // Applets\Paint\Recent File List, "File"
    MruHandlers wordPadRecentFiles;  // Applets\Wordpad\Recent File List, "File"

    // The lists the cookie handlers share with the build, and the walk of the
    // Internet cache that refills sites and totals (emptying them first).
    CookieSiteLists* cookieSites = nullptr;
    void (*collectCookieSites)(CookieSiteLists& lists) = nullptr;
};

}  // namespace s::file::gui::dialogs::purgo

// The groups that follow the 134 of the first catalogue: today's browsers
// beside Chrome, Firefox and Opera, and the places where Windows 10 and 11
// leave crash reports, dumps, caches and logs. Their rows take the same
// shapes as the first catalogue's; the browsers' profiles are found on the
// machine when the catalogue is built (catalogue/BrowserProfiles.h), so their
// groups have no fixed targets here.
//
// Not here on purpose: Prefetch (its first row already empties it, and
// Windows rebuilds it at a cost), the component store (WinSxS) and
// Windows.old, which only the system's own tools may clean.
#include "catalogue/CatalogueRows.h"

#include <iterator>

namespace s::file::gui::dialogs::purgo::rows {

namespace {

using enum Root;
using enum Trace;

// clang-format off
constexpr Row kAddedRows[] = {
    // 135-137. Edge
    group(u"EdgeCacheFile", app(u"Edge", CacheFiles), kBrowserIcon),
    group(u"EdgeCookie", app(u"Edge", Cookies), kBrowserIcon),
    group(u"EdgeHistory", app(u"Edge", BrowseHistory), kBrowserIcon),
    // 138-140. Brave
    group(u"BraveCacheFile", app(u"Brave", CacheFiles), kBrowserIcon),
    group(u"BraveCookie", app(u"Brave", Cookies), kBrowserIcon),
    group(u"BraveHistory", app(u"Brave", BrowseHistory), kBrowserIcon),
    // 141-143. Vivaldi
    group(u"VivaldiCacheFile", app(u"Vivaldi", CacheFiles), kBrowserIcon),
    group(u"VivaldiCookie", app(u"Vivaldi", Cookies), kBrowserIcon),
    group(u"VivaldiHistory", app(u"Vivaldi", BrowseHistory), kBrowserIcon),
    // 144-146. Chromium
    group(u"ChromiumCacheFile", app(u"Chromium", CacheFiles), kBrowserIcon),
    group(u"ChromiumCookie", app(u"Chromium", Cookies), kBrowserIcon),
    group(u"ChromiumHistory", app(u"Chromium", BrowseHistory), kBrowserIcon),
    // 147-149. Opera GX
    group(u"OperaGXCacheFile", app(u"Opera GX", CacheFiles), own(15)),
    group(u"OperaGXCookie", app(u"Opera GX", Cookies), own(15)),
    group(u"OperaGXHistory", app(u"Opera GX", BrowseHistory), own(15)),
    // 150. Windows Error Reporting (Log Files): the reports of crashed and
    // hung programs, the user's and the machine's, sent or waiting.
    group(u"WindowsErrorReporting", app(u"Windows Error Reporting", LogFiles), shell32(15)),
        folderAll(u"User_ReportArchive", LocalAppData, u"Microsoft\\Windows\\WER\\ReportArchive"),
        folderAll(u"User_ReportQueue", LocalAppData, u"Microsoft\\Windows\\WER\\ReportQueue"),
        folderAll(u"User_Temp", LocalAppData, u"Microsoft\\Windows\\WER\\Temp"),
        folderAll(u"System_ReportArchive", CommonAppData, u"Microsoft\\Windows\\WER\\ReportArchive"),
        folderAll(u"System_ReportQueue", CommonAppData, u"Microsoft\\Windows\\WER\\ReportQueue"),
        folderAll(u"System_Temp", CommonAppData, u"Microsoft\\Windows\\WER\\Temp"),
    // 151. Windows Crash Dumps (Files): programs' dumps and the kernel's live
    // dumps (the full and small memory dumps have their row already).
    group(u"WindowsCrashDumps", app(u"Windows Crash Dumps", Files), shell32(15)),
        folderAll(u"CrashDumps", LocalAppData, u"CrashDumps"),
        folderAll(u"LiveKernelReports", Windows, u"LiveKernelReports"),
    // 152. Explorer's thumbnail and icon caches: Explorer holds them open,
    // so they mostly go at the next boot, and it rebuilds them.
    group(u"ExplorerThumbnailCache", app(u"Windows Explorer", CacheFiles), shell32(15)),
        files(u"thumbcache_db", LocalAppData, u"Microsoft\\Windows\\Explorer\\thumbcache_*.db"),
        files(u"iconcache_db", LocalAppData, u"Microsoft\\Windows\\Explorer\\iconcache_*.db"),
    // 153. DirectX's compiled shaders, rebuilt by the games that use them.
    group(u"DirectXShaderCache", app(u"DirectX Shader", CacheFiles), shell32(15)),
        folderAll(u"D3DSCache", LocalAppData, u"D3DSCache"),
    // 154. Delivery Optimization: update pieces kept to share with other
    // computers, and the service's logs.
    group(u"DeliveryOptimization", app(u"Delivery Optimization", CacheFiles), shell32(8)),
        folderAll(u"Cache", Windows,
                  u"ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Cache"),
        folderAll(u"Logs", Windows,
                  u"ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Logs"),
    // 155. Windows Update (Log Files): the update agent's, the servicing
    // stack's (CBS) and DISM's logs. The DataStore keeps its database beside
    // its logs: only the *.log files are named, never DataStore.edb or its
    // checkpoint.
    group(u"WindowsUpdateLogFiles", named(1000001000, LogFiles), shell32(15)),
        files(u"DataStore_Logs_log", Windows, u"SoftwareDistribution\\DataStore\\Logs\\*.log"),
        files(u"Logs_WindowsUpdate_etl", Windows, u"Logs\\WindowsUpdate\\*.etl"),
        files(u"Logs_CBS_log", Windows, u"Logs\\CBS\\*.log"),
        files(u"Logs_CBS_cab", Windows, u"Logs\\CBS\\*.cab"),
        files(u"Logs_DISM_log", Windows, u"Logs\\DISM\\*.log"),
};
// clang-format on

}  // namespace

std::span<const Row> addedRows()
{
    return {kAddedRows, std::size(kAddedRows)};
}

}  // namespace s::file::gui::dialogs::purgo::rows

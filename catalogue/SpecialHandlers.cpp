#include "catalogue/SpecialHandlers.h"

#include "catalogue/UrlCacheWalk.h"
#include "engine/TargetLocation.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/PathWin.h"
#include "platform/ShellItems.h"
#include "platform/UrlCache.h"
#include "platform/UrlHistory.h"

#include <string>

namespace s::file::gui::dialogs::purgo {

namespace {

// The root of a drive's Recycle Bin ("C:\"), or empty for anything that is
// not a drive letter.
std::u16string driveRoot(intptr_t letter)
{
    const bool upper = letter >= 'A' && letter <= 'Z';
    const bool lower = letter >= 'a' && letter <= 'z';
    if (!upper && !lower)
        return {};
    return std::u16string{static_cast<char16_t>(letter), u':', u'\\'};
}

// The history folders of each Windows generation, below the user's profile,
// without their version digits (History.IE5 is the folder of versions 5 to
// 10 alike).
constexpr const char16_t* kHistoryBases[] = {
    u"\\Local Settings\\History\\History.IE",
    u"\\appdata\\local\\microsoft\\windows\\history\\low\\history.ie",
    u"\\appdata\\local\\microsoft\\windows\\history\\history.ie",
};

// ExpandEnvironmentStringsW's buffer for the profile folder, in characters.
constexpr std::uint32_t kProfileCapacity = 600;

}  // namespace

bool folderExists(const Text& target)
{
    auto path = s::file::win::PathWin::make(target.view());
    return path->isValidLocation() && path->isDirectory() && path->exists();
}

void folderLookUp(const Text& target)
{
    // The look-up of a folder target: the engine's, on a stand-in node.
    TimeRecordHandle node(TimeRecord::makeTarget(Type_Folder_1_Level, Text(), target));
    lookUp(*node);
}

void ieCacheCount(Text& target, int64_t& size, int64_t& found, intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    size = 0;
    found = 0;
    std::u16string folder;
    if (s::platform::hrSucceeded(s::platform::shellItems().specialFolderPath(s::platform::kCsidlInternetCache, folder)))
        target = folder;
    else
        target.clear();
    countEntries(kNormalEntries, size, found);
}

void ieCacheClean(intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    deleteEntries(kNormalEntries);
    s::platform::IUrlCache& cache = s::platform::urlCache();
    if (cache.available())
        cache.freeSpace(nullptr, 100, 0);
}

void ieHistoryCount(Text& target, int64_t& size, int64_t& found, intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    size = 0;
    found = 0;
    target.clear();
    std::u16string profile;
    // Without the profile folder (not set, or longer than the buffer) there
    // is no folder to name, but the cache can still be counted.
    if (s::platform::environment().expand(u"%userprofile%", kProfileCapacity, profile) == s::platform::kErrorSuccess &&
        !profile.empty()) {
        s::platform::IFileSystem& files = s::platform::fileSystem();
        for (const char16_t* relative : kHistoryBases) {
            const std::u16string base = profile + relative;
            for (int version = 5; version <= 10; ++version) {
                std::u16string path = base;
                if (version >= 10)
                    path += u'1';
                path += static_cast<char16_t>(u'0' + version % 10);
                if (!files.exists(path.c_str()))
                    continue;
                if (!target.isEmpty())
                    target += u", ";
                target += base;
            }
        }
    }
    countEntries(kHistoryEntries, size, found);
}

void ieHistoryClean(intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    deleteEntries(kHistoryEntries);
    s::platform::urlHistory().clearHistory();
}

void recentDocsCount(Text& target, int64_t& size, int64_t& found, intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    size = 0;
    found = 0;
    std::u16string folder;
    if (!s::platform::hrSucceeded(s::platform::shellItems().specialFolderPath(s::platform::kCsidlRecent, folder))) {
        target.clear();
        return;
    }
    target = folder;
    // Every file directly in the folder counts with the size its listing
    // gives, hidden ones and file links too (a measure, unlike the listings,
    // keeps file links); subfolders and their contents do not. A folder that
    // is missing, or a file, counts nothing.
    auto recent = s::file::win::PathWin::make(folder);
    if (!recent->isDirectory() || !recent->exists())
        return;
    int64_t folders = 0;
    size = recent->measureFolder(s::file::Descend::No, s::file::TopFiles::Count, found, folders);
}

void recentDocsClear(intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    s::platform::shellItems().clearRecentDocuments();
}

void recycleBinCount(Text& /*target*/, int64_t& size, int64_t& found, intptr_t handlerData, int32_t /*handlerExtra*/)
{
    size = 0;
    found = 0;
    const std::u16string root = driveRoot(handlerData);
    if (root.empty())
        return;
    int64_t bytes = 0;
    int64_t items = 0;
    if (!s::platform::hrSucceeded(s::platform::shellItems().queryRecycleBin(root.c_str(), bytes, items)))
        return;
    size += bytes;
    found += items;
}

void recycleBinEmpty(intptr_t handlerData, int32_t /*handlerExtra*/)
{
    const std::u16string root = driveRoot(handlerData);
    if (root.empty())
        return;
    s::platform::shellItems().emptyRecycleBin(
        root.c_str(), s::platform::kEmptyNoConfirmation | s::platform::kEmptyNoProgressUi | s::platform::kEmptyNoSound);
}

bool alwaysExists(const Text& /*target*/)
{
    return true;
}

void recycleBinLookUp(const Text& /*target*/)
{
    s::platform::shellItems().openSpecialFolder(s::platform::kCsidlBitBucket);
}

}  // namespace s::file::gui::dialogs::purgo

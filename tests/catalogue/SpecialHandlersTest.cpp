// The browser, recent-documents and Recycle Bin handlers against the build's
// backend: the in-memory services natively, the real WinINet and shell under
// Wine, on cache entries, files and variables the test makes itself.
//
// A clean runs only where it can touch nothing but the test's own data: a
// cache or Recent folder that holds anything else skips the case. Where Wine
// lacks a service the case says so in its skip message; the fake-backed run
// keeps it (FakeHandlersTest.cpp holds what only the fakes can show).
#include "catalogue/SpecialHandlers.h"
#include "catalogue/CookieSites.h"
#include "catalogue/UrlCacheWalk.h"
#include "platform/FileSystem.h"
#include "platform/ShellItems.h"
#include "platform/UrlCache.h"

#include "tests/support/Sandbox.h"
#include "tests/support/ShellSandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::kCookieCacheEntry;
using s::platform::kNormalCacheEntry;
using s::platform::kUrlHistoryCacheEntry;
using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
using s::platform::testing::ShellSandbox;

struct Measure {
    Text target;
    int64_t size = -1;
    int64_t found = -1;
};

Measure measure(TargetCountHandler handler, intptr_t handlerData = 0)
{
    Measure out;
    out.target = u"stale";
    handler(out.target, out.size, out.found, handlerData, 0);
    return out;
}

class SpecialHandlersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        ASSERT_TRUE(shellBox.ok()) << shellBox.failure();
    }

    void TearDown() override
    {
        forgetCookieSites();
        if (group)
            group->release();
    }

    // The cookie group as the catalogue builds it.
    void buildCookieGroup()
    {
        group = TimeRecord::makeGroup(u"IEInternetCookies", u"IE (Cookies)", u"Erase IE Cookies");
        addCookieSiteTargets(*group);
    }

    int siteIndex(const std::u16string& url) const { return cookieSites().indexOf(url); }

    Sandbox box;
    ShellSandbox shellBox;
    TimeRecord* group = nullptr;
};

TEST_F(SpecialHandlersTest, CacheAndHistoryCountTheirOwnEntryTypes)
{
    const Measure cacheBefore = measure(&ieCacheCount);
    const Measure historyBefore = measure(&ieHistoryCount);
    ASSERT_TRUE(shellBox.addEntry(shellBox.normalUrl(u"page.htm"), kNormalCacheEntry, 100));
    ASSERT_TRUE(shellBox.addEntry(shellBox.normalUrl(u"logo.gif"), kNormalCacheEntry, 50));
    ASSERT_TRUE(shellBox.addEntry(shellBox.cookieUrl(u"site"), kCookieCacheEntry, 33));
    ASSERT_TRUE(shellBox.addEntry(shellBox.historyUrl(u"page.htm"), kUrlHistoryCacheEntry, 7));

    const Measure cache = measure(&ieCacheCount);
    EXPECT_EQ(cache.found - cacheBefore.found, 2);
    EXPECT_EQ(cache.size - cacheBefore.size, 150);
    std::u16string folder;
    ASSERT_TRUE(s::platform::hrSucceeded(
        s::platform::shellItems().specialFolderPath(s::platform::kCsidlInternetCache, folder)));
    EXPECT_EQ(narrow(cache.target.view()), narrow(folder));

    const Measure history = measure(&ieHistoryCount);
    EXPECT_EQ(history.found - historyBefore.found, 1);
    EXPECT_EQ(history.size - historyBefore.size, 7);
}

TEST_F(SpecialHandlersTest, EveryCookieEntryBecomesASiteTarget)
{
    const std::u16string sites[] = {shellBox.cookieUrl(u"b"), shellBox.cookieUrl(u"a"), shellBox.cookieUrl(u"c")};
    ASSERT_TRUE(shellBox.addEntry(sites[0], kCookieCacheEntry, 20));
    ASSERT_TRUE(shellBox.addEntry(sites[1], kCookieCacheEntry, 10));
    ASSERT_TRUE(shellBox.addEntry(sites[2], kCookieCacheEntry, 30));
    ASSERT_TRUE(shellBox.addEntry(shellBox.normalUrl(u"page.htm"), kNormalCacheEntry, 5));
    ASSERT_TRUE(shellBox.addEntry(shellBox.historyUrl(u"page.htm"), kUrlHistoryCacheEntry, 5));
    buildCookieGroup();

    const s::str::StrArray& names = cookieSites();
    ASSERT_EQ(group->childCount(), static_cast<std::size_t>(names.count()));
    ASSERT_EQ(cookieSiteTargets().size(), group->childCount());
    for (int k = 0; k + 1 < names.count(); ++k)
        EXPECT_LE(Text::compareFolded(names[k].view(), names[k + 1].view()), 0) << "sites " << k << ", " << k + 1;
    int ours = 0;
    for (int k = 0; k < names.count(); ++k) {
        EXPECT_TRUE(names[k].startsWithIgnoreCase(u"Cookie:")) << narrow(names[k].view());
        ours += shellBox.ours(names[k].view()) ? 1 : 0;
    }
    EXPECT_EQ(ours, 3);

    const int64_t sizes[] = {20, 10, 30};
    for (std::size_t s = 0; s < std::size(sites); ++s) {
        const int k = siteIndex(sites[s]);
        ASSERT_GE(k, 0) << narrow(sites[s]);
        const TimeRecord* target = group->child(static_cast<std::size_t>(k));
        EXPECT_EQ(cookieSiteTargets()[static_cast<std::size_t>(k)], target);
        EXPECT_EQ(target->handlerData, k);
        EXPECT_EQ(narrow(target->title.view()), narrow(sites[s]));
        EXPECT_EQ(narrow(target->id.view()), narrow(cookieSiteTargetId(sites[s]).view()));
        const Measure counted = measure(target->countHandler, target->handlerData);
        EXPECT_EQ(counted.size, sizes[s]) << narrow(sites[s]);
        EXPECT_EQ(counted.found, 1) << narrow(sites[s]);
    }
    const Measure outside = measure(&cookieSiteCount, names.count());
    EXPECT_EQ(outside.size, 0);
    EXPECT_EQ(outside.found, 0);
}

TEST_F(SpecialHandlersTest, OneCleanDeletesTheCookiesOfEveryCheckedSiteAndNoOther)
{
    const std::u16string checkedA = shellBox.cookieUrl(u"checked-a");
    const std::u16string checkedB = shellBox.cookieUrl(u"checked-b");
    const std::u16string unchecked = shellBox.cookieUrl(u"unchecked");
    for (const std::u16string& url : {checkedA, checkedB, unchecked})
        ASSERT_TRUE(shellBox.addEntry(url, kCookieCacheEntry, 40));
    if (!shellBox.exEnumerationWorks())
        GTEST_SKIP() << "Wine 8: FindFirstUrlCacheEntryExW is a stub (ERROR_FILE_NOT_FOUND), so the deleting walk "
                        "sees no entries";
    buildCookieGroup();
    // Only the test's own sites stay checked; any other site of the cache is
    // left alone.
    for (TimeRecord* target : cookieSiteTargets())
        target->checked = false;
    const int a = siteIndex(checkedA);
    const int b = siteIndex(checkedB);
    const int c = siteIndex(unchecked);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ASSERT_GE(c, 0);
    cookieSiteTargets()[static_cast<std::size_t>(a)]->checked = true;
    cookieSiteTargets()[static_cast<std::size_t>(b)]->checked = true;

    // A clean run calls the clean handler of each checked target.
    cookieClean(a, 0);
    cookieClean(b, 0);
    EXPECT_FALSE(shellBox.hasEntry(checkedA));
    EXPECT_FALSE(shellBox.hasEntry(checkedB));
    EXPECT_TRUE(shellBox.hasEntry(unchecked));
    EXPECT_EQ(measure(&cookieSiteCount, a).found, 0);
    EXPECT_EQ(measure(&cookieSiteCount, b).size, 0);
    const Measure kept = measure(&cookieSiteCount, c);
    EXPECT_EQ(kept.found, 1);
    EXPECT_EQ(kept.size, 40);
}

TEST_F(SpecialHandlersTest, TheCacheCleanDeletesNormalEntriesOnly)
{
    const std::u16string page = shellBox.normalUrl(u"page.htm");
    const std::u16string cookie = shellBox.cookieUrl(u"site");
    const std::u16string visited = shellBox.historyUrl(u"page.htm");
    ASSERT_TRUE(shellBox.addEntry(page, kNormalCacheEntry, 100));
    ASSERT_TRUE(shellBox.addEntry(cookie, kCookieCacheEntry, 10));
    ASSERT_TRUE(shellBox.addEntry(visited, kUrlHistoryCacheEntry, 10));
    const auto foreign = shellBox.foreignEntries(ShellSandbox::Kind::Normal);
    if (!foreign.empty())
        GTEST_SKIP() << "the cache holds entries this test did not make (" << narrow(foreign.front()) << ")";
    if (!shellBox.exEnumerationWorks())
        GTEST_SKIP() << "Wine 8: FindFirstUrlCacheEntryExW is a stub (ERROR_FILE_NOT_FOUND), so the deleting walk "
                        "sees no entries";
    ieCacheClean(0, 0);
    EXPECT_FALSE(shellBox.hasEntry(page));
    EXPECT_TRUE(shellBox.hasEntry(cookie));
    EXPECT_TRUE(shellBox.hasEntry(visited));
    EXPECT_EQ(measure(&ieCacheCount).found, 0);
}

TEST_F(SpecialHandlersTest, TheHistoryCleanDeletesHistoryEntriesOnly)
{
    const std::u16string page = shellBox.normalUrl(u"page.htm");
    const std::u16string visited = shellBox.historyUrl(u"page.htm");
    ASSERT_TRUE(shellBox.addEntry(page, kNormalCacheEntry, 100));
    ASSERT_TRUE(shellBox.addEntry(visited, kUrlHistoryCacheEntry, 10));
    const auto foreign = shellBox.foreignEntries(ShellSandbox::Kind::History);
    if (!foreign.empty())
        GTEST_SKIP() << "the history holds entries this test did not make (" << narrow(foreign.front()) << ")";
    if (!shellBox.exEnumerationWorks())
        GTEST_SKIP() << "Wine 8: FindFirstUrlCacheEntryExW is a stub (ERROR_FILE_NOT_FOUND), so the deleting walk "
                        "sees no entries";
    ieHistoryClean(0, 0);
    EXPECT_FALSE(shellBox.hasEntry(visited));
    EXPECT_TRUE(shellBox.hasEntry(page));
}

TEST_F(SpecialHandlersTest, TheHistoryTargetNamesEachHistoryFolderOfTheProfile)
{
    const std::u16string profile = box.folder();
    ASSERT_TRUE(shellBox.setProfile(profile));
    const std::u16string xp = profile + u"\\Local Settings\\History\\History.IE";
    const std::u16string vista = profile + u"\\appdata\\local\\microsoft\\windows\\history\\history.ie";
    for (const char16_t* folder :
         {u"Local Settings", u"Local Settings\\History", u"Local Settings\\History\\History.IE5", u"appdata",
          u"appdata\\local", u"appdata\\local\\microsoft", u"appdata\\local\\microsoft\\windows",
          u"appdata\\local\\microsoft\\windows\\history", u"appdata\\local\\microsoft\\windows\\history\\history.ie5",
          u"appdata\\local\\microsoft\\windows\\history\\history.ie10",
          u"appdata\\local\\microsoft\\windows\\history\\history.ie11"})
        ASSERT_TRUE(box.makeFolder(folder)) << narrow(folder);
    // One name per version folder found, low-integrity history (absent here)
    // before the ordinary one; History.IE11 is not a version the handler
    // knows.
    EXPECT_EQ(narrow(measure(&ieHistoryCount).target.view()), narrow(xp + u", " + vista + u", " + vista));
}

TEST_F(SpecialHandlersTest, RecentDocumentsCountTheFilesOfTheRecentFolder)
{
    const std::u16string recent = shellBox.recentFolder();
    ASSERT_FALSE(recent.empty());
    const Measure before = measure(&recentDocsCount);
    EXPECT_EQ(narrow(before.target.view()), narrow(recent));
    const std::u16string one = recent + u"\\oxlepurgo-test-one.lnk";
    const std::u16string two = recent + u"\\oxlepurgo-test-two.lnk";
    ASSERT_TRUE(shellBox.makeFile(one, 100));
    ASSERT_TRUE(shellBox.makeFile(two, 2500));
    ASSERT_TRUE(shellBox.makeFolder(recent + u"\\oxlepurgo-test-folder"));
    const Measure after = measure(&recentDocsCount);
    EXPECT_EQ(after.found - before.found, 2);
    EXPECT_EQ(after.size - before.size, 2600);

    const auto files = shellBox.filesIn(recent);
    if (files.size() != 2)
        GTEST_SKIP() << "the Recent folder holds files this test did not make";
    recentDocsClear(0, 0);
    if (ShellSandbox::underWine() && shellBox.exists(one))
        GTEST_SKIP() << "Wine 8: SHAddToRecentDocs(NULL) does not delete the shortcuts of the Recent folder";
    EXPECT_FALSE(shellBox.exists(one));
    EXPECT_FALSE(shellBox.exists(two));
    EXPECT_EQ(measure(&recentDocsCount).found, 0);
}

// Recent holds a hidden desktop.ini beside the shortcuts: hidden and system
// files count like the others.
TEST_F(SpecialHandlersTest, RecentDocumentsCountHiddenAndSystemFilesToo)
{
    const std::u16string recent = shellBox.recentFolder();
    ASSERT_FALSE(recent.empty());
    const Measure before = measure(&recentDocsCount);
    struct Row {
        const char16_t* name;
        std::uint64_t size;
        std::uint32_t attributes;
    };
    const Row rows[] = {
        {u"oxlepurgo-test-hidden.lnk", 30, s::platform::kFileAttributeHidden},
        {u"oxlepurgo-test-system.lnk", 400, s::platform::kFileAttributeSystem},
        {u"oxlepurgo-test-both.ini", 5000, s::platform::kFileAttributeHidden | s::platform::kFileAttributeSystem},
    };
    auto& files = s::platform::fileSystem();
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.name));
        const std::u16string path = recent + u"\\" + row.name;
        ASSERT_TRUE(shellBox.makeFile(path, row.size));
        ASSERT_EQ(files.setAttributes(path.c_str(), row.attributes), s::platform::kErrorSuccess);
        ASSERT_EQ(files.attributes(path.c_str()) & row.attributes, row.attributes);
    }
    const Measure after = measure(&recentDocsCount);
    EXPECT_EQ(after.found - before.found, 3);
    EXPECT_EQ(after.size - before.size, 5430);
}

// A bin of known contents (natively the fake's, under Wine a trash of the
// test's own): counted per drive letter, then emptied.
TEST_F(SpecialHandlersTest, TheRecycleBinIsCountedAndEmptiedForItsDrive)
{
    ASSERT_TRUE(shellBox.useSandboxBin()) << shellBox.failure();
    struct Row {
        intptr_t letter;
        int64_t size;
        int64_t found;
    };
    const Row rows[] = {
        {'C', ShellSandbox::kBinBytes, ShellSandbox::kBinItems},
        {'c', ShellSandbox::kBinBytes, ShellSandbox::kBinItems},
        {0, 0, 0},
        {'1', 0, 0},
        {':', 0, 0},
        {0x10043, 0, 0},  // 'C' in the low byte, but no letter
    };
    for (const Row& row : rows) {
        const Measure counted = measure(&recycleBinCount, row.letter);
        // Checked before anything is emptied: under Wine a bin of other
        // contents is the machine's own trash.
        ASSERT_EQ(counted.size, row.size) << row.letter;
        ASSERT_EQ(counted.found, row.found) << row.letter;
        EXPECT_EQ(narrow(counted.target.view()), "stale") << "the target text stays";
    }
    // Natively every other drive has a bin of its own, empty here. Wine keeps
    // one bin for every drive, and answers even for a drive that does not
    // exist: that part is the fake's alone.
    if (!ShellSandbox::underWine()) {
        const Measure other = measure(&recycleBinCount, 'D');
        EXPECT_EQ(other.size, 0);
        EXPECT_EQ(other.found, 0);
    }
    EXPECT_TRUE(alwaysExists(Text()));

    recycleBinEmpty('C', 0);
    const Measure emptied = measure(&recycleBinCount, 'C');
    EXPECT_EQ(emptied.size, 0);
    EXPECT_EQ(emptied.found, 0);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo

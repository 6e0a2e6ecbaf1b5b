// What only the in-memory services can show about the special handlers: the
// record buffer rules of the cache walks, a WinINet without its entry points,
// failing deletions and queries, the shell requests, and the catalogue's own
// registry keys.
#include "catalogue/CookieSites.h"
#include "catalogue/MruHandlers.h"
#include "catalogue/SpecialHandlers.h"
#include "catalogue/UrlCacheWalk.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeShellItems.h"
#include "platform/fake/FakeUrlCache.h"
#include "platform/fake/FakeUrlHistory.h"

#include "tests/support/Sandbox.h"
#include "tests/support/ShellSandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::CacheFindCall;
using s::platform::FakeUrlCache;
using s::platform::kCookieCacheEntry;
using s::platform::kNormalCacheEntry;
using s::platform::kUrlHistoryCacheEntry;
using s::platform::Win32Error;
using s::platform::testing::narrow;
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

// Header bytes that make an entry's record exactly `bytes` long.
std::uint32_t headerFor(std::u16string_view url, std::uint32_t bytes)
{
    return bytes - FakeUrlCache::recordSize(url, 0);
}

class FakeHandlersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shellBox.ok()); }

    void TearDown() override
    {
        EXPECT_EQ(cache.openFinds(), 0u) << "every walk closes its enumeration";
        forgetCookieSites();
        if (group)
            group->release();
    }

    void buildCookieGroup()
    {
        group = TimeRecord::makeGroup(u"IEInternetCookies", u"IE (Cookies)", u"Erase IE Cookies");
        addCookieSiteTargets(*group);
    }

    TimeRecord* site(std::u16string_view name)
    {
        const int k = cookieSites().indexOf(name);
        EXPECT_GE(k, 0) << narrow(name);
        return k < 0 ? nullptr : cookieSiteTargets()[static_cast<std::size_t>(k)];
    }

    ShellSandbox shellBox;  // resets the fakes before and after
    FakeUrlCache& cache = s::platform::fakeUrlCache();
    s::platform::FakeShellItems& shell = s::platform::fakeShellItems();
    TimeRecord* group = nullptr;
};

TEST_F(FakeHandlersTest, WithoutWinInetThereAreNoSitesAndNothingToCountOrClean)
{
    cache.addEntry(u"http://a/", kNormalCacheEntry, 10);
    cache.addEntry(u"Cookie:u@a/", kCookieCacheEntry, 10);
    cache.addEntry(u"Visited: u@http://a/", kUrlHistoryCacheEntry, 10);
    cache.setAvailable(false);

    buildCookieGroup();
    EXPECT_EQ(group->childCount(), 0u);
    EXPECT_EQ(cookieSites().count(), 0);
    for (TargetCountHandler handler : {&ieCacheCount, &ieHistoryCount}) {
        const Measure counted = measure(handler);
        EXPECT_EQ(counted.size, 0);
        EXPECT_EQ(counted.found, 0);
    }
    ieCacheClean(0, 0);
    ieHistoryClean(0, 0);
    cookieClean(0, 0);
    EXPECT_EQ(cache.sourceUrls().size(), 3u);
    EXPECT_TRUE(cache.freeSpaceCalls().empty());
}

TEST_F(FakeHandlersTest, TheCountingWalkGrowsItsBufferAndStopsAtAnOversizedRecord)
{
    const std::u16string urls[] = {u"http://a/1", u"http://a/2", u"http://a/3", u"http://a/4"};
    cache.addEntry(urls[0], kNormalCacheEntry, 1);
    cache.addEntry(urls[1], kNormalCacheEntry, 2, headerFor(urls[1], 10000));
    cache.addEntry(urls[2], kNormalCacheEntry, 4, headerFor(urls[2], kCountingRecordLimit + 1));
    cache.addEntry(urls[3], kNormalCacheEntry, 8);

    const Measure counted = measure(&ieCacheCount);
    EXPECT_EQ(counted.found, 2) << "the walk ends at the third record, with what it had";
    EXPECT_EQ(counted.size, 3);
    EXPECT_EQ(cache.bufferSizes(CacheFindCall::First), std::vector<std::uint32_t>{kFirstRecordBuffer});
    EXPECT_EQ(cache.bufferSizes(CacheFindCall::Next), (std::vector<std::uint32_t>{4096, 10000, 10000}));
}

TEST_F(FakeHandlersTest, ARecordOfExactlyTheLimitIsStillCounted)
{
    const std::u16string url = u"http://a/limit";
    cache.addEntry(url, kNormalCacheEntry, 5, headerFor(url, kCountingRecordLimit));
    EXPECT_EQ(measure(&ieCacheCount).found, 1);
}

TEST_F(FakeHandlersTest, TheDeletingWalkHasNoRecordLimit)
{
    const std::u16string urls[] = {u"http://a/1", u"http://a/2", u"http://a/3"};
    cache.addEntry(urls[0], kNormalCacheEntry, 1, headerFor(urls[0], 6000));
    cache.addEntry(urls[1], kNormalCacheEntry, 1, headerFor(urls[1], kCountingRecordLimit + 100));
    cache.addEntry(urls[2], kNormalCacheEntry, 1);
    ieCacheClean(0, 0);
    EXPECT_EQ(cache.deleted(), (std::vector<std::u16string>{urls[0], urls[1], urls[2]}));
    EXPECT_EQ(cache.bufferSizes(CacheFindCall::FirstEx), (std::vector<std::uint32_t>{4096, 6000}));
    ASSERT_EQ(cache.freeSpaceCalls().size(), 1u);
    const s::platform::FreeSpaceCall call = cache.freeSpaceCalls().front();
    EXPECT_TRUE(call.nullPath);
    EXPECT_EQ(call.percent, 100u);
    EXPECT_EQ(call.filter, 0u);
}

TEST_F(FakeHandlersTest, AFailingFirstCallEndsTheWalk)
{
    struct Row {
        const char* what;
        CacheFindCall call;
        Win32Error error;
    };
    const Row rows[] = {
        {"count, access denied", CacheFindCall::First, s::platform::kErrorAccessDenied},
        {"delete, Wine's Ex stub", CacheFindCall::FirstEx, s::platform::kErrorFileNotFound},
    };
    for (const Row& row : rows) {
        cache.clear();
        cache.addEntry(u"http://a/", kNormalCacheEntry, 10);
        cache.failFind(row.call, row.error);
        EXPECT_EQ(measure(&ieCacheCount).found, row.call == CacheFindCall::First ? 0 : 1) << row.what;
        deleteEntries(kNormalEntries);
        EXPECT_EQ(cache.contains(u"http://a/"), row.call == CacheFindCall::FirstEx) << row.what;
    }
}

TEST_F(FakeHandlersTest, EachWalkTakesItsOwnTypes)
{
    // Any type without the cookie or history bit is a cache entry, as an
    // entry kept for offline reading (TRACK_OFFLINE_CACHE_ENTRY, 0x4) is.
    const auto seed = [&] {
        cache.clear();
        cache.addEntry(u"http://a/", kNormalCacheEntry, 1);
        cache.addEntry(u"Cookie:u@a/", kCookieCacheEntry, 10);
        cache.addEntry(u"Visited: u@http://a/", kUrlHistoryCacheEntry, 100);
        cache.addEntry(u"http://b/", 0x4, 1000);
    };
    struct Row {
        std::uint8_t which;
        int64_t found;
        int64_t size;
        std::vector<std::u16string> deleted;
    };
    const Row rows[] = {
        {kNormalEntries, 2, 1001, {u"http://a/", u"http://b/"}},
        {kHistoryEntries, 1, 100, {u"Visited: u@http://a/"}},
        {kNormalEntries | kHistoryEntries, 3, 1101, {u"http://a/", u"Visited: u@http://a/", u"http://b/"}},
        {kCookieEntries, 0, 0, {}},  // no site targets, so no site is checked
    };
    for (const Row& row : rows) {
        seed();
        int64_t size = 0;
        int64_t found = 0;
        countEntries(row.which, size, found);
        EXPECT_EQ(found, row.found) << int(row.which);
        EXPECT_EQ(size, row.size) << int(row.which);
        deleteEntries(row.which);
        EXPECT_EQ(cache.deleted(), row.deleted) << int(row.which);
    }
}

TEST_F(FakeHandlersTest, CookieSitesSortIgnoringCaseWithTheShorterNameFirst)
{
    cache.addEntry(u"b.com", kCookieCacheEntry, 1);
    cache.addEntry(u"A.com", kCookieCacheEntry, 2);
    cache.addEntry(u"a", kCookieCacheEntry, 3);
    buildCookieGroup();
    const char* order[] = {"a", "A.com", "b.com"};
    const std::uint64_t totals[] = {3, 2, 1};
    ASSERT_EQ(cookieSites().count(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(narrow(cookieSites()[k].view()), order[k]) << k;
        EXPECT_EQ(cookieSiteTotals()[static_cast<std::size_t>(k)], totals[k]) << k;
        EXPECT_EQ(group->child(static_cast<std::size_t>(k))->handlerData, k);
    }
}

TEST_F(FakeHandlersTest, SitesEqualIgnoringCaseKeepTheirOrder)
{
    const char16_t* names[] = {u"x.com", u"A.com", u"b", u"a.COM", u"B"};
    for (std::uint64_t k = 0; k < std::size(names); ++k) {
        cookieSites().add(names[k]);
        cookieSiteTotals().push_back(k);
    }
    sortCookieSites();
    const char* order[] = {"A.com", "a.COM", "b", "B", "x.com"};
    const std::uint64_t totals[] = {1, 3, 2, 4, 0};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(narrow(cookieSites()[k].view()), order[k]) << k;
        EXPECT_EQ(cookieSiteTotals()[static_cast<std::size_t>(k)], totals[k]) << k;
    }
}

TEST_F(FakeHandlersTest, SiteIdsReplaceTheUrlPunctuation)
{
    struct Row {
        std::u16string_view site;
        const char* id;
    };
    const Row rows[] = {
        {u"x@y/z", "x_y_z"},
        {u"Cookie:user@www.example.com/", "Cookie_user_www.example.com_"},
        {u"a;b?c&d=e+f$g,h%i", "a_b_c_d_e_f_g_h_i"},
        {u"plain-name.com", "plain-name.com"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(narrow(cookieSiteTargetId(row.site).view()), row.id) << narrow(row.site);
}

TEST_F(FakeHandlersTest, SiteTargetsAreSpecialTargetsCheckedByDefault)
{
    cache.addEntry(u"Cookie:u@a.com/", kCookieCacheEntry, 12);
    cache.addEntry(u"Cookie:u@empty.com/", kCookieCacheEntry, 0);
    buildCookieGroup();
    ASSERT_EQ(group->childCount(), 2u);
    const TimeRecord* target = group->child(0);
    EXPECT_EQ(narrow(target->id.view()), "Cookie_u_a.com_");
    EXPECT_EQ(narrow(target->title.view()), "Cookie:u@a.com/");
    EXPECT_EQ(narrow(target->description.view()), "Cookie:u@a.com/");
    EXPECT_EQ(narrow(target->iconSpec.view()), "C:\\Windows\\system32\\shell32.dll,70");
    EXPECT_EQ(target->kind, Type_File_Func);
    EXPECT_TRUE(target->isTarget);
    EXPECT_TRUE(target->checked);
    EXPECT_TRUE(target->defaultChecked);
    EXPECT_EQ(target->parent, group);
    EXPECT_EQ(target->countHandler, &cookieSiteCount);
    EXPECT_EQ(target->cleanHandler, &cookieClean);
    EXPECT_EQ(target->existsHandler, nullptr);
    EXPECT_EQ(target->lookUpHandler, nullptr);
    EXPECT_EQ(group->child(1)->handlerData, 1);
    const Measure empty = measure(&cookieSiteCount, 1);
    EXPECT_EQ(empty.size, 0);
    EXPECT_EQ(empty.found, 0) << "a site of 0 bytes shows nothing to delete";
    for (intptr_t outside : {intptr_t{-1}, intptr_t{2}, intptr_t{1} << 40}) {
        const Measure none = measure(&cookieSiteCount, outside);
        EXPECT_EQ(none.size, 0) << outside;
        EXPECT_EQ(none.found, 0) << outside;
    }
}

TEST_F(FakeHandlersTest, OneWalkServesEveryCheckedSiteOfACleanRun)
{
    for (const char16_t* name : {u"Cookie:u@a/", u"Cookie:u@b/", u"Cookie:u@c/"})
        cache.addEntry(name, kCookieCacheEntry, 30);
    buildCookieGroup();
    site(u"Cookie:u@c/")->checked = false;
    cookieClean(0, 0);
    cookieClean(1, 0);
    EXPECT_EQ(cache.deleted(), (std::vector<std::u16string>{u"Cookie:u@a/", u"Cookie:u@b/"}));
    EXPECT_EQ(cache.bufferSizes(CacheFindCall::FirstEx).size(), 1u) << "the second site needs no walk of its own";
    EXPECT_EQ(measure(&cookieSiteCount, 2).size, 30);

    // The same tree, cleaned again with the third site checked now: its
    // cookies go too, though the done flag is set.
    site(u"Cookie:u@c/")->checked = true;
    cookieClean(0, 0);
    cookieClean(1, 0);
    cookieClean(2, 0);
    EXPECT_FALSE(cache.contains(u"Cookie:u@c/"));
    EXPECT_EQ(measure(&cookieSiteCount, 2).size, 0);
    EXPECT_EQ(cache.bufferSizes(CacheFindCall::FirstEx).size(), 2u);
}

TEST_F(FakeHandlersTest, ACookieThatCannotBeDeletedKeepsItsTotal)
{
    cache.addEntry(u"Cookie:u@a/", kCookieCacheEntry, 30);
    cache.addEntry(u"Cookie:u@b/", kCookieCacheEntry, 40);
    buildCookieGroup();
    cache.failDelete(u"Cookie:u@b/", s::platform::kErrorSharingViolation);
    cookieClean(0, 0);
    cookieClean(1, 0);
    EXPECT_FALSE(cache.contains(u"Cookie:u@a/"));
    EXPECT_TRUE(cache.contains(u"Cookie:u@b/"));
    const Measure kept = measure(&cookieSiteCount, 1);
    EXPECT_EQ(kept.size, 40);
    EXPECT_EQ(kept.found, 1);

    // Once the entry is free, the next clean of its site takes it.
    cache.failDelete(u"Cookie:u@b/", s::platform::kErrorSuccess);
    cookieClean(1, 0);
    EXPECT_FALSE(cache.contains(u"Cookie:u@b/"));
    EXPECT_EQ(measure(&cookieSiteCount, 1).found, 0);
}

TEST_F(FakeHandlersTest, ANewBuildClearsTheDoneFlagAndForgetsTheOldTargets)
{
    cache.addEntry(u"Cookie:u@a/", kCookieCacheEntry, 30);
    buildCookieGroup();
    cookieClean(0, 0);
    EXPECT_TRUE(cookieCleanDone());
    cache.addEntry(u"Cookie:u@a/", kCookieCacheEntry, 35);
    group->release();
    group = nullptr;
    buildCookieGroup();
    EXPECT_FALSE(cookieCleanDone());
    ASSERT_EQ(cookieSiteTargets().size(), 1u);
    EXPECT_EQ(cookieSiteTargets()[0], group->child(0));
    EXPECT_EQ(measure(&cookieSiteCount, 0).size, 35);
}

TEST_F(FakeHandlersTest, TheHistoryCleanAsksTheHistoryObjectEvenWhenItsCacheIsEmpty)
{
    ieHistoryClean(0, 0);
    EXPECT_EQ(s::platform::fakeUrlHistory().clears(), 1);

    cache.addEntry(u"Visited: u@http://a/", kUrlHistoryCacheEntry, 1);
    s::platform::fakeUrlHistory().failCreation(static_cast<s::platform::HResult>(0x80040154u));  // not registered
    ieHistoryClean(0, 0);
    EXPECT_FALSE(cache.contains(u"Visited: u@http://a/"));
    EXPECT_EQ(s::platform::fakeUrlHistory().clears(), 1);
}

TEST_F(FakeHandlersTest, WithoutAProfileTheHistoryTargetIsEmptyButCounted)
{
    s::platform::fakeEnvironment().removeVariable(u"USERPROFILE");
    cache.addEntry(u"Visited: u@http://a/", kUrlHistoryCacheEntry, 9);
    const Measure counted = measure(&ieHistoryCount);
    EXPECT_EQ(narrow(counted.target.view()), "");
    EXPECT_EQ(counted.found, 1);
    EXPECT_EQ(counted.size, 9);

    s::platform::fakeEnvironment().setVariable(u"USERPROFILE", u"C:\\" + std::u16string(600, u'p'));
    EXPECT_EQ(narrow(measure(&ieHistoryCount).target.view()), "") << "a profile longer than 600 characters";
}

TEST_F(FakeHandlersTest, RecentDocumentsWithoutTheFolderCountNothing)
{
    shell.setSpecialFolder(s::platform::kCsidlRecent, u"");
    const Measure counted = measure(&recentDocsCount);
    EXPECT_EQ(narrow(counted.target.view()), "");
    EXPECT_EQ(counted.found, 0);
    EXPECT_EQ(counted.size, 0);
    recentDocsClear(0, 0);
    EXPECT_EQ(shell.recentDocumentClears(), 1);
}

TEST_F(FakeHandlersTest, RecycleBinsAreCountedEmptiedAndShownPerDrive)
{
    shell.setRecycleBin(u"C:\\", 300, 3);
    shell.setRecycleBin(u"D:\\", 1000, 1);
    shell.failRecycleBin(u"D:\\", s::platform::kEFail);
    struct Row {
        intptr_t letter;
        int64_t size;
        int64_t found;
    };
    const Row rows[] = {{'C', 300, 3}, {'c', 300, 3}, {'D', 0, 0}, {'Q', 0, 0}, {'1', 0, 0}, {0, 0, 0}};
    for (const Row& row : rows) {
        const Measure counted = measure(&recycleBinCount, row.letter);
        EXPECT_EQ(counted.size, row.size) << row.letter;
        EXPECT_EQ(counted.found, row.found) << row.letter;
    }

    recycleBinEmpty('C', 0);
    recycleBinEmpty('1', 0);
    ASSERT_EQ(shell.emptiedBins().size(), 1u);
    EXPECT_EQ(narrow(shell.emptiedBins()[0].root), "C:\\");
    EXPECT_EQ(shell.emptiedBins()[0].flags, 7u) << "no confirmation, no progress window, no sound";
    EXPECT_EQ(measure(&recycleBinCount, 'C').found, 0);

    recycleBinLookUp(Text(u"C:\\ (Files in Recycle Bin)"));
    EXPECT_EQ(shell.openedFolders(), std::vector<int>{s::platform::kCsidlBitBucket});
}

// The entry points are bound to the catalogue's keys under the current user.
class FakeMruKeysTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (std::size_t k = 0; k < kMruInstanceCount; ++k)
            registry.removeTree(native(kMruLists[k].key));
    }

    std::u16string native(std::u16string_view key)
    {
        return registry.rootPath(s::platform::RootKey::CurrentUser) + u"\\" + std::u16string(key);
    }

    void set(std::u16string_view key, std::u16string_view name, std::u16string_view text)
    {
        std::vector<std::byte> data((text.size() + 1) * 2);
        std::memcpy(data.data(), text.data(), text.size() * 2);
        ASSERT_TRUE(registry.setValue(native(key), name, s::platform::kRegSz, data));
    }

    s::platform::FakeRegistry& registry = s::platform::fakeRegistry();
};

TEST_F(FakeMruKeysTest, TheRunListIsALetterListAndAnAddressList)
{
    const std::u16string_view run = mruList(MruInstance::RunMru).key;
    set(run, u"a", u"notepad");
    set(run, u"b", u"cmd");
    set(run, u"MRUList", u"ab");
    set(run, u"url1", u"http://x");
    const Measure letters = measure(mruHandlers(MruInstance::RunMru).count);
    const Measure urls = measure(mruHandlers(MruInstance::RunMruUrls).count);
    EXPECT_EQ(letters.found, 2);
    EXPECT_EQ(urls.found, 1);

    mruHandlers(MruInstance::RunMruUrls).clean(0, 0);
    EXPECT_FALSE(registry.value(native(run), u"url1"));
    EXPECT_TRUE(registry.value(native(run), u"b"));
    mruHandlers(MruInstance::RunMru).clean(0, 0);
    EXPECT_FALSE(registry.value(native(run), u"b"));
    EXPECT_TRUE(registry.value(native(run), u"MRUList"));
}

TEST_F(FakeMruKeysTest, EachListTakesItsOwnPrefix)
{
    struct Row {
        MruInstance instance;
        const char16_t* taken;
        const char16_t* left;
    };
    const Row rows[] = {
        {MruInstance::TypedUrls, u"url3", u"file1"},
        {MruInstance::MediaPlayerRecentUrls, u"URL0", u"File0"},
        {MruInstance::MediaPlayerRecentFiles, u"File0", u"URL0"},
        {MruInstance::WinZipFileMenu, u"filemenu2", u"extract2"},
        {MruInstance::WinZipExtract, u"extract1", u"filemenu1"},
        {MruInstance::PaintRecentFiles, u"File1", u"url1"},
        {MruInstance::WordPadRecentFiles, u"File4", u"a"},
        {MruInstance::DocFindSpecMru, u"c", u"url1"},
        {MruInstance::FindComputerMru, u"d", u"File1"},
    };
    for (const Row& row : rows) {
        const std::u16string_view key = mruList(row.instance).key;
        set(key, row.taken, u"taken");
        set(key, row.left, u"left");
        EXPECT_EQ(measure(mruHandlers(row.instance).count).found, 1) << narrow(key);
        mruHandlers(row.instance).clean(0, 0);
        EXPECT_FALSE(registry.value(native(key), row.taken)) << narrow(key);
        EXPECT_TRUE(registry.value(native(key), row.left)) << narrow(key);
        EXPECT_TRUE(keyExists(Text(u"HKEY_CURRENT_USER\\" + std::u16string(key)))) << narrow(key);
    }
}

TEST_F(FakeMruKeysTest, AKeyWithoutFullAccessIsNeitherCountedNorCleaned)
{
    const std::u16string_view key = mruList(MruInstance::TypedUrls).key;
    set(key, u"url1", u"http://x");
    ASSERT_TRUE(registry.setFault(native(key), s::platform::KeyFault::ReadOnly));
    const Measure counted = measure(mruHandlers(MruInstance::TypedUrls).count);
    EXPECT_EQ(counted.found, 0);
    EXPECT_EQ(counted.size, 0);
    mruHandlers(MruInstance::TypedUrls).clean(0, 0);
    EXPECT_TRUE(registry.value(native(key), u"url1"));
    EXPECT_FALSE(keyExists(counted.target));
    EXPECT_EQ(registry.openHandles(), 0u);
}

// The look-ups hand the engine's look-up to the shell: the folder, or the
// folder of a file, in the file manager; a key in the registry editor.
TEST(FakeLookUpTest, FolderAndKeyLookUpsReachTheShell)
{
    s::platform::testing::Sandbox box;
    ASSERT_TRUE(box.ok()) << box.failure();
    ASSERT_TRUE(box.makeFolder(u"dir"));
    ASSERT_TRUE(box.makeFile(u"dir\\f.txt", 1));
    s::platform::FakeShell& shell = s::platform::fakeShell();
    shell.forgetRequests();

    folderLookUp(Text(box.path(u"dir")));
    folderLookUp(Text(box.path(u"dir\\f.txt")));
    folderLookUp(Text(box.path(u"missing")));
    folderLookUp(Text(u"dir"));
    keyLookUp(Text(u"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs"));

    const auto requests = shell.requests();
    ASSERT_EQ(requests.size(), 3u);
    using Kind = s::platform::ShellRequest::Kind;
    EXPECT_EQ(requests[0].kind, Kind::OpenFolder);
    EXPECT_EQ(narrow(requests[0].first), narrow(box.path(u"dir")));
    EXPECT_EQ(requests[1].kind, Kind::OpenFolder);
    EXPECT_EQ(narrow(requests[1].first), narrow(box.path(u"dir"))) << "a file shows its folder";
    EXPECT_EQ(requests[2].kind, Kind::RegistryEditor);
    EXPECT_EQ(narrow(requests[2].first), "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs");
    EXPECT_EQ(requests[2].select, s::platform::SelectValue::No);
    shell.forgetRequests();
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo

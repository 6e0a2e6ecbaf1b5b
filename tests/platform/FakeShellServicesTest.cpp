// What only the in-memory shell services model: a WinINet without all seven
// entry points, injected failures, and the shell's effects that the handler
// tests rely on (a bin per drive, the Recent folder's shortcuts).
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeShellItems.h"
#include "platform/fake/FakeUrlCache.h"

#include "tests/support/Sandbox.h"
#include "tests/support/ShellSandbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace s::platform {
namespace {

using testing::ShellSandbox;

class FakeShellServicesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()); }

    ShellSandbox box;
    FakeUrlCache& cache = fakeUrlCache();
    FakeShellItems& shell = fakeShellItems();
};

TEST_F(FakeShellServicesTest, WithoutWinInetEveryCacheCallFails)
{
    cache.addEntry(u"http://a/", kNormalCacheEntry, 1);
    cache.setAvailable(false);
    EXPECT_FALSE(cache.available());
    std::uint64_t words[64];
    std::uint32_t size = sizeof(words);
    UrlCacheFind find;
    EXPECT_EQ(cache.findFirst(nullptr, words, size, find), kErrorProcNotFound);
    EXPECT_EQ(cache.findFirstEx(nullptr, 0, kAllCacheEntries, 0, words, size, find), kErrorProcNotFound);
    EXPECT_EQ(cache.deleteEntry(u"http://a/"), kErrorProcNotFound);
    EXPECT_EQ(cache.freeSpace(nullptr, 100, 0), kErrorProcNotFound);
    EXPECT_FALSE(find.isOpen());
    EXPECT_TRUE(cache.contains(u"http://a/"));
}

TEST_F(FakeShellServicesTest, RecordsNeedTheirHeaderBytesAndFailuresCanBeInjected)
{
    cache.addEntry(u"http://a/", kNormalCacheEntry, 1, 5000);
    std::uint64_t words[64];
    std::uint32_t size = sizeof(words);
    UrlCacheFind find;
    EXPECT_EQ(cache.findFirst(nullptr, words, size, find), kErrorInsufficientBuffer);
    EXPECT_EQ(size, FakeUrlCache::recordSize(u"http://a/", 5000));

    cache.failFind(CacheFindCall::FirstEx, kErrorFileNotFound);
    size = sizeof(words);
    EXPECT_EQ(cache.findFirstEx(nullptr, 0, kAllCacheEntries, 0, words, size, find), kErrorFileNotFound);
    cache.failDelete(u"http://a/", kErrorAccessDenied);
    EXPECT_EQ(cache.deleteEntry(u"HTTP://A/"), kErrorAccessDenied);
    EXPECT_EQ(cache.openFinds(), 0u);
}

TEST_F(FakeShellServicesTest, FreeingTheWholeCacheKeepsCookiesAndHistory)
{
    cache.addEntry(u"http://a/", kNormalCacheEntry, 1);
    cache.addEntry(u"Cookie:u@a/", kCookieCacheEntry, 1);
    cache.addEntry(u"Visited: u@http://a/", kUrlHistoryCacheEntry, 1);
    EXPECT_EQ(cache.freeSpace(nullptr, 100, 0), kErrorSuccess);
    EXPECT_EQ(cache.sourceUrls(), (std::vector<std::u16string>{u"Cookie:u@a/", u"Visited: u@http://a/"}));
}

TEST_F(FakeShellServicesTest, BinsAreKeptPerDriveRoot)
{
    shell.setRecycleBin(u"D:\\", 300, 3);
    shell.failRecycleBin(u"E:\\", kEFail);
    std::int64_t size = -1;
    std::int64_t items = -1;
    ASSERT_EQ(shell.queryRecycleBin(u"d:\\", size, items), kSOk);
    EXPECT_EQ(size, 300);
    EXPECT_EQ(items, 3);
    EXPECT_EQ(shell.queryRecycleBin(u"E:\\", size, items), kEFail);
    EXPECT_EQ(shell.queryRecycleBin(u"Q:\\", size, items), kEFail);
    EXPECT_EQ(size, 300) << "a failed query leaves its outputs";

    EXPECT_EQ(shell.emptyRecycleBin(u"D:\\", 7), kSOk);
    ASSERT_EQ(shell.queryRecycleBin(u"D:\\", size, items), kSOk);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(items, 0);
}

TEST_F(FakeShellServicesTest, ClearingRecentDocumentsDeletesTheShortcutsOnly)
{
    const std::u16string recent = box.recentFolder();
    ASSERT_TRUE(box.makeFile(recent + u"\\one.lnk", 10));
    ASSERT_TRUE(box.makeFolder(recent + u"\\sub"));
    ASSERT_TRUE(box.makeFile(recent + u"\\sub\\deep.lnk", 10));
    shell.clearRecentDocuments();
    EXPECT_FALSE(box.exists(recent + u"\\one.lnk"));
    EXPECT_TRUE(box.exists(recent + u"\\sub\\deep.lnk"));
    EXPECT_EQ(shell.recentDocumentClears(), 1);
    EXPECT_EQ(fakeFileSystem().openFindHandles(), 0u);
}

}  // namespace
}  // namespace s::platform

// The shell, Internet-cache, URL-history and environment services against the
// build's backend: the in-memory fakes natively, the real ones under Wine
// (entries made by the test in the prefix's cache, its own files and
// variables). What only the fakes model is in FakeShellServicesTest.cpp.
#include "platform/Environment.h"
#include "platform/ShellItems.h"
#include "platform/UrlCache.h"
#include "platform/UrlHistory.h"

#include "tests/support/Sandbox.h"
#include "tests/support/ShellSandbox.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace s::platform {
namespace {

using testing::narrow;
using testing::Sandbox;
using testing::ShellSandbox;

// An 8-byte aligned record buffer.
class Record {
public:
    explicit Record(std::uint32_t bytes) { resize(bytes); }
    void resize(std::uint32_t bytes)
    {
        m_words.assign((bytes + 7) / 8, 0);
        m_bytes = bytes;
    }
    void* data() { return m_words.data(); }
    std::uint32_t size() const { return m_bytes; }

private:
    std::vector<std::uint64_t> m_words;
    std::uint32_t m_bytes = 0;
};

struct Seen {
    std::uint32_t type = 0;
    std::uint64_t size = 0;
};

class UrlCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        ASSERT_TRUE(cacheBox.ok()) << cacheBox.failure();
        ASSERT_TRUE(cache.available());
    }

    // Every entry of a walk with FindFirst/NextUrlCacheEntryW, in order. With
    // `probe` each call is first made with a 16-byte buffer, which must fail
    // with the record's size and leave the enumeration where it is.
    std::vector<std::pair<std::u16string, Seen>> walk(bool probe)
    {
        std::vector<std::pair<std::u16string, Seen>> entries;
        Record record(64 * 1024);
        UrlCacheFind find;
        auto call = [&](bool first) {
            if (probe) {
                std::uint32_t small = 16;
                Record tiny(small);
                const Win32Error error = first ? cache.findFirst(nullptr, tiny.data(), small, find)
                                               : cache.findNext(find, tiny.data(), small);
                if (error == kErrorNoMoreItems)
                    return error;
                EXPECT_EQ(error, kErrorInsufficientBuffer);
                EXPECT_GT(small, 16u);
                if (first) {
                    EXPECT_FALSE(find.isOpen()) << "no enumeration without a first record";
                }
                if (small > record.size())
                    record.resize(small);
            }
            std::uint32_t size = record.size();
            return first ? cache.findFirst(nullptr, record.data(), size, find)
                         : cache.findNext(find, record.data(), size);
        };
        Win32Error error = call(true);
        while (error == kErrorSuccess) {
            const UrlCacheEntry entry = cache.entry(record.data());
            entries.emplace_back(std::u16string(entry.sourceUrl), Seen{entry.type, entry.size});
            error = call(false);
        }
        EXPECT_EQ(error, kErrorNoMoreItems);
        return entries;
    }

    std::map<std::u16string, Seen> ours(const std::vector<std::pair<std::u16string, Seen>>& entries)
    {
        std::map<std::u16string, Seen> out;
        for (const auto& [url, seen] : entries) {
            if (cacheBox.ours(url))
                out[url] = seen;
        }
        return out;
    }

    Sandbox box;
    ShellSandbox cacheBox;
    IUrlCache& cache = urlCache();
};

TEST_F(UrlCacheTest, AWalkListsEveryTypeWithItsSize)
{
    struct Case {
        std::u16string url;
        std::uint32_t type;
        std::uint32_t size;
    };
    const Case cases[] = {
        {cacheBox.normalUrl(u"page.htm"), kNormalCacheEntry, 100},
        {cacheBox.cookieUrl(u"site"), kCookieCacheEntry, 33},
        {cacheBox.historyUrl(u"visited.htm"), kUrlHistoryCacheEntry, 7},
    };
    for (const Case& c : cases)
        ASSERT_TRUE(cacheBox.addEntry(c.url, c.type, c.size)) << narrow(c.url);

    const auto seen = ours(walk(false));
    ASSERT_EQ(seen.size(), std::size(cases));
    for (const Case& c : cases) {
        const auto found = seen.find(c.url);
        ASSERT_NE(found, seen.end()) << narrow(c.url);
        EXPECT_EQ(found->second.size, c.size) << narrow(c.url);
        EXPECT_EQ(found->second.type & (kCookieCacheEntry | kUrlHistoryCacheEntry),
                  c.type & (kCookieCacheEntry | kUrlHistoryCacheEntry))
            << narrow(c.url);
    }
}

TEST_F(UrlCacheTest, ABufferTooSmallGetsTheRecordSizeAndTheSameEntryAgain)
{
    for (const char16_t* name : {u"a.htm", u"b.htm", u"c.htm"})
        ASSERT_TRUE(cacheBox.addEntry(cacheBox.normalUrl(name), kNormalCacheEntry, 10));
    const auto plain = walk(false);
    const auto probed = walk(true);
    ASSERT_EQ(probed.size(), plain.size());
    for (std::size_t k = 0; k < plain.size(); ++k)
        EXPECT_EQ(narrow(probed[k].first), narrow(plain[k].first)) << "entry " << k;
    EXPECT_EQ(ours(probed).size(), 3u);
}

TEST_F(UrlCacheTest, DeletingDuringAWalkSkipsNothing)
{
    std::vector<std::u16string> urls;
    for (const char16_t* name : {u"1.htm", u"2.htm", u"3.htm", u"4.htm"}) {
        urls.push_back(cacheBox.normalUrl(name));
        ASSERT_TRUE(cacheBox.addEntry(urls.back(), kNormalCacheEntry, 1));
    }
    Record record(64 * 1024);
    UrlCacheFind find;
    std::uint32_t size = record.size();
    int visited = 0;
    for (Win32Error error = cache.findFirst(nullptr, record.data(), size, find); error == kErrorSuccess;
         size = record.size(), error = cache.findNext(find, record.data(), size)) {
        const std::u16string url(cache.entry(record.data()).sourceUrl);
        if (!cacheBox.ours(url))
            continue;
        ++visited;
        EXPECT_EQ(cache.deleteEntry(url.c_str()), kErrorSuccess) << narrow(url);
    }
    EXPECT_EQ(visited, 4);
    for (const std::u16string& url : urls)
        EXPECT_FALSE(cacheBox.hasEntry(url)) << narrow(url);
}

TEST_F(UrlCacheTest, DeleteTakesOnlyTheNamedEntry)
{
    const std::u16string gone = cacheBox.normalUrl(u"gone.htm");
    const std::u16string kept = cacheBox.normalUrl(u"kept.htm");
    ASSERT_TRUE(cacheBox.addEntry(gone, kNormalCacheEntry, 5));
    ASSERT_TRUE(cacheBox.addEntry(kept, kNormalCacheEntry, 5));
    EXPECT_EQ(cache.deleteEntry(gone.c_str()), kErrorSuccess);
    EXPECT_FALSE(cacheBox.hasEntry(gone));
    EXPECT_TRUE(cacheBox.hasEntry(kept));
    EXPECT_EQ(cache.deleteEntry(gone.c_str()), kErrorFileNotFound);
}

TEST_F(UrlCacheTest, TheExWalkListsEveryTypeThroughTheFilter)
{
    const std::u16string urls[] = {cacheBox.normalUrl(u"x.htm"), cacheBox.cookieUrl(u"x"),
                                   cacheBox.historyUrl(u"x.htm")};
    ASSERT_TRUE(cacheBox.addEntry(urls[0], kNormalCacheEntry, 1));
    ASSERT_TRUE(cacheBox.addEntry(urls[1], kCookieCacheEntry, 1));
    ASSERT_TRUE(cacheBox.addEntry(urls[2], kUrlHistoryCacheEntry, 1));
    if (!cacheBox.exEnumerationWorks())
        GTEST_SKIP() << "Wine 8: FindFirstUrlCacheEntryExW is a stub that fails with ERROR_FILE_NOT_FOUND";
    Record record(64 * 1024);
    UrlCacheFind find;
    std::uint32_t size = record.size();
    std::vector<std::u16string> seen;
    Win32Error error = cache.findFirstEx(nullptr, 0, kAllCacheEntries, 0, record.data(), size, find);
    for (; error == kErrorSuccess; size = record.size(), error = cache.findNextEx(find, record.data(), size)) {
        const std::u16string url(cache.entry(record.data()).sourceUrl);
        if (cacheBox.ours(url))
            seen.push_back(url);
    }
    EXPECT_EQ(error, kErrorNoMoreItems);
    for (const std::u16string& url : urls)
        EXPECT_NE(std::find(seen.begin(), seen.end(), url), seen.end()) << narrow(url);
}

class ShellItemsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << box.failure(); }

    ShellSandbox box;
    IShellItems& shell = shellItems();
};

TEST_F(ShellItemsTest, SpecialFoldersAreRootedPathsWithoutTrailingBackslash)
{
    for (int csidl : {kCsidlRecent, kCsidlInternetCache, kCsidlHistory, kCsidlAppData, kCsidlLocalAppData,
                      kCsidlCommonAppData, kCsidlWindows, kCsidlSystem, kCsidlProgramFiles}) {
        std::u16string path;
        ASSERT_TRUE(hrSucceeded(shell.specialFolderPath(csidl, path))) << "CSIDL " << csidl;
        ASSERT_GT(path.size(), 3u) << "CSIDL " << csidl;
        EXPECT_EQ(path[1], u':') << narrow(path);
        EXPECT_EQ(path[2], u'\\') << narrow(path);
        EXPECT_NE(path.back(), u'\\') << narrow(path);
    }
}

// The known folders without a CSIDL, which the rule files name: LocalLow
// beside the roaming and local application data, Public a profile of its own.
TEST_F(ShellItemsTest, KnownFoldersLieWhereTheProfileSays)
{
    std::u16string profile;
    ASSERT_TRUE(hrSucceeded(shell.specialFolderPath(kCsidlProfile, profile)));
    std::u16string localLow;
    ASSERT_TRUE(hrSucceeded(shell.knownFolderPath(KnownFolder::LocalAppDataLow, localLow)));
    EXPECT_EQ(narrow(localLow), narrow(profile) + "\\AppData\\LocalLow");
    std::u16string publicFolder;
    ASSERT_TRUE(hrSucceeded(shell.knownFolderPath(KnownFolder::Public, publicFolder)));
    ASSERT_GT(publicFolder.size(), 3u);
    EXPECT_EQ(publicFolder[1], u':') << narrow(publicFolder);
    EXPECT_NE(publicFolder.back(), u'\\') << narrow(publicFolder);
    EXPECT_NE(narrow(publicFolder), narrow(profile));
    std::u16string downloads;
    std::u16string known;
    ASSERT_TRUE(hrSucceeded(shell.downloadsFolderPath(downloads)));
    ASSERT_TRUE(hrSucceeded(shell.knownFolderPath(KnownFolder::Downloads, known)));
    EXPECT_EQ(narrow(known), narrow(downloads));
}

TEST_F(ShellItemsTest, TheRecycleBinHasNoPathButOpens)
{
    std::u16string path = u"untouched";
    EXPECT_FALSE(hrSucceeded(shell.specialFolderPath(kCsidlBitBucket, path)));
    EXPECT_EQ(narrow(path), "untouched");

    std::uint32_t process = 0;
    EXPECT_TRUE(hrSucceeded(shell.openSpecialFolder(kCsidlBitBucket, &process)));
    ShellSandbox::endProcess(process);
}

TEST_F(ShellItemsTest, TheSystemDrivesRecycleBinCanBeQueried)
{
    std::int64_t size = -1;
    std::int64_t items = -1;
    ASSERT_TRUE(hrSucceeded(shell.queryRecycleBin(u"C:\\", size, items)));
    EXPECT_GE(size, 0);
    EXPECT_GE(items, 0);
}

class EnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << box.failure();
        ASSERT_TRUE(box.setProfile(kProfile));
    }

    static constexpr std::u16string_view kProfile = u"C:\\Users\\Oxle Tester";
    ShellSandbox box;
};

TEST_F(EnvironmentTest, ExpandsKnownNamesInAnyCaseAndKeepsTheRest)
{
    struct Case {
        std::u16string_view text;
        std::u16string expected;
    };
    const std::u16string profile(kProfile);
    const Case cases[] = {
        {u"%userprofile%", profile},
        {u"%USERPROFILE%\\Local Settings", profile + u"\\Local Settings"},
        {u"[%UserProfile%]", u"[" + profile + u"]"},
        {u"plain text", u"plain text"},
        {u"%OxlePurgoNoSuchVariable%", u"%OxlePurgoNoSuchVariable%"},
        {u"100%", u"100%"},
    };
    for (const Case& c : cases) {
        std::u16string out;
        ASSERT_EQ(environment().expand(c.text, 600, out), kErrorSuccess) << narrow(c.text);
        EXPECT_EQ(narrow(out), narrow(c.expected)) << narrow(c.text);
    }
}

TEST_F(EnvironmentTest, AResultThatDoesNotFitLeavesTheOutputAlone)
{
    const auto fits = static_cast<std::uint32_t>(kProfile.size() + 1);
    std::u16string out;
    ASSERT_EQ(environment().expand(u"%userprofile%", fits, out), kErrorSuccess);
    EXPECT_EQ(narrow(out), narrow(kProfile));

    out = u"untouched";
    EXPECT_EQ(environment().expand(u"%userprofile%", fits - 1, out), kErrorInsufficientBuffer);
    EXPECT_EQ(narrow(out), "untouched");
}

TEST(UrlHistoryTest, TheHistoryObjectIsMadeAndAskedToClear)
{
    ShellSandbox box;
    ASSERT_TRUE(box.ok()) << box.failure();
    bool created = false;
    const HResult result = urlHistory().clearHistory(&created);
    EXPECT_TRUE(created) << "CoCreateInstance of the URL history object";
    if (!hrSucceeded(result) && ShellSandbox::underWine() && result == kENotImpl)
        GTEST_SKIP() << "Wine 8: IUrlHistoryStg2::ClearHistory is not implemented (E_NOTIMPL)";
    EXPECT_TRUE(hrSucceeded(result)) << std::hex << result;
}

}  // namespace
}  // namespace s::platform

// What only the in-memory file system models: Windows' own pattern quirks,
// links that Windows removes, read-only folders, MAX_PATH, path
// normalisation, injected faults and the records tests inspect. The cases
// that hold on both backends are in FileSystemTest.cpp.
#include "platform/fake/FakeFileSystem.h"
#include "platform/FindPattern.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace s::platform {
namespace {

using testing::narrow;

TEST(FindPattern, FollowsWindowsDosWildcardRules)
{
    struct Row {
        const char16_t* mask;
        const char16_t* name;
        bool matches;
    };
    const Row rows[] = {
        {u"*", u"anything.at.all", true},
        {u"*", u"", true},
        {u"*.*", u"noext", true},  // also names without a dot
        {u"*.*", u".hidden", true},
        {u"*.", u"noext", true},  // only names without a dot
        {u"*.", u"file.txt", false},
        {u"a?", u"a", true},  // '?' matches nothing at the end of the name
        {u"a?", u"ab", true},
        {u"a?", u"abc", false},
        {u"a?.txt", u"a.txt", true},  // ... and nothing before a dot
        {u"a?.txt", u"ab.txt", true},
        {u"a?c", u"a.c", false},  // but not the dot itself
        {u"x.?", u"x", true},
        {u"x.?", u"x.y", true},
        {u"x.?", u"x.yz", false},
        {u"*.txt", u"a.b.txt", true},
        {u"*.txt", u"abc.txt.bak", false},  // no short names in the fake
        {u"*.txt", u"b.txtx", false},
        {u"abc.", u"abc", true},
        {u"ABC*", u"abcdef", true},
        {u"a*b*c", u"aXbYbZc", true},
        {u"a*b*c", u"aXbYbZ", false},
        {u"*abc*", u"xxabxabcx", true},
        {u"\u00c9*", u"\u00e9t\u00e9", false},  // case folds A-Z only
        {u"<.log", u"app.old.log", true},       // typed DOS_STAR
        {u"", u"a", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(findPatternMatches(row.mask, row.name), row.matches)
            << "mask \"" << narrow(row.mask) << "\" name \"" << narrow(row.name) << "\"";
}

class FakeFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { fake.clear(); }
    void TearDown() override
    {
        EXPECT_EQ(fake.openFindHandles(), 0u) << "leaked enumerations";
        fake.clear();
    }

    std::set<std::u16string> names(const char16_t* pattern)
    {
        std::set<std::u16string> out;
        FindHandle handle;
        FindData data;
        if (fake.findFirst(pattern, handle, data) == kErrorSuccess) {
            do
                out.insert(data.name);
            while (fake.findNext(handle, data) == kErrorSuccess);
        }
        return out;
    }

    FakeFileSystem& fake = fakeFileSystem();
};

TEST_F(FakeFileSystemTest, IsTheProcessFileSystem)
{
    EXPECT_EQ(&fileSystem(), static_cast<IFileSystem*>(&fake));
}

TEST_F(FakeFileSystemTest, WindowsLinksGoWithoutTheirTargets)
{
    ASSERT_TRUE(fake.addFile(u"C:\\data\\keep.txt", 7));
    ASSERT_TRUE(fake.addFile(u"C:\\data\\real.txt", 9));
    ASSERT_TRUE(fake.addFolderLink(u"C:\\work\\junction", u"C:\\data", LinkRemoval::RemovesLink));
    ASSERT_TRUE(fake.addFileLink(u"C:\\work\\file-link", u"C:\\data\\real.txt"));

    EXPECT_EQ(fake.attributes(u"C:\\work\\file-link"), kFileAttributeReparsePoint | kFileAttributeArchive);
    FileAttributeData data;
    ASSERT_EQ(fake.attributeData(u"C:\\work\\junction\\keep.txt", data), kErrorSuccess) << "reached through";
    EXPECT_EQ(data.size, 7u);

    EXPECT_EQ(fake.deleteFile(u"C:\\work\\file-link"), kErrorSuccess);
    EXPECT_EQ(fake.removeDirectory(u"C:\\work\\junction"), kErrorSuccess);
    EXPECT_TRUE(fake.contains(u"C:\\data\\real.txt"));
    EXPECT_TRUE(fake.contains(u"C:\\data\\keep.txt"));
    EXPECT_EQ(names(u"C:\\work\\*"), (std::set<std::u16string>{u".", u".."}));

    ASSERT_TRUE(fake.addFolderLink(u"C:\\work\\dangling", u"C:\\gone", LinkRemoval::RemovesLink));
    EXPECT_EQ(fake.attributes(u"C:\\work\\dangling\\x"), kInvalidFileAttributes);
    EXPECT_FALSE(fake.addFile(u"C:\\work\\dangling\\x", 1)) << "seeding does not replace a dangling link";
}

TEST_F(FakeFileSystemTest, ReadOnlyFolderCannotBeRemoved)
{
    ASSERT_TRUE(fake.addFolder(u"C:\\ro", kFileAttributeReadOnly));
    EXPECT_EQ(fake.removeDirectory(u"C:\\ro"), kErrorAccessDenied);
    ASSERT_EQ(fake.setAttributes(u"C:\\ro", 0), kErrorSuccess);
    EXPECT_EQ(fake.removeDirectory(u"C:\\ro"), kErrorSuccess);
    EXPECT_EQ(fake.removeDirectory(u"C:\\"), kErrorAccessDenied) << "a root never goes";
}

TEST_F(FakeFileSystemTest, PlainPathsStopAtMaxPathAndTheLongFormDoesNot)
{
    std::u16string folder = u"C:\\deep";
    while (folder.size() < 270)
        folder += u"\\0123456789";
    ASSERT_TRUE(fake.addFile(folder + u"\\f.txt", 3));
    Win32Error error = 0;
    EXPECT_EQ(fake.attributes((folder + u"\\f.txt").c_str(), &error), kInvalidFileAttributes);
    EXPECT_EQ(error, kErrorFilenameExcedRange);
    EXPECT_FALSE(fake.exists((folder + u"\\f.txt").c_str())) << "the existence test of a plain long path";
    EXPECT_EQ(fake.deleteFile((folder + u"\\f.txt").c_str()), kErrorFilenameExcedRange);
    const std::u16string longForm = u"\\\\?\\" + folder + u"\\f.txt";
    EXPECT_TRUE(fake.exists(longForm.c_str()));
    EXPECT_EQ(fake.deleteFile(longForm.c_str()), kErrorSuccess);

    const std::u16string exactly259 = u"C:\\" + std::u16string(256, u'n');
    ASSERT_TRUE(fake.addFile(exactly259, 1));
    EXPECT_TRUE(fake.exists(exactly259.c_str())) << "259 characters and the zero fit";
}

TEST_F(FakeFileSystemTest, PlainPathsAreNormalisedAsWin32DoesAndVerbatimOnesAreNot)
{
    ASSERT_TRUE(fake.addFile(u"C:\\Dir\\Sub\\File.txt", 11));
    ASSERT_TRUE(fake.setCurrentDirectory(u"C:\\Dir"));
    struct Row {
        const char16_t* path;
        bool found;
    };
    const Row rows[] = {
        {u"C:\\Dir\\Sub\\File.txt", true},
        {u"c:/dir/sub/file.TXT", true},
        {u"C:\\Dir\\.\\Other\\..\\Sub\\\\File.txt", true},
        {u"C:\\Dir\\Sub\\File.txt. . ", true},  // trailing dots and spaces
        {u"Sub\\File.txt", true},               // relative to C:\Dir
        {u"C:Sub\\File.txt", true},             // relative on drive C:
        {u"\\Dir\\Sub\\File.txt", true},        // rooted on the current drive
        {u"D:\\Dir\\Sub\\File.txt", false},
        {u"\\\\?\\C:\\Dir\\Sub\\File.txt", true},
        {u"\\\\?\\c:\\dir\\sub\\file.txt", true},
        {u"\\\\?\\C:/Dir/Sub/File.txt", false},  // no "/" in verbatim paths
        {u"\\\\?\\C:\\Dir\\.\\Sub\\File.txt", false},
        {u"\\\\?\\C:\\Dir\\Sub\\File.txt.", false},
        {u"C:\\Dir\\Sub\\Fi*.txt", false},  // a wildcard is no name
        {u"\\\\.\\C:\\Dir\\Sub\\File.txt", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(fake.exists(row.path), row.found) << narrow(row.path);

    ASSERT_TRUE(fake.addFile(u"\\\\server\\share\\docs\\a.doc", 5));
    EXPECT_TRUE(fake.exists(u"\\\\SERVER\\Share\\docs\\a.doc"));
    EXPECT_TRUE(fake.exists(u"\\\\?\\UNC\\server\\share\\docs\\a.doc"));
    for (const char16_t* broken : {u"\\\\", u"\\\\server", u"\\\\server\\", u"\\\\server\\\\docs", u"\\\\\\share"})
        EXPECT_EQ(fake.attributes(broken), kInvalidFileAttributes) << narrow(broken);
    EXPECT_EQ(names(u"\\\\server\\share\\*"), (std::set<std::u16string>{u"docs"})) << "no dots in a root";
}

TEST_F(FakeFileSystemTest, InjectedFaultsGiveTheirErrors)
{
    ASSERT_TRUE(fake.addFile(u"C:\\f\\in-use.ro", 1, kFileAttributeReadOnly));
    ASSERT_TRUE(fake.addFile(u"C:\\f\\denied.txt", 1));
    ASSERT_TRUE(fake.addFile(u"C:\\secret\\x.txt", 1));
    ASSERT_TRUE(fake.setFault(u"C:\\f\\in-use.ro", FileFault::InUse));
    ASSERT_TRUE(fake.setFault(u"C:\\f\\denied.txt", FileFault::AccessDenied));
    ASSERT_TRUE(fake.setFault(u"C:\\secret", FileFault::ListDenied));
    EXPECT_FALSE(fake.setFault(u"C:\\f\\missing", FileFault::InUse));

    EXPECT_EQ(fake.deleteFile(u"C:\\f\\in-use.ro"), kErrorSharingViolation) << "the open fails before read-only";
    EXPECT_EQ(fake.setAttributes(u"C:\\f\\in-use.ro", 0), kErrorSuccess) << "attributes change while open";
    EXPECT_EQ(fake.deleteFile(u"C:\\f\\denied.txt"), kErrorAccessDenied);
    EXPECT_EQ(fake.setAttributes(u"C:\\f\\denied.txt", 0), kErrorAccessDenied);
    EXPECT_NE(fake.attributes(u"C:\\f\\denied.txt"), kInvalidFileAttributes) << "still readable";
    FindHandle handle;
    FindData data;
    EXPECT_EQ(fake.findFirst(u"C:\\secret\\*", handle, data), kErrorAccessDenied);
    EXPECT_TRUE(fake.exists(u"C:\\secret\\x.txt"));

    ASSERT_TRUE(fake.addFolder(u"C:\\cwd-like"));
    ASSERT_TRUE(fake.setFault(u"C:\\cwd-like", FileFault::InUse));
    EXPECT_EQ(fake.removeDirectory(u"C:\\cwd-like"), kErrorSharingViolation);
}

TEST_F(FakeFileSystemTest, RecordsTheRebootListAndShellNotifications)
{
    EXPECT_EQ(fake.deleteAtReboot(u"\\\\?\\C:\\Temp\\a.tmp"), kErrorSuccess);
    EXPECT_EQ(fake.deleteAtReboot(u"C:/Temp/missing.tmp"), kErrorSuccess) << "need not exist";
    fake.failDeleteAtReboot(kErrorAccessDenied);
    EXPECT_EQ(fake.deleteAtReboot(u"C:\\Temp\\b.tmp"), kErrorAccessDenied);
    fake.failDeleteAtReboot(kErrorSuccess);
    EXPECT_EQ(fake.scheduledAtReboot(), (std::vector<std::u16string>{u"C:\\Temp\\a.tmp", u"C:\\Temp\\missing.tmp"}));

    fake.notifyChange(kShellEventRmdir, u"C:\\Temp\\gone");
    const auto seen = fake.notifications();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, kShellEventRmdir);
    EXPECT_EQ(seen[0].path, u"C:\\Temp\\gone");
}

TEST_F(FakeFileSystemTest, CountsOpenEnumerations)
{
    ASSERT_TRUE(fake.addFile(u"C:\\e\\a", 1));
    FindData data;
    {
        FindHandle first;
        ASSERT_EQ(fake.findFirst(u"C:\\e\\*", first, data), kErrorSuccess);
        FindHandle second;
        ASSERT_EQ(fake.findFirst(u"C:\\e\\a", second, data), kErrorSuccess);
        EXPECT_EQ(fake.openFindHandles(), 2u);
        second = std::move(first);
        EXPECT_EQ(fake.openFindHandles(), 1u) << "assignment closes what it replaces";
        EXPECT_EQ(fake.findFirst(u"C:\\nowhere\\*", second, data), kErrorPathNotFound);
        EXPECT_EQ(fake.openFindHandles(), 0u) << "a failing findFirst closes its handle";
        ASSERT_EQ(fake.findFirst(u"C:\\e\\*", second, data), kErrorSuccess);
    }
    EXPECT_EQ(fake.openFindHandles(), 0u);
}

}  // namespace
}  // namespace s::platform

// The file-system service against the build's backend: the in-memory fake
// natively, Win32 on real temporary folders under Wine. Every case here holds
// for both; what only the fake models is in FakeFileSystemTest.cpp.
#include "platform/FileSystem.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace s::platform {
namespace {

using testing::narrow;
using testing::Sandbox;

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    // Every entry a pattern finds, by name; the end must be kErrorNoMoreFiles.
    std::map<std::u16string, FindData> list(const std::u16string& pattern, Win32Error* firstError = nullptr)
    {
        std::map<std::u16string, FindData> entries;
        FindHandle handle;
        FindData data;
        Win32Error error = fs.findFirst(pattern.c_str(), handle, data);
        if (firstError)
            *firstError = error;
        if (error)
            return entries;
        EXPECT_TRUE(handle.isOpen());
        do {
            entries[data.name] = data;
        } while ((error = fs.findNext(handle, data)) == kErrorSuccess);
        EXPECT_EQ(error, kErrorNoMoreFiles) << narrow(pattern);
        return entries;
    }

    Sandbox box;
    IFileSystem& fs = fileSystem();
};

TEST_F(FileSystemTest, EnumerationReportsNamesAttributesAndSixtyFourBitSizes)
{
    constexpr std::uint64_t kBeyondFourGiB = (std::uint64_t{5} << 30) + 7;  // sparse under Wine
    struct Entry {
        const char16_t* name;
        std::uint64_t size;        // ~0: a folder
        std::uint32_t attributes;  // set on creation
    };
    const Entry entries[] = {
        {u"empty.txt", 0, 0},
        {u"one.bin", 1, 0},
        {u"page.htm", 70000, 0},
        {u"huge.dat", kBeyondFourGiB, 0},
        {u"secret.sys", 12, kFileAttributeHidden | kFileAttributeSystem},
        {u"locked.cfg", 3, kFileAttributeReadOnly},
        {u"Sub Folder", ~std::uint64_t{0}, 0},
    };
    for (const Entry& e : entries) {
        const bool made =
            e.size == ~std::uint64_t{0} ? box.makeFolder(e.name) : box.makeFile(e.name, e.size, e.attributes);
        ASSERT_TRUE(made) << narrow(e.name);
    }

    const auto found = list(box.path(u"*"));
    ASSERT_EQ(found.size(), std::size(entries) + 2) << "the entries plus . and ..";
    for (const char16_t* dots : {u".", u".."}) {
        ASSERT_TRUE(found.count(dots)) << narrow(dots);
        EXPECT_TRUE(found.at(dots).attributes & kFileAttributeDirectory);
    }
    for (const Entry& e : entries) {
        SCOPED_TRACE(narrow(e.name));
        ASSERT_TRUE(found.count(e.name));
        const FindData& data = found.at(e.name);
        const bool folder = e.size == ~std::uint64_t{0};
        EXPECT_EQ((data.attributes & kFileAttributeDirectory) != 0, folder);
        EXPECT_EQ(data.attributes & kFileAttributeReparsePoint, 0u);
        EXPECT_EQ(data.attributes & e.attributes, e.attributes);
        EXPECT_EQ(data.size, folder ? 0 : e.size);

        // The single-path queries agree with the enumeration.
        const std::u16string path = box.path(e.name);
        FileAttributeData single;
        ASSERT_EQ(fs.attributeData(path.c_str(), single), kErrorSuccess);
        EXPECT_EQ(single.attributes, data.attributes);
        EXPECT_EQ(single.size, data.size);
        Win32Error error = 99;
        EXPECT_EQ(fs.attributes(path.c_str(), &error), data.attributes);
        EXPECT_EQ(error, kErrorSuccess);
        EXPECT_TRUE(fs.exists(path.c_str()));
    }
}

TEST_F(FileSystemTest, FindHandleMovesAndClosesItself)
{
    ASSERT_TRUE(box.makeFile(u"a.txt", 1));
    ASSERT_TRUE(box.makeFile(u"b.txt", 2));
    const std::u16string pattern = box.path(u"*.txt");
    FindHandle first;
    FindData data;
    ASSERT_EQ(fs.findFirst(pattern.c_str(), first, data), kErrorSuccess);
    const std::u16string firstName = data.name;

    FindHandle moved(std::move(first));
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(fs.findNext(first, data), kErrorInvalidHandle);
    ASSERT_EQ(fs.findNext(moved, data), kErrorSuccess);
    EXPECT_NE(data.name, firstName);
    EXPECT_EQ(fs.findNext(moved, data), kErrorNoMoreFiles);
    moved.close();
    EXPECT_FALSE(moved.isOpen());
    EXPECT_EQ(fs.findNext(moved, data), kErrorInvalidHandle);
}

// Only rows on which Windows (without 8.3 names), Wine and the fake agree:
// every name is a valid 8.3 name, so no short name can match in its stead,
// and no '?' stands where Windows' DOS_QM would match nothing.
TEST_F(FileSystemTest, PatternsMatchStarsAndQuestionMarksIgnoringCase)
{
    const char16_t* names[] = {u"abc", u"abc.txt", u"a", u"ab", u"x.y", u"abd.log", u"B.TXT"};
    for (const char16_t* name : names)
        ASSERT_TRUE(box.makeFile(name, 1)) << narrow(name);
    struct Row {
        const char16_t* mask;
        std::set<std::u16string> expected;
    };
    const Row rows[] = {
        {u"*", {u".", u"..", u"abc", u"abc.txt", u"a", u"ab", u"x.y", u"abd.log", u"B.TXT"}},
        {u"*.*", {u".", u"..", u"abc", u"abc.txt", u"a", u"ab", u"x.y", u"abd.log", u"B.TXT"}},
        {u"*.txt", {u"abc.txt", u"B.TXT"}},
        {u"A*", {u"a", u"ab", u"abc", u"abc.txt", u"abd.log"}},
        {u"a?c", {u"abc"}},
        {u"?b*", {u"ab", u"abc", u"abc.txt", u"abd.log"}},
        {u"x.?", {u"x.y"}},
        {u"*c", {u"abc"}},
        {u"abc.*", {u"abc", u"abc.txt"}},
        {u"ABC", {u"abc"}},
        {u"*.LOG", {u"abd.log"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.mask));
        std::set<std::u16string> got;
        for (const auto& [name, data] : list(box.path(row.mask)))
            got.insert(name);
        EXPECT_EQ(got, row.expected);
    }
}

TEST_F(FileSystemTest, FailuresReturnTheWin32Error)
{
    ASSERT_TRUE(box.makeFile(u"file.txt", 4));
    ASSERT_TRUE(box.makeFolder(u"dir"));
    struct Row {
        const char* what;
        std::u16string path;
        Win32Error attributesError;  // GetFileAttributesW
    };
    const Row missing[] = {
        {"missing file", box.path(u"nothing.txt"), kErrorFileNotFound},
        {"missing parent", box.path(u"nowhere\\nothing.txt"), kErrorPathNotFound},
        {"through a file", box.path(u"file.txt\\inner"), kErrorPathNotFound},
    };
    for (const Row& row : missing) {
        SCOPED_TRACE(row.what);
        Win32Error error = 0;
        EXPECT_EQ(fs.attributes(row.path.c_str(), &error), kInvalidFileAttributes) << "all bits set";
        EXPECT_EQ(error, row.attributesError);
        FileAttributeData data{123, 456};
        EXPECT_EQ(fs.attributeData(row.path.c_str(), data), row.attributesError);
        EXPECT_EQ(data.attributes, 123u) << "untouched";
        EXPECT_FALSE(fs.exists(row.path.c_str()));
        EXPECT_EQ(fs.deleteFile(row.path.c_str()), row.attributesError);
        EXPECT_EQ(fs.setAttributes(row.path.c_str(), 0), row.attributesError);
    }

    struct FindRow {
        const char* what;
        std::u16string pattern;
        Win32Error error;
    };
    const FindRow finds[] = {
        {"missing folder", box.path(u"nowhere\\*"), kErrorPathNotFound},
        {"no match", box.path(u"*.none"), kErrorFileNotFound},
        {"empty mask", box.path(u"dir\\"), kErrorFileNotFound},
        {"wildcard in the folder part", box.path(u"d*\\*"), kErrorInvalidName},
    };
    for (const FindRow& row : finds) {
        SCOPED_TRACE(row.what);
        FindHandle handle;
        FindData data;
        data.name = u"untouched";
        EXPECT_EQ(fs.findFirst(row.pattern.c_str(), handle, data), row.error);
        EXPECT_FALSE(handle.isOpen());
        EXPECT_EQ(data.name, u"untouched");
    }

    EXPECT_EQ(fs.deleteFile(box.path(u"dir").c_str()), kErrorAccessDenied) << "DeleteFileW on a folder";
    EXPECT_EQ(fs.removeDirectory(box.path(u"file.txt").c_str()), kErrorDirectory) << "RemoveDirectoryW on a file";
    EXPECT_EQ(fs.removeDirectory(box.path(u"nodir").c_str()), kErrorFileNotFound);
    EXPECT_EQ(fs.deleteFile(nullptr), kErrorInvalidParameter);
    EXPECT_TRUE(box.entryExists(u"dir"));
    EXPECT_TRUE(box.entryExists(u"file.txt"));
}

TEST_F(FileSystemTest, ReadOnlyFileIsDeletedOnlyAfterClearingTheAttribute)
{
    ASSERT_TRUE(box.makeFile(u"ro.txt", 10, kFileAttributeReadOnly | kFileAttributeHidden));
    const std::u16string path = box.path(u"ro.txt");

    EXPECT_EQ(fs.deleteFile(path.c_str()), kErrorAccessDenied);
    EXPECT_TRUE(box.entryExists(u"ro.txt"));

    const std::uint32_t before = fs.attributes(path.c_str());
    ASSERT_NE(before, kInvalidFileAttributes);
    ASSERT_TRUE(before & kFileAttributeReadOnly);
    ASSERT_EQ(fs.setAttributes(path.c_str(), before & ~kFileAttributeReadOnly), kErrorSuccess);
    const std::uint32_t after = fs.attributes(path.c_str());
    EXPECT_EQ(after & kFileAttributeReadOnly, 0u);
    EXPECT_TRUE(after & kFileAttributeHidden) << "other bits stay";

    EXPECT_EQ(fs.deleteFile(path.c_str()), kErrorSuccess);
    EXPECT_FALSE(box.entryExists(u"ro.txt"));
    EXPECT_EQ(fs.deleteFile(path.c_str()), kErrorFileNotFound);
    fs.notifyChange(kShellEventDelete, path.c_str());  // returns although nobody listens
}

TEST_F(FileSystemTest, SetAttributesChangesOnlyTheSettableBits)
{
    ASSERT_TRUE(box.makeFile(u"f", 1));
    ASSERT_TRUE(box.makeFolder(u"d"));
    const std::u16string file = box.path(u"f");
    const std::u16string folder = box.path(u"d");
    const std::uint32_t wanted = kFileAttributeHidden | kFileAttributeSystem | kFileAttributeReadOnly;

    ASSERT_EQ(fs.setAttributes(file.c_str(), wanted | kFileAttributeDirectory), kErrorSuccess);
    std::uint32_t now = fs.attributes(file.c_str());
    EXPECT_EQ(now & wanted, wanted);
    EXPECT_EQ(now & kFileAttributeDirectory, 0u) << "a file does not become a folder";

    ASSERT_EQ(fs.setAttributes(file.c_str(), kFileAttributeNormal), kErrorSuccess);
    now = fs.attributes(file.c_str());
    EXPECT_EQ(now & wanted, 0u) << "NORMAL clears them all";

    ASSERT_EQ(fs.setAttributes(folder.c_str(), kFileAttributeHidden), kErrorSuccess);
    now = fs.attributes(folder.c_str());
    EXPECT_TRUE(now & kFileAttributeDirectory) << "a folder stays a folder";
    EXPECT_TRUE(now & kFileAttributeHidden);
}

TEST_F(FileSystemTest, FolderIsRemovedOnlyWhenEmpty)
{
    ASSERT_TRUE(box.makeFolder(u"outer"));
    ASSERT_TRUE(box.makeFolder(u"outer\\inner"));
    ASSERT_TRUE(box.makeFile(u"outer\\inner\\x.tmp", 5));
    const std::u16string outer = box.path(u"outer");
    const std::u16string inner = box.path(u"outer\\inner");

    EXPECT_EQ(fs.removeDirectory(outer.c_str()), kErrorDirNotEmpty);
    EXPECT_EQ(fs.removeDirectory(inner.c_str()), kErrorDirNotEmpty);
    ASSERT_EQ(fs.deleteFile(box.path(u"outer\\inner\\x.tmp").c_str()), kErrorSuccess);
    EXPECT_EQ(fs.removeDirectory(outer.c_str()), kErrorDirNotEmpty);
    EXPECT_EQ(fs.removeDirectory(inner.c_str()), kErrorSuccess);
    EXPECT_EQ(fs.removeDirectory(outer.c_str()), kErrorSuccess);
    EXPECT_FALSE(box.entryExists(u"outer"));
}

TEST_F(FileSystemTest, FileInUseCannotBeDeletedButIsScheduledForTheNextBoot)
{
    ASSERT_TRUE(box.makeFolder(u"busy"));
    ASSERT_TRUE(box.makeFile(u"busy\\open.log", 100));
    const std::u16string file = box.path(u"busy\\open.log");
    const std::u16string folder = box.path(u"busy");
    {
        auto held = box.holdOpen(u"busy\\open.log");
        ASSERT_TRUE(held);
        EXPECT_EQ(fs.deleteFile(file.c_str()), kErrorSharingViolation);
        EXPECT_TRUE(box.entryExists(u"busy\\open.log"));
        EXPECT_EQ(fs.removeDirectory(folder.c_str()), kErrorDirNotEmpty);

        // The file plainly, its folder in the long form: both land in the
        // boot-time list as full paths, children before their folder.
        EXPECT_EQ(fs.deleteAtReboot(file.c_str()), kErrorSuccess);
        const std::u16string longFolder = u"\\\\?\\" + folder;
        EXPECT_EQ(fs.deleteAtReboot(longFolder.c_str()), kErrorSuccess);
        const std::vector<std::u16string> scheduled = box.scheduledAtReboot();
        const auto fileAt = std::find(scheduled.begin(), scheduled.end(), file);
        const auto folderAt = std::find(scheduled.begin(), scheduled.end(), folder);
        ASSERT_NE(fileAt, scheduled.end()) << narrow(file);
        ASSERT_NE(folderAt, scheduled.end()) << narrow(folder);
        EXPECT_LT(fileAt, folderAt);
        EXPECT_TRUE(box.entryExists(u"busy\\open.log")) << "scheduling deletes nothing now";
    }
    EXPECT_EQ(fs.deleteFile(file.c_str()), kErrorSuccess) << "closed again";
}

TEST_F(FileSystemTest, LongFormReachesPathsBeyondMaxPath)
{
    std::u16string relative;
    while (box.path(relative).size() < 300)
        relative += relative.empty() ? u"level-of-a-deep-tree" : u"\\level-of-a-deep-tree";
    std::u16string step;
    for (std::size_t at = 0; at != std::u16string::npos;) {
        const std::size_t next = relative.find(u'\\', at + 1);
        step = relative.substr(0, next);
        ASSERT_TRUE(box.makeFolder(step)) << step.size();
        at = next;
    }
    ASSERT_TRUE(box.makeFile(relative + u"\\deep.txt", 42));
    const std::u16string longForm = u"\\\\?\\" + box.path(relative);
    ASSERT_GE(longForm.size(), 300u);

    FileAttributeData data;
    ASSERT_EQ(fs.attributeData((longForm + u"\\deep.txt").c_str(), data), kErrorSuccess);
    EXPECT_EQ(data.size, 42u);
    const auto found = list(longForm + u"\\*");
    ASSERT_TRUE(found.count(u"deep.txt"));
    EXPECT_EQ(found.at(u"deep.txt").size, 42u);
    EXPECT_EQ(fs.deleteFile((longForm + u"\\deep.txt").c_str()), kErrorSuccess);
    EXPECT_EQ(fs.removeDirectory(longForm.c_str()), kErrorSuccess);
    EXPECT_FALSE(box.entryExists(relative));
}

TEST_F(FileSystemTest, FolderLinkIsReportedAndItsTargetSurvivesRemoval)
{
    const testing::LinkFixture links = box.linkFixture();
    const auto inParent = list(links.parent + u"\\*");
    ASSERT_TRUE(inParent.count(u"link")) << "the link fixture was not made: " << narrow(links.link);
    const std::uint32_t both = kFileAttributeReparsePoint | kFileAttributeDirectory;
    EXPECT_EQ(inParent.at(u"link").attributes & both, both);
    EXPECT_EQ(inParent.at(u"link").size, 0u);
    EXPECT_EQ(fs.attributes(links.link.c_str()) & both, both);
    EXPECT_EQ(inParent.at(u"target").attributes & kFileAttributeReparsePoint, 0u);

    // A pattern whose folder part is the link lists the target's entries.
    EXPECT_TRUE(list(links.link + u"\\*").count(u"keep.txt"));

    EXPECT_EQ(fs.deleteFile(links.link.c_str()), kErrorAccessDenied);
    const Win32Error removed = fs.removeDirectory(links.link.c_str());
    // Windows removes a junction or directory link itself; Wine refuses a
    // Unix link. Either way nothing behind it may go.
    if (removed == kErrorSuccess)
        EXPECT_FALSE(fs.exists(links.link.c_str()));
    else
        EXPECT_EQ(removed, kErrorDirNotEmpty);
    EXPECT_TRUE(fs.exists(links.keptFile.c_str()));
    EXPECT_TRUE(fs.exists(links.target.c_str()));
}

}  // namespace
}  // namespace s::platform

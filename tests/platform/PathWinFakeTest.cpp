// The path object in what only the in-memory file system can show: Windows'
// MAX_PATH limit on plain paths (Wine has none), file links and junctions as
// Windows treats them, access faults, a boot-time list that refuses, the
// shell notifications, and enumerations left open.
#include "platform/PathWin.h"

#include "platform/fake/FakeFileSystem.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace s::file::win {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
namespace p = s::platform;

class PathWinFakeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << box.failure(); }
    void TearDown() override { EXPECT_EQ(fs.openFindHandles(), 0u) << "an enumeration was left open"; }

    bool scheduled(const std::u16string& path) const
    {
        const auto list = fs.scheduledAtReboot();
        return std::find(list.begin(), list.end(), path) != list.end();
    }

    Sandbox box;
    p::FakeFileSystem& fs = p::fakeFileSystem();
};

TEST_F(PathWinFakeTest, LongPathIsNotReportedGoneWhileThePlainTextFails)
{
    std::u16string deep = box.path(u"deep");
    while (deep.size() < 300)
        deep += u"\\level";
    ASSERT_TRUE(fs.addFile(deep + u"\\f.txt", 9));
    // The plain text is what a naive existence test would ask about.
    ASSERT_FALSE(fs.exists(deep.c_str())) << "Windows without long-path awareness: MAX_PATH";

    auto folder = PathWin::make(deep);
    EXPECT_TRUE(folder->exists());
    EXPECT_TRUE(folder->deletePath(NotifyShell::No, AtReboot::Schedule));
    EXPECT_FALSE(fs.contains(deep));
    EXPECT_TRUE(fs.scheduledAtReboot().empty());
}

TEST_F(PathWinFakeTest, PathThatCannotBeSplitIsNeverReportedDeleted)
{
    const std::u16string folder = box.path(std::u16string(800, u'n'));
    ASSERT_TRUE(fs.addFile(folder + u"\\f.txt", 1));
    auto path = PathWin::make(folder);
    ASSERT_FALSE(path->isValid());
    EXPECT_FALSE(path->deletePath(NotifyShell::No, AtReboot::Schedule)) << "it is there: not gone";
    EXPECT_TRUE(fs.contains(folder + u"\\f.txt"));
}

TEST_F(PathWinFakeTest, JunctionIsRemovedAsItselfButNeverListed)
{
    ASSERT_TRUE(fs.addFile(box.path(u"target\\keep.txt"), 4));
    ASSERT_TRUE(fs.addFile(box.path(u"holder\\plain.txt"), 4));
    ASSERT_TRUE(fs.addFolderLink(box.path(u"holder\\junction"), box.path(u"target"), p::LinkRemoval::RemovesLink));

    // Inside a folder it is not listed, so the folder cannot go and waits for
    // the next boot.
    auto holder = PathWin::make(box.path(u"holder"));
    EXPECT_FALSE(holder->deletePath(NotifyShell::No, AtReboot::Schedule));
    EXPECT_FALSE(fs.contains(box.path(u"holder\\plain.txt")));
    EXPECT_TRUE(fs.contains(box.path(u"holder\\junction")));
    EXPECT_TRUE(scheduled(box.path(u"holder")));

    // As a target of its own it goes as a link: RemoveDirectoryW removes the
    // junction and leaves what it points to.
    auto junction = PathWin::make(box.path(u"holder\\junction"));
    EXPECT_TRUE(junction->deletePath(NotifyShell::No, AtReboot::Schedule));
    EXPECT_FALSE(fs.contains(box.path(u"holder\\junction")));
    EXPECT_TRUE(fs.contains(box.path(u"target\\keep.txt")));
}

TEST_F(PathWinFakeTest, FileLinkCountsAsAFileButIsNeverListed)
{
    ASSERT_TRUE(fs.addFile(box.path(u"target.txt"), 40));
    ASSERT_TRUE(fs.addFile(box.path(u"folder\\plain.txt"), 7));
    ASSERT_TRUE(fs.addFileLink(box.path(u"folder\\link.txt"), box.path(u"target.txt")));
    auto folder = PathWin::make(box.path(u"folder"));

    std::int64_t files = 0;
    std::int64_t folders = 0;
    EXPECT_EQ(folder->measureFolder(Descend::No, TopFiles::Count, files, folders), 7) << "a link has no size";
    EXPECT_EQ(files, 2);
    PathListHandle listed = PathListHandle::take();
    EXPECT_EQ(folder->listFiles(*listed, HiddenAndSystem::Include, Recursion::TopLevel), 1);
    EXPECT_EQ(listed->get(0).fullPath(), box.path(u"folder\\plain.txt"));
    listed->clear();
    auto wildcard = PathWin::make(box.path(u"folder\\*.txt"));
    EXPECT_EQ(wildcard->expandWildcard(*listed, HiddenAndSystem::Include, InSubfolders::No), 1);

    EXPECT_FALSE(folder->deletePath(NotifyShell::No, AtReboot::Schedule));
    EXPECT_TRUE(fs.contains(box.path(u"folder\\link.txt")));
    EXPECT_TRUE(fs.contains(box.path(u"target.txt")));
}

TEST_F(PathWinFakeTest, ReadOnlyFolderIsClearedAndRemoved)
{
    ASSERT_TRUE(fs.addFolder(box.path(u"ro\\inner"), p::kFileAttributeReadOnly));
    ASSERT_TRUE(fs.addFile(box.path(u"ro\\inner\\f.txt"), 1, p::kFileAttributeReadOnly | p::kFileAttributeHidden));
    ASSERT_EQ(fs.setAttributes(box.path(u"ro").c_str(), p::kFileAttributeReadOnly | p::kFileAttributeSystem),
              p::kErrorSuccess);
    // Windows refuses RemoveDirectoryW on a read-only folder even when empty.
    ASSERT_TRUE(fs.addFolder(box.path(u"probe"), p::kFileAttributeReadOnly));
    ASSERT_EQ(fs.removeDirectory(box.path(u"probe").c_str()), p::kErrorAccessDenied);

    auto folder = PathWin::make(box.path(u"ro"));
    EXPECT_TRUE(folder->deletePath(NotifyShell::No, AtReboot::Schedule));
    EXPECT_FALSE(fs.contains(box.path(u"ro")));
}

TEST_F(PathWinFakeTest, FailuresAreScheduledWhenAskedAndReportedFalse)
{
    struct Row {
        const char* what;
        p::FileFault fault;
        const char16_t* faulty;  // relative; the target is "t"
        bool isFolder;
    };
    const Row rows[] = {
        {"file in use", p::FileFault::InUse, u"t", false},
        {"file whose ACL forbids deleting", p::FileFault::AccessDenied, u"t", false},
        {"folder that may not be listed", p::FileFault::ListDenied, u"t", true},
        {"folder in use", p::FileFault::InUse, u"t", true},
        {"child whose ACL forbids deleting", p::FileFault::AccessDenied, u"t\\child.txt", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.isFolder)
            ASSERT_TRUE(fs.addFile(box.path(u"t\\child.txt"), 1));
        else
            ASSERT_TRUE(fs.addFile(box.path(u"t"), 1));
        ASSERT_TRUE(fs.setFault(box.path(row.faulty), row.fault));
        fs.forgetScheduled();

        auto target = PathWin::make(box.path(u"t"));
        EXPECT_FALSE(target->deletePath(NotifyShell::No, AtReboot::Leave));
        EXPECT_TRUE(fs.scheduledAtReboot().empty());
        EXPECT_FALSE(target->deletePath(NotifyShell::No, AtReboot::Schedule));
        EXPECT_TRUE(scheduled(box.path(u"t")));
        EXPECT_TRUE(fs.contains(box.path(u"t")));

        // Without administrator rights the boot-time list refuses: still false.
        fs.forgetScheduled();
        fs.failDeleteAtReboot(p::kErrorAccessDenied);
        EXPECT_FALSE(target->deletePath(NotifyShell::No, AtReboot::Schedule));
        fs.failDeleteAtReboot(p::kErrorSuccess);
        EXPECT_TRUE(fs.scheduledAtReboot().empty());

        ASSERT_TRUE(fs.removeTree(box.path(u"t")));
    }
}

TEST_F(PathWinFakeTest, ShellIsToldOnlyAboutTheTargetAndOnlyWhenAsked)
{
    const auto count = [&] {
        return fs.notifications().size();
    };
    ASSERT_TRUE(fs.addFile(box.path(u"f.txt"), 1));
    ASSERT_TRUE(fs.addFile(box.path(u"tree\\a\\b.txt"), 1));
    ASSERT_TRUE(fs.addFile(box.path(u"quiet.txt"), 1));

    const std::size_t before = count();
    EXPECT_TRUE(PathWin::make(box.path(u"quiet.txt"))->deletePath(NotifyShell::No, AtReboot::Leave));
    EXPECT_EQ(count(), before);

    EXPECT_TRUE(PathWin::make(box.path(u"f.txt"))->deletePath(NotifyShell::Yes, AtReboot::Leave));
    EXPECT_TRUE(PathWin::make(box.path(u"tree/"))->deletePath(NotifyShell::Yes, AtReboot::Leave));
    const auto all = fs.notifications();
    ASSERT_EQ(all.size(), before + 2) << "children are not announced one by one";
    EXPECT_EQ(all[before].event, p::kShellEventDelete);
    EXPECT_EQ(all[before].path, box.path(u"f.txt"));
    EXPECT_EQ(all[before + 1].event, p::kShellEventRmdir);
    EXPECT_EQ(all[before + 1].path, box.path(u"tree"));
}

}  // namespace
}  // namespace s::file::win

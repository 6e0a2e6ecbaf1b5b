// Names that Win32 rewrites in a plain path - DOS device names (con, nul.txt,
// aux.log, ...), trailing dots and spaces, a dotted folder on the way, a path
// beyond MAX_PATH - measured, listed and deleted by the path object as what
// they are. One table (tests/support/Sandbox.cpp, rewrittenNames) against the
// build's backend: natively the fake, which rewrites plain paths as Win32
// does; under Wine real files that the Linux side made before the run
// (cmake/WineNamesFixture.cmake).
#include "platform/PathWin.h"

#include "platform/FileSystem.h"
#include "platform/ProtectedPlaces.h"
#include "platform/SystemInfo.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace s::file::win {
namespace {

using s::platform::testing::FixtureEntry;
using s::platform::testing::narrow;
using s::platform::testing::rewrittenNames;
using s::platform::testing::Sandbox;
namespace p = s::platform;

class RewrittenNames : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    // The set's folder; the test stops when it is missing.
    std::u16string fixture(const char16_t* set)
    {
        const std::u16string folder = box.namesFixture(set, rewrittenNames());
        EXPECT_FALSE(folder.empty()) << "the names fixture \"" << narrow(set)
                                     << "\" is missing or used up (under Wine the CTest fixture wine_names makes it)";
        return folder;
    }

    static std::u16string at(const std::u16string& folder, const FixtureEntry& entry)
    {
        return folder + u"\\" + entry.relative;
    }

    Sandbox box;
};

TEST_F(RewrittenNames, APlainPathMissesThemWhileTheDiskHasThem)
{
    // What the fault looks like on this backend: the listing shows each name
    // with its size, and the plain path of the same name reaches another
    // entry (or a device), so that a plain measure gives no size.
    const std::u16string folder = fixture(u"measure");
    ASSERT_FALSE(folder.empty());
    const char16_t* rewritten[] = {u"con",      u"nul.txt", u"aux.log",  u"prn",           u"com1",
                                   u"com9.txt", u"lpt1",    u"lpt9.log", u"trailing-dot.", u"trailing-space "};
    for (const char16_t* name : rewritten) {
        SCOPED_TRACE(narrow(name));
        EXPECT_TRUE(Sandbox::listed(folder + u"\\" + name));
        p::FileAttributeData data;
        const std::u16string plain = folder + u"\\" + name;
        EXPECT_NE(p::fileSystem().attributeData(plain.c_str(), data), p::kErrorSuccess) << "the plain path found it";
    }
    p::FileAttributeData data;
    const std::u16string inDotted = folder + u"\\dotdir.\\inner.txt";
    EXPECT_NE(p::fileSystem().attributeData(inDotted.c_str(), data), p::kErrorSuccess)
        << "the dot of the folder on the way was kept";
}

TEST_F(RewrittenNames, EachIsMeasuredWithItsRealSize)
{
    const std::u16string folder = fixture(u"measure");
    ASSERT_FALSE(folder.empty());
    std::int64_t bytes = 0;
    std::int64_t fileCount = 0;
    std::int64_t folderCount = 0;
    std::set<std::u16string> expected;
    std::set<std::u16string> expectedTxt;
    for (const FixtureEntry& entry : rewrittenNames()) {
        SCOPED_TRACE(narrow(entry.relative));
        const std::u16string text = at(folder, entry);
        auto path = PathWin::make(text);
        EXPECT_TRUE(path->exists());
        EXPECT_EQ(path->isDirectory(), entry.folder);
        EXPECT_EQ(path->fileSize(), static_cast<std::int64_t>(entry.size()));
        expected.insert(text);
        if (entry.folder) {
            ++folderCount;
        } else {
            ++fileCount;
            bytes += static_cast<std::int64_t>(entry.size());
            if (text.size() > 4 && text.substr(text.size() - 4) == u".txt")
                expectedTxt.insert(text);
        }
    }

    auto top = PathWin::make(folder);
    std::int64_t files = 0;
    std::int64_t folders = 0;
    EXPECT_EQ(top->measureFolder(Descend::Yes, TopFiles::Count, files, folders), bytes);
    EXPECT_EQ(files, fileCount);
    EXPECT_EQ(folders, folderCount);

    PathListHandle children = PathListHandle::take();
    top->listChildren(*children, HiddenAndSystem::Include, Recursion::AllLevels);
    std::set<std::u16string> listed;
    for (int k = 0; k < children->count(); ++k) {
        listed.insert(children->get(k).fullPath().toU16String());
        // A listed entry answers for itself, as the clean asks it.
        EXPECT_TRUE(children->get(k).exists()) << narrow(children->get(k).fullPath().view());
    }
    EXPECT_EQ(listed, expected);

    PathListHandle matches = PathListHandle::take();
    auto pattern = PathWin::make(folder + u"\\*.txt");
    pattern->expandWildcard(*matches, HiddenAndSystem::Include, InSubfolders::Yes);
    std::set<std::u16string> matched;
    for (int k = 0; k < matches->count(); ++k)
        matched.insert(matches->get(k).fullPath().toU16String());
    EXPECT_EQ(matched, expectedTxt);
}

TEST_F(RewrittenNames, EachIsDeletedByItself)
{
    const std::u16string folder = fixture(u"delete");
    ASSERT_FALSE(folder.empty());
    // Files first, then the folders from the deepest up, each empty by then.
    std::vector<FixtureEntry> order;
    std::vector<FixtureEntry> folders;
    for (const FixtureEntry& entry : rewrittenNames())
        (entry.folder ? folders : order).push_back(entry);
    std::sort(folders.begin(), folders.end(),
              [](const FixtureEntry& a, const FixtureEntry& b) { return a.relative.size() > b.relative.size(); });
    order.insert(order.end(), folders.begin(), folders.end());
    for (const FixtureEntry& entry : order) {
        SCOPED_TRACE(narrow(entry.relative));
        auto path = PathWin::make(at(folder, entry));
        EXPECT_TRUE(path->deletePath(NotifyShell::No, AtReboot::Leave));
        EXPECT_FALSE(Sandbox::listed(at(folder, entry))) << "still there";
    }
    EXPECT_TRUE(Sandbox::listedNames(folder).empty());
}

TEST_F(RewrittenNames, AFolderHoldingThemIsRemovedWhole)
{
    const std::u16string folder = fixture(u"tree");
    ASSERT_FALSE(folder.empty());
    auto path = PathWin::make(folder);
    EXPECT_TRUE(path->deletePath(NotifyShell::No, AtReboot::Leave));
    EXPECT_FALSE(Sandbox::listed(folder));
}

TEST_F(RewrittenNames, WhatIsHeldIsLeftForTheNextBootUnderItsOwnName)
{
    const std::u16string folder = fixture(u"reboot");
    ASSERT_FALSE(folder.empty());
    const std::u16string dotted = folder + u"\\trailing-dot.";
    const std::u16string device = folder + u"\\con";
    auto holdDotted = box.holdOpenPath(u"\\\\?\\" + dotted);
    auto holdDevice = box.holdOpenPath(u"\\\\?\\" + device);
    ASSERT_TRUE(holdDotted && holdDevice);
    for (const std::u16string& text : {dotted, device}) {
        SCOPED_TRACE(narrow(text));
        EXPECT_FALSE(PathWin::make(text)->deletePath(NotifyShell::No, AtReboot::Schedule));
        EXPECT_TRUE(Sandbox::listed(text));
        const std::vector<std::u16string> scheduled = box.scheduledAtReboot();
        // Plain, the boot-time list would hold "trailing-dot" (another file)
        // or the console device.
        EXPECT_NE(std::find(scheduled.begin(), scheduled.end(), text), scheduled.end());
    }
}

TEST(RewrittenProtectedNames, AProtectedPlaceWrittenWithATrailingDotOrSpaceIsRefused)
{
    // To the user "C:\Windows." is the Windows folder, whatever the "\\?\"
    // form of that text would reach: it is refused like the folder itself.
    const std::u16string windows = p::systemFacts().windowsFolder;
    ASSERT_FALSE(windows.empty());
    for (const std::u16string& text : {windows + u".", windows + u" ", windows + u". .", windows + u"\\",
                                       windows + u"\\System32.", windows + u" \\System32", windows + u".\\Fonts "}) {
        SCOPED_TRACE(narrow(text));
        auto path = PathWin::make(text);
        EXPECT_TRUE(ProtectedPlaces::contains(text));
        EXPECT_TRUE(path->isProtectedPlace());
        // Under Wine a failure here would find nothing of that name and
        // report it gone; the refusal says false.
        EXPECT_FALSE(path->deletePath(NotifyShell::No, AtReboot::Leave));
    }
}

}  // namespace
}  // namespace s::file::win

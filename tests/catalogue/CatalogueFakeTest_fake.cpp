// Catalogue cases that need a machine Wine cannot give a test: chosen drive
// types, unusual folders, a shell that knows no folder at all.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"

#include "platform/MachineFacts_fake.h"
#include "tests/catalogue/CatalogueMachine.h"
#include "tests/catalogue/CatalogueTestSupport.h"

#include <gtest/gtest.h>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using purgo::PlatformFolder;
using s::platform::ShellFolder;

namespace {

class CatalogueFakeTest : public ::testing::Test {
protected:
    void SetUp() override { setUpMachine(); }
    void TearDown() override { setUpMachine(); }
};

TEST_F(CatalogueFakeTest, RecycleBinPerFixedDrive)
{
    auto& facts = s::platform::fakeMachineFacts();
    facts.addDrive(u"D:\\", s::platform::kDriveFixed);
    facts.addDrive(u"E:\\", s::platform::kDriveRemovable);
    facts.addDrive(u"F:\\", 5);  // a CD-ROM drive
    const Handlers& h = testHandlers();
    BuiltTree tree(englishLocalizer());
    const TimeRecord* group = tree.group(u"RecycleBin");
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->childCount(), 2u);
    const char* ids[] = {"C", "D"};
    const char* titles[] = {"C:\\ (Files in Recycle Bin)", "D:\\ (Files in Recycle Bin)"};
    for (std::size_t i = 0; i < 2; ++i) {
        const TimeRecord& target = *group->child(i);
        SCOPED_TRACE(ids[i]);
        EXPECT_EQ(utf8(target.id), ids[i]);
        EXPECT_EQ(utf8(target.title), titles[i]);
        EXPECT_EQ(utf8(target.description), titles[i]);
        EXPECT_EQ(target.handlerData, static_cast<intptr_t>(ids[i][0]));
        EXPECT_EQ(target.countHandler, h.set.recycleBinCount);
        EXPECT_EQ(target.cleanHandler, h.set.recycleBinEmpty);
        EXPECT_EQ(target.existsHandler, h.set.alwaysExists);
        EXPECT_EQ(target.lookUpHandler, h.set.recycleBinLookUp);
        EXPECT_EQ(utf8(target.iconSpec), "C:\\Windows\\system32\\shell32.dll,31");
    }
}

// More drives than the 256-character buffer holds: Windows refuses the call,
// and the group stays empty rather than listing a cut list.
TEST_F(CatalogueFakeTest, RecycleBinWithTooManyDrivesForTheBuffer)
{
    auto& facts = s::platform::fakeMachineFacts();
    facts.clear();
    for (int i = 0; i < 70; ++i)
        facts.addDrive(u"C:\\", s::platform::kDriveFixed);
    BuiltTree tree(englishLocalizer());
    EXPECT_EQ(tree.group(u"RecycleBin")->childCount(), 0u);
}

TEST_F(CatalogueFakeTest, PlatformFoldersWithoutTrailingBackslash)
{
    auto& facts = s::platform::fakeMachineFacts();
    facts.setTempPath(u"C:\\Users\\ann\\AppData\\Local\\Temp\\");
    facts.setShellFolder(ShellFolder::ProgramFiles, u"D:\\");
    purgo::forgetPlatformFolders();
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Temp)), "C:\\Users\\ann\\AppData\\Local\\Temp");
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::ProgramFiles)), "D:\\");  // a root keeps its backslash
    EXPECT_EQ(utf8(purgo::ownModulePath()), "C:\\Purgo\\purgo.exe");

    // Resolved once: a change of the machine shows only after forgetting.
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Windows)), "C:\\Windows");
    facts.setShellFolder(ShellFolder::Windows, u"C:\\Other");
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Windows)), "C:\\Windows");
    purgo::forgetPlatformFolders();
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Windows)), "C:\\Other");
}

// A shell that resolves nothing: paths begin with their relative part and
// the tree is still complete.
TEST_F(CatalogueFakeTest, UnresolvedFoldersGiveRelativePaths)
{
    s::platform::fakeMachineFacts().clear();
    purgo::forgetPlatformFolders();
    BuiltTree tree(englishLocalizer());
    EXPECT_EQ(tree.groups.size(), static_cast<std::size_t>(purgo::kBuiltinGroupCount));
    const TimeRecord* update = tree.group(u"WindowsUpdateTemporaryFolder");
    ASSERT_EQ(update->childCount(), 1u);
    EXPECT_EQ(utf8(update->child(0)->target), "\\SoftwareDistribution\\Download");
    EXPECT_EQ(utf8(tree.group(u"SystemTemporaryFolder")->child(0)->target), "");
    EXPECT_EQ(utf8(tree.group(u"_7ZipHistory")->iconSpec), ",7");
    EXPECT_EQ(tree.group(u"RecycleBin")->childCount(), 0u);
}

}  // namespace

// Catalogue cases that need a machine Wine cannot give a test: chosen drive
// types, unusual folders, a shell that knows no folder at all.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"

#include "catalogue/CookieSites.h"
#include "catalogue/SpecialHandlers.h"
#include "engine/Clean.h"
#include "engine/Scan.h"
#include "engine/TargetSafety.h"
#include "platform/RegFunctions.h"
#include "platform/Win32Codes.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachineFacts.h"
#include "platform/fake/FakeShellItems.h"
#include "platform/fake/FakeSystemInfo.h"
#include "platform/fake/FakeUrlCache.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/support/CatalogueMachine.h"

#include <gtest/gtest.h>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using purgo::PlatformFolder;

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
        EXPECT_EQ(target.countHandler, &purgo::recycleBinCount);
        EXPECT_EQ(target.cleanHandler, &purgo::recycleBinEmpty);
        EXPECT_EQ(target.existsHandler, &purgo::alwaysExists);
        EXPECT_EQ(target.lookUpHandler, &purgo::recycleBinLookUp);
        EXPECT_EQ(utf8(target.iconSpec), "C:\\Windows\\system32\\shell32.dll,31");
    }
}

// Cookie sites arrive in cache order and are listed by name; ids replace the
// characters that cannot stand in a settings key.
TEST_F(CatalogueFakeTest, CookieSitesSortedWithTheirIds)
{
    auto& cache = s::platform::fakeUrlCache();
    const struct {
        const char16_t* site;
        std::uint64_t bytes;
    } walk[] = {{u"b.com", 30}, {u"A.com", 20}, {u"x@y/z", 5}, {u"a", 10}};
    for (const auto& entry : walk)
        cache.addEntry(entry.site, s::platform::kCookieCacheEntry, entry.bytes);
    cache.addEntry(u"http://example.com/page", 0, 99);  // not a cookie

    BuiltTree tree(englishLocalizer());
    const TimeRecord* group = tree.group(u"IEInternetCookies");
    ASSERT_NE(group, nullptr);
    const std::vector<std::string> ids = {"a", "A.com", "b.com", "x_y_z"};
    const std::vector<std::string> names = {"a", "A.com", "b.com", "x@y/z"};
    ASSERT_EQ(group->childCount(), ids.size());
    ASSERT_EQ(purgo::cookieSiteTargets().size(), ids.size());
    EXPECT_FALSE(purgo::cookieCleanDone());
    for (std::size_t k = 0; k < ids.size(); ++k) {
        const TimeRecord& target = *group->child(k);
        SCOPED_TRACE(k);
        EXPECT_EQ(utf8(target.id), ids[k]);
        EXPECT_EQ(utf8(target.title), names[k]);
        EXPECT_EQ(utf8(target.description), names[k]);
        EXPECT_EQ(target.handlerData, static_cast<intptr_t>(k));
        EXPECT_EQ(purgo::cookieSiteTargets()[k], &target);
        EXPECT_TRUE(target.defaultChecked);
        EXPECT_EQ(target.countHandler, &purgo::cookieSiteCount);
        EXPECT_EQ(target.cleanHandler, &purgo::cookieClean);
        EXPECT_EQ(target.existsHandler, nullptr);
        EXPECT_EQ(target.lookUpHandler, nullptr);
    }
}

// Without the cache services the cookie group is empty.
TEST_F(CatalogueFakeTest, NoCacheServicesNoCookieSites)
{
    s::platform::fakeUrlCache().addEntry(u"Cookie:ann@a.com/", s::platform::kCookieCacheEntry, 10);
    s::platform::fakeUrlCache().setAvailable(false);
    BuiltTree tree(englishLocalizer());
    EXPECT_EQ(tree.group(u"IEInternetCookies")->childCount(), 0u);
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
    s::platform::fakeShellItems().setSpecialFolder(s::platform::kCsidlProgramFiles, u"D:\\");
    purgo::forgetPlatformFolders();
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Temp)), "C:\\Users\\ann\\AppData\\Local\\Temp");
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::ProgramFiles)), "D:\\");  // a root keeps its backslash
    EXPECT_EQ(utf8(purgo::ownModulePath()), "C:\\Purgo\\purgo.exe");

    // Resolved once: a change of the machine shows only after forgetting.
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Windows)), "C:\\Windows");
    s::platform::setSystemFolders(u"C:\\Other", u"C:\\Other\\system32");
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Windows)), "C:\\Windows");
    purgo::forgetPlatformFolders();
    EXPECT_EQ(utf8(purgo::platformFolder(PlatformFolder::Windows)), "C:\\Other");
}

// Windows installed in another folder: every path, icon and hotfix folder of
// the catalogue that lies in the Windows or system folder follows the
// system's answer, whatever the shell would say.
TEST_F(CatalogueFakeTest, WindowsElsewhereMovesEveryPathBelowIt)
{
    s::platform::setSystemFolders(u"D:\\WinNT", u"D:\\WinNT\\System32");
    purgo::forgetPlatformFolders();
    ASSERT_TRUE(s::platform::fakeFileSystem().addFolder(u"D:\\WinNT\\$NtUninstallKB123456$"));
    ASSERT_TRUE(s::platform::fakeFileSystem().addFolder(u"C:\\Windows\\$NtUninstallKB654321$"));
    for (const char16_t* kb : {u"KB123456", u"KB654321"}) {
        s::platform::RegKey key;
        const std::u16string path = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::u16string(kb);
        ASSERT_EQ(s::platform::regFunctions().createKey(s::platform::RootKey::LocalMachine, path.c_str(),
                                                        s::platform::kKeyAllAccess, key),
                  s::platform::kErrorSuccess);
    }
    BuiltTree tree(englishLocalizer());
    struct Row {
        const char16_t* group;
        const char16_t* target;  // nullptr: the group itself
        const char* text;        // its path, or its icon when `icon`
        bool icon;
    };
    const Row rows[] = {
        {u"WindowsUpdateTemporaryFolder", u"Download", "D:\\WinNT\\SoftwareDistribution\\Download", false},
        {u"WindowsMemoryDump", u"memory_dmp", "D:\\WinNT\\memory.dmp", false},
        {u"WindowsMemoryDump", nullptr, "D:\\WinNT\\System32\\shell32.dll,15", true},
        {u"PaintRecentFiles", nullptr, "D:\\WinNT\\System32\\mspaint.exe,0", true},
        {u"PaintRecentFiles", u"Recent_File_List", "D:\\WinNT\\regedit.exe,3", true},
        {u"WindowsUpdateHotFixUninstallers", u"_KB123456", "D:\\WinNT\\System32\\shell32.dll,4", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.group) + (row.target ? " / " + utf8(row.target) : std::string()));
        const TimeRecord* group = tree.group(row.group);
        ASSERT_NE(group, nullptr);
        const TimeRecord* node = group;
        if (row.target) {
            node = nullptr;
            for (std::size_t c = 0; c < group->childCount(); ++c)
                if (utf8(group->child(c)->id) == utf8(row.target))
                    node = group->child(c);
            ASSERT_NE(node, nullptr);
        }
        EXPECT_EQ(utf8(row.icon ? node->iconSpec : node->target), row.text);
    }

    // Only the hotfix in the system's Windows folder, measured there.
    const TimeRecord* hotfixes = tree.group(u"WindowsUpdateHotFixUninstallers");
    ASSERT_EQ(hotfixes->childCount(), 1u);
    Text target;
    int64_t size = -1;
    int64_t found = -1;
    hotfixes->child(0)->countHandler(target, size, found, hotfixes->child(0)->handlerData, 0);
    EXPECT_EQ(utf8(target), "D:\\WinNT\\$NtUninstallKB123456$");
    EXPECT_EQ(found, 1);
}

// A shell that resolves nothing: paths begin with their relative part and
// the tree is still complete.
TEST_F(CatalogueFakeTest, UnresolvedFoldersGiveRelativePaths)
{
    s::platform::fakeMachineFacts().clear();
    s::platform::setSystemFolders(u"", u"");
    for (int csidl : {s::platform::kCsidlProgramFiles, s::platform::kCsidlAppData, s::platform::kCsidlLocalAppData,
                      s::platform::kCsidlCommonAppData})
        s::platform::fakeShellItems().setSpecialFolder(csidl, u"");
    purgo::forgetPlatformFolders();
    BuiltTree tree(englishLocalizer());
    EXPECT_EQ(tree.groups.size(), static_cast<std::size_t>(purgo::kCatalogueGroupCount));
    const TimeRecord* update = tree.group(u"WindowsUpdateTemporaryFolder");
    ASSERT_EQ(update->childCount(), 1u);
    EXPECT_EQ(utf8(update->child(0)->target), "\\SoftwareDistribution\\Download");
    EXPECT_EQ(utf8(tree.group(u"SystemTemporaryFolder")->child(0)->target), "");
    EXPECT_EQ(utf8(tree.group(u"_7ZipHistory")->iconSpec), ",7");
    EXPECT_EQ(tree.group(u"RecycleBin")->childCount(), 0u);

    // Those paths would resolve against the current drive's root ("C:\Temp",
    // "C:\SoftwareDistribution\Download"): none is measured or cleaned.
    ASSERT_TRUE(s::platform::fakeFileSystem().addFile(u"C:\\SoftwareDistribution\\Download\\keep.txt", 4));
    int unresolved = 0;
    for (TimeRecord* group : tree.groups) {
        for (std::size_t c = 0; c < group->childCount(); ++c) {
            const TimeRecord& target = *group->child(c);
            if (target.kind == purgo::Type_File_Func || !utf8(target.target).starts_with("\\"))
                continue;
            ++unresolved;
            EXPECT_FALSE(purgo::mayReach(target)) << utf8(target.target);
        }
        group->checked = true;
        purgo::scan(*group, nullptr, purgo::Captions::Without);
        purgo::CleanContext context;
        purgo::clean(*group, context);
    }
    EXPECT_GT(unresolved, 100);
    EXPECT_TRUE(s::platform::fakeFileSystem().contains(u"C:\\SoftwareDistribution\\Download\\keep.txt"));
}

}  // namespace

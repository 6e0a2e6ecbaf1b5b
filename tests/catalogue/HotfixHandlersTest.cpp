// The hotfix uninstaller handlers and the folder exists handler on the
// sandbox: a folder standing in for the Windows folder and a key standing in
// for the Uninstall key, in-memory natively and real under Wine.
#include "catalogue/HotfixHandlers.h"
#include "catalogue/SpecialHandlers.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "platform/Win32Codes.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

class HotfixHandlersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        ASSERT_TRUE(box.makeKey(u"Uninstall"));
        places.windowsFolder = box.folder();
        places.uninstallKey = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\Uninstall";
    }

    // A hotfix folder with files at three levels: 3 files, 2 subfolders.
    void makeHotfix(std::u16string_view kb)
    {
        const std::u16string folder = u"$NtUninstall" + std::u16string(kb) + u"$";
        ASSERT_TRUE(box.makeFolder(folder));
        ASSERT_TRUE(box.makeFile(folder + u"\\spuninst.exe", 10));
        ASSERT_TRUE(box.makeFolder(folder + u"\\spuninst"));
        ASSERT_TRUE(box.makeFile(folder + u"\\spuninst\\spuninst.inf", 20));
        ASSERT_TRUE(box.makeFolder(folder + u"\\spuninst\\deep"));
        ASSERT_TRUE(box.makeFile(folder + u"\\spuninst\\deep\\update.dll", 30));
        ASSERT_TRUE(box.makeKey(u"Uninstall\\" + std::u16string(kb)));
        ASSERT_TRUE(box.makeKey(u"Uninstall\\" + std::u16string(kb) + u"\\Details"));
    }

    Sandbox box;
    HotfixPlaces places;
};

TEST_F(HotfixHandlersTest, TheCountMeasuresTheFolderWithItself)
{
    makeHotfix(u"KB123456");
    Text target;
    int64_t size = -1;
    int64_t found = -1;
    hotfixCount(places, u"KB123456", target, size, found);
    EXPECT_EQ(narrow(target.view()), narrow(box.path(u"$NtUninstallKB123456$")));
    EXPECT_EQ(size, 60);
    EXPECT_EQ(found, 3 + 2 + 1);

    hotfixCount(places, u"KB999999", target, size, found);
    EXPECT_EQ(narrow(target.view()), narrow(box.path(u"$NtUninstallKB999999$")));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(found, 0) << "a missing folder is nothing, not one item";
}

TEST_F(HotfixHandlersTest, TheCleanDeletesTheFolderAndTheUninstallEntryOnly)
{
    makeHotfix(u"KB123456");
    makeHotfix(u"KB654321");
    hotfixClean(places, u"KB123456");
    EXPECT_FALSE(box.entryExists(u"$NtUninstallKB123456$"));
    EXPECT_FALSE(box.keyExists(u"Uninstall\\KB123456"));
    EXPECT_TRUE(box.entryExists(u"$NtUninstallKB654321$\\spuninst\\deep\\update.dll"));
    EXPECT_TRUE(box.keyExists(u"Uninstall\\KB654321\\Details"));
    EXPECT_TRUE(box.keyExists(u"Uninstall"));
}

TEST_F(HotfixHandlersTest, AFileInUseIsLeftForTheNextBoot)
{
    makeHotfix(u"KB123456");
    const auto held = box.holdOpen(u"$NtUninstallKB123456$\\spuninst\\deep\\update.dll");
    ASSERT_TRUE(held);
    hotfixClean(places, u"KB123456");
    const auto scheduled = box.scheduledAtReboot();
    const std::u16string file = box.path(u"$NtUninstallKB123456$\\spuninst\\deep\\update.dll");
    const auto has = [&](const std::u16string& path) {
        return std::any_of(scheduled.begin(), scheduled.end(),
                           [&](const std::u16string& entry) { return Text(entry).equalsIgnoreCase(path); });
    };
    EXPECT_TRUE(has(file)) << narrow(file);
    EXPECT_TRUE(has(box.path(u"$NtUninstallKB123456$"))) << "the folder follows its last file";
    EXPECT_FALSE(box.entryExists(u"$NtUninstallKB123456$\\spuninst.exe"));
    EXPECT_FALSE(box.keyExists(u"Uninstall\\KB123456"));
}

TEST_F(HotfixHandlersTest, ATextThatIsNoKbNeverReachesAParent)
{
    makeHotfix(u"KB123456");
    ASSERT_TRUE(box.makeFolder(u"$NtUninstall$"));
    for (std::u16string_view kb : {u"", u".", u"..", u"KB1\\..", u"..\\KB123456", u"KB*", u"KB/1"}) {
        Text target(u"stale");
        int64_t size = -1;
        int64_t found = -1;
        hotfixCount(places, kb, target, size, found);
        EXPECT_EQ(narrow(target.view()), "") << narrow(kb);
        EXPECT_EQ(size, 0) << narrow(kb);
        EXPECT_EQ(found, 0) << narrow(kb);
        hotfixClean(places, kb);
        EXPECT_TRUE(box.keyExists(u"Uninstall\\KB123456")) << narrow(kb);
        EXPECT_TRUE(box.entryExists(u"$NtUninstall$")) << narrow(kb);
        EXPECT_TRUE(box.entryExists(u"$NtUninstallKB123456$\\spuninst.exe")) << narrow(kb);
    }
}

TEST_F(HotfixHandlersTest, TheGroupHoldsEachFolderWithAnUninstallEntry)
{
    makeHotfix(u"KB123456");
    makeHotfix(u"KB1");
    ASSERT_TRUE(box.makeFolder(u"$NtUninstallKB777777$"));  // no Uninstall entry
    ASSERT_TRUE(box.makeFolder(u"$NtUninstall$"));          // too short
    ASSERT_TRUE(box.makeKey(u"Uninstall\\KB888888"));
    ASSERT_TRUE(box.makeFile(u"$NtUninstallKB888888$", 5));  // not a folder
    const Text description(u"All Under Folder and Self ");
    TimeRecordHandle group(TimeRecord::makeGroup(u"WindowsUpdateHotFixUninstallers", u"", u""));
    addHotfixTargets(*group, description, places);

    ASSERT_EQ(group->childCount(), 2u);
    std::vector<std::string> ids;
    for (std::size_t k = 0; k < group->childCount(); ++k) {
        const TimeRecord* target = group->child(k);
        ids.push_back(narrow(target->id.view()));
        EXPECT_EQ("_" + narrow(target->title.view()), ids.back());
        EXPECT_EQ(narrow(target->description.view()), "All Under Folder and Self ");
        EXPECT_EQ(target->kind, Type_File_Func);
        EXPECT_EQ(target->countHandler, static_cast<TargetCountHandler>(&hotfixCount));
        EXPECT_EQ(target->cleanHandler, static_cast<TargetCleanHandler>(&hotfixClean));
        EXPECT_EQ(target->existsHandler, &folderExists);
        EXPECT_EQ(target->lookUpHandler, &folderLookUp);
        EXPECT_EQ(target->handlerData, hotfixKbData(target->title.view()));
        EXPECT_EQ(narrow(target->iconSpec.view()), narrow(s::platform::systemFacts().systemFolder) + "\\shell32.dll,4");
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"_KB1", "_KB123456"}));
}

// Windows Update leaves its uninstall folders hidden, some also marked as
// system folders.
TEST_F(HotfixHandlersTest, HiddenAndSystemFoldersAreHotfixesToo)
{
    struct Row {
        const char16_t* kb;
        std::uint32_t attributes;
    };
    const Row rows[] = {
        {u"KB100001", s::platform::kFileAttributeHidden},
        {u"KB100002", s::platform::kFileAttributeSystem},
        {u"KB100003", s::platform::kFileAttributeHidden | s::platform::kFileAttributeSystem},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.kb));
        makeHotfix(row.kb);
        const std::u16string folder = box.path(u"$NtUninstall" + std::u16string(row.kb) + u"$");
        auto& files = s::platform::fileSystem();
        ASSERT_EQ(files.setAttributes(folder.c_str(), row.attributes), s::platform::kErrorSuccess);
        ASSERT_EQ(files.attributes(folder.c_str()) & row.attributes, row.attributes);
    }
    TimeRecordHandle group(TimeRecord::makeGroup(u"WindowsUpdateHotFixUninstallers", u"", u""));
    addHotfixTargets(*group, Text(u"All Under Folder and Self "), places);
    std::vector<std::string> ids;
    for (std::size_t k = 0; k < group->childCount(); ++k)
        ids.push_back(narrow(group->child(k)->id.view()));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"_KB100001", "_KB100002", "_KB100003"}));
}

TEST_F(HotfixHandlersTest, TheEntryPointsUseTheWindowsFolder)
{
    const intptr_t data = hotfixKbData(u"KB0xlePurgoNone");
    EXPECT_EQ(hotfixKbData(u"KB0xlePurgoNone"), data);
    EXPECT_NE(hotfixKbData(u"KB0xlePurgoOther"), data);
    Text target;
    int64_t size = -1;
    int64_t found = -1;
    hotfixCount(target, size, found, data, 0);
    EXPECT_EQ(narrow(target.view()),
              narrow(s::platform::systemFacts().windowsFolder) + "\\$NtUninstallKB0xlePurgoNone$");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(size, 0);
    hotfixCount(target, size, found, 0, 0);
    EXPECT_EQ(narrow(target.view()), "");
}

TEST_F(HotfixHandlersTest, FolderExistsOnlyForAFullPathToAFolder)
{
    ASSERT_TRUE(box.makeFolder(u"dir"));
    ASSERT_TRUE(box.makeFile(u"file.txt", 3));
    struct Row {
        std::u16string text;
        bool exists;
    };
    const Row rows[] = {
        {box.folder(), true},
        {box.path(u"dir"), true},
        {box.path(u"dir") + u"\\", true},
        {box.path(u"file.txt"), false},
        {box.path(u"missing"), false},
        {u"dir", false},
        {u"", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(folderExists(Text(row.text)), row.exists) << narrow(row.text);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo

// What only the in-memory machine can be: every variable pointed at a folder
// of its own, a folder link among wildcard folders, the protected places, the
// OS version, and the rule files beside the program with the checked states
// of their groups.
#include "catalogue/Catalogue.h"
#include "catalogue/RuleGroups.h"

#include "engine/CheckedStates.h"
#include "engine/Clean.h"
#include "engine/Scan.h"
#include "platform/FileIo.h"
#include "platform/ProtectedPlaces.h"
#include "platform/RegFunctions.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachineFacts.h"
#include "platform/fake/FakeProgramFolder.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShellItems.h"
#include "platform/fake/FakeSystemInfo.h"
#include "settings/MappedData.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/support/CatalogueMachine.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

namespace p = s::platform;
using s::platform::testing::narrow;

class RuleGroupsFake : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalogue_test::setUpMachine();
        p::fakeEnvironment().clear();
        p::setProgramFolder(u"C:\\Purgo");
        s::file::ProtectedPlaces::forget();
    }

    void TearDown() override
    {
        clear();
        p::fakeShellItems().clear();
        p::resetSystemFolders();
        p::fakeEnvironment().clear();
        p::setProgramFolder(u"C:\\Program Files\\Oxle Purgo");
        s::file::ProtectedPlaces::forget();
    }

    void clear()
    {
        for (TimeRecord* group : groups)
            group->release();
        groups.clear();
    }

    void build(const std::string& text)
    {
        clear();
        s::file::ProtectedPlaces::forget();
        RuleGroupBuilder builder;
        builder.add(readRuleFile(text), groups);
        report = builder.report();
    }

    // "kind path [sub]" for each target of the only group.
    std::vector<std::string> targets() const
    {
        std::vector<std::string> out;
        if (groups.size() != 1)
            return out;
        for (std::size_t i = 0; i < groups[0]->childCount(); ++i) {
            const TimeRecord& t = *groups[0]->child(i);
            out.push_back(narrow(targetKindName(t.kind)) + " " + narrow(t.target.view()) +
                          (t.wildInSubfolders ? " sub" : "") + (t.removeEmptyFolders ? " removeEmpty" : ""));
        }
        return out;
    }

    std::string droppedReason() const { return report.dropped.empty() ? "" : narrow(report.dropped[0].text); }

    std::vector<TimeRecord*> groups;
    RulesReport report;
};

// The format's 22 variables and the (x86) forms: each asked of the shell's
// folders, the system's facts or the environment, whatever case it is
// written in.
TEST_F(RuleGroupsFake, EachVariableNamesItsPlatformFolder)
{
    auto& shell = p::fakeShellItems();
    shell.setSpecialFolder(p::kCsidlAppData, u"C:\\V\\Roaming");
    shell.setSpecialFolder(p::kCsidlLocalAppData, u"C:\\V\\Local\\");
    shell.setSpecialFolder(p::kFolderLocalAppDataLow, u"C:\\V\\LocalLow");
    shell.setSpecialFolder(p::kCsidlCommonAppData, u"C:\\V\\ProgramData");
    shell.setSpecialFolder(p::kCsidlProgramFiles, u"C:\\V\\PF");
    shell.setSpecialFolder(p::kCsidlProgramFilesX86, u"C:\\V\\PF86");
    shell.setSpecialFolder(p::kCsidlProgramFilesCommon, u"C:\\V\\PF\\Common");
    shell.setSpecialFolder(p::kCsidlProgramFilesCommonX86, u"C:\\V\\PF86\\Common");
    shell.setSpecialFolder(p::kCsidlProfile, u"E:\\V\\Home");
    shell.setSpecialFolder(p::kCsidlPersonal, u"E:\\V\\Home\\Docs");
    shell.setSpecialFolder(p::kCsidlMyMusic, u"E:\\V\\Home\\Music");
    shell.setSpecialFolder(p::kCsidlMyPictures, u"E:\\V\\Home\\Pictures");
    shell.setSpecialFolder(p::kCsidlMyVideo, u"E:\\V\\Home\\Videos");
    shell.setSpecialFolder(p::kFolderPublic, u"C:\\V\\Public");
    p::setSystemFolders(u"D:\\Win", u"D:\\Win\\system32");
    const std::u16string machineTemp = p::machineFacts().tempPath();
    const std::u16string machineUser = p::machineFacts().userName();
    p::fakeMachineFacts().setTempPath(u"E:\\V\\Temp\\");
    p::fakeMachineFacts().setUserName(u"account");
    // Where the shell has a folder, the process environment is not what
    // counts; it names the temporary folders, the user and the home drive.
    auto& environment = p::fakeEnvironment();
    environment.setVariable(u"APPDATA", u"C:\\Elsewhere");
    environment.setVariable(u"ProgramFiles", u"C:\\Elsewhere");
    environment.setVariable(u"TEMP", u"F:\\EnvTemp");
    environment.setVariable(u"TMP", u"F:\\EnvTmp\\");
    environment.setVariable(u"USERNAME", u"tester");
    environment.setVariable(u"HOMEDRIVE", u"H:");
    environment.setVariable(u"ALLUSERSPROFILE", u"C:\\V\\AllUsers");

    struct Case {
        const char* variable;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {"%AllUsersProfile%", {"C:\\V\\AllUsers"}},
        {"%AppData%", {"C:\\V\\Roaming"}},
        {"%CommonAppData%", {"C:\\V\\ProgramData"}},
        {"%CommonProgramFiles%", {"C:\\V\\PF\\Common", "C:\\V\\PF86\\Common"}},
        {"%CommonProgramFiles(x86)%", {"C:\\V\\PF86\\Common"}},
        {"%Documents%", {"E:\\V\\Home\\Docs"}},
        {"%HomeDrive%", {"H:"}},
        {"%localappdata%", {"C:\\V\\Local"}},
        {"%LocalLowAppData%", {"C:\\V\\LocalLow"}},
        {"%Music%", {"E:\\V\\Home\\Music"}},
        {"%Pictures%", {"E:\\V\\Home\\Pictures"}},
        {"%ProgramData%", {"C:\\V\\ProgramData"}},
        {"%ProgramFiles%", {"C:\\V\\PF", "C:\\V\\PF86"}},
        {"%PROGRAMFILES(X86)%", {"C:\\V\\PF86"}},
        {"%Public%", {"C:\\V\\Public"}},
        {"%RootDir%", {"D:"}},
        {"%SystemDrive%", {"D:"}},
        {"%SystemRoot%", {"D:\\Win"}},
        {"%Temp%", {"F:\\EnvTemp"}},
        {"%tmp%", {"F:\\EnvTmp"}},
        {"%UserProfile%", {"E:\\V\\Home"}},
        {"%Video%", {"E:\\V\\Home\\Videos"}},
        {"%WinDir%", {"D:\\Win"}},
    };
    for (const Case& c : cases) {
        build(std::string("[Var *]\nFileKey1=") + c.variable + "\\App|*.log\n");
        std::vector<std::string> expected;
        for (const std::string& folder : c.folders)
            expected.push_back("Type_File_Wild " + folder + "\\App\\*.log");
        EXPECT_EQ(targets(), expected) << c.variable << ": " << droppedReason();
    }
    // A name, not a folder: it stands inside a path.
    build("[Var *]\nFileKey1=E:\\Users\\%UserName%\\App|*.log\n");
    EXPECT_EQ(targets(), std::vector<std::string>{"Type_File_Wild E:\\Users\\tester\\App\\*.log"});

    // Without the environment's values: the system's temporary folder, the
    // account's name, the profile's drive, ProgramData; where the shell has
    // no Public folder, the environment's stands in.
    environment.clear();
    environment.setVariable(u"PUBLIC", u"C:\\EnvPublic");
    shell.setSpecialFolder(p::kFolderPublic, u"");
    const Case fallbacks[] = {
        {"%Temp%", {"E:\\V\\Temp"}},     {"%Tmp%", {"E:\\V\\Temp"}},
        {"%HomeDrive%", {"E:"}},         {"%AllUsersProfile%", {"C:\\V\\ProgramData"}},
        {"%Public%", {"C:\\EnvPublic"}},
    };
    for (const Case& c : fallbacks) {
        build(std::string("[Var *]\nFileKey1=") + c.variable + "\\App|*.log\n");
        EXPECT_EQ(targets(), std::vector<std::string>{"Type_File_Wild " + c.folders[0] + "\\App\\*.log"})
            << c.variable << ": " << droppedReason();
    }
    build("[Var *]\nFileKey1=E:\\Users\\%UserName%\\App|*.log\n");
    EXPECT_EQ(targets(), std::vector<std::string>{"Type_File_Wild E:\\Users\\account\\App\\*.log"});

    // A variable the format does not have, and one this machine has no
    // folder for.
    build("[Var *]\nFileKey1=%Downloads%\\App|*.log\n");
    EXPECT_EQ(droppedReason(), "every path is protected or invalid (FileKey1: unknown variable %Downloads%)");
    shell.setSpecialFolder(p::kFolderLocalAppDataLow, u"");
    build("[Var *]\nFileKey1=%LocalLowAppData%\\App|*.log\n");
    EXPECT_EQ(droppedReason(),
              "every path is protected or invalid (FileKey1: a variable this machine has no folder for: "
              "%LocalLowAppData%)");
    p::fakeMachineFacts().setTempPath(machineTemp);
    p::fakeMachineFacts().setUserName(machineUser);
}

TEST_F(RuleGroupsFake, EachKeyFormBecomesItsTargetKind)
{
    struct Case {
        const char* line;
        std::vector<std::string> targets;  // empty: dropped
    };
    const Case cases[] = {
        {"FileKey1=C:\\Data\\A|*.*", {"Type_Folder_1_Level C:\\Data\\A"}},
        {"FileKey1=C:\\Data\\A|*", {"Type_Folder_1_Level C:\\Data\\A"}},
        {"FileKey1=C:\\Data\\A|*.*|RECURSE", {"Type_Folder_All_Levels C:\\Data\\A"}},
        {"FileKey1=C:\\Data\\A|*.*|REMOVESELF", {"Type_Folder_All_Levels_IncludeSelf C:\\Data\\A removeEmpty"}},
        {"FileKey1=C:\\Data\\A|*.*|RECURSE|REMOVESELF", {"Type_Folder_All_Levels_IncludeSelf C:\\Data\\A removeEmpty"}},
        // REMOVESELF implies RECURSE and takes the emptied folders whatever
        // the pattern.
        {"FileKey1=C:\\Data\\A|*.log|REMOVESELF", {"Type_File_Wild C:\\Data\\A\\*.log sub removeEmpty"}},
        {"FileKey1=C:\\Data\\A|log.txt|REMOVESELF", {"Type_File_Wild C:\\Data\\A\\log.txt sub removeEmpty"}},
        {"FileKey1=C:\\Data\\A|*.log|RECURSE\nFileKey2=C:\\Data\\A|*.log|REMOVESELF",
         {"Type_File_Wild C:\\Data\\A\\*.log sub removeEmpty"}},
        {"FileKey1=C:\\Data\\A|*.log", {"Type_File_Wild C:\\Data\\A\\*.log"}},
        {"FileKey1=C:\\Data\\A|*.log|RECURSE", {"Type_File_Wild C:\\Data\\A\\*.log sub"}},
        {"FileKey1=C:\\Data\\A|log.txt", {"Type_File C:\\Data\\A\\log.txt"}},
        {"FileKey1=C:\\Data\\A|log.txt|RECURSE", {"Type_File_Wild C:\\Data\\A\\log.txt sub"}},
        {"FileKey1=C:\\Data\\A\\|*.log;*.tmp",
         {"Type_File_Wild C:\\Data\\A\\*.log", "Type_File_Wild C:\\Data\\A\\*.tmp"}},
        {"FileKey1=C:/Data/A/|*.log", {"Type_File_Wild C:\\Data\\A\\*.log"}},
        {"FileKey1=C:\\Data\\A|*.log\nFileKey2=c:\\data\\a|*.LOG", {"Type_File_Wild C:\\Data\\A\\*.log"}},
        {"FileKey1=C:\\Data\\A|sub\\*.log", {}},
        {"FileKey1=Data\\A|*.*", {}},
        {"RegKey1=HKCU\\Software\\App", {"Type_RegKey_All_Levels_IncludeSelf HKEY_CURRENT_USER\\Software\\App"}},
        {"RegKey1=HKLM\\Software\\App\\\\|Value", {"Type_RegValue HKEY_LOCAL_MACHINE\\Software\\App\\Value"}},
        {"RegKey1=HKU\\.DEFAULT\\Software\\App",
         {"Type_RegKey_All_Levels_IncludeSelf HKEY_USERS\\.DEFAULT\\Software\\App"}},
        {"RegKey1=HKCR\\App.File\\shell\\open\\MRU",
         {"Type_RegKey_All_Levels_IncludeSelf HKEY_CLASSES_ROOT\\App.File\\shell\\open\\MRU"}},
        {"RegKey1=HKEY_CURRENT_USER\\Software\\App|", {}},
        {"RegKey1=HKCU\\Software\\App|C:\\a.exe", {}},
        {"RegKey1=HKXX\\Software\\App", {}},
        {"RegKey1=HKCU\\Software\\App*", {}},
    };
    for (const Case& c : cases) {
        build(std::string("[Form *]\n") + c.line + "\n");
        if (c.targets.empty()) {
            EXPECT_TRUE(groups.empty()) << c.line;
            EXPECT_EQ(report.dropped.size(), 1u) << c.line;
        } else {
            EXPECT_EQ(targets(), c.targets) << c.line << ": " << droppedReason();
        }
    }
}

TEST_F(RuleGroupsFake, ProtectedPlacesAreLeftOutAndAnEntryOfNothingElseIsDropped)
{
    p::fakeShellItems().setSpecialFolder(p::kCsidlProfile, u"C:\\Users\\tester");
    const char* dropped[] = {
        "FileKey1=%UserProfile%|*.*|RECURSE",
        "FileKey1=%UserProfile%\\|*.*",
        "FileKey1=%WinDir%|*.*",
        "FileKey1=%WinDir%\\System32|*.*|RECURSE",
        "FileKey1=%ProgramFiles%|*.*|RECURSE",
        "FileKey1=%AppData%|*.*|REMOVESELF",
        "FileKey1=%LocalAppData%|*.log|RECURSE",
        "FileKey1=%Documents%|*.*",
        "FileKey1=C:\\|*.*",
        "FileKey1=%SystemDrive%|*.*|RECURSE",
        "RegKey1=HKCU\\Software",
        "RegKey1=HKLM\\Software\\Microsoft\\Windows",
        "RegKey1=HKCR\\.txt",
    };
    for (const char* line : dropped) {
        build(std::string("[Danger *]\n") + line + "\n");
        EXPECT_TRUE(groups.empty()) << line;
        EXPECT_EQ(droppedReason().find("every path is protected or invalid"), 0u) << line << ": " << droppedReason();
    }
    // Windows would read the profile where the checks saw a folder in it.
    const char nul[] = "[Nul *]\nFileKey1=%UserProfile%\0\\Cache|*.*|RECURSE\nRegKey1=HKCU\\Soft\0ware\\X\n";
    build(std::string(nul, sizeof nul - 1));
    EXPECT_TRUE(groups.empty());
    EXPECT_EQ(droppedReason(), "every path is protected or invalid (FileKey1: a control character in a path)");
    // Log files directly in the Windows folder are an ordinary target.
    build("[Logs *]\nFileKey1=%WinDir%|*.log\n");
    EXPECT_EQ(targets(), std::vector<std::string>{"Type_File_Wild C:\\Windows\\*.log"});
    // One protected path among ordinary ones is left out and noted.
    build("[Mixed *]\nFileKey1=%UserProfile%|*.*|RECURSE\nFileKey2=%UserProfile%\\App\\Cache|*.*\n");
    EXPECT_EQ(targets(), std::vector<std::string>{"Type_Folder_1_Level C:\\Users\\tester\\App\\Cache"});
    ASSERT_EQ(report.skippedKeys.size(), 1u);
    EXPECT_EQ(narrow(report.skippedKeys[0].text),
              "FileKey1: a protected place, a link or an invalid path: C:\\Users\\tester");
}

TEST_F(RuleGroupsFake, WildcardFoldersAreExpandedWithoutEnteringLinks)
{
    auto& disk = p::fakeFileSystem();
    ASSERT_TRUE(disk.addFolder(u"C:\\Data\\Profiles\\p1.default\\cache2"));
    ASSERT_TRUE(disk.addFolder(u"C:\\Data\\Profiles\\p2.default\\cache2"));
    ASSERT_TRUE(disk.addFolder(u"C:\\Data\\Profiles\\other\\cache2"));
    ASSERT_TRUE(disk.addFile(u"C:\\Data\\Profiles\\p3.default", 5));  // a file, not a folder
    ASSERT_TRUE(disk.addFolder(u"C:\\Outside\\cache2"));
    ASSERT_TRUE(disk.addFolderLink(u"C:\\Data\\Profiles\\link.default", u"C:\\Outside", p::LinkRemoval::Fails));
    build("[Wild *]\nFileKey1=C:\\Data\\Profiles\\*.default\\cache2|*.*|RECURSE\n"
          "FileKey2=C:\\Data\\Prof?les\\*\\cache2|*.tmp\n");
    EXPECT_EQ(targets(), (std::vector<std::string>{
                             "Type_Folder_All_Levels C:\\Data\\Profiles\\p1.default\\cache2",
                             "Type_Folder_All_Levels C:\\Data\\Profiles\\p2.default\\cache2",
                             "Type_File_Wild C:\\Data\\Profiles\\other\\cache2\\*.tmp",
                             "Type_File_Wild C:\\Data\\Profiles\\p1.default\\cache2\\*.tmp",
                             "Type_File_Wild C:\\Data\\Profiles\\p2.default\\cache2\\*.tmp",
                         }));
    // The ids follow the paths, so a stored check stays with its folder.
    ASSERT_EQ(groups.size(), 1u);
    const std::u16string firstId = groups[0]->child(0)->id.toU16String();
    ASSERT_TRUE(disk.removeTree(u"C:\\Data\\Profiles\\other"));
    ASSERT_TRUE(disk.addFolder(u"C:\\Data\\Profiles\\a0.default\\cache2"));
    build("[Wild *]\nFileKey1=C:\\Data\\Profiles\\*.default\\cache2|*.*|RECURSE\n");
    ASSERT_EQ(targets().size(), 3u);
    EXPECT_EQ(groups[0]->child(1)->id, firstId);

    build("[Wild *]\nFileKey1=C:\\Data\\Nothing\\*\\cache2|*.*\n");
    EXPECT_EQ(droppedReason(), "its wildcard folders match nothing on this machine");
}

TEST_F(RuleGroupsFake, DetectOsComparesWithTheSystemVersion)
{
    // The in-memory machine is Windows 7, 6.1.
    struct Case {
        const char* range;
        bool detected;
    };
    const Case cases[] = {{"6.1|", true},    {"6.2|", false},     {"|6.1", true}, {"|6.0", false},
                          {"5.1|6.3", true}, {"10.0|", false},    {"6|", true},   {"6.1", true},
                          {"|10", true},     {"6.1.7601|", true}, {"x|", false}};
    for (const Case& c : cases) {
        build(std::string("[Os *]\nDetectOS=") + c.range + "\nFileKey1=C:\\Data|*.log\n");
        EXPECT_EQ(report.detected, c.detected ? 1 : 0) << c.range;
    }
}

TEST_F(RuleGroupsFake, GroupsShowNameCategoryWarningAndStartUnchecked)
{
    build("[Chat App *]\nLangSecRef=3022\nDefault=True\nFileKey1=C:\\Chat|*.log\n"
          "[Game Launcher *]\nSection=Games\nWarning=Signs you out.\nFileKey1=C:\\Game|*.log\n"
          "[Odd *]\nLangSecRef=9999\nFileKey1=C:\\Odd|*.log\n"
          "[Chat-App *]\nLangSecRef=3029\nFileKey1=C:\\Chat2|*.log\n");
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[0]->title, u"Chat App");
    EXPECT_EQ(groups[0]->description, u"Internet");
    EXPECT_EQ(groups[0]->iconSpec, u"C:\\Windows\\system32\\shell32.dll,69");
    EXPECT_EQ(groups[1]->description, u"Games. Warning: Signs you out.");
    EXPECT_EQ(groups[2]->description, u"Other");
    EXPECT_EQ(groups[3]->description, u"Google Chrome");
    for (const TimeRecord* group : groups) {
        EXPECT_FALSE(group->checked) << narrow(group->title);
        EXPECT_TRUE(group->child(0)->defaultChecked);
    }
    // Ids: letters and digits of the name and a hash of it, distinct for
    // names that differ in punctuation only, the same on every build.
    EXPECT_EQ(groups[0]->id.toU16String().rfind(u"Rules_Chat_App_", 0), 0u) << narrow(groups[0]->id);
    EXPECT_NE(groups[0]->id, groups[3]->id);
    EXPECT_EQ(groups[0]->id, ruleGroupId(u"Chat App *"));
    EXPECT_EQ(ruleGroupId(u"Chat App *"), ruleGroupId(u"Chat App *"));
}

TEST_F(RuleGroupsFake, FilesBesideTheProgramFollowTheBuiltInGroupsAndKeepTheirChecks)
{
    auto& disk = p::fakeFileSystem();
    ASSERT_TRUE(disk.addFileWithContent(u"C:\\Purgo\\winapp2.ini", "[Beside *]\r\nFileKey1=C:\\Beside|*.log\r\n"
                                                                   "[Twice *]\r\nFileKey1=C:\\Twice|*.log\r\n"));
    ASSERT_TRUE(disk.addFileWithContent(u"C:\\Purgo\\savedata\\winapp2.ini",
                                        "\xEF\xBB\xBF[twice *]\nFileKey1=C:\\Again|*.log\n"
                                        "[Saved *]\nFileKey1=C:\\Saved|*.log\n"));
    RulesReport files;
    appendRuleGroups(groups, files);
    ASSERT_EQ(files.files.size(), 2u);
    EXPECT_EQ(files.files[1], u"C:\\Purgo\\savedata\\winapp2.ini");
    EXPECT_EQ(files.entries, 4);
    EXPECT_EQ(files.detected, 3);
    ASSERT_EQ(files.dropped.size(), 1u);
    EXPECT_EQ(files.dropped[0].entry, u"twice *");
    clear();

    // In the catalogue, after the built-in groups; checked states saved and
    // read back like theirs.
    auto store = s::xml::openFileStore(u"C:\\Purgo\\savedata\\SaveData.xml", p::fileIo());
    std::vector<TimeRecord*> list;
    buildCatalogue(list, catalogue_test::englishLocalizer(), *store);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kCatalogueGroupCount) + 3);
    EXPECT_EQ(list[kCatalogueGroupCount]->title, u"Beside");
    EXPECT_EQ(list[kCatalogueGroupCount + 2]->title, u"Saved");
    list[kCatalogueGroupCount + 2]->checked = true;
    for (TimeRecord* group : list)
        saveChecks(*group, kItemsPrefix, *store);
    for (TimeRecord* group : list)
        group->release();
    list.clear();
    buildCatalogue(list, catalogue_test::englishLocalizer(), *store);
    for (TimeRecord* group : list)
        loadChecks(*group, kItemsPrefix, *store);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kCatalogueGroupCount) + 3);
    EXPECT_FALSE(list[kCatalogueGroupCount]->checked);
    EXPECT_TRUE(list[kCatalogueGroupCount + 2]->checked);
    EXPECT_TRUE(list[kCatalogueGroupCount + 2]->child(0)->checked);
    for (TimeRecord* group : list)
        group->release();

    // A file that is there but cannot be read is reported, not fatal.
    ASSERT_TRUE(disk.setFault(u"C:\\Purgo\\winapp2.ini", p::FileFault::ReadLocked));
    appendRuleGroups(groups, files);
    ASSERT_EQ(files.unreadable.size(), 1u);
    EXPECT_EQ(files.unreadable[0].entry, u"C:\\Purgo\\winapp2.ini");
    EXPECT_EQ(files.detected, 2);
}

TEST_F(RuleGroupsFake, ExclusionsOfEachKindSurviveTheCleanAndAreNotCounted)
{
    auto& disk = p::fakeFileSystem();
    auto& registry = p::fakeRegistry();
    const std::u16string root = registry.rootPath(p::RootKey::CurrentUser) + u"\\Software\\RuleApp";
    // Files: Cache\a.tmp, keep.tmp, s\b.tmp, s\keep.tmp, Kept\c.tmp (5 files,
    // 2 folders). Keys: Recent with values Pinned and Last, subkeys Keep and
    // Drop (with itself, 5).
    const auto seed = [&] {
        disk.removeTree(u"C:\\App");
        registry.removeTree(root);
        for (const char16_t* path : {u"C:\\App\\Cache\\a.tmp", u"C:\\App\\Cache\\keep.tmp", u"C:\\App\\Cache\\s\\b.tmp",
                                     u"C:\\App\\Cache\\s\\keep.tmp", u"C:\\App\\Cache\\Kept\\c.tmp"})
            ASSERT_TRUE(disk.addFile(path, 10));
        for (const char16_t* key : {u"\\Recent", u"\\Recent\\Keep", u"\\Recent\\Drop"})
            ASSERT_TRUE(registry.addKey(root + key));
        const std::byte data[4] = {};
        ASSERT_TRUE(registry.setValue(root + u"\\Recent", u"Pinned", 3, data));
        ASSERT_TRUE(registry.setValue(root + u"\\Recent", u"Last", 3, data));
    };
    const auto present = [&](std::u16string_view what) {
        if (what == u"reg:Keep")
            return registry.hasKey(root + u"\\Recent\\Keep");
        if (what == u"reg:Pinned")
            return registry.value(root + u"\\Recent", u"Pinned").has_value();
        return disk.contains(what);
    };
    struct Case {
        const char* exclude;
        int64_t found;  // of the group
        std::vector<std::u16string_view> kept;
    };
    const Case cases[] = {
        {"", 7 + 5, {}},
        {"FILE|C:\\App\\Cache|keep.tmp", 6 + 5, {u"C:\\App\\Cache\\keep.tmp"}},
        {"FILE|C:\\App\\Cache\\keep.tmp", 6 + 5, {u"C:\\App\\Cache\\keep.tmp"}},
        {"PATH|C:\\App\\Cache|keep.tmp", 3 + 5, {u"C:\\App\\Cache\\keep.tmp", u"C:\\App\\Cache\\s\\keep.tmp"}},
        {"PATH|C:\\App\\Cache\\Kept", 5 + 5, {u"C:\\App\\Cache\\Kept\\c.tmp"}},
        {"FILE|C:\\App\\Cache|s\\keep.tmp", 5 + 5, {u"C:\\App\\Cache\\s\\keep.tmp"}},
        {"REG|HKCU\\Software\\RuleApp\\Recent\\Keep", 7 + 3, {u"reg:Keep"}},
        {"REG|HKCU\\Software\\RuleApp\\Recent|Pinned", 7 + 3, {u"reg:Pinned"}},
    };
    for (const Case& c : cases) {
        seed();
        build(std::string("[Excl *]\nFileKey1=C:\\App\\Cache|*.*|RECURSE\nRegKey1=HKCU\\Software\\RuleApp\\Recent\n") +
              (c.exclude[0] ? std::string("ExcludeKey1=") + c.exclude + "\n" : std::string()));
        ASSERT_EQ(groups.size(), 1u) << c.exclude;
        TimeRecord& group = *groups[0];
        scan(group, nullptr, Captions::Without);
        EXPECT_EQ(group.found, c.found) << c.exclude;
        group.checked = true;
        CleanContext context;
        clean(group, context);
        for (std::u16string_view kept : c.kept)
            EXPECT_TRUE(present(kept)) << c.exclude << ": " << narrow(kept) << " was deleted";
        EXPECT_FALSE(present(u"C:\\App\\Cache\\a.tmp")) << c.exclude;
        EXPECT_FALSE(registry.value(root + u"\\Recent", u"Last").has_value()) << c.exclude;
        // What is left is what is kept: the rescan counts none of it.
        EXPECT_EQ(group.child(0)->found, 0) << c.exclude;
    }
    // An exclusion that cannot be honoured: the entry does not clean at all.
    build("[Excl *]\nFileKey1=C:\\App\\Cache|*.*|RECURSE\nExcludeKey1=FILE|%Nowhere%\\App|keep.tmp\n");
    EXPECT_TRUE(groups.empty());
    EXPECT_EQ(droppedReason(), "an ExcludeKey that cannot be honoured (ExcludeKey1: unknown variable %Nowhere%)");
    build("[Excl *]\nFileKey1=C:\\App\\Cache|*.*|RECURSE\nExcludeKey3=DISK|C:\\App\n");
    EXPECT_TRUE(groups.empty());
    EXPECT_EQ(droppedReason(), "an ExcludeKey that cannot be read (ExcludeKey3: not FILE|, PATH| or REG| with a path)");
    disk.removeTree(u"C:\\App");
    registry.removeTree(root);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo

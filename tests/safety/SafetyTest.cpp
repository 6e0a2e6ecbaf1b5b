// The places no clean may empty, tried the way they go wrong on real
// machines: every row is measured and cleaned by the engine, and the
// sentinels around it must survive. The same table runs against the
// in-memory machine natively and against the real system under Wine, where
// the protected places are the sandbox's own stand-ins (the environment,
// the current folder and this test's own folder point there).
#include "base/XmlNode.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"
#include "catalogue/CookieSites.h"
#include "engine/Clean.h"
#include "engine/Scan.h"
#include "engine/TargetSafety.h"
#include "lang/Localizer.h"
#include "platform/FileSystem.h"
#include "platform/RegFunctions.h"
#include "settings/MappedData.h"
#include "tests/support/CatalogueMachine.h"
#include "tests/support/LanguageTable.h"
#include "tests/support/SafetyMachine.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
using safety_test::SafetyMachine;

#ifdef _WIN32
constexpr bool kUnderWine = true;
#else
constexpr bool kUnderWine = false;
#endif

struct Row {
    const char* what;
    int32_t kind;
    std::u16string target;
    bool refused = true;
    bool inSubfolders = false;
};

class Safety : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }
    void TearDown() override
    {
        for (const std::u16string& path : m_outside)
            SafetyMachine::removeFile(path);
    }

    // A sentinel inside the sandbox; it must survive every row.
    void sentinel(std::u16string_view relative)
    {
        ASSERT_TRUE(box.makeFile(relative, 4)) << narrow(relative);
        m_sentinels.push_back(box.path(relative));
    }
    // One outside the sandbox, removed after the test.
    void sentinelAt(const std::u16string& path)
    {
        ASSERT_TRUE(SafetyMachine::makeFile(path)) << narrow(path);
        m_sentinels.push_back(path);
        m_outside.push_back(path);
    }

    // Measures and cleans the row's target (start-up mode: nothing goes on
    // the boot-time list), then checks every sentinel.
    void run(const Row& row)
    {
        SCOPED_TRACE(std::string(row.what) + ": " + narrow(row.target));
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->checked = true;
        TimeRecord* target = TimeRecord::makeTarget(static_cast<TargetKind>(row.kind), u"t", row.target);
        target->wildInSubfolders = row.inSubfolders;
        group->addChild(target);
        EXPECT_EQ(mayReach(*target), !row.refused);
        scan(*group, nullptr, Captions::Without);
        if (row.refused) {
            EXPECT_EQ(target->found, 0) << "a refused target measures 0";
            EXPECT_EQ(target->size, 0);
        }
        CleanContext context;
        context.mode = CleanMode::Startup;
        clean(*group, context);
        for (const std::u16string& path : m_sentinels)
            EXPECT_TRUE(SafetyMachine::exists(path)) << "sentinel gone: " << narrow(path);
    }

    Sandbox box;
    SafetyMachine machine;
    // Sentinels whose names only their "\\?\" form reaches.
    std::vector<std::u16string> m_verbatimSentinels;

private:
    std::vector<std::u16string> m_sentinels;
    std::vector<std::u16string> m_outside;
};

TEST_F(Safety, ProtectedFoldersAreNeitherMeasuredNorEmptied)
{
    const std::u16string win = box.path(u"win");
    const std::u16string users = box.path(u"users");
    const std::u16string prof = users + u"\\profile folder";
    for (const char16_t* name :
         {u"win\\keep.txt", u"win\\System32\\keep.txt", u"win\\WinSxS\\keep.txt", u"win\\Fonts\\keep.txt",
          u"users\\profile folder\\keep.txt", u"users\\profile folder\\Documents\\keep.txt",
          u"users\\profile folder\\Desktop\\keep.txt", u"users\\profile folder\\Downloads\\keep.txt",
          u"users\\profile folder\\AppData\\Local\\keep.txt", u"users\\profile folder\\AppData\\Roaming\\keep.txt"})
        sentinel(name);
    const std::u16string program = machine.programFolder(box.path(u"prog"));
    ASSERT_FALSE(program.empty());
    sentinelAt(program + u"\\keep-sentinel.txt");
    sentinelAt(program + u"\\savedata\\keep-sentinel.txt");
    sentinelAt(u"C:\\purgo-root-sentinel.dat");
    machine.pointWindowsFolderAt(win);
    machine.pointProfileAt(prof);
    const std::u16string shortProfile = machine.shortForm(prof, u"PROFIL~1");

    const std::vector<Row> rows = {
        {"Windows folder, 1 level", Type_Folder_1_Level, win},
        {"Windows folder, all levels", Type_Folder_All_Levels, win},
        {"Windows folder and self", Type_Folder_All_Levels_IncludeSelf, win},
        {"Windows folder, subfolders", Type_Folder_OnlyAllSubFolders, win},
        {"every file of the Windows folder", Type_File_Wild, win + u"\\*"},
        {"every file of the Windows folder, *.*", Type_File_Wild, win + u"\\*.*"},
        {"*.txt in the Windows folder and below", Type_File_Wild, win + u"\\*.txt", true, true},
        {"System32", Type_Folder_1_Level, win + u"\\System32"},
        {"WinSxS", Type_Folder_All_Levels, win + u"\\WinSxS"},
        {"Fonts through ..", Type_Folder_All_Levels_IncludeSelf, win + u"\\Temp\\..\\Fonts"},
        {"the Windows folder through .", Type_Folder_All_Levels, win + u"\\.\\System32\\.."},
        {"Users folder", Type_Folder_All_Levels, users},
        {"profile", Type_Folder_All_Levels, prof},
        {"profile, other case and slashes", Type_Folder_1_Level, u"C:" + prof.substr(2) + u"/"},
        {"Documents", Type_Folder_All_Levels, prof + u"\\Documents"},
        {"Documents with trailing dots", Type_Folder_1_Level, prof + u"\\Documents.."},
        {"Desktop", Type_Folder_1_Level, prof + u"\\Desktop"},
        {"Downloads and self", Type_Folder_All_Levels_IncludeSelf, prof + u"\\Downloads"},
        {"AppData subfolders", Type_Folder_OnlyAllSubFolders, prof + u"\\AppData"},
        {"AppData\\Local", Type_Folder_All_Levels, prof + u"\\AppData\\Local"},
        {"AppData\\Roaming", Type_Folder_1_Level, prof + u"\\AppData\\Roaming"},
        {"AppData\\Local by ..", Type_Folder_All_Levels, prof + u"\\AppData\\Local\\Temp\\.."},
        {"every file under the profile", Type_File_Wild, prof + u"\\*.txt", true, true},
        {"the program's folder", Type_Folder_1_Level, program},
        {"the program's folder and self", Type_Folder_All_Levels_IncludeSelf, program},
        {"savedata", Type_Folder_All_Levels, program + u"\\savedata"},
        {"savedata, every file", Type_File_Wild, program + u"\\savedata\\*.*"},
        {"drive root, 1 level", Type_Folder_1_Level, u"C:\\"},
        {"drive root, every file", Type_File_Wild, u"C:\\*"},
        {"drive root through ..", Type_Folder_1_Level, u"C:\\Windows\\.."},
    };
    for (const Row& row : rows)
        run(row);
    if (!shortProfile.empty())
        run({"profile by its short name", Type_Folder_All_Levels, shortProfile});
    else
        ADD_FAILURE() << "no short name for the profile folder";
    if (!kUnderWine) {
        // A failure here would take the prefix's drive C: with it.
        run({"drive root, all levels", Type_Folder_All_Levels, u"C:\\"});
        run({"drive root, subfolders", Type_Folder_OnlyAllSubFolders, u"C:\\."});
    }
}

// "C:\Windows." and "C:\Windows " are the Windows folder to the user's eye,
// so they are refused like it - even though their "\\?\" forms name other
// folders, which here really exist beside the stand-ins (made by the Linux
// side under Wine), each with a sentinel of its own.
TEST_F(Safety, APlaceWrittenWithATrailingDotOrSpaceIsTheProtectedPlace)
{
    using s::platform::testing::FixtureEntry;
    const std::u16string set = box.namesFixture(u"safety", s::platform::testing::protectedLookalikes());
    ASSERT_FALSE(set.empty()) << "the names fixture is missing (under Wine the CTest fixture wine_names makes it)";
    for (const FixtureEntry& entry : s::platform::testing::protectedLookalikes())
        if (!entry.folder)
            m_verbatimSentinels.push_back(u"\\\\?\\" + set + u"\\" + entry.relative);
    const std::u16string win = set + u"\\win";
    const std::u16string documents = set + u"\\prof\\Documents";
    machine.pointWindowsFolderAt(win);
    machine.pointProfileAt(set + u"\\prof");
    const Row rows[] = {
        {"Windows folder with a trailing dot", Type_Folder_All_Levels, win + u"."},
        {"Windows folder with a trailing space", Type_Folder_All_Levels_IncludeSelf, win + u" "},
        {"Windows folder with a dot and a space", Type_Folder_1_Level, win + u". "},
        {"every file of the Windows folder, dotted", Type_File_Wild, win + u".\\*"},
        {"Documents with a trailing space", Type_Folder_All_Levels, documents + u" "},
        {"Documents with a trailing dot, and self", Type_Folder_All_Levels_IncludeSelf, documents + u"."},
        {"the profile through a dotted Documents", Type_Folder_OnlyAllSubFolders, documents + u".\\.."},
    };
    for (const Row& row : rows) {
        run(row);
        for (const std::u16string& sentinel : m_verbatimSentinels)
            EXPECT_TRUE(SafetyMachine::exists(sentinel)) << row.what << ": sentinel gone: " << narrow(sentinel);
    }
}

TEST_F(Safety, OrdinaryPlacesInsideProtectedOnesStillGo)
{
    const std::u16string win = box.path(u"win");
    const std::u16string prof = box.path(u"users\\prof");
    machine.pointWindowsFolderAt(win);
    machine.pointProfileAt(prof);
    sentinel(u"win\\keep.txt");
    sentinel(u"users\\prof\\AppData\\Local\\keep.txt");
    ASSERT_TRUE(box.makeFile(u"win\\setup.log", 3) && box.makeFile(u"win\\Temp\\junk.tmp", 5) &&
                box.makeFile(u"users\\prof\\AppData\\Local\\Temp\\junk.tmp", 7));
    const Row rows[] = {
        {"*.log directly in the Windows folder", Type_File_Wild, win + u"\\*.log", false},
        {"the Windows folder's Temp", Type_Folder_All_Levels, win + u"\\Temp", false},
        {"the profile's Temp", Type_Folder_All_Levels, prof + u"\\AppData\\Local\\Temp", false},
    };
    for (const Row& row : rows)
        run(row);
    EXPECT_FALSE(box.entryExists(u"win\\setup.log"));
    EXPECT_FALSE(box.entryExists(u"win\\Temp\\junk.tmp"));
    EXPECT_FALSE(box.entryExists(u"users\\prof\\AppData\\Local\\Temp\\junk.tmp"));
}

// A folder reached by its 8.3 name that holds the folder of the profiles:
// that folder's path as listed ("...\HOLDER~1\users") is not the one the
// protected places know, only its long path is. What else the folder holds
// still goes.
TEST_F(Safety, AProtectedPlaceBelowAShortNameIsFoundByItsLongPath)
{
    const std::u16string holder = box.path(u"holder folder");
    const std::u16string prof = holder + u"\\users\\prof";
    for (const char16_t* name : {u"holder folder\\users\\keep.txt", u"holder folder\\users\\prof\\keep.txt",
                                 u"holder folder\\users\\prof\\Documents\\keep.txt"})
        sentinel(name);
    machine.pointProfileAt(prof);
    const std::u16string shortHolder = machine.shortForm(holder, u"HOLDER~1");
    ASSERT_FALSE(shortHolder.empty()) << "no short name for the holder folder";
    const Row rows[] = {
        {"all levels", Type_Folder_All_Levels, shortHolder, false},
        {"all levels and self", Type_Folder_All_Levels_IncludeSelf, shortHolder, false},
        {"subfolders", Type_Folder_OnlyAllSubFolders, shortHolder, false},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(box.makeFile(u"holder folder\\junk\\junk.tmp", 5));
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->addChild(TimeRecord::makeTarget(static_cast<TargetKind>(row.kind), u"t", row.target));
        scan(*group, nullptr, Captions::Without);
        // junk and junk.tmp; neither the profile nor what it holds.
        EXPECT_EQ(group->size, 5) << row.what;
        EXPECT_EQ(group->found, row.kind == Type_Folder_All_Levels_IncludeSelf ? 3 : 2) << row.what;
        run(row);
        EXPECT_FALSE(box.entryExists(u"holder folder\\junk")) << row.what;
    }
}

TEST_F(Safety, ATemporaryFolderThatFallsBackToTheProfileIsLeftAlone)
{
    const std::u16string prof = box.path(u"users\\prof");
    sentinel(u"users\\prof\\keep.txt");
    sentinel(u"users\\prof\\Documents\\keep.txt");
    machine.dropTemporaryFolder(prof);
    // The catalogue's "System Temporary Folder" row: everything under it.
    const Text temp = platformFolder(PlatformFolder::Temp);
    ASSERT_TRUE(temp.equalsIgnoreCase(prof)) << narrow(temp.view()) << " is not the profile";
    run({"the temporary folder", Type_Folder_All_Levels, std::u16string(temp.view())});
}

TEST_F(Safety, PathsWithoutADriveFindNothing)
{
    // Relative texts resolve against the current folder (System32, for the
    // boot run started by the Task Scheduler); drive-rooted ones ("\temp", what
    // an unresolved platform folder leaves) against the current drive.
    sentinel(u"cwd\\sentinels\\a.txt");
    sentinel(u"cwd\\sentinels\\sub\\b.txt");
    sentinel(u"cwd\\x.log");
    sentinel(u"rooted\\keep.txt");
    sentinel(u"rooted\\sub\\keep.txt");
    machine.setCurrentFolder(box.path(u"cwd"));
    const std::u16string rooted = box.path(u"rooted").substr(2);  // "\...\rooted" on the current drive C:
    ASSERT_EQ(box.path(u"rooted").substr(0, 2), u"C:");
    const Row rows[] = {
        {"relative folder", Type_Folder_All_Levels, u"sentinels"},
        {"relative folder and self", Type_Folder_All_Levels_IncludeSelf, u"sentinels"},
        {"the current folder", Type_Folder_1_Level, u"."},
        {"relative file", Type_File, u"x.log"},
        {"relative pattern", Type_File_Wild, u"*.log"},
        {"a drive's current folder", Type_File_Wild, u"C:*.log"},
        {"a drive's current folder, folder kind", Type_Folder_All_Levels, u"C:sentinels"},
        {"drive-rooted folder", Type_Folder_All_Levels, rooted},
        {"drive-rooted subfolders", Type_Folder_OnlyAllSubFolders, rooted},
        {"drive-rooted pattern", Type_File_Wild, rooted + u"\\*.txt", true, true},
        {"drive-rooted file", Type_File, rooted + u"\\keep.txt"},
    };
    for (const Row& row : rows)
        run(row);
}

TEST_F(Safety, AFileTargetNamingAFolderFindsNothing)
{
    sentinel(u"dir\\a.txt");
    sentinel(u"dir\\sub\\b.txt");
    run({"Type_File on a folder", Type_File, box.path(u"dir")});
}

TEST_F(Safety, ATargetFolderThatIsALinkIsNotListedThrough)
{
    const auto links = box.linkFixture();
    ASSERT_TRUE(SafetyMachine::exists(links.keptFile))
        << "the link fixture is missing (under Wine the CTest fixture makes it)";
    const std::uint32_t attributes = s::platform::fileSystem().attributes(links.link.c_str());
    ASSERT_NE(attributes & s::platform::kFileAttributeReparsePoint, 0u) << "the link is not a reparse point";
    const Row rows[] = {
        {"link, 1 level", Type_Folder_1_Level, links.link},
        {"link, all levels", Type_Folder_All_Levels, links.link},
        {"link and self", Type_Folder_All_Levels_IncludeSelf, links.link},
        {"link, subfolders", Type_Folder_OnlyAllSubFolders, links.link},
        {"pattern in a link", Type_File_Wild, links.link + u"\\*.txt"},
    };
    // The file behind the link is the sentinel here.
    for (const Row& row : rows) {
        run(row);
        EXPECT_TRUE(SafetyMachine::exists(links.keptFile)) << row.what;
    }
    // A link further up the path is fine: the file is measured.
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->addChild(TimeRecord::makeTarget(Type_File, u"t", links.link + u"\\keep.txt"));
    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(group->found, 1);
}

TEST_F(Safety, AWildcardCountsOnlyLongNamesThatMatch)
{
    ASSERT_TRUE(box.makeFile(u"w\\z.log", 3));
    sentinel(u"w\\x.logs");
    sentinel(u"w\\y.logfile");
    machine.shortForm(box.path(u"w\\x.logs"), u"X~1.LOG");
    machine.shortForm(box.path(u"w\\y.logfile"), u"Y~1.LOG");
    // What the platform itself reports for the mask, short names included.
    int reported = 0;
    {
        s::platform::FindHandle find;
        s::platform::FindData data;
        const std::u16string mask = box.path(u"w\\*.log");
        for (auto error = s::platform::fileSystem().findFirst(mask.c_str(), find, data); error == 0;
             error = s::platform::fileSystem().findNext(find, data))
            ++reported;
    }
    EXPECT_EQ(reported, 3) << "the platform matches short names too, so this row shows the fault";
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->checked = true;
    group->addChild(TimeRecord::makeTarget(Type_File_Wild, u"t", box.path(u"w\\*.log")));
    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(group->found, 1);
    EXPECT_EQ(group->size, 3);
    run({"*.log", Type_File_Wild, box.path(u"w\\*.log"), false});
    EXPECT_FALSE(box.entryExists(u"w\\z.log"));
}

// ---- registry ----------------------------------------------------------------

// A value under HKEY_CURRENT_USER written and read through the ordinary
// registry functions, not the key object under test.
class KeySentinel {
public:
    KeySentinel(std::u16string subKey, std::u16string name) : m_subKey(std::move(subKey)), m_name(std::move(name))
    {
        auto& registry = s::platform::regFunctions();
        s::platform::RegKey key;
        m_made = registry.createKey(s::platform::RootKey::CurrentUser, m_subKey.c_str(), s::platform::kKeyAllAccess,
                                    key) == 0;
        const std::u16string data = u"keep";
        m_made = m_made && registry.setValue(key, m_name.c_str(), s::platform::kRegSz,
                                             reinterpret_cast<const std::byte*>(data.c_str()),
                                             static_cast<std::uint32_t>((data.size() + 1) * sizeof(char16_t))) == 0;
    }
    ~KeySentinel()
    {
        s::platform::RegKey key;
        if (s::platform::regFunctions().openKey(s::platform::RootKey::CurrentUser, m_subKey.c_str(),
                                                s::platform::kKeyAllAccess, key) == 0)
            s::platform::regFunctions().deleteValue(key, m_name.c_str());
    }
    KeySentinel(const KeySentinel&) = delete;
    KeySentinel& operator=(const KeySentinel&) = delete;

    bool made() const { return m_made; }
    bool present() const
    {
        s::platform::RegKey key;
        if (s::platform::regFunctions().openKey(s::platform::RootKey::CurrentUser, m_subKey.c_str(),
                                                s::platform::kKeyRead, key) != 0)
            return false;
        std::uint32_t length = 0;
        return s::platform::regFunctions().queryValue(key, m_name.c_str(), nullptr, nullptr, &length) == 0;
    }
    const std::u16string& subKey() const { return m_subKey; }

private:
    std::u16string m_subKey;
    std::u16string m_name;
    bool m_made = false;
};

TEST_F(Safety, ProtectedKeysAreNeitherMeasuredNorEmptied)
{
    // The user's SID, from the sandbox's own native path.
    const std::u16string native = box.nativeKeyPath();
    const std::u16string prefix = u"\\Registry\\User\\";
    ASSERT_EQ(native.substr(0, prefix.size()), prefix);
    const std::u16string sid = native.substr(prefix.size(), native.find(u'\\', prefix.size()) - prefix.size());

    KeySentinel atRoot(u"", u"PurgoSentinel");
    KeySentinel inSoftware(u"Software", u"PurgoSentinel");
    KeySentinel inCurrentVersion(u"Software\\Microsoft\\Windows\\CurrentVersion", u"PurgoSentinel");
    ASSERT_TRUE(atRoot.made() && inSoftware.made() && inCurrentVersion.made());
    struct KeyRow {
        const char* what;
        int32_t kind;
        std::u16string target;
        // Cleaned under Wine too: only the kind that deletes one key's values,
        // whose damage a failure would keep to the sentinels' keys.
        bool cleanEverywhere;
    };
    const KeyRow rows[] = {
        {"HKCU, its values", Type_RegKey_1_Level, u"HKEY_CURRENT_USER", true},
        {"HKCU with a backslash", Type_RegKey_1_Level, u"hkey_current_user\\", true},
        {"HKCU\\Software, its values", Type_RegKey_1_Level, u"HKEY_CURRENT_USER\\Software", true},
        {"HKCU\\Software by the SID", Type_RegKey_1_Level, u"HKEY_USERS\\" + sid + u"\\software\\\\", true},
        {"CurrentVersion, its values", Type_RegKey_1_Level,
         u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion", true},
        {"HKCU, all under", Type_RegKey_All_Levels, u"HKEY_CURRENT_USER", false},
        {"HKCU\\Software and self", Type_RegKey_All_Levels_IncludeSelf, u"HKEY_CURRENT_USER\\Software", false},
        {"HKLM\\SOFTWARE, subkeys", Type_RegKey_OnlyAllSubKeys, u"HKEY_LOCAL_MACHINE\\SOFTWARE", false},
        {"HKLM\\SYSTEM\\CurrentControlSet", Type_RegKey_All_Levels, u"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet",
         false},
        {"a class of HKCR", Type_RegKey_All_Levels_IncludeSelf, u"HKEY_CLASSES_ROOT\\.txt", false},
        {"HKU", Type_RegKey_OnlyAllSubKeys, u"HKEY_USERS", false},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ": " + narrow(row.target));
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->checked = true;
        TimeRecord* target = TimeRecord::makeTarget(static_cast<TargetKind>(row.kind), u"t", row.target);
        group->addChild(target);
        EXPECT_FALSE(mayReach(*target));
        scan(*group, nullptr, Captions::Without);
        EXPECT_EQ(target->found, 0);
        EXPECT_EQ(target->size, 0);
        // A failure under Wine would take the prefix's registry with it.
        if (!kUnderWine || row.cleanEverywhere) {
            CleanContext context;
            context.mode = CleanMode::Startup;
            clean(*group, context);
        }
        EXPECT_TRUE(atRoot.present() && inSoftware.present() && inCurrentVersion.present());
    }

    // An ordinary key of the same kinds still goes.
    ASSERT_TRUE(box.makeKey(u"app\\Cache\\sub"));
    const std::vector<std::byte> data(3, std::byte{1});
    ASSERT_TRUE(box.setValue(u"app\\Cache", u"v", 3, data));
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->checked = true;
    group->addChild(TimeRecord::makeTarget(Type_RegKey_All_Levels_IncludeSelf, u"t",
                                           u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\app\\Cache"));
    EXPECT_TRUE(mayReach(*group->child(0)));
    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(group->found, 3);
    CleanContext context;
    clean(*group, context);
    EXPECT_FALSE(box.keyExists(u"app\\Cache"));
}

TEST_F(Safety, AKeyThatIsALinkIsNotEmptied)
{
    const std::vector<std::byte> data(4, std::byte{7});
    ASSERT_TRUE(box.makeKey(u"elsewhere\\sub") && box.setValue(u"elsewhere", u"keep", 3, data));
    ASSERT_TRUE(box.makeKey(u"tree"));
    ASSERT_TRUE(box.makeLinkKey(u"tree\\link", u"elsewhere")) << "a registry link cannot be made here";
    ASSERT_TRUE(box.makeLinkKey(u"named", u"elsewhere"));
    const std::u16string root = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\";
    const Row rows[] = {
        {"the target key is a link, its values", Type_RegKey_1_Level, root + u"named"},
        {"the target key is a link, all under", Type_RegKey_All_Levels, root + u"named"},
        {"the target key is a link, and self", Type_RegKey_All_Levels_IncludeSelf, root + u"named"},
        {"a link below, all under", Type_RegKey_All_Levels, root + u"tree", false},
        {"a link below, subkeys", Type_RegKey_OnlyAllSubKeys, root + u"tree", false},
        {"a link below, and self", Type_RegKey_All_Levels_IncludeSelf, root + u"tree", false},
    };
    for (const Row& row : rows) {
        run(row);
        EXPECT_TRUE(box.valueExists(u"elsewhere", u"keep")) << row.what;
        EXPECT_TRUE(box.keyExists(u"elsewhere\\sub")) << row.what;
        // The link itself may go; the next row needs it again.
        if (!box.linkKeyExists(u"tree\\link")) {
            ASSERT_TRUE(box.makeKey(u"tree"));
            ASSERT_TRUE(box.makeLinkKey(u"tree\\link", u"elsewhere"));
        }
    }
}

// ---- the program's own settings ------------------------------------------------

// Every built-in group and a custom group pointed at the program's own folder,
// all checked and cleaned: the settings file beside the program comes out
// byte for byte as it went in. Natively the store and the engine work on the
// one in-memory disk; under Wine on the prefix's drive C:, the test running
// alone (it empties the prefix's temporary folder, where the other tests keep
// their sandboxes). Under Wine the Recycle Bin is left out: it is the Linux
// user's own trash.
TEST(SafetyOfTheSettings, CleaningEverythingLeavesTheSettingsFileAlone)
{
    catalogue_test::setUpMachine();
    SafetyMachine machine;
    const std::u16string program = machine.programFolder(u"C:\\Tools\\Oxle Purgo");
    ASSERT_FALSE(program.empty());
    const std::u16string settings = std::u16string(s::xml::settingsFilePath().view());
    ASSERT_EQ(settings, program + u"\\savedata\\SaveData.xml");
    const std::string saved = "<savedata><CustomItems NumOfCustom=\"1\" CustomID=\"1\">"
                              "<_0 ID=\"Custom1\" Title=\"001 Program\" CustomRecordID=\"1\" NumOfChildren=\"1\">"
                              "<_0 ID=\"Custom_1_1\" TargetType=\"Type_Folder_All_Levels\" Target=\"" +
                              narrow(program) + "\"></_0></_0></CustomItems></savedata>";
    ASSERT_TRUE(SafetyMachine::writeFile(settings, saved));
    // Something for the clean to take, to show that it ran.
    const std::u16string junk = std::u16string(platformFolder(PlatformFolder::Temp).view()) + u"\\purgo-junk.tmp";
    ASSERT_TRUE(SafetyMachine::makeFile(junk));

    std::vector<TimeRecord*> list;
    {
        s::xml::MappedDataHandle store = s::xml::openFileStore(settings);
        ASSERT_TRUE(store);
        buildCatalogue(list, testing_platform::shippedLanguageTable(), *store);
    }
    ASSERT_FALSE(list.empty());
    ASSERT_TRUE(list[0]->custom);
    for (TimeRecord* group : list) {
        group->checked = !(kUnderWine && group->id.equals(u"RecycleBin"));
        for (std::size_t c = 0; c < group->childCount(); ++c)
            group->child(c)->checked = true;
        scan(*group, nullptr, Captions::Without);
    }
    EXPECT_EQ(list[0]->found, 0) << "the program's folder is protected";
    for (TimeRecord* group : list) {
        CleanContext context;
        context.mode = CleanMode::Startup;
        clean(*group, context);
    }
    EXPECT_EQ(SafetyMachine::readFile(settings), saved);
    EXPECT_FALSE(SafetyMachine::exists(junk)) << "the temporary folder was cleaned";
    SafetyMachine::removeFile(settings);
    forgetCookieSites();
    for (TimeRecord* group : list)
        group->release();
}

// ---- paths read from other programs' files --------------------------------

class OtherProgramsFiles : public Safety {
protected:
    void TearDown() override
    {
        catalogue_test::removePath(m_ini);
        auto& registry = s::platform::regFunctions();
        registry.deleteKey(s::platform::RootKey::CurrentUser, u"Software\\Opera Software");
        Safety::TearDown();
    }

    void writeProfilesIni(const std::string& path, int relative)
    {
        m_ini = std::u16string(platformFolder(PlatformFolder::AppData).view()) + u"\\Mozilla\\Firefox\\profiles.ini";
        const std::string text =
            "[Profile0]\r\nName=default\r\nIsRelative=" + std::to_string(relative) + "\r\nPath=" + path + "\r\n";
        ASSERT_TRUE(catalogue_test::writeIniFile(m_ini, text));
    }

    void writeOperaCommandLine(const std::u16string& line)
    {
        auto& registry = s::platform::regFunctions();
        s::platform::RegKey key;
        ASSERT_EQ(registry.createKey(s::platform::RootKey::CurrentUser, u"Software\\Opera Software",
                                     s::platform::kKeyAllAccess, key),
                  0u);
        ASSERT_EQ(registry.setValue(key, u"Last CommandLine", s::platform::kRegSz,
                                    reinterpret_cast<const std::byte*>(line.c_str()),
                                    static_cast<std::uint32_t>((line.size() + 1) * sizeof(char16_t))),
                  0u);
    }

    std::u16string m_ini;
};

std::string utf8Of(const std::u16string& text)
{
    return narrow(text);
}

TEST_F(OtherProgramsFiles, AFirefoxProfileInAProtectedPlaceIsNotTaken)
{
    const std::u16string prof = box.path(u"users\\prof");
    machine.pointProfileAt(prof);
    struct Case {
        const char* what;
        std::string path;
        int relative;
        bool taken;
    };
    const Case cases[] = {
        {"the user's profile", utf8Of(prof), 0, false},
        {"the Documents folder", utf8Of(prof) + "\\Documents", 0, false},
        {"a drive root", "C:\\", 0, false},
        {"a relative path given as absolute", "Profiles\\x.default", 0, false},
        {"a drive's current folder", "C:Profiles", 0, false},
        {"climbing out of the Firefox folder", "..\\..\\..", 1, false},
        {"an ordinary relative profile", "Profiles/abc.default", 1, true},
        {"an ordinary absolute profile", utf8Of(box.path(u"ff\\abc.default")), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeProfilesIni(c.path, c.relative);
        Text cache;
        Text cookies;
        findFirefoxPaths(&cache, nullptr, nullptr, &cookies, nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(!cache.isEmpty(), c.taken) << narrow(cache.view());
        EXPECT_EQ(!cookies.isEmpty(), c.taken) << narrow(cookies.view());
    }
}

TEST_F(OtherProgramsFiles, AnOperaFolderInAProtectedPlaceIsNotTaken)
{
    const std::u16string prof = box.path(u"users\\prof");
    const std::u16string win = box.path(u"win");
    machine.pointProfileAt(prof);
    machine.pointWindowsFolderAt(win);
    struct Case {
        const char* what;
        std::u16string commandLine;
        bool taken;
    };
    const Case cases[] = {
        {"the Windows folder", u"\"" + win + u"\\opera.exe\" -url x", false},
        {"the profile", u"\"" + prof + u"\\opera.exe\"", false},
        {"a drive root", u"C:\\opera.exe", false},
        {"a relative folder", u"\"Opera\\opera.exe\"", false},
        {"an ordinary install folder", u"\"" + box.path(u"Opera") + u"\\opera.exe\" -url x", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeOperaCommandLine(c.commandLine);
        Text install;
        EXPECT_EQ(findOperaInstallFolder(install) != 0, c.taken) << narrow(install.view());
        // Refused, the profile stays where Opera keeps it by default.
        Text cookies;
        findOperaPaths(nullptr, &cookies, nullptr, nullptr, nullptr, nullptr);
        if (!c.taken) {
            EXPECT_TRUE(cookies.startsWithIgnoreCase(platformFolder(PlatformFolder::AppData).view()))
                << narrow(cookies.view());
        }
    }
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo

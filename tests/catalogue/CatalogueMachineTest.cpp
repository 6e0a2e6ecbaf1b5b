// The groups and finders that look at the machine, on the fakes natively and
// on the Wine prefix: hotfix folders with and without their uninstall entry,
// the Firefox profile from profiles.ini, Opera's profile from its
// registration and ini files.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"

#include "catalogue/HotfixHandlers.h"
#include "catalogue/SpecialHandlers.h"
#include "platform/RegFunctions.h"
#include "platform/Win32Codes.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/support/CatalogueMachine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using purgo::PlatformFolder;
using s::platform::RootKey;

namespace {

std::u16string folder(PlatformFolder which, std::u16string_view rest = {})
{
    std::u16string path = purgo::platformFolder(which).toU16String();
    path += rest;
    return path;
}

std::u16string lower(std::u16string text)
{
    for (char16_t& unit : text)
        if (unit >= u'A' && unit <= u'Z')
            unit = static_cast<char16_t>(unit + 32);
    return text;
}

bool makeKey(RootKey root, const std::u16string& path)
{
    s::platform::RegKey key;
    return s::platform::regFunctions().createKey(root, path.c_str(), s::platform::kKeyAllAccess, key) ==
           s::platform::kErrorSuccess;
}

bool setText(RootKey root, const std::u16string& path, const char16_t* name, std::u16string_view text)
{
    s::platform::RegKey key;
    auto& reg = s::platform::regFunctions();
    if (reg.createKey(root, path.c_str(), s::platform::kKeyAllAccess, key) != s::platform::kErrorSuccess)
        return false;
    std::u16string data(text);
    return reg.setValue(key, name, s::platform::kRegSz, reinterpret_cast<const std::byte*>(data.c_str()),
                        static_cast<std::uint32_t>((data.size() + 1) * sizeof(char16_t))) == s::platform::kErrorSuccess;
}

void dropKey(RootKey root, const std::u16string& path)
{
    s::platform::regFunctions().deleteKey(root, path.c_str());
}

const std::u16string kUninstall = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class CatalogueMachineTest : public ::testing::Test {
protected:
    void SetUp() override { setUpMachine(); }
    void TearDown() override
    {
        for (const auto& path : m_paths)
            removePath(path);
        for (auto it = m_keys.rbegin(); it != m_keys.rend(); ++it)
            dropKey(it->first, it->second);
    }
    // Made by the test, removed after it.
    std::u16string made(std::u16string path)
    {
        m_paths.push_back(path);
        return path;
    }
    void madeKey(RootKey root, std::u16string path) { m_keys.emplace_back(root, std::move(path)); }

private:
    std::vector<std::u16string> m_paths;
    std::vector<std::pair<RootKey, std::u16string>> m_keys;
};

TEST_F(CatalogueMachineTest, HotFixFoldersNeedTheirUninstallEntry)
{
    const std::u16string windows = folder(PlatformFolder::Windows);
    ASSERT_FALSE(windows.empty());
    // A hotfix Windows still lists, one without its entry, a name too short
    // to hold a KB (its "KB" would be empty, and the Uninstall key itself
    // opens), and a file of a hotfix's name.
    ASSERT_TRUE(makeFolder(made(windows + u"\\$NtUninstallKB123456$")));
    ASSERT_TRUE(makeFolder(made(windows + u"\\$NtUninstallKB765432$")));
    ASSERT_TRUE(makeFolder(made(windows + u"\\$NtUninstall$")));
    ASSERT_TRUE(writeIniFile(made(windows + u"\\$NtUninstallKB111111$"), "not a folder"));
    ASSERT_TRUE(makeKey(RootKey::LocalMachine, kUninstall + u"KB123456"));
    madeKey(RootKey::LocalMachine, kUninstall + u"KB123456");
    ASSERT_TRUE(makeKey(RootKey::LocalMachine, kUninstall + u"KB111111"));
    madeKey(RootKey::LocalMachine, kUninstall + u"KB111111");

    BuiltTree tree(englishLocalizer());
    const TimeRecord* group = tree.group(u"WindowsUpdateHotFixUninstallers");
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->childCount(), 1u);
    const TimeRecord& target = *group->child(0);
    EXPECT_EQ(utf8(target.id), "_KB123456");
    EXPECT_EQ(utf8(target.title), "KB123456");
    EXPECT_EQ(plainSpaces(target.description), "(All Under Folder and Self) ");
    EXPECT_EQ(target.kind, purgo::Type_File_Func);
    EXPECT_EQ(target.countHandler, static_cast<purgo::TargetCountHandler>(&purgo::hotfixCount));
    EXPECT_EQ(target.cleanHandler, static_cast<purgo::TargetCleanHandler>(&purgo::hotfixClean));
    EXPECT_EQ(target.existsHandler, &purgo::folderExists);
    EXPECT_EQ(target.lookUpHandler, &purgo::folderLookUp);
    EXPECT_EQ(utf8(target.iconSpec), utf8(folder(PlatformFolder::System, u"\\shell32.dll,4")));
    const auto* kb = reinterpret_cast<const Text*>(target.handlerData);
    ASSERT_NE(kb, nullptr);
    EXPECT_EQ(utf8(*kb), "KB123456");

    // A second build hands out the same text, so the list does not grow.
    BuiltTree again(englishLocalizer());
    ASSERT_EQ(again.group(u"WindowsUpdateHotFixUninstallers")->childCount(), 1u);
    EXPECT_EQ(again.group(u"WindowsUpdateHotFixUninstallers")->child(0)->handlerData, target.handlerData);
}

TEST_F(CatalogueMachineTest, HotFixGroupWithoutFoldersIsEmpty)
{
    BuiltTree tree(englishLocalizer());
    const TimeRecord* group = tree.group(u"WindowsUpdateHotFixUninstallers");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->childCount(), 0u);
}

struct FirefoxPaths {
    Text cache, localCache, cookiesTxt, cookiesSqlite, historyDat, downloadsRdf, downloadsSqlite, formDat, formSqlite;
    FirefoxPaths()
    {
        purgo::findFirefoxPaths(&cache, &localCache, &cookiesTxt, &cookiesSqlite, &historyDat, &downloadsRdf,
                                &downloadsSqlite, &formDat, &formSqlite);
    }
};

TEST_F(CatalogueMachineTest, FirefoxProfileFromProfilesIni)
{
    const std::u16string base = folder(PlatformFolder::AppData, u"\\Mozilla\\Firefox\\");
    const std::u16string localBase = folder(PlatformFolder::LocalAppData, u"\\Mozilla\\Firefox\\");
    const std::u16string ini = made(base + u"profiles.ini");
    made(localBase);

    struct Case {
        const char* name;
        const char* ini;  // nullptr: no profiles.ini
        std::u16string profile;
        std::u16string cache;
        std::u16string localCache;
        std::u16string cookiesSqlite;
    };
    const std::u16string abc = u"Profiles\\abc.default";
    const Case cases[] = {
        {"relative",
         "[General]\nStartWithLastProfile=1\n\n[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/abc.default\n",
         base + abc, base + abc + u"\\Cache", localBase + abc + u"\\Cache", base + abc + u"\\cookies.sqlite"},
        {"absolute", "[Profile0]\nIsRelative=0\nPath=D:/ff\n", u"D:\\ff", u"D:\\ff\\Cache", localBase + u"Cache",
         u"D:\\ff\\cookies.sqlite"},
        // A profile in the local folder itself has no second cache.
        {"absolute in the local folder", nullptr, {}, {}, {}, {}},
        {"no profiles.ini", nullptr, base, base + u"Cache\\", u"", base + u"cookies.sqlite"},
        {"no Profile0", "[Profile1]\nIsRelative=1\nPath=Profiles/x\n", base, base + u"Cache\\", u"",
         base + u"cookies.sqlite"},
        {"no IsRelative", "[Profile0]\nPath=Profiles/x\n", base, base + u"Cache\\", u"", base + u"cookies.sqlite"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removePath(ini);
        std::u16string profile = c.profile;
        std::u16string cache = c.cache;
        std::u16string localCache = c.localCache;
        std::u16string cookies = c.cookiesSqlite;
        if (std::string(c.name) == "absolute in the local folder") {
            std::string local = utf8(localBase.substr(0, localBase.size() - 1));
            ASSERT_TRUE(writeIniFile(ini, "[Profile0]\nIsRelative=0\nPath=" + local + "\n"));
            profile = localBase.substr(0, localBase.size() - 1);
            cache = profile + u"\\Cache";
            localCache = u"";
            cookies = profile + u"\\cookies.sqlite";
        } else if (c.ini) {
            ASSERT_TRUE(writeIniFile(ini, c.ini));
        }
        FirefoxPaths paths;
        const bool hasProfile = profile != base;
        const std::u16string sep = hasProfile ? u"\\" : u"";
        EXPECT_EQ(utf8(paths.cache), utf8(cache));
        EXPECT_EQ(utf8(paths.localCache), utf8(localCache));
        EXPECT_EQ(utf8(paths.cookiesSqlite), utf8(cookies));
        EXPECT_EQ(utf8(paths.cookiesTxt), utf8(profile + sep + u"Cookies.txt"));
        EXPECT_EQ(utf8(paths.historyDat), utf8(profile + sep + u"History.dat"));
        EXPECT_EQ(utf8(paths.downloadsRdf), utf8(profile + sep + u"downloads.rdf"));
        EXPECT_EQ(utf8(paths.downloadsSqlite), utf8(profile + sep + u"downloads.sqlite"));
        EXPECT_EQ(utf8(paths.formDat), utf8(profile + sep + u"formhistory.dat"));
        EXPECT_EQ(utf8(paths.formSqlite), utf8(profile + sep + u"formhistory.sqlite"));
    }
}

// Only the outputs asked for are touched.
TEST_F(CatalogueMachineTest, FirefoxOutputsAreOptional)
{
    Text cookies = u"old";
    Text history = u"untouched";
    purgo::findFirefoxPaths(nullptr, nullptr, nullptr, &cookies, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(utf8(cookies), utf8(folder(PlatformFolder::AppData, u"\\Mozilla\\Firefox\\cookies.sqlite")));
    EXPECT_EQ(utf8(history), "untouched");
}

// The second cache target appears only when its folder is there.
TEST_F(CatalogueMachineTest, FirefoxLocalCacheOnlyWhenItExists)
{
    const std::u16string base = folder(PlatformFolder::AppData, u"\\Mozilla\\Firefox\\");
    const std::u16string localBase = folder(PlatformFolder::LocalAppData, u"\\Mozilla\\Firefox\\");
    ASSERT_TRUE(writeIniFile(made(base + u"profiles.ini"), "[Profile0]\nIsRelative=1\nPath=Profiles/abc.default\n"));
    made(localBase);
    const std::u16string localCache = localBase + u"Profiles\\abc.default\\Cache";
    for (bool exists : {false, true}) {
        SCOPED_TRACE(exists ? "local cache there" : "no local cache");
        if (exists) {
            ASSERT_TRUE(makeFolder(localCache));
        }
        BuiltTree tree(englishLocalizer());
        const TimeRecord* group = tree.group(u"FirefoxCacheFile");
        ASSERT_NE(group, nullptr);
        ASSERT_EQ(group->childCount(), exists ? 2u : 1u);
        EXPECT_EQ(utf8(group->child(0)->id), "Cache01");
        EXPECT_EQ(group->child(0)->kind, purgo::Type_Folder_1_Level);
        EXPECT_EQ(utf8(group->child(0)->target), utf8(base + u"Profiles\\abc.default\\Cache"));
        if (exists) {
            EXPECT_EQ(utf8(group->child(1)->id), "Cache02");
            EXPECT_EQ(group->child(1)->kind, purgo::Type_Folder_1_Level);
            EXPECT_EQ(utf8(group->child(1)->target), utf8(localCache));
        }
        const TimeRecord* cookies = tree.group(u"FirefoxCookie");
        ASSERT_EQ(cookies->childCount(), 2u);
        EXPECT_EQ(utf8(cookies->child(1)->id), "Cookies_Sqlite");
        EXPECT_EQ(utf8(cookies->child(1)->target), utf8(base + u"Profiles\\abc.default\\cookies.sqlite"));
    }
}

struct OperaPaths {
    Text cache, cookies, global, visited, downloadList, downloadFolder;
    OperaPaths() { purgo::findOperaPaths(&cache, &cookies, &global, &visited, &downloadList, &downloadFolder); }
};

void expectOperaProfile(const OperaPaths& paths, const std::u16string& profile, const std::u16string& cache)
{
    EXPECT_EQ(utf8(paths.cache), utf8(cache));
    EXPECT_EQ(utf8(paths.cookies), utf8(profile + u"cookies4.dat"));
    EXPECT_EQ(utf8(paths.global), utf8(profile + u"global.dat"));
    EXPECT_EQ(utf8(paths.visited), utf8(profile + u"vlink4.dat"));
    EXPECT_EQ(utf8(paths.downloadList), utf8(profile + u"download.dat"));
    EXPECT_EQ(utf8(paths.downloadFolder), utf8(profile + u"download"));
}

TEST_F(CatalogueMachineTest, OperaUnregisteredKeepsTheDefaults)
{
    Text install = u"untouched";
    EXPECT_EQ(purgo::findOperaInstallFolder(install), 0);
    EXPECT_EQ(utf8(install), "untouched");
    const std::u16string profile = folder(PlatformFolder::AppData, u"\\Opera\\Opera\\profile\\");
    expectOperaProfile(OperaPaths(), profile, profile + u"Cache4");
}

TEST_F(CatalogueMachineTest, OperaInstallFolderFromItsRegistration)
{
    const std::u16string opera = folder(PlatformFolder::ProgramFiles, u"\\Opera Test\\");
    struct Case {
        const char* name;
        RootKey root;
        std::u16string key;
        const char16_t* value;
        std::u16string text;
        std::u16string expected;
    };
    const std::u16string hkcuKey = u"Software\\Opera Software";
    const Case cases[] = {
        {"uninstall entry", RootKey::LocalMachine, kUninstall + u"Opera", u"UninstallString",
         opera + u"Uninst\\uninstall.exe", lower(opera)},
        {"last command line v2, quoted", RootKey::CurrentUser, hkcuKey, u"Last CommandLine v2",
         u"\"" + opera + u"Opera.exe\" -newpage", lower(opera)},
        {"last command line", RootKey::CurrentUser, hkcuKey, u"Last CommandLine", opera + u"opera.exe", lower(opera)},
        {"neither marker", RootKey::CurrentUser, hkcuKey, u"Last CommandLine", u"C:\\somewhere\\browser.exe", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(setText(c.root, c.key, c.value, c.text));
        Text install;
        int length = purgo::findOperaInstallFolder(install);
        EXPECT_EQ(utf8(install), utf8(c.expected));
        EXPECT_EQ(length, static_cast<int>(c.expected.size()));
        dropKey(c.root, c.key);
    }
}

TEST_F(CatalogueMachineTest, OperaProfileByItsIniFiles)
{
    const std::u16string opera = folder(PlatformFolder::ProgramFiles, u"\\Opera Test\\");
    const std::u16string install = lower(opera);
    made(opera);
    ASSERT_TRUE(setText(RootKey::LocalMachine, kUninstall + u"Opera", u"UninstallString", opera + u"uninst.exe"));
    madeKey(RootKey::LocalMachine, kUninstall + u"Opera");
    const std::u16string appData = folder(PlatformFolder::AppData);
    const std::u16string defaultCache = appData + u"\\Opera\\Opera\\profile\\Cache4";
    made(appData + u"\\Opera");

    struct Case {
        const char* name;
        const char* operadef;  // nullptr: no operadef6.ini
        bool profileFolder;    // install folder + "profile" exists
        bool operaFolder;      // AppData\Opera\OPERA\profile exists
        std::u16string profile;
    };
    const Case cases[] = {
        {"no operadef6.ini", nullptr, false, false, install},
        {"single user", "[System]\nMulti User=0\n", false, false, install},
        {"single user with a profile folder", "[System]\nMulti User=0\n", true, false, install + u"profile\\"},
        {"a value but 1", "[System]\nMulti User=yes\n", true, false, install + u"profile\\"},
        {"multi user", "[System]\nMulti User=1\n", false, true, appData + u"\\Opera\\OPERA\\profile\\"},
        {"multi user, Opera 7", "[System]\nMulti User=1\n", false, false, appData + u"\\Opera\\OPERA7\\profile\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removePath(opera + u"operadef6.ini");
        removePath(opera + u"profile");
        removePath(appData + u"\\Opera\\OPERA");
        if (c.operadef) {
            ASSERT_TRUE(writeIniFile(opera + u"operadef6.ini", c.operadef));
        }
        if (c.profileFolder) {
            ASSERT_TRUE(makeFolder(opera + u"profile"));
        }
        if (c.operaFolder) {
            ASSERT_TRUE(makeFolder(appData + u"\\Opera\\OPERA\\profile"));
        }
        expectOperaProfile(OperaPaths(), c.profile, c.profile + u"Cache4");
    }

    // The cache moves into the profile only when opera6.ini names none.
    removePath(opera + u"operadef6.ini");
    ASSERT_TRUE(writeIniFile(opera + u"opera6.ini", "[User Prefs]\nCache Directory4=E:\\cache\n"));
    expectOperaProfile(OperaPaths(), install, defaultCache);
    ASSERT_TRUE(writeIniFile(opera + u"opera6.ini", "[User Prefs]\nOther=1\n"));
    expectOperaProfile(OperaPaths(), install, install + u"Cache4");

    BuiltTree tree(englishLocalizer());
    struct Expect {
        const char16_t* group;
        const char16_t* id;
        purgo::TargetKind kind;
        std::u16string path;
    };
    const Expect rows[] = {
        {u"OperaCacheFile", u"Cache4", purgo::Type_Folder_1_Level, install + u"Cache4"},
        {u"OperaCookies", u"Cookies4_Dat", purgo::Type_File, install + u"cookies4.dat"},
        {u"OperaHistory", u"Global_Dat", purgo::Type_File, install + u"global.dat"},
        {u"OperaVisitedLinks", u"Vlink4_Dat", purgo::Type_File, install + u"vlink4.dat"},
        {u"OperaDownloadHistory", u"Download_dat", purgo::Type_File, install + u"download.dat"},
        {u"OperaDownloadedFiles", u"Download", purgo::Type_Folder_All_Levels, install + u"download"},
    };
    for (const Expect& e : rows) {
        const TimeRecord* group = tree.group(e.group);
        ASSERT_NE(group, nullptr);
        ASSERT_EQ(group->childCount(), 1u) << utf8(e.group);
        EXPECT_EQ(utf8(group->child(0)->id), utf8(e.id));
        EXPECT_EQ(group->child(0)->kind, e.kind);
        EXPECT_EQ(utf8(group->child(0)->target), utf8(e.path));
    }
}

}  // namespace

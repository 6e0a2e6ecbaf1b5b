// The built-in catalogue: its shape (groups, order, titles, the number of
// targets of each kind), the rows that matter most written out in full, the
// groups that look at the machine, and a safety review of every fixed path.
// Everything runs against the fakes natively and against the Wine prefix;
// the cases that need drives or folders Wine cannot fake run natively only
// (CatalogueFakeTest_fake.cpp).
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"

#include "base/XmlNode.h"
#include "catalogue/CookieSites.h"
#include "catalogue/MruHandlers.h"
#include "catalogue/SpecialHandlers.h"
#include "platform/FileIo.h"
#include "platform/RegFunctions.h"
#include "platform/Resources.h"
#include "platform/SystemInfo.h"
#include "settings/MappedData.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/support/CatalogueMachine.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using purgo::PlatformFolder;
using purgo::Text;
using purgo::TimeRecord;

namespace {

struct GroupListing {
    const char16_t* id;
    const char* englishTitle;
};

// The built-in groups in list order with their English titles.
const GroupListing kGroupListing[] = {
    {u"SystemTemporaryFolder", "User Temporary Folder (Files)"},
    {u"WindowsUpdateTemporaryFolder", "Windows Update (Temporary Files)"},
    {u"WindowsUpdateHotFixUninstallers", "Windows Update (HotFix Uninstallers)"},
    {u"IEInternetCacheFiles", "IE (Cache Files)"},
    {u"IEInternetCookies", "IE (Cookies)"},
    {u"IEInternetHistory", "IE (Browse History)"},
    {u"ChromeCacheFile", "Chrome (Cache Files)"},
    {u"ChromeCookie", "Chrome (Cookies)"},
    {u"ChromeHistory", "Chrome (Browse History)"},
    {u"ChromeCurrentTabs", "Chrome (Current Tabs)"},
    {u"FirefoxCacheFile", "Firefox (Cache Files)"},
    {u"FirefoxCookie", "Firefox (Cookies)"},
    {u"FirefoxHistory", "Firefox ~v 3.0 (Browse History)"},
    {u"FirefoxDownloadHistory", "Firefox (Download History)"},
    {u"FirefoxFormHistory", "Firefox (Form Input History)"},
    {u"OperaCacheFile", "Opera (Cache Files)"},
    {u"OperaCookies", "Opera (Cookies)"},
    {u"OperaHistory", "Opera (Browse History)"},
    {u"OperaVisitedLinks", "Opera (Visited Links)"},
    {u"OperaDownloadHistory", "Opera (Download History)"},
    {u"OperaDownloadedFiles", "Opera (Downloaded Files)"},
    {u"RecentDocuments", "Recent Documents (History)"},
    {u"FindDocumentList", "Document Search (History)"},
    {u"FindComputerList", "Computer Search (History)"},
    {u"RunList", "Run... (History)"},
    {u"URLsInIEAddressBar", "IE (Address Bar) (History)"},
    {u"URLsInShellAddressBar", "Shell Address Bar (History)"},
    {u"MediaPlayerRecentURLs", "Media Player (History)"},
    {u"WinZip", "WinZip (History)"},
    {u"PaintRecentFiles", "Paint (History)"},
    {u"WordPadRecentFiles", "WordPad (History)"},
    {u"RecycleBin", "Recycle Bin (Files)"},
    {u"_7ZipHistory", "7-Zip (History)"},
    {u"AbilityOffice4RecentFiles", "Ability Office 4 (History)"},
    {u"AbiWordMRU", "AbiWord (History)"},
    {u"ACDSee", "ACDSee (Favorites, History)"},
    {u"AcrobatReader4_5x_6_8", "Acrobat Reader 4/5.x/6/8 (History)"},
    {u"LavasoftAdAware", "Lavasoft Ad-Aware (Log & Quarantined Files)"},
    {u"AdobePageMill20", "Adobe PageMill 2.0 (History)"},
    {u"AgentNewsReader", "Agent NewsReader (History)"},
    {u"Alcohol120", "Alcohol 120% (Log Files & History)"},
    {u"JASCAnimationShop30", "JASC Animation Shop 3.0 (History)"},
    {u"AOLToolbar", "AOL Toolbar (History)"},
    {u"GrisoftAVG7", "Grisoft AVG 7 (Update Files)"},
    {u"AXIcons4x", "AX-Icons 4.x (History)"},
    {u"BearShare", "BearShare (Files)"},
    {u"CommonDialogMRUs", "Common Dialog (History)"},
    {u"Copernic2001Basic_Plus_Pro", "Copernic 2001 Basic/Plus/Pro (History)"},
    {u"CuteFTP40", "CuteFTP 4.0 (Log Files & History)"},
    {u"CuteHTML", "CuteHTML (History)"},
    {u"CutePDFWriter", "CutePDF Writer (History)"},
    {u"Diskeeper50", "Diskeeper 5.0 (Log Files)"},
    {u"DivxPlayer", "Divx Player (History)"},
    {u"DownloadExpress", "DownloadExpress (History)"},
    {u"DriveImage6", "Drive Image 6 (History)"},
    {u"EditPad", "EditPad (History)"},
    {u"EditPlus2", "EditPlus2 (History)"},
    {u"Flash5", "Flash 5 (History)"},
    {u"FlashPlayer", "Flash Player (Cookies)"},
    {u"FlashGet", "Flash Get (History)"},
    {u"FotoCanvasLite", "FotoCanvas Lite (History)"},
    {u"FoxitPDFReader", "Foxit PDF Reader (History)"},
    {u"FreshDownload", "FreshDownload (History)"},
    {u"Gigaget", "Gigaget (History)"},
    {u"GoldWaveHistory", "GoldWave (History)"},
    {u"GoogleEarth", "Google Earth (Cache Files & History)"},
    {u"GoogleToolBar", "Google Toolbar (History)"},
    {u"ICQ2000AB", "ICQ 2000A/B (Cache Files)"},
    {u"IEAutocompleteFormHistory", "IE (Form Input History)"},
    {u"InnoSetup", "Inno Setup (History)"},
    {u"IZArcHistory", "IZArc (History)"},
    {u"Juno", "Juno (History)"},
    {u"LotusSmartSuite96__97__9_5__9_6__9_7", "Lotus SmartSuite 96/97/9.5/9.6/9.7 (History)"},
    {u"MacromediaDreamweaver40", "Macromedia Dreamweaver 4.0 (History)"},
    {u"MapNetworkDriveMRU", "Network Drive Access (History)"},
    {u"MassDownload", "Mass Download (History)"},
    {u"MediaPlayerClassic", "Media Player Classic (History)"},
    {u"Metapad", "Metapad (History)"},
    {u"Microangelo", "Microangelo (History)"},
    {u"MicrosoftAntispyware", "Microsoft Antispyware (Log Files)"},
    {u"MicrosoftFrontPageExpress", "Microsoft FrontPage Express (History)"},
    {u"Imaging", "MS Imaging (History)"},
    {u"MSNToolbar", "MSN Toolbar (History)"},
    {u"MicrosoftPhotoEditor", "Microsoft Photo Editor (History)"},
    {u"MicrosoftPublisher", "Microsoft Publisher (History)"},
    {u"MicrosoftWorks45_2000_6_7", "Microsoft Works 4.5/2000/6/7 (History)"},
    {u"MusicMatchJukebox", "MusicMatch Jukebox (Library)"},
    {u"Nero", "Nero (Cache Files & History)"},
    {u"Netants", "Netants (History)"},
    {u"NetCaptor", "NetCaptor (History)"},
    {u"NetscapeToolbar", "Netscape Toolbar (History)"},
    {u"NetZero", "NetZero (History)"},
    {u"Office95_97_2000_XP_2003_Recent_Files", "Office 95/97/2000/XP/2003 (History)"},
    {u"OpenOfficeMRU", "OpenOffice (History)"},
    {u"PaintShopProPhotoXI", "Paint Shop Pro Photo XI (History)"},
    {u"PaintShopPro7_8_9", "Paint Shop Pro 7/8/9 (History)"},
    {u"PakscapeRecentFilesRemover", "Pakscape (History)"},
    {u"PopThis", "PopThis (History)"},
    {u"PowerArchiver", "PowerArchiver (History)"},
    {u"PowerDVD", "PowerDVD (History)"},
    {u"PowerZip60", "PowerZip 6.0 (History)"},
    {u"QuicktimePlayer", "Quicktime Player (History)"},
    {u"RealOne", "RealOne (History)"},
    {u"Realplayer80", "Realplayer 8.0 (History)"},
    {u"RegCleaner", "RegCleaner (Backup Files)"},
    {u"RegeditRecentKey", "Regedit (History)"},
    {u"SearchHistoryForWindows2000_XP", "Windows (Search) (History)"},
    {u"SerifPhotoPlus6", "Serif PhotoPlus 6 (History)"},
    {u"SetupFactory", "Setup Factory (History)"},
    {u"Sibelius5", "Sibelius 5 (History)"},
    {u"SmartDraw6", "SmartDraw 6 (History)"},
    {u"Software602", "Software602 (History)"},
    {u"Sonique", "Sonique (History)"},
    {u"SpybotSD", "Spybot S&D (Log Files)"},
    {u"SpySweeper", "Spy Sweeper (Temporary Files)"},
    {u"SpywareDoctor", "Spyware Doctor (Log & Quarantined Files)"},
    {u"SunJavaCache", "Java (Sun) (Cache Files)"},
    {u"SwiffPlayer", "Swiff Player (History)"},
    {u"SWiSH20", "SWiSH 2.0 (History)"},
    {u"ThePlaya", "The Playa (History)"},
    {u"UleadGIFAnimator", "Ulead GIF Animator (History)"},
    {u"VNCViewer", "VNC Viewer (IP List)"},
    {u"WebFerret", "WebFerret (History)"},
    {u"WinAce", "WinAce (History)"},
    {u"Winamp", "Winamp (History)"},
    {u"WindowsMemoryDump", "Windows (Memory Dump Files)"},
    {u"WinImpHistory", "WinImp (History)"},
    {u"WindowsLogFiles", "Windows (Log Files)"},
    {u"WinRar", "WinRar (History)"},
    {u"WindowsTemp", "Windows (Temporary Folder) (Files)"},
    {u"WordPerfect7_8_9_10_11", "WordPerfect 7/8/9/10/11 (History)"},
    {u"WinXPPrefetchClean", "Windows Prefetch (Cache Files)"},
    {u"YahooMessenger", "Yahoo! Messenger (Cache Files & History)"},
    {u"ZoneAlarmLogFile", "Zone Alarm (Log Files)"},
    // Added after the first catalogue's groups.
    {u"EdgeCacheFile", "Edge (Cache Files)"},
    {u"EdgeCookie", "Edge (Cookies)"},
    {u"EdgeHistory", "Edge (Browse History)"},
    {u"BraveCacheFile", "Brave (Cache Files)"},
    {u"BraveCookie", "Brave (Cookies)"},
    {u"BraveHistory", "Brave (Browse History)"},
    {u"VivaldiCacheFile", "Vivaldi (Cache Files)"},
    {u"VivaldiCookie", "Vivaldi (Cookies)"},
    {u"VivaldiHistory", "Vivaldi (Browse History)"},
    {u"ChromiumCacheFile", "Chromium (Cache Files)"},
    {u"ChromiumCookie", "Chromium (Cookies)"},
    {u"ChromiumHistory", "Chromium (Browse History)"},
    {u"OperaGXCacheFile", "Opera GX (Cache Files)"},
    {u"OperaGXCookie", "Opera GX (Cookies)"},
    {u"OperaGXHistory", "Opera GX (Browse History)"},
    {u"WindowsErrorReporting", "Windows Error Reporting (Log Files)"},
    {u"WindowsCrashDumps", "Windows Crash Dumps (Files)"},
    {u"ExplorerThumbnailCache", "Windows Explorer (Cache Files)"},
    {u"DirectXShaderCache", "DirectX Shader (Cache Files)"},
    {u"DeliveryOptimization", "Delivery Optimization (Cache Files)"},
    {u"WindowsUpdateLogFiles", "Windows Update (Log Files)"},
};

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { setUpMachine(); }
};

TEST_F(CatalogueTest, GroupsInOrderWithEnglishTitlesAndUniqueIds)
{
    BuiltTree tree(englishLocalizer());
    ASSERT_EQ(tree.groups.size(), std::size(kGroupListing));
    ASSERT_EQ(tree.groups.size(), static_cast<std::size_t>(purgo::kCatalogueGroupCount));
    std::set<std::u16string> seen;
    for (std::size_t i = 0; i < tree.groups.size(); ++i) {
        const TimeRecord& group = *tree.groups[i];
        SCOPED_TRACE(::testing::Message() << "group " << i + 1 << " " << utf8(kGroupListing[i].id));
        EXPECT_EQ(utf8(group.id), utf8(kGroupListing[i].id));
        EXPECT_EQ(plainSpaces(group.title), kGroupListing[i].englishTitle);
        EXPECT_TRUE(seen.insert(group.id.toU16String()).second) << "id used twice";
        EXPECT_FALSE(group.isTarget);
        EXPECT_FALSE(group.checked);
        EXPECT_EQ(group.parent, nullptr);
        for (std::size_t c = 0; c < group.childCount(); ++c) {
            EXPECT_EQ(group.child(c)->parent, &group);
            EXPECT_TRUE(group.child(c)->isTarget);
        }
    }
}

// After a change of language the built-in rows read as a tree built in the
// new language; a custom group keeps the user's own words.
TEST_F(CatalogueTest, ALanguageChangeRetitlesTheBuiltInGroups)
{
    std::unique_ptr<s::lang::Localizer> lang(loadProgramTable());
    lang->select(u"English");
    BuiltTree english(*lang);
    TimeRecord* custom = TimeRecord::makeGroup(u"MyOwn", u"My own words", u"Mine");
    custom->custom = true;
    english.groups.push_back(custom);
    lang->select(u"German");
    purgo::retitleBuiltinGroups(english.groups, *lang);
    BuiltTree german(*lang);
    ASSERT_EQ(english.groups.size(), german.groups.size() + 1);
    for (std::size_t i = 0; i < german.groups.size(); ++i) {
        const TimeRecord& was = *english.groups[i];
        const TimeRecord& now = *german.groups[i];
        SCOPED_TRACE(utf8(now.id));
        EXPECT_EQ(utf8(was.title), utf8(now.title));
        EXPECT_EQ(utf8(was.description), utf8(now.description));
        ASSERT_EQ(was.childCount(), now.childCount());
        for (std::size_t c = 0; c < now.childCount(); ++c)
            EXPECT_EQ(utf8(was.child(c)->title), utf8(now.child(c)->title)) << utf8(now.child(c)->id);
    }
    EXPECT_NE(utf8(english.groups[0]->title), "User Temporary Folder (Files)") << "the titles did change";
    EXPECT_EQ(utf8(custom->title), "My own words");
}

// Every folder the paths start from is known, and the program knows its own
// path for the icons.
TEST_F(CatalogueTest, PlatformFoldersResolve)
{
    using enum PlatformFolder;
    for (PlatformFolder folder : {Temp, Windows, System, ProgramFiles, AppData, LocalAppData, CommonAppData}) {
        const Text& path = purgo::platformFolder(folder);
        SCOPED_TRACE(static_cast<int>(folder));
        EXPECT_GT(path.length(), 3);
        EXPECT_EQ(path.charAt(1), u':');
        EXPECT_NE(path.last(), u'\\');
    }
    EXPECT_TRUE(purgo::ownModulePath().endsWithIgnoreCase(u".exe")) << utf8(purgo::ownModulePath());
}

// The user's custom groups lead the list, the built-in groups follow.
TEST_F(CatalogueTest, CustomGroupsLeadTheList)
{
    testing_platform::ScratchFolder scratch;
    const s::str::StrBuffer path = scratch.join(u"SaveData.xml");
    scratch.putFile(u"SaveData.xml",
                    R"(<savedata><CustomItems NumOfCustom="2" CustomID="7">)"
                    R"(<_0 ID="Custom3" Title="003 Logs" CustomRecordID="3" NumOfChildren="1">)"
                    R"(<_0 ID="Custom_3_1" TargetType="Type_Folder_1_Level" Target="C:\Logs"></_0></_0>)"
                    R"(<_1 ID="Custom7" Title="007 Empty" CustomRecordID="7"></_1>)"
                    R"(</CustomItems></savedata>)");
    s::xml::MappedDataHandle store = s::xml::openFileStore(path, s::platform::fileIo());
    ASSERT_TRUE(store);
    std::vector<TimeRecord*> list;
    purgo::buildCatalogue(list, englishLocalizer(), *store);
    ASSERT_EQ(list.size(), 2u + purgo::kCatalogueGroupCount);
    EXPECT_EQ(utf8(list[0]->id), "Custom3");
    EXPECT_TRUE(list[0]->custom);
    EXPECT_EQ(list[0]->childCount(), 1u);
    EXPECT_EQ(utf8(list[1]->id), "Custom7");
    EXPECT_TRUE(list[1]->custom);
    EXPECT_EQ(utf8(list[2]->id), "SystemTemporaryFolder");
    EXPECT_FALSE(list[2]->custom);
    purgo::forgetCookieSites();
    for (TimeRecord* group : list)
        group->release();
}

// Without a custom record the list starts with the built-in groups.
TEST_F(CatalogueTest, NoCustomGroups)
{
    testing_platform::ScratchFolder scratch;
    s::xml::MappedDataHandle store = s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo());
    ASSERT_TRUE(store);
    std::vector<TimeRecord*> list;
    purgo::buildCatalogue(list, englishLocalizer(), *store);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(purgo::kCatalogueGroupCount));
    EXPECT_EQ(utf8(list[0]->id), "SystemTemporaryFolder");
    purgo::forgetCookieSites();
    for (TimeRecord* group : list)
        group->release();
}

// Descriptions follow the same rules as titles; one group of each rule.
TEST_F(CatalogueTest, DescriptionsByRule)
{
    struct Case {
        const char16_t* group;
        const char* description;
    };
    const Case cases[] = {
        {u"SystemTemporaryFolder", "Erase User Temporary Folder Files"},
        {u"WindowsUpdateHotFixUninstallers", "Erase Windows Update (HotFix Uninstallers)"},
        {u"ChromeHistory", "Erase Chrome Browse History"},
        {u"FirefoxHistory", "Erase Firefox ~v 3.0 Browse History"},
        {u"AOLToolbar", "Erase AOL Toolbar History"},
        {u"DivxPlayer", "Erase Divx Player History"},
        {u"ACDSee", "Erase ACDSee Favorites and History"},
        {u"RecycleBin", "Erase Recycle Bin Files"},
        {u"CommonDialogMRUs", "Erase Open/Save Dialog History"},
        {u"FlashPlayer", "Erase Flash Player Cookies"},
        {u"LavasoftAdAware", "Erase Lavasoft Ad-Aware Log & Quarantined Files"},
        {u"CuteFTP40", "Erase CuteFTP 4.0 Log Files & History"},
        {u"YahooMessenger", "Erase Yahoo! Messenger Cache Files & History"},
        {u"WindowsTemp", "Erase Windows (Temporary Folder) Files"},
    };
    BuiltTree tree(englishLocalizer());
    for (const Case& c : cases) {
        const TimeRecord* group = tree.group(c.group);
        ASSERT_NE(group, nullptr) << utf8(c.group);
        EXPECT_EQ(plainSpaces(group->description), c.description) << utf8(c.group);
    }
}

// The Firefox cache has a second target when the profile's local cache
// folder exists: the fixture makes the profile, and the folder for one row.
TEST_F(CatalogueTest, FixedTargetsAddUpByKind)
{
    const std::u16string roaming = purgo::platformFolder(PlatformFolder::AppData).toU16String() + u"\\Mozilla";
    const std::u16string local = purgo::platformFolder(PlatformFolder::LocalAppData).toU16String() + u"\\Mozilla";
    const std::u16string ini = roaming + u"\\Firefox\\profiles.ini";
    const std::u16string profiles = local + u"\\Firefox\\Profiles";
    auto& files = s::platform::fileIo();
    ASSERT_FALSE(files.fileExists(ini)) << "the machine has a Firefox of its own";
    ASSERT_FALSE(files.folderExists(profiles)) << "the machine has a Firefox of its own";
    // What the test makes goes again; folders that were there stay.
    struct Removal {
        std::vector<std::u16string> paths;
        ~Removal()
        {
            for (const auto& path : paths)
                removePath(path);
        }
    } removal;
    removal.paths = {ini, profiles};
    for (const std::u16string& folder : {roaming, local})
        if (!files.folderExists(folder))
            removal.paths.push_back(folder);
    ASSERT_TRUE(writeIniFile(ini, "[Profile0]\nIsRelative=1\nPath=Profiles/abc.default\n"));

    for (const bool localCache : {false, true}) {
        SCOPED_TRACE(localCache ? "with the local cache folder" : "without the local cache folder");
        if (localCache) {
            ASSERT_TRUE(makeFolder(profiles + u"\\abc.default\\Cache"));
        }
        BuiltTree tree(englishLocalizer());
        std::map<int32_t, int> kinds;
        int specials = 0;
        int cache02 = 0;
        // Groups 3, 5 and 32 hold only what the machine gives them.
        const std::set<std::u16string> machineGroups = {u"WindowsUpdateHotFixUninstallers", u"IEInternetCookies",
                                                        u"RecycleBin"};
        // The first catalogue's groups; the added ones follow them.
        for (int g = 0; g < purgo::kBuiltinGroupCount; ++g) {
            const TimeRecord* group = tree.groups[static_cast<std::size_t>(g)];
            if (machineGroups.count(group->id.toU16String()))
                continue;
            for (std::size_t c = 0; c < group->childCount(); ++c) {
                const TimeRecord& target = *group->child(c);
                if (target.kind == purgo::Type_File_Func)
                    ++specials;
                else
                    ++kinds[target.kind];
                cache02 += target.id.equals(u"Cache02") ? 1 : 0;
            }
        }
        EXPECT_EQ(cache02, localCache ? 1 : 0);
        EXPECT_EQ(kinds[purgo::Type_RegKey_1_Level], 178);
        EXPECT_EQ(kinds[purgo::Type_RegValue], 196);
        EXPECT_EQ(kinds[purgo::Type_Folder_1_Level], localCache ? 42 : 41);
        EXPECT_EQ(kinds[purgo::Type_Folder_All_Levels], 7);
        EXPECT_EQ(kinds[purgo::Type_Folder_OnlyAllSubFolders], 4);
        EXPECT_EQ(kinds[purgo::Type_File], 70);
        EXPECT_EQ(kinds[purgo::Type_File_Wild], 23);
        EXPECT_EQ(kinds.size(), 7u) << "a kind the catalogue does not use";
        EXPECT_EQ(specials, 14);
    }
}

// Every target keeps the constructor's defaults; only the fixed special
// targets are of kind 12 outside the machine's groups.
TEST_F(CatalogueTest, TargetsKeepTheirDefaults)
{
    BuiltTree tree(englishLocalizer());
    for (const TimeRecord* group : tree.groups) {
        for (std::size_t c = 0; c < group->childCount(); ++c) {
            const TimeRecord& target = *group->child(c);
            SCOPED_TRACE(utf8(group->id) + "/" + utf8(target.id));
            EXPECT_TRUE(target.checked);
            EXPECT_FALSE(target.defaultChecked);
            EXPECT_FALSE(target.wildInSubfolders);
            EXPECT_FALSE(target.id.isEmpty());
        }
    }
}

// The rows given in full: kind, id and the path composed from the machine's
// folders, in order.
TEST_F(CatalogueTest, TellingRowsExactly)
{
    struct Row {
        purgo::TargetKind kind;
        const char16_t* id;
        Text path;
    };
    auto F = [](PlatformFolder folder, std::u16string_view rest) {
        Text path = purgo::platformFolder(folder);
        path += rest;
        return path;
    };
    using enum PlatformFolder;
    using K = purgo::TargetKind;
    const Text chrome = F(LocalAppData, u"\\Google\\Chrome\\User Data\\Default\\");
    auto C = [&chrome](std::u16string_view name) {
        Text path = chrome;
        path += name;
        return path;
    };
    std::map<std::u16string, std::vector<Row>> expected;
    expected[u"SystemTemporaryFolder"] = {{K::Type_Folder_All_Levels, u"temp", purgo::platformFolder(Temp)}};
    expected[u"WindowsUpdateTemporaryFolder"] = {
        {K::Type_Folder_All_Levels, u"Download", F(Windows, u"\\SoftwareDistribution\\Download")}};
    expected[u"ChromeCacheFile"] = {{K::Type_Folder_1_Level, u"Cache", C(u"Cache")}};
    expected[u"ChromeCookie"] = {{K::Type_File, u"Cookies", C(u"Cookies")},
                                 {K::Type_File, u"Cookies_Journal", C(u"Cookies-journal")},
                                 {K::Type_File, u"Extension_Cookies", C(u"Extension Cookies")}};
    expected[u"ChromeHistory"] = {{K::Type_File, u"Archived_History", C(u"Archived History")},
                                  {K::Type_File, u"History", C(u"History")},
                                  {K::Type_File, u"History_Journal", C(u"History-journal")},
                                  {K::Type_File_Wild, u"History_Index", C(u"History Index *")},
                                  {K::Type_File, u"Last_Session", C(u"Last Session")},
                                  {K::Type_File, u"Last_Tabs", C(u"Last Tabs")},
                                  {K::Type_File, u"Thumbnails", C(u"Thumbnails")},
                                  {K::Type_File, u"Thumbnails_Journal", C(u"Thumbnails-journal")},
                                  {K::Type_File, u"Visited_Links", C(u"Visited Links")}};
    expected[u"ChromeCurrentTabs"] = {{K::Type_File, u"Current_Session", C(u"Current Session")},
                                      {K::Type_File, u"Current_Tabs", C(u"Current Tabs")}};
    expected[u"_7ZipHistory"] = {
        {K::Type_RegKey_1_Level, u"ArcHistory", u"HKEY_CURRENT_USER\\Software\\7-Zip\\Compression\\ArcHistory"},
        {K::Type_RegKey_1_Level, u"PathHistory", u"HKEY_CURRENT_USER\\Software\\7-Zip\\Extraction\\PathHistory"}};
    expected[u"ACDSee"] = {
        {K::Type_RegValue, u"Favorites", u"HKEY_CURRENT_USER\\Software\\ACD Systems\\ACDSee\\Favorites"},
        {K::Type_RegValue, u"LastFolder", u"HKEY_CURRENT_USER\\Software\\ACD Systems\\ACDSee\\LastFolder"},
        {K::Type_RegValue, u"Openfolder", u"HKEY_CURRENT_USER\\Software\\ACD Systems\\ACDSee\\Openfolder"}};
    expected[u"AOLToolbar"] = {{K::Type_RegKey_1_Level, u"IEToolbar_HistorySearchCombo",
                                u"HKEY_CURRENT_USER\\Software\\BestToolbars\\IEToolbar\\HistorySearchCombo"},
                               {K::Type_RegValue, u"IEToolbar_BlockedCounter",
                                u"HKEY_CURRENT_USER\\Software\\BestToolbars\\IEToolbar\\BlockedCounter"}};
    expected[u"GrisoftAVG7"] = {
        {K::Type_File_Wild, u"Windows_Avg7Data_upd7bin_bin", F(Windows, u"\\Grisoft\\Avg7Data\\upd7bin\\*.bin")},
        {K::Type_File_Wild, u"CommonAppData_Avg7Data_upd7bin_bin",
         F(CommonAppData, u"\\Grisoft\\Avg7Data\\upd7bin\\*.bin")}};
    expected[u"Copernic2001Basic_Plus_Pro"] = {
        {K::Type_Folder_1_Level, u"_2001_Pro_Search_Results", F(ProgramFiles, u"\\Copernic 2001 Pro\\Search Results")},
        {K::Type_Folder_OnlyAllSubFolders, u"_2001_Pro_data", F(ProgramFiles, u"\\Copernic 2001 Pro\\data")},
        {K::Type_Folder_1_Level, u"_2001_Plus_Search_Results",
         F(ProgramFiles, u"\\Copernic 2001 Plus\\Search Results")},
        {K::Type_Folder_OnlyAllSubFolders, u"_2001_Plus_data", F(ProgramFiles, u"\\Copernic 2001 Plus\\data")},
        {K::Type_Folder_1_Level, u"_2001_Basic_Search_Results",
         F(ProgramFiles, u"\\Copernic 2001 Basic\\Search Results")},
        {K::Type_Folder_OnlyAllSubFolders, u"_2001_Basic_data", F(ProgramFiles, u"\\Copernic 2001 Basic\\data")}};
    expected[u"FlashPlayer"] = {{K::Type_Folder_All_Levels, u"AppData_Macromedia", F(AppData, u"\\Macromedia")}};
    expected[u"WindowsMemoryDump"] = {{K::Type_File, u"memory_dmp", F(Windows, u"\\memory.dmp")},
                                      {K::Type_File_Wild, u"MiniDump_dmp", F(Windows, u"\\MiniDump\\*.dmp")}};
    expected[u"WindowsLogFiles"] = {
        {K::Type_File_Wild, u"wbem_Logs_log", F(System, u"\\wbem\\Logs\\*.log")},
        {K::Type_File_Wild, u"wbem_Logs_lo_", F(System, u"\\wbem\\Logs\\*.lo_")},
        {K::Type_File, u"SYSTEM_WBEM_logs", F(Windows, u"\\SYSTEM\\WBEM\\logs")},
        {K::Type_File_Wild, u"_log", F(Windows, u"\\*.log")},
        {K::Type_File_Wild, u"_bak", F(Windows, u"\\*.bak")},
        {K::Type_File_Wild, u"_log_txt", F(Windows, u"\\*log.txt")},
        {K::Type_File, u"Faultlog_txt", F(Windows, u"\\Faultlog.txt")},
        {K::Type_File, u"SchedLog_Txt", F(Windows, u"\\SchedLog.Txt")},
        {K::Type_File_Wild, u"Dr_Watson_log", F(CommonAppData, u"\\Microsoft\\Dr Watson\\*.log")},
        {K::Type_File_Wild, u"Dr_Watson_dmp", F(CommonAppData, u"\\Microsoft\\Dr Watson\\*.dmp")},
        {K::Type_File, u"SCANDISK_LOG", u"C:\\SCANDISK.LOG"}};
    expected[u"WindowsTemp"] = {{K::Type_Folder_All_Levels, u"temp", F(Windows, u"\\temp")}};
    expected[u"WinXPPrefetchClean"] = {{K::Type_Folder_1_Level, u"Prefetch", F(Windows, u"\\Prefetch")}};
    expected[u"YahooMessenger"] = {
        {K::Type_Folder_OnlyAllSubFolders, u"IMVCache", F(ProgramFiles, u"\\Yahoo!\\Messenger\\IMVCache")}};
    expected[u"ZoneAlarmLogFile"] = {
        {K::Type_File_Wild, u"Internet_Logs_ZALog_txt", F(Windows, u"\\Internet Logs\\ZALog*.txt")}};

    BuiltTree tree(englishLocalizer());
    for (const auto& [groupId, rows] : expected) {
        const TimeRecord* group = tree.group(groupId);
        ASSERT_NE(group, nullptr) << utf8(groupId);
        ASSERT_EQ(group->childCount(), rows.size()) << utf8(groupId);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const TimeRecord& target = *group->child(i);
            SCOPED_TRACE(utf8(groupId) + " row " + std::to_string(i + 1));
            EXPECT_EQ(target.kind, rows[i].kind);
            EXPECT_EQ(utf8(target.id), utf8(rows[i].id));
            EXPECT_EQ(utf8(target.target), utf8(rows[i].path));
            EXPECT_EQ(utf8(target.description), utf8(rows[i].path));
        }
    }
}

TEST_F(CatalogueTest, GroupIcons)
{
    auto F = [](PlatformFolder folder, std::u16string_view rest) {
        Text path = purgo::platformFolder(folder);
        path += rest;
        return utf8(path);
    };
    auto own = [](int index) {
        return utf8(purgo::ownModulePath()) + "," + std::to_string(index);
    };
    using enum PlatformFolder;
    const std::string ie = F(ProgramFiles, u"\\internet explorer\\iexplore.exe,0");
    const std::map<std::u16string, std::string> cases = {
        {u"SystemTemporaryFolder", F(System, u"\\shell32.dll,8")},
        {u"WindowsUpdateHotFixUninstallers", F(System, u"\\shell32.dll,8")},
        {u"IEInternetCacheFiles", ie},
        {u"IEInternetCookies", ie},
        {u"URLsInIEAddressBar", ie},
        {u"ChromeHistory", own(23)},
        {u"FirefoxCookie", own(1)},
        {u"OperaDownloadedFiles", own(15)},
        {u"RecentDocuments", F(System, u"\\shell32.dll,39")},
        {u"FindDocumentList", F(System, u"\\shell32.dll,22")},
        {u"MediaPlayerRecentURLs", F(ProgramFiles, u"\\Windows Media Player\\wmplayer.exe,0")},
        {u"WinZip", own(17)},
        {u"PaintRecentFiles", F(Windows, u"\\System32\\mspaint.exe,0")},
        {u"WordPadRecentFiles", F(ProgramFiles, u"\\windows nt\\accessories\\wordpad.exe,0")},
        {u"RecycleBin", F(System, u"\\shell32.dll,31")},
        {u"_7ZipHistory", own(7)},
        {u"ACDSee", ""},
        {u"AOLToolbar", ""},
        {u"FlashPlayer", own(9)},
        {u"WindowsMemoryDump", F(System, u"\\shell32.dll,15")},
        {u"YahooMessenger", own(22)},
        {u"ZoneAlarmLogFile", ""},
    };
    BuiltTree tree(englishLocalizer());
    for (const auto& [groupId, icon] : cases) {
        const TimeRecord* group = tree.group(groupId);
        ASSERT_NE(group, nullptr) << utf8(groupId);
        EXPECT_EQ(utf8(group->iconSpec), icon) << utf8(groupId);
    }
}

// The fixed special targets: titles, descriptions, icons and the handlers
// bound to each.
TEST_F(CatalogueTest, FixedSpecialTargets)
{
    const std::string shell4 = utf8(purgo::platformFolder(PlatformFolder::System)) + "\\shell32.dll,4";
    const std::string valueIcon = utf8(purgo::platformFolder(PlatformFolder::Windows)) + "\\regedit.exe," +
                                  (s::platform::systemFacts().majorVersion >= 6 ? "3" : "7");
    struct Case {
        const char16_t* group;
        std::size_t index;
        const char16_t* id;
        const char* title;
        const char* description;
        purgo::MruHandlers pair;
        purgo::TargetExistsHandler exists;
        purgo::TargetLookUpHandler lookUp;
        std::string icon;
    };
    using purgo::MruInstance;
    auto mru = [](MruInstance instance) {
        return purgo::mruHandlers(instance);
    };
    const Case cases[] = {
        {u"IEInternetCacheFiles",
         0,
         u"Cache_Folder",
         "Temporary Internet Files",
         "(Some Files) ",
         {&purgo::ieCacheCount, &purgo::ieCacheClean},
         &purgo::folderExists,
         &purgo::folderLookUp,
         shell4},
        {u"IEInternetHistory",
         0,
         u"History_Folder",
         "History Folder",
         "(All Under Folder) ",
         {&purgo::ieHistoryCount, &purgo::ieHistoryClean},
         nullptr,
         nullptr,
         shell4},
        {u"RecentDocuments",
         0,
         u"Recent",
         "Recent",
         "(Files Under Folder, 1-Level) ",
         {&purgo::recentDocsCount, &purgo::recentDocsClear},
         &purgo::folderExists,
         &purgo::folderLookUp,
         shell4},
        {u"FindDocumentList", 0, u"Doc_Find_Spec_MRU", "Doc Find Spec MRU", "(Some Registry Values Under) ",
         mru(MruInstance::DocFindSpecMru), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"FindComputerList", 0, u"FindComputerMRU", "FindComputerMRU", "(Some Registry Values Under) ",
         mru(MruInstance::FindComputerMru), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"RunList", 0, u"RunMRU", "RunMRU", "(Some Registry Values Under) ", mru(MruInstance::RunMru),
         &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"URLsInIEAddressBar", 0, u"TypedURLs", "TypedURLs", "(Some Registry Values Under) ",
         mru(MruInstance::TypedUrls), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"URLsInShellAddressBar", 0, u"RunMRU", "RunMRU", "(Some Registry Values Under) ",
         mru(MruInstance::RunMruUrls), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"MediaPlayerRecentURLs", 0, u"RecentURLList", "RecentURLList", "(Some Registry Values Under) ",
         mru(MruInstance::MediaPlayerRecentUrls), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"MediaPlayerRecentURLs", 1, u"RecentFileList", "RecentFileList", "(Some Registry Values Under) ",
         mru(MruInstance::MediaPlayerRecentFiles), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"WinZip", 0, u"extract", "extract", "(Some Registry Values Under) ", mru(MruInstance::WinZipExtract),
         &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"WinZip", 1, u"filemenu", "filemenu", "(Some Registry Values Under) ", mru(MruInstance::WinZipFileMenu),
         &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"PaintRecentFiles", 0, u"Recent_File_List", "Recent File List", "(Some Registry Values Under) ",
         mru(MruInstance::PaintRecentFiles), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
        {u"WordPadRecentFiles", 0, u"Recent_File_List", "Recent File List", "(Some Registry Values Under) ",
         mru(MruInstance::WordPadRecentFiles), &purgo::keyExists, &purgo::keyLookUp, valueIcon},
    };
    BuiltTree tree(englishLocalizer());
    for (const Case& k : cases) {
        const TimeRecord* group = tree.group(k.group);
        ASSERT_NE(group, nullptr);
        SCOPED_TRACE(utf8(k.group) + "/" + utf8(k.id));
        ASSERT_LT(k.index, group->childCount());
        const TimeRecord& target = *group->child(k.index);
        EXPECT_EQ(target.kind, purgo::Type_File_Func);
        EXPECT_EQ(utf8(target.id), utf8(k.id));
        EXPECT_EQ(plainSpaces(target.title), k.title);
        EXPECT_EQ(plainSpaces(target.description), k.description);
        EXPECT_EQ(target.countHandler, k.pair.count);
        EXPECT_EQ(target.cleanHandler, k.pair.clean);
        EXPECT_NE(target.countHandler, nullptr);
        EXPECT_EQ(target.existsHandler, k.exists);
        EXPECT_EQ(target.lookUpHandler, k.lookUp);
        EXPECT_EQ(target.handlerData, 0);
        EXPECT_EQ(target.handlerExtra, 0);
        EXPECT_TRUE(target.target.isEmpty());
        EXPECT_EQ(utf8(target.iconSpec), k.icon);
    }
}

// A language without the History title suffix: titles end in the name.
TEST_F(CatalogueTest, LanguageWithoutTitleSuffix)
{
    s::lang::Localizer& localizer = smallLocalizer();
    BuiltTree tree(localizer);
    const TimeRecord* zip = tree.group(u"_7ZipHistory");
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(utf8(zip->title), "7-Zip");
    EXPECT_EQ(utf8(zip->description), "Wipe 7-Zip history");
    EXPECT_EQ(utf8(tree.group(u"AOLToolbar")->title), "AOL");  // no infix text either
    EXPECT_EQ(utf8(tree.group(u"ChromeHistory")->title), "Chrome (browsing)");
}

}  // namespace

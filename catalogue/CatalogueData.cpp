// The built-in catalogue as tables: a group row, then its fixed targets in
// order. Paths start at a platform folder or a registry root; Literal paths
// are written out in full. Groups marked with a fill get their children from
// the machine when the catalogue is built (catalogue/Catalogue.cpp).
//
// What may go in here: caches, logs, temporary files, histories and
// most-recently-used lists of the named programs. Never a folder or file
// that holds the user's own documents, a program's binaries or its settings
// as a whole, or a part of Windows itself (tests/catalogue checks the
// obvious cases).
#include "catalogue/CatalogueRows.h"

#include <iterator>

namespace s::file::gui::dialogs::purgo::rows {

namespace {

using enum Root;
using enum Trace;
using enum Fill;
using enum Special;

// clang-format off
constexpr Row kRows[] = {
    // 1. User Temporary Folder (Files)
    group(u"SystemTemporaryFolder", named(1000000000, Files), shell32(8)),
        folderAll(u"temp", Temp, u""),
    // 2. Windows Update (Temporary Files)
    group(u"WindowsUpdateTemporaryFolder", named(1000001000, TemporaryFiles), shell32(8)),
        folderAll(u"Download", Windows, u"SoftwareDistribution\\Download"),
    // 3. Windows Update (HotFix Uninstallers)
    group(u"WindowsUpdateHotFixUninstallers", hotFix(), shell32(8), HotFix),
    // 4. IE (Cache Files)
    group(u"IEInternetCacheFiles", app(u"IE", CacheFiles), kInternetExplorer),
        special(u"Cache_Folder", u"Temporary Internet Files", 2016000, IECache),
    // 5. IE (Cookies)
    group(u"IEInternetCookies", app(u"IE", Cookies), kInternetExplorer, IECookies),
    // 6. IE (Browse History)
    group(u"IEInternetHistory", app(u"IE", BrowseHistory), kInternetExplorer),
        specialNamed(u"History_Folder", 1000030010, 2012000, IEHistory),
    // 7. Chrome (Cache Files)
    group(u"ChromeCacheFile", app(u"Chrome", CacheFiles), own(23)),
        folderFiles(u"Cache", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Cache"),
    // 8. Chrome (Cookies)
    group(u"ChromeCookie", app(u"Chrome", Cookies), own(23)),
        file(u"Cookies", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Cookies"),
        file(u"Cookies_Journal", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Cookies-journal"),
        file(u"Extension_Cookies", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Extension Cookies"),
    // 9. Chrome (Browse History)
    group(u"ChromeHistory", app(u"Chrome", BrowseHistory), own(23)),
        file(u"Archived_History", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Archived History"),
        file(u"History", LocalAppData, u"Google\\Chrome\\User Data\\Default\\History"),
        file(u"History_Journal", LocalAppData, u"Google\\Chrome\\User Data\\Default\\History-journal"),
        files(u"History_Index", LocalAppData, u"Google\\Chrome\\User Data\\Default\\History Index *"),
        file(u"Last_Session", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Last Session"),
        file(u"Last_Tabs", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Last Tabs"),
        file(u"Thumbnails", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Thumbnails"),
        file(u"Thumbnails_Journal", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Thumbnails-journal"),
        file(u"Visited_Links", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Visited Links"),
    // 10. Chrome (Current Tabs)
    group(u"ChromeCurrentTabs", pair(1000155000), own(23)),
        file(u"Current_Session", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Current Session"),
        file(u"Current_Tabs", LocalAppData, u"Google\\Chrome\\User Data\\Default\\Current Tabs"),
    // 11. Firefox (Cache Files)
    group(u"FirefoxCacheFile", app(u"Firefox", CacheFiles), own(1), FirefoxCache),
    // 12. Firefox (Cookies)
    group(u"FirefoxCookie", app(u"Firefox", Cookies), own(1), FirefoxCookies),
    // 13. Firefox ~v 3.0 (Browse History)
    group(u"FirefoxHistory", app(u"Firefox ~v 3.0", BrowseHistory), own(1), FirefoxHistory),
    // 14. Firefox (Download History)
    group(u"FirefoxDownloadHistory", app(u"Firefox", DownloadHistory), own(1), FirefoxDownloads),
    // 15. Firefox (Form Input History)
    group(u"FirefoxFormHistory", app(u"Firefox", FormInputHistory), own(1), FirefoxForms),
    // 16. Opera (Cache Files)
    group(u"OperaCacheFile", app(u"Opera", CacheFiles), own(15), OperaCache),
    // 17. Opera (Cookies)
    group(u"OperaCookies", app(u"Opera", Cookies), own(15), OperaCookies),
    // 18. Opera (Browse History)
    group(u"OperaHistory", app(u"Opera", BrowseHistory), own(15), OperaHistory),
    // 19. Opera (Visited Links)
    group(u"OperaVisitedLinks", pair(1000130000), own(15), OperaVisitedLinks),
    // 20. Opera (Download History)
    group(u"OperaDownloadHistory", app(u"Opera", DownloadHistory), own(15), OperaDownloadList),
    // 21. Opera (Downloaded Files)
    group(u"OperaDownloadedFiles", pair(1000150000), own(15), OperaDownloadedFiles),
    // 22. Recent Documents (History)
    group(u"RecentDocuments", named(1000160000, History), shell32(39)),
        special(u"Recent", u"Recent", 2011000, RecentDocuments),
    // 23. Document Search (History)
    group(u"FindDocumentList", named(1000170000, History), shell32(22)),
        special(u"Doc_Find_Spec_MRU", u"Doc Find Spec MRU", 2006100, DocFindSpecMru),
    // 24. Computer Search (History)
    group(u"FindComputerList", named(1000180000, History), shell32(22)),
        special(u"FindComputerMRU", u"FindComputerMRU", 2006100, FindComputerMru),
    // 25. Run... (History)
    group(u"RunList", named(1000190000, History), shell32(39)),
        special(u"RunMRU", u"RunMRU", 2006100, RunMru),
    // 26. IE (Address Bar) (History)
    group(u"URLsInIEAddressBar", named(1000200000, History), kInternetExplorer),
        special(u"TypedURLs", u"TypedURLs", 2006100, TypedUrls),
    // 27. Shell Address Bar (History)
    group(u"URLsInShellAddressBar", named(1000210000, History), shell32(39)),
        special(u"RunMRU", u"RunMRU", 2006100, RunMruUrls),
    // 28. Media Player (History)
    group(u"MediaPlayerRecentURLs", named(1000220000, History), kMediaPlayer),
        special(u"RecentURLList", u"RecentURLList", 2006100, MediaPlayerUrls),
        special(u"RecentFileList", u"RecentFileList", 2006100, MediaPlayerFiles),
    // 29. WinZip (History)
    group(u"WinZip", app(u"WinZip", History), own(17)),
        special(u"extract", u"extract", 2006100, WinZipExtract),
        special(u"filemenu", u"filemenu", 2006100, WinZipFileMenu),
    // 30. Paint (History)
    group(u"PaintRecentFiles", app(u"Paint", History), kPaint),
        special(u"Recent_File_List", u"Recent File List", 2006100, PaintRecentFiles),
    // 31. WordPad (History)
    group(u"WordPadRecentFiles", app(u"WordPad", History), kWordPad),
        special(u"Recent_File_List", u"Recent File List", 2006100, WordPadRecentFiles),
    // 32. Recycle Bin (Files)
    group(u"RecycleBin", pair(1000270000), shell32(31), RecycleBin),
    // 33. 7-Zip (History)
    group(u"_7ZipHistory", app(u"7-Zip", History), own(7)),
        keyValues(u"ArcHistory", HKCU, u"Software\\7-Zip\\Compression\\ArcHistory"),
        keyValues(u"PathHistory", HKCU, u"Software\\7-Zip\\Extraction\\PathHistory"),
    // 34. Ability Office 4 (History)
    group(u"AbilityOffice4RecentFiles", app(u"Ability Office 4", History)),
        value(u"Write_File1", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Write\\Recent File List\\File1"),
        value(u"Write_File2", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Write\\Recent File List\\File2"),
        value(u"Write_File3", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Write\\Recent File List\\File3"),
        value(u"Write_File4", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Write\\Recent File List\\File4"),
        value(u"Spreadsheet_File1", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Spreadsheet\\Recent File List\\File1"),
        value(u"Spreadsheet_File2", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Spreadsheet\\Recent File List\\File2"),
        value(u"Spreadsheet_File3", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Spreadsheet\\Recent File List\\File3"),
        value(u"Spreadsheet_File4", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Spreadsheet\\Recent File List\\File4"),
        value(u"Database_File1", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Database\\Recent File List\\File1"),
        value(u"Database_File2", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Database\\Recent File List\\File2"),
        value(u"Database_File3", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Database\\Recent File List\\File3"),
        value(u"Database_File4", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Database\\Recent File List\\File4"),
        value(u"Photopaint_File1", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Photopaint\\Recent File List\\File1"),
        value(u"Photopaint_File2", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Photopaint\\Recent File List\\File2"),
        value(u"Photopaint_File3", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Photopaint\\Recent File List\\File3"),
        value(u"Photopaint_File4", HKCU, u"Software\\Ability Plus Software\\Ability Office 4\\Photopaint\\Recent File List\\File4"),
    // 35. AbiWord (History)
    group(u"AbiWordMRU", app(u"AbiWord", History)),
        file(u"AbiWord_Profile", AppData, u"AbiSuite\\AbiWord.Profile"),
    // 36. ACDSee (Favorites, History)
    group(u"ACDSee", pair(1000310000)),
        value(u"Favorites", HKCU, u"Software\\ACD Systems\\ACDSee\\Favorites"),
        value(u"LastFolder", HKCU, u"Software\\ACD Systems\\ACDSee\\LastFolder"),
        value(u"Openfolder", HKCU, u"Software\\ACD Systems\\ACDSee\\Openfolder"),
    // 37. Acrobat Reader 4/5.x/6/8 (History)
    group(u"AcrobatReader4_5x_6_8", app(u"Acrobat Reader 4/5.x/6/8", History), own(11)),
        keyValues(u"_5_cRecentFiles_c1", HKCU, u"Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles\\c1"),
        keyValues(u"_5_cRecentFiles_c2", HKCU, u"Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles\\c2"),
        keyValues(u"_5_cRecentFiles_c3", HKCU, u"Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles\\c3"),
        keyValues(u"_5_cRecentFiles_c4", HKCU, u"Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles\\c4"),
        keyValues(u"_5_cRecentFiles_c5", HKCU, u"Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles\\c5"),
        keyValues(u"_6_cRecentFiles_c1", HKCU, u"Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles\\c1"),
        keyValues(u"_6_cRecentFiles_c2", HKCU, u"Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles\\c2"),
        keyValues(u"_6_cRecentFiles_c3", HKCU, u"Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles\\c3"),
        keyValues(u"_6_cRecentFiles_c4", HKCU, u"Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles\\c4"),
        keyValues(u"_6_cRecentFiles_c5", HKCU, u"Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles\\c5"),
        keyValues(u"_7_cRecentFiles_c1", HKCU, u"Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles\\c1"),
        keyValues(u"_7_cRecentFiles_c2", HKCU, u"Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles\\c2"),
        keyValues(u"_7_cRecentFiles_c3", HKCU, u"Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles\\c3"),
        keyValues(u"_7_cRecentFiles_c4", HKCU, u"Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles\\c4"),
        keyValues(u"_7_cRecentFiles_c5", HKCU, u"Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles\\c5"),
        keyValues(u"_8_cRecentFiles_c1", HKCU, u"Software\\Adobe\\Acrobat Reader\\8.0\\AVGeneral\\cRecentFiles\\c1"),
        keyValues(u"_8_cRecentFiles_c2", HKCU, u"Software\\Adobe\\Acrobat Reader\\8.0\\AVGeneral\\cRecentFiles\\c2"),
        keyValues(u"_8_cRecentFiles_c3", HKCU, u"Software\\Adobe\\Acrobat Reader\\8.0\\AVGeneral\\cRecentFiles\\c3"),
        keyValues(u"_8_cRecentFiles_c4", HKCU, u"Software\\Adobe\\Acrobat Reader\\8.0\\AVGeneral\\cRecentFiles\\c4"),
        keyValues(u"_8_cRecentFiles_c5", HKCU, u"Software\\Adobe\\Acrobat Reader\\8.0\\AVGeneral\\cRecentFiles\\c5"),
    // 38. Lavasoft Ad-Aware (Log & Quarantined Files)
    group(u"LavasoftAdAware", app(u"Lavasoft Ad-Aware", LogQuarantined), own(18)),
        folderFiles(u"Ad_aware_6_Logs", ProgramFiles, u"Lavasoft\\Ad-aware 6\\Logs"),
        folderFiles(u"Ad_aware_6_Backups", ProgramFiles, u"Lavasoft\\Ad-aware 6\\Backups"),
        folderFiles(u"Ad_Aware_SE_Personal_Logs", ProgramFiles, u"Lavasoft\\Ad-Aware SE Personal\\Logs"),
        folderFiles(u"Ad_Aware_SE_Personal_Quarantine", ProgramFiles, u"Lavasoft\\Ad-Aware SE Personal\\Quarantine"),
        folderFiles(u"Ad_Aware_SE_Professional_Logs", ProgramFiles, u"Lavasoft\\Ad-Aware SE Professional\\Logs"),
        folderFiles(u"Ad_Aware_SE_Professional_Quarantine", ProgramFiles, u"Lavasoft\\Ad-Aware SE Professional\\Quarantine"),
        folderFiles(u"Ad_Aware_Logs", CommonAppData, u"Lavasoft\\Ad-Aware\\Logs"),
        folderFiles(u"Ad_Aware_Quarantine", CommonAppData, u"Lavasoft\\Ad-Aware\\Quarantine"),
    // 39. Adobe PageMill 2.0 (History)
    group(u"AdobePageMill20", app(u"Adobe PageMill 2.0", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Adobe\\PageMill\\2.0\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Adobe\\PageMill\\2.0\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Adobe\\PageMill\\2.0\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Adobe\\PageMill\\2.0\\Recent File List\\File4"),
    // 40. Agent NewsReader (History)
    group(u"AgentNewsReader", app(u"Agent NewsReader", History)),
        keyValues(u"Recent_Files", HKCU, u"Software\\Forte\\Agent\\Recent Files"),
        value(u"LastSaveFolder", HKCU, u"Software\\Forte\\Agent\\Settings\\LastSaveFolder"),
        value(u"LastAttachFolder", HKCU, u"Software\\Forte\\Agent\\Settings\\LastAttachFolder"),
        file(u"AgentLog_txt", ProgramFiles, u"Agent\\Data\\AgentLog.txt"),
    // 41. Alcohol 120% (Log Files & History)
    group(u"Alcohol120", app(u"Alcohol 120%", LogHistory), own(21)),
        keyValues(u"Recent_Images", HKCU, u"Software\\Alcohol Soft\\Alcohol 120%\\Recent"),
        value(u"LastImagePath", HKCU, u"Software\\Alcohol Soft\\Alcohol 120%\\Settings\\LastImagePath"),
        value(u"LastMountPath", HKCU, u"Software\\Alcohol Soft\\Alcohol 120%\\Settings\\LastMountPath"),
        files(u"Alcohol_log", ProgramFiles, u"Alcohol Soft\\Alcohol 120\\*.log"),
        folderFiles(u"Alcohol_Logs", ProgramFiles, u"Alcohol Soft\\Alcohol 120\\Logs"),
    // 42. JASC Animation Shop 3.0 (History)
    group(u"JASCAnimationShop30", app(u"JASC Animation Shop 3.0", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Jasc\\Animation Shop 3\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Jasc\\Animation Shop 3\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Jasc\\Animation Shop 3\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Jasc\\Animation Shop 3\\Recent File List\\File4"),
    // 43. AOL Toolbar (History)
    group(u"AOLToolbar", toolbar(u"AOL", History)),
        keyValues(u"IEToolbar_HistorySearchCombo", HKCU, u"Software\\BestToolbars\\IEToolbar\\HistorySearchCombo"),
        value(u"IEToolbar_BlockedCounter", HKCU, u"Software\\BestToolbars\\IEToolbar\\BlockedCounter"),
    // 44. Grisoft AVG 7 (Update Files)
    group(u"GrisoftAVG7", pair(1000390000)),
        files(u"Windows_Avg7Data_upd7bin_bin", Windows, u"Grisoft\\Avg7Data\\upd7bin\\*.bin"),
        files(u"CommonAppData_Avg7Data_upd7bin_bin", CommonAppData, u"Grisoft\\Avg7Data\\upd7bin\\*.bin"),
    // 45. AX-Icons 4.x (History)
    group(u"AXIcons4x", app(u"AX-Icons 4.x", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\AX-Soft\\AX-Icons\\4.0\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\AX-Soft\\AX-Icons\\4.0\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\AX-Soft\\AX-Icons\\4.0\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\AX-Soft\\AX-Icons\\4.0\\Recent File List\\File4"),
    // 46. BearShare (Files)
    group(u"BearShare", app(u"BearShare", Files)),
        folderFiles(u"Incomplete", ProgramFiles, u"BearShare\\Incomplete"),
        folderFiles(u"Cache", ProgramFiles, u"BearShare\\Cache"),
        file(u"BearShare_log", ProgramFiles, u"BearShare\\BearShare.log"),
    // 47. Common Dialog (History)
    group(u"CommonDialogMRUs", commonDialog(), shell32(39)),
        keyValues(u"LastVisitedMRU", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU"),
        keyValues(u"OpenSaveMRU_All", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\*"),
        keyValues(u"OpenSaveMRU_txt", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt"),
        keyValues(u"OpenSaveMRU_doc", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\doc"),
        keyValues(u"OpenSaveMRU_rtf", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\rtf"),
        keyValues(u"OpenSaveMRU_xls", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\xls"),
        keyValues(u"OpenSaveMRU_ppt", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\ppt"),
        keyValues(u"OpenSaveMRU_pdf", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\pdf"),
        keyValues(u"OpenSaveMRU_htm", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\htm"),
        keyValues(u"OpenSaveMRU_jpg", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\jpg"),
        keyValues(u"OpenSaveMRU_gif", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\gif"),
        keyValues(u"OpenSaveMRU_bmp", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\bmp"),
        keyValues(u"OpenSaveMRU_zip", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\zip"),
        keyValues(u"OpenSaveMRU_exe", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\exe"),
        keyValues(u"OpenSaveMRU_mp3", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\mp3"),
        keyValues(u"LastVisitedPidlMRU", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU"),
        keyValues(u"LastVisitedPidlMRULegacy", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRULegacy"),
        keyValues(u"CIDSizeMRU", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\CIDSizeMRU"),
        keyValues(u"OpenSavePidlMRU_All", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\*"),
        keyValues(u"OpenSavePidlMRU_txt", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\txt"),
        keyValues(u"OpenSavePidlMRU_doc", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\doc"),
        keyValues(u"OpenSavePidlMRU_rtf", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\rtf"),
        keyValues(u"OpenSavePidlMRU_xls", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\xls"),
        keyValues(u"OpenSavePidlMRU_ppt", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\ppt"),
        keyValues(u"OpenSavePidlMRU_pdf", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\pdf"),
        keyValues(u"OpenSavePidlMRU_htm", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\htm"),
        keyValues(u"OpenSavePidlMRU_jpg", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\jpg"),
        keyValues(u"OpenSavePidlMRU_gif", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\gif"),
        keyValues(u"OpenSavePidlMRU_bmp", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\bmp"),
        keyValues(u"OpenSavePidlMRU_zip", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\zip"),
        keyValues(u"OpenSavePidlMRU_exe", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\exe"),
        keyValues(u"OpenSavePidlMRU_mp3", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\mp3"),
    // 48. Copernic 2001 Basic/Plus/Pro (History)
    group(u"Copernic2001Basic_Plus_Pro", app(u"Copernic 2001 Basic/Plus/Pro", History)),
        folderFiles(u"_2001_Pro_Search_Results", ProgramFiles, u"Copernic 2001 Pro\\Search Results"),
        subfolders(u"_2001_Pro_data", ProgramFiles, u"Copernic 2001 Pro\\data"),
        folderFiles(u"_2001_Plus_Search_Results", ProgramFiles, u"Copernic 2001 Plus\\Search Results"),
        subfolders(u"_2001_Plus_data", ProgramFiles, u"Copernic 2001 Plus\\data"),
        folderFiles(u"_2001_Basic_Search_Results", ProgramFiles, u"Copernic 2001 Basic\\Search Results"),
        subfolders(u"_2001_Basic_data", ProgramFiles, u"Copernic 2001 Basic\\data"),
    // 49. CuteFTP 4.0 (Log Files & History)
    group(u"CuteFTP40", app(u"CuteFTP 4.0", LogHistory)),
        keyValues(u"QuickConnect_History", HKCU, u"Software\\GlobalSCAPE\\CuteFTP 4\\QCToolbar\\History"),
        value(u"LastLocalDir", HKCU, u"Software\\GlobalSCAPE\\CuteFTP 4\\Settings\\LastLocalDir"),
        value(u"LastRemoteDir", HKCU, u"Software\\GlobalSCAPE\\CuteFTP 4\\Settings\\LastRemoteDir"),
        files(u"CuteFTP_log", ProgramFiles, u"GlobalSCAPE\\CuteFTP\\*.log"),
        folderFiles(u"CuteFTP_Log", ProgramFiles, u"GlobalSCAPE\\CuteFTP\\Log"),
        folderFiles(u"CuteFTP_Cache", ProgramFiles, u"GlobalSCAPE\\CuteFTP\\Cache"),
    // 50. CuteHTML (History)
    group(u"CuteHTML", app(u"CuteHTML", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\GlobalSCAPE\\CuteHTML\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\GlobalSCAPE\\CuteHTML\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\GlobalSCAPE\\CuteHTML\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\GlobalSCAPE\\CuteHTML\\Recent File List\\File4"),
    // 51. CutePDF Writer (History)
    group(u"CutePDFWriter", app(u"CutePDF Writer", History)),
        value(u"LastFolder", HKCU, u"Software\\Acro Software Inc\\CutePDF Writer\\LastFolder"),
        value(u"LastFile", HKCU, u"Software\\Acro Software Inc\\CutePDF Writer\\LastFile"),
    // 52. Diskeeper 5.0 (Log Files)
    group(u"Diskeeper50", app(u"Diskeeper 5.0", LogFiles)),
        files(u"Diskeeper_log", ProgramFiles, u"Executive Software\\Diskeeper\\*.log"),
        folderFiles(u"Diskeeper_Logs", ProgramFiles, u"Executive Software\\Diskeeper\\Logs"),
        folderFiles(u"CommonAppData_Logs", CommonAppData, u"Executive Software\\Diskeeper\\Logs"),
    // 53. Divx Player (History)
    group(u"DivxPlayer", player(u"Divx", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\DivXNetworks\\DivX Player\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\DivXNetworks\\DivX Player\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\DivXNetworks\\DivX Player\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\DivXNetworks\\DivX Player\\Recent File List\\File4"),
        value(u"LastFolder", HKCU, u"Software\\DivXNetworks\\DivX Player\\Settings\\LastFolder"),
        file(u"History_xml", AppData, u"DivX\\DivX Player\\History.xml"),
    // 54. DownloadExpress (History)
    group(u"DownloadExpress", app(u"DownloadExpress", History)),
        keyValues(u"History", HKCU, u"Software\\MetaProducts\\Download Express\\History"),
        value(u"LastSaveFolder", HKCU, u"Software\\MetaProducts\\Download Express\\LastSaveFolder"),
        file(u"History_dat", ProgramFiles, u"Download Express\\History.dat"),
    // 55. Drive Image 6 (History)
    group(u"DriveImage6", app(u"Drive Image 6", History)),
        keyValues(u"Recent_Images", HKCU, u"Software\\PowerQuest\\Drive Image\\6.0\\Recent Images"),
        value(u"LastImageFolder", HKCU, u"Software\\PowerQuest\\Drive Image\\6.0\\LastImageFolder"),
    // 56. EditPad (History)
    group(u"EditPad", app(u"EditPad", History)),
        keyValues(u"Recent_Files", HKCU, u"Software\\JGsoft\\EditPad\\Recent Files"),
        keyValues(u"Search_History", HKCU, u"Software\\JGsoft\\EditPad\\Search History"),
        file(u"EditPadLite_History", AppData, u"JGsoft\\EditPad Lite\\History.ini"),
    // 57. EditPlus2 (History)
    group(u"EditPlus2", app(u"EditPlus2", History)),
        keyValues(u"Recent_File_List", HKCU, u"Software\\ES-Computing\\EditPlus 2\\Recent File List"),
        keyValues(u"Recent_Dir_List", HKCU, u"Software\\ES-Computing\\EditPlus 2\\Recent Dir List"),
    // 58. Flash 5 (History)
    group(u"Flash5", app(u"Flash 5", History), own(8)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Macromedia\\Flash 5\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Macromedia\\Flash 5\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Macromedia\\Flash 5\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Macromedia\\Flash 5\\Recent File List\\File4"),
    // 59. Flash Player (Cookies)
    group(u"FlashPlayer", named(1000550000, Cookies), own(9)),
        folderAll(u"AppData_Macromedia", AppData, u"Macromedia"),
    // 60. Flash Get (History)
    group(u"FlashGet", app(u"Flash Get", History)),
        keyValues(u"JetCar_History", HKCU, u"Software\\JetCar\\JetCar\\History"),
        keyValues(u"JetCar_Url_History", HKCU, u"Software\\JetCar\\JetCar\\UrlHistory"),
        value(u"JetCar_LastSavePath", HKCU, u"Software\\JetCar\\JetCar\\General\\LastSavePath"),
        file(u"default_jcd", ProgramFiles, u"FlashGet\\default.jcd"),
        file(u"FlashGet_log", ProgramFiles, u"FlashGet\\FlashGet.log"),
    // 61. FotoCanvas Lite (History)
    group(u"FotoCanvasLite", app(u"FotoCanvas Lite", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\ACD Systems\\FotoCanvas Lite\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\ACD Systems\\FotoCanvas Lite\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\ACD Systems\\FotoCanvas Lite\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\ACD Systems\\FotoCanvas Lite\\Recent File List\\File4"),
    // 62. Foxit PDF Reader (History)
    group(u"FoxitPDFReader", app(u"Foxit PDF Reader", History)),
        keyValues(u"Recent_File_List", HKCU, u"Software\\Foxit Software\\Foxit Reader\\Recent File List"),
        keyValues(u"History_LastOpen", HKCU, u"Software\\Foxit Software\\Foxit Reader\\Preferences\\History\\LastOpen"),
        value(u"LastOpenPath", HKCU, u"Software\\Foxit Software\\Foxit Reader\\MainFrame\\LastOpenPath"),
    // 63. FreshDownload (History)
    group(u"FreshDownload", app(u"FreshDownload", History)),
        keyValues(u"History", HKCU, u"Software\\FreshDevices\\FreshDownload\\History"),
        value(u"LastFolder", HKCU, u"Software\\FreshDevices\\FreshDownload\\Options\\LastFolder"),
        file(u"History_dat", ProgramFiles, u"FreshDownload\\History.dat"),
    // 64. Gigaget (History)
    group(u"Gigaget", app(u"Gigaget", History)),
        keyValues(u"History", HKCU, u"Software\\GigaGet\\History"),
        value(u"LastDir", HKCU, u"Software\\GigaGet\\LastDir"),
        file(u"History_dat", ProgramFiles, u"GigaGet\\History.dat"),
    // 65. GoldWave (History)
    group(u"GoldWaveHistory", app(u"GoldWave", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\GoldWave\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\GoldWave\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\GoldWave\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\GoldWave\\Recent File List\\File4"),
    // 66. Google Earth (Cache Files & History)
    group(u"GoogleEarth", app(u"Google Earth", CacheHistory)),
        file(u"dbCache_dat", LocalAppData, u"Google\\GoogleEarth\\dbCache.dat"),
        file(u"dbCache_dat_index", LocalAppData, u"Google\\GoogleEarth\\dbCache.dat.index"),
        file(u"AppData_dbCache_dat", AppData, u"Google\\GoogleEarth\\dbCache.dat"),
        file(u"AppData_dbCache_dat_index", AppData, u"Google\\GoogleEarth\\dbCache.dat.index"),
        value(u"SearchHistory", HKCU, u"Software\\Google\\Google Earth Plus\\SearchHistory"),
        value(u"LastOpenDir", HKCU, u"Software\\Google\\Google Earth Plus\\LastOpenDir"),
    // 67. Google Toolbar (History)
    group(u"GoogleToolBar", toolbar(u"Google", History)),
        keyValues(u"NavClient_History", HKCU, u"Software\\Google\\NavClient\\1.1\\History"),
        file(u"Local_Search_History", LocalAppData, u"Google\\Local Search History"),
        file(u"Toolbar_History_dat", LocalAppData, u"Google\\Google Toolbar\\History.dat"),
    // 68. ICQ 2000A/B (Cache Files)
    group(u"ICQ2000AB", app(u"ICQ 2000A/B", CacheFiles)),
        folderFiles(u"Cache", ProgramFiles, u"ICQ\\Cache"),
        folderFiles(u"NewDB_Cache", ProgramFiles, u"ICQ\\NewDB\\Cache"),
        file(u"ICQ_log", ProgramFiles, u"ICQ\\ICQ.log"),
        files(u"ICQ_tmp", ProgramFiles, u"ICQ\\*.tmp"),
    // 69. IE (Form Input History)
    group(u"IEAutocompleteFormHistory", app(u"IE", FormInputHistory), kInternetExplorer),
        keyValues(u"IntelliForms_Storage1", HKCU, u"Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1"),
        keyValues(u"IntelliForms_Storage2", HKCU, u"Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2"),
    // 70. Inno Setup (History)
    group(u"InnoSetup", app(u"Inno Setup", History)),
        keyValues(u"ScriptFileHistoryNew", HKCU, u"Software\\Jordan Russell\\Inno Setup\\ScriptFileHistoryNew"),
        keyValues(u"ScriptFileHistory", HKCU, u"Software\\Jordan Russell\\Inno Setup\\ScriptFileHistory"),
    // 71. IZArc (History)
    group(u"IZArcHistory", app(u"IZArc", History)),
        keyValues(u"Recent_Archives", HKCU, u"Software\\IZArc\\Recent Archives"),
        value(u"LastExtractFolder", HKCU, u"Software\\IZArc\\LastExtractFolder"),
        file(u"History_ini", AppData, u"IZArc\\History.ini"),
    // 72. Juno (History)
    group(u"Juno", app(u"Juno", History)),
        value(u"get", HKCU, u"Software\\Juno\\History\\get"),
        value(u"put", HKCU, u"Software\\Juno\\History\\put"),
        value(u"get", HKLM, u"SOFTWARE\\Juno\\History\\get"),
        value(u"put", HKLM, u"SOFTWARE\\Juno\\History\\put"),
    // 73. Lotus SmartSuite 96/97/9.5/9.6/9.7 (History)
    group(u"LotusSmartSuite96__97__9_5__9_6__9_7", app(u"Lotus SmartSuite 96/97/9.5/9.6/9.7", History)),
        keyValues(u"123_97_Recent_Files", HKCU, u"Software\\Lotus\\123\\97.0\\Recent Files"),
        keyValues(u"123_98_Recent_Files", HKCU, u"Software\\Lotus\\123\\98.0\\Recent Files"),
        keyValues(u"WordPro_97_Recent_Files", HKCU, u"Software\\Lotus\\WordPro\\97.0\\Recent Files"),
        keyValues(u"WordPro_98_Recent_Files", HKCU, u"Software\\Lotus\\WordPro\\98.0\\Recent Files"),
        keyValues(u"Freelance_97_Recent_Files", HKCU, u"Software\\Lotus\\Freelance\\97.0\\Recent Files"),
        keyValues(u"Freelance_98_Recent_Files", HKCU, u"Software\\Lotus\\Freelance\\98.0\\Recent Files"),
        keyValues(u"Approach_97_Recent_Files", HKCU, u"Software\\Lotus\\Approach\\97.0\\Recent Files"),
        keyValues(u"Approach_98_Recent_Files", HKCU, u"Software\\Lotus\\Approach\\98.0\\Recent Files"),
    // 74. Macromedia Dreamweaver 4.0 (History)
    group(u"MacromediaDreamweaver40", app(u"Macromedia Dreamweaver 4.0", History), own(10)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Macromedia\\Dreamweaver 4\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Macromedia\\Dreamweaver 4\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Macromedia\\Dreamweaver 4\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Macromedia\\Dreamweaver 4\\Recent File List\\File4"),
        keyValues(u"Recent_Site_List", HKCU, u"Software\\Macromedia\\Dreamweaver 4\\Recent Site List"),
    // 75. Network Drive Access (History)
    group(u"MapNetworkDriveMRU", named(1000710000, History)),
        keyValues(u"Map_Network_Drive_MRU", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU"),
    // 76. Mass Download (History)
    group(u"MassDownload", app(u"Mass Download", History)),
        keyValues(u"History", HKCU, u"Software\\MetaProducts\\Mass Downloader\\History"),
        value(u"LastSaveFolder", HKCU, u"Software\\MetaProducts\\Mass Downloader\\LastSaveFolder"),
        file(u"History_dat", ProgramFiles, u"Mass Downloader\\History.dat"),
    // 77. Media Player Classic (History)
    group(u"MediaPlayerClassic", app(u"Media Player Classic", History), own(12)),
        keyValues(u"Recent_File_List", HKCU, u"Software\\Gabest\\Media Player Classic\\Recent File List"),
        keyValues(u"Recent_Dub_List", HKCU, u"Software\\Gabest\\Media Player Classic\\Recent Dub List"),
        keyValues(u"Recent_Url_List", HKCU, u"Software\\Gabest\\Media Player Classic\\Recent Url List"),
        value(u"LastOpenDir", HKCU, u"Software\\Gabest\\Media Player Classic\\Settings\\LastOpenDir"),
    // 78. Metapad (History)
    group(u"Metapad", app(u"Metapad", History)),
        value(u"mru_1", HKCU, u"Software\\metapad\\mru_1"),
        value(u"mru_2", HKCU, u"Software\\metapad\\mru_2"),
        value(u"mru_3", HKCU, u"Software\\metapad\\mru_3"),
        value(u"mru_4", HKCU, u"Software\\metapad\\mru_4"),
        value(u"mru_Top", HKCU, u"Software\\metapad\\mru_Top"),
    // 79. Microangelo (History)
    group(u"Microangelo", app(u"Microangelo", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Impact Software\\Microangelo\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Impact Software\\Microangelo\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Impact Software\\Microangelo\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Impact Software\\Microangelo\\Recent File List\\File4"),
    // 80. Microsoft Antispyware (Log Files)
    group(u"MicrosoftAntispyware", app(u"Microsoft Antispyware", LogFiles)),
        folderFiles(u"Logs", ProgramFiles, u"Microsoft AntiSpyware\\Logs"),
        files(u"Program_log", ProgramFiles, u"Microsoft AntiSpyware\\*.log"),
        folderFiles(u"CommonAppData_Logs", CommonAppData, u"Microsoft\\Microsoft AntiSpyware\\Logs"),
        file(u"cleaner_log", ProgramFiles, u"Microsoft AntiSpyware\\cleaner.log"),
        files(u"CommonAppData_log", CommonAppData, u"Microsoft\\Microsoft AntiSpyware\\*.log"),
    // 81. Microsoft FrontPage Express (History)
    group(u"MicrosoftFrontPageExpress", app(u"Microsoft FrontPage Express", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Microsoft\\FrontPage\\Editor\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Microsoft\\FrontPage\\Editor\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Microsoft\\FrontPage\\Editor\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Microsoft\\FrontPage\\Editor\\Recent File List\\File4"),
        keyValues(u"Recently_Used_URLs", HKCU, u"Software\\Microsoft\\FrontPage\\Editor\\Recently Used URLs"),
    // 82. MS Imaging (History)
    group(u"Imaging", app(u"MS Imaging", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Microsoft\\Imaging\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Microsoft\\Imaging\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Microsoft\\Imaging\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Microsoft\\Imaging\\Recent File List\\File4"),
    // 83. MSN Toolbar (History)
    group(u"MSNToolbar", toolbar(u"MSN", History)),
        keyValues(u"Search_History", HKCU, u"Software\\Microsoft\\MSN Apps\\MSN Toolbar\\Search History"),
        file(u"SearchHistory_dat", LocalAppData, u"Microsoft\\MSN Toolbar\\SearchHistory.dat"),
    // 84. Microsoft Photo Editor (History)
    group(u"MicrosoftPhotoEditor", app(u"Microsoft Photo Editor", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor\\Recent File List\\File4"),
    // 85. Microsoft Publisher (History)
    group(u"MicrosoftPublisher", app(u"Microsoft Publisher", History), own(4)),
        keyValues(u"Publisher_98_Recent_File_List", HKCU, u"Software\\Microsoft\\Publisher\\Recent File List"),
        keyValues(u"Publisher_9_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\9.0\\Publisher\\Recent File List"),
        keyValues(u"Publisher_10_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\10.0\\Publisher\\Recent File List"),
        keyValues(u"Publisher_11_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\11.0\\Publisher\\Recent File List"),
    // 86. Microsoft Works 4.5/2000/6/7 (History)
    group(u"MicrosoftWorks45_2000_6_7", app(u"Microsoft Works 4.5/2000/6/7", History)),
        keyValues(u"Works_4_Recent_File_List", HKCU, u"Software\\Microsoft\\Works\\4.5\\Recent File List"),
        keyValues(u"Works_5_Recent_File_List", HKCU, u"Software\\Microsoft\\Works\\5.0\\Recent File List"),
        keyValues(u"Works_6_Recent_File_List", HKCU, u"Software\\Microsoft\\Works\\6.0\\Recent File List"),
        keyValues(u"Works_7_Recent_File_List", HKCU, u"Software\\Microsoft\\Works\\7.0\\Recent File List"),
    // 87. MusicMatch Jukebox (Library)
    group(u"MusicMatchJukebox", pair(1000830000)),
        keyValues(u"Recent_Files", HKCU, u"Software\\MusicMatch\\MusicMatch Jukebox\\Recent Files"),
        value(u"LastFolder", HKCU, u"Software\\MusicMatch\\MusicMatch Jukebox\\LastFolder"),
    // 88. Nero (Cache Files & History)
    group(u"Nero", app(u"Nero", CacheHistory)),
        keyValues(u"Recent_File_List", HKCU, u"Software\\Ahead\\Nero - Burning Rom\\Recent File List"),
        keyValues(u"Cover_Designer_Recent_File_List", HKCU, u"Software\\Ahead\\Cover Designer\\Recent File List"),
        file(u"NeroHistory_log", ProgramFiles, u"Ahead\\Nero\\NeroHistory.log"),
        folderFiles(u"Nero_Cache", AppData, u"Ahead\\Nero\\Cache"),
        file(u"AppData_NeroHistory_log", AppData, u"Ahead\\Nero\\NeroHistory.log"),
        files(u"Nero_log", ProgramFiles, u"Ahead\\Nero\\*.log"),
    // 89. Netants (History)
    group(u"Netants", app(u"Netants", History)),
        keyValues(u"History", HKCU, u"Software\\NetAnts\\History"),
        value(u"LastDir", HKCU, u"Software\\NetAnts\\LastDir"),
        file(u"History_dat", ProgramFiles, u"NetAnts\\History.dat"),
    // 90. NetCaptor (History)
    group(u"NetCaptor", app(u"NetCaptor", History)),
        keyValues(u"TypedURLs", HKCU, u"Software\\NetCaptor\\TypedURLs"),
        file(u"History_dat", ProgramFiles, u"NetCaptor\\History.dat"),
    // 91. Netscape Toolbar (History)
    group(u"NetscapeToolbar", toolbar(u"Netscape", History)),
        keyValues(u"Search_History", HKCU, u"Software\\Netscape\\Netscape Toolbar\\Search History"),
    // 92. NetZero (History)
    group(u"NetZero", app(u"NetZero", History)),
        keyValues(u"History", HKCU, u"Software\\NetZero\\History"),
    // 93. Office 95/97/2000/XP/2003 (History)
    group(u"Office95_97_2000_XP_2003_Recent_Files", app(u"Office 95/97/2000/XP/2003", History), own(3)),
        keyValues(u"Excel_7_Recent_Files", HKCU, u"Software\\Microsoft\\Excel\\7.0\\Recent Files"),
        keyValues(u"PowerPoint_7_Recent_File_List", HKCU, u"Software\\Microsoft\\PowerPoint\\7.0\\Recent File List"),
        keyValues(u"Excel_8_Recent_Files", HKCU, u"Software\\Microsoft\\Office\\8.0\\Excel\\Recent Files"),
        keyValues(u"PowerPoint_8_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent File List"),
        keyValues(u"Word_8_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\Microsoft Word\\Settings\\Open\\File Name MRU"),
        keyValues(u"Word_8_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\Microsoft Word\\Settings\\Save As\\File Name MRU"),
        keyValues(u"Excel_8_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Open\\File Name MRU"),
        keyValues(u"Excel_8_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Save As\\File Name MRU"),
        keyValues(u"PowerPoint_8_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Open\\File Name MRU"),
        keyValues(u"PowerPoint_8_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Save As\\File Name MRU"),
        value(u"Access_8_MRU1", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU1"),
        value(u"Access_8_MRU2", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU2"),
        value(u"Access_8_MRU3", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU3"),
        value(u"Access_8_MRU4", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU4"),
        value(u"Access_8_MRU5", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU5"),
        value(u"Access_8_MRU6", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU6"),
        value(u"Access_8_MRU7", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU7"),
        value(u"Access_8_MRU8", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU8"),
        value(u"Access_8_MRU9", HKCU, u"Software\\Microsoft\\Office\\8.0\\Access\\Settings\\MRU9"),
        keyValues(u"Excel_9_Recent_Files", HKCU, u"Software\\Microsoft\\Office\\9.0\\Excel\\Recent Files"),
        keyValues(u"PowerPoint_9_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\9.0\\PowerPoint\\Recent File List"),
        keyValues(u"Word_9_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\Microsoft Word\\Settings\\Open\\File Name MRU"),
        keyValues(u"Word_9_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\Microsoft Word\\Settings\\Save As\\File Name MRU"),
        keyValues(u"Excel_9_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Open\\File Name MRU"),
        keyValues(u"Excel_9_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Save As\\File Name MRU"),
        keyValues(u"PowerPoint_9_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Open\\File Name MRU"),
        keyValues(u"PowerPoint_9_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Save As\\File Name MRU"),
        value(u"Access_9_MRU1", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU1"),
        value(u"Access_9_MRU2", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU2"),
        value(u"Access_9_MRU3", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU3"),
        value(u"Access_9_MRU4", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU4"),
        value(u"Access_9_MRU5", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU5"),
        value(u"Access_9_MRU6", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU6"),
        value(u"Access_9_MRU7", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU7"),
        value(u"Access_9_MRU8", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU8"),
        value(u"Access_9_MRU9", HKCU, u"Software\\Microsoft\\Office\\9.0\\Access\\Settings\\MRU9"),
        keyValues(u"Excel_10_Recent_Files", HKCU, u"Software\\Microsoft\\Office\\10.0\\Excel\\Recent Files"),
        keyValues(u"PowerPoint_10_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\10.0\\PowerPoint\\Recent File List"),
        keyValues(u"Word_10_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\10.0\\Common\\Open Find\\Microsoft Word\\Settings\\Open\\File Name MRU"),
        keyValues(u"Word_10_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\10.0\\Common\\Open Find\\Microsoft Word\\Settings\\Save As\\File Name MRU"),
        keyValues(u"Excel_10_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\10.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Open\\File Name MRU"),
        keyValues(u"Excel_10_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\10.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Save As\\File Name MRU"),
        keyValues(u"PowerPoint_10_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\10.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Open\\File Name MRU"),
        keyValues(u"PowerPoint_10_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\10.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Save As\\File Name MRU"),
        value(u"Access_10_MRU1", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU1"),
        value(u"Access_10_MRU2", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU2"),
        value(u"Access_10_MRU3", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU3"),
        value(u"Access_10_MRU4", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU4"),
        value(u"Access_10_MRU5", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU5"),
        value(u"Access_10_MRU6", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU6"),
        value(u"Access_10_MRU7", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU7"),
        value(u"Access_10_MRU8", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU8"),
        value(u"Access_10_MRU9", HKCU, u"Software\\Microsoft\\Office\\10.0\\Access\\Settings\\MRU9"),
        keyValues(u"Excel_11_Recent_Files", HKCU, u"Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files"),
        keyValues(u"PowerPoint_11_Recent_File_List", HKCU, u"Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List"),
        keyValues(u"Word_11_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft Word\\Settings\\Open\\File Name MRU"),
        keyValues(u"Word_11_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft Word\\Settings\\Save As\\File Name MRU"),
        keyValues(u"Excel_11_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Open\\File Name MRU"),
        keyValues(u"Excel_11_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Save As\\File Name MRU"),
        keyValues(u"PowerPoint_11_Open_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Open\\File Name MRU"),
        keyValues(u"PowerPoint_11_SaveAs_File_Name_MRU", HKCU, u"Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Save As\\File Name MRU"),
        value(u"Access_11_MRU1", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU1"),
        value(u"Access_11_MRU2", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU2"),
        value(u"Access_11_MRU3", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU3"),
        value(u"Access_11_MRU4", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU4"),
        value(u"Access_11_MRU5", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU5"),
        value(u"Access_11_MRU6", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU6"),
        value(u"Access_11_MRU7", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU7"),
        value(u"Access_11_MRU8", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU8"),
        value(u"Access_11_MRU9", HKCU, u"Software\\Microsoft\\Office\\11.0\\Access\\Settings\\MRU9"),
        folderFiles(u"Office_Recent", AppData, u"Microsoft\\Office\\Recent"),
    // 94. OpenOffice (History)
    group(u"OpenOfficeMRU", app(u"OpenOffice", History)),
        file(u"OpenOffice_org_1_Histories", AppData, u"OpenOffice.org1.1\\user\\registry\\data\\org\\openoffice\\Office\\Histories.xcu"),
        file(u"OpenOffice_org_2_Histories", AppData, u"OpenOffice.org2\\user\\registry\\data\\org\\openoffice\\Office\\Histories.xcu"),
        file(u"OpenOffice_org_3_Histories", AppData, u"OpenOffice.org\\3\\user\\registry\\data\\org\\openoffice\\Office\\Histories.xcu"),
    // 95. Paint Shop Pro Photo XI (History)
    group(u"PaintShopProPhotoXI", app(u"Paint Shop Pro Photo XI", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Corel\\Paint Shop Pro\\11\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Corel\\Paint Shop Pro\\11\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Corel\\Paint Shop Pro\\11\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Corel\\Paint Shop Pro\\11\\Recent File List\\File4"),
    // 96. Paint Shop Pro 7/8/9 (History)
    group(u"PaintShopPro7_8_9", app(u"Paint Shop Pro 7/8/9", History)),
        value(u"PSP7_Recent_File_List_File1", HKCU, u"Software\\Jasc\\Paint Shop Pro 7\\Recent File List\\File1"),
        value(u"PSP7_Recent_File_List_File2", HKCU, u"Software\\Jasc\\Paint Shop Pro 7\\Recent File List\\File2"),
        value(u"PSP7_Recent_File_List_File3", HKCU, u"Software\\Jasc\\Paint Shop Pro 7\\Recent File List\\File3"),
        value(u"PSP7_Recent_File_List_File4", HKCU, u"Software\\Jasc\\Paint Shop Pro 7\\Recent File List\\File4"),
        value(u"PSP8_Recent_File_List_File1", HKCU, u"Software\\Jasc\\Paint Shop Pro 8\\Recent File List\\File1"),
        value(u"PSP8_Recent_File_List_File2", HKCU, u"Software\\Jasc\\Paint Shop Pro 8\\Recent File List\\File2"),
        value(u"PSP8_Recent_File_List_File3", HKCU, u"Software\\Jasc\\Paint Shop Pro 8\\Recent File List\\File3"),
        value(u"PSP8_Recent_File_List_File4", HKCU, u"Software\\Jasc\\Paint Shop Pro 8\\Recent File List\\File4"),
        value(u"PSP9_Recent_File_List_File1", HKCU, u"Software\\Jasc\\Paint Shop Pro 9\\Recent File List\\File1"),
        value(u"PSP9_Recent_File_List_File2", HKCU, u"Software\\Jasc\\Paint Shop Pro 9\\Recent File List\\File2"),
        value(u"PSP9_Recent_File_List_File3", HKCU, u"Software\\Jasc\\Paint Shop Pro 9\\Recent File List\\File3"),
        value(u"PSP9_Recent_File_List_File4", HKCU, u"Software\\Jasc\\Paint Shop Pro 9\\Recent File List\\File4"),
    // 97. Pakscape (History)
    group(u"PakscapeRecentFilesRemover", app(u"Pakscape", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Pakscape\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Pakscape\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Pakscape\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Pakscape\\Recent File List\\File4"),
    // 98. PopThis (History)
    group(u"PopThis", app(u"PopThis", History)),
        keyValues(u"Recent_Files", HKCU, u"Software\\PopThis!\\Recent Files"),
        file(u"History_dat", ProgramFiles, u"PopThis!\\History.dat"),
    // 99. PowerArchiver (History)
    group(u"PowerArchiver", app(u"PowerArchiver", History)),
        keyValues(u"MRU", HKCU, u"Software\\PowerArchiver\\General\\MRU"),
        keyValues(u"Extract_History", HKCU, u"Software\\PowerArchiver\\Extract\\History"),
        value(u"LastFolder", HKCU, u"Software\\PowerArchiver\\General\\LastFolder"),
        file(u"History_ini", AppData, u"PowerArchiver\\History.ini"),
    // 100. PowerDVD (History)
    group(u"PowerDVD", app(u"PowerDVD", History), own(19)),
        keyValues(u"FileList", HKCU, u"Software\\CyberLink\\PowerDVD\\FileList"),
        value(u"LastOpenPath", HKCU, u"Software\\CyberLink\\PowerDVD\\LastOpenPath"),
        file(u"PowerDVD_log", AppData, u"CyberLink\\PowerDVD\\PowerDVD.log"),
    // 101. PowerZip 6.0 (History)
    group(u"PowerZip60", app(u"PowerZip 6.0", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\PowerZip\\6.0\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\PowerZip\\6.0\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\PowerZip\\6.0\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\PowerZip\\6.0\\Recent File List\\File4"),
    // 102. Quicktime Player (History)
    group(u"QuicktimePlayer", player(u"Quicktime", History), own(13)),
        keyValues(u"Recent_Movies", HKCU, u"Software\\Apple Computer, Inc.\\QuickTime\\LocalUserPreferences\\Recent Movies"),
        value(u"LastOpenFolder", HKCU, u"Software\\Apple Computer, Inc.\\QuickTime\\LocalUserPreferences\\LastOpenFolder"),
        folderFiles(u"Downloads", LocalAppData, u"Apple Computer\\QuickTime\\Downloads"),
        file(u"QTPlayerSession_xml", AppData, u"Apple Computer\\QuickTime\\QTPlayerSession.xml"),
    // 103. RealOne (History)
    group(u"RealOne", app(u"RealOne", History), own(14)),
        keyValues(u"MostRecentClips5", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips5"),
        keyValues(u"MostRecentClips6", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips6"),
        keyValues(u"MostRecentClips7", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips7"),
        keyValues(u"MostRecentClips8", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips8"),
        keyValues(u"MostRecentClips9", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips9"),
        keyValues(u"MostRecentClips10", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips10"),
        folderFiles(u"DataCache", AppData, u"Real\\RealOne Player\\DataCache"),
        file(u"History_rpl", AppData, u"Real\\RealOne Player\\History.rpl"),
    // 104. Realplayer 8.0 (History)
    group(u"Realplayer80", app(u"Realplayer 8.0", History), own(14)),
        keyValues(u"MostRecentClips1", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips1"),
        keyValues(u"MostRecentClips2", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips2"),
        keyValues(u"MostRecentClips3", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips3"),
        keyValues(u"MostRecentClips4", HKCU, u"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips4"),
        folderFiles(u"DataCache", ProgramFiles, u"Real\\RealPlayer\\DataCache"),
    // 105. RegCleaner (Backup Files)
    group(u"RegCleaner", pair(1001010000)),
        folderFiles(u"Backups", ProgramFiles, u"RegCleaner\\Backups"),
        files(u"Undo_reg", ProgramFiles, u"RegCleaner\\Undo*.reg"),
    // 106. Regedit (History)
    group(u"RegeditRecentKey", app(u"Regedit", History), kRegEdit),
        value(u"LastKey", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit\\LastKey"),
    // 107. Windows (Search) (History)
    group(u"SearchHistoryForWindows2000_XP", named(1001030000, History), shell32(22)),
        keyValues(u"ACMru_5001", HKCU, u"Software\\Microsoft\\Search Assistant\\ACMru\\5001"),
        keyValues(u"ACMru_5603", HKCU, u"Software\\Microsoft\\Search Assistant\\ACMru\\5603"),
        keyValues(u"ACMru_5604", HKCU, u"Software\\Microsoft\\Search Assistant\\ACMru\\5604"),
        keyValues(u"ACMru_5647", HKCU, u"Software\\Microsoft\\Search Assistant\\ACMru\\5647"),
        keyValues(u"WordWheelQuery", HKCU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery"),
    // 108. Serif PhotoPlus 6 (History)
    group(u"SerifPhotoPlus6", app(u"Serif PhotoPlus 6", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Serif\\PhotoPlus\\6.0\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Serif\\PhotoPlus\\6.0\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Serif\\PhotoPlus\\6.0\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Serif\\PhotoPlus\\6.0\\Recent File List\\File4"),
    // 109. Setup Factory (History)
    group(u"SetupFactory", app(u"Setup Factory", History)),
        value(u"SUF6_File1", HKCU, u"Software\\Indigo Rose\\Setup Factory 6.0\\Recent File List\\File1"),
        value(u"SUF6_File2", HKCU, u"Software\\Indigo Rose\\Setup Factory 6.0\\Recent File List\\File2"),
        value(u"SUF6_File3", HKCU, u"Software\\Indigo Rose\\Setup Factory 6.0\\Recent File List\\File3"),
        value(u"SUF6_File4", HKCU, u"Software\\Indigo Rose\\Setup Factory 6.0\\Recent File List\\File4"),
        value(u"SUF7_File1", HKCU, u"Software\\Indigo Rose\\Setup Factory 7.0\\Recent File List\\File1"),
        value(u"SUF7_File2", HKCU, u"Software\\Indigo Rose\\Setup Factory 7.0\\Recent File List\\File2"),
        value(u"SUF7_File3", HKCU, u"Software\\Indigo Rose\\Setup Factory 7.0\\Recent File List\\File3"),
        value(u"SUF7_File4", HKCU, u"Software\\Indigo Rose\\Setup Factory 7.0\\Recent File List\\File4"),
    // 110. Sibelius 5 (History)
    group(u"Sibelius5", app(u"Sibelius 5", History)),
        keyValues(u"Recent_Files", HKCU, u"Software\\Sibelius Software\\Sibelius 5\\Recent Files"),
        value(u"LastScoreFolder", HKCU, u"Software\\Sibelius Software\\Sibelius 5\\Folders\\LastScoreFolder"),
    // 111. SmartDraw 6 (History)
    group(u"SmartDraw6", app(u"SmartDraw 6", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\SmartDraw\\SmartDraw 6\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\SmartDraw\\SmartDraw 6\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\SmartDraw\\SmartDraw 6\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\SmartDraw\\SmartDraw 6\\Recent File List\\File4"),
    // 112. Software602 (History)
    group(u"Software602", app(u"Software602", History)),
        keyValues(u"Recent_Files", HKCU, u"Software\\Software602\\602Pro PC SUITE\\Recent Files"),
        file(u"History_dat", AppData, u"Software602\\History.dat"),
    // 113. Sonique (History)
    group(u"Sonique", app(u"Sonique", History)),
        keyValues(u"Recent", HKCU, u"Software\\Sonique\\Recent"),
        file(u"Sonique_hst", ProgramFiles, u"Sonique\\Sonique.hst"),
    // 114. Spybot S&D (Log Files)
    group(u"SpybotSD", app(u"Spybot S&D", LogFiles)),
        folderFiles(u"CommonAppData_Logs", CommonAppData, u"Spybot - Search & Destroy\\Logs"),
        folderFiles(u"ProgramFiles_Logs", ProgramFiles, u"Spybot - Search & Destroy\\Logs"),
        files(u"Checks_log", ProgramFiles, u"Spybot - Search & Destroy\\Checks.*.log"),
    // 115. Spy Sweeper (Temporary Files)
    group(u"SpySweeper", app(u"Spy Sweeper", TemporaryFiles)),
        folderFiles(u"Temp", ProgramFiles, u"Webroot\\Spy Sweeper\\Temp"),
        folderFiles(u"CommonAppData_Temp", CommonAppData, u"Webroot\\Spy Sweeper\\Temp"),
        files(u"Spy_Sweeper_tmp", ProgramFiles, u"Webroot\\Spy Sweeper\\*.tmp"),
    // 116. Spyware Doctor (Log & Quarantined Files)
    group(u"SpywareDoctor", app(u"Spyware Doctor", LogQuarantined)),
        folderFiles(u"Logs", ProgramFiles, u"Spyware Doctor\\Logs"),
        folderFiles(u"Quarantine", ProgramFiles, u"Spyware Doctor\\Quarantine"),
        folderFiles(u"CommonAppData_Logs", CommonAppData, u"PC Tools\\Spyware Doctor\\Logs"),
        folderFiles(u"CommonAppData_Quarantine", CommonAppData, u"PC Tools\\Spyware Doctor\\Quarantine"),
        file(u"SDLog_txt", ProgramFiles, u"Spyware Doctor\\SDLog.txt"),
        files(u"Spyware_Doctor_log", ProgramFiles, u"Spyware Doctor\\*.log"),
    // 117. Java (Sun) (Cache Files)
    group(u"SunJavaCache", app(u"Java (Sun)", CacheFiles), own(2)),
        folderAll(u"Deployment_cache", AppData, u"Sun\\Java\\Deployment\\cache"),
        folderAll(u"Deployment_tmp", AppData, u"Sun\\Java\\Deployment\\tmp"),
        folderFiles(u"Deployment_log", AppData, u"Sun\\Java\\Deployment\\log"),
    // 118. Swiff Player (History)
    group(u"SwiffPlayer", player(u"Swiff", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\GlobFX\\Swiff Player\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\GlobFX\\Swiff Player\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\GlobFX\\Swiff Player\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\GlobFX\\Swiff Player\\Recent File List\\File4"),
    // 119. SWiSH 2.0 (History)
    group(u"SWiSH20", app(u"SWiSH 2.0", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\SWiSHzone.com\\SWiSH 2.0\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\SWiSHzone.com\\SWiSH 2.0\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\SWiSHzone.com\\SWiSH 2.0\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\SWiSHzone.com\\SWiSH 2.0\\Recent File List\\File4"),
    // 120. The Playa (History)
    group(u"ThePlaya", app(u"The Playa", History)),
        keyValues(u"Recent", HKCU, u"Software\\The Playa\\Recent"),
        file(u"History_txt", ProgramFiles, u"The Playa\\History.txt"),
    // 121. Ulead GIF Animator (History)
    group(u"UleadGIFAnimator", app(u"Ulead GIF Animator", History)),
        value(u"Recent_File_List_File1", HKCU, u"Software\\Ulead Systems\\Ulead GIF Animator\\5.0\\Recent File List\\File1"),
        value(u"Recent_File_List_File2", HKCU, u"Software\\Ulead Systems\\Ulead GIF Animator\\5.0\\Recent File List\\File2"),
        value(u"Recent_File_List_File3", HKCU, u"Software\\Ulead Systems\\Ulead GIF Animator\\5.0\\Recent File List\\File3"),
        value(u"Recent_File_List_File4", HKCU, u"Software\\Ulead Systems\\Ulead GIF Animator\\5.0\\Recent File List\\File4"),
    // 122. VNC Viewer (IP List)
    group(u"VNCViewer", pair(1001180000), own(6)),
        keyValues(u"RealVNC_MRU", HKCU, u"Software\\RealVNC\\VNCViewer4\\MRU"),
        keyValues(u"ORL_MRU", HKCU, u"Software\\ORL\\VNCviewer\\MRU"),
    // 123. WebFerret (History)
    group(u"WebFerret", app(u"WebFerret", History)),
        keyValues(u"Search_History", HKCU, u"Software\\FerretSoft\\WebFerret\\Search History"),
        file(u"History_dat", ProgramFiles, u"FerretSoft\\WebFerret\\History.dat"),
    // 124. WinAce (History)
    group(u"WinAce", app(u"WinAce", History)),
        keyValues(u"History", HKCU, u"Software\\e-merge\\WinAce\\History"),
        file(u"History_dat", AppData, u"WinAce\\History.dat"),
    // 125. Winamp (History)
    group(u"Winamp", app(u"Winamp", History), own(20)),
        file(u"ProgramFiles_winamp_m3u", ProgramFiles, u"Winamp\\winamp.m3u"),
        file(u"AppData_winamp_m3u", AppData, u"Winamp\\winamp.m3u"),
    // 126. Windows (Memory Dump Files)
    group(u"WindowsMemoryDump", pair(1001220000), shell32(15)),
        file(u"memory_dmp", Windows, u"memory.dmp"),
        files(u"MiniDump_dmp", Windows, u"MiniDump\\*.dmp"),
    // 127. WinImp (History)
    group(u"WinImpHistory", app(u"WinImp", History)),
        keyValues(u"History", HKCU, u"Software\\Technelysium\\WinImp\\History"),
    // 128. Windows (Log Files)
    group(u"WindowsLogFiles", app(u"Windows", LogFiles), shell32(15)),
        files(u"wbem_Logs_log", System, u"wbem\\Logs\\*.log"),
        files(u"wbem_Logs_lo_", System, u"wbem\\Logs\\*.lo_"),
        file(u"SYSTEM_WBEM_logs", Windows, u"SYSTEM\\WBEM\\logs"),
        files(u"_log", Windows, u"*.log"),
        files(u"_bak", Windows, u"*.bak"),
        files(u"_log_txt", Windows, u"*log.txt"),
        file(u"Faultlog_txt", Windows, u"Faultlog.txt"),
        file(u"SchedLog_Txt", Windows, u"SchedLog.Txt"),
        files(u"Dr_Watson_log", CommonAppData, u"Microsoft\\Dr Watson\\*.log"),
        files(u"Dr_Watson_dmp", CommonAppData, u"Microsoft\\Dr Watson\\*.dmp"),
        file(u"SCANDISK_LOG", Literal, u"C:\\SCANDISK.LOG"),
    // 129. WinRar (History)
    group(u"WinRar", app(u"WinRar", History), own(5)),
        keyValues(u"ArcHistory", HKCU, u"Software\\WinRAR\\ArcHistory"),
        keyValues(u"DialogEditHistory_ArcName", HKCU, u"Software\\WinRAR\\DialogEditHistory\\ArcName"),
        keyValues(u"DialogEditHistory_ExtrPath", HKCU, u"Software\\WinRAR\\DialogEditHistory\\ExtrPath"),
    // 130. Windows (Temporary Folder) (Files)
    group(u"WindowsTemp", named(1001260000, Files), shell32(8)),
        folderAll(u"temp", Windows, u"temp"),
    // 131. WordPerfect 7/8/9/10/11 (History)
    group(u"WordPerfect7_8_9_10_11", app(u"WordPerfect 7/8/9/10/11", History)),
        keyValues(u"WordPerfect_7_Recent_Documents", HKCU, u"Software\\Corel\\WordPerfect\\7\\Recent Documents"),
        keyValues(u"WordPerfect_8_Recent_Documents", HKCU, u"Software\\Corel\\WordPerfect\\8\\Recent Documents"),
        keyValues(u"WordPerfect_9_Recent_Documents", HKCU, u"Software\\Corel\\WordPerfect\\9\\Recent Documents"),
        keyValues(u"WordPerfect_10_Recent_Documents", HKCU, u"Software\\Corel\\WordPerfect\\10\\Recent Documents"),
        keyValues(u"WordPerfect_11_Recent_Documents", HKCU, u"Software\\Corel\\WordPerfect\\11\\Recent Documents"),
    // 132. Windows Prefetch (Cache Files)
    group(u"WinXPPrefetchClean", app(u"Windows Prefetch", CacheFiles), shell32(15)),
        folderFiles(u"Prefetch", Windows, u"Prefetch"),
    // 133. Yahoo! Messenger (Cache Files & History)
    group(u"YahooMessenger", app(u"Yahoo! Messenger", CacheHistory), own(22)),
        subfolders(u"IMVCache", ProgramFiles, u"Yahoo!\\Messenger\\IMVCache"),
    // 134. Zone Alarm (Log Files)
    group(u"ZoneAlarmLogFile", app(u"Zone Alarm", LogFiles)),
        files(u"Internet_Logs_ZALog_txt", Windows, u"Internet Logs\\ZALog*.txt"),
};
// clang-format on

}  // namespace

std::span<const Row> catalogueRows()
{
    return {kRows, std::size(kRows)};
}

}  // namespace s::file::gui::dialogs::purgo::rows

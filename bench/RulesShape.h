// A generated community rule file shaped like the published one (about
// 4,000 entries and 1.8 MB), and the machine it is detected on, for the
// benchmarks of reading and detecting rules: natively on the in-memory
// machine (bench/RulesBench.cpp) and under Wine in a real prefix
// (bench/win/RulesBench_win.cpp).
//
// What makes the published file costly, and is here in the same measure:
//   - 14,000 FileKeys, 3,300 DetectFile and 1,400 Detect lines;
//   - entries written for 47 Chromium-style browsers at once, each browser
//     a DetectFile and FileKeys with wildcards in middle components
//     (%LocalAppData%\Google\Chrome*\User Data\*\*Cache*|*|REMOVESELF), so
//     one line names every profile folder of every browser present;
//   - Windows Store entries whose folders are wildcards among the packages
//     (%LocalAppData%\Packages\Vendor.App_*\AC\Temp);
//   - %ProgramFiles% standing for two folders; REMOVESELF on a third of the
//     keys; a few ExcludeKeys, RegKeys and Warnings.
// The machine: three Chromium browsers and Firefox, each with two profiles
// of the usual folders and files, 120 Store packages, and 60 of the other
// applications installed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rules_shape {

// A place on the machine: a variable's folder ("LocalAppData", "AppData",
// "ProgramFiles", "CommonAppData") and a path below it; a file when size >= 0,
// a folder otherwise.
struct Place {
    const char* variable;
    std::string path;
    std::int64_t size;
};

struct Shape {
    std::string text;               // the rule file
    std::vector<Place> places;      // to create
    std::vector<std::string> keys;  // to create under HKEY_CURRENT_USER\Software
    int entries = 0;
    int fileKeys = 0;
    int removeSelf = 0;
    int detectFiles = 0;
    int detects = 0;
};

inline constexpr const char* kChromiumBrowsers[47] = {
    "Google\\Chrome",
    "Google\\Chrome Beta",
    "Google\\Chrome Dev",
    "Google\\Chrome SxS",
    "Chromium",
    "Microsoft\\Edge",
    "Microsoft\\Edge Beta",
    "Microsoft\\Edge Dev",
    "Microsoft\\Edge SxS",
    "BraveSoftware\\Brave-Browser",
    "BraveSoftware\\Brave-Browser-Beta",
    "BraveSoftware\\Brave-Browser-Nightly",
    "Vivaldi",
    "Yandex\\YandexBrowser",
    "Comodo\\Dragon",
    "Epic Privacy Browser",
    "CentBrowser",
    "Torch",
    "Iridium",
    "Slimjet",
    "Chromium\\SRWare Iron",
    "Blisk",
    "Coowon\\Coowon",
    "Chedot",
    "7Star\\7Star",
    "Amigo",
    "Orbitum",
    "Sputnik\\Sputnik",
    "uCozMedia\\Uran",
    "Kometa",
    "Elements Browser",
    "Xpom",
    "CocCoc\\Browser",
    "360Chrome\\Chrome",
    "Tencent\\QQBrowser",
    "Maxthon\\Application",
    "Naver\\Naver Whale",
    "Superbird",
    "CatsxpSoftware\\Catsxp",
    "Liebao",
    "Comodo\\Chromodo",
    "AVAST Software\\Browser",
    "AVG\\Browser",
    "CCleaner Browser",
    "Ghost Browser",
    "Citrio",
    "Thorium",
};

// The profile's folders and files of a Chromium browser, and the user data
// folder's own (a few of each are what the entries name).
inline constexpr const char* kProfileFolders[] = {"Cache\\Cache_Data",
                                                  "Code Cache\\js",
                                                  "Code Cache\\wasm",
                                                  "GPUCache",
                                                  "DawnCache",
                                                  "Service Worker\\CacheStorage",
                                                  "Service Worker\\ScriptCache",
                                                  "Local Storage\\leveldb",
                                                  "Session Storage",
                                                  "Sessions",
                                                  "IndexedDB",
                                                  "Extensions\\abcdefghijklmnop\\1.0",
                                                  "Extension State",
                                                  "File System",
                                                  "blob_storage",
                                                  "databases",
                                                  "Network",
                                                  "shared_proto_db",
                                                  "Storage\\ext",
                                                  "VideoDecodeStats",
                                                  "WebStorage",
                                                  "Feature Engagement Tracker",
                                                  "optimization_guide_hint_cache_store",
                                                  "Site Characteristics Database",
                                                  "Sync Data\\LevelDB",
                                                  "JumpListIconsMostVisited",
                                                  "BudgetDatabase",
                                                  "Download Service\\Files",
                                                  "GCM Store",
                                                  "Platform Notifications"};
inline constexpr const char* kProfileFiles[] = {"Preferences",
                                                "Secure Preferences",
                                                "Bookmarks",
                                                "Login Data",
                                                "Web Data",
                                                "History",
                                                "Favicons",
                                                "Top Sites",
                                                "Shortcuts",
                                                "Visited Links",
                                                "Network Action Predictor",
                                                "Current Session"};
inline constexpr const char* kUserDataFolders[] = {
    "Crashpad\\reports", "ShaderCache",        "GrShaderCache",    "Safe Browsing", "CertificateRevocation",
    "SwReporter",        "Subresource Filter", "MEIPreload",       "pnacl",         "WidevineCdm",
    "hyphen-data",       "ZxcvbnData",         "FileTypePolicies", "OriginTrials",  "System Profile"};

// What the Chromium-style entries clean in every profile of every browser:
// the folder part below "User Data\*\" and the pattern.
struct ChromiumTopic {
    const char* name;
    const char* below;
    const char* pattern;
    bool removeSelf;
};
inline constexpr ChromiumTopic kChromiumTopics[] = {
    {"Cache", "*Cache*", "*", true},
    {"Code Cache", "Code Cache\\*", "*", true},
    {"GPU Cache", "GPUCache", "*", true},
    {"Service Worker", "Service Worker\\*Cache*", "*", true},
    {"Session Storage", "Session Storage", "*", false},
    {"Sessions", "Sessions", "*", false},
    {"Local Storage", "Local Storage\\leveldb", "*.log", false},
    {"IndexedDB", "IndexedDB\\*", "*", true},
    {"File System", "File System", "*", true},
    {"Blob Storage", "blob_storage", "*", true},
    {"Databases", "databases", "*", true},
    {"Network", "Network", "*-journal", false},
    {"Logs", "*", "*.log;LOG;LOG.old", false},
    {"Favicons", "", "Favicons*", false},
    {"Top Sites", "", "Top Sites*", false},
    {"Shortcuts", "", "Shortcuts*", false},
    {"Visited Links", "", "Visited Links", false},
    {"Predictor", "", "Network Action Predictor*", false},
    {"Jump List", "JumpListIcons*", "*", true},
    {"Video Stats", "VideoDecodeStats", "*", true},
    {"Feature Tracker", "Feature Engagement Tracker", "*", true},
    {"Hint Cache", "optimization_guide_hint_cache_store", "*", true},
    {"Site Database", "Site Characteristics Database", "*", true},
    {"Budget", "BudgetDatabase", "*", true},
};

// The browsers present on the machine (indexes into kChromiumBrowsers).
inline constexpr int kInstalledBrowsers[] = {0, 5, 9};

inline std::string number(long value)
{
    return std::to_string(value);
}

inline Shape makeShape()
{
    Shape shape;
    std::string& out = shape.text;
    out.reserve(2u << 20);
    out += "; Version: 250310\r\n; # of entries: ";
    const std::size_t countAt = out.size();
    out += "\r\n; Generated for the benchmarks: shaped like the community file.\r\n\r\n";

    const auto fileKey = [&](int n, const std::string& value, bool removeSelf) {
        out += "FileKey" + number(n) + "=" + value + (removeSelf ? "|REMOVESELF" : "") + "\r\n";
        ++shape.fileKeys;
        shape.removeSelf += removeSelf ? 1 : 0;
    };

    // Entries written for every Chromium-style browser at once.
    for (const ChromiumTopic& topic : kChromiumTopics) {
        out += std::string("[Chromium ") + topic.name + " *]\r\nLangSecRef=3029\r\n";
        int n = 0;
        for (const char* browser : kChromiumBrowsers) {
            out += "DetectFile" + number(++n) + "=%LocalAppData%\\" + browser + "\\User Data\r\n";
            ++shape.detectFiles;
        }
        n = 0;
        for (const char* browser : kChromiumBrowsers) {
            const std::string root = std::string("%LocalAppData%\\") + browser + "*\\User Data\\*";
            const std::string folder = *topic.below ? root + "\\" + topic.below : root;
            fileKey(++n, folder + "|" + topic.pattern, topic.removeSelf);
            if (n % 2 == 0)
                fileKey(++n, std::string("%LocalAppData%\\") + browser + "\\User Data\\*\\*Cache*|*.tmp|RECURSE",
                        false);
        }
        out += "\r\n";
        ++shape.entries;
    }

    // Firefox-style entries: wildcard profiles.
    static constexpr const char* kGeckoTopics[][3] = {
        {"Cache", "cache2", "*"},
        {"Startup Cache", "startupCache", "*"},
        {"Thumbnails", "thumbnails", "*"},
        {"Crash Reports", "minidumps", "*.dmp"},
        {"Session Backups", "sessionstore-backups", "*.jsonlz4"},
    };
    for (const auto& topic : kGeckoTopics) {
        out += std::string("[Firefox ") + topic[0] +
               " *]\r\nLangSecRef=3026\r\nDetectFile=%AppData%\\Mozilla\\Firefox\r\n";
        ++shape.detectFiles;
        fileKey(1, std::string("%LocalAppData%\\Mozilla\\Firefox\\Profiles\\*\\") + topic[1] + "|" + topic[2], true);
        fileKey(2, std::string("%AppData%\\Mozilla\\Firefox\\Profiles\\*\\") + topic[1] + "|" + topic[2], true);
        out += "\r\n";
        ++shape.entries;
    }

    // Windows entries: detected by the version alone, so they always become
    // groups, as on a real machine.
    for (int i = 0; i < 60; ++i) {
        out += "[Windows Part " + number(i) + " *]\r\nLangSecRef=3025\r\nDetectOS=6.1|\r\n";
        fileKey(1, "%LocalAppData%\\Microsoft\\Windows\\Part" + number(i) + "|*.log;*.etl", false);
        fileKey(2, "%WinDir%\\Logs\\Part" + number(i) + "|*|RECURSE", i % 3 == 0);
        out += "\r\n";
        ++shape.entries;
    }

    // The applications: 3,978 entries of three keys on average. Twenty
    // kinds by number: 2 SpecialDetect, 2 Store packages, 7 detected by a
    // key, 9 by a file or folder.
    constexpr int kApplications = 3978;
    for (int i = 0; i < kApplications; ++i) {
        const std::string vendor = "Vendor" + number(i) + " Software";
        const std::string app = "Application" + number(i);
        const int kind = i % 20;
        const bool store = kind == 3 || kind == 13;
        out += "[" + vendor + " " + app + " *]\r\nLangSecRef=" + number(store ? 3031 : 3021 + i % 5) + "\r\n";
        if (kind == 5 || kind == 15) {
            out += "SpecialDetect=DET_" + app + "\r\n";
        } else if (store) {
            out += "DetectFile=%LocalAppData%\\Packages\\" + app + "." + vendor.substr(0, 6) + "_*\r\n";
            ++shape.detectFiles;
        } else if (kind % 2 == 0 && kind != 4 && kind != 14 && kind != 18) {
            out += "Detect=HKCU\\Software\\" + vendor + "\\" + app + "\r\n";
            ++shape.detects;
        } else if (kind == 1 || kind == 7 || kind == 11 || kind == 17) {
            out += "DetectFile=%ProgramFiles%\\" + vendor + "\\" + app + "\\" + app + ".exe\r\n";
            ++shape.detectFiles;
        } else if (kind == 9 || kind == 19) {
            out += "DetectFile=%LocalAppData%\\" + vendor + "\\" + app + "*\r\n";
            ++shape.detectFiles;
        } else {
            out += "DetectFile=%AppData%\\" + vendor + "\\" + app + "\r\n";
            ++shape.detectFiles;
        }
        if (i % 11 == 4)
            out += "Warning=This entry also removes " + app + "'s list of recent projects.\r\n";
        if (store) {
            const std::string package = "%LocalAppData%\\Packages\\" + app + "." + vendor.substr(0, 6) + "_*";
            fileKey(1, package + "\\AC\\INetCache|*|RECURSE", true);
            fileKey(2, package + "\\AC\\Temp|*|RECURSE", true);
            fileKey(3, package + "\\LocalCache|*.log;*.tmp|RECURSE", false);
        } else {
            fileKey(1, "%LocalAppData%\\" + vendor + "\\" + app + "\\Cache|*|RECURSE", i % 3 != 1);
            fileKey(2, "%AppData%\\" + vendor + "\\" + app + "\\Logs|*.log;*.txt", false);
            if (i % 3 == 0)
                fileKey(3, "%AppData%\\" + vendor + "\\" + app + "\\Profiles\\*\\Cache*|*|RECURSE", i % 2 == 0);
            if (i % 10 == 1)
                fileKey(4, "%CommonAppData%\\" + vendor + "\\" + app + "\\Temp|*.tmp", false);
            if (i % 2 == 1)
                fileKey(5, "%ProgramFiles%\\" + vendor + "\\" + app + "\\Logs|*.log", false);
        }
        if (i % 2 == 0)
            out += "RegKey1=HKCU\\Software\\" + vendor + "\\" + app + "\\Recent\r\n";
        if (i % 20 == 7)
            out += "ExcludeKey1=FILE|%LocalAppData%\\" + vendor + "\\" + app + "\\Cache\\|settings.json\r\n";
        out += "\r\n";
        ++shape.entries;
    }
    out.insert(countAt, number(shape.entries));

    // The machine. Three Chromium browsers with two profiles each.
    for (int index : kInstalledBrowsers) {
        const std::string userData = std::string(kChromiumBrowsers[index]) + "\\User Data";
        shape.places.push_back({"LocalAppData", userData + "\\Local State", 4000});
        for (const char* folder : kUserDataFolders)
            shape.places.push_back({"LocalAppData", userData + "\\" + folder + "\\data", 100});
        for (const char* profile : {"Default", "Profile 1"}) {
            const std::string base = userData + "\\" + profile;
            for (const char* file : kProfileFiles)
                shape.places.push_back({"LocalAppData", base + "\\" + file, 2000});
            for (const char* folder : kProfileFolders) {
                shape.places.push_back({"LocalAppData", base + "\\" + folder + "\\f_000001", 500});
                shape.places.push_back({"LocalAppData", base + "\\" + folder + "\\f_000002", 700});
            }
        }
    }
    // Firefox with two profiles.
    for (const char* profile : {"abcd1234.default-release", "efgh5678.work"}) {
        for (const char* file : {"key4.db", "logins.json", "places.sqlite", "prefs.js", "cookies.sqlite"})
            shape.places.push_back(
                {"AppData", std::string("Mozilla\\Firefox\\Profiles\\") + profile + "\\" + file, 3000});
        for (const char* folder : {"cache2\\entries", "startupCache", "thumbnails"})
            shape.places.push_back(
                {"LocalAppData", std::string("Mozilla\\Firefox\\Profiles\\") + profile + "\\" + folder + "\\x", 900});
    }
    // 120 Store packages, a tenth of them of the file's applications.
    for (int p = 0; p < 120; ++p) {
        const int i = p * 10 + 3;
        const std::string package = p % 10 == 0 ? "Application" + number(i) + ".Vendor_8wekyb3d8bbwe"
                                                : "Other.Package" + number(p) + "_8wekyb3d8bbwe";
        for (const char* folder : {"AC\\INetCache", "AC\\Temp", "LocalCache", "LocalState", "TempState"})
            shape.places.push_back({"LocalAppData", "Packages\\" + package + "\\" + folder + "\\f", 50});
    }
    // 60 of the applications installed.
    for (int i = 1; i < kApplications; i += kApplications / 60) {
        const std::string vendor = "Vendor" + number(i) + " Software";
        const std::string app = "Application" + number(i);
        shape.keys.push_back(vendor + "\\" + app);
        shape.places.push_back({"ProgramFiles", vendor + "\\" + app + "\\" + app + ".exe", 1000});
        shape.places.push_back({"LocalAppData", vendor + "\\" + app + "\\Cache\\c1", 300});
        shape.places.push_back({"AppData", vendor + "\\" + app + "\\Logs\\run.log", 30});
        shape.places.push_back({"AppData", vendor + "\\" + app + "\\Profiles\\p1\\Cache\\x", 10});
    }
    return shape;
}

}  // namespace rules_shape

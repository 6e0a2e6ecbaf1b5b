#include "catalogue/BrowserProfiles.h"

#include "catalogue/CatalogueFolders.h"
#include "platform/MachineFacts.h"
#include "platform/PathWin.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::win::PathWin;

enum class Browser : std::uint8_t { Chrome, Chromium, Edge, Brave, Vivaldi, Opera, OperaGX, Firefox };

// What a group holds of a browser's places; Guard only names the program.
enum class Part : std::uint8_t { Cache, Cookies, History, Guard };

struct BrowserInfo {
    const char16_t* name;     // as the user knows it, in "Close Chrome to clean it"
    const char16_t* process;  // the executable every window and background copy runs
};

constexpr std::array<BrowserInfo, 8> kBrowsers{{
    {u"Chrome", u"chrome.exe"},
    {u"Chromium", u"chrome.exe"},
    {u"Edge", u"msedge.exe"},
    {u"Brave", u"brave.exe"},
    {u"Vivaldi", u"vivaldi.exe"},
    {u"Opera", u"opera.exe"},
    {u"Opera GX", u"opera.exe"},
    {u"Firefox", u"firefox.exe"},
}};

const BrowserInfo& infoOf(Browser browser)
{
    return kBrowsers[static_cast<std::size_t>(browser)];
}

struct BrowserGroup {
    const char16_t* id;
    Browser browser;
    Part part;
};

// The built-in groups of Chrome, Firefox and Opera first (their places of
// today's versions follow their own targets), then the added groups.
constexpr std::array<BrowserGroup, 29> kGroups{{
    {u"ChromeCacheFile", Browser::Chrome, Part::Cache},     {u"ChromeCookie", Browser::Chrome, Part::Cookies},
    {u"ChromeHistory", Browser::Chrome, Part::History},     {u"ChromeCurrentTabs", Browser::Chrome, Part::Guard},
    {u"FirefoxCacheFile", Browser::Firefox, Part::Cache},   {u"FirefoxCookie", Browser::Firefox, Part::Guard},
    {u"FirefoxHistory", Browser::Firefox, Part::Guard},     {u"FirefoxDownloadHistory", Browser::Firefox, Part::Guard},
    {u"FirefoxFormHistory", Browser::Firefox, Part::Guard}, {u"OperaCacheFile", Browser::Opera, Part::Cache},
    {u"OperaCookies", Browser::Opera, Part::Cookies},       {u"OperaHistory", Browser::Opera, Part::History},
    {u"OperaVisitedLinks", Browser::Opera, Part::Guard},    {u"OperaDownloadHistory", Browser::Opera, Part::Guard},
    {u"EdgeCacheFile", Browser::Edge, Part::Cache},         {u"EdgeCookie", Browser::Edge, Part::Cookies},
    {u"EdgeHistory", Browser::Edge, Part::History},         {u"BraveCacheFile", Browser::Brave, Part::Cache},
    {u"BraveCookie", Browser::Brave, Part::Cookies},        {u"BraveHistory", Browser::Brave, Part::History},
    {u"VivaldiCacheFile", Browser::Vivaldi, Part::Cache},   {u"VivaldiCookie", Browser::Vivaldi, Part::Cookies},
    {u"VivaldiHistory", Browser::Vivaldi, Part::History},   {u"ChromiumCacheFile", Browser::Chromium, Part::Cache},
    {u"ChromiumCookie", Browser::Chromium, Part::Cookies},  {u"ChromiumHistory", Browser::Chromium, Part::History},
    {u"OperaGXCacheFile", Browser::OperaGX, Part::Cache},   {u"OperaGXCookie", Browser::OperaGX, Part::Cookies},
    {u"OperaGXHistory", Browser::OperaGX, Part::History},
}};

const BrowserGroup* groupOf(std::u16string_view id)
{
    for (const BrowserGroup& group : kGroups)
        if (id == group.id)
            return &group;
    return nullptr;
}

// One installation of a Chromium browser: its "User Data" folder, where the
// profiles are, and for Opera the Local AppData twin that holds the caches.
struct Install {
    Browser browser;
    PlatformFolder root;
    const char16_t* userData;
    const char16_t* localTwin;  // below Local AppData; nullptr when the caches stay in userData
    const char16_t* channel;    // leads the target ids of a channel beside the stable one
};

constexpr std::array<Install, 16> kInstalls{{
    {Browser::Chrome, PlatformFolder::LocalAppData, u"Google\\Chrome\\User Data", nullptr, u""},
    {Browser::Chrome, PlatformFolder::LocalAppData, u"Google\\Chrome Beta\\User Data", nullptr, u"Beta_"},
    {Browser::Chrome, PlatformFolder::LocalAppData, u"Google\\Chrome Dev\\User Data", nullptr, u"Dev_"},
    {Browser::Chrome, PlatformFolder::LocalAppData, u"Google\\Chrome SxS\\User Data", nullptr, u"Canary_"},
    {Browser::Chromium, PlatformFolder::LocalAppData, u"Chromium\\User Data", nullptr, u""},
    {Browser::Edge, PlatformFolder::LocalAppData, u"Microsoft\\Edge\\User Data", nullptr, u""},
    {Browser::Edge, PlatformFolder::LocalAppData, u"Microsoft\\Edge Beta\\User Data", nullptr, u"Beta_"},
    {Browser::Edge, PlatformFolder::LocalAppData, u"Microsoft\\Edge Dev\\User Data", nullptr, u"Dev_"},
    {Browser::Edge, PlatformFolder::LocalAppData, u"Microsoft\\Edge SxS\\User Data", nullptr, u"Canary_"},
    {Browser::Brave, PlatformFolder::LocalAppData, u"BraveSoftware\\Brave-Browser\\User Data", nullptr, u""},
    {Browser::Brave, PlatformFolder::LocalAppData, u"BraveSoftware\\Brave-Browser-Beta\\User Data", nullptr, u"Beta_"},
    {Browser::Brave, PlatformFolder::LocalAppData, u"BraveSoftware\\Brave-Browser-Nightly\\User Data", nullptr,
     u"Nightly_"},
    {Browser::Vivaldi, PlatformFolder::LocalAppData, u"Vivaldi\\User Data", nullptr, u""},
    // Opera keeps a profile's data in Roaming and its caches in a Local
    // AppData folder of the same name; the folder itself is the first
    // profile (it holds Preferences).
    {Browser::Opera, PlatformFolder::AppData, u"Opera Software\\Opera Stable", u"Opera Software\\Opera Stable", u""},
    {Browser::OperaGX, PlatformFolder::AppData, u"Opera Software\\Opera GX Stable", u"Opera Software\\Opera GX Stable",
     u""},
    {Browser::Opera, PlatformFolder::AppData, u"Opera Software\\Opera Beta", u"Opera Software\\Opera Beta", u"Beta_"},
}};

// Where a place is: in each profile, or once below User Data.
enum class Level : std::uint8_t { Profile, UserData };

struct Place {
    Part part;
    Level level;
    TargetKind kind;
    const char16_t* id;
    const char16_t* path;
    // The built-in Chrome rows name this place in the stable channel's
    // Default profile already; a second target would count it twice.
    bool builtInForChromeDefault;
};

constexpr std::array<Place, 25> kPlaces{{
    {Part::Cache, Level::Profile, Type_Folder_1_Level, u"Cache", u"Cache", true},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"Cache_Data", u"Cache\\Cache_Data", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"Code_Cache", u"Code Cache", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"GPUCache", u"GPUCache", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"CacheStorage", u"Service Worker\\CacheStorage", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"ScriptCache", u"Service Worker\\ScriptCache", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"DawnCache", u"DawnCache", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"DawnGraphiteCache", u"DawnGraphiteCache", false},
    {Part::Cache, Level::Profile, Type_Folder_All_Levels, u"DawnWebGPUCache", u"DawnWebGPUCache", false},
    {Part::Cache, Level::UserData, Type_Folder_All_Levels, u"ShaderCache", u"ShaderCache", false},
    {Part::Cache, Level::UserData, Type_Folder_All_Levels, u"GrShaderCache", u"GrShaderCache", false},
    {Part::Cache, Level::UserData, Type_Folder_All_Levels, u"GraphiteDawnCache", u"GraphiteDawnCache", false},
    {Part::Cache, Level::UserData, Type_Folder_All_Levels, u"Crashpad_Reports", u"Crashpad\\reports", false},
    {Part::Cookies, Level::Profile, Type_File, u"Network_Cookies", u"Network\\Cookies", false},
    {Part::Cookies, Level::Profile, Type_File, u"Network_Cookies_Journal", u"Network\\Cookies-journal", false},
    {Part::Cookies, Level::Profile, Type_File, u"Cookies", u"Cookies", true},
    {Part::Cookies, Level::Profile, Type_File, u"Cookies_Journal", u"Cookies-journal", true},
    {Part::History, Level::Profile, Type_File, u"History", u"History", true},
    {Part::History, Level::Profile, Type_File, u"History_Journal", u"History-journal", true},
    {Part::History, Level::Profile, Type_File, u"Visited_Links", u"Visited Links", true},
    {Part::History, Level::Profile, Type_File, u"Top_Sites", u"Top Sites", false},
    {Part::History, Level::Profile, Type_File, u"Top_Sites_Journal", u"Top Sites-journal", false},
    {Part::History, Level::Profile, Type_File, u"Shortcuts", u"Shortcuts", false},
    {Part::History, Level::Profile, Type_File, u"Shortcuts_Journal", u"Shortcuts-journal", false},
    {Part::History, Level::Profile, Type_Folder_All_Levels, u"Sessions", u"Sessions", false},
}};

// Firefox's caches below the local profile folder, all rebuilt by Firefox.
constexpr std::array<const char16_t*, 5> kFirefoxCaches{u"cache2", u"startupCache", u"thumbnails", u"jumpListCache",
                                                        u"shader-cache"};

Text joined(const Text& base, std::u16string_view name)
{
    Text path = base;
    if (!path.isEmpty() && path.last() != u'\\')
        path += u'\\';
    path += name;
    return path;
}

bool exists(const Text& path)
{
    return PathWin::make(path.view())->exists();
}

// A target id from a folder's name: letters and digits kept, the rest "_",
// so that the id can name a settings entry.
void appendIdPart(Text& id, std::u16string_view text)
{
    for (char16_t unit : text) {
        const bool plain =
            (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || (unit >= u'0' && unit <= u'9');
        id += plain ? unit : u'_';
    }
}

// Adds a target unless its place is missing; an id the group already has
// (two profile folders whose names differ only in what the id drops) gets a
// number after it.
void addIfPresent(TimeRecord& group, TargetKind kind, const Text& id, const Text& path)
{
    if (!exists(path))
        return;
    Text unique = id;
    for (int n = 2;; ++n) {
        bool taken = false;
        for (std::size_t c = 0; c < group.childCount() && !taken; ++c)
            taken = group.child(c)->id.equals(unique.view());
        if (!taken)
            break;
        unique = id;
        unique += u'_';
        unique.appendS32(n);
    }
    TimeRecord* target = TimeRecord::makeTarget(kind, unique, path);
    // A profile can appear after the user stored the group's states: its
    // places are taken as the group says, as the cookie sites are.
    target->defaultChecked = true;
    group.addChild(target);
}

// The profiles of a User Data folder: the folder itself when it holds
// Preferences (Opera), then each subfolder that does (Default, Profile 1,
// Guest Profile, and whatever a browser names its others), and each one of
// "_side_profiles" that does (Opera's further profiles), in listing order.
std::vector<Text> profilesOf(const Text& userData)
{
    std::vector<Text> profiles;
    if (exists(joined(userData, u"Preferences")))
        profiles.push_back(userData);
    const auto addFrom = [&profiles](const Text& parent) {
        auto folders = s::file::win::PathListHandle::take();
        PathWin::make(parent.view())
            ->listSubdirectories(*folders, s::file::HiddenAndSystem::Include, s::file::Recursion::TopLevel);
        for (int i = 0; i < folders->count(); ++i) {
            Text folder = folders->get(i).fullPath();
            if (exists(joined(folder, u"Preferences")))
                profiles.push_back(folder);
        }
    };
    addFrom(userData);
    addFrom(joined(userData, u"_side_profiles"));
    return profiles;
}

Text lastComponentOf(const Text& path)
{
    const int slash = path.lastIndexOf(u'\\');
    Text name = path;
    if (slash >= 0)
        name.remove(0, slash + 1);
    return name;
}

void addChromiumPlaces(TimeRecord& group, Browser browser, Part part)
{
    for (const Install& install : kInstalls) {
        if (install.browser != browser)
            continue;
        const Text& base = platformFolder(install.root);
        if (base.isEmpty())
            continue;
        const Text userData = joined(base, install.userData);
        Text localData;
        if (install.localTwin && !platformFolder(PlatformFolder::LocalAppData).isEmpty())
            localData = joined(platformFolder(PlatformFolder::LocalAppData), install.localTwin);
        const bool twin = !localData.isEmpty() && !localData.equalsIgnoreCase(userData.view());

        // Caches may be in either folder of a twin pair; the rest is in User
        // Data. The Local twin's target carries "_Local" in its id.
        const auto addBoth = [&](const Place& place, const Text& roaming, const Text& local, const Text& idBase) {
            Text id = idBase;
            addIfPresent(group, place.kind, id, joined(roaming, place.path));
            if (twin && place.part == Part::Cache) {
                id += u"_Local";
                addIfPresent(group, place.kind, id, joined(local, place.path));
            }
        };

        for (const Text& profile : profilesOf(userData)) {
            // The profile's path below User Data ("Default",
            // "_side_profiles\1a2b"), or its own name when it is User Data.
            Text name = profile;
            if (profile.length() > userData.length())
                name.remove(0, userData.length() + 1);
            else
                name = lastComponentOf(profile);
            const bool chromeDefault =
                browser == Browser::Chrome && *install.channel == u'\0' && name.equalsIgnoreCase(u"Default");
            Text localProfile;
            if (twin)
                localProfile = profile.length() > userData.length() ? joined(localData, name.view()) : localData;
            for (const Place& place : kPlaces) {
                if (place.part != part || place.level != Level::Profile)
                    continue;
                if (chromeDefault && place.builtInForChromeDefault)
                    continue;
                Text id(install.channel);
                appendIdPart(id, name.view());
                id += u'_';
                id += place.id;
                addBoth(place, profile, localProfile, id);
            }
        }
        for (const Place& place : kPlaces) {
            if (place.part != part || place.level != Level::UserData)
                continue;
            Text id(install.channel);
            id += place.id;
            addBoth(place, userData, localData, id);
        }
    }
}

void addFirefoxPlaces(TimeRecord& group)
{
    const Text base = joined(platformFolder(PlatformFolder::AppData), u"Mozilla\\Firefox");
    const Text localBase = joined(platformFolder(PlatformFolder::LocalAppData), u"Mozilla\\Firefox");
    const Text ini = joined(base, u"profiles.ini");
    auto& facts = s::platform::machineFacts();
    // Firefox numbers its profiles from 0 without gaps and stops reading at
    // the first missing section; so does this.
    for (int n = 0;; ++n) {
        Text section(u"Profile");
        section.appendS32(n);
        Text path = facts.iniString(ini.view(), section.view(), u"Path", u"-1", 260);
        const int32_t isRelative = facts.iniInt(ini.view(), section.view(), u"IsRelative", -1);
        if (path.equalsIgnoreCase(u"-1") || isRelative == -1)
            break;
        path.replaceAll(u'/', u'\\');
        Text root;
        Text local;
        if (isRelative == 1) {
            if (climbsOutOfFolder(path))
                continue;
            root = joined(base, path.view());
            local = joined(localBase, path.view());
        } else {
            root = path;
            local = path;
        }
        // The same rule as the first profile's: a folder another program's
        // file names must not be a protected place.
        if (!trustedProfileFolder(root) || !trustedProfileFolder(local))
            continue;
        const Text name = lastComponentOf(root);
        for (const char16_t* cache : kFirefoxCaches) {
            Text id;
            appendIdPart(id, name.view());
            id += u'_';
            appendIdPart(id, cache);
            addIfPresent(group, Type_Folder_All_Levels, id, joined(local, cache));
            if (!local.equalsIgnoreCase(root.view())) {
                id += u"_Roaming";
                addIfPresent(group, Type_Folder_All_Levels, id, joined(root, cache));
            }
        }
    }
}

// Usual places of the browsers' programs, for the added groups' icons.
struct ProgramPlace {
    Browser browser;
    PlatformFolder root;
    const char16_t* path;
    // In the 32-bit programs' folder: the 64-bit Program Files folder's name
    // with " (x86)" after it.
    bool x86 = false;
};

constexpr std::array<ProgramPlace, 8> kPrograms{{
    {Browser::Edge, PlatformFolder::ProgramFiles, u"Microsoft\\Edge\\Application\\msedge.exe", true},
    {Browser::Edge, PlatformFolder::ProgramFiles, u"Microsoft\\Edge\\Application\\msedge.exe"},
    {Browser::Brave, PlatformFolder::ProgramFiles, u"BraveSoftware\\Brave-Browser\\Application\\brave.exe"},
    {Browser::Brave, PlatformFolder::LocalAppData, u"BraveSoftware\\Brave-Browser\\Application\\brave.exe"},
    {Browser::Vivaldi, PlatformFolder::LocalAppData, u"Vivaldi\\Application\\vivaldi.exe"},
    {Browser::Vivaldi, PlatformFolder::ProgramFiles, u"Vivaldi\\Application\\vivaldi.exe"},
    {Browser::Chromium, PlatformFolder::LocalAppData, u"Chromium\\Application\\chrome.exe"},
    {Browser::OperaGX, PlatformFolder::LocalAppData, u"Programs\\Opera GX\\opera.exe"},
}};

}  // namespace

bool climbsOutOfFolder(const Text& relative)
{
    const std::u16string_view text = relative.view();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = text.size();
        if (text.substr(start, end - start) == u"..")
            return true;
        start = end + 1;
    }
    return false;
}

bool trustedProfileFolder(const Text& path)
{
    auto folder = PathWin::make(path.view());
    return folder->isValid() && folder->isAbsolute() && !folder->isProtectedPlace();
}

void addBrowserPlaces(TimeRecord& group)
{
    const BrowserGroup* browserGroup = groupOf(group.id.view());
    if (!browserGroup)
        return;
    const BrowserInfo& info = infoOf(browserGroup->browser);
    group.guardProcess = info.process;
    group.guardName = info.name;
    if (browserGroup->part == Part::Guard)
        return;
    if (browserGroup->browser == Browser::Firefox)
        addFirefoxPlaces(group);
    else
        addChromiumPlaces(group, browserGroup->browser, browserGroup->part);
}

Text browserGroupIcon(std::u16string_view groupId)
{
    const BrowserGroup* browserGroup = groupOf(groupId);
    if (browserGroup) {
        for (const ProgramPlace& program : kPrograms) {
            if (program.browser != browserGroup->browser || platformFolder(program.root).isEmpty())
                continue;
            Text folder = platformFolder(program.root);
            if (program.x86)
                folder += u" (x86)";
            Text path = joined(folder, program.path);
            auto file = PathWin::make(path.view());
            if (file->exists()) {
                Text icon = file->fullPath();
                icon += u",0";
                return icon;
            }
        }
    }
    // The shell's globe, the icon Windows gives the Internet.
    Text icon = platformFolder(PlatformFolder::System);
    icon += u"\\shell32.dll,13";
    return icon;
}

}  // namespace s::file::gui::dialogs::purgo

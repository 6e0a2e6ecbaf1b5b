// Where Firefox and Opera keep their profiles: read from their own ini files
// and registry entries, with the default locations when nothing is found.
#include "catalogue/Catalogue.h"

#include "catalogue/BrowserProfiles.h"
#include "catalogue/CatalogueFolders.h"
#include "catalogue/SpecialHandlers.h"
#include "platform/MachineFacts.h"
#include "platform/PathWin.h"
#include "platform/RegFunctions.h"
#include "platform/Win32Codes.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace s::file::gui::dialogs::purgo {

namespace {

constexpr std::uint32_t kPathCapacity = 260;

// The name of Firefox's cache folder, in the profile and in the local profile.
constexpr std::u16string_view kFirefoxCache = u"Cache";

// One output of a finder and its name below the profile folder. Each finder
// walks one table of them, so that an output's name is written once.
struct Output {
    Text* out;
    std::u16string_view name;
};

void setIf(Text* out, const Text& base, std::u16string_view name)
{
    if (!out)
        return;
    *out = base;
    *out += name;
}

// base + "\" + name, with one backslash between them even when base ends in
// one (the Local AppData base always does), so that the same folder always
// reads the same.
Text joined(const Text& base, std::u16string_view name)
{
    Text path = base;
    if (path.isEmpty() || path.last() != u'\\')
        path += u'\\';
    path += name;
    return path;
}

void setJoined(Text* out, const Text& base, std::u16string_view name)
{
    if (out)
        *out = joined(base, name);
}

// One REG_SZ value of an open key, read into a buffer of kPathCapacity
// characters; false when it is missing or does not fit.
bool readText(const s::platform::RegKey& key, const char16_t* name, Text& out)
{
    std::array<char16_t, kPathCapacity> buffer{};
    std::uint32_t type = 0;
    auto length = static_cast<std::uint32_t>(buffer.size() * sizeof(char16_t));
    if (s::platform::regFunctions().queryValue(key, name, &type, reinterpret_cast<std::byte*>(buffer.data()),
                                               &length) != s::platform::kErrorSuccess)
        return false;
    if (type != s::platform::kRegSz && type != s::platform::kRegExpandSz)
        return false;
    std::size_t units = length / sizeof(char16_t);
    std::u16string_view text(buffer.data(), units);
    std::size_t end = text.find(u'\0');
    out = text.substr(0, end);
    return true;
}

}  // namespace

void findFirefoxPaths(Text* cache, Text* localCache, Text* cookiesTxt, Text* cookiesSqlite, Text* historyDat,
                      Text* downloadsRdf, Text* downloadsSqlite, Text* formhistoryDat, Text* formhistorySqlite)
{
    // What the profile folder holds; the local cache is the cache's name
    // below the local profile folder.
    const std::array<Output, 8> outputs{{
        {cache, kFirefoxCache},
        {cookiesTxt, u"Cookies.txt"},
        {cookiesSqlite, u"cookies.sqlite"},
        {historyDat, u"History.dat"},
        {downloadsRdf, u"downloads.rdf"},
        {downloadsSqlite, u"downloads.sqlite"},
        {formhistoryDat, u"formhistory.dat"},
        {formhistorySqlite, u"formhistory.sqlite"},
    }};
    for (const Output& output : outputs)
        if (output.out)
            output.out->clear();
    if (localCache)
        localCache->clear();

    Text base = platformFolder(PlatformFolder::AppData);
    base += u"\\Mozilla\\Firefox\\";
    Text localBase = platformFolder(PlatformFolder::LocalAppData);
    localBase += u"\\Mozilla\\Firefox\\";

    Text ini = base;
    ini += u"profiles.ini";
    auto& facts = s::platform::machineFacts();
    // Only the first profile counts.
    Text path = facts.iniString(ini.view(), u"Profile0", u"Path", u"-1", kPathCapacity);
    int32_t isRelative = facts.iniInt(ini.view(), u"Profile0", u"IsRelative", -1);

    if (path.equalsIgnoreCase(u"-1") || isRelative == -1) {
        for (const Output& output : outputs)
            setJoined(output.out, base, output.name);
        // Without a profile the cache is named as a folder, with its
        // backslash, and there is no local cache.
        if (cache)
            *cache += u'\\';
        return;
    }

    for (int i = 0; i < path.length(); ++i)
        if (path[i] == u'/')
            path[i] = u'\\';
    if (isRelative == 1) {
        if (climbsOutOfFolder(path))
            return;
        base += path;
        localBase += path;
    } else {
        base = path;
    }
    // Nothing at all rather than a guess: the targets below would delete
    // files and a cache folder in whatever place the ini file names.
    if (!trustedProfileFolder(base))
        return;
    for (const Output& output : outputs)
        setJoined(output.out, base, output.name);
    // A profile kept wholly in the roaming folder has no separate local cache.
    const Text local = joined(localBase, kFirefoxCache);
    if (localCache && !local.equalsIgnoreCase(joined(base, kFirefoxCache)))
        *localCache = local;
}

int findOperaInstallFolder(Text& out)
{
    auto& reg = s::platform::regFunctions();
    Text text;
    s::platform::RegKey key;
    if (reg.openKey(s::platform::RootKey::LocalMachine,
                    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Opera", s::platform::kKeyRead,
                    key) == s::platform::kErrorSuccess) {
        if (!readText(key, u"UninstallString", text))
            return 0;
    } else {
        if (reg.openKey(s::platform::RootKey::CurrentUser, u"Software\\Opera Software", s::platform::kKeyRead, key) !=
            s::platform::kErrorSuccess)
            return 0;
        if (!readText(key, u"Last CommandLine v2", text) && !readText(key, u"Last CommandLine", text))
            return 0;
    }
    text.toLowerCase();
    int at = text.indexOf(u"uninst");
    if (at < 0)
        at = text.indexOf(u"opera.exe");
    if (at < 0)
        return 0;
    text.setLength(at);
    // Command lines quote the program's path ("C:\Program Files\Opera\opera.exe" -url);
    // the quote is no part of the folder.
    int start = 0;
    while (start < text.length() && (text[start] == u'"' || text[start] == u' '))
        ++start;
    if (start > 0)
        text.remove(0, start);
    if (text.isEmpty() || !trustedProfileFolder(text))
        return 0;
    out = text;
    return out.length();
}

void findOperaPaths(Text* cache, Text* cookies, Text* global, Text* visitedLinks, Text* downloadList,
                    Text* downloadFolder)
{
    // What the profile folder holds. Each name is appended to the folder's
    // text as it stands: the AppData folders end in a backslash, and the
    // install folder is its command line cut just before the program's name.
    const std::array<Output, 6> outputs{{
        {cache, u"Cache4"},
        {cookies, u"cookies4.dat"},
        {global, u"global.dat"},
        {visitedLinks, u"vlink4.dat"},
        {downloadList, u"download.dat"},
        {downloadFolder, u"download"},
    }};
    Text profile = platformFolder(PlatformFolder::AppData);
    profile += u"\\Opera\\Opera\\profile\\";
    for (const Output& output : outputs)
        setIf(output.out, profile, output.name);

    Text install;
    if (findOperaInstallFolder(install) == 0)
        return;

    auto& facts = s::platform::machineFacts();
    Text operadef = install;
    operadef += u"operadef6.ini";
    // A buffer of two characters: the flag is one character.
    Text multiUser = facts.iniString(operadef.view(), u"System", u"Multi User", u"Invalid Value", 2);
    if (!multiUser.equals(u"1")) {
        profile = install;
        Text sub = install;
        sub += u"profile";
        if (folderExists(sub) && trustedProfileFolder(sub)) {
            profile = sub;
            profile += u'\\';
        }
    } else {
        profile = platformFolder(PlatformFolder::AppData);
        profile += u"\\Opera\\OPERA\\profile\\";
        if (!folderExists(profile)) {
            profile = platformFolder(PlatformFolder::AppData);
            profile += u"\\Opera\\OPERA7\\profile\\";
        }
    }

    Text opera6 = profile;
    opera6 += u"opera6.ini";
    Text cacheDirectory =
        facts.iniString(opera6.view(), u"User Prefs", u"Cache Directory4", u"Invalid Value", kPathCapacity);
    // Only a profile without its own cache setting keeps the cache beside it;
    // otherwise the cache stays where the default profile has it.
    const bool cacheInProfile = cacheDirectory.equals(u"Invalid Value");
    for (const Output& output : outputs)
        if (output.out != cache || cacheInProfile)
            setIf(output.out, profile, output.name);
}

}  // namespace s::file::gui::dialogs::purgo

// Where Firefox and Opera keep their profiles: read from their own ini files
// and registry entries, with the default locations when nothing is found.
#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueFolders.h"
#include "platform/FileSystem.h"
#include "platform/MachineFacts.h"
#include "platform/PathWin.h"
#include "platform/Registry.h"
#include "platform/Win32Codes.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace s::file::gui::dialogs::purgo {

namespace {

constexpr std::uint32_t kPathCapacity = 260;

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

bool isFolder(const Text& path)
{
    std::uint32_t attributes = s::platform::fileSystem().attributes(path.c_str());
    return attributes != s::platform::kInvalidFileAttributes && (attributes & s::platform::kFileAttributeDirectory);
}

// One REG_SZ value of an open key, read into a buffer of kPathCapacity
// characters; false when it is missing or does not fit.
bool readText(const s::platform::RegKey& key, const char16_t* name, Text& out)
{
    std::array<char16_t, kPathCapacity> buffer{};
    std::uint32_t type = 0;
    auto length = static_cast<std::uint32_t>(buffer.size() * sizeof(char16_t));
    if (s::platform::registry().queryValue(key, name, &type, reinterpret_cast<std::byte*>(buffer.data()), &length) !=
        s::platform::kErrorSuccess)
        return false;
    if (type != s::platform::kRegSz && type != s::platform::kRegExpandSz)
        return false;
    std::size_t units = length / sizeof(char16_t);
    std::u16string_view text(buffer.data(), units);
    std::size_t end = text.find(u'\0');
    out = text.substr(0, end);
    return true;
}

// A folder named by another program's files (profiles.ini, Opera's ini files
// and registry values). Those are written by programs without administrator
// rights, yet they steer what this elevated program deletes: only an
// absolute path that is not a protected place is taken.
bool trustedFolder(const Text& path)
{
    auto folder = s::file::win::PathWin::make(path.view());
    return folder->isValid() && folder->isAbsolute() && !folder->isProtectedPlace();
}

// A relative profile path must stay inside the Firefox folder.
bool climbs(const Text& relative)
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

}  // namespace

void findFirefoxPaths(Text* cache, Text* localCache, Text* cookiesTxt, Text* cookiesSqlite, Text* historyDat,
                      Text* downloadsRdf, Text* downloadsSqlite, Text* formhistoryDat, Text* formhistorySqlite)
{
    for (Text* out : {cache, localCache, cookiesTxt, cookiesSqlite, historyDat, downloadsRdf, downloadsSqlite,
                      formhistoryDat, formhistorySqlite})
        if (out)
            out->clear();

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
        setIf(cache, base, u"Cache\\");
        setIf(cookiesTxt, base, u"Cookies.txt");
        setIf(cookiesSqlite, base, u"cookies.sqlite");
        setIf(historyDat, base, u"History.dat");
        setIf(downloadsRdf, base, u"downloads.rdf");
        setIf(downloadsSqlite, base, u"downloads.sqlite");
        setIf(formhistoryDat, base, u"formhistory.dat");
        setIf(formhistorySqlite, base, u"formhistory.sqlite");
        return;
    }

    for (int i = 0; i < path.length(); ++i)
        if (path[i] == u'/')
            path[i] = u'\\';
    if (isRelative == 1) {
        if (climbs(path))
            return;
        base += path;
        localBase += path;
    } else {
        base = path;
    }
    // Nothing at all rather than a guess: the targets below would delete
    // files and a cache folder in whatever place the ini file names.
    if (!trustedFolder(base))
        return;
    setJoined(cookiesTxt, base, u"Cookies.txt");
    setJoined(cookiesSqlite, base, u"cookies.sqlite");
    setJoined(historyDat, base, u"History.dat");
    setJoined(downloadsRdf, base, u"downloads.rdf");
    setJoined(downloadsSqlite, base, u"downloads.sqlite");
    setJoined(formhistoryDat, base, u"formhistory.dat");
    setJoined(formhistorySqlite, base, u"formhistory.sqlite");
    base = joined(base, u"Cache");
    localBase = joined(localBase, u"Cache");
    if (cache)
        *cache = base;
    // A profile kept wholly in the roaming folder has no separate local cache.
    if (localCache && !localBase.equalsIgnoreCase(base))
        *localCache = localBase;
}

int findOperaInstallFolder(Text& out)
{
    auto& reg = s::platform::registry();
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
    if (text.isEmpty() || !trustedFolder(text))
        return 0;
    out = text;
    return out.length();
}

void findOperaPaths(Text* cache, Text* cookies, Text* global, Text* visitedLinks, Text* downloadList,
                    Text* downloadFolder)
{
    Text profile = platformFolder(PlatformFolder::AppData);
    profile += u"\\Opera\\Opera\\profile\\";
    setIf(cache, profile, u"Cache4");
    setIf(cookies, profile, u"cookies4.dat");
    setIf(global, profile, u"global.dat");
    setIf(visitedLinks, profile, u"vlink4.dat");
    setIf(downloadList, profile, u"download.dat");
    setIf(downloadFolder, profile, u"download");

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
        if (isFolder(sub) && trustedFolder(sub)) {
            profile = sub;
            profile += u'\\';
        }
    } else {
        profile = platformFolder(PlatformFolder::AppData);
        profile += u"\\Opera\\OPERA\\profile\\";
        if (!isFolder(profile)) {
            profile = platformFolder(PlatformFolder::AppData);
            profile += u"\\Opera\\OPERA7\\profile\\";
        }
    }
    setIf(cookies, profile, u"cookies4.dat");
    setIf(global, profile, u"global.dat");
    setIf(visitedLinks, profile, u"vlink4.dat");
    setIf(downloadList, profile, u"download.dat");
    setIf(downloadFolder, profile, u"download");

    Text opera6 = profile;
    opera6 += u"opera6.ini";
    Text cacheDirectory =
        facts.iniString(opera6.view(), u"User Prefs", u"Cache Directory4", u"Invalid Value", kPathCapacity);
    // Only a profile without its own cache setting keeps the cache beside it.
    if (cacheDirectory.equals(u"Invalid Value"))
        setIf(cache, profile, u"Cache4");
}

}  // namespace s::file::gui::dialogs::purgo

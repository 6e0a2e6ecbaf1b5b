// A review of every fixed target the catalogue builds, as a test: each one
// names a cache, log, temporary file, history or most-recently-used place of
// one program, and none reaches the user's documents, a program's binaries,
// a whole settings tree or Windows itself. A new row that fails here needs a
// second look before the rule is widened.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"
#include "engine/Scan.h"
#include "engine/TargetSafety.h"

#include "platform/FindPattern.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/catalogue/TodaysMachine.h"
#include "tests/support/CatalogueMachine.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using purgo::PlatformFolder;

namespace {

std::string lowerUtf8(const Text& text)
{
    std::string out = utf8(text.view());
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool contains(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

bool isRegistryKind(int32_t kind)
{
    return kind >= purgo::Type_RegKey_1_Level && kind <= purgo::Type_RegValue_Wild;
}

// Words that name what may be deleted. The last two components of each fixed
// path (the file, folder or value and what holds it) hold one of them, or the
// last one starts with "last" (LastFolder, Last Session: what a program
// remembers). Words that show up in any path ("profile", "search") do not
// count.
const char* const kTraceWords[] = {"cache",
                                   "log",
                                   "temp",
                                   "tmp",
                                   "history",
                                   "recent",
                                   "mru",
                                   "cookie",
                                   "prefetch",
                                   "dump",
                                   "dmp",
                                   "quarantine",
                                   "backup",
                                   "undo",
                                   "incomplete",
                                   "download",
                                   "thumbnails",
                                   "visited",
                                   "bak",
                                   "clips",
                                   "favorites",
                                   "openfolder",
                                   "upd7bin",
                                   "intelliforms",
                                   "wordwheelquery",
                                   "histories",
                                   "filelist",
                                   "default.jcd",
                                   "winamp.m3u",
                                   ".hst",
                                   "session",
                                   "tabs",
                                   "typedurls",
                                   "global.dat",
                                   "vlink",
                                   "copernic 2001",
                                   "search results",
                                   "search assistant\\acmru",
                                   "reports",
                                   ".etl",
                                   "reportarchive",
                                   "reportqueue",
                                   "top sites",
                                   "shortcuts"};

// Reviewed one by one: a pop-up counter of a toolbar, and Flash Player's
// local shared objects (its cookies), which live under the vendor's folder.
// AbiWord keeps its recent files only in its settings file. The servicing
// stack packs its older logs into CbsPersist_*.cab beside CBS.log.
const char* const kReviewed[] = {"AOLToolbar/IEToolbar_BlockedCounter", "FlashPlayer/AppData_Macromedia",
                                 "AbiWordMRU/AbiWord_Profile", "WindowsUpdateLogFiles/Logs_CBS_cab"};

// User folders and what holds programs or Windows itself, matched as whole
// components (a path is checked with a backslash after it, so that
// "...\Documents" is caught as well as "...\Documents\x").
const char* const kForbiddenParts[] = {"\\documents\\", "\\my documents\\", "\\desktop\\", "\\pictures\\", "\\music\\",
                                       "\\videos\\", "\\favorites\\", "\\start menu\\", "\\onedrive\\", ".exe", ".dll",
                                       ".sys", ".ocx", ".drv", ".cpl", ".msi", "\\system32\\config", "\\drivers\\",
                                       // What a browser's user keeps: bookmarks, saved passwords,
                                       // preferences, form data, extensions.
                                       "\\bookmarks\\", "\\login data\\", "\\preferences\\", "\\secure preferences\\",
                                       "\\local state\\", "\\web data\\", "\\extensions\\", "\\key4.db\\",
                                       "\\logins.json\\", "\\places.sqlite\\", "\\prefs.js\\"};

void expectOutsideUsersThings(const std::string& path, const std::vector<std::string>& bareFolders, int32_t kind)
{
    for (const char* part : kForbiddenParts)
        EXPECT_FALSE(contains(path + "\\", part)) << "reaches " << part;
    std::string trimmed = path;
    while (trimmed.size() > 3 && trimmed.back() == '\\')
        trimmed.pop_back();
    for (const std::string& bare : bareFolders) {
        if (bare.empty())
            continue;
        EXPECT_NE(trimmed, bare) << "a whole platform folder";
        if (kind == purgo::Type_File_Wild) {
            EXPECT_NE(trimmed, bare + "\\*") << "every file of a platform folder";
            EXPECT_NE(trimmed, bare + "\\*.*") << "every file of a platform folder";
        }
    }
}

// Whether a target of this kind at `path` would delete `item` (both lower
// case, full paths).
bool reaches(int32_t kind, const std::string& path, const std::string& item)
{
    const std::size_t slash = item.rfind('\\');
    const std::string parent = item.substr(0, slash);
    switch (kind) {
    case purgo::Type_Folder_1_Level:
        return parent == path;
    case purgo::Type_Folder_All_Levels:
    case purgo::Type_Folder_All_Levels_IncludeSelf:
    case purgo::Type_Folder_OnlyAllSubFolders:
        return item.starts_with(path + "\\");
    case purgo::Type_File:
        return item == path;
    case purgo::Type_File_Wild: {
        const std::size_t patternSlash = path.rfind('\\');
        const std::string folder = path.substr(0, patternSlash);
        const std::string pattern = path.substr(patternSlash + 1);
        const std::u16string pattern16(pattern.begin(), pattern.end());
        const std::string name = item.substr(slash + 1);
        const std::u16string name16(name.begin(), name.end());
        return parent == folder && s::platform::findPatternMatches(pattern16, name16);
    }
    default:
        return false;
    }
}

TEST(CatalogueSafety, EveryFixedTargetIsATrace)
{
    setUpMachine();
    // Today's browsers with their profiles, so that the rows found on the
    // machine are reviewed too, and what their users keep.
    TodaysMachine machine;
    ASSERT_TRUE(machine.layOut());
    std::vector<std::string> keepers;
    for (const MachineItem& item : machine.items())
        if (!item.junk)
            keepers.push_back(lowerUtf8(Text(item.path)));
    BuiltTree tree(englishLocalizer());
    std::vector<std::string> bareFolders;
    for (PlatformFolder folder :
         {PlatformFolder::Temp, PlatformFolder::Windows, PlatformFolder::System, PlatformFolder::ProgramFiles,
          PlatformFolder::AppData, PlatformFolder::LocalAppData, PlatformFolder::CommonAppData}) {
        std::string bare = lowerUtf8(purgo::platformFolder(folder));
        while (bare.size() > 3 && bare.back() == '\\')
            bare.pop_back();
        bareFolders.push_back(bare);
    }
    // The special targets find their places on the machine when measured:
    // those places pass the same review.
    for (TimeRecord* group : tree.groups)
        purgo::scan(*group, nullptr, purgo::Captions::Without);

    for (const TimeRecord* group : tree.groups) {
        for (std::size_t c = 0; c < group->childCount(); ++c) {
            const TimeRecord& target = *group->child(c);
            const std::string path = lowerUtf8(target.target);
            SCOPED_TRACE(utf8(group->id.view()) + "/" + utf8(target.id.view()) + ": " + path);
            if (target.kind == purgo::Type_File_Func) {
                // Special targets: what their count handler named, if a place.
                if (path.size() > 1 && path[1] == ':')
                    expectOutsideUsersThings(path, bareFolders, target.kind);
                continue;
            }

            const std::string name = utf8(group->id.view()) + "/" + utf8(target.id.view());
            std::string tail = path;
            while (!tail.empty() && tail.back() == '\\')
                tail.pop_back();
            const std::size_t lastSlash = tail.find_last_of('\\');
            bool named = tail.substr(lastSlash + 1).starts_with("last");
            if (lastSlash != std::string::npos && lastSlash > 0)
                tail = tail.substr(tail.find_last_of('\\', lastSlash - 1) + 1);
            for (const char* word : kTraceWords)
                named = named || contains(tail, word);
            for (const char* reviewed : kReviewed)
                named = named || name == reviewed;
            EXPECT_TRUE(named) << "names no trace";

            if (isRegistryKind(target.kind)) {
                // Root, "Software", vendor and product at least: never a whole
                // hive or a vendor's whole tree.
                int depth = 0;
                for (char ch : path)
                    depth += ch == '\\';
                EXPECT_GE(depth, 3);
                EXPECT_TRUE(path.starts_with("hkey_current_user\\software\\") ||
                            path.starts_with("hkey_local_machine\\software\\") ||
                            path.starts_with("hkey_users\\.default\\software\\") ||
                            path.starts_with("hkey_classes_root\\software\\"));
            } else {
                // The temporary folder's own row empties it: that is its purpose.
                std::vector<std::string> forbidden = bareFolders;
                if (utf8(group->id.view()) == "SystemTemporaryFolder")
                    forbidden.erase(forbidden.begin());
                expectOutsideUsersThings(path, forbidden, target.kind);
                for (const std::string& keeper : keepers)
                    EXPECT_FALSE(reaches(target.kind, path, keeper)) << "reaches " << keeper;
                if (target.kind == purgo::Type_File_Wild) {
                    std::size_t slash = path.rfind('\\');
                    std::string pattern = path.substr(slash == std::string::npos ? 0 : slash + 1);
                    EXPECT_NE(pattern, "*");
                    EXPECT_NE(pattern, "*.*");
                }
            }
        }
    }
}

// The safety rules must not cost a single legitimate target: on an ordinary
// machine every row of the catalogue is measured and cleaned.
TEST(CatalogueSafety, NoRowIsRefusedOnAnOrdinaryMachine)
{
    setUpMachine();
    BuiltTree tree(englishLocalizer());
    int rows = 0;
    for (const TimeRecord* group : tree.groups) {
        for (std::size_t c = 0; c < group->childCount(); ++c) {
            const TimeRecord& target = *group->child(c);
            if (target.kind == purgo::Type_File_Func)
                continue;
            ++rows;
            EXPECT_TRUE(purgo::mayReach(target))
                << utf8(group->id.view()) << "/" << utf8(target.id.view()) << ": " << utf8(target.target.view());
        }
    }
    EXPECT_GT(rows, 400);
}

}  // namespace

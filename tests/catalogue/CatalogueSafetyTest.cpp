// A review of every fixed target the catalogue builds, as a test: each one
// names a cache, log, temporary file, history or most-recently-used place of
// one program, and none reaches the user's documents, a program's binaries,
// a whole settings tree or Windows itself. A new row that fails here needs a
// second look before the rule is widened.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"

#include "tests/catalogue/CatalogueMachine.h"
#include "tests/catalogue/CatalogueTestSupport.h"

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

bool isFolderKind(int32_t kind)
{
    return kind >= purgo::Type_Folder_1_Level && kind <= purgo::Type_Folder_OnlyAllSubFolders;
}

// Words that name what may be deleted. Each fixed path holds one of them.
const char* const kTraceWords[] = {"cache",     "log",           "temp",    "tmp",          "history",
                                   "recent",    "mru",           "cookie",  "prefetch",     "dump",
                                   "dmp",       "quarantine",    "backup",  "undo",         "incomplete",
                                   "download",  "session",       "tabs",    "thumbnails",   "visited",
                                   "search",    "typed",         "last",    "bak",          "clips",
                                   "favorites", "openfolder",    "upd7bin", "intelliforms", "wordwheelquery",
                                   "histories", "filelist",      "profile", "default.jcd",  "winamp.m3u",
                                   "results",   "copernic 2001", ".hst"};

// Reviewed one by one: a pop-up counter of a toolbar, and Flash Player's
// local shared objects (its cookies), which live under the vendor's folder.
const char* const kReviewed[] = {"AOLToolbar/IEToolbar_BlockedCounter", "FlashPlayer/AppData_Macromedia"};

// User folders and what holds programs or Windows itself.
const char* const kForbiddenParts[] = {"\\documents\\", "\\my documents", "\\desktop",     "\\pictures",
                                       "\\music",       "\\videos",       "\\favorites\\", "\\start menu",
                                       ".exe",          ".dll",           ".sys",          ".ocx",
                                       ".drv",          ".cpl",           ".msi",          "\\system32\\config",
                                       "\\drivers"};

TEST(CatalogueSafety, EveryFixedTargetIsATrace)
{
    setUpMachine();
    BuiltTree tree(englishLocalizer());
    std::vector<std::string> bareFolders;
    for (PlatformFolder folder : {PlatformFolder::Windows, PlatformFolder::System, PlatformFolder::ProgramFiles,
                                  PlatformFolder::AppData, PlatformFolder::LocalAppData, PlatformFolder::CommonAppData})
        bareFolders.push_back(lowerUtf8(purgo::platformFolder(folder)));

    for (const TimeRecord* group : tree.groups) {
        for (std::size_t c = 0; c < group->childCount(); ++c) {
            const TimeRecord& target = *group->child(c);
            if (target.kind == purgo::Type_File_Func)
                continue;  // served by handlers, reviewed with them
            const std::string path = lowerUtf8(target.target);
            SCOPED_TRACE(utf8(group->id.view()) + "/" + utf8(target.id.view()) + ": " + path);

            const std::string name = utf8(group->id.view()) + "/" + utf8(target.id.view());
            bool named = false;
            for (const char* word : kTraceWords)
                named = named || contains(path, word);
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
                for (const char* part : kForbiddenParts)
                    EXPECT_FALSE(contains(path, part)) << "reaches " << part;
                for (const std::string& bare : bareFolders) {
                    EXPECT_NE(path, bare) << "a whole platform folder";
                    if (isFolderKind(target.kind)) {
                        EXPECT_NE(path, bare + "\\") << "a whole platform folder";
                    }
                }
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

}  // namespace

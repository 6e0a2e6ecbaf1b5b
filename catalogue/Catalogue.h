// The built-in catalogue: where Windows and about a hundred applications
// leave caches, logs, histories and most-recently-used lists, as the tree of
// groups and targets that the collect run measures.
//
// The fixed part is written as tables (catalogue/CatalogueData.cpp); a few
// groups are filled by looking at the machine: hotfix uninstaller folders,
// the Internet cache's cookie sites, the fixed drives' Recycle Bins, and the
// Firefox and Opera profiles. Nothing here fails as a whole: a missing
// folder, file or key yields a target that finds nothing, or a dynamic group
// with fewer children.
#pragma once

#include "engine/TimeRecord.h"
#include "lang/Localizer.h"
#include "settings/IMappedData.h"

#include <cstdint>
#include <vector>

namespace s::file::gui::dialogs::purgo {

// The groups of the first catalogue, and those added after them for today's
// browsers and Windows places (catalogue/CatalogueAdded.cpp).
inline constexpr int kBuiltinGroupCount = 134;
inline constexpr int kAddedGroupCount = 21;
inline constexpr int kCatalogueGroupCount = kBuiltinGroupCount + kAddedGroupCount;

// The tree of a collect run: the user's custom groups read back from the
// settings store (records 0 to NumOfCustom - 1 of "CustomItems"), then the
// built-in groups, then the groups of the rule files beside the program
// (catalogue/RuleGroups.h). Ownership of every group passes to list.
void buildCatalogue(std::vector<TimeRecord*>& list, s::lang::Localizer& localizer, s::map::IMappedData& store);

// Appends the built-in groups in their fixed order, each with its targets,
// then the added groups (ownership of the groups passes to list). The
// groups of Chrome, Firefox and Opera get the places of today's versions
// after their own targets, and every browser group its guard
// (catalogue/BrowserProfiles.h). Texts come from the localizer's
// current language; the special targets get the handlers of
// catalogue/SpecialHandlers.h, MruHandlers.h, HotfixHandlers.h and
// CookieSites.h, whose cookie-site lists are refilled.
void buildBuiltinGroups(std::vector<TimeRecord*>& list, s::lang::Localizer& localizer);

// After a change of language: the built-in groups among groups (found by
// their ids) and their special targets take their titles and descriptions
// in the localizer's current language, as buildBuiltinGroups would give
// them. Custom and rule groups keep theirs (the user's and the file's
// words); targets named by the machine (profiles, drives) keep theirs.
void retitleBuiltinGroups(const std::vector<TimeRecord*>& groups, s::lang::Localizer& localizer);

// Firefox's first profile. Each argument is optional; those given are set.
void findFirefoxPaths(Text* cache, Text* localCache, Text* cookiesTxt, Text* cookiesSqlite, Text* historyDat,
                      Text* downloadsRdf, Text* downloadsSqlite, Text* formhistoryDat, Text* formhistorySqlite);
// Opera's profile. Each argument is optional; those given are set.
void findOperaPaths(Text* cache, Text* cookies, Text* global, Text* visitedLinks, Text* downloadList,
                    Text* downloadFolder);
// Opera's install folder with its trailing backslash, from its uninstall
// entry or its last command line; returns its length, 0 (out untouched) when
// Opera is not registered.
int findOperaInstallFolder(Text& out);

}  // namespace s::file::gui::dialogs::purgo

// Today's browsers in the catalogue: every profile of the Chromium family
// (Chrome and its channels, Chromium, Edge and its channels, Brave, Vivaldi,
// Opera, Opera GX) and every Firefox profile of profiles.ini, found on the
// machine when the catalogue is built, with the caches, cookies and histories
// each keeps, and the program whose running copy holds them.
//
// A browser group is named by its id in one table: the built-in Chrome,
// Firefox and Opera groups get the places of today's versions after their
// own targets; the groups added for the other browsers hold nothing else.
// Only places that exist get a target (a profile's folders come and go with
// its use); a browser that is not installed leaves its groups empty.
//
// What is never named: the bookmarks, saved passwords, preferences, form
// data and extensions of a profile (Bookmarks, Login Data, Preferences,
// Secure Preferences, Local State, Web Data, Extensions; key4.db,
// logins.json, places.sqlite, prefs.js).
#pragma once

#include "engine/TimeRecord.h"

#include <string_view>

namespace s::file::gui::dialogs::purgo {

// Appends the group's places of today's browsers after its targets and sets
// the group's guard (the browser's executable and name), when the group's id
// is a browser group's; does nothing for any other group.
void addBrowserPlaces(TimeRecord& group);

// The icon of an added browser group: the browser's own program when it is
// installed in its usual place, else the shell's globe.
Text browserGroupIcon(std::u16string_view groupId);

// A folder named by another program's files (profiles.ini, Opera's ini files
// and registry values). Those are written by programs without administrator
// rights, yet they steer what this elevated program deletes: only an
// absolute path that is not a protected place is taken.
bool trustedProfileFolder(const Text& path);
// A relative profile path with a ".." component, which would leave the
// browser's folder.
bool climbsOutOfFolder(const Text& relative);

}  // namespace s::file::gui::dialogs::purgo

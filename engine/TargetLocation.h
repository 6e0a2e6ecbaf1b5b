// Where a target's location is and whether it is there: locationExists and
// lookUp by kind, over the path and key objects (platform/PathWin.h,
// platform/RegDir.h) and the shell (platform/Shell.h).
//
// A target's text by kind:
// - registry key kinds: a key ("HKEY_CURRENT_USER\Software\X");
// - value kinds: a key, a backslash and the value name; nothing after the last
//   backslash names the key's unnamed default value;
// - folder kinds and Type_File: a path;
// - Type_File_Wild: a folder path, a backslash and a file-name pattern.
// Groups have no location: locationExists is false and lookUp does nothing.
#pragma once

#include "engine/TimeRecord.h"

#include <string_view>

namespace s::file::gui::dialogs::purgo {

// What the registry look-up tells the user when no registry editor could be
// found or started (language id 2010001000), in a message box titled
// `caption` (empty: Windows' own).
struct LookUpTexts {
    Text regeditFailed = Text(u"Failed to Launch Regedit!");
    Text caption;
};

// A value target split at its last backslash: the key path before it and the
// value name after it. Without a backslash the whole text is the key path and
// the name is empty.
void splitValueTarget(std::u16string_view target, Text& keyPath, Text& valueName);

// The text before the last backslash ("" when there is none): a value
// target's key path, a wildcard target's folder.
std::u16string_view beforeLastBackslash(std::u16string_view target);

// Whether the place the target names is there now (a target of a special
// kind asks its exists handler). Drives the main list's "present" look and
// whether "Look up Target..." is offered.
bool locationExists(const TimeRecord& node);

// Shows the target's location to the user: a folder in the file manager, a
// file selected in its folder, a key (with the value selected) in the
// registry editor; a special target calls its look-up handler.
void lookUp(const TimeRecord& node, const LookUpTexts& texts = LookUpTexts());

}  // namespace s::file::gui::dialogs::purgo

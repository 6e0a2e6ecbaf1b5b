// Hotfix uninstallers: the folder $NtUninstall<KB>$ that Windows Update left
// in the Windows folder, paired with the hotfix's entry under the Uninstall
// key of HKEY_LOCAL_MACHINE. The target measures and deletes the folder with
// everything in it and then the Uninstall entry with all its subkeys.
//
// handlerData of a hotfix target is a pointer to its KB text (a Text that
// lives until the program ends); hotfixKbData() keeps such texts.
#pragma once

#include "engine/TimeRecord.h"

#include <cstdint>
#include <string_view>

namespace s::file::gui::dialogs::purgo {

// Where the hotfix folders and their Uninstall entries live. The handlers
// use the system's places; tests give their own.
struct HotfixPlaces {
    Text windowsFolder;  // no trailing backslash
    Text uninstallKey;   // registry path of the Uninstall key, no trailing backslash
};

// The Windows folder and
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall.
HotfixPlaces systemHotfixPlaces();

// A KB text that names a hotfix folder and an Uninstall entry: not empty, one
// path component (no \ or /), no wildcard, not "." or "..". Anything else
// could make the folder or the key path name a parent (an empty KB would name
// the Uninstall key itself), so the handlers refuse it.
bool isUsableKb(std::u16string_view kb);

// The folder: places.windowsFolder + "\$NtUninstall" + kb + "$". The count
// sets target to it and measures it as a folder with itself: every file and
// subfolder at every level plus 1 for the folder, all their bytes; a missing
// folder counts 0/0.
void hotfixCount(const HotfixPlaces& places, std::u16string_view kb, Text& target, int64_t& size, int64_t& found);
// Deletes the folder with everything in it, without telling Explorer, and
// hands what cannot go now to Windows for deletion at the next boot; then
// deletes places.uninstallKey + "\" + kb with all its subkeys.
void hotfixClean(const HotfixPlaces& places, std::u16string_view kb);

// The handlers on the system's places; handlerData is a hotfixKbData() value.
void hotfixCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t handlerExtra);
void hotfixClean(intptr_t handlerData, int32_t handlerExtra);

// The handlerData of a hotfix target for kb: a pointer to a copy of the text
// that lives until the program ends (the same pointer for the same text).
intptr_t hotfixKbData(std::u16string_view kb);

// The catalogue's hotfix group: one target per folder of the Windows folder
// (hidden ones too, never a link) whose name matches "$NtUninstall*$"
// (letters without regard to case), in listing order, whose name has at
// least 16 characters and whose KB (the name without "$NtUninstall" and the
// final "$") has an Uninstall entry that opens with full access. Each
// target: id "_" + KB, title KB, the given description, handlers hotfixCount,
// hotfixClean, folderExists and folderLookUp, handlerData hotfixKbData(KB),
// the shell's folder icon.
void addHotfixTargets(TimeRecord& group, const Text& description, const HotfixPlaces& places = systemHotfixPlaces());

}  // namespace s::file::gui::dialogs::purgo

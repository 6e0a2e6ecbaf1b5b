// What the engine refuses to measure or clean, whatever the catalogue, a
// custom group or another program's files say. A refused target measures 0
// and its clean deletes nothing; that is all the user sees of it.
//
// Refused:
// - a path that is not absolute ("Temp\x", "C:*.log", "\temp"): it would act
//   on the current folder, which for the boot run is System32; a platform
//   folder that could not be resolved leaves such a path behind ("\temp");
// - a folder kind whose folder is a protected place (drive and share roots,
//   Windows and system folders, Program Files, ProgramData, the profiles and
//   their own folders, the program's folder: platform/ProtectedPlaces.h), or
//   is itself a link or junction (what it shows is somewhere else; a link
//   further up the path is fine, Windows' compatibility junctions live there);
// - `Type_File` naming a folder (delete path would take the whole tree while
//   the scan showed one item of 0 bytes);
// - `Type_File_Wild` whose folder is a link, or a protected place when the
//   pattern goes into subfolders or matches every name ("*", "*.*"); "*.log"
//   directly in the Windows folder stays;
// - the key kinds that delete subkeys or all values (0 to 3) on a protected
//   key: root keys, the keys just below them and the few below those that
//   Windows cannot do without (RegDir::isProtectedKey); or on a key that is
//   itself a registry link (its values and subkeys are another key's).
// Value targets and special targets are not judged here.
#pragma once

#include "engine/TimeRecord.h"

#include <cstdint>
#include <string_view>

namespace s::file::gui::dialogs::purgo {

// True when the target may be measured and cleaned. Groups are always true.
bool mayReach(const TimeRecord& target);

// The same judgement with the file attributes of a full path
// (GetFileAttributesW's answer, kInvalidFileAttributes when there is none)
// taken from the caller, who may know them already: a builder of many
// targets from folder listings asks the file system once per folder instead
// of once per target.
using AttributesOf = std::uint32_t (*)(void* context, std::u16string_view fullPath);
bool mayReach(const TimeRecord& target, AttributesOf attributesOf, void* context);

// True for a file-name pattern that matches every name: nothing but
// wildcards and dots, at least one of them a star.
bool matchesEveryName(std::u16string_view pattern);

}  // namespace s::file::gui::dialogs::purgo

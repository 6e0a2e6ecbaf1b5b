// What the clean of one target deletes, item by item. The clean
// (engine/Clean.cpp) lists a target here and deletes each item it is given;
// `purgoc preview --files` lists the same items and measures them, so that
// what it shows is exactly what a clean would delete.
//
// Items by kind: the files directly in a folder (1 level), the files and
// folders directly in it (all levels: a folder goes with everything in it),
// its folders (only subfolders), the matches of a wildcard, the file or
// folder itself (one file, all levels and self) when it exists; the values of
// a key (1 level), its subkeys (all levels: its own values stay; only
// subkeys), the key itself (all levels and self) when it exists, one value
// when it exists; a special target is one item that its clean handler
// empties. A target that removes the folders its clean empties
// (TimeRecord::removeEmptyFolders) ends each folder's items with the folder
// itself, to be removed only if it then holds nothing.
//
// A target the engine refuses (engine/TargetSafety.h) lists nothing. The
// checked states are not looked at: which targets are cleaned is the
// clean's decision.
#pragma once

#include "engine/TimeRecord.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace s::file::win {
class PathWin;
}
namespace s::reg::win {
class RegDir;
}

namespace s::file::gui::dialogs::purgo {

enum class CleanItemType : uint8_t { File, Folder, Value, Key, Handler, EmptyFolder };

struct CleanItem {
    CleanItemType type = CleanItemType::File;
    s::file::win::PathWin* path = nullptr;  // File, Folder, EmptyFolder
    s::reg::win::RegDir* key = nullptr;     // Key; a Value's key
    std::u16string_view valueName;          // Value ("" is the key's default value)
};

// Calls each with every item the clean of target deletes, in the order the
// clean deletes them. The objects an item points to live until each returns.
void forEachCleanItem(TimeRecord& target, const std::function<void(CleanItem&)>& each);

// "file", "folder", "value", "key", "handler", "emptyFolder".
const char* cleanItemTypeName(CleanItemType type);

// The item as a user reads it: the path; the key's path, a backslash and the
// value's name; the key's path; a special target's text (its count
// handler's description of what it covers), or its title when that is empty.
Text cleanItemText(const CleanItem& item, const TimeRecord& target);

// How many items (a folder or key with everything in it) and bytes the item
// holds, measured as the scan measures its target. A special target's item
// holds the target's last measures; an empty folder is one item of 0 bytes.
struct ItemMeasures {
    int64_t found = 0;
    int64_t size = 0;
};
ItemMeasures measureCleanItem(CleanItem& item, const TimeRecord& target);

}  // namespace s::file::gui::dialogs::purgo

// The user's keep list: what no scan or clean may count or delete, whatever
// target covers it (built-in, custom and rule groups alike), chosen by the
// user in the items window, the Keep List window or `purgoc keep`.
//
// Entries by type:
//   File     one file ("C:\Logs\app.log")
//   Folder   a folder with everything below it
//   Pattern  the files whose names match a wildcard ("*.log", '*' and '?' as
//            FindFirstFileW matches) in a folder and every folder below it
//   Key      a registry key with its values and every subkey
//   Value    one value of a key ("" is the key's default value)
// each with the time it was added. An entry that names nothing that exists
// is harmless: it keeps nothing.
//
// The list is turned into a KeepList (engine/KeepList.h) that every target
// of the tree carries as TimeRecord::userKeep; the kept walk
// (engine/KeptWalk.h) honours it exactly as it honours a rule file's
// exclusions, so the scan counts what the clean deletes.
#pragma once

#include "engine/KeepList.h"
#include "engine/TimeRecord.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace s::file::gui::dialogs::purgo {

enum class KeepEntryType : uint8_t { File, Folder, Pattern, Key, Value };

struct KeepEntry {
    KeepEntryType type = KeepEntryType::File;
    // The file, the folder (a pattern's folder), the key (a value's key): a
    // full path ("C:\...") or a key in its long form ("HKEY_CURRENT_USER\...").
    std::u16string path;
    // A pattern's wildcard, a value's name; empty for the others.
    std::u16string name;
    // When it was added: seconds since 1970-01-01 00:00 UTC.
    int64_t added = 0;
};

// "file", "folder", "pattern", "key", "value": the names the settings file
// and `purgoc keep` use.
const char16_t* keepEntryTypeName(KeepEntryType type);
std::optional<KeepEntryType> keepEntryTypeFromName(std::u16string_view name);

// The entry as a user reads it: the path; the folder, a backslash and the
// pattern; the key; the key, a backslash and the value's name.
std::u16string keepEntryText(const KeepEntry& entry);

class UserKeepList {
public:
    enum class Added : uint8_t { Added, Duplicate, Invalid };

    // Adds the entry, its path in its long form (a relative path or a '\' in
    // a pattern is Invalid, as is an empty path). An entry of the same type
    // that names the same thing (compared as the keep list compares: case
    // folded, "." and ".." resolved, "HKCU" as "HKEY_CURRENT_USER") is a
    // Duplicate and changes nothing.
    Added add(KeepEntry entry);
    // Removes the entry at index; false when there is none.
    bool remove(std::size_t index);
    // The index of the entry whose text (keepEntryText) is `text`, compared
    // as add compares; -1 when there is none.
    int find(std::u16string_view text) const;

    const std::vector<KeepEntry>& entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.empty(); }

    // What the entries keep, for TimeRecord::userKeep; nullptr while there
    // are none.
    std::shared_ptr<const KeepList> keepList() const;

private:
    // The entries, and each one's type and comparison form, so that adding
    // the thousandth entry costs one look-up, not a pass over the others.
    std::vector<KeepEntry> m_entries;
    std::unordered_set<std::u16string> m_forms;
};

// Normalises an entry's path to the form the list stores: a file system
// path made full and long ("C:\Data\."), a key's root in its long form
// ("HKCU" becomes "HKEY_CURRENT_USER"). Empty when it is neither absolute
// nor a key.
std::u16string keepEntryPath(KeepEntryType type, std::u16string_view path);

// Gives every target of the groups the user's keep list.
void applyUserKeepList(const std::vector<TimeRecord*>& groups, const std::shared_ptr<const KeepList>& keep);

}  // namespace s::file::gui::dialogs::purgo

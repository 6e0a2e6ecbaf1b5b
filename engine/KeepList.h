// What a clean leaves although a target covers it: files by folder and name
// pattern, whole folders, registry keys with everything under them, single
// values. A target that carries a keep list (TimeRecord::keep) is measured
// and cleaned by walking its folder or key (engine/KeptWalk.h), so that what
// is kept is neither counted nor deleted, and no folder or key that holds
// something kept is deleted whole. Rule files bring their exclusions in this
// form; a user's own keep list can use the same one.
//
// Every question is answered by a few hash look-ups (one per level of the
// path asked about), never by a pass over the rules: a user's keep list may
// hold thousands of entries and is asked about every item a scan meets.
//
// Paths compare in the protected places' form (platform/ProtectedPlaces.h:
// "/" as "\", "." and ".." resolved, letters folded A-Z); a rule on a path
// that is not absolute is dropped, as it could only match by accident. Key
// paths compare by their text with letters folded A-Z and doubled or
// trailing backslashes ignored; value names compare folded too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace s::file::gui::dialogs::purgo {

class KeepList {
public:
    enum class Depth : std::uint8_t {
        ThisFolder,  // only files directly in the folder
        AllLevels,   // files at every depth below the folder
    };

    // Keeps the files whose names match `pattern` ('*' and '?', as
    // FindFirstFileW matches) in `folder` (or below it). AllLevels with a
    // pattern that matches every name ("*", "*.*") keeps the folder whole.
    // False (nothing added) when the folder is not absolute or the pattern
    // is empty or holds a backslash.
    bool keepFiles(std::u16string_view folder, std::u16string_view pattern, Depth depth);
    // The key with its values and every subkey.
    bool keepKey(std::u16string_view keyPath);
    // One value of a key; an empty name is the key's default value.
    bool keepValue(std::u16string_view keyPath, std::u16string_view name);

    bool isEmpty() const { return m_files.empty() && m_keys.empty() && m_values.empty(); }

    // The file at this full path is kept.
    bool keepsFile(std::u16string_view path) const;
    // Appends the patterns of the rules that reach the files directly in the
    // folder: a file there is kept (keepsFile) exactly when its name matches
    // one of them. A walk asks once per folder, then matches names.
    void filePatternsIn(std::u16string_view folder, std::vector<std::u16string_view>& out) const;
    // The folder is kept whole: nothing in it may be counted or deleted.
    bool keepsFolder(std::u16string_view folder) const;
    // Something at or below the folder may be kept, so it cannot go whole:
    // a clean walks into it instead.
    bool keepsInside(std::u16string_view folder) const;

    // The key (Windows form, "HKEY_CURRENT_USER\Software\X") is kept whole.
    bool keepsKey(std::u16string_view keyPath) const;
    // Something at or below the key is kept, so it cannot go whole.
    bool keepsInsideKey(std::u16string_view keyPath) const;
    bool keepsValue(std::u16string_view keyPath, std::u16string_view name) const;

private:
    struct FileRule {
        std::u16string pattern;
        Depth depth;
    };
    using Set = std::unordered_set<std::u16string>;

    // Rules by their folder (comparison form).
    std::unordered_map<std::u16string, std::vector<FileRule>> m_files;
    // Folders kept whole, folders with a rule reaching every level below.
    Set m_wholeFolders;
    Set m_allLevelsFolders;
    // Each rule's folder and every folder above it: something at or below
    // them is kept.
    Set m_fileAncestors;
    // Keys kept whole; value names kept by key; each kept key or value's key
    // and every key above it.
    Set m_keys;
    std::unordered_map<std::u16string, Set> m_values;
    Set m_keyAncestors;
};

}  // namespace s::file::gui::dialogs::purgo

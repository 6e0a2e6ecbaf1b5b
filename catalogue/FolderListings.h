// What the folders of the machine hold, asked once: a memo of folder
// listings for one build of the rule groups (catalogue/RuleGroups.h).
//
// The community rule file asks the same few folders thousands of times
// (every DetectFile under %LocalAppData%, every "*" of "Chrome*\User
// Data\*\*Cache*" over the same profiles), and each question is a call into
// the file system, which under Wine is a round trip to its server. Here a
// folder is listed once with FindFirstFileW and every later question about
// it is answered from that listing; a folder asked about only once or twice
// is asked directly instead, so that a single DetectFile in System32 does
// not list thousands of files.
//
// Names compare as Windows compares them in a listing (letters folded A-Z,
// the long name); a path with a short 8.3 component ("PROGRA~1") is asked of
// the file system directly. Links are listed with their attributes and never
// entered by the callers. The memo does not see changes made after a folder
// was listed: it lives for one build.
//
// Failure rules: a folder that cannot be listed (absent, a file, access
// denied) lists as nullptr; exists() is false for what cannot be seen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace s::file::gui::dialogs::purgo {

class FolderListings {
public:
    struct Entry {
        std::u16string name;  // as the file system lists it
        std::uint32_t attributes = 0;
    };

    // The entries of a full folder path ("C:\x", "C:" or "C:\" for a
    // root), without "." and ".."; nullptr when it cannot be listed.
    const std::vector<Entry>* list(std::u16string_view folder);
    // Whether the full path names a file, a folder or a link, as
    // GetFileAttributesW would say.
    bool exists(std::u16string_view path);
    // GetFileAttributesW's answer for the full path: kInvalidFileAttributes
    // when there is nothing of that name.
    std::uint32_t attributes(std::u16string_view path);
    // The entry of that name in the folder (compared without regard to
    // case), or nullptr when the folder cannot be listed or has none.
    const Entry* find(std::u16string_view folder, std::u16string_view name);

    // File-system calls made so far (for the benchmark).
    int calls() const { return m_calls; }

private:
    struct Folder {
        int asked = 0;
        bool listed = false;
        bool listable = false;
        std::vector<Entry> entries;
        std::unordered_map<std::u16string, std::uint32_t> byName;  // folded name -> index
    };

    Folder& folderOf(std::u16string_view folder);
    // The folder's entry, listed now if it is there and was not yet.
    Folder& listed(std::u16string_view folder);
    const Entry* entryOf(const Folder& folder, std::u16string_view name);
    std::uint32_t direct(std::u16string_view path);
    void fill(Folder& folder, std::u16string_view path);

    std::unordered_map<std::u16string, Folder> m_folders;  // by folded full path, no trailing backslash
    std::u16string m_scratch;
    std::u16string m_key;
    int m_calls = 0;
};

}  // namespace s::file::gui::dialogs::purgo

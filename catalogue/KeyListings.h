// Which registry keys are there, asked once: the counterpart of
// catalogue/FolderListings.h for the keys of the rule file's Detect lines,
// for one build of the rule groups. Most Detect lines name keys below a
// handful of parents ("HKCU\Software\<vendor>\<product>"): a parent asked
// about often is listed once (the names of its subkeys, nothing opened),
// and the keys below it are looked up in that listing; a key whose parent
// is not there is not there either. Keys asked about seldom are opened as
// they are.
//
// Paths are in the key object's Windows form ("HKEY_CURRENT_USER\Software\X",
// platform/RegDir.h); names compare with letters folded A-Z.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace s::file::gui::dialogs::purgo {

class KeyListings {
public:
    bool exists(std::u16string_view keyPath);

private:
    struct Key {
        int asked = 0;
        bool listed = false;
        bool present = false;
        bool direct = false;                       // a link: its keys are opened one by one
        std::unordered_set<std::u16string> names;  // folded
    };

    Key& keyOf(std::u16string_view keyPath);
    bool existsDirectly(std::u16string_view keyPath);

    std::unordered_map<std::u16string, Key> m_keys;  // by folded path
};

}  // namespace s::file::gui::dialogs::purgo

// The keystrokes that make the registry editor show a key: portable, so that
// the plan is tested anywhere; the Win32 shell plays it on the editor's
// windows.
//
// The plan: in the tree view (class "SysTreeView32") press Left 30 times,
// which collapses any selection up to the top item ("Computer"), then Right to
// open it; then type the key path character by character in upper case - the
// tree view's type-ahead search selects the matching child - pressing Right
// at every backslash to open the selected key. To select a value, focus the
// value list (class "SysListView32"), press Home and type the value's name
// the same way.
//
// Opening a key makes the editor read its subkeys and repaint the tree, and
// characters typed meanwhile would search the old level: on displays with
// more than 8 bits per pixel wait 750 ms before the first Right and after the
// Right of every backslash. After focusing the value list always wait
// 1000 ms, so that the list holds the selected key's values before the name
// is typed.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace s::platform {

enum class RegEditKey : std::uint8_t { Left, Right, Home };
enum class SelectValue : std::uint8_t { No, Yes };

struct RegEditStep {
    enum class Kind : std::uint8_t {
        TreeKey,         // press `key` in the tree view
        TreeChar,        // type `unit` in the tree view
        FocusValueList,  // give the focus to the value list
        ListKey,         // press `key` in the value list
        ListChar,        // type `unit` in the value list
        Wait,            // wait `milliseconds`
    };
    Kind kind = Kind::Wait;
    RegEditKey key = RegEditKey::Left;
    char16_t unit = 0;
    std::uint32_t milliseconds = 0;

    friend bool operator==(const RegEditStep&, const RegEditStep&) = default;
};

inline constexpr int kRegEditCollapsePresses = 30;
inline constexpr std::uint32_t kRegEditOpenWaitMs = 750;
inline constexpr std::uint32_t kRegEditValueListWaitMs = 1000;

// `select`: whether the value list gets the focus and `valueName` is
// typed (an empty name only presses Home, which selects "(Default)").
// `colourDisplay`: the display has more than 8 bits per pixel.
std::vector<RegEditStep> registryEditorSteps(std::u16string_view keyPath, SelectValue select,
                                             std::u16string_view valueName, bool colourDisplay);

}  // namespace s::platform

// The two view options of the target list that come in steps of -3 … +3:
// Cell Height (the row height) and Font Size, with their menu commands and
// submenus. A step is stored as a plain number under "CellHeight" and
// "FontSize"; a stored value outside -3 … +3 is no step at all: the list
// keeps its own values and the submenu shows no mark.
#pragma once

#include "gui/MenuModel.h"
#include "gui/Scale.h"

#include <cstdint>

namespace s::gui::list {

class ListViewStep {
public:
    static constexpr int32_t kMin = -3;
    static constexpr int32_t kMax = 3;

    // No step: the list's own values.
    constexpr ListViewStep() = default;

    static constexpr ListViewStep fromStored(int32_t stored)
    {
        ListViewStep step;
        if (stored >= kMin && stored <= kMax) {
            step.m_value = stored;
            step.m_set = true;
        }
        return step;
    }

    // The seven commands of a submenu run first, first + 2, … first + 12 for
    // +3 down to -3; anything else is no step.
    static constexpr ListViewStep fromCommand(int firstCommand, int command)
    {
        const int offset = command - firstCommand;
        if (offset < 0 || offset > 12 || offset % 2 != 0)
            return ListViewStep();
        return fromStored(kMax - offset / 2);
    }

    constexpr bool isSet() const { return m_set; }
    // The step; 0 when none is set (ask isSet first).
    constexpr int32_t value() const { return m_value; }
    // The command that carries the mark for this step; -1 when none is set.
    constexpr int command(int firstCommand) const { return m_set ? firstCommand + 2 * (kMax - m_value) : -1; }

    friend constexpr bool operator==(ListViewStep a, ListViewStep b)
    {
        return a.m_set == b.m_set && a.m_value == b.m_value;
    }

private:
    int32_t m_value = 0;
    bool m_set = false;
};

inline constexpr int kCellHeightFirstCommand = 724;  // 724 … 736
inline constexpr int kFontSizeFirstCommand = 774;    // 774 … 786
inline constexpr ListViewStep kDefaultFontSize = ListViewStep::fromStored(-1);

// 0 from Windows 6.0 on, -1 before: older systems' list fonts are smaller.
ListViewStep defaultCellHeight(unsigned windowsMajorVersion);

// The row height in pixels of a step (25, 23, 21, 20, 19, 17, 16 for +3 …
// -3) times scale; ownHeight (already scaled) when no step is set.
int32_t rowHeight(ListViewStep step, s::gui::Scale scale, int32_t ownHeight);

// The "Cell Height" and "Font Size" submenus, one radio group each, with
// `current` marked. Which item says "(Default)" depends on the system.
s::gui::menu::MenuItem cellHeightMenu(ListViewStep current, unsigned windowsMajorVersion);
s::gui::menu::MenuItem fontSizeMenu(ListViewStep current);

}  // namespace s::gui::list

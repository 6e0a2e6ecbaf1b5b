#include "gui/ListViewStep.h"
#include "lang/TextIds.h"

#include <cstddef>

namespace s::gui::list {

namespace ids = s::lang::ids;

namespace {

constexpr int32_t kRowHeights[] = {25, 23, 21, 20, 19, 17, 16};  // +3 … -3

struct StepLabel {
    const char16_t* text;
    int32_t textId;  // 0: text
};

s::gui::menu::MenuItem stepMenu(int32_t titleId, int firstCommand, const StepLabel (&labels)[7], ListViewStep current)
{
    using s::gui::menu::MenuItem;
    MenuItem menu = MenuItem::submenu(titleId);
    for (int k = 0; k < 7; ++k) {
        const StepLabel& label = labels[k];
        const int command = firstCommand + 2 * k;
        MenuItem item =
            label.textId != 0 ? MenuItem::item(label.textId, command) : MenuItem::literal(label.text, command);
        menu.add(item.withRadio(0, command == current.command(firstCommand)));
    }
    return menu;
}

}  // namespace

ListViewStep defaultCellHeight(unsigned windowsMajorVersion)
{
    return ListViewStep::fromStored(windowsMajorVersion >= 6 ? 0 : -1);
}

int32_t rowHeight(ListViewStep step, s::gui::Scale scale, int32_t ownHeight)
{
    if (!step.isSet())
        return ownHeight;
    return kRowHeights[static_cast<std::size_t>(ListViewStep::kMax - step.value())] * scale;
}

s::gui::menu::MenuItem cellHeightMenu(ListViewStep current, unsigned windowsMajorVersion)
{
    // The default moved from -1 to 0 with Windows 6.0, and the label that says
    // so moved with it.
    const bool vistaOrLater = windowsMajorVersion >= 6;
    const StepLabel labels[7] = {
        {u"+3", 0},
        {u"+2", 0},
        {u"+1", 0},
        {u"0", vistaOrLater ? ids::kCellHeightDefaultZero : 0},
        {u"-1", vistaOrLater ? 0 : ids::kCellHeightDefaultMinusOne},
        {u"-2", 0},
        {u"-3", 0},
    };
    return stepMenu(ids::kCellHeightMenu, kCellHeightFirstCommand, labels, current);
}

s::gui::menu::MenuItem fontSizeMenu(ListViewStep current)
{
    const StepLabel labels[7] = {
        {u"+3", 0}, {u"+2", 0}, {u"+1", 0}, {u"\u00B10", 0}, {u"-1", ids::kCellHeightDefaultMinusOne},
        {u"-2", 0}, {u"-3", 0},
    };
    return stepMenu(ids::kFontSizeMenu, kFontSizeFirstCommand, labels, current);
}

}  // namespace s::gui::list

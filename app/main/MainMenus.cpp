#include "app/main/MainMenus.h"

#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

using s::gui::menu::MenuItem;
namespace list = s::gui::list;
constexpr int kTransparencyGroup = 1;
constexpr int kLanguageGroup = 2;

MenuItem transparencyMenu(int opacity)
{
    MenuItem menu = MenuItem::submenu(ids::kTransparencyMenu);
    const int marked = transparencyCommandOf(opacity);
    for (int k = 0; k <= 9; ++k) {
        const int commandNumber = command::kFirstTransparency + 10 * k;
        menu.add(
            MenuItem::item(715100 + 100 * k, commandNumber).withRadio(kTransparencyGroup, commandNumber == marked));
    }
    return menu;
}

MenuItem languageMenu(s::lang::Localizer& localizer)
{
    MenuItem menu = MenuItem::submenu(ids::kLanguageMenu);
    const int count = localizer.count();
    const s::lang::LangPack* current = count > 0 ? localizer.current() : nullptr;
    for (int i = 0; i < count; ++i) {
        const s::lang::LangPack* pack = localizer.pack(i);
        menu.add(MenuItem::literal(pack->trueName().view(), i).withRadio(kLanguageGroup, pack == current));
    }
    menu.add(MenuItem::separator());
    menu.add(MenuItem::item(700001, count));
    return menu;
}

}  // namespace

int opacityOfCommand(int command)
{
    return 100 - (command - command::kFirstTransparency);
}

int transparencyCommandOf(int opacity)
{
    if (opacity >= 10 && opacity <= 90 && opacity % 10 == 0)
        return command::kFirstTransparency + (100 - opacity);
    return command::kFirstTransparency;
}

void buildMainMenus(s::gui::menu::MenuModel& model, const ViewMenuState& state, s::lang::Localizer& localizer)
{
    MenuItem view = MenuItem::submenu(ids::kViewMenu);
    view.add(MenuItem::item(3000000, command::kAddCustomTarget));
    // The community rule file (winapp2.ini), downloaded (app/RulesUpdate.h).
    view.add(MenuItem::item(2100201000, command::kGetCommunityRules));
    // The user's keep list (app/keep/KeepListWindow_win.h).
    view.add(MenuItem::item(2100406000, command::kKeepList));
    view.add(MenuItem::separator());
    view.add(MenuItem::item(720100, command::kSelectAll));
    view.add(MenuItem::item(720200, command::kDeselectAll));
    view.add(MenuItem::separator());
    view.add(MenuItem::item(609100, command::kKeepOnTop).withCheck(state.keepOnTop));
    view.add(MenuItem::item(609200, command::kCloseByMiddleClick).withCheck(state.closeByMiddleClick));
    view.add(MenuItem::item(982000, command::kAlternateRows).withCheck(state.alternateRows));
    view.add(MenuItem::separator());
    if (state.skinMenu)
        view.add(*state.skinMenu);
    view.add(transparencyMenu(state.opacity));
    view.add(list::fontSizeMenu(state.fontSize));
    view.add(list::cellHeightMenu(state.cellHeight, state.windowsMajorVersion));
    view.add(languageMenu(localizer));
    view.add(MenuItem::separator());
    view.add(MenuItem::item(751000, command::kExit));
    model.add(std::move(view));

    MenuItem about = MenuItem::submenu(ids::kAboutMenu);
    about.add(MenuItem::item(701100, command::kVersionInformation));
    about.add(MenuItem::item(701200, command::kSoftwarePage));
    about.add(MenuItem::item(701300, command::kTellDevelopers));
    about.add(MenuItem::separator());
    about.add(MenuItem::item(107000, command::kMoreSoftware));
    about.add(MenuItem::separator());
    about.add(MenuItem::item(108100, command::kWorkplace));
    model.add(std::move(about));
}

MenuItem listContextMenu(const RowFacts& row)
{
    MenuItem menu = MenuItem::submenu(0);
    menu.add(MenuItem::item(row.present && row.checkedOrPartial ? 861010 : 861000, command::kSelect)
                 .withEnabled(row.present));
    menu.add(MenuItem::separator());
    int32_t details = 860000;
    if (row.present && !row.group)
        details = 860010;
    else if (row.present && row.expanded)
        details = 860001;
    menu.add(MenuItem::item(details, command::kDetails).withEnabled(row.present && (row.group || row.locationExists)));
    menu.add(MenuItem::item(ids::kShowItemsText, command::kShowItems).withEnabled(row.present));
    menu.add(MenuItem::separator());
    const bool custom = row.present && row.group && row.custom;
    menu.add(MenuItem::item(860100, command::kModify).withEnabled(custom));
    menu.add(MenuItem::separator());
    menu.add(MenuItem::item(860110, command::kRemove).withEnabled(custom));
    return menu;
}

}  // namespace s::file::gui::dialogs::purgo

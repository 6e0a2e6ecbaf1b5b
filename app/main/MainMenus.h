// The main window's menus as models: "View" and "About" in the title bar, and
// the target list's context menu, with their command numbers and the rules
// that put marks on them. The window binds them and acts on the commands.
#pragma once

#include "gui/ListViewStep.h"
#include "gui/MenuModel.h"

#include <cstdint>

namespace s::lang {
class Localizer;
}

namespace s::file::gui::dialogs::purgo {

namespace command {
// 0 … n-1 select language i; n opens the translation page.
inline constexpr int kKeepOnTop = 100;
inline constexpr int kCloseByMiddleClick = 110;
inline constexpr int kSelectAll = 511;
inline constexpr int kDeselectAll = 512;
inline constexpr int kAddCustomTarget = 550;
inline constexpr int kGetCommunityRules = 560;
inline constexpr int kKeepList = 570;
inline constexpr int kFirstTransparency = 600;  // 600 … 690, step 10: 0 % … 90 %
inline constexpr int kLastTransparency = 690;
inline constexpr int kSelect = 700;
inline constexpr int kDetails = 800;
inline constexpr int kShowItems = 830;
inline constexpr int kModify = 810;
inline constexpr int kRemove = 820;
inline constexpr int kAlternateRows = 991;
inline constexpr int kExit = 999;
inline constexpr int kVersionInformation = 10000;
inline constexpr int kSoftwarePage = 10100;
inline constexpr int kTellDevelopers = 10200;
inline constexpr int kMoreSoftware = 10900;
inline constexpr int kWorkplace = 10950;
}  // namespace command

// The state the menus show when they are built.
struct ViewMenuState {
    bool keepOnTop = false;
    bool closeByMiddleClick = true;
    bool alternateRows = true;
    int opacity = 100;
    s::gui::list::ListViewStep fontSize;
    s::gui::list::ListViewStep cellHeight;
    unsigned windowsMajorVersion = 6;
    // The Skin submenu (gui/SkinMenu.h), or none without a skin manager.
    const s::gui::menu::MenuItem* skinMenu = nullptr;
};

// Fills model with "View" (609000) and "About" (701000). The Language
// submenu lists the localizer's languages by their own names, the current one
// marked, then "Translate? (online)" as command n.
void buildMainMenus(s::gui::menu::MenuModel& model, const ViewMenuState& state, s::lang::Localizer& localizer);

// Transparency: command 600 + 10 × k makes the window 100 − 10 × k % opaque.
// The mark goes to the command of the opacity (90 → 610 "10%"); 100 and any
// value that is no step of ten mark "0%".
int opacityOfCommand(int command);
int transparencyCommandOf(int opacity);

// What the context menu needs to know of the row under the mouse.
struct RowFacts {
    bool present = false;  // false: no row under the mouse
    bool group = false;
    bool checkedOrPartial = false;
    bool expanded = false;  // a group whose targets are shown
    bool locationExists = false;
    bool custom = false;  // a custom group
};

// "Select" or "Deselect" (700); "See Target Details", "Hide Target Details"
// or "Look up Target..." (800); "Show Items..." (830); "Modify Target
// Items..." (810); "Remove from List..." (820), with separators between.
s::gui::menu::MenuItem listContextMenu(const RowFacts& row);

}  // namespace s::file::gui::dialogs::purgo

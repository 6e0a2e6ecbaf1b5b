// What a frame descriptor (app/start/AppWindow.h) keeps for a skinned frame: the
// options it is made with, and its geometry when it hides or closes.
#pragma once

#include "app/start/AppWindow.h"
#include "app/start/StartupRules.h"
#include "gui/SkinnedFrame_win.h"

#include <windows.h>

namespace s::app::win {

// The middle-click action, EasyDrag and Keep on Top as stored.
inline void applyFrameOptions(const AppWindow& descriptor, s::gui::FrameArgs& args)
{
    const MiddleClick click = descriptor.middleClick();
    args.middleClick = click == MiddleClick::Close     ? s::gui::MiddleClickAction::close
                       : click == MiddleClick::Iconize ? s::gui::MiddleClickAction::iconize
                                                       : s::gui::MiddleClickAction::doNothing;
    args.easyDrag = descriptor.easyDrag();
    args.keepOnTop = descriptor.keepOnTop();
    args.scaleForScreen = displayScaleFor;
}

// Stores where the window is now and whether it is maximised or minimised
// (FrameGeometry::store decides what is written).
inline void storeFrameGeometry(const AppWindow& descriptor, HWND window, s::map::IMappedData& store)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const WindowState state = IsZoomed(window)   ? WindowState::Maximized
                              : IsIconic(window) ? WindowState::Minimized
                                                 : WindowState::Normal;
    descriptor.geometry().store(store, state,
                                Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
}

// The frame went between normal, maximised and minimised
// (FrameGeometry::storeShownChange decides what is written).
inline void storeShownChange(const AppWindow& descriptor, s::map::IMappedData& store, s::gui::Shown now,
                             s::gui::Shown before, const RECT& lastNormal)
{
    const auto state = [](s::gui::Shown shown) {
        return shown == s::gui::Shown::maximised   ? WindowState::Maximized
               : shown == s::gui::Shown::minimised ? WindowState::Minimized
                                                   : WindowState::Normal;
    };
    descriptor.geometry().storeShownChange(
        store, state(now), state(before),
        Rect{lastNormal.left, lastNormal.top, lastNormal.right - lastNormal.left, lastNormal.bottom - lastNormal.top});
}

}  // namespace s::app::win

// What a screen reader finds in a skinned frame's client area. The frame
// paints its title-bar menus and caption buttons itself, so there is no
// window behind them that the system's accessible objects could describe.
// This object answers WM_GETOBJECT(OBJID_CLIENT): the frame itself and its
// child windows come from the system's standard client object (so the real
// controls stay reachable as they always were), and the painted menus and
// buttons follow the child windows as simple elements with a name, a role,
// a place on the screen, a state and a default action.
//
// The object may outlive its window (a client keeps the reference as long as
// it likes): it holds the window handle only, finds the frame again on every
// call and answers RPC_E_DISCONNECTED (as Windows' own objects do) once the
// window is gone.
#pragma once

#include <windows.h>

namespace s::gui {

class SkinnedFrame;

// The LRESULT for WM_GETOBJECT(OBJID_CLIENT) on frame, or 0 (the default
// answer) when no object could be made.
LRESULT answerClientObject(SkinnedFrame& frame, WPARAM wp);

}  // namespace s::gui

// The system theme of a list window (gui/ListTheme.h). Windows 10 1809 and
// later have a dark variant of the Explorer theme ("DarkMode_Explorer") that
// draws a ListView's scroll bars dark; older systems do not know the name and
// keep their ordinary scroll bars, and Wine 8 draws classic scroll bars
// whatever the name. uxtheme.dll is bound by name: a system without it keeps
// its look.
#pragma once

#include "gui/ListTheme.h"

#include <windows.h>

namespace s::gui {

// False when the system has no SetWindowTheme or refused the name.
bool applyListTheme(HWND list, ListTheme theme);

}  // namespace s::gui

// The update check as the program runs it: the system's clock, WinINet and
// URLMon, the shell, and the Yes/No question window over the main window
// (none in a boot run, whose window is gone by then).
#pragma once

#include "app/about/UpdateCheck.h"
#include "app/start/AppBase.h"

#include <windows.h>

#include <functional>
#include <string>

namespace s::gui::drawer {
class Skinner;
}

namespace s::app::win {

// The question as the program asks it: the Yes/No window over owner (null:
// none), without "Don't ask me again".
std::function<bool(const std::u16string& title, const std::u16string& message)>
updateQuestion(s::lang::Localizer& lang, s::gui::drawer::Skinner* skins, HWND owner, int scale);

// parent: the main window, or null (or a window already destroyed).
UpdateOutcome checkForUpdate(AppBase& app, HWND parent, int scale);

}  // namespace s::app::win

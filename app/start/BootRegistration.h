// The boot run's registration: a logon task of the Task Scheduler that
// starts the program with "-startup" at the highest run level, or, where UAC
// is off or the system predates it, a shortcut in the user's Startup folder.
// The form follows the system; the other form is never tried as a fallback,
// so a failed registration simply shows as not registered next time.
// Nothing here reports an error.
#pragma once

#include "app/start/StartupRules.h"
#include "platform/TaskScheduler.h"

#include <string>
#include <string_view>

namespace s::app::win {

// The task form on Windows 6.0 and later while "EnableLUA" of
// HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System is not 0
// (a missing value counts as on); the shortcut form otherwise.
bool bootRunUsesTask(const OsVersion& os);

// The definition registered for `programPath`, run for `userName`.
s::platform::LogonTask bootRunTask(std::u16string_view programPath, std::u16string_view userName);

// name + ".lnk" in the current user's Startup folder; "" when the folder is
// unknown.
std::u16string bootRunShortcutPath(std::u16string_view name);

void registerBootRun(std::u16string_view name, std::u16string_view programPath, const OsVersion& os);
// Removes both forms.
void unregisterBootRun(std::u16string_view name, const OsVersion& os);
bool isBootRunRegistered(std::u16string_view name, const OsVersion& os);

}  // namespace s::app::win

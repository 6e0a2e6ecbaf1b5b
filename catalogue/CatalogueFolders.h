// The platform folders the catalogue's paths start from, and the program's
// own executable path for its icons. Each is asked of the platform once, on
// first use, and kept for the life of the process: the Windows and system
// folders are systemFacts()'s, the others come from the shell and the machine
// facts. A folder that cannot be resolved is the empty text, so the paths
// built on it find nothing.
#pragma once

#include "base/StrBuffer.h"

#include <cstdint>

namespace s::file::gui::dialogs::purgo {

enum class PlatformFolder : std::uint8_t {
    Temp,     // GetTempPathW in long names
    Windows,  // systemFacts().windowsFolder
    System,   // systemFacts().systemFolder
    ProgramFiles,
    AppData,
    LocalAppData,
    CommonAppData,
};

// The folder without trailing backslash; empty when unknown.
const s::str::strbuffer::StrBuffer& platformFolder(PlatformFolder folder);
// The running executable's full path (GetModuleFileNameW); empty when unknown.
const s::str::strbuffer::StrBuffer& ownModulePath();

// Forgets what was resolved, so that the next use asks again. For tests that
// change the fake machine; the program never calls it.
void forgetPlatformFolders();

}  // namespace s::file::gui::dialogs::purgo

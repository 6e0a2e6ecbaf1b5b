// Shortcut files (.lnk), for the boot run's Startup-folder form: one
// IShellLinkW saved and read through IPersistFile. Each call returns the
// HRESULT of the step that failed (kSOk when all went through).
//
// Reach the build's implementation through shellLinks(): the shell on
// Windows, an in-memory stand-in elsewhere that keeps a shortcut as a file of
// the in-memory disk (so that the file tests of the caller see it).
#pragma once

#include "platform/HResult.h"

#include <string>

namespace s::platform {

class IShellLinks {
public:
    virtual ~IShellLinks() = default;

    // Creates (or overwrites) the shortcut `linkPath` to `target` with
    // `arguments`.
    virtual HResult createShortcut(const char16_t* linkPath, const char16_t* target, const char16_t* arguments) = 0;
    // Reads a shortcut's target and arguments.
    virtual HResult readShortcut(const char16_t* linkPath, std::u16string& target, std::u16string& arguments) = 0;
};

IShellLinks& shellLinks();

}  // namespace s::platform

// The shell services that show a location to the user: the file manager, the
// registry editor, a message box.
//
// Thin on purpose: what to show and how a target's text becomes a folder, a
// program's arguments or a key path is the engine's (engine/TargetLocation);
// the keystrokes that walk the registry editor's tree are planned by portable
// code (platform/RegEditKeys.h) and only played here.
//
// Failure rules: each call returns false when Windows refused it; nothing is
// retried. `process`, when given, receives the id of a process the call
// started (0 when none was started, for example when an Explorer window that
// already runs took the request).
//
// Reach the build's implementation through shell(): Win32 on Windows, a fake
// that records every request elsewhere (platform/fake/FakeShell.h, for tests).
#pragma once

#include "platform/RegEditKeys.h"

#include <cstdint>
#include <string_view>

namespace s::platform {

class IShell {
public:
    virtual ~IShell() = default;

    // ShellExecuteExW(verb "open") on a folder: the file manager shows it.
    virtual bool openFolder(std::u16string_view folder, std::uint32_t* process = nullptr) = 0;
    // ShellExecuteExW(verb "open") on an address: the default browser shows
    // it, normally.
    virtual bool openAddress(std::u16string_view address) = 0;
    // ShellExecuteExW(verb "open") on a program with its argument text.
    virtual bool startProgram(std::u16string_view program, std::u16string_view arguments,
                              std::uint32_t* process = nullptr) = 0;
    // Shows a key (Windows form, "HKEY_CURRENT_USER\Software\X") in the
    // registry editor, with the named value selected when asked: finds the
    // editor's window (class "RegEdit_RegEdit"), starts regedit.exe when there
    // is none and waits until it is idle, then walks its tree by keystrokes.
    // False when no editor window could be found or started.
    virtual bool showInRegistryEditor(std::u16string_view keyPath, SelectValue select, std::u16string_view valueName,
                                      std::uint32_t* process = nullptr) = 0;
    // A modal message box with an OK button; an empty caption gives Windows'
    // own ("Error").
    virtual void showMessage(std::u16string_view caption, std::u16string_view text) = 0;
};

// The build's shell: Win32, or the recording fake in native builds.
IShell& shell();

}  // namespace s::platform

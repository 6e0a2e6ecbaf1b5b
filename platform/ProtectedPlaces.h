// The folders no clean may delete or empty: places that Windows or the user
// cannot live without. The path object refuses to delete them and the engine
// measures a target on one of them as empty (engine/TargetSafety.h).
//
// Which places:
// - every drive and share root (by their form, whatever the machine says);
// - the Windows folder, the system folders (System32, SysWOW64) and the
//   children of the Windows folder that Windows needs (System, WinSxS,
//   Installer, Fonts, assembly, ...), and a few of System32's (drivers,
//   config, DriverStore);
// - Program Files, Program Files (x86), their Common Files, ProgramData;
// - the Users folder, every user profile root (the profile list in the
//   registry, the current user's profile, Default and Public) and in each of
//   them Desktop, Documents, Downloads, Pictures, Music, Videos, Favorites,
//   AppData, AppData\Roaming, AppData\Local, AppData\LocalLow (and the older
//   names of Windows XP), plus wherever the shell says the current user's
//   own folders are (they may be redirected to another drive);
// - the program's own folder and its savedata\ folder.
// Each is asked of the platform (the shell's folders, the environment, the
// profile list, the program's path), so that the in-memory machine of the
// native tests and a sandbox under Wine can point them at folders of their
// own. The machine is read once, on first use.
//
// Paths are compared in a normalised form: "/" as "\", the "\\?\" and
// "\\?\UNC\" prefixes taken off, "." and ".." resolved, empty components and
// trailing dots and spaces of a component dropped (Win32 drops them too),
// letters folded A-Z. Short 8.3 names are not expanded here: callers with a
// path that may hold them turn it into its long form first
// (PathWin::isProtectedPlace does).
#pragma once

#include <string>
#include <string_view>

namespace s::file {

class ProtectedPlaces {
public:
    // True when `path` is a drive or share root or one of the places above.
    // A path that is not absolute (relative, "C:x", "\x") is never one of
    // them: the path object refuses such paths on its own.
    static bool contains(std::u16string_view path);

    // The form paths are compared in; empty for a path that is not absolute.
    static std::u16string comparisonKey(std::u16string_view path);
    // Whether comparisonKey would be non-empty, without building a string
    // the caller keeps.
    static bool isAbsolute(std::u16string_view path);

    // Forgets what was read, so that the next question reads the machine
    // again. The program reads it once; tests change the machine.
    static void forget();
};

}  // namespace s::file

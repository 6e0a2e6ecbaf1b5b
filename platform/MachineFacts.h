// What the catalogue asks the machine while it builds the target tree, beyond
// the shell's special folders (platform/ShellItems.h): the temporary folder,
// the program's own path, the drives, and values of other programs' ini
// files.
//
// Thin on purpose: one Win32 call (or two, where stated) each; composing
// paths and deciding what a missing answer means is the catalogue's.
// Failure rules: a folder or path that cannot be read is the empty text; an
// ini read that finds nothing gives its default, as Windows does.
//
// Reach the build's implementation through machineFacts(): Win32 on Windows,
// the settable fake of platform/fake/FakeMachineFacts.h elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace s::platform {

// GetDriveTypeW's answers that matter here.
inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveFixed = 3;

class IMachineFacts {
public:
    virtual ~IMachineFacts() = default;

    // GetTempPathW, then GetLongPathNameW (kept short when that fails); with
    // its trailing backslash, as Windows gives it. "" on failure.
    virtual std::u16string tempPath() = 0;
    // GetModuleFileNameW of the running executable; "" on failure.
    virtual std::u16string modulePath() = 0;
    // GetUserNameW: the name of the user the process runs as; "" on failure.
    virtual std::u16string userName() = 0;
    // GetLogicalDriveStringsW into a buffer of `capacity` characters: the
    // roots ("C:\") each followed by a zero; "" on failure or when the buffer
    // is too small.
    virtual std::u16string logicalDriveStrings(std::uint32_t capacity) = 0;
    // GetDriveTypeW of a root ("C:\").
    virtual std::uint32_t driveType(std::u16string_view root) = 0;
    // GetPrivateProfileStringW into a buffer of `capacity` characters: the
    // value cut to capacity - 1 characters, or `fallback` (cut the same way)
    // when the file, section or key is missing.
    virtual std::u16string iniString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                                     std::u16string_view fallback, std::uint32_t capacity) = 0;
    // GetPrivateProfileIntW: the value's leading decimal number, or
    // `fallback` when the key is missing.
    virtual std::int32_t iniInt(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                                std::int32_t fallback) = 0;
};

IMachineFacts& machineFacts();

}  // namespace s::platform

// The shell's own places that the special handlers use: special folders by
// CSIDL, the Recycle Bin of each drive and the list of recent documents.
//
// Thin on purpose: each call is one shell function and returns its HRESULT
// (or a success flag where the shell gives no more), so that the handlers
// decide what a failure means. Failing calls leave their out parameters
// untouched.
//
// Reach the build's implementation through shellItems(): shell32 on Windows,
// an in-memory stand-in elsewhere (platform/ShellItems_fake.h, for tests).
#pragma once

#include "platform/HResult.h"

#include <cstdint>
#include <string>

namespace s::platform {

// CSIDL values the handlers and the catalogue ask for.
inline constexpr int kCsidlRecent = 0x0008;         // CSIDL_RECENT
inline constexpr int kCsidlBitBucket = 0x000A;      // CSIDL_BITBUCKET: virtual, no file-system path
inline constexpr int kCsidlInternetCache = 0x0020;  // CSIDL_INTERNET_CACHE
inline constexpr int kCsidlHistory = 0x0022;        // CSIDL_HISTORY
inline constexpr int kCsidlAppData = 0x001A;        // CSIDL_APPDATA
inline constexpr int kCsidlLocalAppData = 0x001C;   // CSIDL_LOCAL_APPDATA
inline constexpr int kCsidlCommonAppData = 0x0023;  // CSIDL_COMMON_APPDATA
inline constexpr int kCsidlWindows = 0x0024;        // CSIDL_WINDOWS
inline constexpr int kCsidlSystem = 0x0025;         // CSIDL_SYSTEM
inline constexpr int kCsidlProgramFiles = 0x0026;   // CSIDL_PROGRAM_FILES

// SHEmptyRecycleBinW flags.
inline constexpr std::uint32_t kEmptyNoConfirmation = 0x1;  // SHERB_NOCONFIRMATION
inline constexpr std::uint32_t kEmptyNoProgressUi = 0x2;    // SHERB_NOPROGRESSUI
inline constexpr std::uint32_t kEmptyNoSound = 0x4;         // SHERB_NOSOUND

class IShellItems {
public:
    virtual ~IShellItems() = default;

    // SHGetSpecialFolderLocation, then SHGetPathFromIDListW: the folder's
    // path without trailing backslash. kEFail when the folder has no
    // file-system path (the Recycle Bin, for one).
    virtual HResult specialFolderPath(int csidl, std::u16string& path) = 0;
    // ShellExecuteExW with the special folder's item list (SEE_MASK_IDLIST),
    // shown normally: the file manager opens it. `process`, when given,
    // receives the id of a process the call started (0 when none was).
    virtual HResult openSpecialFolder(int csidl, std::uint32_t* process = nullptr) = 0;

    // SHQueryRecycleBinW on a drive root ("C:\").
    virtual HResult queryRecycleBin(const char16_t* root, std::int64_t& size, std::int64_t& items) = 0;
    // SHEmptyRecycleBinW(no window, root, flags).
    virtual HResult emptyRecycleBin(const char16_t* root, std::uint32_t flags) = 0;

    // SHAddToRecentDocs with a null document: Windows forgets every recent
    // document and deletes the shortcuts of the Recent folder.
    virtual void clearRecentDocuments() = 0;
};

// The build's shell items: shell32, or the in-memory stand-in in native
// builds.
IShellItems& shellItems();

}  // namespace s::platform

// The shell's own places that the special handlers use: special folders by
// CSIDL, the Recycle Bin of each drive and the list of recent documents.
//
// Thin on purpose: each call is one shell function and returns its HRESULT
// (or a success flag where the shell gives no more), so that the handlers
// decide what a failure means. Failing calls leave their out parameters
// untouched.
//
// Reach the build's implementation through shellItems(): shell32 on Windows,
// an in-memory stand-in elsewhere (platform/fake/FakeShellItems.h, for tests).
#pragma once

#include "platform/HResult.h"

#include <cstdint>
#include <string>

namespace s::platform {

// CSIDL values the handlers and the catalogue ask for.
inline constexpr int kCsidlStartup = 0x0007;        // CSIDL_STARTUP: the user's Startup folder
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
// The places no clean may empty (platform/ProtectedPlaces.h) ask for these.
inline constexpr int kCsidlPersonal = 0x0005;                // CSIDL_PERSONAL: Documents
inline constexpr int kCsidlFavorites = 0x0006;               // CSIDL_FAVORITES
inline constexpr int kCsidlMyMusic = 0x000D;                 // CSIDL_MYMUSIC
inline constexpr int kCsidlMyVideo = 0x000E;                 // CSIDL_MYVIDEO
inline constexpr int kCsidlDesktopDirectory = 0x0010;        // CSIDL_DESKTOPDIRECTORY
inline constexpr int kCsidlCommonDesktopDirectory = 0x0019;  // CSIDL_COMMON_DESKTOPDIRECTORY
inline constexpr int kCsidlMyPictures = 0x0027;              // CSIDL_MYPICTURES
inline constexpr int kCsidlProfile = 0x0028;                 // CSIDL_PROFILE
inline constexpr int kCsidlSystemX86 = 0x0029;               // CSIDL_SYSTEMX86: SysWOW64 on 64-bit Windows
inline constexpr int kCsidlProgramFilesX86 = 0x002A;         // CSIDL_PROGRAM_FILESX86
inline constexpr int kCsidlProgramFilesCommon = 0x002B;      // CSIDL_PROGRAM_FILES_COMMON
inline constexpr int kCsidlProgramFilesCommonX86 = 0x002C;   // CSIDL_PROGRAM_FILES_COMMONX86
inline constexpr int kCsidlCommonDocuments = 0x002E;         // CSIDL_COMMON_DOCUMENTS
inline constexpr int kCsidlCommonMusic = 0x0035;             // CSIDL_COMMON_MUSIC
inline constexpr int kCsidlCommonPictures = 0x0036;          // CSIDL_COMMON_PICTURES
inline constexpr int kCsidlCommonVideo = 0x0037;             // CSIDL_COMMON_VIDEO
// Not a CSIDL: the Downloads known folder, which has none. The in-memory
// shell keeps it with the special folders under this number.
inline constexpr int kFolderDownloads = -2;
// Likewise the two other known folders without a CSIDL that the rule files
// name (catalogue/RuleGroups.h).
inline constexpr int kFolderLocalAppDataLow = -3;
inline constexpr int kFolderPublic = -4;

// The known folders that have no CSIDL, as SHGetKnownFolderPath names them.
enum class KnownFolder : std::uint8_t {
    Downloads,        // FOLDERID_Downloads
    LocalAppDataLow,  // FOLDERID_LocalAppDataLow: AppData\LocalLow
    Public,           // FOLDERID_Public: the profile every user shares
};

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
    // SHGetKnownFolderPath(FOLDERID_Downloads), bound by name (Windows Vista
    // on): the user's Downloads folder, without trailing backslash. kEFail
    // where the call does not exist.
    virtual HResult downloadsFolderPath(std::u16string& path) = 0;
    // SHGetKnownFolderPath of one of the folders above, bound by name
    // (Windows Vista on), without trailing backslash. kEFail where the call
    // does not exist.
    virtual HResult knownFolderPath(KnownFolder folder, std::u16string& path) = 0;
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

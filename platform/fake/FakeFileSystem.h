// The in-memory file system of native builds, and its test API. Only tests
// include this header; everything else reaches the fake through fileSystem().
//
// What it models, as Windows does it:
// - Roots are drive letters ("C:", present from the start) and network shares
//   ("\\server\share"); names compare without regard to case, folding A-Z
//   only, and keep the case they were created with. Folders list their
//   entries sorted by folded name, "." and ".." first (not in a root), as NTFS
//   does.
// - Path forms: "\\?\C:\..." and "\\?\UNC\server\share\..." are taken
//   verbatim. Plain paths are rewritten as Win32 does: "/" becomes "\",
//   repeated separators, "." and ".." are resolved, one trailing dot of each
//   folder component and every trailing dot and space of the last component
//   are dropped ("dotdir.\inner.txt" is "dotdir\inner.txt", "file. " is
//   "file"), relative paths resolve against the current directory ("C:\"
//   unless set). A last component that names a DOS device (CON, PRN, AUX,
//   NUL, COM1-9, LPT1-9, with any extension: "nul.txt", "aux.log") reaches
//   the device, not the file: GetFileAttributesW succeeds with the archive
//   bit, GetFileAttributesExW and GetLongPathNameW fail with
//   kErrorBadDevType, every other call with kErrorInvalidHandle, and the
//   boot-time list records "\\.\<device>". A plain path of 260 characters
//   or more (MAX_PATH with its terminating zero) fails with
//   kErrorFilenameExcedRange, as on a Windows without long-path awareness;
//   Wine has no such limit. Names with wildcards or <>"| fail with
//   kErrorInvalidName outside of find patterns. Only the "\\?\" forms reach
//   such names (tests/platform/RewrittenNamesTest.cpp runs the same table
//   under Wine, where these rules were measured).
// - New files have the archive attribute; a file with no attribute left
//   reports kFileAttributeNormal; SetFileAttributesW cannot change the
//   directory or reparse bits. A read-only file cannot be deleted
//   (kErrorAccessDenied); a read-only folder cannot be removed either (Windows;
//   Wine ignores read-only on folders).
// - Find patterns match as platform/FindPattern.h describes. A pattern
//   whose folder part runs through a file fails with kErrorInvalidName, as
//   on Wine.
// - Links (reparse points): a folder link reports
//   kFileAttributeReparsePoint | kFileAttributeDirectory and size 0; a path
//   through it reaches its target, as on Windows. Deleting or removing the
//   link itself never touches the target; RemoveDirectoryW on a folder link
//   either removes the link (Windows, for junctions and directory symbolic
//   links) or fails with kErrorDirNotEmpty leaving both (Wine 8, for a Unix
//   symbolic link), as chosen when it is added. A file link reports
//   kFileAttributeReparsePoint | kFileAttributeArchive and size 0; DeleteFileW
//   removes the link, not the target (Windows; Wine 8 deletes the target).
// - Whole files: readFile, writeFile (in place, CREATE_ALWAYS),
//   moveReplacing (MoveFileExW with MOVEFILE_REPLACE_EXISTING) and
//   createDirectory, with the faults below: a file in use cannot be read,
//   written, moved or replaced; one whose ACL forbids changes cannot be
//   written; a byte-range lock stops reading only.
// - Reboot list: deleteAtReboot records the full path (the "\\?\" prefix
//   taken off, as the boot-time list holds it behind its own "\??\" prefix)
//   and succeeds whether or not the path exists.
//
// - Short names: an entry has an 8.3 alias only when a test gives it one
//   (setShortName). A find mask matches the long or the short name, a path
//   component may name an entry by either, and longPathName gives the long
//   names back.
//
// - Times: each entry has a last-write time, reported by the enumeration
//   and attributeData; it is kFakeFileTime until a test sets another
//   (setLastWriteTime). Writes do not change it.
//
// Not modelled: generated 8.3 names, alternate data streams, creation and
// access times, ACLs beyond the injected faults, drive types.
#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform {

// The last-write time every seeded entry starts with: 2024-03-15 09:30 UTC,
// as a FILETIME number (100-ns steps since 1601-01-01 UTC).
inline constexpr std::int64_t kFakeFileTime = 133549686000000000LL;

// How many times each query was made since the last clear (or
// resetCallCounts): how a test sees what a walk costs per entry.
struct FileCallCounts {
    int findFirst = 0;
    int findNext = 0;
    int attributes = 0;  // attributes, attributeData and exists: one GetFileAttributes(Ex)W each
    int longPathName = 0;
    int deleteFile = 0;
    int removeDirectory = 0;
};

// A fault injected on one entry.
enum class FileFault : std::uint8_t {
    None,
    InUse,         // opened elsewhere without delete sharing: DeleteFileW and
                   // RemoveDirectoryW fail with kErrorSharingViolation
    AccessDenied,  // an ACL that allows reading only: delete, remove and
                   // attribute changes fail with kErrorAccessDenied
    ListDenied,    // a folder that may not be listed: findFirst inside it
                   // fails with kErrorAccessDenied
    ReadLocked,    // a byte range locked by another process: readFile fails
                   // with kErrorLockViolation; everything else works
};

// What RemoveDirectoryW does to a folder link.
enum class LinkRemoval : std::uint8_t {
    RemovesLink,  // Windows: the link goes, the target stays
    Fails,        // Wine 8 with a Unix symbolic link: kErrorDirNotEmpty
};

struct ShellNotification {
    long event = 0;
    std::u16string path;
};

class FakeFileSystem : public IFileSystem {
public:
    // Seeding. Absolute paths in any form the fake accepts, without the
    // MAX_PATH limit and without devices (seed names that Win32 rewrites,
    // "trailing-dot.", through the "\\?\" form); missing parent folders are created (through links, as
    // Windows would reach them). Seeding ignores faults and read-only
    // attributes. An existing entry of the same name is replaced. False when
    // the path cannot be parsed or runs through a file.
    virtual bool addFolder(std::u16string_view path, std::uint32_t attributes = 0) = 0;
    virtual bool addFile(std::u16string_view path, std::uint64_t size,
                         std::uint32_t attributes = kFileAttributeArchive) = 0;
    // A file with these bytes (a file seeded by size alone reads as that many
    // zero bytes).
    virtual bool addFileWithContent(std::u16string_view path, std::string_view bytes) = 0;
    // `target` is an absolute path; it need not exist (a dangling link).
    virtual bool addFolderLink(std::u16string_view path, std::u16string_view target, LinkRemoval removal) = 0;
    virtual bool addFileLink(std::u16string_view path, std::u16string_view target) = 0;
    // Gives the entry (not a root) an 8.3 alias. False when it is missing.
    virtual bool setShortName(std::u16string_view path, std::u16string_view shortName) = 0;
    // ftLastWriteTime of the entry (a FILETIME number). False when it is
    // missing.
    virtual bool setLastWriteTime(std::u16string_view path, std::int64_t fileTime) = 0;
    // On the entry itself, never on a link's target. False when it is missing.
    virtual bool setFault(std::u16string_view path, FileFault fault) = 0;
    // Makes deleteAtReboot fail with `error` (kErrorAccessDenied for a process
    // without administrator rights); kErrorSuccess heals it.
    virtual void failDeleteAtReboot(Win32Error error) = 0;
    // Makes every writeFile, moveReplacing and createDirectory fail with
    // `error` before it begins (kErrorWriteProtect: a read-only medium);
    // kErrorSuccess heals it.
    virtual void failWrites(Win32Error error) = 0;
    // A disk that fills up: a writeFile of more than `bytes` bytes puts that
    // many into its file and then fails with kErrorDiskFull. -1 lifts the
    // limit.
    virtual void setDiskSpace(std::int64_t bytes) = 0;
    virtual bool setCurrentDirectory(std::u16string_view path) = 0;
    // Removes an entry with everything under it, ignoring faults and never
    // following links at the last component.
    virtual bool removeTree(std::u16string_view path) = 0;
    // Back to one empty drive C:, no faults, empty records.
    virtual void clear() = 0;

    // Inspection.
    virtual bool contains(std::u16string_view path) = 0;
    // The bytes of a file; empty when there is none.
    virtual std::string fileContent(std::u16string_view path) = 0;
    // Successful writeFile calls since the last clear.
    virtual int writeCount() = 0;
    virtual FileCallCounts callCounts() = 0;
    virtual void resetCallCounts() = 0;
    virtual std::vector<std::u16string> scheduledAtReboot() = 0;
    virtual void forgetScheduled() = 0;
    virtual std::vector<ShellNotification> notifications() = 0;
    // Enumerations not yet closed: a leak check for the code above.
    virtual std::size_t openFindHandles() = 0;
};

// The same object as fileSystem() in native builds.
FakeFileSystem& fakeFileSystem();

}  // namespace s::platform

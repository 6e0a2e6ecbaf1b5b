// The path object: the only way the engine reaches files and folders. One
// object holds one path text and answers every question the engine asks about
// it (form, existence, attributes, size, contents) and deletes it.
//
// Reading of the text (setPath):
// - "/" becomes "\"; trailing backslashes go ("C:/Temp/" and "C:\Temp" are
//   the same path); the result is the full path.
// - The full path is split into drive ("C:"), directory (up to and including
//   the last backslash), file title and extension (from the last dot of the
//   last segment). Each part holds at most kPartLimit characters; a text that
//   cannot be split (empty, or a part too long) makes the object invalid, and
//   so does a text holding a NUL (Windows would read only up to it).
// - Rooted: a drive ("C:...", second character ':'), or a network path ("\\x",
//   longer than 2 characters, third character neither '\' nor '/').
//   isValidLocation() = valid and rooted; the engine shows and looks up only
//   such paths.
// - Absolute: "C:\..." or "\\server\share..." (or their "\\?\" forms).
//   Nothing else is ever handed to Windows: a relative text ("Temp\x"), one
//   relative to a drive's current folder ("C:x", "C:*.log") or to the current
//   drive's root ("\temp") would act on whatever the current folder is -
//   System32 for a program the Task Scheduler starts. Such a path reads as
//   missing: exists false, no attributes, empty listings, and delete path
//   refuses it.
// - Long form: every absolute path has one, "\\?\C:\..." or
//   "\\?\UNC\server\share\..." ("." and ".." resolved, empty components
//   dropped), and every platform call on the path uses it. Win32 rewrites a
//   plain path before the file system sees it: it drops trailing dots and
//   spaces ("trailing-dot." becomes "trailing-dot") and one dot at the end of
//   a folder name, it opens a device for a last name like "con", "nul.txt"
//   or "aux.log", and it stops at MAX_PATH. Entries with such names exist
//   (WSL, Cygwin and git leave them): through the long form they are
//   measured, listed and deleted as what they are. The protected places are
//   still judged on the normalised form, where "C:\Windows." and
//   "C:\Windows " are the Windows folder (platform/ProtectedPlaces.h).
//
// Failure rules: nothing here reports an error beyond its result. An invalid
// or missing path reads as missing (exists false, attributes all bits set,
// size 0, empty listings, measure 0); listings and measures of a folder that
// cannot be enumerated are empty.
//
// Each object is used by one thread at a time.
#pragma once

#include "base/IObject.h"
#include "base/StrBuffer.h"
#include "platform/Win32Codes.h"

#include <cstdint>
#include <string_view>

namespace s::file {

using s::str::strbuffer::StrBuffer;

namespace win {
class PathList;
}

// Whether a listing includes hidden and system entries ("include all").
enum class HiddenAndSystem : std::uint8_t { Include, Skip };
// Whether a listing goes on into every subfolder (depth first, after the
// folder's own entries).
enum class Recursion : std::uint8_t { TopLevel, AllLevels };
// Whether a wildcard is applied in every subfolder too.
enum class InSubfolders : std::uint8_t { No, Yes };
// Folder measure: whether subfolders are entered and counted, and whether the
// files directly in the folder count.
enum class Descend : std::uint8_t { No, Yes };
enum class TopFiles : std::uint8_t { Skip, Count };
// Delete path: whether Explorer windows are told, and whether what cannot be
// deleted now is handed to Windows for deletion at the next boot.
enum class NotifyShell : std::uint8_t { No, Yes };
enum class AtReboot : std::uint8_t { Leave, Schedule };

class IPath : public s::base::IObject {
public:
    static constexpr int kPartLimit = 780;

    // Never fails; an unusable text only makes the object invalid. Forgets
    // the cached attributes and size.
    virtual void setPath(std::u16string_view text) = 0;

    virtual const StrBuffer& text() const = 0;      // as set
    virtual const StrBuffer& fullPath() const = 0;  // normalised
    virtual const StrBuffer& drive() const = 0;
    virtual const StrBuffer& directory() const = 0;
    virtual const StrBuffer& fileTitle() const = 0;
    virtual const StrBuffer& extension() const = 0;
    // Empty for paths that have none (invalid and relative ones, and texts
    // already in the "\\?\" form).
    virtual const StrBuffer& longForm() const = 0;
    // What the platform calls receive: the long form when there is one.
    virtual const StrBuffer& callPath() const = 0;

    virtual bool isValid() const = 0;
    virtual bool isRooted() const = 0;
    bool isValidLocation() const { return isValid() && isRooted(); }
    virtual bool isAbsolute() const = 0;
    // A place no clean may delete or empty (platform/ProtectedPlaces.h),
    // compared by its long name.
    virtual bool isProtectedPlace() = 0;

    // File title plus extension: a folder's name, a file's name, a wildcard
    // target's pattern.
    virtual StrBuffer lastComponent() const = 0;

    // The platform's existence test, through the long form (a plain path of
    // MAX_PATH characters or more fails on Windows, and a plain "nul.txt"
    // names the device, which always exists).
    virtual bool exists() = 0;
    // Read once and cached; kInvalidFileAttributes (all bits set) when they
    // cannot be read, so that a missing path reads as a directory.
    virtual std::uint32_t attributes() = 0;
    bool isDirectory() { return (attributes() & s::platform::kFileAttributeDirectory) != 0; }
    bool isFile() { return (attributes() & s::platform::kFileAttributeDirectory) == 0; }
    // Read once and cached; 0 when the path does not exist, and for folders.
    virtual std::int64_t fileSize() = 0;

    // The byte total of a folder, counting into the two counters: files
    // directly in it when `topFiles`; with `descend` every subfolder at every
    // depth (counted, and its files counted). Folder links and junctions are
    // neither entered nor counted; file links count as files of size 0. A path
    // that is not an existing folder measures as its file size, counters
    // unchanged. Sizes come from the enumeration; no file is opened.
    virtual std::int64_t measureFolder(Descend descend, TopFiles topFiles, std::int64_t& files,
                                       std::int64_t& folders) = 0;

    // Listings append path objects (folder path, "\", entry name) to `out` in
    // enumeration order and return how many they appended. Reparse points
    // (junctions, folder and file links) are never listed nor entered.
    virtual int listChildren(win::PathList& out, HiddenAndSystem hidden, Recursion recursion) = 0;
    virtual int listSubdirectories(win::PathList& out, HiddenAndSystem hidden, Recursion recursion) = 0;
    virtual int listFiles(win::PathList& out, HiddenAndSystem hidden, Recursion recursion) = 0;
    // This path is a folder, a backslash and a file-name pattern ('*' and
    // '?', matched by the file system). Appends the matching files (never
    // folders, never links) of the folder, then, with InSubfolders::Yes, those
    // of each subfolder, depth first. Empty when the folder is missing.
    virtual int expandWildcard(win::PathList& out, HiddenAndSystem hidden, InSubfolders inSubfolders) = 0;

    // Removes the read-only attribute (files and folders). False when the
    // attributes cannot be read or written; true when it was not set.
    virtual bool clearReadOnly() = 0;

    // Deletes the file, or the folder with everything in it. True when the
    // path is gone or never existed. Never touches a drive or share root (nor
    // any text of 3 characters or fewer), never an invalid or relative path
    // (false), never a protected place nor anything in one that is met in
    // the tree (false, and not scheduled), and never goes through a link: a link is removed as itself or not at all.
    // A read-only entry is made writable and tried again. What is left, when
    // asked, is scheduled for deletion at the next boot, children before
    // their folder.
    virtual bool deletePath(NotifyShell notify, AtReboot atReboot) = 0;
};

}  // namespace s::file

// The file-system primitives the engine needs, one call each to Win32.
//
// The service is thin on purpose: paths arrive in their final form (the logic
// above decides between the plain text and the "\\?\" or "\\?\UNC\" long
// form), nothing is normalised, retried or interpreted here, and every call
// returns the raw Win32 error so that the caller can branch on
// kErrorAccessDenied, kErrorSharingViolation, kErrorDirNotEmpty and the like.
//
// Failure rules, for every operation: a call that returns an error leaves its
// out parameters untouched, except findFirst, which also closes the handle it
// is given. A null path is kErrorInvalidParameter.
//
// Reach the build's implementation through fileSystem(): Win32 on Windows, an
// in-memory fake elsewhere (platform/fake/FakeFileSystem.h, for tests only).
#pragma once

#include "platform/Win32Codes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace s::platform {

// One directory entry as FindFirstFileW/FindNextFileW report it.
struct FindData {
    std::u16string name;  // the long name; "." and ".." are reported too
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;  // nFileSizeHigh:nFileSizeLow; 0 for directories and links
    // ftLastWriteTime as one number: 100-ns steps since 1601-01-01 UTC.
    std::int64_t lastWriteTime = 0;
};

// Attributes and size of one path (GetFileAttributesExW).
struct FileAttributeData {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::int64_t lastWriteTime = 0;  // as FindData's
};

class IFileSystem;

// An open enumeration (FindFirstFileW's HANDLE). Move-only; closes itself.
class FindHandle {
public:
    FindHandle() = default;
    ~FindHandle() { close(); }
    FindHandle(FindHandle&& other) noexcept
        : m_owner(std::exchange(other.m_owner, nullptr)), m_raw(std::exchange(other.m_raw, 0))
    {
    }
    FindHandle& operator=(FindHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            m_owner = std::exchange(other.m_owner, nullptr);
            m_raw = std::exchange(other.m_raw, 0);
        }
        return *this;
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool isOpen() const { return m_owner != nullptr; }
    void close();

private:
    friend class IFileSystem;
    IFileSystem* m_owner = nullptr;
    std::uintptr_t m_raw = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // FindFirstFileW on a pattern ("C:\dir\*", "C:\dir\*.tmp"): on success the
    // handle is open and `data` holds the first entry. Errors: a missing
    // folder kErrorPathNotFound, no match kErrorFileNotFound, wildcards
    // outside the last component kErrorInvalidName. Reparse points are
    // reported, never followed; a pattern whose folder part goes through a
    // link lists the link's target.
    virtual Win32Error findFirst(const char16_t* pattern, FindHandle& handle, FindData& data) = 0;
    // FindNextFileW: kErrorNoMoreFiles after the last entry.
    virtual Win32Error findNext(FindHandle& handle, FindData& data) = 0;

    // GetFileAttributesW: kInvalidFileAttributes on failure, with the error in
    // `error` when it is given (kErrorSuccess on success).
    virtual std::uint32_t attributes(const char16_t* path, Win32Error* error = nullptr) = 0;
    // GetFileAttributesExW(GetFileExInfoStandard).
    virtual Win32Error attributeData(const char16_t* path, FileAttributeData& data) = 0;
    // The existence test: the path names a file, a folder or a link.
    virtual bool exists(const char16_t* path) = 0;
    // GetLongPathNameW: the path with every 8.3 short component replaced by
    // its long name (the case of the names as stored). The path must exist:
    // kErrorFileNotFound or kErrorPathNotFound otherwise.
    virtual Win32Error longPathName(const char16_t* path, std::u16string& longPath) = 0;

    // DeleteFileW. A read-only file gives kErrorAccessDenied, a file that is
    // open without delete sharing kErrorSharingViolation, a folder
    // kErrorAccessDenied.
    virtual Win32Error deleteFile(const char16_t* path) = 0;
    // RemoveDirectoryW: only an empty folder goes; otherwise kErrorDirNotEmpty.
    virtual Win32Error removeDirectory(const char16_t* path) = 0;
    // SetFileAttributesW. Only the settable bits count (read-only, hidden,
    // system, archive, temporary, offline, not indexed); 0 or
    // kFileAttributeNormal clears them all.
    virtual Win32Error setAttributes(const char16_t* path, std::uint32_t attributes) = 0;
    // MoveFileExW(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT): Windows adds the
    // path to its boot-time list (PendingFileRenameOperations) and deletes it
    // early in the next boot. Needs administrator rights; the path need not
    // exist yet.
    virtual Win32Error deleteAtReboot(const char16_t* path) = 0;
    // Whole files, for the program's own documents (the settings file).
    //
    // CreateFileW(GENERIC_READ, sharing everything, OPEN_EXISTING), the size,
    // ReadFile until the end: the whole content replaces `bytes`.
    // kErrorFileTooLarge above `maxBytes`; a file that shrinks while it is
    // read gives what was there.
    virtual Win32Error readFile(const char16_t* path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) = 0;
    // CreateFileW(GENERIC_WRITE, no sharing, CREATE_ALWAYS), WriteFile of
    // every byte, FlushFileBuffers when `flush` says so, CloseHandle (whose
    // failure counts: the last chance to learn that buffered data did not
    // reach the disk). A disk that fills up leaves what fitted in the file.
    enum class Flush : std::uint8_t { No, Yes };
    virtual Win32Error writeFile(const char16_t* path, const std::uint8_t* bytes, std::size_t count, Flush flush) = 0;
    // MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH):
    // `from` takes the place of `to` in one step, and the rename has reached
    // the disk when the call returns. Fails while either is open without
    // delete sharing.
    virtual Win32Error moveReplacing(const char16_t* from, const char16_t* to) = 0;
    // CreateDirectoryW: one folder, whose parent must exist;
    // kErrorAlreadyExists when something of that name is there.
    virtual Win32Error createDirectory(const char16_t* path) = 0;

    // SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSH, path, NULL): tells
    // Explorer windows what changed. event is kShellEventDelete or
    // kShellEventRmdir.
    virtual void notifyChange(long event, const char16_t* path) = 0;

protected:
    // FindClose, called by FindHandle.
    virtual void closeFind(std::uintptr_t raw) = 0;

    // For implementations: hand an open enumeration to a handle, read it back.
    void adopt(FindHandle& handle, std::uintptr_t raw)
    {
        handle.close();
        handle.m_owner = this;
        handle.m_raw = raw;
    }
    static std::uintptr_t rawOf(const FindHandle& handle) { return handle.m_raw; }
    bool owns(const FindHandle& handle) const { return handle.m_owner == this; }

    friend class FindHandle;
};

inline void FindHandle::close()
{
    if (m_owner)
        std::exchange(m_owner, nullptr)->closeFind(std::exchange(m_raw, 0));
}

// The build's file system: Win32, or the in-memory fake in native builds.
IFileSystem& fileSystem();

}  // namespace s::platform

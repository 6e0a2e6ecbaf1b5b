#include "platform/FileIo.h"

#include "platform/FileSystem.h"

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace s::platform {

namespace {

// A rename that another program blocks for a moment is tried this often.
constexpr int kRenameAttempts = 5;
constexpr std::chrono::milliseconds kRenameRetry{20};

class PlatformFileIo final : public s::io::IFileIo {
public:
    bool readFile(std::u16string_view path, s::col::ArrayU08& out, int maxBytes) override
    {
        out.resize(0);
        std::vector<std::uint8_t> bytes;
        const std::u16string name(path);
        if (maxBytes < 0 ||
            fileSystem().readFile(name.c_str(), static_cast<std::size_t>(maxBytes), bytes) != kErrorSuccess)
            return false;
        out.resize(static_cast<int>(bytes.size()));
        if (!bytes.empty())
            std::memcpy(out.data(), bytes.data(), bytes.size());
        return true;
    }

    bool writeFile(std::u16string_view path, const uint8_t* bytes, int count) override
    {
        const std::u16string name(path);
        return count >= 0 && fileSystem().writeFile(name.c_str(), bytes, static_cast<std::size_t>(count),
                                                    IFileSystem::Flush::No) == kErrorSuccess;
    }

    // The settings file is rewritten on every change. Writing it in place
    // would leave a truncated or empty file behind when the process dies, the
    // power fails or the disk fills up half-way, and the user's settings would
    // be gone. So the bytes go to a sibling file first, are flushed to the
    // disk, and then replace the old file in one rename; until the rename the
    // old file is untouched, and after a failure it stays as it was.
    //
    // MoveFileExW rather than ReplaceFileW: ReplaceFileW fails when there is
    // no file to replace yet (the first save) and has a half-done state of its
    // own (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) in which neither name holds the
    // data. The new file gets the folder's default attributes and security,
    // which is what the program created in the first place.
    bool replaceFile(std::u16string_view path, const uint8_t* bytes, int count) override
    {
        if (count < 0)
            return false;
        IFileSystem& files = fileSystem();
        const std::u16string target(path);
        const std::u16string temporary = target + u".new";
        // A temporary file of a save that a crash or power cut cut short is
        // no one's; it is never read. CREATE_ALWAYS below writes over it
        // unless it is read-only, hidden or system (Windows then refuses with
        // ERROR_ACCESS_DENIED), so its bits are cleared and it goes first.
        const std::uint32_t leftover = files.attributes(temporary.c_str());
        if (leftover != kInvalidFileAttributes && !(leftover & kFileAttributeDirectory)) {
            files.setAttributes(temporary.c_str(), kFileAttributeNormal);
            files.deleteFile(temporary.c_str());
        }
        if (files.writeFile(temporary.c_str(), bytes, static_cast<std::size_t>(count), IFileSystem::Flush::Yes) !=
            kErrorSuccess) {
            files.deleteFile(temporary.c_str());  // what a full disk let through
            return false;
        }
        // The rename fails while another program has the file open without
        // FILE_SHARE_DELETE (a virus scanner or the search indexer looking at
        // the new file for a moment: ERROR_SHARING_VIOLATION or, for a handle
        // being closed, ERROR_ACCESS_DENIED). Such holds are short; a few
        // retries ride them out. Anything longer fails the save.
        for (int attempt = 0;; ++attempt) {
            const Win32Error error = files.moveReplacing(temporary.c_str(), target.c_str());
            if (error == kErrorSuccess)
                return true;
            if (attempt == kRenameAttempts - 1 || (error != kErrorSharingViolation && error != kErrorAccessDenied))
                break;
            std::this_thread::sleep_for(kRenameRetry);
        }
        files.deleteFile(temporary.c_str());
        return false;
    }

    bool fileExists(std::u16string_view path) override
    {
        const std::u16string name(path);
        Win32Error error = kErrorSuccess;
        const std::uint32_t attributes = fileSystem().attributes(name.c_str(), &error);
        if (attributes != kInvalidFileAttributes)
            return !(attributes & kFileAttributeDirectory);
        // Only these say that nothing is there; any other error (a sharing
        // violation on a paging file, access denied to the folder) means a
        // file we cannot look at.
        return error != kErrorFileNotFound && error != kErrorPathNotFound && error != kErrorInvalidName &&
               error != kErrorBadPathname && error != kErrorInvalidDrive && error != kErrorBadNetpath &&
               error != kErrorBadNetName && error != kErrorInvalidParameter;
    }

    bool folderExists(std::u16string_view path) override
    {
        const std::u16string name(path);
        const std::uint32_t attributes = fileSystem().attributes(name.c_str());
        return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory);
    }

    bool createFolder(std::u16string_view path) override
    {
        const std::u16string name(path);
        const Win32Error error = fileSystem().createDirectory(name.c_str());
        return error == kErrorSuccess || (error == kErrorAlreadyExists && folderExists(path));
    }
};

}  // namespace

s::io::IFileIo& fileIo()
{
    static PlatformFileIo files;
    return files;
}

}  // namespace s::platform

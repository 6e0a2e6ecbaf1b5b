// Whole-file access through Win32.
#include "platform/FileIo.h"

#include "base/StrBuffer.h"
#include "base/WideStr.h"

#include <windows.h>

namespace s::platform {

namespace {

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedHandle() { close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }
    // Closes now; false when CloseHandle failed (for a file written with
    // buffering, the last chance to learn that the data did not reach it).
    bool close()
    {
        if (!valid())
            return true;
        const BOOL closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle;
};

bool writeAll(HANDLE file, const uint8_t* bytes, int count)
{
    int done = 0;
    while (done < count) {
        DWORD written = 0;
        if (!WriteFile(file, bytes + done, static_cast<DWORD>(count - done), &written, nullptr) || written == 0)
            return false;
        done += static_cast<int>(written);
    }
    return true;
}

enum class Flush { No, Yes };

// A rename that another program blocks for a moment is tried this often.
constexpr int kRenameAttempts = 5;
constexpr DWORD kRenameRetryMilliseconds = 20;

// Creates (or truncates) path and writes the bytes; with Flush::Yes the data
// is on the disk when this returns.
bool writeNew(const s::str::StrBuffer& path, const uint8_t* bytes, int count, Flush flush)
{
    ScopedHandle file(
        CreateFileW(s::str::wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    if (!writeAll(file.get(), bytes, count))
        return false;
    if (flush == Flush::Yes && !FlushFileBuffers(file.get()))
        return false;
    return file.close();
}

class Win32FileIo : public s::io::IFileIo {
public:
    bool readFile(std::u16string_view path, s::col::ArrayU08& out, int maxBytes) override
    {
        out.resize(0);
        const s::str::StrBuffer name(path);
        // Share everything: the file may be open in an editor, or being
        // replaced by another copy of the program at this moment.
        ScopedHandle file(CreateFileW(s::str::wide(name), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return false;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > maxBytes)
            return false;
        const int total = static_cast<int>(size.QuadPart);
        out.resize(total);
        int done = 0;
        while (done < total) {
            DWORD read = 0;
            if (!ReadFile(file.get(), out.data() + done, static_cast<DWORD>(total - done), &read, nullptr)) {
                out.resize(0);
                return false;
            }
            if (read == 0)
                break;  // the file shrank while we read it
            done += static_cast<int>(read);
        }
        out.resize(done);
        return true;
    }

    bool writeFile(std::u16string_view path, const uint8_t* bytes, int count) override
    {
        return writeNew(s::str::StrBuffer(path), bytes, count, Flush::No);
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
    // data. MOVEFILE_WRITE_THROUGH makes the rename itself reach the disk
    // before the call returns. The new file gets the folder's default
    // attributes and security, which is what the program created in the
    // first place.
    bool replaceFile(std::u16string_view path, const uint8_t* bytes, int count) override
    {
        const s::str::StrBuffer target(path);
        s::str::StrBuffer temporary(path);
        temporary.append(u".new");
        if (!writeNew(temporary, bytes, count, Flush::Yes)) {
            DeleteFileW(s::str::wide(temporary));  // what a full disk let through
            return false;
        }
        // The rename fails while another program has the file open without
        // FILE_SHARE_DELETE (a virus scanner or the search indexer looking at
        // the new file for a moment: ERROR_SHARING_VIOLATION or, for a handle
        // being closed, ERROR_ACCESS_DENIED). Such holds are short; a few
        // retries ride them out. Anything longer fails the save.
        for (int attempt = 0;; ++attempt) {
            if (MoveFileExW(s::str::wide(temporary), s::str::wide(target),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            const DWORD error = GetLastError();
            if (attempt == kRenameAttempts - 1 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED))
                break;
            Sleep(kRenameRetryMilliseconds);
        }
        DeleteFileW(s::str::wide(temporary));
        return false;
    }

    bool fileExists(std::u16string_view path) override
    {
        const s::str::StrBuffer name(path);
        const DWORD attributes = GetFileAttributesW(s::str::wide(name));
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        // Only these say that nothing is there; any other error (a sharing
        // violation on a paging file, access denied to the folder) means a
        // file we cannot look at.
        const DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME &&
               error != ERROR_BAD_PATHNAME && error != ERROR_INVALID_DRIVE && error != ERROR_BAD_NETPATH &&
               error != ERROR_BAD_NET_NAME;
    }

    bool folderExists(std::u16string_view path) override
    {
        const s::str::StrBuffer name(path);
        const DWORD attributes = GetFileAttributesW(s::str::wide(name));
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool createFolder(std::u16string_view path) override
    {
        const s::str::StrBuffer name(path);
        if (CreateDirectoryW(s::str::wide(name), nullptr))
            return true;
        return GetLastError() == ERROR_ALREADY_EXISTS && folderExists(path);
    }
};

}  // namespace

s::io::IFileIo& fileIo()
{
    static Win32FileIo files;
    return files;
}

}  // namespace s::platform

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

enum class WriteOutcome { Written, NotCreated, NotWritten };

// Creates (or truncates) path and writes the bytes; with flush the data is on
// the disk when this returns.
WriteOutcome writeNew(const s::str::StrBuffer& path, const uint8_t* bytes, int count, bool flush)
{
    // Others may go on reading while we write (and an editor that holds the
    // file open for reading would otherwise make the open fail with a
    // sharing violation: the share mode must admit every access already
    // granted on the file).
    ScopedHandle file(CreateFileW(s::str::wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return WriteOutcome::NotCreated;
    if (!writeAll(file.get(), bytes, count) || (flush && !FlushFileBuffers(file.get())) || !file.close())
        return WriteOutcome::NotWritten;
    return WriteOutcome::Written;
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

    // The settings file is rewritten on every change. Writing it in place
    // would leave a truncated or empty file behind when the process dies or
    // the power fails half-way, and the user's settings would be gone. So the
    // bytes go to a sibling file first, reach the disk, and then replace the
    // old file in one rename. Where that cannot work, because there is no
    // right to create files in the folder or another program holds the file
    // open without FILE_SHARE_DELETE (which blocks the rename), the file is
    // written in place as a last resort. When the disk refuses the bytes
    // themselves (full, read-only) the old file is left as it is.
    bool writeFile(std::u16string_view path, const uint8_t* bytes, int count) override
    {
        const s::str::StrBuffer target(path);
        s::str::StrBuffer temporary(path);
        temporary.append(u".new");
        const WriteOutcome outcome = writeNew(temporary, bytes, count, true);
        if (outcome == WriteOutcome::Written && MoveFileExW(s::str::wide(temporary), s::str::wide(target),
                                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (outcome != WriteOutcome::NotCreated)
            DeleteFileW(s::str::wide(temporary));
        if (outcome == WriteOutcome::NotWritten)
            return false;
        return writeNew(target, bytes, count, false) == WriteOutcome::Written;
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

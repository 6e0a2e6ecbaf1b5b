#include "platform/FileSystem.h"

#include <windows.h>

#include <shlobj.h>

namespace s::platform {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "MinGW and MSVC: wchar_t is UTF-16");

const wchar_t* wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

std::int64_t fileTimeNumber(const FILETIME& time)
{
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

void copyFindData(const WIN32_FIND_DATAW& from, FindData& to)
{
    to.name.assign(reinterpret_cast<const char16_t*>(from.cFileName));
    to.attributes = from.dwFileAttributes;
    to.size = (static_cast<std::uint64_t>(from.nFileSizeHigh) << 32) | from.nFileSizeLow;
    to.lastWriteTime = fileTimeNumber(from.ftLastWriteTime);
}

HANDLE asHandle(std::uintptr_t raw)
{
    return reinterpret_cast<HANDLE>(raw);
}

// A file handle from CreateFileW, closed when it goes.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }
    // Closes now; false when CloseHandle failed.
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

class FileSystemWin final : public IFileSystem {
public:
    Win32Error findFirst(const char16_t* pattern, FindHandle& handle, FindData& data) override
    {
        handle.close();
        if (!pattern)
            return kErrorInvalidParameter;
        // FindExInfoBasic skips the 8.3 short name, which nobody here reads
        // (matching against short names still happens inside Windows);
        // FIND_FIRST_EX_LARGE_FETCH asks for bigger batches per kernel call.
        // Both exist from Windows 7 on, and Wine accepts both.
        WIN32_FIND_DATAW found;
        HANDLE raw = FindFirstFileExW(wide(pattern), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH);
        if (raw == INVALID_HANDLE_VALUE)
            return GetLastError();
        adopt(handle, reinterpret_cast<std::uintptr_t>(raw));
        copyFindData(found, data);
        return kErrorSuccess;
    }

    Win32Error findNext(FindHandle& handle, FindData& data) override
    {
        if (!owns(handle))
            return kErrorInvalidHandle;
        WIN32_FIND_DATAW found;
        if (!FindNextFileW(asHandle(rawOf(handle)), &found))
            return GetLastError();
        copyFindData(found, data);
        return kErrorSuccess;
    }

    std::uint32_t attributes(const char16_t* path, Win32Error* error) override
    {
        if (!path) {
            if (error)
                *error = kErrorInvalidParameter;
            return kInvalidFileAttributes;
        }
        const DWORD result = GetFileAttributesW(wide(path));
        if (error)
            *error = result == INVALID_FILE_ATTRIBUTES ? GetLastError() : kErrorSuccess;
        return result;
    }

    Win32Error attributeData(const char16_t* path, FileAttributeData& data) override
    {
        if (!path)
            return kErrorInvalidParameter;
        WIN32_FILE_ATTRIBUTE_DATA found;
        if (!GetFileAttributesExW(wide(path), GetFileExInfoStandard, &found))
            return GetLastError();
        data.attributes = found.dwFileAttributes;
        data.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        data.lastWriteTime = fileTimeNumber(found.ftLastWriteTime);
        return kErrorSuccess;
    }

    bool exists(const char16_t* path) override
    {
        return path && GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
    }

    Win32Error longPathName(const char16_t* path, std::u16string& longPath) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::wstring buffer(MAX_PATH + 1, L'\0');
        // The answer is the length it needs (with its zero) when the buffer is
        // too small; a folder renamed in between can need more again.
        for (int attempt = 0; attempt < 4; ++attempt) {
            const DWORD length = GetLongPathNameW(wide(path), buffer.data(), static_cast<DWORD>(buffer.size()));
            if (length == 0)
                return GetLastError();
            if (length < buffer.size()) {
                longPath.assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
                return kErrorSuccess;
            }
            buffer.assign(length, L'\0');
        }
        return kErrorInsufficientBuffer;
    }

    Win32Error deleteFile(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        return DeleteFileW(wide(path)) ? kErrorSuccess : GetLastError();
    }

    Win32Error removeDirectory(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        return RemoveDirectoryW(wide(path)) ? kErrorSuccess : GetLastError();
    }

    Win32Error setAttributes(const char16_t* path, std::uint32_t attributes) override
    {
        if (!path)
            return kErrorInvalidParameter;
        return SetFileAttributesW(wide(path), attributes) ? kErrorSuccess : GetLastError();
    }

    Win32Error deleteAtReboot(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        return MoveFileExW(wide(path), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? kErrorSuccess : GetLastError();
    }

    Win32Error readFile(const char16_t* path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) override
    {
        if (!path)
            return kErrorInvalidParameter;
        // Share everything: the file may be open in an editor, or being
        // replaced by another copy of the program at this moment.
        FileHandle file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return GetLastError();
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size))
            return GetLastError();
        if (size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
            return kErrorFileTooLarge;
        std::vector<std::uint8_t> content(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (done < content.size()) {
            DWORD read = 0;
            if (!ReadFile(file.get(), content.data() + done, static_cast<DWORD>(content.size() - done), &read, nullptr))
                return GetLastError();
            if (read == 0)
                break;  // the file shrank while we read it
            done += read;
        }
        content.resize(done);
        bytes = std::move(content);
        return kErrorSuccess;
    }

    Win32Error writeFile(const char16_t* path, const std::uint8_t* bytes, std::size_t count, Flush flush) override
    {
        if (!path || (!bytes && count))
            return kErrorInvalidParameter;
        FileHandle file(
            CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return GetLastError();
        std::size_t done = 0;
        while (done < count) {
            DWORD written = 0;
            if (!WriteFile(file.get(), bytes + done, static_cast<DWORD>(count - done), &written, nullptr))
                return GetLastError();
            if (written == 0)
                return kErrorDiskFull;
            done += written;
        }
        if (flush == Flush::Yes && !FlushFileBuffers(file.get()))
            return GetLastError();
        return file.close() ? kErrorSuccess : GetLastError();
    }

    Win32Error moveReplacing(const char16_t* from, const char16_t* to) override
    {
        if (!from || !to)
            return kErrorInvalidParameter;
        return MoveFileExW(wide(from), wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? kErrorSuccess
                                                                                                     : GetLastError();
    }

    Win32Error createDirectory(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        return CreateDirectoryW(wide(path), nullptr) ? kErrorSuccess : GetLastError();
    }

    void notifyChange(long event, const char16_t* path) override
    {
        // SHCNF_FLUSH makes the call wait until the notification is delivered,
        // so an Explorer window has refreshed before the caller goes on.
        if (path)
            SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSH, path, nullptr);
    }

protected:
    void closeFind(std::uintptr_t raw) override { FindClose(asHandle(raw)); }
};

}  // namespace

IFileSystem& fileSystem()
{
    static FileSystemWin instance;
    return instance;
}

}  // namespace s::platform

#include "tests/support/ScratchFolder.h"

#include "base/WideStr.h"

#include <windows.h>

#include <cstdio>

namespace testing_platform {

namespace {

int g_next = 0;

// Deletes a tree this test made. Links are removed, never followed: under
// Wine a link to a folder outside the prefix would lead into the machine's
// own files.
void removeTree(const s::str::StrBuffer& folder)
{
    s::str::StrBuffer pattern(folder);
    pattern.append(u"\\*");
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(s::str::wide(pattern), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string_view name = s::str::fromWide(data.cFileName);
            if (name == u"." || name == u"..")
                continue;
            s::str::StrBuffer child(folder);
            child.append(u'\\').append(name);
            const bool isLink = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink)
                removeTree(child);
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(s::str::wide(child));
            else {
                SetFileAttributesW(s::str::wide(child), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(s::str::wide(child));
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(s::str::wide(folder));
}

}  // namespace

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    m_path.assign(s::str::fromWide(temp, length));
    m_path.trimRight();
    while (m_path.length() > 0 && m_path.last() == u'\\')
        m_path.setLength(m_path.length() - 1);
    m_path.append(u"\\purgo-test-").appendU32(GetCurrentProcessId()).append(u'-').appendS32(++g_next);
    removeTree(m_path);  // a leftover of an earlier run with the same id
    CreateDirectoryW(s::str::wide(m_path), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    removeTree(m_path);
}

s::str::StrBuffer ScratchFolder::join(std::u16string_view relative) const
{
    s::str::StrBuffer path(m_path);
    return path.append(u'\\').append(relative);
}

void ScratchFolder::putFile(std::u16string_view relative, std::string_view bytes) const
{
    const s::str::StrBuffer path = join(relative);
    HANDLE file =
        CreateFileW(s::str::wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool ScratchFolder::readBack(std::u16string_view relative, std::string& bytes) const
{
    const s::str::StrBuffer path = join(relative);
    HANDLE file = CreateFileW(s::str::wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return true;
}

std::optional<int> ScratchFolder::writes() const
{
    return std::nullopt;
}

}  // namespace testing_platform

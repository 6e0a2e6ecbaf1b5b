#include "tests/support/HeldFile.h"

#include "base/WideStr.h"

#include <windows.h>

namespace testing_platform {

HeldFile::HeldFile(std::u16string_view path) : m_path(path)
{
    // Share mode 0: no other open for reading, writing or deleting (and so no
    // rename over the file) succeeds while this handle lives.
    HANDLE handle =
        CreateFileW(s::str::wide(m_path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_held = handle != INVALID_HANDLE_VALUE;
    m_handle = m_held ? handle : nullptr;
}

HeldFile::~HeldFile()
{
    if (m_held)
        CloseHandle(static_cast<HANDLE>(m_handle));
}

}  // namespace testing_platform

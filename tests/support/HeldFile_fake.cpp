#include "tests/support/HeldFile.h"

#include "platform/FakeFileIo.h"

namespace testing_platform {

HeldFile::HeldFile(std::u16string_view path) : m_path(path)
{
    m_held = s::platform::fakeFileIo().fileExists(m_path);
    if (m_held)
        s::platform::fakeFileIo().setInUse(m_path, true);
}

HeldFile::~HeldFile()
{
    if (m_held)
        s::platform::fakeFileIo().setInUse(m_path, false);
}

}  // namespace testing_platform

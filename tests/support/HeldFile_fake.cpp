#include "tests/support/HeldFile.h"

#include "platform/fake/FakeFileSystem.h"

namespace testing_platform {

HeldFile::HeldFile(std::u16string_view path) : m_path(path)
{
    m_held = s::platform::fakeFileSystem().contains(m_path.view());
    if (m_held)
        s::platform::fakeFileSystem().setFault(m_path.view(), s::platform::FileFault::InUse);
}

HeldFile::~HeldFile()
{
    if (m_held)
        s::platform::fakeFileSystem().setFault(m_path.view(), s::platform::FileFault::None);
}

}  // namespace testing_platform

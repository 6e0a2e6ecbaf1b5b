#include "tests/support/ScratchFolder.h"

#include "platform/fake/FakeFileSystem.h"

namespace testing_platform {

namespace {
int g_next = 0;
}  // namespace

ScratchFolder::ScratchFolder()
{
    m_path.assign(u"C:\\Temp\\scratch").appendS32(++g_next);
    s::platform::fakeFileSystem().addFolder(m_path.view());
    m_writesBefore = s::platform::fakeFileSystem().writeCount();
}

ScratchFolder::~ScratchFolder()
{
    s::platform::fakeFileSystem().removeTree(m_path.view());
}

s::str::StrBuffer ScratchFolder::join(std::u16string_view relative) const
{
    s::str::StrBuffer path(m_path);
    return path.append(u'\\').append(relative);
}

void ScratchFolder::putFile(std::u16string_view relative, std::string_view bytes) const
{
    s::platform::fakeFileSystem().addFileWithContent(join(relative).view(), bytes);
}

bool ScratchFolder::readBack(std::u16string_view relative, std::string& bytes) const
{
    if (!s::platform::fakeFileSystem().contains(join(relative).view()))
        return false;
    bytes = s::platform::fakeFileSystem().fileContent(join(relative).view());
    return true;
}

std::optional<int> ScratchFolder::writes() const
{
    return s::platform::fakeFileSystem().writeCount() - m_writesBefore;
}

}  // namespace testing_platform

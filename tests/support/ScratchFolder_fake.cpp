#include "tests/support/ScratchFolder.h"

#include "platform/FakeFileIo.h"

namespace testing_platform {

namespace {
int g_next = 0;
}  // namespace

ScratchFolder::ScratchFolder()
{
    m_path.assign(u"C:\\Temp\\scratch").appendS32(++g_next);
    s::platform::fakeFileIo().addFolder(m_path);
}

ScratchFolder::~ScratchFolder()
{
    s::platform::fakeFileIo().removeTree(m_path);
}

s::str::StrBuffer ScratchFolder::join(std::u16string_view relative) const
{
    s::str::StrBuffer path(m_path);
    return path.append(u'\\').append(relative);
}

void ScratchFolder::putFile(std::u16string_view relative, std::string_view bytes) const
{
    s::platform::fakeFileIo().seedFile(join(relative), bytes);
}

bool ScratchFolder::readBack(std::u16string_view relative, std::string& bytes) const
{
    if (!s::platform::fakeFileIo().hasFile(join(relative)))
        return false;
    bytes = s::platform::fakeFileIo().fileContents(join(relative));
    return true;
}

}  // namespace testing_platform

#include "tests/support/ProgramFolderFixture.h"

#include "platform/ProgramFolder.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProgramFolder.h"

namespace testing_settings {

namespace {

constexpr std::u16string_view kFolder = u"C:\\Tools\\Oxle Purgo";

}  // namespace

ProgramFolderFixture::ProgramFolderFixture()
{
    s::platform::setProgramFolder(kFolder);
    s::str::StrBuffer executable(kFolder);
    executable.append(u'\\').append(executableName());
    s::platform::fakeFileSystem().addFileWithContent(executable.view(), "MZ");
    removeSavedata();
}

ProgramFolderFixture::~ProgramFolderFixture()
{
    removeSavedata();
    s::platform::fakeFileSystem().removeTree(kFolder);
    s::platform::setProgramFolder(u"C:\\Program Files\\Oxle Purgo");
}

void ProgramFolderFixture::removeSavedata()
{
    s::str::StrBuffer folder(kFolder);
    s::platform::fakeFileSystem().removeTree(folder.append(u"\\savedata").view());
}

bool ProgramFolderFixture::readBack(const s::str::StrBuffer& path, std::string& bytes)
{
    if (!s::platform::fakeFileSystem().contains(path.view()))
        return false;
    bytes = s::platform::fakeFileSystem().fileContent(path.view());
    return true;
}

}  // namespace testing_settings

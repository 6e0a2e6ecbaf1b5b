#include "tests/support/ProgramFolderFixture.h"

#include "platform/FakeFileIo.h"
#include "platform/ProgramFolder.h"
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
    s::platform::fakeFileIo().seedFile(executable, "MZ");
    removeSavedata();
}

ProgramFolderFixture::~ProgramFolderFixture()
{
    removeSavedata();
    s::platform::fakeFileIo().removeTree(kFolder);
    s::platform::setProgramFolder(u"C:\\Program Files\\Oxle Purgo");
}

void ProgramFolderFixture::removeSavedata()
{
    s::str::StrBuffer folder(kFolder);
    s::platform::fakeFileIo().removeTree(folder.append(u"\\savedata"));
}

bool ProgramFolderFixture::readBack(const s::str::StrBuffer& path, std::string& bytes)
{
    if (!s::platform::fakeFileIo().hasFile(path))
        return false;
    bytes = s::platform::fakeFileIo().fileContents(path);
    return true;
}

}  // namespace testing_settings

#include "tests/support/ProgramFolderFixture.h"

#include "base/WideStr.h"
#include "platform/ProgramFolder.h"

#include <windows.h>

namespace testing_settings {

ProgramFolderFixture::ProgramFolderFixture()
{
    removeSavedata();  // a leftover of a run that crashed
}

ProgramFolderFixture::~ProgramFolderFixture()
{
    removeSavedata();
}

void ProgramFolderFixture::removeSavedata()
{
    s::str::StrBuffer folder = s::platform::programFolder();
    if (folder.isEmpty())
        return;
    folder.append(u"\\savedata");
    for (std::u16string_view name : {u"\\SaveData.xml", u"\\SaveData.xml.new"}) {
        s::str::StrBuffer file(folder);
        file.append(name);
        SetFileAttributesW(s::str::wide(file), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(s::str::wide(file));
    }
    RemoveDirectoryW(s::str::wide(folder));
}

bool ProgramFolderFixture::readBack(const s::str::StrBuffer& path, std::string& bytes)
{
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

}  // namespace testing_settings

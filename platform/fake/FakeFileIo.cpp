#include "platform/FakeFileIo.h"
#include "platform/FileIo.h"

namespace s::platform {

FakeFileIo& fakeFileIo()
{
    static FakeFileIo files;
    return files;
}

s::io::IFileIo& fileIo()
{
    return fakeFileIo();
}

}  // namespace s::platform

#include "tests/support/FakeDisk.h"

#include "platform/FileIo.h"
#include "platform/fake/FakeFileSystem.h"

namespace testing_platform {

namespace p = s::platform;

FakeDisk::FakeDisk()
{
    p::fakeFileSystem().clear();
}

FakeDisk::~FakeDisk()
{
    p::fakeFileSystem().clear();
}

FakeDisk::operator s::io::IFileIo&() const
{
    return p::fileIo();
}

void FakeDisk::seedFile(std::u16string_view path, std::string_view bytes)
{
    p::fakeFileSystem().addFileWithContent(path, bytes);
}

void FakeDisk::addFolder(std::u16string_view path)
{
    p::fakeFileSystem().addFolder(path);
}

bool FakeDisk::hasFile(std::u16string_view path) const
{
    const std::uint32_t attributes = p::fakeFileSystem().attributes(std::u16string(path).c_str());
    return attributes != p::kInvalidFileAttributes && !(attributes & p::kFileAttributeDirectory);
}

bool FakeDisk::folderExists(std::u16string_view path) const
{
    const std::uint32_t attributes = p::fakeFileSystem().attributes(std::u16string(path).c_str());
    return attributes != p::kInvalidFileAttributes && (attributes & p::kFileAttributeDirectory);
}

std::string FakeDisk::fileContents(std::u16string_view path) const
{
    return p::fakeFileSystem().fileContent(path);
}

int FakeDisk::writeCount() const
{
    return p::fakeFileSystem().writeCount();
}

void FakeDisk::setDiskSpace(int bytes)
{
    p::fakeFileSystem().setDiskSpace(bytes);
}

void FakeDisk::setWritesFail(bool fail)
{
    p::fakeFileSystem().failWrites(fail ? p::kErrorWriteProtect : p::kErrorSuccess);
}

void FakeDisk::setInUse(std::u16string_view path, bool inUse)
{
    p::fakeFileSystem().setFault(path, inUse ? p::FileFault::InUse : p::FileFault::None);
}

void FakeDisk::setUnreadable(std::u16string_view path, bool unreadable)
{
    p::fakeFileSystem().setFault(path, unreadable ? p::FileFault::ReadLocked : p::FileFault::None);
}

}  // namespace testing_platform

// Win32-only behaviour of the whole-file replacement: what happens to a file
// that another program holds open.
#include "platform/FileIo.h"

#include "base/WideStr.h"
#include "tests/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using testing_platform::ScratchFolder;

class OpenHandle {
public:
    OpenHandle(const s::str::StrBuffer& path, DWORD share)
        : m_handle(CreateFileW(s::str::wide(path), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr))
    {
    }
    ~OpenHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    OpenHandle(const OpenHandle&) = delete;
    OpenHandle& operator=(const OpenHandle&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

TEST(FileIoWin32, AFileHeldOpenIsStillReplaced)
{
    struct Row {
        const char* name;
        DWORD share;
        bool written;
    };
    const Row rows[] = {
        {"shared for everything", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
        // Without FILE_SHARE_DELETE the rename is blocked. Writing in place
        // instead could leave a torn file, so the save fails and the old
        // content stays whole; the next save tries again.
        {"shared for reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {"shared for reading only", FILE_SHARE_READ, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchFolder scratch;
        scratch.putFile(u"SaveData.xml", "<old></old>");
        const s::str::StrBuffer path = scratch.join(u"SaveData.xml");
        const std::string bytes = "<savedata></savedata>";
        {
            OpenHandle holder(path, row.share);
            ASSERT_TRUE(holder.valid());
            EXPECT_EQ(s::platform::fileIo().replaceFile(path, reinterpret_cast<const uint8_t*>(bytes.data()),
                                                        static_cast<int>(bytes.size())),
                      row.written);
        }
        std::string onDisk;
        ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
        EXPECT_EQ(onDisk, row.written ? bytes : std::string("<old></old>"));
        std::string leftover;
        EXPECT_FALSE(scratch.readBack(u"SaveData.xml.new", leftover));
    }
}

}  // namespace

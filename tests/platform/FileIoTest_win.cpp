// Win32-only behaviour of the whole-file replacement: what happens to a file
// that another program holds open.
#include "platform/FileIo.h"

#include "base/WideStr.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
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

TEST(FileIoWin32, AFileHeldOpenIsReplacedWholeOrNotAtAll)
{
    enum class Expect { Replaced, Kept, Either };
    struct Row {
        const char* name;
        bool held;
        DWORD share;
        Expect expect;
    };
    const Row rows[] = {
        {"not held", false, 0, Expect::Replaced},
        // Whether a rename may replace a file open with FILE_SHARE_DELETE
        // depends on the Windows version (and Wine refuses it); either way the
        // result must say what happened.
        {"shared for everything", true, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, Expect::Either},
        // Without FILE_SHARE_DELETE the rename is blocked. Writing in place
        // instead could leave a torn file, so the save fails and the old
        // content stays whole; the next save tries again.
        {"shared for reading and writing", true, FILE_SHARE_READ | FILE_SHARE_WRITE, Expect::Kept},
        {"shared for reading only", true, FILE_SHARE_READ, Expect::Kept},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchFolder scratch;
        scratch.putFile(u"SaveData.xml", "<old></old>");
        const s::str::StrBuffer path = scratch.join(u"SaveData.xml");
        const std::string bytes = "<savedata></savedata>";
        bool replaced = false;
        {
            std::unique_ptr<OpenHandle> holder;
            if (row.held) {
                holder = std::make_unique<OpenHandle>(path, row.share);
                ASSERT_TRUE(holder->valid());
            }
            replaced = s::platform::fileIo().replaceFile(path, reinterpret_cast<const uint8_t*>(bytes.data()),
                                                         static_cast<int>(bytes.size()));
        }
        if (row.expect != Expect::Either) {
            EXPECT_EQ(replaced, row.expect == Expect::Replaced);
        }
        std::string onDisk;
        ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
        EXPECT_EQ(onDisk, replaced ? bytes : std::string("<old></old>"));
        std::string leftover;
        EXPECT_FALSE(scratch.readBack(u"SaveData.xml.new", leftover)) << "no temporary file stays behind";
    }
}

}  // namespace

// The Win32 shell under Wine: opening a folder returns, and whatever it
// started is ended again so that no file manager stays behind. (The registry
// editor is not started here: without a display it would only make the test
// wait for its window.)
#include "platform/Shell.h"

#include "tests/support/Sandbox.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace s::platform {
namespace {

using testing::Sandbox;

void endProcess(std::uint32_t id)
{
    if (id == 0)
        return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process)
        return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

TEST(ShellWin, OpeningAFolderReturnsAndWhatItStartedIsEnded)
{
    Sandbox box;
    ASSERT_TRUE(box.ok()) << box.failure();
    ASSERT_TRUE(box.makeFolder(u"shown"));

    std::uint32_t started = 0;
    EXPECT_TRUE(shell().openFolder(box.path(u"shown"), &started));
    endProcess(started);

    started = 0;
    const bool missing = shell().openFolder(box.path(u"missing"), &started);
    endProcess(started);
    EXPECT_FALSE(missing) << "a missing folder is refused, without a message box of the shell's own";
}

}  // namespace
}  // namespace s::platform

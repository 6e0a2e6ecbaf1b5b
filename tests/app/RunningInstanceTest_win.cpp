// Two processes from the same file under Wine: a stand-in copy
// (running_copy.exe, started from C:\purgo-test-instance\a\ by the CTest
// fixture's copy) is found by its path and told to show itself; asked for by
// another folder's path, nothing is found.
#include "app/start/RunningInstance.h"

#include "lang/Localizer.h"
#include "tests/support/LanguageTable.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace s::app::win {
namespace {

constexpr wchar_t kCopy[] = L"C:\\purgo-test-instance\\a\\running_copy.exe";
constexpr wchar_t kResult[] = L"C:\\purgo-test-instance\\a\\result.txt";

s::lang::Localizer& table()
{
    return testing_platform::shippedLanguageTable();
}

TEST(RunningInstanceWin, TheCopyFromTheSameFileIsFoundAndToldToShowItself)
{
    DeleteFileW(kResult);
    std::wstring command = std::wstring(L"\"") + kCopy + L"\" " + kResult + L" 6000";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(kCopy, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << "the CTest fixture copies running_copy.exe first (" << GetLastError() << ")";
    // Its window may take a moment: the first window on a new display starts
    // Wine's desktop process, and WaitForInputIdle can return before.
    WaitForInputIdle(process.hProcess, 5000);
    for (int waited = 0; !FindWindowW(L"OxlePurgoRunningCopy", nullptr) && waited < 10000; waited += 50)
        Sleep(50);
    ASSERT_NE(FindWindowW(L"OxlePurgoRunningCopy", nullptr), nullptr) << "the stand-in copy made no window";

    EXPECT_FALSE(findRunningInstance(u"C:\\purgo-test-instance\\b\\running_copy.exe", table(), true, false, true))
        << "another folder's file is another program";
    EXPECT_TRUE(findRunningInstance(u"c:\\PURGO-TEST-INSTANCE\\A\\RUNNING_COPY.EXE", table(), true, true, true));

    ASSERT_EQ(WaitForSingleObject(process.hProcess, 15000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_NE(exitCode, 3u) << "the copy could not make its window: Wine needs a display (scripts/test starts Xvfb)";
    std::ifstream result("C:\\purgo-test-instance\\a\\result.txt");
    ASSERT_TRUE(result.good());
    std::stringstream text;
    text << result.rdbuf();
    int activate = 0;
    int refresh = 0;
    ASSERT_EQ(std::sscanf(text.str().c_str(), "1027=%d 1031=%d", &activate, &refresh), 2) << text.str();
    EXPECT_GE(activate, 1) << "the copy was told to show itself";
    EXPECT_EQ(refresh, activate) << "each activation followed by its refresh";
}

}  // namespace
}  // namespace s::app::win

// Other processes and their windows, for finding a copy of the program that
// already runs and the programs whose files a clean must leave alone while
// they run: Toolhelp snapshots, the windows of a process, and messages sent
// with a time limit.
//
// Thin on purpose: one or two Win32 calls each; what a missing answer means
// is the caller's. Failures give empty answers.
//
// Reach the build's implementation through processes(): Win32 on Windows, a
// settable stand-in elsewhere (platform/fake/FakeProcesses.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace s::platform {

struct TopWindow {
    std::uintptr_t handle = 0;  // the HWND
    std::u16string caption;
};

class IProcesses {
public:
    virtual ~IProcesses() = default;

    // The ids of a process snapshot (CreateToolhelp32Snapshot,
    // Process32FirstW/NextW), in its order.
    virtual std::vector<std::uint32_t> processIds() = 0;
    virtual std::uint32_t currentProcessId() = 0;
    // The executable file names (PROCESSENTRY32W::szExeFile, "chrome.exe") of
    // the snapshot's processes that run in this process's session
    // (ProcessIdToSessionId): the user's own programs, not another logged-on
    // user's. A process whose session cannot be read counts as this one's.
    virtual std::vector<std::u16string> sessionProgramNames() = 0;
    // The executable's full path: the first module of the process's module
    // snapshot, or, when that fails (another bitness, no access),
    // QueryFullProcessImageNameW. "" when neither answers.
    virtual std::u16string executablePath(std::uint32_t process) = 0;
    // WaitForInputIdle on the process, for at most `milliseconds`.
    virtual void waitForInputIdle(std::uint32_t process, std::uint32_t milliseconds) = 0;
    // The top-level windows of the process, in EnumWindows order.
    virtual std::vector<TopWindow> topLevelWindows(std::uint32_t process) = 0;
    // SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
    // milliseconds): false when it failed or timed out.
    virtual bool sendMessage(std::uintptr_t window, std::uint32_t message, std::uint32_t milliseconds) = 0;
    // This process is ending (its window is gone, its work winding up): a
    // copy started now must not take it for the running one. A named event
    // ("Local\\OxlePurgo.Ending.<id>") that lives as long as the process.
    virtual void markEnding() = 0;
    // Another process marked itself so.
    virtual bool isEnding(std::uint32_t process) = 0;
};

IProcesses& processes();

}  // namespace s::platform

#include "platform/Processes.h"

#include "base/WideText.h"
#include "platform/win32/ProcAddress.h"

#include <windows.h>

#include <tlhelp32.h>

namespace s::platform {

namespace {

std::wstring endingName(std::uint32_t process)
{
    return L"Local\\OxlePurgo.Ending." + std::to_wstring(process);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

struct WindowSearch {
    DWORD process;
    std::vector<TopWindow>* out;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process)
        return TRUE;
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 512);
    search->out->push_back(TopWindow{reinterpret_cast<std::uintptr_t>(window), s::str::fromWide(caption)});
    return TRUE;
}

class ProcessesWin final : public IProcesses {
public:
    std::vector<std::uint32_t> processIds() override
    {
        std::vector<std::uint32_t> ids;
        Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot.valid())
            return ids;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
            ids.push_back(entry.th32ProcessID);
        return ids;
    }

    std::uint32_t currentProcessId() override { return GetCurrentProcessId(); }

    std::vector<std::u16string> sessionProgramNames() override
    {
        std::vector<std::u16string> names;
        DWORD own = 0;
        const bool knowOwn = ProcessIdToSessionId(GetCurrentProcessId(), &own) != 0;
        Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot.valid())
            return names;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
            // Another user's browser holds another profile: only this
            // session's processes keep this user's files busy. A process
            // whose session cannot be read (access denied to a protected
            // one) is taken as this session's, so that a doubt never leads
            // to a clean under a running program.
            DWORD session = 0;
            if (knowOwn && ProcessIdToSessionId(entry.th32ProcessID, &session) && session != own)
                continue;
            names.push_back(s::str::fromWide(entry.szExeFile));
        }
        return names;
    }

    std::u16string executablePath(std::uint32_t process) override
    {
        // The image name first (Vista on): one question to the system, where
        // a module snapshot reads the other process's loader lists page by
        // page (tens of milliseconds for a few processes under Wine, at every
        // start). It also answers across 32 and 64 bits.
        using QueryFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
        static const QueryFn query = [] {
            QueryFn bound = nullptr;
            bindProc(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW", bound);
            return bound;
        }();
        if (query) {
            Handle opened(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
            if (opened.valid()) {
                wchar_t path[MAX_PATH * 4] = {};
                DWORD length = MAX_PATH * 4;
                if (query(opened.get(), 0, path, &length))
                    return std::u16string(reinterpret_cast<const char16_t*>(path), length);
            }
        }
        // Older systems, and processes the image name is refused for.
        Handle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process));
        if (modules.valid()) {
            MODULEENTRY32W module{};
            module.dwSize = sizeof(module);
            if (Module32FirstW(modules.get(), &module))
                return s::str::fromWide(module.szExePath);
        }
        return {};
    }

    void markEnding() override
    {
        // Kept open until the process ends, when Windows closes it and the
        // name goes with it.
        static HANDLE marker = nullptr;
        if (!marker)
            marker = CreateEventW(nullptr, TRUE, TRUE, endingName(GetCurrentProcessId()).c_str());
    }

    bool isEnding(std::uint32_t process) override
    {
        Handle marker(OpenEventW(SYNCHRONIZE, FALSE, endingName(process).c_str()));
        return marker.valid();
    }

    void waitForInputIdle(std::uint32_t process, std::uint32_t milliseconds) override
    {
        Handle opened(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process));
        if (opened.valid())
            WaitForInputIdle(opened.get(), milliseconds);
    }

    std::vector<TopWindow> topLevelWindows(std::uint32_t process) override
    {
        std::vector<TopWindow> windows;
        WindowSearch search{process, &windows};
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
        return windows;
    }

    bool sendMessage(std::uintptr_t window, std::uint32_t message, std::uint32_t milliseconds) override
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(reinterpret_cast<HWND>(window), message, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                   milliseconds, &result) != 0;
    }
};

}  // namespace

IProcesses& processes()
{
    static ProcessesWin instance;
    return instance;
}

}  // namespace s::platform

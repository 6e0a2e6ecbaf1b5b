// How fast the program comes up, measured from outside as a user sees it:
// starts purgo.exe (the path given as the only argument) several times and
// reports, per start, the time until its window is visible, the time until
// the collect run is done ("Clean Now!" enabled), and the process's peak
// working set then. The window is closed after each start.
//   purgo_start_bench_win.exe C:\path\to\purgo.exe [rounds]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Round {
    double shown = -1;
    double collected = -1;
    double peakMegabytes = -1;
};

double millisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND cleanButton(HWND window)
{
    HWND button = nullptr;
    while ((button = FindWindowExW(window, button, L"BUTTON", nullptr)) != nullptr) {
        wchar_t text[64] = {};
        GetWindowTextW(button, text, 64);
        if (std::wstring(text).rfind(L"Clean Now!", 0) == 0)
            return button;
    }
    return nullptr;
}

Round measure(const std::wstring& program)
{
    Round round;
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return round;
    HWND window = nullptr;
    while (millisecondsSince(start) < 30000) {
        if (!window) {
            window = FindWindowW(nullptr, L"Oxle Purgo");
            if (window && IsWindowVisible(window))
                round.shown = millisecondsSince(start);
            else
                window = nullptr;
        }
        if (window) {
            HWND button = cleanButton(window);
            if (button && IsWindowEnabled(button)) {
                round.collected = millisecondsSince(start);
                break;
            }
        }
        Sleep(5);
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)))
        round.peakMegabytes = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return round;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const int rounds = argc > 2 ? std::max(1, std::atoi(std::string(argv[2], argv[2] + wcslen(argv[2])).c_str())) : 5;
    std::vector<Round> all;
    for (int i = 0; i < rounds; ++i) {
        const Round round = measure(argv[1]);
        std::printf("start %d: window shown %.0f ms, collect done %.0f ms, peak working set %.1f MB\n", i + 1,
                    round.shown, round.collected, round.peakMegabytes);
        all.push_back(round);
    }
    const auto median = [&](double Round::*field) {
        std::vector<double> values;
        for (const Round& round : all)
            values.push_back(round.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("median: window shown %.0f ms, collect done %.0f ms, peak working set %.1f MB\n", median(&Round::shown),
                median(&Round::collected), median(&Round::peakMegabytes));
    return 0;
}

// How fast the program comes up, measured from outside as a user sees it:
// starts purgo.exe (the path given as the only argument) several times and
// reports, per start, the time until its window is visible, the time until
// the collect run is done ("Clean Now!" enabled), and the process's peak
// working set then. The window is closed after each start.
//
// Each round also starts the baseline, a minimal window program with a
// ListView and a button (purgo_minimal_window.exe, bench/win), the same way
// and right before purgo.exe; its peak working set is Wine's share of any
// window process, and purgo.exe's peak minus it is what the program holds
// itself. Medians over the rounds, the difference taken per round.
//   purgo_start_bench_win.exe C:\path\to\purgo.exe [rounds] [C:\path\to\purgo_minimal_window.exe]
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

Round measure(const std::wstring& program, const wchar_t* title)
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
            window = FindWindowW(nullptr, title);
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
    std::wstring baseline;
    if (argc > 3) {
        baseline = argv[3];
    } else {
        // Beside this program.
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        baseline = self;
        baseline = baseline.substr(0, baseline.find_last_of(L"\\/") + 1) + L"purgo_minimal_window.exe";
    }
    std::vector<Round> all;
    std::vector<Round> bases;
    std::vector<double> own;
    for (int i = 0; i < rounds; ++i) {
        const Round base = measure(baseline, L"Purgo Minimal Window");
        const Round round = measure(argv[1], L"Oxle Purgo");
        std::printf("start %d: window shown %.0f ms, collect done %.0f ms, peak working set %.1f MB; "
                    "baseline shown %.0f ms, peak %.1f MB\n",
                    i + 1, round.shown, round.collected, round.peakMegabytes, base.shown, base.peakMegabytes);
        all.push_back(round);
        bases.push_back(base);
        if (round.peakMegabytes > 0 && base.peakMegabytes > 0)
            own.push_back(round.peakMegabytes - base.peakMegabytes);
    }
    const auto median = [](std::vector<double> values) {
        if (values.empty())
            return -1.0;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const auto field = [](const std::vector<Round>& measured, double Round::*member) {
        std::vector<double> values;
        for (const Round& round : measured)
            values.push_back(round.*member);
        return values;
    };
    std::printf("median: window shown %.0f ms, collect done %.0f ms, peak working set %.1f MB\n",
                median(field(all, &Round::shown)), median(field(all, &Round::collected)),
                median(field(all, &Round::peakMegabytes)));
    std::printf("baseline (minimal window): shown %.0f ms, peak working set %.1f MB\n",
                median(field(bases, &Round::shown)), median(field(bases, &Round::peakMegabytes)));
    std::printf("the program's own working set (peak minus the baseline's): %.1f MB\n", median(own));
    return 0;
}

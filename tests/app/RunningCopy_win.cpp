// A stand-in for a running copy of the program, for the running-instance
// test under Wine: a top-level window captioned "Oxle Purgo" that counts the
// messages 1027 and 1031 it gets, and after the given time writes the counts
// to the given file ("1027=<n> 1031=<m>") and ends.
//   running_copy.exe <result file> <milliseconds>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int g_activate = 0;
int g_refresh = 0;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_USER + 3:
        ++g_activate;
        return 0;
    case WM_USER + 7:
        ++g_refresh;
        return 0;
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OxlePurgoRunningCopy";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"OxlePurgoRunningCopy", L"Oxle Purgo", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 3;
    SetTimer(window, 1, static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    FILE* result = _wfopen(argv[1], L"w");
    if (!result)
        return 4;
    std::fprintf(result, "1027=%d 1031=%d", g_activate, g_refresh);
    std::fclose(result);
    return 0;
}

// The start benchmark's baseline: the least a Win32 window program with a
// list holds. A frame, a report-style ListView with one column and a few
// rows, a button, a message loop; the program's own resources (manifest,
// icons) linked in, so that the same common-controls version, fonts and
// theme parts load as in purgo.exe. purgo_start_bench_win starts it the
// same way as purgo.exe and subtracts its peak working set: what remains is
// what the program holds itself, apart from Wine's share of every process.
#include <windows.h>

#include <commctrl.h>

namespace {

LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof(frameClass);
    frameClass.lpfnWndProc = frameProcedure;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frameClass.lpszClassName = L"PurgoMinimalWindow";
    RegisterClassExW(&frameClass);
    HWND frame = CreateWindowExW(0, L"PurgoMinimalWindow", L"Purgo Minimal Window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 780, 500, frame,
                                nullptr, instance, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 300;
    column.pszText = const_cast<wchar_t*>(L"Name");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 20; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(L"A row of the list");
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    CreateWindowExW(0, L"BUTTON", L"Clean Now!", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 510, 120, 30, frame,
                    nullptr, instance, nullptr);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

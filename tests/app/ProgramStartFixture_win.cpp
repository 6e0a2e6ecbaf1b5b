// The program's start with a stand-in for the main window, for the start-up
// tests under Wine. When the main window's turn comes it writes
// "started.txt" beside itself, one line:
//   mode=<interactive|boot> language=<English name> skin=<name>
//   banner=<w>x<h> upright=<w>x<h> icon=<0|1> frame=<window name>\<view> 1027=<n>
//   os=<major>.<minor>
// An interactive start first shows a window captioned with the product name
// for the milliseconds in PURGO_TEST_HOLD (none when unset) and counts the
// messages 1027 it gets. A start that ends early writes nothing.
#include "app/start/ProgramStart_win.h"

#include "app/start/StartupRules.h"
#include "gui/Skinner.h"
#include "lang/LangPack.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

int g_activations = 0;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_USER + 3:
        ++g_activations;
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

void hold(const std::u16string& caption)
{
    wchar_t text[32] = {};
    if (GetEnvironmentVariableW(L"PURGO_TEST_HOLD", text, 32) == 0)
        return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OxlePurgoStartTest";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, reinterpret_cast<const wchar_t*>(caption.c_str()),
                        WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return;
    SetTimer(window, 1, static_cast<UINT>(std::wcstoul(text, nullptr, 10)), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
}

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string sizeOf(const s::image::Image& image)
{
    return std::to_string(image.width()) + "x" + std::to_string(image.height());
}

void report(s::app::win::StartedProgram& started)
{
    auto& app = started.app;
    if (!started.bootRun)
        hold(std::u16string(app.lang().text(500000).view()));
    s::lang::LangPack* language = app.lang().count() > 0 ? app.lang().current() : nullptr;
    const auto* skins = app.skins();
    std::string line = std::string("mode=") + (started.bootRun ? "boot" : "interactive");
    line += " language=" + (language ? narrow(language->engName().view()) : std::string());
    line += " skin=" + (skins && skins->current() ? narrow(skins->skinName(skins->currentIndex()).view()) : "");
    line += " banner=" + sizeOf(started.pictures.banner()) + " upright=" + sizeOf(started.pictures.upright());
    line += std::string(" icon=") + (started.pictures.icon.get() ? "1" : "0");
    line += " frame=" + narrow(started.frame.windowName()) + "\\" + narrow(started.frame.viewSection());
    line += " 1027=" + std::to_string(g_activations);
    const auto& os = s::app::win::osVersion();
    line += " os=" + std::to_string(os.major) + "." + std::to_string(os.minor);

    // The folder may be deeper than the old path limit.
    const std::u16string path = u"\\\\?\\" + app.moduleFolder() + u"started.txt";
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int wmain()
{
    return s::app::win::runProgram(report);
}

#include "platform/Screens.h"

#include "platform/win32/ProcAddress.h"

#include <windows.h>

namespace s::platform {

namespace {

class ScreensWin final : public IScreens {
public:
    ScreenRect primary() override { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    ScreenRect workArea() override
    {
        RECT area{};
        if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
            return primary();
        return {area.left, area.top, area.right - area.left, area.bottom - area.top};
    }

    int dpi() override
    {
        // shcore's GetDpiForMonitor (Windows 8.1 on) knows each monitor's
        // own setting; bound by name so that older systems still start.
        using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
        static const GetDpiForMonitorFn getDpiForMonitor = [] {
            GetDpiForMonitorFn fn = nullptr;
            bindProc(LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor", fn);
            return fn;
        }();
        if (getDpiForMonitor) {
            UINT x = 0;
            UINT y = 0;
            constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
            HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
            if (SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0)
                return static_cast<int>(x);
        }
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
        if (screen)
            ReleaseDC(nullptr, screen);
        return dpi > 0 ? dpi : 96;
    }

    ScreenRect virtualScreen() override
    {
        return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }
};

}  // namespace

IScreens& screens()
{
    static ScreensWin instance;
    return instance;
}

}  // namespace s::platform

#include "platform/Screens.h"

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

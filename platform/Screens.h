// The screens, for the scale factor and the frames' geometry: the primary
// screen's size in pixels, its work area (without the taskbar) and the
// virtual screen (every monitor; it may start at negative coordinates).
//
// Reach the build's implementation through screens(): GetSystemMetrics and
// SystemParametersInfoW on Windows (the program is per-monitor DPI aware, so
// these are physical pixels), settable values elsewhere
// (platform/fake/FakeScreens.h).
#pragma once

namespace s::platform {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class IScreens {
public:
    virtual ~IScreens() = default;

    virtual ScreenRect primary() = 0;
    virtual ScreenRect workArea() = 0;
    virtual ScreenRect virtualScreen() = 0;
    // The primary monitor's dots per inch as the user set them (96 at 100 %,
    // 192 at 200 %): GetDpiForMonitor where the system has it, else the
    // screen's LOGPIXELSX.
    virtual int dpi() = 0;
};

IScreens& screens();

}  // namespace s::platform

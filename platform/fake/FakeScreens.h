// The screens of native builds: one 1920 × 1080 monitor with a 40-pixel
// taskbar at the bottom until a test sets others.
#pragma once

#include "platform/Screens.h"

namespace s::platform {

class FakeScreens : public IScreens {
public:
    virtual void set(const ScreenRect& primary, const ScreenRect& workArea, const ScreenRect& virtualScreen) = 0;
    virtual void setDpi(int dpi) = 0;
    virtual void reset() = 0;
};

FakeScreens& fakeScreens();

}  // namespace s::platform

#include "platform/fake/FakeScreens.h"

#include <mutex>

namespace s::platform {

namespace {

class FakeScreensImpl final : public FakeScreens {
public:
    FakeScreensImpl() { reset(); }

    ScreenRect primary() override
    {
        std::lock_guard lock(m_mutex);
        return m_primary;
    }
    ScreenRect workArea() override
    {
        std::lock_guard lock(m_mutex);
        return m_workArea;
    }
    ScreenRect virtualScreen() override
    {
        std::lock_guard lock(m_mutex);
        return m_virtual;
    }

    void set(const ScreenRect& primary, const ScreenRect& workArea, const ScreenRect& virtualScreen) override
    {
        std::lock_guard lock(m_mutex);
        m_primary = primary;
        m_workArea = workArea;
        m_virtual = virtualScreen;
    }

    int dpi() override
    {
        std::lock_guard lock(m_mutex);
        return m_dpi;
    }
    void setDpi(int dpi) override
    {
        std::lock_guard lock(m_mutex);
        m_dpi = dpi;
    }

    void reset() override
    {
        set({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, {0, 0, 1920, 1080});
        setDpi(96);
    }

private:
    std::mutex m_mutex;
    ScreenRect m_primary;
    ScreenRect m_workArea;
    ScreenRect m_virtual;
    int m_dpi = 96;
};

}  // namespace

FakeScreens& fakeScreens()
{
    static FakeScreensImpl instance;
    return instance;
}

IScreens& screens()
{
    return fakeScreens();
}

}  // namespace s::platform

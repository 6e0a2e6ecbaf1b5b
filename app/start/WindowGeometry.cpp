#include "app/start/WindowGeometry.h"

#include "app/start/StartupRules.h"
#include "platform/Screens.h"

#include <algorithm>

namespace s::app::win {

namespace {

void writeIfChanged(s::map::IMappedData& store, std::u16string_view section, std::u16string_view name, int value)
{
    if (!store.exists(section, name) || store.getS32(section, name, 0) != value)
        store.setS32(section, name, value);
}

}  // namespace

bool isVisible(const Rect& rect, const Rect& virtualScreen)
{
    if (rect.width <= 10 || rect.height <= 10)
        return false;
    const bool acrossX =
        rect.left <= virtualScreen.left + virtualScreen.width - 10 && rect.left + rect.width - virtualScreen.left > 9;
    const bool acrossY =
        rect.top <= virtualScreen.top + virtualScreen.height - 10 && rect.top + rect.height - virtualScreen.top > 9;
    return acrossX && acrossY;
}

Rect centredIn(int width, int height, const Rect& workArea)
{
    Rect out;
    out.width = width;
    out.height = height;
    out.left = std::max(workArea.left, workArea.left + (workArea.width - width) / 2);
    out.top = std::max(workArea.top, workArea.top + (workArea.height - height) / 2);
    return out;
}

FrameGeometry::FrameGeometry(std::u16string_view windowName, int scale, int defaultWidth, int defaultHeight)
    : m_defaultWidth(defaultWidth), m_defaultHeight(defaultHeight)
{
    m_sizeSection.assign(windowName);
    m_sizeSection += u'\\';
    m_sizeSection += viewSectionFor(scale);
    m_viewSection.assign(windowName);
    m_viewSection += u"\\View";
}

FrameGeometry::Placement FrameGeometry::placement(s::map::IMappedData& store, const Rect& virtualScreen,
                                                  const Rect& workArea) const
{
    Placement out;
    const int width = store.getS32(m_sizeSection, u"Width", m_defaultWidth);
    const int height = store.getS32(m_sizeSection, u"Height", m_defaultHeight);
    const bool positioned = store.exists(m_sizeSection, u"X") && store.exists(m_sizeSection, u"Y");
    out.rect = Rect{store.getS32(m_sizeSection, u"X", 0), store.getS32(m_sizeSection, u"Y", 0), width, height};
    if (!positioned || !isVisible(out.rect, virtualScreen))
        out.rect = centredIn(width, height, workArea);
    out.maximize = store.getBool(m_viewSection, u"Maximized", false);
    return out;
}

FrameGeometry::Placement FrameGeometry::placement(s::map::IMappedData& store) const
{
    const auto toRect = [](const s::platform::ScreenRect& r) {
        return Rect{r.left, r.top, r.width, r.height};
    };
    return placement(store, toRect(s::platform::screens().virtualScreen()), toRect(s::platform::screens().workArea()));
}

void FrameGeometry::store(s::map::IMappedData& store, WindowState state, const Rect& rect) const
{
    const bool storedMaximized = store.getBool(m_viewSection, u"Maximized", false);
    switch (state) {
    case WindowState::Maximized:
        if (!storedMaximized)
            store.setBool(m_viewSection, u"Maximized", true);
        return;
    case WindowState::Minimized:
        return;
    case WindowState::Normal:
        break;
    }
    if (storedMaximized)
        store.setBool(m_viewSection, u"Maximized", false);
    writeIfChanged(store, m_sizeSection, u"X", rect.left);
    writeIfChanged(store, m_sizeSection, u"Y", rect.top);
    writeIfChanged(store, m_sizeSection, u"Width", rect.width);
    writeIfChanged(store, m_sizeSection, u"Height", rect.height);
}

void FrameGeometry::storeShownChange(s::map::IMappedData& store, WindowState now, WindowState before,
                                     const Rect& lastNormal) const
{
    if (now == before)
        return;
    if (now == WindowState::Normal) {
        if (before == WindowState::Maximized)
            this->store(store, WindowState::Normal, lastNormal);
        return;
    }
    const bool maximized = now == WindowState::Maximized;
    if (store.getBool(m_viewSection, u"Maximized", false) != maximized || !store.exists(m_viewSection, u"Maximized"))
        store.setBool(m_viewSection, u"Maximized", maximized);
    writeIfChanged(store, m_sizeSection, u"X", lastNormal.left);
    writeIfChanged(store, m_sizeSection, u"Y", lastNormal.top);
    writeIfChanged(store, m_sizeSection, u"Width", lastNormal.width);
    writeIfChanged(store, m_sizeSection, u"Height", lastNormal.height);
}

}  // namespace s::app::win

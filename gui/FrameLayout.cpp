#include "gui/FrameLayout.h"

#include <algorithm>

namespace s::gui {

FrameLayout::FrameLayout(Scale scale, int width, int height, const std::vector<int>& menuTextWidths, bool sizeButtons)
    : m_scale(scale), m_width(width), m_height(height)
{
    const s::gui::Scale s = scale;
    const int title = kTitleHeight * s;
    m_titleBar = {0, 0, width, title};
    m_content = {0, title, width, std::max(title, height)};

    const int buttonTop = (title - kButtonSize * s) / 2;
    const int step = (kButtonSize + kButtonGap) * s;
    m_close = {width - (kButtonMargin + kButtonSize) * s, buttonTop, width - kButtonMargin * s,
               buttonTop + kButtonSize * s};
    if (sizeButtons) {
        m_maximise = {m_close.left - step, buttonTop, m_close.right - step, m_close.bottom};
        m_minimise = {m_maximise.left - step, buttonTop, m_maximise.right - step, m_close.bottom};
    } else {
        m_maximise = m_minimise = {m_close.left, buttonTop, m_close.left, m_close.bottom};
    }

    int x = kMenuLeft * s;
    for (int textWidth : menuTextWidths) {
        const int itemWidth = textWidth + 2 * kMenuPadding * s;
        m_menus.push_back({x, 0, x + itemWidth, title});
        x += itemWidth;
    }
    const int iconTop = (title - kIconSize * s) / 2;
    x += kIconGap * s;
    m_icon = {x, iconTop, x + kIconSize * s, iconTop + kIconSize * s};
    const int captionLeft = m_icon.right + kIconGap * s;
    m_caption = {captionLeft, 0, std::max(captionLeft, m_minimise.left - kCaptionGap * s), title};
}

int FrameLayout::menuAt(int x, int y) const
{
    for (std::size_t i = 0; i < m_menus.size(); ++i) {
        if (m_menus[i].contains(x, y))
            return static_cast<int>(i);
    }
    return -1;
}

FramePart FrameLayout::hitTest(int x, int y, Dragging dragging, Placement placement) const
{
    if (m_minimise.contains(x, y))
        return FramePart::minimise;
    if (m_maximise.contains(x, y))
        return FramePart::maximise;
    if (m_close.contains(x, y))
        return FramePart::close;
    if (placement == Placement::normal) {
        const int edge = kEdge * m_scale;
        const int corner = kCorner * m_scale;
        const bool left = x < edge;
        const bool right = x >= m_width - edge;
        const bool top = y < edge;
        const bool bottom = y >= m_height - edge;
        const bool nearLeft = x < corner;
        const bool nearRight = x >= m_width - corner;
        const bool nearTop = y < corner;
        const bool nearBottom = y >= m_height - corner;
        if ((top && nearLeft) || (left && nearTop))
            return FramePart::topLeft;
        if ((top && nearRight) || (right && nearTop))
            return FramePart::topRight;
        if ((bottom && nearLeft) || (left && nearBottom))
            return FramePart::bottomLeft;
        if ((bottom && nearRight) || (right && nearBottom))
            return FramePart::bottomRight;
        if (left)
            return FramePart::left;
        if (right)
            return FramePart::right;
        if (top)
            return FramePart::top;
        if (bottom)
            return FramePart::bottom;
    }
    if (menuAt(x, y) >= 0)
        return FramePart::menu;
    if (m_titleBar.contains(x, y))
        return FramePart::caption;
    return dragging == Dragging::anywhere ? FramePart::caption : FramePart::client;
}

}  // namespace s::gui

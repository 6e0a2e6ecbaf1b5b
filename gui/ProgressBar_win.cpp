#include "gui/ProgressBar_win.h"

#include <algorithm>

namespace s::gui {

bool ProgressBar::create(const Args& args)
{
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.style = WS_CHILD | WS_VISIBLE;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    return Wnd::create(wnd);
}

void ProgressBar::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(maximum, minimum + 1);
    setPosition(m_position);
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, FALSE);
}

void ProgressBar::setPosition(int position)
{
    position = std::clamp(position, m_minimum, m_maximum);
    if (position == m_position)
        return;
    m_position = position;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, FALSE);
}

int ProgressBar::percent() const
{
    const long long done = static_cast<long long>(m_position) - m_minimum;
    const long long whole = static_cast<long long>(m_maximum) - m_minimum;
    return static_cast<int>(done * 100 / whole);
}

LRESULT ProgressBar::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc dc(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        m_painter.drawProgress(dc.get(), client, percent());
        return 0;
    }
    default:
        break;
    }
    return Wnd::onMessage(msg, wp, lp);
}

}  // namespace s::gui

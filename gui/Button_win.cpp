#include "gui/Button_win.h"

#include "gui/GdiHandles_win.h"

#include <algorithm>

namespace s::gui {

using s::gui::drawer::ButtonState;

bool OwnerDrawnButton::createButton(HWND parent, const std::wstring& text, int x, int y, int width, int height, int id)
{
    WndArgs wnd;
    wnd.parent = parent;
    wnd.className = L"BUTTON";
    wnd.text = text;
    wnd.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    wnd.x = x;
    wnd.y = y;
    wnd.width = width;
    wnd.height = height;
    wnd.id = id;
    return Wnd::create(wnd);
}

void OwnerDrawnButton::trackHot(UINT msg)
{
    if (msg == WM_MOUSEMOVE && !m_hot) {
        m_hot = true;
        // Ask for WM_MOUSELEAVE; owner-drawn buttons get no hot state from
        // Windows.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd(), nullptr, FALSE);
    } else if (msg == WM_MOUSELEAVE) {
        m_hot = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

ButtonState OwnerDrawnButton::stateOf(const DRAWITEMSTRUCT& item, FocusLooks focus) const
{
    if (item.itemState & ODS_DISABLED)
        return ButtonState::disabled;
    if (item.itemState & ODS_SELECTED)
        return ButtonState::pressed;
    if (m_hot)
        return ButtonState::hot;
    if (item.itemState & ODS_FOCUS)
        return focus == FocusLooks::Hot ? ButtonState::hot : ButtonState::focused;
    return ButtonState::normal;
}

bool Button::create(const Args& args)
{
    m_text = args.text;
    return createButton(args.parent, args.text, args.x, args.y, args.width, args.height, args.id);
}

SIZE Button::preferredSize() const
{
    WindowDc dc(hwnd());
    const SIZE text = m_painter.measureText(dc.get(), m_text);
    const s::gui::Scale s = m_painter.scale();
    return SIZE{text.cx + 2 * kPadding * s, std::max<LONG>(kHeight * s, text.cy + 4 * s)};
}

LRESULT Button::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    trackHot(msg);
    switch (msg) {
    case WM_SETTEXT:
        m_text = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
        break;
    default:
        break;
    }
    return Wnd::onMessage(msg, wp, lp);
}

bool Button::onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        if (onClick)
            onClick();
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        m_painter.drawButton(item->hDC, item->rcItem, m_text, stateOf(*item, FocusLooks::Focused));
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace s::gui

#include "gui/Button_win.h"

namespace s::gui {

using s::gui::drawer::ButtonState;

bool Button::create(const Args& args)
{
    m_text = args.text;
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.className = L"BUTTON";
    wnd.text = args.text;
    wnd.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    return Wnd::create(wnd);
}

LRESULT Button::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!m_hot) {
            m_hot = true;
            // Ask for WM_MOUSELEAVE; owner-drawn buttons get no hot state
            // from Windows.
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        m_hot = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
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
        ButtonState state = ButtonState::normal;
        if (item->itemState & ODS_DISABLED)
            state = ButtonState::disabled;
        else if (item->itemState & ODS_SELECTED)
            state = ButtonState::pressed;
        else if (m_hot)
            state = ButtonState::hot;
        else if (item->itemState & ODS_FOCUS)
            state = ButtonState::focused;
        m_painter.drawButton(item->hDC, item->rcItem, m_text, state);
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace s::gui

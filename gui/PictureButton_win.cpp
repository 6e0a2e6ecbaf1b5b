#include "gui/PictureButton_win.h"

namespace s::gui {

using s::gui::drawer::ButtonState;

std::optional<Picture> pictureByName(std::u16string_view name)
{
    if (name == u"#Plus")
        return Picture::plus;
    if (name == u"#X")
        return Picture::cross;
    return std::nullopt;
}

bool PictureButton::create(const Args& args)
{
    m_picture = args.picture;
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.className = L"BUTTON";
    wnd.text = args.accessibleName;
    wnd.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    return Wnd::create(wnd);
}

LRESULT PictureButton::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!m_hot) {
            m_hot = true;
            // Owner-drawn buttons get no hot state from Windows.
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        m_hot = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return Wnd::onMessage(msg, wp, lp);
}

bool PictureButton::onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_COMMAND && (HIWORD(wp) == BN_CLICKED || HIWORD(wp) == BN_DOUBLECLICKED)) {
        if (onClick) {
            const auto callback = onClick;
            callback();
        }
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
        else if (m_hot || (item->itemState & ODS_FOCUS))
            state = ButtonState::hot;
        m_painter.drawPicture(item->hDC, item->rcItem, m_picture, state);
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace s::gui

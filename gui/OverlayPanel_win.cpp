#include "gui/OverlayPanel_win.h"

namespace s::gui {

using s::gui::drawer::SkinColour;

bool OverlayPanel::create(const Args& args)
{
    WndArgs wnd;
    wnd.parent = args.parent;
    // Not visible until show(); WS_CLIPSIBLINGS keeps windows below it out of
    // its face.
    wnd.style = WS_CHILD | WS_CLIPSIBLINGS;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    m_scale = painter().scale();
    return createWithCaption(wnd, args.caption);
}

void OverlayPanel::show()
{
    // A sibling without WS_CLIPSIBLINGS paints over every sibling it
    // overlaps, whatever their z-order: the windows the panel covers get the
    // style, so their next paint leaves the panel alone.
    RECT own{};
    GetWindowRect(hwnd(), &own);
    for (HWND sibling = GetWindow(GetParent(hwnd()), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        RECT other{};
        RECT overlap{};
        GetWindowRect(sibling, &other);
        if (sibling != hwnd() && IntersectRect(&overlap, &own, &other))
            SetWindowLongPtrW(sibling, GWL_STYLE, GetWindowLongPtrW(sibling, GWL_STYLE) | WS_CLIPSIBLINGS);
    }
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void OverlayPanel::hide()
{
    ShowWindow(hwnd(), SW_HIDE);
}

bool OverlayPanel::isShown() const
{
    return hwnd() && IsWindowVisible(hwnd());
}

void OverlayPanel::centreOn(const RECT& area)
{
    RECT own{};
    GetWindowRect(hwnd(), &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    SetWindowPos(hwnd(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OverlayPanel::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case kScaleChangedMessage: {
        // The same size at the new scale; the owner centres it again.
        const Scale now = painter().scale();
        RECT own{};
        GetWindowRect(hwnd(), &own);
        SetWindowPos(hwnd(), nullptr, 0, 0, now(m_scale.unscale(own.right - own.left)),
                     now(m_scale.unscale(own.bottom - own.top)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_scale = now;
        return 0;
    }
    case WM_PAINT: {
        PaintDc dc(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        SkinPainter& p = painter();
        p.drawBackground(dc.get(), client);
        p.drawGroupBorder(dc.get(), client);
        p.drawText(dc.get(), client, text(), p.colour(SkinColour::text),
                   DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS, Outline::skinOutline);
        return 0;
    }
    default:
        break;
    }
    return TextControl::onMessage(msg, wp, lp);
}

}  // namespace s::gui

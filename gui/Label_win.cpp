#include "gui/Label_win.h"

namespace s::gui {

using s::gui::drawer::SkinColour;

namespace {

WndArgs childArgs(const LabelArgs& args, DWORD style)
{
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.style = WS_CHILD | WS_VISIBLE | style;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    return wnd;
}

}  // namespace

bool Label::create(const LabelArgs& args)
{
    m_align = args.align;
    m_outline = args.outline;
    m_weight = args.weight;
    // A STATIC, painted here: screen readers name an edit box or a list by
    // the STATIC before it, and read a STATIC's text as a label.
    WndArgs wnd = childArgs(args, SS_LEFT | SS_NOPREFIX);
    wnd.className = L"STATIC";
    return createWithCaption(wnd, args.caption);
}

UINT Label::format() const
{
    UINT format = DT_NOPREFIX;
    if (text().find(L'\n') == std::wstring::npos)
        format |= DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    switch (m_align) {
    case TextAlign::left:
        return format | DT_LEFT;
    case TextAlign::centre:
        return format | DT_CENTER;
    case TextAlign::right:
        return format | DT_RIGHT;
    }
    return format;
}

void Label::paint(HDC dc, const RECT& client)
{
    painter().drawBackground(dc, client);
    painter().drawText(dc, client, text(), painter().colour(SkinColour::text), format(), m_outline, m_weight);
}

LRESULT Label::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // paint() covers every pixel
    case WM_PAINT: {
        PaintDc dc(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        paint(dc.get(), client);
        return 0;
    }
    case WM_NCHITTEST:
        // A plain label lets the mouse through to the window below it (the
        // frame moves by any point with EasyDrag).
        return HTTRANSPARENT;
    default:
        break;
    }
    return TextControl::onMessage(msg, wp, lp);
}

bool LinkLabel::create(LabelArgs args)
{
    args.weight = FontWeight::underlined;
    return Label::create(args);
}

void LinkLabel::paint(HDC dc, const RECT& client)
{
    painter().drawBackground(dc, client);
    // The hot link takes the skin's counter colour, which every skin makes
    // stand out from its window background.
    const COLORREF colour = painter().colour(m_hot ? SkinColour::counter01 : SkinColour::text);
    painter().drawText(dc, client, text(), colour, format(), m_outline, FontWeight::underlined);
}

LRESULT LinkLabel::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
    case WM_MOUSEMOVE:
        if (!m_hot) {
            m_hot = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        return 0;
    case WM_MOUSELEAVE:
        m_hot = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        m_pressed = true;
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        if (GetCapture() == hwnd())
            ReleaseCapture();
        RECT client{};
        GetClientRect(hwnd(), &client);
        const POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        // Released elsewhere: the user changed their mind.
        if (wasPressed && PtInRect(&client, point) && onClick) {
            const auto callback = onClick;
            callback();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        m_pressed = false;
        break;
    default:
        break;
    }
    return Label::onMessage(msg, wp, lp);
}

bool GroupBox::create(const LabelArgs& args)
{
    // WS_EX_CONTROLPARENT: Tab moves into the grouped controls.
    // WS_CLIPCHILDREN: the box's paint never covers them.
    WndArgs wnd = childArgs(args, WS_CLIPCHILDREN);
    wnd.exStyle = WS_EX_CONTROLPARENT;
    return createWithCaption(wnd, args.caption);
}

namespace {

// The box's edges: the caption's line and a gap above the grouped controls,
// eight pixels at the other sides, at scale 1.
RECT groupEdges(Scale scale)
{
    const int captionHeight = SkinPainter::kFontHeight * scale + 4 * scale;
    return RECT{8 * scale, captionHeight + 4 * scale, 8 * scale, 8 * scale};
}

}  // namespace

RECT GroupBox::inner() const
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    const RECT edges = groupEdges(painter().scale());
    return RECT{client.left + edges.left, client.top + edges.top, client.right - edges.right,
                client.bottom - edges.bottom};
}

SIZE GroupBox::sizeAround(SIZE inner) const
{
    const RECT edges = groupEdges(painter().scale());
    return SIZE{inner.cx + edges.left + edges.right, inner.cy + edges.top + edges.bottom};
}

void GroupBox::paint(HDC dc, const RECT& client)
{
    SkinPainter& p = painter();
    const s::gui::Scale s = p.scale();
    p.drawBackground(dc, client);
    const int captionHeight = SkinPainter::kFontHeight * s + 4 * s;
    // The border runs through the middle of the caption's line.
    RECT border = client;
    border.top += captionHeight / 2;
    p.drawGroupBorder(dc, border);
    if (text().empty())
        return;
    const int pad = 4 * s;
    const SIZE size = p.measureText(dc, text());
    RECT caption{client.left + 8 * s, client.top, client.left + 8 * s + size.cx + 2 * pad, client.top + captionHeight};
    if (caption.right > client.right - 8 * s)
        caption.right = client.right - 8 * s;
    p.drawBackground(dc, caption);
    InflateRect(&caption, -pad, 0);
    p.drawText(dc, caption, text(), p.colour(SkinColour::text),
               DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT GroupBox::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc dc(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        paint(dc.get(), client);
        return 0;
    }
    default:
        break;
    }
    return TextControl::onMessage(msg, wp, lp);
}

}  // namespace s::gui

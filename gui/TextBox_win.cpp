#include "gui/TextBox_win.h"

namespace s::gui {

using s::gui::drawer::SkinColour;

bool TextBox::create(const Args& args)
{
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.className = L"EDIT";
    wnd.text = args.text;
    // WS_BORDER (not WS_EX_CLIENTEDGE): a one-pixel non-client border that
    // WM_NCPAINT below recolours; the 3D edge would stay in system colours.
    wnd.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_LEFT;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height > 0 ? args.height : preferredHeight();
    wnd.id = args.id;
    if (!Wnd::create(wnd))
        return false;
    applyFont();
    return true;
}

void TextBox::applyFont()
{
    // The painter keeps this font until its scale changes; the EDIT does not
    // own it.
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_painter.font()), FALSE);
    // WM_SETFONT resets the margins; give the text room from the border.
    const int margin = 3 * m_painter.scale();
    SendMessageW(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int TextBox::preferredHeight() const
{
    const s::gui::Scale s = m_painter.scale();
    return SkinPainter::kFontHeight * s + 8 * s;
}

std::wstring TextBox::text() const
{
    if (!hwnd())
        return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void TextBox::setText(const std::wstring& text)
{
    // The EDIT sends EN_CHANGE for WM_SETTEXT too: onChanged fires from there.
    SetWindowTextW(hwnd(), text.c_str());
}

LRESULT TextBox::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kScaleChangedMessage) {
        applyFont();
        return 0;
    }
    if (msg == WM_NCPAINT) {
        const LRESULT result = Wnd::onMessage(msg, wp, lp);
        // Over the system's border, in the skin's colour.
        HDC dc = GetWindowDC(hwnd());
        RECT window{};
        GetWindowRect(hwnd(), &window);
        const RECT border{0, 0, window.right - window.left, window.bottom - window.top};
        FrameRect(dc, &border, m_painter.brush(m_painter.colour(SkinColour::compFg)));
        ReleaseDC(hwnd(), dc);
        return result;
    }
    return Wnd::onMessage(msg, wp, lp);
}

bool TextBox::onReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE) {
            if (onChanged) {
                const auto callback = onChanged;
                callback();
            }
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // A read-only or disabled EDIT asks with WM_CTLCOLORSTATIC.
        HDC dc = reinterpret_cast<HDC>(wp);
        const bool enabled = IsWindowEnabled(hwnd());
        SetTextColor(dc, m_painter.colour(enabled ? SkinColour::listFont : SkinColour::compDisabled));
        SetBkColor(dc, m_painter.colour(SkinColour::listBg));
        // The brush also erases the parts without text.
        result = reinterpret_cast<LRESULT>(m_painter.brush(m_painter.colour(SkinColour::listBg)));
        return true;
    }
    default:
        return false;
    }
}

}  // namespace s::gui

#include "gui/DropDownList_win.h"

namespace s::gui {

using s::gui::drawer::SkinColour;

bool DropDownList::create(const Args& args)
{
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.className = L"COMBOBOX";
    // CBS_HASSTRINGS: the owner-drawn combo still keeps the texts (CB_GETLBTEXT
    // and type-ahead need them).
    wnd.style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    // A combo box's window height is its field plus the dropped list.
    wnd.height = itemHeight() * (args.visibleItems + 1) + 4 * m_painter.scale();
    wnd.id = args.id;
    if (!Wnd::create(wnd))
        return false;
    // The WM_MEASUREITEM of an owner-drawn combo arrives at the parent during
    // CreateWindow, before the control is subclassed and could be reflected:
    // the heights are set here instead (-1 the field, 0 the items).
    SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight());
    SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, itemHeight());
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_painter.font()), FALSE);
    setItems(args.items);
    select(args.selected);
    return true;
}

int DropDownList::itemHeight() const
{
    const s::gui::Scale s = m_painter.scale();
    return SkinPainter::kFontHeight * s + 6 * s;
}

void DropDownList::setItems(const std::vector<std::wstring>& items)
{
    SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::wstring& text : items)
        SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int DropDownList::count() const
{
    return static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
}

std::wstring DropDownList::item(int index) const
{
    const LRESULT length = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int DropDownList::selected() const
{
    const LRESULT index = SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void DropDownList::select(int index)
{
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DropDownList::drawItem(const DRAWITEMSTRUCT& item)
{
    const bool chosen = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    // The chosen row inverts the list's colours as the header does.
    const COLORREF face = m_painter.colour(chosen ? SkinColour::listHeaderBg : SkinColour::listBg);
    const COLORREF ink = m_painter.colour(!enabled ? SkinColour::compDisabled
                                          : chosen ? SkinColour::listHeaderFont
                                                   : SkinColour::listFont);
    m_painter.fillColour(item.hDC, item.rcItem, face);
    // itemID is -1 for the field of a list with nothing chosen.
    if (item.itemID != static_cast<UINT>(-1)) {
        RECT label = item.rcItem;
        label.left += SkinPainter::kTextPadding * m_painter.scale();
        m_painter.drawText(item.hDC, label, this->item(static_cast<int>(item.itemID)), ink,
                           DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && (item.itemState & ODS_COMBOBOXEDIT)) {
        SetTextColor(item.hDC, ink);
        SetBkColor(item.hDC, face);
        DrawFocusRect(item.hDC, &item.rcItem);
    }
}

LRESULT DropDownList::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kScaleChangedMessage) {
        SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight());
        SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, itemHeight());
        SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_painter.font()), TRUE);
        return 0;
    }
    if (msg == WM_CTLCOLORLISTBOX) {
        // The dropped list asks the combo box for the colour of its empty
        // part below the last item.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, m_painter.colour(SkinColour::listBg));
        SetTextColor(dc, m_painter.colour(SkinColour::listFont));
        return reinterpret_cast<LRESULT>(m_painter.brush(m_painter.colour(SkinColour::listBg)));
    }
    return Wnd::onMessage(msg, wp, lp);
}

bool DropDownList::onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == CBN_SELCHANGE) {
            if (onSelected) {
                const auto callback = onSelected;
                callback(selected());
            }
            result = 0;
            return true;
        }
        return false;
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, m_painter.colour(SkinColour::listBg));
        SetTextColor(dc, m_painter.colour(SkinColour::listFont));
        result = reinterpret_cast<LRESULT>(m_painter.brush(m_painter.colour(SkinColour::listBg)));
        return true;
    }
    default:
        return false;
    }
}

}  // namespace s::gui

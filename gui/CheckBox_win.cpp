#include "gui/CheckBox_win.h"

#include <algorithm>

namespace s::gui {

bool CheckBox::create(const Args& args)
{
    m_states = args.states;
    m_state = args.state;
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.className = L"BUTTON";
    wnd.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    return createWithCaption(wnd, args.caption);
}

void CheckBox::setState(CheckState state)
{
    if (m_states == CheckStates::two && state == CheckState::Partial)
        state = CheckState::Checked;
    if (state == m_state)
        return;
    m_state = state;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, FALSE);
}

SIZE CheckBox::preferredSize() const
{
    const s::gui::Scale s = painter().scale();
    const SIZE label = textSize();
    const int box = SkinPainter::kCheckBoxSize * s;
    return SIZE{box + SkinPainter::kTextPadding * s + label.cx + 2 * s, std::max<LONG>(box, label.cy) + 4 * s};
}

LRESULT CheckBox::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case BM_GETCHECK:
        switch (m_state) {
        case CheckState::Checked:
            return BST_CHECKED;
        case CheckState::Partial:
            return BST_INDETERMINATE;
        case CheckState::Unchecked:
            break;
        }
        return BST_UNCHECKED;
    case BM_SETCHECK:
        setState(wp == BST_CHECKED         ? CheckState::Checked
                 : wp == BST_INDETERMINATE ? CheckState::Partial
                                           : CheckState::Unchecked);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_DRAWITEM paints every pixel
    default:
        break;
    }
    return TextControl::onMessage(msg, wp, lp);
}

bool CheckBox::onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    // An owner-drawn button reports a quick second click as BN_DOUBLECLICKED
    // instead of BN_CLICKED; for a check box it is one more click.
    if (msg == WM_COMMAND && (HIWORD(wp) == BN_CLICKED || HIWORD(wp) == BN_DOUBLECLICKED)) {
        switch (m_state) {
        case CheckState::Unchecked:
            m_state = CheckState::Checked;
            break;
        case CheckState::Checked:
            m_state = m_states == CheckStates::three ? CheckState::Partial : CheckState::Unchecked;
            break;
        case CheckState::Partial:
            m_state = CheckState::Unchecked;
            break;
        }
        InvalidateRect(hwnd(), nullptr, FALSE);
        if (onStateChanged) {
            const auto callback = onStateChanged;
            callback(m_state);
        }
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        painter().drawBackground(item->hDC, item->rcItem);
        painter().drawCheckBox(item->hDC, item->rcItem, text(), m_state, !(item->itemState & ODS_DISABLED));
        if (item->itemState & ODS_FOCUS) {
            // The focus frame around the label only, as Windows draws it.
            const s::gui::Scale s = painter().scale();
            RECT focus = item->rcItem;
            focus.left += (SkinPainter::kCheckBoxSize + SkinPainter::kTextPadding) * s - 2 * s;
            SetTextColor(item->hDC, painter().colour(s::gui::drawer::SkinColour::text));
            SetBkColor(item->hDC, painter().colour(s::gui::drawer::SkinColour::windowBg));
            DrawFocusRect(item->hDC, &focus);
        }
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace s::gui

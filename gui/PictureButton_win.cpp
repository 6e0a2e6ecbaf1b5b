#include "gui/PictureButton_win.h"

namespace s::gui {

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
    m_size = SIZE{args.width, args.height};
    m_scale = m_painter.scale();
    return createButton(args.parent, args.accessibleName, args.x, args.y, args.width, args.height, args.id);
}

LRESULT PictureButton::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    trackHot(msg);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case kScaleChangedMessage: {
        // The parent's layout places the button at its new size.
        const Scale now = m_painter.scale();
        m_size = SIZE{now(m_scale.unscale(m_size.cx)), now(m_scale.unscale(m_size.cy))};
        m_scale = now;
        return 0;
    }
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
        m_painter.drawPicture(item->hDC, item->rcItem, m_picture, stateOf(*item, FocusLooks::Hot));
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace s::gui

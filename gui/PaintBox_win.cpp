#include "gui/PaintBox_win.h"

namespace s::gui {

bool PaintBox::create(const Args& args)
{
    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    return Wnd::create(wnd);
}

LRESULT PaintBox::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
        PaintDc paint(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        MemoryDc buffer(paint.get(), client.right, client.bottom);
        HDC target = buffer.isValid() ? buffer.get() : paint.get();
        m_painter.drawBackground(target, client);
        if (onPaint)
            onPaint(m_painter, target, client);
        if (buffer.isValid())
            BitBlt(paint.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
        return 0;
    }
    default:
        return Wnd::onMessage(msg, wp, lp);
    }
}

}  // namespace s::gui

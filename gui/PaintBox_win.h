// A child window whose whole face is drawn by a callback through the skin
// painter: the toolkit's canvas for elements that are not system controls.
// Painting goes through a memory bitmap, so a repaint never flickers.
#pragma once

#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <functional>

namespace s::gui {

class PaintBox : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        int id = 0;
    };

    // The painter is not owned; it outlives the box (the frame's painter).
    explicit PaintBox(SkinPainter& painter) : m_painter(painter) {}
    ~PaintBox() override { destroy(); }

    bool create(const Args& args);

    // dc, the box's client rectangle.
    std::function<void(SkinPainter&, HDC, const RECT&)> onPaint;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    SkinPainter& m_painter;
};

}  // namespace s::gui

// A push button: a real BUTTON (keyboard, focus and accessibility come from
// Windows) drawn by the skin painter. Its parent's WM_DRAWITEM and
// WM_COMMAND about it are reflected here.
#pragma once

#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <functional>
#include <string>

namespace s::gui {

class Button : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        std::wstring text;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        int id = 0;
    };

    explicit Button(SkinPainter& painter) : m_painter(painter) {}
    ~Button() override { destroy(); }

    bool create(const Args& args);

    std::function<void()> onClick;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    SkinPainter& m_painter;
    std::wstring m_text;
    bool m_hot = false;
};

}  // namespace s::gui

// A push button: a real BUTTON (keyboard, focus and accessibility come from
// Windows) drawn by the skin painter. Its parent's WM_DRAWITEM and
// WM_COMMAND about it are reflected here.
#pragma once

#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <functional>
#include <string>

namespace s::gui {

// What every owner-drawn push button shares: the BUTTON window, the hot
// state (Windows gives an owner-drawn button none) and the drawing state of
// a WM_DRAWITEM.
class OwnerDrawnButton : public Wnd {
protected:
    bool createButton(HWND parent, const std::wstring& text, int x, int y, int width, int height, int id);
    // Hot tracking; the caller goes on to Wnd::onMessage.
    void trackHot(UINT msg);
    bool hot() const { return m_hot; }
    // The state to draw: disabled, pressed, hot, focused (or, with
    // FocusLooks::Hot, focus drawn as hot), normal.
    enum class FocusLooks : std::uint8_t { Focused, Hot };
    s::gui::drawer::ButtonState stateOf(const DRAWITEMSTRUCT& item, FocusLooks focus) const;

private:
    bool m_hot = false;
};

class Button : public OwnerDrawnButton {
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
    // The caption as it is now in the painter's font, with the padding the
    // painter leaves each side, at least one text row high.
    SIZE preferredSize() const;

    std::function<void()> onClick;

    static constexpr int kPadding = 8;  // each side of the caption, at scale 1
    static constexpr int kHeight = 18;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    SkinPainter& m_painter;
    std::wstring m_text;
};

}  // namespace s::gui

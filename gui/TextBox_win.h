// A single-line text box: a real EDIT (caret, selection, clipboard, undo and
// accessibility come from Windows) in the skin's list colours, given through
// WM_CTLCOLOREDIT, with a border in the skin's component colour.
#pragma once

#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <functional>
#include <string>

namespace s::gui {

class TextBox : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        std::wstring text;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;  // 0: one line of the painter's font
        int id = 0;
    };

    explicit TextBox(SkinPainter& painter) : m_painter(painter) {}
    ~TextBox() override { destroy(); }

    bool create(const Args& args);
    std::wstring text() const;
    // Fires onChanged, as typing does.
    void setText(const std::wstring& text);
    // The height of one line of text with the border.
    int preferredHeight() const;

    // After the text changed (typing, pasting, setText).
    std::function<void()> onChanged;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void applyFont();

    SkinPainter& m_painter;
};

}  // namespace s::gui

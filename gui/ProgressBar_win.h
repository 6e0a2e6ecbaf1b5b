// A progress bar drawn by the skin painter: a range (minimum … maximum) and
// a position in it, clamped. Painting only; it takes no input.
#pragma once

#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

namespace s::gui {

class ProgressBar : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 16;  // pixels, already scaled
        int id = 0;
    };

    explicit ProgressBar(SkinPainter& painter) : m_painter(painter) {}
    ~ProgressBar() override { destroy(); }

    bool create(const Args& args);
    // A maximum not above the minimum makes the range one step wide.
    void setRange(int minimum, int maximum);
    void setPosition(int position);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    // 0 … 100.
    int percent() const;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    SkinPainter& m_painter;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

}  // namespace s::gui

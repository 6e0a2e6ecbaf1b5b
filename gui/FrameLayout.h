// Where the parts of a skinned frame lie, in client pixels of a window whose
// client area is the whole window (the frame draws its own title bar and
// edges). From left to right the title bar holds the menu bar's flat items,
// the program icon, the caption, a gap and the minimise, maximise and close
// buttons. Every constant is in pixels at scale 1 and is multiplied by the
// scale.
#pragma once

#include "gui/Scale.h"

#include <vector>

namespace s::gui {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
    friend bool operator==(const Box&, const Box&) = default;
};

enum class FramePart {
    client,
    caption,
    menu,
    minimise,
    maximise,
    close,
    left,
    right,
    top,
    bottom,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight,
};

enum class Dragging { titleBarOnly, anywhere };
enum class Placement { normal, maximised };

class FrameLayout {
public:
    static constexpr int kTitleHeight = 26;
    static constexpr int kIconSize = 16;
    static constexpr int kButtonSize = 18;
    static constexpr int kButtonGap = 2;
    static constexpr int kButtonMargin = 4;  // right of the close button
    static constexpr int kMenuLeft = 2;
    static constexpr int kMenuPadding = 7;  // each side of a menu item's text
    static constexpr int kIconGap = 6;      // around the icon
    static constexpr int kCaptionGap = 10;  // between the caption and the buttons
    static constexpr int kEdge = 4;         // the resizing band along the edges
    static constexpr int kCorner = 12;      // how far a corner reaches along its edges

    // menuTextWidths: the measured width of each menu item's text, in pixels
    // at this scale (the font is already scaled). Without sizeButtons (a
    // dialog) the title bar has the close button only: minimise() and
    // maximise() are empty and the caption reaches the close button.
    FrameLayout(Scale scale, int width, int height, const std::vector<int>& menuTextWidths, bool sizeButtons = true);

    Scale scale() const { return m_scale; }
    const Box& titleBar() const { return m_titleBar; }
    const Box& icon() const { return m_icon; }
    const Box& caption() const { return m_caption; }
    const Box& minimise() const { return m_minimise; }
    const Box& maximise() const { return m_maximise; }
    const Box& close() const { return m_close; }
    const std::vector<Box>& menus() const { return m_menus; }
    // Below the title bar: where the window's content goes.
    const Box& content() const { return m_content; }

    // The part under a point. Edges resize only a window that is not
    // maximised; the buttons and menu items win over the edges they touch.
    FramePart hitTest(int x, int y, Dragging dragging, Placement placement) const;
    // The menu item under a point, or -1.
    int menuAt(int x, int y) const;

private:
    Scale m_scale;
    int m_width;
    int m_height;
    Box m_titleBar;
    Box m_icon;
    Box m_caption;
    Box m_minimise;
    Box m_maximise;
    Box m_close;
    std::vector<Box> m_menus;
    Box m_content;
};

}  // namespace s::gui

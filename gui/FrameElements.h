// The parts of a skinned frame's title bar that the frame paints itself
// (there is no window behind them) and that a screen reader must still find:
// each title-bar menu and each caption button, in reading order, left to
// right. The frame's accessible object lists them after its child windows.
#pragma once

#include "gui/FrameLayout.h"

#include <vector>

namespace s::gui {

enum class FrameElementKind { menu, minimise, maximise, restore, close };

struct FrameElement {
    FrameElementKind kind = FrameElementKind::close;
    int menuIndex = -1;  // the title-bar menu it opens; -1 for a button
    Box box;             // client pixels

    bool isButton() const { return kind != FrameElementKind::menu; }
    friend bool operator==(const FrameElement&, const FrameElement&) = default;
};

// A maximised frame shows the restore button where the maximise button was.
// Buttons the layout leaves out (a dialog's minimise and maximise) are not
// listed.
std::vector<FrameElement> frameElements(const FrameLayout& layout, Placement placement);

// The element under a client point, or -1.
int frameElementAt(const std::vector<FrameElement>& elements, int x, int y);

}  // namespace s::gui

// Places controls one after another in a row or a column from their
// preferred sizes, so that a longer text (another language) or a larger
// scale moves the controls after it without new coordinates. Sizes and gaps
// are in pixels already scaled; the layout knows nothing of windows.
#pragma once

#include "gui/FrameLayout.h"

#include <vector>

namespace s::gui {

enum class Axis { row, column };
enum class LineAlign { start, centre, end, stretch };

struct ItemSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ItemSize&, const ItemSize&) = default;
};

class LineLayout {
public:
    LineLayout(Axis axis, int gap) : m_axis(axis), m_gap(gap) {}

    // Returns the item's index in place()'s result.
    int add(ItemSize preferred);
    // The whole line at its items' preferred sizes: their lengths and the
    // gaps along the axis, the largest item across it.
    ItemSize preferred() const;
    // Boxes inside area, in the order added. Along the axis the line keeps
    // its preferred length and sits at the start, in the centre or at the end
    // (stretch: at the start). Across it each item keeps its own size and is
    // aligned the same way, or takes the whole breadth with stretch. Items
    // that do not fit run past the area's end; nothing is shrunk.
    std::vector<Box> place(const Box& area, LineAlign along, LineAlign across) const;

private:
    Axis m_axis;
    int m_gap;
    std::vector<ItemSize> m_items;
};

}  // namespace s::gui

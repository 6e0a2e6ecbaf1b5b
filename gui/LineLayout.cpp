#include "gui/LineLayout.h"

#include <algorithm>

namespace s::gui {

namespace {

int offset(LineAlign align, int room, int length)
{
    switch (align) {
    case LineAlign::centre:
        return (room - length) / 2;
    case LineAlign::end:
        return room - length;
    case LineAlign::start:
    case LineAlign::stretch:
        break;
    }
    return 0;
}

}  // namespace

int LineLayout::add(ItemSize preferred)
{
    m_items.push_back(preferred);
    return static_cast<int>(m_items.size()) - 1;
}

ItemSize LineLayout::preferred() const
{
    int along = 0;
    int across = 0;
    for (const ItemSize& item : m_items) {
        along += m_axis == Axis::row ? item.width : item.height;
        across = std::max(across, m_axis == Axis::row ? item.height : item.width);
    }
    if (!m_items.empty())
        along += m_gap * (static_cast<int>(m_items.size()) - 1);
    return m_axis == Axis::row ? ItemSize{along, across} : ItemSize{across, along};
}

std::vector<Box> LineLayout::place(const Box& area, LineAlign along, LineAlign across) const
{
    const bool row = m_axis == Axis::row;
    const ItemSize whole = preferred();
    const int roomAlong = row ? area.width() : area.height();
    const int roomAcross = row ? area.height() : area.width();
    int position = (row ? area.left : area.top) + offset(along, roomAlong, row ? whole.width : whole.height);
    const int start = row ? area.top : area.left;
    std::vector<Box> boxes;
    boxes.reserve(m_items.size());
    for (const ItemSize& item : m_items) {
        const int length = row ? item.width : item.height;
        const int breadth = across == LineAlign::stretch ? roomAcross : (row ? item.height : item.width);
        const int side = start + offset(across, roomAcross, breadth);
        if (row)
            boxes.push_back(Box{position, side, position + length, side + breadth});
        else
            boxes.push_back(Box{side, position, side + breadth, position + length});
        position += length + m_gap;
    }
    return boxes;
}

}  // namespace s::gui

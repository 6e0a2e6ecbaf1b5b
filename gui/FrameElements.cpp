#include "gui/FrameElements.h"

namespace s::gui {

std::vector<FrameElement> frameElements(const FrameLayout& layout, Placement placement)
{
    std::vector<FrameElement> elements;
    const auto add = [&elements](FrameElementKind kind, int menuIndex, const Box& box) {
        if (box.width() > 0 && box.height() > 0)
            elements.push_back({kind, menuIndex, box});
    };
    for (std::size_t i = 0; i < layout.menus().size(); ++i)
        add(FrameElementKind::menu, static_cast<int>(i), layout.menus()[i]);
    add(FrameElementKind::minimise, -1, layout.minimise());
    add(placement == Placement::maximised ? FrameElementKind::restore : FrameElementKind::maximise, -1,
        layout.maximise());
    add(FrameElementKind::close, -1, layout.close());
    return elements;
}

int frameElementAt(const std::vector<FrameElement>& elements, int x, int y)
{
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].box.contains(x, y))
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace s::gui

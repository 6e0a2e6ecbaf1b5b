#include "gui/ColumnFit.h"

#include <algorithm>

namespace s::gui {

int fillingWidth(const std::vector<int>& widths, int fill, int available, int minimum)
{
    if (fill < 0 || fill >= static_cast<int>(widths.size()))
        return 0;
    int others = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (static_cast<int>(i) != fill)
            others += std::max(widths[i], 0);
    }
    return std::max(minimum, available - others);
}

}  // namespace s::gui

// A list whose one column (the description, say) takes the width the other
// columns leave, so that at the list's own width the columns end at its
// right edge and no horizontal scroll bar appears.
#pragma once

#include <vector>

namespace s::gui {

// The width of column `fill` of `widths` so that all of them together take
// `available` pixels, never less than `minimum` (then the columns overflow,
// and the list scrolls). A fill index outside widths: that column's width
// is unknown, and 0 comes back.
int fillingWidth(const std::vector<int>& widths, int fill, int available, int minimum);

}  // namespace s::gui

// A check box's state, one type for the list's rows, the check box control
// and the skin painter. The values are the ones the settings file and the
// list model count with: 1 unchecked, 2 checked, 3 partial (a group some of
// whose targets are checked).
#pragma once

#include <cstdint>

namespace s::gui {

enum class CheckState : std::int32_t { Unchecked = 1, Checked = 2, Partial = 3 };

}  // namespace s::gui

// The main list's row of a node, as the engine sees it: it is told when the
// node's measures change. The window's row class implements it; the row is
// pooled and owned by its node (TimeRecord::dropRow gives it back).
#pragma once

#include "base/IObject.h"

namespace s::file::gui::dialogs::purgo {

class TimeRecord;

class IListRow : public s::thread::IPoolable {
public:
    // Show the node's found and size as they are now.
    virtual void showMeasures(const TimeRecord& node) = 0;
};

}  // namespace s::file::gui::dialogs::purgo

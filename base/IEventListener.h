// A component told about changes of a shared object (the current language, the
// current skin): the source and an event code (0 for "changed").
#pragma once

#include "base/IObject.h"

namespace s::gui::events {

class IEventListener {
public:
    virtual ~IEventListener() = default;
    virtual void onEvent(s::base::IObject* source, int code) = 0;
};

}  // namespace s::gui::events

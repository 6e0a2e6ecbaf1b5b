// The environment of native builds, and its test API: its own variables,
// never the host's. USERPROFILE is C:\Users\tester at the start, matching
// the fake shell's folders.
#pragma once

#include "platform/Environment.h"

#include <string_view>

namespace s::platform {

class FakeEnvironment : public IEnvironment {
public:
    virtual void setVariable(std::u16string_view name, std::u16string_view value) = 0;
    virtual void removeVariable(std::u16string_view name) = 0;
    // Back to USERPROFILE alone.
    virtual void clear() = 0;
};

FakeEnvironment& fakeEnvironment();

}  // namespace s::platform

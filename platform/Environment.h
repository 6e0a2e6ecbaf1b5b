// Environment strings: ExpandEnvironmentStringsW.
//
// Reach the build's implementation through environment(): kernel32 on
// Windows, a fake with its own variables elsewhere
// (platform/fake/FakeEnvironment.h, for tests).
#pragma once

#include "platform/Win32Codes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::platform {

class IEnvironment {
public:
    virtual ~IEnvironment() = default;

    // ExpandEnvironmentStringsW into a buffer of `capacity` characters, its
    // terminating zero included. Every %name% of a defined variable (name
    // compared without regard to case) becomes its value; anything else stays
    // as written. kErrorInsufficientBuffer when the result does not fit, and
    // then `out` is untouched.
    virtual Win32Error expand(std::u16string_view text, std::uint32_t capacity, std::u16string& out) = 0;
};

IEnvironment& environment();

}  // namespace s::platform

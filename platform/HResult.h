// HRESULT, the result type of the shell and COM services, with the values
// portable code and the fakes use. Negative values are failures.
#pragma once

#include <cstdint>

namespace s::platform {

using HResult = std::int32_t;

constexpr bool hrSucceeded(HResult result)
{
    return result >= 0;
}

inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001u);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);

}  // namespace s::platform

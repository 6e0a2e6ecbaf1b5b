// The system's own text for a Win32 error code, as FormatMessageW gives it
// from the system's message table (in the user's language, usually ending
// with "\r\n"); empty when the system has no text for the code.
#pragma once

#include "platform/Win32Codes.h"

#include <string>

namespace s::platform {

std::u16string systemErrorText(Win32Error error);

}  // namespace s::platform

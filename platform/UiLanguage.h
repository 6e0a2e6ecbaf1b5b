// The user's default user-interface language as a Windows LANGID.
#pragma once

#include <cstdint>

namespace s::platform {

uint16_t userUiLanguage();

}  // namespace s::platform

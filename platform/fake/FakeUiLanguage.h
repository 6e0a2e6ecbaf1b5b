// Test control of the in-memory platform's user-interface language.
#pragma once

#include <cstdint>

namespace s::platform {

// US English (0x0409) until a test sets another LANGID.
void setFakeUserUiLanguage(uint16_t langId);

}  // namespace s::platform

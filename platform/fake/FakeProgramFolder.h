// The in-memory platform's program folder: "C:\Program Files\Oxle Purgo"
// until a test sets another.
#pragma once

#include <string_view>

namespace s::platform {

void setProgramFolder(std::u16string_view folder);

}  // namespace s::platform

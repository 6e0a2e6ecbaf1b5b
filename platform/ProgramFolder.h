// The folder that holds the running program's executable, where the program
// keeps its settings ("savedata\SaveData.xml"). Windows: the folder of the
// module path of the executable; the in-memory platform: a folder the tests
// set (fake/FakeProgramFolder.h).
#pragma once

#include "base/StrBuffer.h"

namespace s::platform {

// No trailing backslash. Empty when it cannot be found out.
s::str::StrBuffer programFolder();

}  // namespace s::platform

// Facts about the running system that the engine needs in many places: the
// Windows and system folders and the OS version. Read once per process.
#pragma once

#include <string>

namespace s::platform {

struct SystemFacts {
    std::u16string windowsFolder;  // no trailing backslash, e.g. C:\Windows
    std::u16string systemFolder;   // e.g. C:\Windows\system32
    unsigned majorVersion = 0;
    unsigned minorVersion = 0;
    unsigned buildNumber = 0;
};

const SystemFacts& systemFacts();

}  // namespace s::platform

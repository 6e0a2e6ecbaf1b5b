// Facts about the running system that the program needs in many places: the
// Windows and system folders and the OS version. Read once per process.
#pragma once

#include <optional>
#include <string>

namespace s::platform {

struct SystemFacts {
    std::u16string windowsFolder;  // no trailing backslash, e.g. C:\Windows
    std::u16string systemFolder;   // e.g. C:\Windows\system32
    unsigned majorVersion = 0;
    unsigned minorVersion = 0;
    unsigned buildNumber = 0;
    bool nt = false;             // VER_PLATFORM_WIN32_NT
    bool wow64 = false;          // a 32-bit process on 64-bit Windows
    std::u16string servicePack;  // at most 256 characters
};

const SystemFacts& systemFacts();

// One answer of a version query (OSVERSIONINFOW); absent when the query is
// missing or failed.
struct VersionAnswer {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    unsigned platformId = 0;  // 2: VER_PLATFORM_WIN32_NT
    std::u16string servicePack;
};

// The version part of the facts. RtlGetVersion tells the truth; GetVersionExW
// lies to programs without a compatibility entry for newer systems, so it is
// used only when the first is missing or reports 0.0.0. `wow64` comes from
// IsWow64Process where the system has it.
void chooseVersion(const std::optional<VersionAnswer>& rtlGetVersion, const std::optional<VersionAnswer>& getVersionEx,
                   std::optional<bool> wow64, SystemFacts& facts);

}  // namespace s::platform

#include "platform/fake/FakeSystemInfo.h"
#include "platform/SystemInfo.h"

namespace s::platform {

namespace {

constexpr std::u16string_view kWindowsFolder = u"C:\\Windows";
constexpr std::u16string_view kSystemFolder = u"C:\\Windows\\system32";

// One object for the whole process: callers keep the reference that
// systemFacts() gives them.
SystemFacts& facts()
{
    static SystemFacts value{
        std::u16string(kWindowsFolder), std::u16string(kSystemFolder), 6, 1, 7601, true, false, u"Service Pack 1"};
    return value;
}

}  // namespace

const SystemFacts& systemFacts()
{
    return facts();
}

void setSystemFolders(std::u16string_view windows, std::u16string_view system)
{
    facts().windowsFolder.assign(windows);
    facts().systemFolder.assign(system);
}

void resetSystemFolders()
{
    setSystemFolders(kWindowsFolder, kSystemFolder);
}

}  // namespace s::platform

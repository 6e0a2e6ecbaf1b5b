#include "platform/SystemInfo.h"

#include "platform/win32/ProcAddress.h"

#include <windows.h>

namespace s::platform {

namespace {

std::u16string fromWide(const wchar_t* text, UINT length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

SystemFacts readFacts()
{
    SystemFacts facts;
    wchar_t buffer[MAX_PATH + 1];
    UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH)
        facts.windowsFolder = fromWide(buffer, length);
    length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH)
        facts.systemFolder = fromWide(buffer, length);

    // GetVersionEx lies to programs without a compatibility manifest entry for
    // newer Windows; RtlGetVersion always tells the truth.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    RtlGetVersionFn rtlGetVersion = nullptr;
    bindProc(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion", rtlGetVersion);
    if (rtlGetVersion && rtlGetVersion(&info) == 0) {
        facts.majorVersion = info.dwMajorVersion;
        facts.minorVersion = info.dwMinorVersion;
        facts.buildNumber = info.dwBuildNumber;
    }
    return facts;
}

}  // namespace

const SystemFacts& systemFacts()
{
    static const SystemFacts facts = readFacts();
    return facts;
}

}  // namespace s::platform

#include "platform/SystemInfo.h"

#include "platform/win32/ProcAddress.h"

#include <windows.h>

#include <optional>

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

    // The version: RtlGetVersion (bound by name, it is not in the import
    // libraries), GetVersionExW only where that is missing or says 0.0.0,
    // IsWow64Process where the system has it (from XP SP2 on).
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    RtlGetVersionFn rtlGetVersion = nullptr;
    IsWow64ProcessFn isWow64Process = nullptr;
    bindProc(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion", rtlGetVersion);
    bindProc(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process", isWow64Process);
    const auto answerOf = [](const OSVERSIONINFOW& info) {
        return VersionAnswer{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId,
                             std::u16string(reinterpret_cast<const char16_t*>(info.szCSDVersion))};
    };
    std::optional<VersionAnswer> fromRtl;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (rtlGetVersion && rtlGetVersion(&info) == 0)
        fromRtl = answerOf(info);
    std::optional<VersionAnswer> fromEx;
    if (!fromRtl || (fromRtl->major == 0 && fromRtl->minor == 0 && fromRtl->build == 0)) {
        OSVERSIONINFOW legacy{};
        legacy.dwOSVersionInfoSize = sizeof(legacy);
        // Deprecated for exactly the lie this fallback accepts (the build
        // allows it for this file).
        if (GetVersionExW(&legacy))
            fromEx = answerOf(legacy);
    }
    std::optional<bool> wow64;
    BOOL isWow64 = FALSE;
    if (isWow64Process && isWow64Process(GetCurrentProcess(), &isWow64))
        wow64 = isWow64 != FALSE;
    chooseVersion(fromRtl, fromEx, wow64, facts);
    return facts;
}

}  // namespace

const SystemFacts& systemFacts()
{
    static const SystemFacts facts = readFacts();
    return facts;
}

}  // namespace s::platform

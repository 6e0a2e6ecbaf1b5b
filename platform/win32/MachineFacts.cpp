#include "platform/MachineFacts.h"
#include "base/WideText.h"

#include <windows.h>

#include <vector>

namespace s::platform {

namespace {

class WinMachineFacts final : public IMachineFacts {
public:
    std::u16string tempPath() override
    {
        wchar_t shortForm[MAX_PATH + 1] = {};
        DWORD length = GetTempPathW(MAX_PATH + 1, shortForm);
        if (length == 0 || length > MAX_PATH)
            return {};
        // The TEMP variable often holds the 8.3 form (C:\DOCUME~1\...), which
        // would not compare equal to the same folder written out in full.
        wchar_t longForm[MAX_PATH + 1] = {};
        DWORD longLength = GetLongPathNameW(shortForm, longForm, MAX_PATH + 1);
        if (longLength == 0 || longLength > MAX_PATH)
            return s::str::fromWide(std::wstring_view(shortForm, length));
        return s::str::fromWide(std::wstring_view(longForm, longLength));
    }

    std::u16string modulePath() override
    {
        // A full buffer means the path was cut: grow it, up to the longest
        // path Windows has, so that a program kept deep in a folder tree
        // still knows where it is.
        std::vector<wchar_t> buffer;
        for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
            buffer.assign(size, L'\0');
            const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
            if (length == 0)
                return {};
            if (length < size)
                return s::str::fromWide(std::wstring_view(buffer.data(), length));
        }
        return {};
    }

    std::u16string userName() override
    {
        // UNLEN (256) and its terminating zero.
        wchar_t buffer[257] = {};
        DWORD length = 257;
        if (!GetUserNameW(buffer, &length) || length == 0)
            return {};
        return s::str::fromWide(std::wstring_view(buffer, length - 1));  // the count includes the zero
    }

    std::u16string logicalDriveStrings(std::uint32_t capacity) override
    {
        std::wstring buffer(capacity, L'\0');
        DWORD length = GetLogicalDriveStringsW(capacity, buffer.data());
        if (length == 0 || length > capacity)
            return {};
        return s::str::fromWide(std::wstring_view(buffer.data(), length));
    }

    std::uint32_t driveType(std::u16string_view root) override { return GetDriveTypeW(s::str::toWide(root).c_str()); }

    std::u16string iniString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                             std::u16string_view fallback, std::uint32_t capacity) override
    {
        if (capacity == 0)
            return {};
        std::wstring buffer(capacity, L'\0');
        DWORD length = GetPrivateProfileStringW(s::str::toWide(section).c_str(), s::str::toWide(key).c_str(),
                                                s::str::toWide(fallback).c_str(), buffer.data(), capacity,
                                                s::str::toWide(file).c_str());
        return s::str::fromWide(std::wstring_view(buffer.data(), length));
    }

    std::int32_t iniInt(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                        std::int32_t fallback) override
    {
        return static_cast<std::int32_t>(GetPrivateProfileIntW(
            s::str::toWide(section).c_str(), s::str::toWide(key).c_str(), fallback, s::str::toWide(file).c_str()));
    }
};

}  // namespace

IMachineFacts& machineFacts()
{
    static WinMachineFacts facts;
    return facts;
}

}  // namespace s::platform

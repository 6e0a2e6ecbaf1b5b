#include "platform/RegFunctions.h"

#include <windows.h>

namespace s::platform {

namespace {

const wchar_t* wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

HKEY predefined(RootKey root)
{
    switch (root) {
    case RootKey::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser:
        return HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
        return HKEY_USERS;
    case RootKey::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CURRENT_USER;
}

// Reg* functions return their error (a LONG) instead of setting the last
// error.
Win32Error result(LONG status)
{
    return static_cast<Win32Error>(status);
}

class RegFunctionsWin final : public IRegFunctions {
public:
    Win32Error openKey(KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key) override
    {
        key.close();
        HKEY from = nullptr;
        if (const Win32Error bad = resolve(parent, from))
            return bad;
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExW(from, wide(subKey), 0, access, &opened);
        if (status == ERROR_SUCCESS)
            adopt(key, reinterpret_cast<std::uintptr_t>(opened));
        return result(status);
    }

    Win32Error createKey(KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key,
                         bool* created) override
    {
        key.close();
        HKEY from = nullptr;
        if (const Win32Error bad = resolve(parent, from))
            return bad;
        if (!subKey)
            return kErrorInvalidParameter;
        HKEY opened = nullptr;
        DWORD disposition = 0;
        const LONG status = RegCreateKeyExW(from, wide(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                            &opened, &disposition);
        if (status == ERROR_SUCCESS) {
            adopt(key, reinterpret_cast<std::uintptr_t>(opened));
            if (created)
                *created = disposition == REG_CREATED_NEW_KEY;
        }
        return result(status);
    }

    Win32Error enumValue(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                         std::uint32_t* type, std::byte* data, std::uint32_t* dataLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        DWORD length = nameLength;
        DWORD valueType = 0;
        DWORD bytes = dataLength ? *dataLength : 0;
        const LONG status =
            RegEnumValueW(handle(key), index, reinterpret_cast<wchar_t*>(name), &length, nullptr,
                          type ? &valueType : nullptr, reinterpret_cast<BYTE*>(data), dataLength ? &bytes : nullptr);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            // Whether the name was written on ERROR_MORE_DATA differs by
            // cause; the length only counts when it was.
            if (status == ERROR_SUCCESS || length < nameLength)
                nameLength = length;
            if (type)
                *type = valueType;
            if (dataLength)
                *dataLength = bytes;
        }
        return result(status);
    }

    Win32Error enumKey(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        DWORD length = nameLength;
        const LONG status = RegEnumKeyExW(handle(key), index, reinterpret_cast<wchar_t*>(name), &length, nullptr,
                                          nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS)
            nameLength = length;
        return result(status);
    }

    Win32Error queryValue(const RegKey& key, const char16_t* name, std::uint32_t* type, std::byte* data,
                          std::uint32_t* dataLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        DWORD valueType = 0;
        DWORD bytes = dataLength ? *dataLength : 0;
        const LONG status = RegQueryValueExW(handle(key), wide(name), nullptr, type ? &valueType : nullptr,
                                             reinterpret_cast<BYTE*>(data), dataLength ? &bytes : nullptr);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            if (type)
                *type = valueType;
            if (dataLength)
                *dataLength = bytes;
        }
        return result(status);
    }

    Win32Error setValue(const RegKey& key, const char16_t* name, std::uint32_t type, const std::byte* data,
                        std::uint32_t dataLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        return result(
            RegSetValueExW(handle(key), wide(name), 0, type, reinterpret_cast<const BYTE*>(data), dataLength));
    }

    Win32Error deleteValue(const RegKey& key, const char16_t* name) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        return result(RegDeleteValueW(handle(key), wide(name)));
    }

    Win32Error deleteKey(KeyParent parent, const char16_t* subKey) override
    {
        HKEY from = nullptr;
        if (const Win32Error bad = resolve(parent, from))
            return bad;
        if (!subKey)
            return kErrorInvalidParameter;
        return result(RegDeleteKeyW(from, wide(subKey)));
    }

protected:
    void closeKey(std::uintptr_t raw) override { RegCloseKey(reinterpret_cast<HKEY>(raw)); }

private:
    static HKEY handle(const RegKey& key) { return reinterpret_cast<HKEY>(rawOf(key)); }

    Win32Error resolve(KeyParent parent, HKEY& out) const
    {
        if (!parent.key()) {
            out = predefined(parent.root());
            return kErrorSuccess;
        }
        if (!owns(*parent.key()))
            return kErrorInvalidHandle;
        out = handle(*parent.key());
        return kErrorSuccess;
    }
};

}  // namespace

IRegFunctions& regFunctions()
{
    static RegFunctionsWin instance;
    return instance;
}

}  // namespace s::platform

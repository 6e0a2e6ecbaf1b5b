// The ordinary registry functions of advapi32 (RegOpenKeyExW and friends),
// which the most-recently-used-list handlers, the uninstall keys, the browser
// settings and the program's own "Silent" flag use.
//
// Thin on purpose: each call is one Reg* function with its own buffer rules,
// and returns its raw Win32 error (kErrorFileNotFound for a missing key or
// value, kErrorMoreData when a buffer is too small, kErrorNoMoreItems past
// the last index, kErrorAccessDenied, ...). A failing call leaves its out
// parameters untouched unless its description says otherwise.
//
// Text is UTF-16 and zero-terminated; a null value name is the key's unnamed
// default value. Lengths follow Win32: name lengths in characters, data
// lengths in bytes.
//
// Reach the build's implementation through regFunctions(): advapi32 on Windows,
// the in-memory registry of platform/fake/FakeRegistry.h elsewhere (the same one
// that nativeKeyService() shows).
#pragma once

#include "platform/Win32Codes.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace s::platform {

// The predefined keys.
enum class RootKey : std::uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

class IRegFunctions;

// An open key (HKEY). Move-only; closes itself with RegCloseKey.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { close(); }
    RegKey(RegKey&& other) noexcept
        : m_owner(std::exchange(other.m_owner, nullptr)), m_raw(std::exchange(other.m_raw, 0))
    {
    }
    RegKey& operator=(RegKey&& other) noexcept
    {
        if (this != &other) {
            close();
            m_owner = std::exchange(other.m_owner, nullptr);
            m_raw = std::exchange(other.m_raw, 0);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool isOpen() const { return m_owner != nullptr; }
    void close();

private:
    friend class IRegFunctions;
    IRegFunctions* m_owner = nullptr;
    std::uintptr_t m_raw = 0;
};

// Where a relative key path starts: a predefined key or an open key.
class KeyParent {
public:
    KeyParent(RootKey root) : m_root(root) {}
    KeyParent(const RegKey& key) : m_key(&key) {}

    const RegKey* key() const { return m_key; }
    RootKey root() const { return m_root; }

private:
    RootKey m_root = RootKey::CurrentUser;
    const RegKey* m_key = nullptr;
};

class IRegFunctions {
public:
    virtual ~IRegFunctions() = default;

    // RegOpenKeyExW. A null or empty subKey opens the parent again.
    virtual Win32Error openKey(KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key) = 0;
    // RegCreateKeyExW(REG_OPTION_NON_VOLATILE): opens the key, creating it and
    // any missing parent. `created` tells which happened.
    virtual Win32Error createKey(KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key,
                                 bool* created = nullptr) = 0;

    // RegEnumValueW. `nameLength` goes in as the capacity of `name` in
    // characters, terminating zero included, and comes out as the name's
    // length without it. `type`, `data` and `dataLength` may be null; with
    // `data` null and `dataLength` given, the data length is reported. When
    // the name does not fit: kErrorMoreData, name and nameLength untouched,
    // type and dataLength still set. When only the data does not fit:
    // kErrorMoreData with the name, type and the needed length filled in.
    virtual Win32Error enumValue(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                                 std::uint32_t* type, std::byte* data, std::uint32_t* dataLength) = 0;
    // RegEnumKeyExW, with the same rules for name and nameLength.
    virtual Win32Error enumKey(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) = 0;
    // RegQueryValueExW: kErrorMoreData with the needed length when `data` is
    // too small.
    virtual Win32Error queryValue(const RegKey& key, const char16_t* name, std::uint32_t* type, std::byte* data,
                                  std::uint32_t* dataLength) = 0;
    // RegSetValueExW.
    virtual Win32Error setValue(const RegKey& key, const char16_t* name, std::uint32_t type, const std::byte* data,
                                std::uint32_t dataLength) = 0;
    // RegDeleteValueW.
    virtual Win32Error deleteValue(const RegKey& key, const char16_t* name) = 0;
    // RegDeleteKeyW: deletes subKey of parent with its values; fails with
    // kErrorAccessDenied while it has subkeys.
    virtual Win32Error deleteKey(KeyParent parent, const char16_t* subKey) = 0;

protected:
    // RegCloseKey, called by RegKey.
    virtual void closeKey(std::uintptr_t raw) = 0;

    void adopt(RegKey& key, std::uintptr_t raw)
    {
        key.close();
        key.m_owner = this;
        key.m_raw = raw;
    }
    static std::uintptr_t rawOf(const RegKey& key) { return key.m_raw; }
    bool owns(const RegKey& key) const { return key.m_owner == this; }

    friend class RegKey;
};

inline void RegKey::close()
{
    if (m_owner)
        std::exchange(m_owner, nullptr)->closeKey(std::exchange(m_raw, 0));
}

// The build's registry: advapi32 on Windows, the in-memory registry in native
// builds.
IRegFunctions& regFunctions();

}  // namespace s::platform

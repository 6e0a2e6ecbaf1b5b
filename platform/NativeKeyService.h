// The native key services of ntdll.dll, which the engine's key object uses:
// NtOpenKey on a native path, NtEnumerateKey, NtEnumerateValueKey,
// NtQueryValueKey, NtDeleteKey, NtDeleteValueKey and NtClose, plus the
// current user's SID text that the native root of HKEY_CURRENT_USER needs.
//
// Thin on purpose: every call returns the raw NTSTATUS (kStatusBufferOverflow
// and kStatusBufferTooSmall with the needed length in `resultLength`,
// kStatusNoMoreEntries at the end of an enumeration, kStatusAccessDenied,
// kStatusObjectNameNotFound, ...). Native paths are \Registry\Machine\... and
// \Registry\User\<SID>\...; the mapping of root key names is the caller's.
//
// Result areas belong to the caller, as with the native calls themselves: the
// service writes the Windows information record into `area` and hands back
// views of its fields, valid until the area is written again. `area` must be
// 8-byte aligned (kStatusDatatypeMisalignment otherwise), as the records hold
// 64-bit fields. On kStatusBufferOverflow the area was at least as long as the
// record's fixed part, so the fixed fields are filled (a value's type and data
// length) while the name and data views stay empty; on kStatusBufferTooSmall
// nothing is filled. Other failures leave the out parameters untouched.
//
// The entry points are bound by name from ntdll.dll when first needed; when
// one cannot be bound (not a system the program supports) every call returns
// kStatusProcedureNotFound and available() is false.
//
// Reach the build's implementation through nativeKeyService(): Win32 on
// Windows, the in-memory registry of platform/fake/FakeRegistry.h elsewhere.
#pragma once

#include "platform/Win32Codes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace s::platform {

// KEY_BASIC_INFORMATION.
struct KeyBasicInfo {
    std::u16string_view name;
};

// KEY_VALUE_BASIC_INFORMATION. The unnamed default value has an empty name.
struct ValueBasicInfo {
    std::uint32_t type = 0;
    std::u16string_view name;
};

// KEY_VALUE_FULL_INFORMATION.
struct ValueFullInfo {
    std::uint32_t type = 0;
    std::uint32_t dataLength = 0;
    std::u16string_view name;
    std::span<const std::byte> data;
};

class INativeKeyService;

// Registry links: a key made with REG_OPTION_CREATE_LINK holds one value,
// SymbolicLinkValue of type kRegLink, whose data is the native path of the
// key it stands for (UTF-16, no terminating zero). Opening a path follows
// every link met on the way to the target key; OpenLink says what happens
// when the last component itself is a link.
inline constexpr std::u16string_view kSymbolicLinkValue = u"SymbolicLinkValue";

enum class OpenLink : std::uint8_t {
    Follow,  // the key the link names (NtOpenKey's default)
    Itself,  // the link key itself (OBJ_OPENLINK); a key that is no link opens as usual
};

// An open key (the native HANDLE). Move-only; closes itself with NtClose.
class NativeKey {
public:
    NativeKey() = default;
    ~NativeKey() { close(); }
    NativeKey(NativeKey&& other) noexcept
        : m_owner(std::exchange(other.m_owner, nullptr)), m_raw(std::exchange(other.m_raw, 0))
    {
    }
    NativeKey& operator=(NativeKey&& other) noexcept
    {
        if (this != &other) {
            close();
            m_owner = std::exchange(other.m_owner, nullptr);
            m_raw = std::exchange(other.m_raw, 0);
        }
        return *this;
    }
    NativeKey(const NativeKey&) = delete;
    NativeKey& operator=(const NativeKey&) = delete;

    bool isOpen() const { return m_owner != nullptr; }
    void close();

private:
    friend class INativeKeyService;
    INativeKeyService* m_owner = nullptr;
    std::uintptr_t m_raw = 0;
};

class INativeKeyService {
public:
    virtual ~INativeKeyService() = default;

    // True when every entry point could be bound.
    virtual bool available() = 0;

    // NtOpenKey(OBJ_CASE_INSENSITIVE) on a full native path. On success the
    // key is open with `access` (kKeyAllAccess, kKeyRead, ...); any key open
    // before in `key` is closed either way. A path longer than a
    // UNICODE_STRING can hold is kStatusNameTooLong. Links on the way are
    // always followed; with OpenLink::Itself a link in the last component is
    // opened as itself (OBJ_OPENLINK), so that NtDeleteKey on the handle
    // removes the link and not its target. A link followed to a missing key
    // is kStatusObjectNameNotFound.
    virtual NtStatus openKey(std::u16string_view nativePath, std::uint32_t access, NativeKey& key,
                             OpenLink link = OpenLink::Follow) = 0;

    // NtEnumerateKey(KeyBasicInformation): the subkey at `index`, in the
    // registry's order; kStatusNoMoreEntries past the last one. Needs
    // kKeyEnumerateSubKeys.
    virtual NtStatus enumerateKey(const NativeKey& key, std::uint32_t index, std::span<std::byte> area,
                                  std::uint32_t& resultLength, KeyBasicInfo& info) = 0;
    // NtEnumerateValueKey(KeyValueBasicInformation). Needs kKeyQueryValue.
    virtual NtStatus enumerateValue(const NativeKey& key, std::uint32_t index, std::span<std::byte> area,
                                    std::uint32_t& resultLength, ValueBasicInfo& info) = 0;
    // NtQueryValueKey(KeyValueFullInformation); an empty name is the default
    // value. kStatusObjectNameNotFound when the value is missing. Needs
    // kKeyQueryValue.
    virtual NtStatus queryValue(const NativeKey& key, std::u16string_view name, std::span<std::byte> area,
                                std::uint32_t& resultLength, ValueFullInfo& info) = 0;

    // NtDeleteKey: removes the key with its values; fails while it has
    // subkeys (kStatusCannotDelete on Windows, kStatusAccessDenied on Wine).
    // Needs kAccessDelete. The handle stays open; later calls on it give
    // kStatusKeyDeleted.
    virtual NtStatus deleteKey(const NativeKey& key) = 0;
    // NtDeleteValueKey; kStatusObjectNameNotFound when missing. Needs
    // kKeySetValue.
    virtual NtStatus deleteValue(const NativeKey& key, std::u16string_view name) = 0;

    // The current user's SID in its standard text form, from the process
    // token (OpenProcessToken, GetTokenInformation(TokenUser)). Returns the
    // Win32 error of the step that failed; `sid` is untouched then.
    virtual Win32Error currentUserSid(std::u16string& sid) = 0;

protected:
    // NtClose, called by NativeKey.
    virtual void closeKey(std::uintptr_t raw) = 0;

    void adopt(NativeKey& key, std::uintptr_t raw)
    {
        key.close();
        key.m_owner = this;
        key.m_raw = raw;
    }
    static std::uintptr_t rawOf(const NativeKey& key) { return key.m_raw; }
    bool owns(const NativeKey& key) const { return key.m_owner == this; }

    friend class NativeKey;
};

inline void NativeKey::close()
{
    if (m_owner)
        std::exchange(m_owner, nullptr)->closeKey(std::exchange(m_raw, 0));
}

// The build's native registry: ntdll on Windows, the in-memory registry in
// native builds.
INativeKeyService& nativeKeyService();

}  // namespace s::platform

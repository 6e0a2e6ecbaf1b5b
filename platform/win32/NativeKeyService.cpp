#include "platform/NativeKeyService.h"

#include "platform/NativeKeyInfo.h"
#include "platform/SidText.h"

#include <windows.h>

#include "platform/win32/ProcAddress.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

namespace s::platform {

namespace {

namespace info = native_info;

// The information classes, as ntdll numbers them.
constexpr int kKeyBasicInformation = 0;
constexpr int kKeyValueBasicInformation = 0;
constexpr int kKeyValueFullInformation = 1;
constexpr ULONG kObjCaseInsensitive = 0x40;
// Opens a registry link as itself instead of the key it names. Only the last
// component is concerned: links on the way are followed regardless, on
// Windows and on Wine 8 alike.
constexpr ULONG kObjOpenLink = 0x100;

using NtOpenKeyFn = LONG(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*);
using NtEnumerateKeyFn = LONG(NTAPI*)(HANDLE, ULONG, int, void*, ULONG, ULONG*);
using NtEnumerateValueKeyFn = LONG(NTAPI*)(HANDLE, ULONG, int, void*, ULONG, ULONG*);
using NtQueryValueKeyFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, int, void*, ULONG, ULONG*);
using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
using NtDeleteValueKeyFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*);
using NtCloseFn = LONG(NTAPI*)(HANDLE);

// The native services are not in the import libraries the program may use,
// so they are looked up by name in ntdll.dll, which every process has loaded.
struct Entries {
    NtOpenKeyFn openKey = nullptr;
    NtEnumerateKeyFn enumerateKey = nullptr;
    NtEnumerateValueKeyFn enumerateValueKey = nullptr;
    NtQueryValueKeyFn queryValueKey = nullptr;
    NtDeleteKeyFn deleteKey = nullptr;
    NtDeleteValueKeyFn deleteValueKey = nullptr;
    NtCloseFn close = nullptr;
    bool complete = false;
};

const Entries& entries()
{
    static const Entries bound = [] {
        Entries e;
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        e.complete = bindAll(ntdll, {
                                        {"NtOpenKey", e.openKey},
                                        {"NtEnumerateKey", e.enumerateKey},
                                        {"NtEnumerateValueKey", e.enumerateValueKey},
                                        {"NtQueryValueKey", e.queryValueKey},
                                        {"NtDeleteKey", e.deleteKey},
                                        {"NtDeleteValueKey", e.deleteValueKey},
                                        {"NtClose", e.close},
                                    });
        return e;
    }();
    return bound;
}

// A UNICODE_STRING over the caller's text (no terminating zero needed). Its
// lengths are 16-bit byte counts: longer text cannot be passed at all.
bool makeUnicodeString(std::u16string_view text, UNICODE_STRING& out)
{
    const std::size_t bytes = text.size() * sizeof(char16_t);
    if (bytes > 0xFFFE)
        return false;
    out.Length = static_cast<USHORT>(bytes);
    out.MaximumLength = static_cast<USHORT>(bytes);
    out.Buffer = const_cast<PWSTR>(reinterpret_cast<const wchar_t*>(text.data()));
    return true;
}

HANDLE asHandle(std::uintptr_t raw)
{
    return reinterpret_cast<HANDLE>(raw);
}

std::span<const std::byte> writtenPart(std::span<std::byte> area, ULONG resultLength)
{
    return std::span<const std::byte>(area.data(), std::min<std::size_t>(area.size(), resultLength));
}

ULONG areaLength(std::span<std::byte> area)
{
    return static_cast<ULONG>(std::min<std::size_t>(area.size(), 0xFFFFFFFFu));
}

// The process token, closed when it goes out of scope.
struct Token {
    Token() = default;
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    ~Token()
    {
        if (handle)
            CloseHandle(handle);
    }
    HANDLE handle = nullptr;
};

class NativeKeyServiceWin final : public INativeKeyService {
public:
    bool available() override { return entries().complete; }

    NtStatus openKey(std::u16string_view nativePath, std::uint32_t access, NativeKey& key, OpenLink link) override
    {
        key.close();
        const Entries& e = entries();
        if (!e.complete)
            return kStatusProcedureNotFound;
        UNICODE_STRING name;
        if (!makeUnicodeString(nativePath, name))
            return kStatusNameTooLong;
        OBJECT_ATTRIBUTES attributes;
        const ULONG flags = kObjCaseInsensitive | (link == OpenLink::Itself ? kObjOpenLink : 0);
        InitializeObjectAttributes(&attributes, &name, flags, nullptr, nullptr);
        HANDLE handle = nullptr;
        const NtStatus status = e.openKey(&handle, access, &attributes);
        if (ntSuccess(status))
            adopt(key, reinterpret_cast<std::uintptr_t>(handle));
        return status;
    }

    // The three reads share their checks and their result rules: the length
    // needed is reported with the buffer errors, and the record read from the
    // bytes the service wrote.
    template <class Info, class Read, class Call>
    NtStatus readInto(const NativeKey& key, std::span<std::byte> area, std::uint32_t& resultLength, Info& out,
                      Read read, Call&& call)
    {
        const Entries& e = entries();
        if (!e.complete)
            return kStatusProcedureNotFound;
        if (!owns(key))
            return kStatusInvalidHandle;
        if (!info::aligned(area))
            return kStatusDatatypeMisalignment;
        ULONG needed = 0;
        NtStatus status = call(e, needed);
        if (status == kStatusSuccess || status == kStatusBufferOverflow || status == kStatusBufferTooSmall)
            resultLength = needed;
        if ((status == kStatusSuccess || status == kStatusBufferOverflow) &&
            !read(writtenPart(area, needed), status, out))
            status = kStatusInternalError;
        return status;
    }

    NtStatus enumerateKey(const NativeKey& key, std::uint32_t index, std::span<std::byte> area,
                          std::uint32_t& resultLength, KeyBasicInfo& out) override
    {
        return readInto(key, area, resultLength, out, info::readKeyBasic, [&](const Entries& e, ULONG& needed) {
            return e.enumerateKey(asHandle(rawOf(key)), index, kKeyBasicInformation, area.data(), areaLength(area),
                                  &needed);
        });
    }

    NtStatus enumerateValue(const NativeKey& key, std::uint32_t index, std::span<std::byte> area,
                            std::uint32_t& resultLength, ValueBasicInfo& out) override
    {
        return readInto(key, area, resultLength, out, info::readValueBasic, [&](const Entries& e, ULONG& needed) {
            return e.enumerateValueKey(asHandle(rawOf(key)), index, kKeyValueBasicInformation, area.data(),
                                       areaLength(area), &needed);
        });
    }

    NtStatus queryValue(const NativeKey& key, std::u16string_view name, std::span<std::byte> area,
                        std::uint32_t& resultLength, ValueFullInfo& out) override
    {
        return readInto(key, area, resultLength, out, info::readValueFull,
                        [&](const Entries& e, ULONG& needed) -> NtStatus {
                            UNICODE_STRING valueName;
                            if (!makeUnicodeString(name, valueName))
                                return kStatusNameTooLong;
                            return e.queryValueKey(asHandle(rawOf(key)), &valueName, kKeyValueFullInformation,
                                                   area.data(), areaLength(area), &needed);
                        });
    }

    NtStatus deleteKey(const NativeKey& key) override
    {
        const Entries& e = entries();
        if (!e.complete)
            return kStatusProcedureNotFound;
        if (!owns(key))
            return kStatusInvalidHandle;
        return e.deleteKey(asHandle(rawOf(key)));
    }

    NtStatus deleteValue(const NativeKey& key, std::u16string_view name) override
    {
        const Entries& e = entries();
        if (!e.complete)
            return kStatusProcedureNotFound;
        if (!owns(key))
            return kStatusInvalidHandle;
        UNICODE_STRING valueName;
        if (!makeUnicodeString(name, valueName))
            return kStatusNameTooLong;
        return e.deleteValueKey(asHandle(rawOf(key)), &valueName);
    }

    Win32Error currentUserSid(std::u16string& sid) override
    {
        Token token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token.handle))
            return GetLastError();
        // Asked twice: first for the size, then for the record.
        DWORD size = 0;
        GetTokenInformation(token.handle, TokenUser, nullptr, 0, &size);
        std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
        if (size == 0 || !GetTokenInformation(token.handle, TokenUser, buffer.data(), size, &size))
            return GetLastError();
        const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
        if (!IsValidSid(user->User.Sid))
            return ERROR_INVALID_SID;
        const std::u16string text = sidText(
            std::span<const std::byte>(static_cast<const std::byte*>(user->User.Sid), GetLengthSid(user->User.Sid)));
        if (text.empty())
            return ERROR_INVALID_SID;
        sid = text;
        return kErrorSuccess;
    }

protected:
    void closeKey(std::uintptr_t raw) override
    {
        if (const Entries& e = entries(); e.close)
            e.close(asHandle(raw));
    }
};

}  // namespace

INativeKeyService& nativeKeyService()
{
    static NativeKeyServiceWin instance;
    return instance;
}

}  // namespace s::platform

#include "platform/NativeKeyService.h"

#include "platform/NativeKeyInfo.h"
#include "platform/fake/FakeRegistryStorage.h"

namespace s::platform {

namespace {

namespace info = native_info;

// A UNICODE_STRING holds at most 65534 bytes; the Win32 side cannot pass more.
constexpr std::size_t kMaxNameCharacters = 0xFFFE / sizeof(char16_t);

std::span<const std::byte> writtenPart(std::span<std::byte> area, std::uint32_t resultLength)
{
    return std::span<const std::byte>(area.data(), std::min<std::size_t>(area.size(), resultLength));
}

// The native calls answer through the caller's area; the fake writes the
// same records there and reads them back, so callers meet the same rules.
class FakeNativeKeyService final : public INativeKeyService {
public:
    bool available() override { return true; }

    NtStatus openKey(std::u16string_view nativePath, std::uint32_t access, NativeKey& key, OpenLink link) override
    {
        key.close();
        if (nativePath.size() > kMaxNameCharacters)
            return kStatusNameTooLong;
        std::uintptr_t raw = 0;
        const NtStatus status = registryStorage().open(0, nativePath, access, raw, link);
        if (ntSuccess(status))
            adopt(key, raw);
        return status;
    }

    NtStatus enumerateKey(const NativeKey& key, std::uint32_t index, std::span<std::byte> area,
                          std::uint32_t& resultLength, KeyBasicInfo& out) override
    {
        if (!owns(key))
            return kStatusInvalidHandle;
        if (!info::aligned(area))
            return kStatusDatatypeMisalignment;
        std::u16string name;
        NtStatus status = registryStorage().enumerateKey(rawOf(key), index, name);
        if (status != kStatusSuccess)
            return status;
        std::uint32_t needed = 0;
        status = info::writeKeyBasic(name, area, needed);
        resultLength = needed;
        if (status != kStatusBufferTooSmall && !info::readKeyBasic(writtenPart(area, needed), status, out))
            status = kStatusInternalError;
        return status;
    }

    NtStatus enumerateValue(const NativeKey& key, std::uint32_t index, std::span<std::byte> area,
                            std::uint32_t& resultLength, ValueBasicInfo& out) override
    {
        if (!owns(key))
            return kStatusInvalidHandle;
        if (!info::aligned(area))
            return kStatusDatatypeMisalignment;
        RegistryStorage::Entry entry;
        NtStatus status = registryStorage().enumerateValue(rawOf(key), index, entry);
        if (status != kStatusSuccess)
            return status;
        std::uint32_t needed = 0;
        status = info::writeValueBasic(entry.type, entry.name, area, needed);
        resultLength = needed;
        if (status != kStatusBufferTooSmall && !info::readValueBasic(writtenPart(area, needed), status, out))
            status = kStatusInternalError;
        return status;
    }

    NtStatus queryValue(const NativeKey& key, std::u16string_view name, std::span<std::byte> area,
                        std::uint32_t& resultLength, ValueFullInfo& out) override
    {
        if (!owns(key))
            return kStatusInvalidHandle;
        if (!info::aligned(area))
            return kStatusDatatypeMisalignment;
        if (name.size() > kMaxNameCharacters)
            return kStatusNameTooLong;
        RegistryStorage::Entry entry;
        NtStatus status = registryStorage().query(rawOf(key), name, entry);
        if (status != kStatusSuccess)
            return status;
        std::uint32_t needed = 0;
        status = info::writeValueFull(entry.type, entry.name, entry.data, area, needed);
        resultLength = needed;
        if (status != kStatusBufferTooSmall && !info::readValueFull(writtenPart(area, needed), status, out))
            status = kStatusInternalError;
        return status;
    }

    NtStatus deleteKey(const NativeKey& key) override
    {
        if (!owns(key))
            return kStatusInvalidHandle;
        return registryStorage().deleteKey(rawOf(key));
    }

    NtStatus deleteValue(const NativeKey& key, std::u16string_view name) override
    {
        if (!owns(key))
            return kStatusInvalidHandle;
        if (name.size() > kMaxNameCharacters)
            return kStatusNameTooLong;
        return registryStorage().deleteValue(rawOf(key), name);
    }

    Win32Error currentUserSid(std::u16string& sid) override { return registryStorage().sid(sid); }

protected:
    void closeKey(std::uintptr_t raw) override { registryStorage().close(raw); }
};

}  // namespace

INativeKeyService& nativeKeyService()
{
    static FakeNativeKeyService instance;
    return instance;
}

}  // namespace s::platform

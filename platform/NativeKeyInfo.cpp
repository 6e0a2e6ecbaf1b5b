#include "platform/NativeKeyInfo.h"

#include <cstring>

namespace s::platform::native_info {

namespace {

void put32(std::span<std::byte> area, std::size_t at, std::uint32_t value)
{
    std::memcpy(area.data() + at, &value, sizeof(value));
}

std::uint32_t get32(std::span<const std::byte> area, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, area.data() + at, sizeof(value));
    return value;
}

std::uint32_t nameBytes(std::u16string_view name)
{
    return static_cast<std::uint32_t>(name.size() * sizeof(char16_t));
}

void putName(std::span<std::byte> area, std::size_t at, std::u16string_view name)
{
    if (!name.empty())
        std::memcpy(area.data() + at, name.data(), name.size() * sizeof(char16_t));
}

// A name of `length` bytes at `at`, when it lies inside the written bytes.
bool getName(std::span<const std::byte> written, std::size_t at, std::uint32_t length, std::u16string_view& name)
{
    if (length % sizeof(char16_t) != 0 || at > written.size() || length > written.size() - at)
        return false;
    name = std::u16string_view(reinterpret_cast<const char16_t*>(written.data() + at), length / sizeof(char16_t));
    return true;
}

NtStatus fitStatus(std::size_t fixed, std::size_t total, std::size_t available)
{
    if (available < fixed)
        return kStatusBufferTooSmall;
    return available < total ? kStatusBufferOverflow : kStatusSuccess;
}

}  // namespace

bool aligned(std::span<std::byte> area)
{
    return reinterpret_cast<std::uintptr_t>(area.data()) % kAreaAlignment == 0;
}

NtStatus writeKeyBasic(std::u16string_view name, std::span<std::byte> area, std::uint32_t& resultLength)
{
    const std::size_t total = kKeyBasicFixed + nameBytes(name);
    resultLength = static_cast<std::uint32_t>(total);
    const NtStatus status = fitStatus(kKeyBasicFixed, total, area.size());
    if (status == kStatusBufferTooSmall)
        return status;
    std::memset(area.data(), 0, kKeyBasicFixed);  // last write time and title index: not kept
    put32(area, 12, nameBytes(name));
    if (status == kStatusSuccess)
        putName(area, kKeyBasicFixed, name);
    return status;
}

NtStatus writeValueBasic(std::uint32_t type, std::u16string_view name, std::span<std::byte> area,
                         std::uint32_t& resultLength)
{
    const std::size_t total = kValueBasicFixed + nameBytes(name);
    resultLength = static_cast<std::uint32_t>(total);
    const NtStatus status = fitStatus(kValueBasicFixed, total, area.size());
    if (status == kStatusBufferTooSmall)
        return status;
    put32(area, 0, 0);
    put32(area, 4, type);
    put32(area, 8, nameBytes(name));
    if (status == kStatusSuccess)
        putName(area, kValueBasicFixed, name);
    return status;
}

NtStatus writeValueFull(std::uint32_t type, std::u16string_view name, std::span<const std::byte> data,
                        std::span<std::byte> area, std::uint32_t& resultLength)
{
    // The data starts at the next 8-byte boundary after the name.
    const std::size_t dataOffset = (kValueFullFixed + nameBytes(name) + 7) & ~std::size_t{7};
    const std::size_t total = dataOffset + data.size();
    resultLength = static_cast<std::uint32_t>(total);
    const NtStatus status = fitStatus(kValueFullFixed, total, area.size());
    if (status == kStatusBufferTooSmall)
        return status;
    put32(area, 0, 0);
    put32(area, 4, type);
    put32(area, 8, static_cast<std::uint32_t>(dataOffset));
    put32(area, 12, static_cast<std::uint32_t>(data.size()));
    put32(area, 16, nameBytes(name));
    if (status == kStatusSuccess) {
        putName(area, kValueFullFixed, name);
        if (!data.empty())
            std::memcpy(area.data() + dataOffset, data.data(), data.size());
    }
    return status;
}

bool readKeyBasic(std::span<const std::byte> written, NtStatus status, KeyBasicInfo& info)
{
    if (written.size() < kKeyBasicFixed)
        return false;
    KeyBasicInfo out;
    if (status != kStatusBufferOverflow && !getName(written, kKeyBasicFixed, get32(written, 12), out.name))
        return false;
    info = out;
    return true;
}

bool readValueBasic(std::span<const std::byte> written, NtStatus status, ValueBasicInfo& info)
{
    if (written.size() < kValueBasicFixed)
        return false;
    ValueBasicInfo out;
    out.type = get32(written, 4);
    if (status != kStatusBufferOverflow && !getName(written, kValueBasicFixed, get32(written, 8), out.name))
        return false;
    info = out;
    return true;
}

bool readValueFull(std::span<const std::byte> written, NtStatus status, ValueFullInfo& info)
{
    if (written.size() < kValueFullFixed)
        return false;
    ValueFullInfo out;
    out.type = get32(written, 4);
    out.dataLength = get32(written, 12);
    if (status != kStatusBufferOverflow) {
        if (!getName(written, kValueFullFixed, get32(written, 16), out.name))
            return false;
        const std::uint32_t offset = get32(written, 8);
        if (offset < kValueFullFixed || offset > written.size() || out.dataLength > written.size() - offset)
            return false;
        out.data = written.subspan(offset, out.dataLength);
    }
    info = out;
    return true;
}

}  // namespace s::platform::native_info

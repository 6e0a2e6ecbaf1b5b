#include "platform/SidText.h"

#include <cstdint>

namespace s::platform {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr unsigned kMaxSubAuthorities = 15;

void appendDecimal(std::u16string& out, std::uint64_t value)
{
    char16_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value);
    while (count)
        out += digits[--count];
}

void appendHexByte(std::u16string& out, std::uint8_t value)
{
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    out += kDigits[value >> 4];
    out += kDigits[value & 0xF];
}

}  // namespace

std::u16string sidText(std::span<const std::byte> sid)
{
    if (sid.size() < kHeaderSize)
        return {};
    const auto byteAt = [&](std::size_t k) {
        return static_cast<std::uint8_t>(sid[k]);
    };
    const std::uint8_t revision = byteAt(0);
    const std::uint8_t count = byteAt(1);
    if (revision != 1 || count > kMaxSubAuthorities || sid.size() < kHeaderSize + 4u * count)
        return {};

    std::u16string out = u"S-";
    appendDecimal(out, revision);
    out += u'-';
    if (byteAt(2) != 0 || byteAt(3) != 0) {
        out += u"0x";
        for (std::size_t k = 2; k < kHeaderSize; ++k)
            appendHexByte(out, byteAt(k));
    } else {
        const std::uint32_t authority = (std::uint32_t{byteAt(4)} << 24) | (std::uint32_t{byteAt(5)} << 16) |
                                        (std::uint32_t{byteAt(6)} << 8) | std::uint32_t{byteAt(7)};
        appendDecimal(out, authority);
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t at = kHeaderSize + 4 * k;
        const std::uint32_t sub = std::uint32_t{byteAt(at)} | (std::uint32_t{byteAt(at + 1)} << 8) |
                                  (std::uint32_t{byteAt(at + 2)} << 16) | (std::uint32_t{byteAt(at + 3)} << 24);
        out += u'-';
        appendDecimal(out, sub);
    }
    return out;
}

}  // namespace s::platform

#include "base/Utf8.h"

#include <cstring>

namespace s::str::utf8 {

namespace {

bool isHigh(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLow(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// One step of the decoder: reads the sequence at bytes[i] and returns the
// code point (or U+FFFD) and the number of bytes consumed (at least 1).
struct Step {
    uint32_t codePoint;
    std::size_t consumed;
    bool wellFormed = true;
};

Step decodeOne(const uint8_t* bytes, std::size_t count, std::size_t i)
{
    const uint8_t lead = bytes[i];
    if (lead < 0x80)
        return {lead, 1};

    int trail;
    uint32_t codePoint;
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        codePoint = lead & 0x0Fu;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong three-byte forms
        // 0xED: the surrogate range A0..BF is accepted on purpose (lone
        // surrogates written by encode()).
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        codePoint = lead & 0x07u;
        if (lead == 0xF0)
            low = 0x90;  // no overlong four-byte forms
        else if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return {kReplacement, 1, false};  // 80..C1, F5..FF never start a sequence
    }

    std::size_t j = i + 1;
    for (int k = 0; k < trail; ++k, ++j) {
        if (j >= count || bytes[j] < low || bytes[j] > high)
            return {kReplacement, j - i, false};  // the maximal subpart read so far
        codePoint = (codePoint << 6) | (bytes[j] & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, j - i};
}

}  // namespace

std::size_t encodedLength(std::u16string_view text)
{
    std::size_t bytes = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80)
            bytes += 1;
        else if (unit < 0x800)
            bytes += 2;
        else if (isHigh(unit) && i + 1 < n && isLow(text[i + 1])) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}

void encode(std::u16string_view text, uint8_t* out)
{
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        uint32_t c = text[i];
        if (c < 0x80) {
            *out++ = static_cast<uint8_t>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<uint8_t>(0xC0 | (c >> 6));
            *out++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
        } else if (isHigh(text[i]) && i + 1 < n && isLow(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
            *out++ = static_cast<uint8_t>(0xF0 | (c >> 18));
            *out++ = static_cast<uint8_t>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<uint8_t>(0xE0 | (c >> 12));
            *out++ = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
        }
    }
}

std::size_t firstIllFormed(const uint8_t* bytes, std::size_t count)
{
    std::size_t i = 0;
    while (i < count) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const Step step = decodeOne(bytes, count, i);
        if (!step.wellFormed)
            return i;
        i += step.consumed;
    }
    return count;
}

std::size_t decodedLength(const uint8_t* bytes, std::size_t count)
{
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < count) {
        if (bytes[i] < 0x80) {
            ++units;
            ++i;
            continue;
        }
        const Step step = decodeOne(bytes, count, i);
        units += step.codePoint > 0xFFFF ? 2 : 1;
        i += step.consumed;
    }
    return units;
}

std::size_t decode(const uint8_t* bytes, std::size_t count, char16_t* out)
{
    char16_t* const start = out;
    std::size_t i = 0;
    while (i < count) {
        // Most text of the program's files is ASCII: widen eight bytes at a
        // time while none has its high bit set.
        while (i + 8 <= count) {
            uint64_t block;
            std::memcpy(&block, bytes + i, 8);
            if (block & 0x8080808080808080u)
                break;
            for (int k = 0; k < 8; ++k)
                out[k] = bytes[i + static_cast<std::size_t>(k)];
            out += 8;
            i += 8;
        }
        if (i >= count)
            break;
        if (bytes[i] < 0x80) {
            *out++ = bytes[i++];
            continue;
        }
        const Step step = decodeOne(bytes, count, i);
        if (step.codePoint > 0xFFFF) {
            const uint32_t v = step.codePoint - 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (v >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(step.codePoint);
        }
        i += step.consumed;
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace s::str::utf8

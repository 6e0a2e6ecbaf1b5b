#include "image/IconChoice.h"

#include <algorithm>

namespace s::image {

namespace {

int sideOf(const FrameSize& frame)
{
    return std::max(frame.width, frame.height);
}

// Is a a better size for `wanted` than b?
bool betterSize(int a, int b, int wanted)
{
    if (wanted <= 0)
        return a > b;
    const bool aFits = a >= wanted;
    const bool bFits = b >= wanted;
    if (aFits != bFits)
        return aFits;
    return aFits ? a < b : a > b;
}

std::uint32_t readLe(std::span<const std::uint8_t> bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

void writeLe(std::vector<std::uint8_t>& out, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu));
}

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::uint32_t kIconType = 1;

}  // namespace

int chooseFrame(std::span<const FrameSize> frames, int wanted)
{
    int best = -1;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const FrameSize& f = frames[i];
        if (sideOf(f) <= 0)
            continue;
        if (best < 0) {
            best = static_cast<int>(i);
            continue;
        }
        const FrameSize& b = frames[static_cast<std::size_t>(best)];
        if (betterSize(sideOf(f), sideOf(b), wanted) || (sideOf(f) == sideOf(b) && f.bitCount > b.bitCount))
            best = static_cast<int>(i);
    }
    return best;
}

std::vector<IconGroupEntry> parseIconGroup(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize || readLe(bytes, 0, 2) != 0 || readLe(bytes, 2, 2) != kIconType)
        return {};
    const std::size_t count = readLe(bytes, 4, 2);
    if (bytes.size() < kHeaderSize + count * kGroupEntrySize)
        return {};
    std::vector<IconGroupEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + i * kGroupEntrySize;
        IconGroupEntry e;
        e.size.width = bytes[at] == 0 ? 256 : bytes[at];
        e.size.height = bytes[at + 1] == 0 ? 256 : bytes[at + 1];
        e.size.bitCount = static_cast<int>(readLe(bytes, at + 6, 2));
        e.byteCount = readLe(bytes, at + 8, 4);
        e.iconId = static_cast<int>(readLe(bytes, at + 12, 2));
        entries.push_back(e);
    }
    return entries;
}

std::vector<std::uint8_t> iconFileOf(const IconGroupEntry& entry, std::span<const std::uint8_t> picture)
{
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderSize + kFileEntrySize + picture.size());
    writeLe(out, 0, 2);
    writeLe(out, kIconType, 2);
    writeLe(out, 1, 2);
    // 256 and more are written as 0, as in the group directory.
    out.push_back(static_cast<std::uint8_t>(entry.size.width >= 256 ? 0 : entry.size.width));
    out.push_back(static_cast<std::uint8_t>(entry.size.height >= 256 ? 0 : entry.size.height));
    out.push_back(0);  // colour count: 0 for 8 bits and more
    out.push_back(0);
    writeLe(out, 1, 2);  // planes
    writeLe(out, static_cast<std::uint32_t>(entry.size.bitCount), 2);
    writeLe(out, static_cast<std::uint32_t>(picture.size()), 4);
    writeLe(out, static_cast<std::uint32_t>(kHeaderSize + kFileEntrySize), 4);
    out.insert(out.end(), picture.begin(), picture.end());
    return out;
}

}  // namespace s::image

// Which picture of an icon to use for a wanted size, and the byte layouts
// that carry icons: the icon group directory of a resource section
// (RT_GROUP_ICON) and the .ico file.
//
// An icon holds one picture per size (and sometimes per colour depth). The
// rule here is the one Windows applies when it loads an icon: the exact size
// if there is one, else the smallest larger picture (shrinking keeps detail,
// enlarging blurs), else the largest; among pictures of the chosen size the
// deepest colour, then the first. The platform-free parts are here so that
// they are tested on any host; decoding is in Codec_win.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace s::image {

struct FrameSize {
    int width = 0;
    int height = 0;
    int bitCount = 32;
};

// The index of the frame to use for `wanted` pixels (compared with the
// larger side of each frame); wanted <= 0 asks for the largest. -1 when
// there are no frames.
int chooseFrame(std::span<const FrameSize> frames, int wanted);

// One entry of an icon group: its size and depth and the id of the RT_ICON
// resource that holds the picture.
struct IconGroupEntry {
    FrameSize size;
    int iconId = 0;
    std::uint32_t byteCount = 0;
};

// The entries of an RT_GROUP_ICON resource (GRPICONDIR: a 6-byte header and
// 14-byte entries; a width or height byte of 0 means 256). Empty when the
// bytes are too short for the count they claim or are no icon group.
std::vector<IconGroupEntry> parseIconGroup(std::span<const std::uint8_t> bytes);

// An .ico file holding one picture: a 6-byte header, one 16-byte entry that
// gives the picture's offset instead of a resource id, then the picture as
// the RT_ICON resource holds it (a DIB of double height with its AND mask, or
// a PNG). Lets a decoder that reads .ico files read a resource's picture.
std::vector<std::uint8_t> iconFileOf(const IconGroupEntry& entry, std::span<const std::uint8_t> picture);

}  // namespace s::image

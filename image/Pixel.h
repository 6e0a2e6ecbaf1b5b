// Premultiplied alpha, one pixel (0xAARRGGBB) or a whole Image at a time.
//
// Windows keeps two conventions side by side: the colour bitmap of a 32-bit
// icon (GetIconInfo, the DIBs inside .ico files) holds straight colours with
// a separate alpha, while AlphaBlend with AC_SRC_ALPHA and WIC's 32bppPBGRA
// expect each colour already multiplied by its alpha. Passing straight
// colours to AlphaBlend brightens every translucent edge (a white fringe on
// a dark background), so every straight picture goes through premultiplied()
// before it becomes an Image.
#pragma once

#include <cstdint>

namespace s::image {

class Image;

// Each colour channel times alpha / 255, rounded to nearest.
std::uint32_t premultiplied(std::uint32_t straightArgb);

// The inverse, rounded to nearest and clamped to 255: fully transparent
// pixels become 0 (their colour is gone), a channel above its alpha (not a
// valid premultiplied pixel) becomes 255.
std::uint32_t straightened(std::uint32_t premultipliedArgb);

// Every pixel of the image through premultiplied().
void premultiplyAll(Image& image);

// True when no colour channel exceeds its pixel's alpha: the invariant of
// every premultiplied picture, and a cheap check that a decoder delivered
// premultiplied pixels.
bool isPremultiplied(const Image& image);

}  // namespace s::image

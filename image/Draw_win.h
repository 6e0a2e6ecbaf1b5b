// Drawing an Image into a device context with its alpha: the picture is
// blended over what the DC already shows (AlphaBlend with AC_SRC_ALPHA from
// a 32-bit DIB section, which takes premultiplied pixels as Image keeps
// them).
//
// Returns false, having drawn nothing, when the image is empty, the target
// has no area or GDI refuses (no memory for the DIB section).
#pragma once

#include "image/Image.h"

#include <windows.h>

namespace s::image {

// At its own size, the top-left corner at (x, y).
bool draw(HDC dc, const Image& image, int x, int y);

// Filling `target`: scaled with scaled() (WIC's Fant filter) when its size
// differs, since AlphaBlend's own stretching drops pixels and shows jagged
// edges when it shrinks.
bool draw(HDC dc, const Image& image, const RECT& target);

}  // namespace s::image

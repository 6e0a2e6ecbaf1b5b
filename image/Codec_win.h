// Decoding and scaling through the Windows Imaging Component (WIC), which
// every Windows since XP SP3 carries: JPEG, PNG, BMP, GIF, ICO, TIFF. The
// program ships no decoder of its own.
//
// Every function returns an empty Image on failure (bytes that are no
// picture, a damaged picture, a missing file, a side above Image::kMaxSide,
// no WIC) and never throws. Each call initialises COM for itself when the
// calling thread has not done so, so any thread may call.
#pragma once

#include "image/Image.h"

#include <cstdint>
#include <span>

namespace s::image {

// The picture in `bytes`, decoded to premultiplied BGRA. For formats with
// several frames the frame is chosen by chooseFrame() for `preferredSize`
// (ICO: the picture nearest the size; GIF: all frames have one size, so the
// first); preferredSize <= 0 takes the largest. The frame is not scaled.
Image decode(std::span<const std::uint8_t> bytes, int preferredSize = 0);

// The same for a file, read by path.
Image decodeFile(const char16_t* path, int preferredSize = 0);

// The picture at width x height through WIC's scaler in Fant mode (an area
// average, the best WIC has for shrinking). Empty when the source is empty or
// a side is not in 1 .. Image::kMaxSide. Wine's scaler ignores the mode and
// samples the nearest pixel; the size is right on both.
Image scaled(const Image& source, int width, int height);

}  // namespace s::image

// A picture in memory: 32-bit pixels, blue, green, red, alpha in that byte
// order (a little-endian 0xAARRGGBB), alpha premultiplied into the colours,
// rows top down. That is what the Windows Imaging Component hands out as
// 32bppPBGRA and what AlphaBlend wants from a DIB section with AC_SRC_ALPHA,
// so decoding and drawing copy rows and never convert.
//
// An Image owns its pixels and can only be moved. An empty Image (no pixels,
// width and height 0) is what every failed decode, scale or load returns; a
// moved-from Image is empty too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace s::image {

class Image {
public:
    // The largest side accepted. A picture file can claim any size in its
    // header; this keeps a damaged or hostile one from asking for gigabytes.
    static constexpr int kMaxSide = 16384;

    Image() = default;
    // Transparent black pixels (all bytes 0); empty when a side is not in
    // 1 .. kMaxSide.
    Image(int width, int height);

    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Bytes from one row to the next: always width * 4.
    int stride() const { return m_width * 4; }
    bool empty() const { return m_pixels.empty(); }
    explicit operator bool() const { return !empty(); }

    std::uint8_t* data() { return reinterpret_cast<std::uint8_t*>(m_pixels.data()); }
    const std::uint8_t* data() const { return reinterpret_cast<const std::uint8_t*>(m_pixels.data()); }
    std::size_t byteSize() const { return m_pixels.size() * 4; }

    // One pixel as 0xAARRGGBB, premultiplied. Outside the picture: 0.
    std::uint32_t pixel(int x, int y) const;
    // Ignored outside the picture.
    void setPixel(int x, int y, std::uint32_t premultipliedArgb);

private:
    std::vector<std::uint32_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace s::image

#include "image/Image.h"

#include <utility>

namespace s::image {

Image::Image(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return;
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    m_width = width;
    m_height = height;
}

Image::Image(Image&& other) noexcept
    : m_pixels(std::move(other.m_pixels)), m_width(std::exchange(other.m_width, 0)),
      m_height(std::exchange(other.m_height, 0))
{
    other.m_pixels.clear();
}

Image& Image::operator=(Image&& other) noexcept
{
    if (this != &other) {
        m_pixels = std::move(other.m_pixels);
        other.m_pixels.clear();
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
    }
    return *this;
}

std::uint32_t Image::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void Image::setPixel(int x, int y, std::uint32_t premultipliedArgb)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] =
        premultipliedArgb;
}

}  // namespace s::image

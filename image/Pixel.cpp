#include "image/Pixel.h"

#include "image/Image.h"

namespace s::image {

namespace {

std::uint32_t channel(std::uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFFu;
}

}  // namespace

std::uint32_t premultiplied(std::uint32_t straightArgb)
{
    const std::uint32_t a = channel(straightArgb, 24);
    std::uint32_t out = a << 24;
    for (int shift : {16, 8, 0})
        out |= ((channel(straightArgb, shift) * a + 127u) / 255u) << shift;
    return out;
}

std::uint32_t straightened(std::uint32_t premultipliedArgb)
{
    const std::uint32_t a = channel(premultipliedArgb, 24);
    if (a == 0)
        return 0;
    std::uint32_t out = a << 24;
    for (int shift : {16, 8, 0}) {
        const std::uint32_t c = (channel(premultipliedArgb, shift) * 255u + a / 2u) / a;
        out |= (c > 255u ? 255u : c) << shift;
    }
    return out;
}

void premultiplyAll(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, premultiplied(image.pixel(x, y)));
}

bool isPremultiplied(const Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t p = image.pixel(x, y);
            const std::uint32_t a = channel(p, 24);
            if (channel(p, 16) > a || channel(p, 8) > a || channel(p, 0) > a)
                return false;
        }
    return true;
}

}  // namespace s::image

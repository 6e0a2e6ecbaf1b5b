// The picture buffer and premultiplied alpha, on any host.
#include "image/Image.h"
#include "image/Pixel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace s::image {
namespace {

TEST(Image, NewImageIsTransparentWithRowsOfFourBytesPerPixel)
{
    Image image(3, 2);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.width(), 3);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.stride(), 12);
    EXPECT_EQ(image.byteSize(), 24u);
    for (std::size_t i = 0; i < image.byteSize(); ++i)
        EXPECT_EQ(image.data()[i], 0) << "byte " << i;
}

TEST(Image, SizesOutsideTheLimitsGiveAnEmptyImage)
{
    struct Case {
        int width, height;
    };
    for (const Case& c : {Case{0, 5}, Case{5, 0}, Case{-1, 5}, Case{5, -3}, Case{Image::kMaxSide + 1, 1},
                          Case{1, Image::kMaxSide + 1}}) {
        Image image(c.width, c.height);
        EXPECT_TRUE(image.empty()) << c.width << " x " << c.height;
        EXPECT_EQ(image.width(), 0) << c.width << " x " << c.height;
        EXPECT_EQ(image.height(), 0) << c.width << " x " << c.height;
        EXPECT_EQ(image.stride(), 0) << c.width << " x " << c.height;
    }
    EXPECT_FALSE(Image(Image::kMaxSide, 1).empty());
}

// Pixels are BGRA bytes in memory, the layout WIC and AlphaBlend share.
TEST(Image, PixelIsStoredAsBlueGreenRedAlphaRowByRow)
{
    Image image(2, 2);
    image.setPixel(1, 1, 0x80402010u);
    const std::uint8_t* p = image.data() + image.stride() + 4;
    EXPECT_EQ(p[0], 0x10);
    EXPECT_EQ(p[1], 0x20);
    EXPECT_EQ(p[2], 0x40);
    EXPECT_EQ(p[3], 0x80);
    EXPECT_EQ(image.pixel(1, 1), 0x80402010u);
    EXPECT_EQ(image.pixel(0, 1), 0u);
}

TEST(Image, OutsideThePictureReadsZeroAndWritesNothing)
{
    Image image(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixel(x, y, 0xFFFFFFFFu);
    struct Case {
        int x, y;
    };
    for (const Case& c : {Case{-1, 0}, Case{0, -1}, Case{2, 0}, Case{0, 2}}) {
        image.setPixel(c.x, c.y, 0x12345678u);
        EXPECT_EQ(image.pixel(c.x, c.y), 0u) << c.x << "," << c.y;
    }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(image.pixel(x, y), 0xFFFFFFFFu) << x << "," << y;
}

TEST(Image, MoveHandsThePixelsOverAndLeavesTheSourceEmpty)
{
    Image a(4, 3);
    a.setPixel(3, 2, 0xFF0000FFu);
    Image b(std::move(a));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.width(), 0);
    EXPECT_EQ(a.height(), 0);
    EXPECT_EQ(b.width(), 4);
    EXPECT_EQ(b.pixel(3, 2), 0xFF0000FFu);

    Image c(1, 1);
    c = std::move(b);
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(b.width(), 0);
    EXPECT_EQ(c.width(), 4);
    EXPECT_EQ(c.height(), 3);
    EXPECT_EQ(c.pixel(3, 2), 0xFF0000FFu);
}

struct PixelCase {
    std::uint32_t straight;
    std::uint32_t premultiplied;
};

// Rounded to nearest: 255 * 128 / 255 = 128, 255 * 64 / 255 = 64,
// 1 * 128 / 255 = 0.502 -> 1, 100 * 128 / 255 = 50.2 -> 50.
const PixelCase kPixels[] = {
    {0xFFFF8000u, 0xFFFF8000u},  // opaque: unchanged
    {0x00FFFFFFu, 0x00000000u},  // transparent: black
    {0x80FFFFFFu, 0x80808080u}, {0x40FF0000u, 0x40400000u}, {0x80016400u, 0x80013200u}, {0x01FFFFFFu, 0x01010101u},
};

TEST(Pixel, PremultipliedRoundsEachColourTimesAlpha)
{
    for (const PixelCase& c : kPixels)
        EXPECT_EQ(premultiplied(c.straight), c.premultiplied) << std::hex << "straight 0x" << c.straight;
}

TEST(Pixel, StraightenedDividesByAlphaRoundedAndClamped)
{
    // 64 * 255 / 128 = 127.5 -> 128; 96 * 255 / 128 = 191.25 -> 191.
    const PixelCase cases[] = {
        {0x80FFFFFFu, 0x80808080u}, {0x40FF0000u, 0x40400000u}, {0x8080BFFFu, 0x80406080u},
        {0xFF102030u, 0xFF102030u}, {0x00000000u, 0x00123456u},  // transparent: the colour is gone
        {0x40FF0000u, 0x40FF0000u},                              // a colour above its alpha: clamped
    };
    for (const PixelCase& c : cases)
        EXPECT_EQ(straightened(c.premultiplied), c.straight) << std::hex << "premultiplied 0x" << c.premultiplied;
}

TEST(Pixel, EveryStraightPixelPremultipliesIntoAValidPixelThatRoundTripsWithinOneStep)
{
    for (std::uint32_t a = 1; a < 256; a += 3)
        for (std::uint32_t c = 0; c < 256; c += 5) {
            const std::uint32_t straight = (a << 24) | (c << 16) | (c << 8) | c;
            const std::uint32_t p = premultiplied(straight);
            ASSERT_LE((p >> 16) & 0xFFu, a) << "alpha " << a << " colour " << c;
            // Premultiplying loses up to 255 / (2 * alpha) steps of colour.
            const std::uint32_t back = (straightened(p) >> 16) & 0xFFu;
            const std::uint32_t error = back > c ? back - c : c - back;
            ASSERT_LE(error, 255u / (2u * a) + 1u) << "alpha " << a << " colour " << c;
        }
}

TEST(Pixel, PremultiplyAllConvertsEveryPixelAndMakesTheImagePremultiplied)
{
    Image image(2, 2);
    image.setPixel(0, 0, 0x80FFFFFFu);
    image.setPixel(1, 0, 0xFF102030u);
    image.setPixel(0, 1, 0x00FFFFFFu);
    image.setPixel(1, 1, 0x40FF0000u);
    EXPECT_FALSE(isPremultiplied(image));
    premultiplyAll(image);
    EXPECT_EQ(image.pixel(0, 0), 0x80808080u);
    EXPECT_EQ(image.pixel(1, 0), 0xFF102030u);
    EXPECT_EQ(image.pixel(0, 1), 0u);
    EXPECT_EQ(image.pixel(1, 1), 0x40400000u);
    EXPECT_TRUE(isPremultiplied(image));
}

TEST(Pixel, IsPremultipliedFindsAnyChannelAboveItsAlpha)
{
    for (std::uint32_t bad : {0x80810000u, 0x80008100u, 0x80000081u, 0x00000001u}) {
        Image image(3, 1);
        image.setPixel(0, 0, 0xFFFFFFFFu);
        image.setPixel(2, 0, bad);
        EXPECT_FALSE(isPremultiplied(image)) << std::hex << "0x" << bad;
    }
    EXPECT_TRUE(isPremultiplied(Image()));
}

}  // namespace
}  // namespace s::image

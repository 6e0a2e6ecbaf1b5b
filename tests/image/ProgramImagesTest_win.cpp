// The program's own pictures and icon, read from the resource script linked
// into this test binary as into the program.
#include "image/Pixel.h"
#include "image/ProgramImages_win.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <set>

namespace s::image {
namespace {

unsigned red(std::uint32_t p)
{
    return (p >> 16) & 0xFFu;
}
unsigned green(std::uint32_t p)
{
    return (p >> 8) & 0xFFu;
}
unsigned blue(std::uint32_t p)
{
    return p & 0xFFu;
}
unsigned alpha(std::uint32_t p)
{
    return p >> 24;
}

TEST(ProgramPictures, DecodeAtTheirSizesOpaqueAndVaried)
{
    struct Case {
        int id;
        int width, height;
    };
    for (const Case& c : {Case{IDR_JPG_BANNER, 700, 230}, Case{IDR_JPG_UPRIGHT, 230, 700}}) {
        const Image image = loadPicture(c.id);
        ASSERT_EQ(image.width(), c.width) << "picture " << c.id;
        ASSERT_EQ(image.height(), c.height) << "picture " << c.id;
        std::set<std::uint32_t> colours;
        bool opaque = true;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3) {
                colours.insert(image.pixel(x, y));
                opaque = opaque && alpha(image.pixel(x, y)) == 255;
            }
        EXPECT_TRUE(opaque) << "picture " << c.id << ": a JPEG has no transparency";
        // A gradient with text and a drawing: hundreds of colours.
        EXPECT_GT(colours.size(), 200u) << "picture " << c.id;
        // The corner where the gradient starts is the mark's teal: more green
        // and blue than red.
        const std::uint32_t corner = image.pixel(2, 2);
        EXPECT_GT(green(corner), red(corner) + 40) << "picture " << c.id << " corner " << std::hex << corner;
        EXPECT_GT(blue(corner), red(corner) + 40) << "picture " << c.id << " corner " << std::hex << corner;
    }
}

TEST(ProgramPictures, MissingPictureGivesAnEmptyImage)
{
    // 133: no such picture; 128: the icon group, not a picture.
    for (int id : {133, IDI_APPLICATION_ICON, 0})
        EXPECT_TRUE(loadPicture(id).empty()) << "resource " << id;
}

TEST(ProgramIcon, EverySizeComesOutExactWithATransparentCornerAndAnOpaqueMiddle)
{
    // 20 and 40 are not in the icon: chosen from 24 and 48 and scaled.
    for (int size : {16, 24, 32, 48, 64, 128, 256, 20, 40}) {
        const Image image = loadIconPicture(IDI_APPLICATION_ICON, size);
        ASSERT_EQ(image.width(), size) << "size " << size;
        ASSERT_EQ(image.height(), size) << "size " << size;
        EXPECT_TRUE(isPremultiplied(image)) << "size " << size;
        // The mark is a disc: the corners are outside it.
        EXPECT_EQ(alpha(image.pixel(0, 0)), 0u) << "size " << size;
        EXPECT_EQ(alpha(image.pixel(size - 1, size - 1)), 0u) << "size " << size;
        const std::uint32_t edge = image.pixel(size / 2, size / 10 + 2);
        EXPECT_EQ(alpha(edge), 255u) << "size " << size;
        EXPECT_GT(green(edge), red(edge)) << "size " << size << ": teal near the top";
    }
}

TEST(ProgramIcon, MissingGroupOrSizeGivesNothing)
{
    EXPECT_TRUE(loadIconPicture(127, 32).empty());
    EXPECT_TRUE(loadIconPicture(IDI_APPLICATION_ICON, 0).empty());
    EXPECT_TRUE(loadIconPicture(IDI_APPLICATION_ICON, -16).empty());
    EXPECT_FALSE(loadIcon(127, 32));
    EXPECT_FALSE(loadIcon(IDI_APPLICATION_ICON, 0));
}

TEST(ProgramIcon, IconHandleHasTheRequestedSize)
{
    for (int size : {16, 32, 64, 128, 256}) {
        IconHandle icon = loadIcon(IDI_APPLICATION_ICON, size);
        ASSERT_TRUE(icon) << "size " << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << "size " << size;
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size) << "size " << size;
        EXPECT_EQ(colour.bmHeight, size) << "size " << size;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

}  // namespace
}  // namespace s::image

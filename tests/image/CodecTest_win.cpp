// Decoding, scaling and drawing through WIC and GDI, under Wine or Windows.
// The sample pictures (tests/image/samples, made by make_samples.py) have
// known pixels; the test binary carries them as resources of type
// "IDR_SAMPLE".
#include "image/Codec_win.h"
#include "image/Draw_win.h"
#include "image/Pixel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace s::image {
namespace {

enum Sample { kRgbaPng = 9201, kGray16Png, kFramesIco, kPaletteGif, kPlainBmp };

std::span<const std::uint8_t> sample(Sample id)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"IDR_SAMPLE");
    if (!found)
        return {};
    const void* data = LockResource(LoadResource(nullptr, found));
    return {static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, found)};
}

std::string hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// (Not "near": windows.h defines near and far as empty macros.)
// Channel by channel within `tolerance` (decoders may round a
// premultiplication differently by one step).
bool similar(std::uint32_t a, std::uint32_t b, std::uint32_t tolerance)
{
    for (int shift : {24, 16, 8, 0}) {
        const std::uint32_t x = (a >> shift) & 0xFFu, y = (b >> shift) & 0xFFu;
        if ((x > y ? x - y : y - x) > tolerance)
            return false;
    }
    return true;
}

struct Probe {
    int x, y;
    std::uint32_t pixel;
};

struct DecodeCase {
    const char* name;
    Sample sample;
    int width, height;
    std::vector<Probe> probes;
};

const DecodeCase kDecodes[] = {
    {"rgba.png",
     kRgbaPng,
     4,
     2,
     {{0, 0, 0xFFFF0000u},
      {1, 0, 0x80008000u},  // green at half alpha, premultiplied
      {2, 0, 0x00000000u},  // transparent white: nothing
      {3, 0, 0xFF0000FFu},
      {0, 1, 0xFFFFFFFFu},
      {1, 1, 0xFF000000u},
      {2, 1, 0x40400000u},
      {3, 1, 0xFF0A141Eu}}},
    {"gray16.png", kGray16Png, 3, 1, {{0, 0, 0xFF000000u}, {1, 0, 0xFF808080u}, {2, 0, 0xFFFFFFFFu}}},
    {"frames.ico (the largest: 256 as PNG)", kFramesIco, 256, 256, {{0, 0, 0xFFFFFF00u}, {255, 255, 0xFFFFFF00u}}},
    {"palette.gif", kPaletteGif, 5, 3, {{0, 0, 0xFF00FFFFu}, {4, 2, 0xFFFF00FFu}, {3, 2, 0xFF00FFFFu}}},
    {"plain.bmp", kPlainBmp, 6, 4, {{0, 0, 0xFFFF0000u}, {1, 0, 0xFF808080u}, {5, 3, 0xFF808080u}}},
};

void expectDecoded(const Image& image, const DecodeCase& c, const char* how)
{
    ASSERT_EQ(image.width(), c.width) << c.name << " " << how;
    ASSERT_EQ(image.height(), c.height) << c.name << " " << how;
    EXPECT_TRUE(isPremultiplied(image)) << c.name << " " << how;
    for (const Probe& p : c.probes)
        EXPECT_TRUE(similar(image.pixel(p.x, p.y), p.pixel, 1))
            << c.name << " " << how << " at " << p.x << "," << p.y << ": " << hex(image.pixel(p.x, p.y))
            << ", expected " << hex(p.pixel);
}

TEST(Decode, EachFormatFromMemoryGivesItsSizeAndPremultipliedPixels)
{
    for (const DecodeCase& c : kDecodes) {
        ASSERT_FALSE(sample(c.sample).empty()) << c.name;
        expectDecoded(decode(sample(c.sample)), c, "from memory");
    }
}

// A file in the prefix's temporary folder, removed at the end.
class TempFile {
public:
    explicit TempFile(std::span<const std::uint8_t> bytes)
    {
        wchar_t folder[MAX_PATH];
        wchar_t path[MAX_PATH];
        if (GetTempPathW(MAX_PATH, folder) && GetTempFileNameW(folder, L"img", 0, path)) {
            m_path = path;
            HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            if (file != INVALID_HANDLE_VALUE) {
                WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
                CloseHandle(file);
            }
        }
    }
    ~TempFile()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char16_t* path() const { return reinterpret_cast<const char16_t*>(m_path.c_str()); }

private:
    std::wstring m_path;
};

TEST(Decode, EachFormatFromAFileGivesTheSamePixels)
{
    for (const DecodeCase& c : kDecodes) {
        TempFile file(sample(c.sample));
        expectDecoded(decodeFile(file.path()), c, "from a file");
    }
}

TEST(Decode, IconFrameNearestTheWantedSize)
{
    struct Case {
        int wanted;
        int side;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {16, 16, 0xFFFF0000u},   {32, 32, 0xFF00FF00u},   {48, 48, 0xFF0000FFu},
        {256, 256, 0xFFFFFF00u}, {20, 32, 0xFF00FF00u},   {40, 48, 0xFF0000FFu},
        {100, 256, 0xFFFFFF00u}, {999, 256, 0xFFFFFF00u}, {1, 16, 0xFFFF0000u},
    };
    for (const Case& c : cases) {
        const Image image = decode(sample(kFramesIco), c.wanted);
        EXPECT_EQ(image.width(), c.side) << "wanted " << c.wanted;
        EXPECT_EQ(image.height(), c.side) << "wanted " << c.wanted;
        EXPECT_EQ(image.pixel(c.side / 2, c.side / 2), c.colour) << "wanted " << c.wanted;
    }
}

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> bytes, std::size_t count)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, bytes.size()))};
}

TEST(Decode, CorruptOrMissingPicturesGiveAnEmptyImage)
{
    const std::span<const std::uint8_t> png = sample(kRgbaPng);
    const std::span<const std::uint8_t> ico = sample(kFramesIco);
    // The program's banner, linked in with the resource script.
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(131), L"IDR_JPG");
    ASSERT_NE(found, nullptr);
    const std::span<const std::uint8_t> jpeg(
        static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found))), SizeofResource(nullptr, found));
    std::vector<std::uint8_t> icoPastTheEnd = bytesOf(ico, 6 + 16);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"no bytes", {}},
        {"text", {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
        {"PNG signature alone", bytesOf(png, 8)},
        {"PNG cut inside its pixel data", bytesOf(png, png.size() - 20)},
        {"ICO directory whose picture lies past the end", icoPastTheEnd},
        {"BMP header alone", bytesOf(sample(kPlainBmp), 14)},
        {"JPEG cut in half", bytesOf(jpeg, jpeg.size() / 2)},
        {"JPEG header alone", bytesOf(jpeg, 600)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(decode(c.bytes).empty()) << c.what;
        EXPECT_TRUE(decode(c.bytes, 32).empty()) << c.what << ", size 32";
    }
    EXPECT_TRUE(decodeFile(u"C:\\no such folder\\none.png").empty());
    EXPECT_TRUE(decodeFile(u"").empty());
    EXPECT_TRUE(decodeFile(nullptr).empty());
}

Image solid(int width, int height, std::uint32_t colour)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colour);
    return image;
}

// Sizes only, and solid colours: Wine's scaler samples the nearest pixel
// whatever mode it is asked for, so filtered pixels differ from Windows'.
TEST(Scale, GivesTheRequestedSizeAndKeepsASolidColour)
{
    struct Case {
        int fromW, fromH, toW, toH;
    };
    for (const Case& c : {Case{4, 2, 8, 4}, Case{4, 2, 2, 1}, Case{700, 230, 350, 115}, Case{256, 256, 64, 64},
                          Case{16, 16, 256, 256}, Case{3, 5, 1, 1}, Case{10, 10, 10, 10}}) {
        const Image image = scaled(solid(c.fromW, c.fromH, 0x80402000u), c.toW, c.toH);
        const std::string row = std::to_string(c.fromW) + "x" + std::to_string(c.fromH) + " -> " +
                                std::to_string(c.toW) + "x" + std::to_string(c.toH);
        ASSERT_EQ(image.width(), c.toW) << row;
        ASSERT_EQ(image.height(), c.toH) << row;
        for (Probe p : {Probe{0, 0, 0}, Probe{c.toW - 1, c.toH - 1, 0}, Probe{c.toW / 2, c.toH / 2, 0}})
            EXPECT_TRUE(similar(image.pixel(p.x, p.y), 0x80402000u, 1))
                << row << " at " << p.x << "," << p.y << ": " << hex(image.pixel(p.x, p.y));
    }
}

TEST(Scale, EmptySourceOrSizeGivesAnEmptyImage)
{
    const Image source = solid(4, 4, 0xFFFFFFFFu);
    EXPECT_TRUE(scaled(Image(), 4, 4).empty());
    EXPECT_TRUE(scaled(source, 0, 4).empty());
    EXPECT_TRUE(scaled(source, 4, -1).empty());
    EXPECT_TRUE(scaled(source, Image::kMaxSide + 1, 4).empty());
}

// A 32-bit DIB section selected into a memory DC, its pixels readable
// directly; filled with opaque white.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<std::uint32_t*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < width * height; ++i)
            m_bits[i] = 0xFFFFFFFFu;
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return m_dc; }
    // The colour only: what AlphaBlend leaves in a destination's alpha byte
    // is not part of what the screen shows.
    std::uint32_t rgb(int x, int y) const
    {
        GdiFlush();  // GDI may batch; the bits are current only after a flush
        return m_bits[y * m_width + x] & 0xFFFFFFu;
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
};

TEST(Draw, BlendsPremultipliedPixelsOverTheDc)
{
    const Image image = decode(sample(kRgbaPng));
    ASSERT_FALSE(image.empty());
    Canvas canvas(8, 6);
    ASSERT_TRUE(draw(canvas.dc(), image, 2, 3));
    // Over white: half-transparent green gives (127, 255, 127); alpha 64 red
    // gives (255, 191, 191); transparent leaves white.
    const Probe probes[] = {
        {1, 3, 0xFFFFFFu}, {2, 3, 0xFF0000u}, {3, 3, 0x7FFF7Fu}, {4, 3, 0xFFFFFFu},
        {5, 3, 0x0000FFu}, {2, 4, 0xFFFFFFu}, {3, 4, 0x000000u}, {4, 4, 0xFFBFBFu},
        {5, 4, 0x0A141Eu}, {6, 4, 0xFFFFFFu}, {2, 5, 0xFFFFFFu},
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(similar(canvas.rgb(p.x, p.y), p.pixel, 2))
            << "at " << p.x << "," << p.y << ": " << hex(canvas.rgb(p.x, p.y)) << ", expected " << hex(p.pixel);
}

TEST(Draw, IntoARectangleScalesToFillIt)
{
    Canvas canvas(10, 10);
    const RECT target{1, 2, 9, 6};
    ASSERT_TRUE(draw(canvas.dc(), solid(2, 2, 0xFF0000FFu), target));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= target.left && x < target.right && y >= target.top && y < target.bottom;
            EXPECT_EQ(canvas.rgb(x, y), inside ? 0x0000FFu : 0xFFFFFFu) << "at " << x << "," << y;
        }
}

TEST(Draw, NothingToDrawIsRefused)
{
    Canvas canvas(4, 4);
    EXPECT_FALSE(draw(canvas.dc(), Image(), 0, 0));
    EXPECT_FALSE(draw(canvas.dc(), solid(2, 2, 0xFF000000u), RECT{2, 2, 2, 4}));
    EXPECT_FALSE(draw(nullptr, solid(2, 2, 0xFF000000u), 0, 0));
    EXPECT_EQ(canvas.rgb(2, 2), 0xFFFFFFu);
}

}  // namespace
}  // namespace s::image

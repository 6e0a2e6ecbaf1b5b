#include "image/Draw_win.h"

#include "image/Codec_win.h"

#include <cstring>

namespace s::image {

bool draw(HDC dc, const Image& image, int x, int y)
{
    if (!dc || image.empty())
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width();
    // A negative height makes the DIB top down, as Image keeps its rows.
    info.bmiHeader.biHeight = -image.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return false;
    // A 32-bit DIB's rows are DWORD aligned, so its stride is width * 4, the
    // same as the Image's: one copy moves every row.
    std::memcpy(bits, image.data(), image.byteSize());
    bool drawn = false;
    if (HDC memory = CreateCompatibleDC(dc)) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        drawn = AlphaBlend(dc, x, y, image.width(), image.height(), memory, 0, 0, image.width(), image.height(),
                           blend) != FALSE;
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
    return drawn;
}

bool draw(HDC dc, const Image& image, const RECT& target)
{
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0)
        return false;
    if (width == image.width() && height == image.height())
        return draw(dc, image, target.left, target.top);
    return draw(dc, scaled(image, width, height), target.left, target.top);
}

}  // namespace s::image

// A demo frame with every element the skin painter draws (push buttons in
// their five states, the three check states, a progress bar, a group border,
// outlined text, a list header and rows with the alternate background), shown
// in a few skins at scale 1 and 2. Each view is copied from the screen into a
// BMP file in the folder given as the only argument; scripts/screenshot turns
// them into PNGs for people to look at.
#include "gui/PaintBox_win.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace s::gui;
using namespace s::gui::drawer;

namespace {

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The screen DC, not PrintWindow: under Wine PrintWindow leaves the child
// windows out.
bool saveWindow(HWND hwnd, const std::string& path)
{
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    WindowDc screen(nullptr);
    MemoryDc copy(screen.get(), width, height);
    if (!copy.isValid())
        return false;
    BitBlt(copy.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files store rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(copy.get(), OBJ_BITMAP));
    if (!GetDIBits(copy.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
        return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                         std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                         std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

void paintDemo(SkinPainter& painter, HDC dc, const RECT&)
{
    const int s = painter.scale();
    const auto box = [s](int x, int y, int w, int h) {
        return RECT{x * s, y * s, (x + w) * s, (y + h) * s};
    };
    const struct {
        ButtonState state;
        const wchar_t* text;
    } buttons[] = {{ButtonState::normal, L"Normal"},
                   {ButtonState::hot, L"Hot"},
                   {ButtonState::pressed, L"Pressed"},
                   {ButtonState::disabled, L"Disabled"},
                   {ButtonState::focused, L"Focused"}};
    int x = 10;
    for (const auto& button : buttons) {
        painter.drawButton(dc, box(x, 10, 74, 24), button.text, button.state);
        x += 80;
    }
    painter.drawCheckBox(dc, box(10, 44, 110, 20), L"Unchecked", CheckState::unchecked);
    painter.drawCheckBox(dc, box(130, 44, 110, 20), L"Checked", CheckState::checked);
    painter.drawCheckBox(dc, box(250, 44, 110, 20), L"Partial", CheckState::partial);
    painter.drawCheckBox(dc, box(370, 44, 110, 20), L"Disabled", CheckState::checked, false);
    painter.drawProgress(dc, box(10, 72, 300, 16), 60);
    painter.drawGroupBorder(dc, box(320, 70, 160, 22));
    painter.drawText(dc, box(326, 70, 150, 22), L"Outlined text", painter.colour(SkinColour::text),
                     DT_SINGLELINE | DT_VCENTER | DT_LEFT, Outline::skinOutline);

    painter.drawHeaderCell(dc, box(10, 100, 250, 22), L"Target");
    painter.drawHeaderCell(dc, box(260, 100, 110, 22), L"Found");
    painter.drawHeaderCell(dc, box(370, 100, 110, 22), L"Size");
    const wchar_t* rows[] = {L"Windows Temp Files", L"Internet Cache",  L"Recent Documents",
                             L"Recycle Bin",        L"Thumbnail Cache", L"Log Files"};
    for (int i = 0; i < 6; ++i)
        painter.drawListRow(dc, box(10, 122 + 20 * i, 470, 20), rows[i], i, true);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gui_demo <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    Skinner skins;
    const char* const names[] = {"Classic LG", "White", "Black"};
    int failures = 0;
    for (const char* name : names) {
        const std::u16string name16(name, name + std::char_traits<char>::length(name));
        skins.selectSkin(skins.skin(skins.findSkin(name16)));
        for (int scale : {1, 2}) {
            SkinnedFrame frame;
            FrameArgs args;
            args.caption = L"Oxle Purgo";
            args.icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
            args.scale = scale;
            args.x = 0;
            args.y = 0;
            args.width = 500 * scale;
            args.height = 300 * scale;
            args.skins = &skins;
            args.menus = {{L"View", {}}, {L"About", {}}};
            if (!frame.create(args))
                return 1;
            PaintBox content(frame.painter());
            content.onPaint = paintDemo;
            const Box area = frame.layout().content();
            content.create({frame.hwnd(), scale, area.top, area.width() - 2 * scale, area.height() - scale, 1});
            frame.show();
            pump();
            Sleep(200);
            pump();
            std::string file = name;
            for (char& c : file)
                c = c == ' ' ? '-' : c;
            file = folder + "\\" + file + "-x" + std::to_string(scale) + ".bmp";
            if (!saveWindow(frame.hwnd(), file)) {
                std::fprintf(stderr, "could not save %s\n", file.c_str());
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}

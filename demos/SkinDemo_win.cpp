// A demo frame with every element the skin painter draws (push buttons in
// their five states, the three check states, a progress bar, a group border,
// outlined text, a list header and rows with the alternate background), a
// frame with the toolkit's controls (labels, a link, check boxes, pictures,
// a progress bar, a group with a text box and a drop-down list, the overlay
// panel) and the Yes/No question, shown in a few skins at scale 1 and 2. Each
// view is copied from the screen into a BMP file in the folder given as the
// only argument; scripts/screenshot turns them into PNGs for people to look
// at.
#include "base/XmlNode.h"
#include "gui/Button_win.h"
#include "gui/CheckBox_win.h"
#include "gui/DropDownList_win.h"
#include "gui/Label_win.h"
#include "gui/OverlayPanel_win.h"
#include "gui/PaintBox_win.h"
#include "gui/PictureButton_win.h"
#include "gui/ProgressBar_win.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "gui/TextBox_win.h"
#include "gui/dialogs/FlexAsker_win.h"
#include "lang/Localizer.h"
#include "tests/support/MessagePump_win.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace s::gui;
using namespace s::gui::drawer;

namespace {

using testing_platform::pumpPending;

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
    const Scale s = painter.scale();
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
    painter.drawCheckBox(dc, box(10, 44, 110, 20), L"Unchecked", CheckState::Unchecked);
    painter.drawCheckBox(dc, box(130, 44, 110, 20), L"Checked", CheckState::Checked);
    painter.drawCheckBox(dc, box(250, 44, 110, 20), L"Partial", CheckState::Partial);
    painter.drawCheckBox(dc, box(370, 44, 110, 20), L"Disabled", CheckState::Checked, false);
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

// The texts the question window takes from the language table.
const char kTable[] = R"(<lang>
  <languages><entry tagName="eng" engName="English" trueName="English"/></languages>
  <entries>
    <entry id="400330"><eng>&#160;      Yes      &#160;</eng></entry>
    <entry id="400340"><eng>&#160;      No      &#160;</eng></entry>
    <entry id="400380"><eng>Don't ask me again</eng></entry>
    <entry id="800000"><eng>Collecting Information...</eng></entry>
  </entries>
</lang>)";

std::string fileName(const std::string& folder, const char* skin, const char* view, int scale)
{
    std::string file = skin;
    for (char& c : file)
        c = c == ' ' ? '-' : c;
    return folder + "\\" + file + view + "-x" + std::to_string(scale) + ".bmp";
}

// The toolkit's controls in one frame.
// The title bar's two menus, empty: the screenshots show the bar only.
s::gui::menu::MenuModel& titleMenus()
{
    static s::gui::menu::MenuModel model(nullptr);
    if (model.root().items.empty()) {
        for (const char16_t* title : {u"View", u"About"}) {
            s::gui::menu::MenuItem menu = s::gui::menu::MenuItem::submenu(0);
            menu.text = title;
            model.add(std::move(menu));
        }
    }
    return model;
}

bool saveControls(Skinner& skins, s::lang::Localizer& localizer, int s, const std::string& file)
{
    SkinnedFrame frame;
    FrameArgs args;
    args.caption = L"Oxle Purgo - controls";
    args.scale = s;
    args.x = 0;
    args.y = 0;
    args.width = 500 * s;
    args.height = 320 * s;
    args.skins = &skins;
    args.menus = &titleMenus();
    if (!frame.create(args))
        return false;
    SkinPainter& painter = frame.painter();
    HWND parent = frame.hwnd();
    const int top = frame.layout().content().top;
    const auto y = [top, s](int at) {
        return top + at * s;
    };

    Label heading(painter);
    heading.create({parent, Caption::text(L"12 (3.40 MB) items found"), 10 * s, y(8), 230 * s, 20 * s, 0,
                    TextAlign::left, Outline::skinOutline, FontWeight::bold});
    LinkLabel link(painter);
    link.create({parent, Caption::text(L"Is this freeware useful?"), 260 * s, y(8), 220 * s, 20 * s});
    CheckBox two(painter);
    two.create({parent, Caption::text(L"Show only Related"), 10 * s, y(36), 150 * s, 20 * s, 0, CheckStates::two,
                CheckBox::CheckState::Checked});
    CheckBox three(painter);
    three.create({parent, Caption::text(L"Partly chosen"), 170 * s, y(36), 130 * s, 20 * s, 0, CheckStates::three,
                  CheckBox::CheckState::Partial});
    CheckBox off(painter);
    off.create({parent, Caption::text(L"Off"), 310 * s, y(36), 80 * s, 20 * s});
    PictureButton plus(painter);
    plus.create({parent, Picture::plus, L"Add", 400 * s, y(39), 14 * s, 14 * s});
    PictureButton cross(painter);
    cross.create({parent, Picture::cross, L"Close", 424 * s, y(39), 14 * s, 14 * s});
    ProgressBar progress(painter);
    progress.create({parent, 10 * s, y(66), 470 * s, 16 * s});
    progress.setRange(0, 134);
    progress.setPosition(90);
    GroupBox group(painter);
    group.create({parent, Caption::text(L"Custom Target"), 10 * s, y(92), 470 * s, 100 * s});
    const RECT inner = group.inner();
    TextBox path(painter);
    path.create({group.hwnd(), L"C:\\Temp\\*.log", inner.left, inner.top, 260 * s, 0});
    DropDownList kind(painter);
    kind.create({group.hwnd(), {L"File", L"Folder", L"Registry key"}, 1, inner.left + 270 * s, inner.top, 170 * s});
    Button browse(painter);
    browse.create({group.hwnd(), L"Browse...", inner.left, inner.top + 34 * s, 90 * s, 24 * s});
    Label list(painter);
    list.create({parent, Caption::text(L""), 10 * s, y(200), 470 * s, 60 * s});
    OverlayPanel panel(painter, &localizer);
    panel.create({parent, Caption::language(800000), 0, 0, 200 * s, 40 * s});
    panel.centreOn(RECT{10 * s, y(200), 480 * s, y(260)});
    panel.show();
    frame.show();
    pumpPending();
    Sleep(200);
    pumpPending();
    return saveWindow(frame.hwnd(), file);
}

// The question window over a frame, photographed from a timer inside its
// own message loop, then answered.
struct QuestionShot {
    std::string file;
    bool saved = false;
};
QuestionShot* g_question = nullptr;

void CALLBACK photographQuestion(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = FindWindowW(L"OxlePurgo.Wnd", L"Confirmation Dialog");
    if (!window || !g_question)
        return;
    KillTimer(nullptr, timer);
    pumpPending();
    g_question->saved = saveWindow(window, g_question->file);
    PostMessageW(window, WM_CLOSE, 0, 0);
}

bool saveQuestion(Skinner& skins, s::lang::Localizer& localizer, int s, const std::string& file)
{
    s::gui::dialogs::FlexAsker asker(localizer, &skins, s);
    QuestionShot shot{file};
    g_question = &shot;
    SetTimer(nullptr, 0, 200, &photographQuestion);
    asker.ask(nullptr, L"Confirmation Dialog",
              L"There is improved version available. \r\nWould you like to check it out?");
    g_question = nullptr;
    return shot.saved;
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
    s::lang::Localizer localizer;
    s::xml::Node* table = s::thread::Pool<s::xml::Node>::take();
    table->parseUtf8(std::string_view(kTable, sizeof(kTable) - 1));
    localizer.load(*table);
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
            args.menus = &titleMenus();
            if (!frame.create(args))
                return 1;
            PaintBox content(frame.painter());
            content.onPaint = paintDemo;
            const Box area = frame.layout().content();
            content.create({frame.hwnd(), scale, area.top, area.width() - 2 * scale, area.height() - scale, 1});
            frame.show();
            pumpPending();
            Sleep(200);
            pumpPending();
            const std::string file = fileName(folder, name, "", scale);
            if (!saveWindow(frame.hwnd(), file)) {
                std::fprintf(stderr, "could not save %s\n", file.c_str());
                ++failures;
            }
            frame.destroy();
            const std::string controls = fileName(folder, name, "-controls", scale);
            if (!saveControls(skins, localizer, scale, controls)) {
                std::fprintf(stderr, "could not save %s\n", controls.c_str());
                ++failures;
            }
            const std::string question = fileName(folder, name, "-question", scale);
            if (!saveQuestion(skins, localizer, scale, question)) {
                std::fprintf(stderr, "could not save %s\n", question.c_str());
                ++failures;
            }
        }
    }
    table->release();
    return failures == 0 ? 0 : 1;
}

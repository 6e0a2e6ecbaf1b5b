// A skinned frame with a filled target list for people to look at: a
// partial group, an open group with an absent target, a custom group. Shows
// the window for the number of milliseconds given as the only argument
// (default 3000), so that a screenshot of the display can be taken.
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "gui/TargetListView_win.h"
#include "tests/gui/TestListRows.h"

#include <cstdlib>
#include <memory>

using s::gui::list::test::TestRows;
namespace drawer = s::gui::drawer;

int main(int argc, char** argv)
{
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    const std::array<uint32_t, drawer::kSkinColourCount> colours = {0x204060, 0x2080C0, 0x101010, 0x808080, 0x00FF00,
                                                                    0xFFFFFF, 0x000000, 0x40A040, 0xC04000, 0xFFF0A0,
                                                                    0x30E0E0, 0x202020, 0xE030E0, 0x111111, 0x222222};
    drawer::Skinner skins;
    skins.addSkin(drawer::skin::ThinWindow::make(u"Known", colours));
    skins.selectSkin(skins.skin(skins.findSkin(u"Known")));

    TestRows rows;
    rows.groups = {
        {u"My own cache", 4096, true, true, false, {{u"C:\\Cache", true, true}}},
        {u"Browser",
         1536000,
         true,
         false,
         true,
         {{u"Cache", true, true}, {u"Cookies", false, true}, {u"Gone", true, false}}},
        {u"Windows Temp", 153600, false, false, false, {{u"Temp", true, true}}},
        {u"Logs", 0, true, false, false, {{u"Logs", true, true}}},
    };
    rows.changed();

    s::gui::SkinnedFrame frame;
    s::gui::FrameArgs frameArgs;
    frameArgs.caption = L"Oxle Purgo";
    frameArgs.x = 0;
    frameArgs.y = 0;
    frameArgs.width = 640;
    frameArgs.height = 300;
    frameArgs.skins = &skins;
    if (!frame.create(frameArgs))
        return 1;
    s::gui::TargetListView list;
    s::gui::TargetListArgs args;
    args.parent = frame.hwnd();
    args.x = 4;
    args.y = 30;
    args.width = 630;
    args.height = 260;
    args.rows = &rows;
    args.painter = &frame.painter();
    args.columnTitle = [](int32_t id) {
        return std::wstring(id == 1 ? L"Title" : id == 2 ? L"Size" : L"Description");
    };
    if (!list.create(args))
        return 1;
    rows.select(3);
    frame.show();
    const DWORD end = GetTickCount() + showFor;
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return 0;
}

// The items window for people to look at: a group of three targets on the
// prefix's own files, measured, its items listed, sorted by size with the
// largest first and two of them unchecked. Argument: how many milliseconds
// to stay (default 3000), so that a screenshot of the display can be taken.
// It runs from a folder on drive C: (its settings file goes beside it).
#include "app/items/ItemsWindow_win.h"
#include "app/start/AppBase.h"
#include "engine/Scan.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

namespace purgo = s::file::gui::dialogs::purgo;

int main(int argc, char** argv)
{
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    s::gui::drawer::Skinner skins;
    s::app::win::AppBase app;
    app.initialise(u"items_window_demo.exe", &skins);
    app.lang().select(u"English");
    // Wherever an earlier run left it: at the top left at its default size,
    // for the picture.
    app.settings().setS32(u"ItemsWindow\\View", u"X", 0);
    app.settings().setS32(u"ItemsWindow\\View", u"Y", 0);
    app.settings().setS32(u"ItemsWindow\\View", u"Width", 760);
    app.settings().setS32(u"ItemsWindow\\View", u"Height", 380);

    purgo::TimeRecordHandle group(purgo::TimeRecord::makeGroup(u"Demo", u"Windows files", u""));
    group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_File_Wild, u"Demo_1", u"C:\\windows\\*.ini"));
    group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_File_Wild, u"Demo_2", u"C:\\windows\\*.exe"));
    group->addChild(
        purgo::TimeRecord::makeTarget(purgo::Type_Folder_1_Level, u"Demo_3", u"C:\\windows\\system32\\drivers"));
    purgo::scan(*group, &app.lang(), purgo::Captions::With);

    purgo::ItemsWindow items(app);
    if (!items.open(nullptr, *group))
        return 1;
    items.rows().sortByColumn(static_cast<int>(purgo::ItemRows::Column::Size), s::gui::list::SortDirection::Descending);
    items.rows().toggleCheck(1);
    items.rows().toggleCheck(3);

    const DWORD end = GetTickCount() + showFor;
    while (items.isOpen() && GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return 0;
}

// The custom target editor for people to look at: a group of four targets on
// the prefix's own files and keys, measured, opened for modifying, with one
// row selected so that its type's panel shows; or, with row -1, a new group
// with the extension type chosen and its boxes empty. Arguments: the row to
// select (-1 to 3, default 0) and how many milliseconds to stay (default 3000), so
// that a screenshot of the display can be taken. It runs from a folder on
// drive C: (its settings file goes beside it).
#include "app/editor/Custom_win.h"
#include "app/start/AppBase.h"
#include "engine/Scan.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

namespace purgo = s::file::gui::dialogs::purgo;
using s::file::gui::dialogs::Custom;

int main(int argc, char** argv)
{
    const int row = argc > 1 ? std::atoi(argv[1]) : 0;
    const DWORD showFor = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 3000;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    s::gui::drawer::Skinner skins;
    s::app::win::AppBase app;
    app.initialise(u"custom_editor_demo.exe", &skins);
    app.lang().select(u"English");
    // Wherever an earlier run left it: at the top left, for the picture.
    app.settings().setS32(u"CustomTargetWindow\\View", u"X", 0);
    app.settings().setS32(u"CustomTargetWindow\\View", u"Y", 0);

    purgo::TimeRecordHandle group(
        purgo::TimeRecord::makeGroup(u"Custom3", u"003 Old downloads", u"What the installers left behind"));
    group->custom = true;
    group->customRecordId = 3;
    group->customChildRecordId = 4;
    group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_File_Wild, u"Custom_3_0", u"C:\\windows\\*.log"));
    group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"Custom_3_1", u"C:\\windows\\temp"));
    group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_File, u"Custom_3_2", u"C:\\windows\\win.ini"));
    group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_RegKey_All_Levels, u"Custom_3_3",
                                                  u"HKEY_CURRENT_USER\\Software\\Wine\\Fonts"));
    purgo::scan(*group, &app.lang(), purgo::Captions::With);

    Custom editor(app);
    if (!editor.openEditor(nullptr, row < 0 ? nullptr : group.get(), {}))
        return 1;
    if (row < 0) {
        const HWND combo = GetDlgItem(GetDlgItem(editor.hwnd(), Custom::kBox), Custom::kType);
        SendMessageW(combo, CB_SETCURSEL, 3, 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    const HWND list = GetDlgItem(editor.hwnd(), Custom::kList);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    // The selected row's form, measured by Test-Find Matches.
    SendMessageW(GetDlgItem(GetDlgItem(editor.hwnd(), Custom::kBox), Custom::kTestFind), BM_CLICK, 0, 0);

    const DWORD end = GetTickCount() + showFor;
    while (editor.isOpen() && GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return 0;
}

// The Keep List window for people to look at: one entry of each kind, added
// on different days, checked for removal on one, and the "Add Pattern..."
// form open. Arguments: how many milliseconds to stay (default 3000), so that
// a screenshot of the display can be taken; "registry" to show a kept
// default value and the "Add Registry..." form with "Default value" checked
// instead. It runs from a folder on drive
// C: (its settings file goes beside it).
#include "app/keep/KeepListWindow_win.h"
#include "app/start/AppBase.h"
#include "catalogue/KeepListStore.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace purgo = s::file::gui::dialogs::purgo;

int main(int argc, char** argv)
{
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    const bool registry = argc > 2 && std::strcmp(argv[2], "registry") == 0;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    s::gui::drawer::Skinner skins;
    s::app::win::AppBase app;
    app.initialise(u"keep_list_window_demo.exe", &skins);
    app.lang().select(u"English");
    // Wherever an earlier run left it: at the top left at its default size,
    // for the picture.
    app.settings().setS32(u"KeepListWindow\\View", u"X", 0);
    app.settings().setS32(u"KeepListWindow\\View", u"Y", 0);
    app.settings().setS32(u"KeepListWindow\\View", u"Width", 580);
    app.settings().setS32(u"KeepListWindow\\View", u"Height", 340);

    purgo::UserKeepList list;
    const int64_t day = 86400;
    const int64_t start = 1796964000;  // 2026-12-11 04:40 UTC
    list.add({purgo::KeepEntryType::File, u"C:\\users\\root\\AppData\\Local\\Tool\\session.log", {}, start - 9 * day});
    list.add({purgo::KeepEntryType::Folder,
              u"C:\\users\\root\\AppData\\Local\\Browser\\Profile\\Extensions",
              {},
              start - 5 * day});
    list.add({purgo::KeepEntryType::Pattern, u"C:\\Projects\\build", u"*.pdb", start - 2 * day});
    list.add({purgo::KeepEntryType::Key, u"HKCU\\Software\\Editor\\Recent Files", {}, start - day});
    list.add({purgo::KeepEntryType::Value, u"HKCU\\Software\\Viewer\\Settings", u"Last Folder", start});
    if (registry)
        list.add({purgo::KeepEntryType::Value, u"HKCU\\Software\\Classes\\.log", {}, start});
    purgo::writeKeepList(list, app.settings());

    purgo::KeepListWindow window(app);
    if (!window.open(nullptr))
        return 1;
    window.rows().toggleCheck(1);
    if (registry) {
        window.showForm(purgo::KeepListWindow::Form::Registry);
        SetWindowTextW(window.control(purgo::KeepListWindow::Control::FirstBox), L"HKCU\\Software\\Classes\\.txt");
        SendMessageW(window.control(purgo::KeepListWindow::Control::DefaultValue), BM_CLICK, 0, 0);
    } else {
        window.showForm(purgo::KeepListWindow::Form::Pattern);
        SetWindowTextW(window.control(purgo::KeepListWindow::Control::FirstBox), L"C:\\Projects\\cache");
        SetWindowTextW(window.control(purgo::KeepListWindow::Control::SecondBox), L"*.idx");
    }

    const DWORD end = GetTickCount() + showFor;
    while (window.isOpen() && GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return 0;
}

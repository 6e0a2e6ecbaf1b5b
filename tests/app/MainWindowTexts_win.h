// What the main window shows in its status row and on its button, read from
// its controls as the system and accessibility tools read them.
#pragma once

#include "app/main/MainWindow_win.h"

#include <windows.h>

#include <string>

namespace s::file::gui::dialogs::purgo::shown {

inline std::wstring controlText(HWND window, int id)
{
    wchar_t text[512] = {};
    GetWindowTextW(GetDlgItem(window, id), text, 512);
    return text;
}

// The four totals labels one after another while they show, or the status.
inline std::wstring statusText(const Dialog& dialog)
{
    if (IsWindowVisible(GetDlgItem(dialog.hwnd(), Dialog::kTotalSize))) {
        std::wstring totals;
        for (const int id : {Dialog::kTotalSize, Dialog::kTotalOpen, Dialog::kTotalCount, Dialog::kTotalClose})
            totals += controlText(dialog.hwnd(), id);
        return totals;
    }
    return controlText(dialog.hwnd(), Dialog::kStatus);
}

inline std::wstring cleanButtonText(const Dialog& dialog)
{
    return controlText(dialog.hwnd(), Dialog::kClean);
}

}  // namespace s::file::gui::dialogs::purgo::shown
